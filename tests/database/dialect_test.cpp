// Literal forms and write statement texts of the three dialects, built
// without a database.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "database/base.h"
#include "database/data_format.h"
#include "database/dataset.h"
#include "database/errors.h"
#include "database/firebird.h"
#include "database/mysql.h"
#include "lib/json.h"

namespace quorvane::database {
namespace {

const LibDBBase& Generic() { return LibDBBase::getInstance(); }
const LibDBMySQL& MySQL() { return LibDBMySQL::getInstance(); }
const LibDBFirebird& Firebird() { return LibDBFirebird::getInstance(); }

TEST(SingletonTest, CreateIsRefusedWithTheClassName) {
  const struct {
    void (*create)();
    std::string_view name;
  } cases[] = {{&LibDBBase::Create, "LibDBBase"},
               {&LibDBMySQL::Create, "LibDBMySQL"},
               {&LibDBFirebird::Create, "LibDBFirebird"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      c.create();
      FAIL() << "Create returned";
    } catch (const SingletonError& e) {
      EXPECT_EQ(std::string(e.what()),
                "Não é possível instanciar essa classe através do método Create.\r\n\r\nUtilize " +
                    std::string(c.name) + ".getInstance para acessar os métodos dessa classe.");
    }
  }
}

TEST(SingletonTest, GetInstanceReturnsOneObjectPerClass) {
  EXPECT_EQ(&LibDBMySQL::getInstance(), &LibDBMySQL::getInstance());
  EXPECT_NE(static_cast<const LibDBBase*>(&LibDBMySQL::getInstance()),
            static_cast<const LibDBBase*>(&LibDBFirebird::getInstance()));
}

TEST(DialectFieldsTest, ConstantsPerDialect) {
  EXPECT_EQ(Generic().boolean_true(), SqlValue(std::string("S")));
  EXPECT_EQ(Generic().boolean_false(), SqlValue(std::string("N")));
  EXPECT_EQ(Generic().boolean_type(), FieldDataType::kText);
  EXPECT_EQ(Generic().data_base_type(), DataBaseType::kUnknown);
  EXPECT_EQ(MySQL().boolean_true(), SqlValue(std::int64_t{1}));
  EXPECT_EQ(MySQL().boolean_false(), SqlValue(std::int64_t{0}));
  EXPECT_EQ(MySQL().boolean_type(), FieldDataType::kInteger);
  EXPECT_EQ(MySQL().data_base_type(), DataBaseType::kMySQL);
  EXPECT_EQ(Firebird().boolean_true(), SqlValue(std::string("S")));
  EXPECT_EQ(Firebird().boolean_type(), FieldDataType::kText);
  EXPECT_EQ(Firebird().data_base_type(), DataBaseType::kFirebird);
  for (const LibDBBase* d : {&Generic(), static_cast<const LibDBBase*>(&MySQL()),
                             static_cast<const LibDBBase*>(&Firebird())}) {
    EXPECT_EQ(d->value_null(), SqlValue(std::string("NULL")));
    EXPECT_EQ(d->value_null_type(), FieldDataType::kNull);
  }
}

struct StrCase {
  std::string_view name;
  std::string_view value;
  std::string_view generic, mysql, firebird;
};

const StrCase kStrCases[] = {
    {"Plain", "abc", "'abc'", "'abc'", "'abc'"},
    {"Empty", "", "''", "''", "''"},
    {"Quote", "O'Brien", "'O''Brien'", "'O''Brien'", "'O''Brien'"},
    {"Backslash", "C:\\temp", "'C:\\temp'", "'C:\\\\temp'", "'C:\\temp'"},
    {"BackslashQuote", "\\' OR 1=1 #", "'\\'' OR 1=1 #'", "'\\\\'' OR 1=1 #'", "'\\'' OR 1=1 #'"},
    {"TrailingBackslash", "a\\", "'a\\'", "'a\\\\'", "'a\\'"},
    {"LineBreaks", "a\r\nb", "'a\r\nb'", "'a\r\nb'", "'a'||ascii_char(13)||ascii_char(10)||'b'"},
    {"LineFeedOnly", "a\nb", "'a\nb'", "'a\nb'", "'ab'"},
};

class StrTest : public ::testing::TestWithParam<StrCase> {};

TEST_P(StrTest, EachDialect) {
  const StrCase& c = GetParam();
  EXPECT_EQ(Generic().Str(c.value), c.generic);
  EXPECT_EQ(MySQL().Str(c.value), c.mysql);
  EXPECT_EQ(MySQLStr(c.value), c.mysql);
  EXPECT_EQ(Firebird().Str(c.value), c.firebird);
}

INSTANTIATE_TEST_SUITE_P(Table, StrTest, ::testing::ValuesIn(kStrCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DateLiteralTest, FormsPerDialect) {
  const DateTime dt{2021, 5, 3, 14, 7, 9};
  EXPECT_EQ(Generic().DateStr(dt), "2021-05-03");
  EXPECT_EQ(Generic().TimeStr(dt), "14:07:09");
  EXPECT_EQ(Generic().DateTimeStr(dt), "2021-05-03 14:07:09");
  EXPECT_EQ(MySQL().DateStr(dt), "'2021.05.03'");
  EXPECT_EQ(MySQL().TimeStr(dt), "'14:07:09'");
  EXPECT_EQ(MySQL().DateTimeStr(dt), "'2021-05-03 14:07:09'");
  EXPECT_EQ(Firebird().DateStr(dt), "'05/03/2021'");
  EXPECT_EQ(Firebird().TimeStr(dt), "'14:07:09'");
  EXPECT_EQ(Firebird().DateTimeStr(dt), "'05/03/2021 14:07:09'");
}

TEST(FloatLiteralTest, GeneralDecimalNotation) {
  EXPECT_EQ(MySQL().FloatStr(2.5), "2.5");
  EXPECT_EQ(MySQL().FloatStr(-0.125), "-0.125");
  EXPECT_EQ(MySQL().FloatStr(10.0), "10");
  EXPECT_EQ(Firebird().FloatStr(1e20), "1E20");
}

TEST(BooleanStrTest, ValuesToDialectLiterals) {
  const struct {
    std::string_view name;
    SqlValue value;
    std::string_view mysql, firebird;
  } cases[] = {
      {"IntegerOne", std::int64_t{1}, "1", "'S'"},
      {"IntegerTwo", std::int64_t{2}, "0", "'N'"},
      {"True", true, "1", "'S'"},
      {"False", false, "0", "'N'"},
      {"TextTrue", std::string("true"), "1", "'S'"},
      {"TextS", std::string("s"), "1", "'S'"},
      {"TextOne", std::string("1"), "1", "'S'"},
      {"TextOther", std::string("yes"), "0", "'N'"},
      {"DoubleStaysAndIsNull", 1.0, "NULL", "NULL"},
      {"NullIsNull", std::monostate{}, "NULL", "NULL"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MySQL().BooleanStr(c.value), c.mysql);
    EXPECT_EQ(Firebird().BooleanStr(c.value), c.firebird);
  }
}

lib::JsonValue ParseObject(std::string_view text) {
  auto v = lib::ParseJson(text);
  EXPECT_TRUE(v.has_value()) << text;
  return v ? *v : lib::JsonValue();
}

struct ExtractCase {
  std::string_view name, json, fields, values;
};

const ExtractCase kExtractCases[] = {
    {"MixedMembers", R"({"a":"x","b":2.5,"c":null,"d":true,"e":[1]})", "a, b, c, d",
     "'x', 2.5, null, 'true'"},
    {"FalseIsQuotedText", R"({"f":false})", "f", "'false'"},
    {"ObjectsSkipped", R"({"o":{"x":1},"n":-3e2})", "n", "-3e2"},
    {"QuoteDoubled", R"({"nome":"O'Brien"})", "nome", "'O''Brien'"},
    {"BackslashKeptForTheStatementRules", R"({"p":"C:\\temp"})", "p", "'C:\\temp'"},
    {"DoubleQuotesLeaveNames", R"({"\"nome\"":"x"})", "nome", "'x'"},
    {"NoScalars", R"({"a":[],"b":{}})", "", ""},
    {"EmptyObject", "{}", "", ""},
};

class ExtractFieldsAndValuesTest : public ::testing::TestWithParam<ExtractCase> {};

TEST_P(ExtractFieldsAndValuesTest, ListsOfTheScalarMembers) {
  std::string fields = "stale", values = "stale";
  MySQL().ExtractFieldsAndValues(ParseObject(GetParam().json), fields, values);
  EXPECT_EQ(fields, GetParam().fields);
  EXPECT_EQ(values, GetParam().values);
}

INSTANTIATE_TEST_SUITE_P(Table, ExtractFieldsAndValuesTest, ::testing::ValuesIn(kExtractCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct ConcatCase {
  std::string_view name, fields, values;
  int offset;
  std::string_view want;
};

const ConcatCase kConcatCases[] = {
    {"Simple", "nome, preco", "'a', 1.5", 0, "nome = 'a', preco = 1.5"},
    {"CommaInsideLiteral", "nome, preco", "'a, b', 1.5", 0, "nome = 'a, b', preco = 1.5"},
    {"LoneDoubleQuoteInValue", "obs, preco", "'5\" tubo', 2", 0, "obs = '5\" tubo', preco = 2"},
    {"DoubledQuoteInValue", "nome, x", "'O''Brien, Jr', 3", 0, "nome = 'O''Brien, Jr', x = 3"},
    {"QuotedColumnNames", "\"a\", \"b\"", "1, 2", 0, "a = 1, b = 2"},
    {"Offset", "a, b, c", "1, 2, 3", 1, "b = 2, c = 3"},
    {"StopsAtShorterList", "a, b, c", "1, 2", 0, "a = 1, b = 2"},
    {"EmptyFields", "", "1", 0, ""},
    {"EmptyValues", "a", "", 0, ""},
};

class ConcatenateFieldsAndValuesTest : public ::testing::TestWithParam<ConcatCase> {};

TEST_P(ConcatenateFieldsAndValuesTest, AssignmentList) {
  const ConcatCase& c = GetParam();
  EXPECT_EQ(LibDataSetUtils::ConcatenateFieldsAndValues(c.fields, c.values, c.offset), c.want);
}

INSTANTIATE_TEST_SUITE_P(Table, ConcatenateFieldsAndValuesTest, ::testing::ValuesIn(kConcatCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WriteStatementTest, MySQLUpsertText) {
  EXPECT_EQ(MySQL().UpdateOrInsert("produtos", "codigo", "nome, preco", "15", "'a, b', 1.5"),
            "INSERT INTO produtos (codigo, nome, preco)\r\nVALUES\r\n(15, 'a, b', 1.5)\r\n"
            "ON DUPLICATE KEY UPDATE\r\nnome = 'a, b', preco = 1.5");
}

TEST(WriteStatementTest, MySQLUpsertFinishingRules) {
  // "#virgula#" becomes a comma after the lists are split; backslash-slash
  // becomes a slash; every other backslash is doubled.
  EXPECT_EQ(MySQL().UpdateOrInsert("t", "id", "a, b", "1", "'x#virgula#y', 'p\\/q\\r'"),
            "INSERT INTO t (id, a, b)\r\nVALUES\r\n(1, 'x,y', 'p/q\\\\r')\r\n"
            "ON DUPLICATE KEY UPDATE\r\na = 'x,y', b = 'p/q\\\\r'");
}

TEST(WriteStatementTest, GenericInsertDeletesBackslashes) {
  EXPECT_EQ(MySQL().Insert("t", "a, b", "'C:\\temp', 'x#virgula#y'"),
            "Insert Into t (a, b)\r\nvalues('C:temp', 'x,y')");
}

TEST(WriteStatementTest, UpdateTexts) {
  EXPECT_EQ(Generic().Update("t", "id", "a, b", "7", "'x#virgula#', 'c:\\d'"),
            "Update t Set a = 'x,', b = 'c:\\d'\r\nWhere id = 7");
  // MySQL escapes the backslash that its lists carry as a plain character.
  EXPECT_EQ(MySQL().Update("t", "id", "a, b", "7", "'x#virgula#', 'c:\\d'"),
            "Update t Set a = 'x,', b = 'c:\\\\d'\r\nWhere id = 7");
}

TEST(WriteStatementTest, GenericUpdateOrInsertJoinsNonEmptyLists) {
  const struct {
    std::string_view key_fields, fields, key_values, values, want;
  } cases[] = {
      {"id", "a", "1", "'x'", "Update or Insert Into t (id, a)\r\nvalues\r\n(1, 'x')"},
      {"", "a", "", "'x'", "Update or Insert Into t (a)\r\nvalues\r\n('x')"},
      {"id", "", "1", "", "Update or Insert Into t (id)\r\nvalues\r\n(1)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.want);
    EXPECT_EQ(Firebird().UpdateOrInsert("t", c.key_fields, c.fields, c.key_values, c.values),
              c.want);
  }
}

TEST(WriteStatementTest, UpdateOrInsertFromJson) {
  EXPECT_EQ(Firebird().UpdateOrInsert(ParseObject(R"({"a":"x","n":[1]})"), "t", "id", "1"),
            "Update or Insert Into t (id, a)\r\nvalues\r\n(1, 'x')");
  EXPECT_EQ(MySQL().UpdateOrInsert(ParseObject(R"({"a":"x"})"), "t", "id", "1"),
            "INSERT INTO t (id, a)\r\nVALUES\r\n(1, 'x')\r\nON DUPLICATE KEY UPDATE\r\na = 'x'");
}

TEST(WriteStatementTest, FirebirdInsertReturning) {
  EXPECT_EQ(Firebird().Insert("t", "a", "'x'", "id"),
            "Insert Into t (a)\r\nvalues('x')\r\nReturning id");
}

TEST(LibDataFormatTest, UnknownDialectGivesEmptyLiteral) {
  EXPECT_EQ(LibDataFormat::FormatFieldStringSQL("x", DataBaseType::kUnknown), "");
  EXPECT_EQ(LibDataFormat::FormatFieldIntegerSQL(5, DataBaseType::kUnknown), "");
  EXPECT_EQ(LibDataFormat::FormatFieldDateSQL(1.0, DataBaseType::kUnknown), "");
}

TEST(LibDataFormatTest, TypedValues) {
  constexpr auto kMy = DataBaseType::kMySQL;
  constexpr auto kFb = DataBaseType::kFirebird;
  EXPECT_EQ(LibDataFormat::FormatFieldStringSQL("a'b\\", kMy), "'a''b\\\\'");
  EXPECT_EQ(LibDataFormat::FormatFieldIntegerSQL(-42, kMy), "-42");
  EXPECT_EQ(LibDataFormat::FormatFieldFloatSQL(1.25, kFb), "1.25");
  // 44319 days after 1899-12-30 is 2021-05-03; .5 is noon.
  EXPECT_EQ(LibDataFormat::FormatFieldDateSQL(44319.5, kMy), "'2021.05.03'");
  EXPECT_EQ(LibDataFormat::FormatFieldDateTimeSQL(44319.5, kFb), "'05/03/2021 12:00:00'");
  EXPECT_EQ(LibDataFormat::FormatFieldTimeSQL(0.75, kMy), "'18:00:00'");
  EXPECT_EQ(LibDataFormat::FormatFieldDateSQL(0.0, kMy, "null"), "null");
  EXPECT_EQ(LibDataFormat::FormatFieldDateSQL(std::int64_t{-3}, kMy), "NULL");
  EXPECT_EQ(LibDataFormat::FormatFieldDateSQL(std::string("2021-05-03"), kMy), "'2021.05.03'");
  EXPECT_EQ(LibDataFormat::FormatFieldDateTimeSQL(DateTime{2021, 5, 3, 1, 2, 3}, kMy),
            "'2021-05-03 01:02:03'");
  EXPECT_EQ(LibDataFormat::FormatFieldBooleanSQL(true, kFb), "'S'");
  EXPECT_EQ(LibDataFormat::FormatFieldBooleanSQL(std::monostate{}, kMy, "null"), "null");
  EXPECT_THROW(LibDataFormat::FormatFieldDateSQL(std::string("soon"), kMy), ConversionError);
}

TEST(LibDataFormatTest, VariantByFieldType) {
  constexpr auto kMy = DataBaseType::kMySQL;
  const struct {
    std::string_view name;
    SqlValue value;
    FieldDataType type;
    std::string_view want;
  } cases[] = {
      {"NullValue", std::monostate{}, FieldDataType::kText, "RN"},
      {"NullText", std::string(" null "), FieldDataType::kInteger, "RN"},
      {"Text", std::string("x'y"), FieldDataType::kText, "'x''y'"},
      {"NumberAsText", std::int64_t{12}, FieldDataType::kText, "'12'"},
      {"FloatFromText", std::string("2,5"), FieldDataType::kFloat, "2.5"},
      {"Date", std::string("03/05/2021"), FieldDataType::kDate, "'2021.05.03'"},
      {"Time", std::string("2021-05-03 14:07:09"), FieldDataType::kTime, "'14:07:09'"},
      {"DateTime", std::string("2021-05-03 14:07:09.250"), FieldDataType::kDateTime,
       "'2021-05-03 14:07:09'"},
      {"Boolean", std::string("S"), FieldDataType::kBoolean, "1"},
      {"Integer", std::string(" 17 "), FieldDataType::kInteger, "17"},
      {"IntegerFromDouble", 2.6, FieldDataType::kInteger, "3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LibDataFormat::FormatFieldVariantSQL(c.value, c.type, "RN", kMy), c.want);
  }
  EXPECT_THROW(
      LibDataFormat::FormatFieldVariantSQL(std::string("abc"), FieldDataType::kInteger, "RN", kMy),
      ConversionError);
}

TEST(LibDataFormatTest, ValueOfAResultColumn) {
  constexpr auto kMy = DataBaseType::kMySQL;
  const struct {
    FieldKind kind;
    std::optional<std::string> text;
    std::string_view want;
  } cases[] = {
      {FieldKind::kText, std::nullopt, "NULL"},
      {FieldKind::kText, "it's", "'it''s'"},
      {FieldKind::kBlob, "b\\", "'b\\\\'"},
      {FieldKind::kBoolean, "1", "1"},
      {FieldKind::kBoolean, std::string(1, '\0'), "0"},
      {FieldKind::kBCD, "10.10", "10.1"},
      {FieldKind::kDate, "2021-05-03", "'2021.05.03'"},
      {FieldKind::kTime, "14:07:09", "'14:07:09'"},
      {FieldKind::kDateTime, "2021-05-03 14:07:09", "'2021-05-03 14:07:09'"},
      {FieldKind::kLargeInt, "9000000000", "9000000000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.want);
    const Column column{"c", c.kind, "", true};
    EXPECT_EQ(LibDataFormat::FormatFieldValueSQL(column, FieldValue{c.text, nullptr}, kMy), c.want);
  }
}

TEST(LibDataFormatTest, StrToFieldDataType) {
  const struct {
    std::string_view code;
    FieldDataType want;
  } cases[] = {
      {"I", FieldDataType::kInteger},    {"s", FieldDataType::kInteger},
      {"V", FieldDataType::kText},       {"b", FieldDataType::kText},
      {"C", FieldDataType::kText},       {"F", FieldDataType::kFloat},
      {"dp", FieldDataType::kFloat},     {"N", FieldDataType::kFloat},
      {"DE", FieldDataType::kFloat},     {"D", FieldDataType::kDate},
      {"T", FieldDataType::kTime},       {"dt", FieldDataType::kDateTime},
      {"TS", FieldDataType::kDateTime},  {"L", FieldDataType::kBoolean},
      {"bool", FieldDataType::kBoolean}, {"X", FieldDataType::kNull},
      {"", FieldDataType::kNull},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(LibDataFormat::StrToFieldDataType(c.code), c.want);
  }
}

// PrepareSelect needs no open connection: the set is never opened here.
class PrepareSelectTest : public ::testing::Test {
 protected:
  CustomConnection connection_{ConnectionSettings{}};
  LibDataSet data_set_{connection_};
};

TEST_F(PrepareSelectTest, LoginLookupGivesSevenLines) {
  data_set_.AddField("senha").AddField("ativo").AddTable("login").AddWhere("login = 'ana'");
  data_set_.PrepareSelect();
  EXPECT_EQ(data_set_.SQL(),
            "Select\r\n    senha,\r\n    ativo\r\nFrom\r\n    login\r\nWhere\r\n"
            "    login = 'ana'\r\n");
}

TEST_F(PrepareSelectTest, AllSectionsFirstAndSkip) {
  data_set_.AddField("a")
      .AddTable("t")
      .AddTable("join u on u.id = t.id")
      .AddWhere("x = 1")
      .AddWhere("and y = 2")
      .AddGroupBy("a")
      .AddGroupBy("b")
      .AddHaving("count(*) > 1")
      .AddOrderBy("a")
      .AddOrderBy("b desc")
      .SetLimit(10)
      .SetPage(3);
  data_set_.PrepareSelect();
  EXPECT_EQ(data_set_.SQL(),
            "Select first 10 skip 30\r\n    a\r\nFrom\r\n    t\r\n    join u on u.id = t.id\r\n"
            "Where\r\n    x = 1\r\n    and y = 2\r\nGroup by\r\n    a,\r\n    b\r\n"
            "Having\r\n    count(*) > 1\r\nOrder by\r\n    a,\r\n    b desc\r\n");
}

TEST_F(PrepareSelectTest, LimitWithoutPageAndReset) {
  data_set_.AddField("a").AddTable("t").SetLimit(5);
  data_set_.PrepareSelect();
  EXPECT_EQ(data_set_.SQL(), "Select first 5\r\n    a\r\nFrom\r\n    t\r\n");
  data_set_.Reset().AddTable("u");
  data_set_.PrepareSelect();
  EXPECT_EQ(data_set_.SQL(), "Select\r\nFrom\r\n    u\r\n");
  data_set_.Reset().AddSQL("Select 1").AddSQL("From dual");
  EXPECT_EQ(data_set_.SQL(), "Select 1\r\nFrom dual\r\n");
}

TEST(DateTimeTest, SerialRoundTripAndParsing) {
  EXPECT_EQ(DateTime::FromSerial(0.0), (DateTime{1899, 12, 30, 0, 0, 0}));
  EXPECT_EQ(DateTime::FromSerial(44319.5), (DateTime{2021, 5, 3, 12, 0, 0}));
  EXPECT_DOUBLE_EQ((DateTime{2021, 5, 3, 12, 0, 0}).ToSerial(), 44319.5);
  EXPECT_EQ(DateTime::FromSerial(2.99999999), (DateTime{1900, 1, 2, 0, 0, 0}));
  EXPECT_EQ(DateTime::Parse("2021-05-03 14:07:09.250"), (DateTime{2021, 5, 3, 14, 7, 9}));
  EXPECT_EQ(DateTime::Parse("03/05/2021"), (DateTime{2021, 5, 3, 0, 0, 0}));
  EXPECT_EQ(DateTime::Parse("2021-02-30"), std::nullopt);
  EXPECT_EQ(DateTime::Parse("2021-05-03 25:00:00"), std::nullopt);
  EXPECT_EQ(DateTime::Parse("yesterday"), std::nullopt);
}

}  // namespace
}  // namespace quorvane::database
