// Client text that goes into statements as SQL: column lists, literal lists,
// paging parameters; and the printf-like statement formatter.
#include "database/sql_input.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "database/errors.h"
#include "database/sql_format.h"

namespace quorvane::database {
namespace {

struct ListCase {
  std::string_view name, text;
  bool accepted;
};

const ListCase kColumnCases[] = {
    {"One", "codigo", true},
    {"Several", "codproduto, codfilial", true},
    {"NoSpaces", "a,b", true},
    {"Empty", "", true},
    {"DollarAndDigits", "col$1, _x2", true},
    {"NonAscii", "descrição", true},
    {"Backticked", "`desc`, `order`", true},
    {"BacktickedWithComma", "`a,b`", false},
    {"BacktickedWithQuote", "`a'b`", false},
    {"BacktickedEmpty", "``", false},
    {"ClosingParenthesis", "codigo) SELECT senha FROM login #", false},
    {"Comment", "a -- x", false},
    {"Hash", "a#virgula#b", false},
    {"Expression", "a+b", false},
    {"TrailingComma", "a,", false},
    {"UnclosedBacktick", "`a", false},
    {"Qualified", "t.a", false},
};

class CheckColumnListTest : public ::testing::TestWithParam<ListCase> {};

TEST_P(CheckColumnListTest, AcceptsOnlyIdentifiers) {
  if (GetParam().accepted) {
    EXPECT_NO_THROW(CheckColumnList(GetParam().text));
  } else {
    EXPECT_THROW(CheckColumnList(GetParam().text), InvalidInputError);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, CheckColumnListTest, ::testing::ValuesIn(kColumnCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CheckColumnListTest, MessageNamesTheBadItem) {
  try {
    CheckColumnList("nome, x) values (1) #");
    FAIL();
  } catch (const InvalidInputError& e) {
    EXPECT_STREQ(e.what(), "Nome de coluna inválido: x) values (1) #");
  }
}

const ListCase kLiteralCases[] = {
    {"Integer", "15", true},
    {"Negative", "-1", true},
    {"Several", "7, '0001'", true},
    {"Decimal", "2.5, .5, 1e3, -2.5E-3", true},
    {"NullAndBooleans", "null, NULL, true, FALSE", true},
    {"DoubledQuote", "'O''Brien'", true},
    {"BackslashIsPlain", "'C:\\', 2", true},
    {"CommaInString", "'a, b'", true},
    {"VirgulaInString", "'a#virgula#b'", true},
    {"Empty", "", true},
    {"Subquery", "(SELECT senha FROM login LIMIT 1)", false},
    {"Condition", "1 OR 1=1", false},
    {"Word", "abc", false},
    {"UnclosedString", "'abc", false},
    {"AfterString", "'a' 'b'", false},
    {"Comment", "1 #", false},
    {"VirgulaOutsideString", "1#virgula#2", false},
    {"BareSign", "-", false},
    {"DoubleQuoted", "\"abc\"", false},
    {"TrailingComma", "1,", false},
};

class CheckLiteralListTest : public ::testing::TestWithParam<ListCase> {};

TEST_P(CheckLiteralListTest, AcceptsOnlyLiterals) {
  if (GetParam().accepted) {
    EXPECT_NO_THROW(CheckLiteralList(GetParam().text, "x: "));
  } else {
    try {
      CheckLiteralList(GetParam().text, "Valor de chave inválido: ");
      ADD_FAILURE() << "accepted";
    } catch (const InvalidInputError& e) {
      EXPECT_EQ(std::string(e.what()), "Valor de chave inválido: " + std::string(GetParam().text));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Table, CheckLiteralListTest, ::testing::ValuesIn(kLiteralCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct PagingCase {
  std::string_view name;
  std::optional<std::string> limit, page;
  std::string_view clause;  // empty with error set: refused
  std::string_view error = {};
};

const PagingCase kPagingCases[] = {
    {"Nothing", std::nullopt, std::nullopt, ""},
    {"LimitAlone", "50", std::nullopt, "LIMIT 50"},
    {"LimitAsReceived", "050", std::nullopt, "LIMIT 050"},
    {"Page3", "50", "3", "LIMIT 50 OFFSET 100"},
    {"Page1", "50", "1", "LIMIT 50 OFFSET 0"},
    {"PageWithoutLimit", std::nullopt, "2", ""},
    {"PageZeroGivesNegativeOffset", "10", "0", "LIMIT 10 OFFSET -10"},
    {"PlusSignedPage", "10", "+2", "LIMIT 10 OFFSET 10"},
    {"NoInt32Overflow", "2147483647", "2147483647", "LIMIT 2147483647 OFFSET 4611686011984936962"},
    {"LimitInjection", "1; DROP TABLE x", std::nullopt, "",
     "Parâmetro limit inválido: 1; DROP TABLE x"},
    {"LimitWithOffsetText", "10 OFFSET 5", std::nullopt, "",
     "Parâmetro limit inválido: 10 OFFSET 5"},
    {"LimitEmpty", "", std::nullopt, "", "Parâmetro limit inválido: "},
    {"LimitNegative", "-5", std::nullopt, "", "Parâmetro limit inválido: -5"},
    {"LimitTooBig", "2147483648", std::nullopt, "", "Parâmetro limit inválido: 2147483648"},
    {"LimitHex", "0x10", "1", "", "Parâmetro limit inválido: 0x10"},
    {"PageText", "10", "two", "", "Parâmetro page inválido: two"},
    {"PageEmpty", "10", "", "", "Parâmetro page inválido: "},
    {"PageWithSpace", "10", "2 ", "", "Parâmetro page inválido: 2 "},
};

class PagingClauseTest : public ::testing::TestWithParam<PagingCase> {};

TEST_P(PagingClauseTest, ClauseOrRefusal) {
  const PagingCase& c = GetParam();
  const PagingParameters paging{c.limit, c.page};
  if (c.error.empty()) {
    EXPECT_EQ(PagingClause(paging), c.clause);
  } else {
    try {
      PagingClause(paging);
      ADD_FAILURE() << "accepted";
    } catch (const InvalidInputError& e) {
      EXPECT_EQ(e.what(), c.error);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Table, PagingClauseTest, ::testing::ValuesIn(kPagingCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct FormatCase {
  std::string_view name, format;
  FormatArgs args;
  std::optional<std::string_view> want;  // nullopt: refused
};

const FormatCase kFormatCases[] = {
    {"Text", "Select * From t Where a = %s", {"'x'"}, "Select * From t Where a = 'x'"},
    {"Integer", "LIMIT %d", {42}, "LIMIT 42"},
    {"Several", "%s-%d-%s", {"a", -7, std::string("b")}, "a--7-b"},
    {"Percent", "100%% %s", {"x"}, "100% x"},
    {"Width", "[%5d][%-4s]", {42, "ab"}, "[   42][ab  ]"},
    {"Precision", "%.2f %.3s", {3.14159, "abcdef"}, "3.14 abc"},
    {"FloatFromInteger", "%.1f", {2}, "2.0"},
    {"Hex", "%x %X", {255, 255}, "ff FF"},
    {"Unsigned", "%u", {7}, "7"},
    {"ExtraArgsIgnored", "%d", {1, 2}, "1"},
    {"NoDirectives", "plain", {}, "plain"},
    {"TextForInteger", "%d", {"1; DROP"}, std::nullopt},
    {"IntegerForText", "%s", {5}, std::nullopt},
    {"MissingArgument", "%s %s", {"a"}, std::nullopt},
    {"UnknownDirective", "%q", {"a"}, std::nullopt},
    {"TrailingPercent", "50%", {}, std::nullopt},
    {"NegativeUnsigned", "%u", {-1}, std::nullopt},
    {"HugeWidth", "%999999999d", {1}, std::nullopt},
};

class FormatSQLTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatSQLTest, ExpandsOrRefuses) {
  const FormatCase& c = GetParam();
  if (c.want) {
    EXPECT_EQ(FormatSQL(c.format, c.args), *c.want);
  } else {
    EXPECT_THROW(FormatSQL(c.format, c.args), ConversionError);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, FormatSQLTest, ::testing::ValuesIn(kFormatCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvane::database
