// The download filters: the statement text they produce, what they refuse,
// and what the database makes of them.
#include "model/model_sql_basic.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "test_mariadb.h"

namespace quorvane::model {
namespace {

using testing::ScratchSchema;
using testing::TestMariaDb;

SqlFilterHeaders Get(std::string where, std::string alterado_apos = {},
                     std::string filial_origem_filter = {}, std::string filial = {}) {
  return SqlFilterHeaders{.is_get = true,
                          .where = std::move(where),
                          .alterado_apos = std::move(alterado_apos),
                          .filial_origem_filter = std::move(filial_origem_filter),
                          .filial = std::move(filial)};
}

SqlFilterHeaders NotGet(SqlFilterHeaders headers) {
  headers.is_get = false;
  return headers;
}

constexpr std::string_view kCartoes = "Select\r\n  codigo,\r\n  descricao\r\nFrom\r\n  cartoes";
constexpr std::string_view kFiliais =
    "Select\r\n  codigo\r\nFrom\r\n  filiais\r\nWhere\r\n  codigo > 0";
constexpr std::string_view kWhereInSubSelect =
    "Select codigo, (select max(x) from t2 where y = 1) m From t1";
constexpr std::string_view kWhereInConstant = "Select 'a where b' as w From t1";

struct PrepareCase {
  std::string_view name;
  SqlFilterHeaders headers;
  std::string_view sql;
  std::string_view alias;
  std::string want;  // the text after `sql`
};

const PrepareCase kPrepareCases[] = {
    {"WorkedExample", Get("ativo = 1", "2021-05-03 10:00:00", "ignore", "12"), kCartoes, "",
     " Where ativo = 1 and dtultalteracaoregistro >= '2021-05-03 10:00:00'"
     " and coalesce(codfilialorigem, 0) <> 12"},
    {"WorkedExampleWithAlias", Get("ativo = 1", "2021-05-03 10:00:00", "ignore", "12"), kCartoes,
     "aei",
     " Where ativo = 1 and aei.dtultalteracaoregistro >= '2021-05-03 10:00:00'"
     " and coalesce(aei.codfilialorigem, 0) <> 12"},
    {"PostKeepsTheStatement", NotGet(Get("ativo = 1", "2021-05-03", "ONLY", "12")), kCartoes, "",
     ""},
    {"PostIgnoresEvenABadBranch", NotGet(Get("", "", "ONLY", "1 or 1=1")), kCartoes, "", ""},
    {"GetWithoutHeaders", Get(""), kCartoes, "", ""},
    {"OnlyInLowerCase", Get("", "", "only", "5"), kCartoes, "",
     " Where coalesce(codfilialorigem, 0) = 5"},
    {"IgnoreInMixedCase", Get("", "", "Ignore", "5"), kCartoes, "",
     " Where coalesce(codfilialorigem, 0) <> 5"},
    {"OtherRuleAddsNothing", Get("", "", "ALL", "not checked"), kCartoes, "", ""},
    {"QuoteInDateDoubled", Get("", "2021-05-03' or '1'='1"), kCartoes, "",
     " Where dtultalteracaoregistro >= '2021-05-03'' or ''1''=''1'"},
    {"BackslashInDateDoubled", Get("", "x\\' or 1=1 #"), kCartoes, "",
     " Where dtultalteracaoregistro >= 'x\\\\'' or 1=1 #'"},
    {"FixedConditionContinuesWithAnd", Get("nome like 'L%'"), kFiliais, "", " and nome like 'L%'"},
    {"WhereInSubSelectCounts", Get("m > 1"), kWhereInSubSelect, "", " and m > 1"},
    {"WhereInConstantCounts", Get("m > 1"), kWhereInConstant, "", " and m > 1"},
    {"AndBindsTighterThanOr", Get("a = 1 or b = 2", "2021-01-01"), kCartoes, "",
     " Where a = 1 or b = 2 and dtultalteracaoregistro >= '2021-01-01'"},
    {"SemicolonInsideQuotes", Get("nome = 'a;b' and obs = \"c;d\""), kCartoes, "",
     " Where nome = 'a;b' and obs = \"c;d\""},
    {"EscapedQuoteInsideQuotes", Get("nome = 'O\\'Brien; #x' and 1 = 1"), kCartoes, "",
     " Where nome = 'O\\'Brien; #x' and 1 = 1"},
    {"DoubledQuoteInsideQuotes", Get("nome = 'it''s -- fine'"), kCartoes, "",
     " Where nome = 'it''s -- fine'"},
    {"KeywordAsQuotedIdentifier", Get("`union` = 1 and `a``b` = 2"), kCartoes, "",
     " Where `union` = 1 and `a``b` = 2"},
    {"KeywordInsideLongerNames", Get("reunion = 1 and pinto = 2 and intox = 3"), kCartoes, "",
     " Where reunion = 1 and pinto = 2 and intox = 3"},
    {"MinusMinusIsArithmetic", Get("saldo--1 > 0 and (a = 1 or (b = 2))"), kCartoes, "",
     " Where saldo--1 > 0 and (a = 1 or (b = 2))"},
};

void PrintTo(const PrepareCase& c, std::ostream* os) { *os << c.name; }

class PrepareSQLTest : public ::testing::TestWithParam<PrepareCase> {};

TEST_P(PrepareSQLTest, AppendsTheConditions) {
  const PrepareCase& c = GetParam();
  EXPECT_EQ(ModelSQLBasic::PrepareSQL(c.headers, c.sql, c.alias), std::string(c.sql) + c.want);
}

INSTANTIATE_TEST_SUITE_P(Table, PrepareSQLTest, ::testing::ValuesIn(kPrepareCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct RefusalCase {
  std::string_view name;
  SqlFilterHeaders headers;
  std::string_view header;  // named by the error
};

const RefusalCase kRefusalCases[] = {
    {"BranchWithSql", Get("", "", "IGNORE", "12 or 1=1"), "x-filial"},
    {"BranchEmpty", Get("", "", "ONLY", ""), "x-filial"},
    {"BranchNegative", Get("", "", "ONLY", "-1"), "x-filial"},
    {"BranchWithBlank", Get("", "", "ONLY", " 12"), "x-filial"},
    {"BranchFullWidthDigits", Get("", "", "ONLY", "\xef\xbc\x91\xef\xbc\x92"), "x-filial"},
    {"SecondStatement", Get("1=1; drop table login"), "x-where"},
    {"TrailingSemicolon", Get("1=1;"), "x-where"},
    {"HashComment", Get("1=1 #"), "x-where"},
    {"DashDashComment", Get("1=1 -- x"), "x-where"},
    {"DashDashAtEnd", Get("1=1 --"), "x-where"},
    // The database reads "--" followed by any control character as a
    // comment, DEL (0x7f) as well: it would hide the conditions after it.
    {"DashDashTab", Get("1=1 --\tx"), "x-where"},
    {"DashDashControl", Get("1=1 --\x01x"), "x-where"},
    {"DashDashDelete", Get("1=1 --\x7fx"), "x-where"},
    {"BlockComment", Get("1=1 /* x */"), "x-where"},
    {"ExecutableComment", Get("/*!50000 1=1*/"), "x-where"},
    {"OpenSingleQuote", Get("nome = 'abc"), "x-where"},
    {"EscapedClosingQuote", Get("nome = 'abc\\'"), "x-where"},
    {"OpenDoubleQuote", Get("nome = \"abc"), "x-where"},
    {"OpenBacktick", Get("`nome = 1"), "x-where"},
    {"OpenParenthesis", Get("codigo in (1, 2"), "x-where"},
    {"CloseBeforeOpen", Get("1=1) or (1=1"), "x-where"},
    {"Union", Get("1=0 union select senha from login"), "x-where"},
    {"UnionAllUpperCase", Get("1=0 UNION ALL SELECT 1"), "x-where"},
    {"UnionGluedToNumber", Get("1=1union select 1"), "x-where"},
    {"IntoOutfile", Get("1=1 into outfile '/tmp/x'"), "x-where"},
    {"NulCharacter", Get(std::string("1=1\0", 4)), "x-where"},
};

void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

class PrepareSQLRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(PrepareSQLRefusalTest, ThrowsNamingTheHeader) {
  const RefusalCase& c = GetParam();
  try {
    const std::string sql = ModelSQLBasic::PrepareSQL(c.headers, kCartoes);
    ADD_FAILURE() << "accepted: " << sql;
  } catch (const FilterHeaderError& e) {
    EXPECT_EQ(e.header(), c.header);
    EXPECT_TRUE(std::string_view(e.what()).starts_with("Cabeçalho " + std::string(c.header)))
        << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(Table, PrepareSQLRefusalTest, ::testing::ValuesIn(kRefusalCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The database reads every literal back as the exact value, with the
// server's default handling of backslash escapes.
TEST(QuoteSqlLiteralTest, DatabaseReadsBackTheValue) {
  TestMariaDb db;
  for (std::string_view value :
       {"plain", "", "O'Brien", "''", "\\", "abc\\", "\\'", "x\\' or 1=1 #", "a\\\\'b", "\\n\\0",
        "line\nbreak\ttab", "São Paulo – ação", "%_"}) {
    SCOPED_TRACE(value);
    EXPECT_EQ(db.Rows("Select " + QuoteSqlLiteral(value)),
              (std::vector<testing::Row>{{std::string(value)}}));
  }
}

// The filters on real rows: branch origin (no origin counts as branch 0)
// and changed-since, alone and together.
class FilterOnRowsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    schema_ = new ScratchSchema("qv_model_sql_basic_test");
    TestMariaDb db(schema_->name(), true);
    db.Exec(
        "CREATE TABLE registros (codigo INT PRIMARY KEY, codfilialorigem INT NULL,"
        " dtultalteracaoregistro DATETIME NULL);"
        "INSERT INTO registros VALUES (1, NULL, '2026-01-01 08:00:00'),"
        " (2, 0, '2026-06-01 00:00:00'), (3, 5, '2026-06-01 12:00:00'),"
        " (4, 7, '2026-12-01 00:00:00')");
  }
  static void TearDownTestSuite() { delete schema_; }

  static std::vector<std::string> Codes(const SqlFilterHeaders& headers) {
    TestMariaDb db(schema_->name());
    std::vector<std::string> codes;
    const std::string sql =
        ModelSQLBasic::PrepareSQL(headers, "Select\r\n  codigo\r\nFrom\r\n  registros");
    for (const testing::Row& row : db.Rows(sql + "\r\nOrder by codigo")) codes.push_back(*row[0]);
    return codes;
  }

  static ScratchSchema* schema_;
};

ScratchSchema* FilterOnRowsTest::schema_ = nullptr;

TEST_F(FilterOnRowsTest, SelectsTheExpectedRows) {
  struct Case {
    std::string_view name;
    SqlFilterHeaders headers;
    std::vector<std::string> want;
  };
  const Case cases[] = {
      {"IgnoreOwnUploads", Get("", "", "IGNORE", "5"), {"1", "2", "4"}},
      {"OnlyOwnUploads", Get("", "", "ONLY", "5"), {"3"}},
      {"NoOriginIsBranchZero", Get("", "", "ONLY", "0"), {"1", "2"}},
      {"ChangedSince", Get("", "2026-06-01 00:00:00"), {"2", "3", "4"}},
      {"ChangedSinceAndIgnore", Get("", "2026-06-01", "ignore", "7"), {"2", "3"}},
      {"OwnConditionFirst", Get("codigo <> 2", "2026-06-01"), {"3", "4"}},
      // A date that tries to leave its literal stays one value: nothing is
      // changed after 2030, so no row comes back.
      {"QuoteBreakoutStaysLiteral", Get("", "2030-01-01' or '1'='1"), {}},
      {"BackslashBreakoutStaysLiteral", Get("", "2030-01-01\\' or 1=1 or '"), {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Codes(c.headers), c.want);
  }
}

}  // namespace
}  // namespace quorvane::model
