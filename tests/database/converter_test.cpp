// Rendering of result sets as JSON, on result sets built in memory. The same
// renderings against real MariaDB columns are in query_test.cpp.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "database/dataset_converter.h"
#include "database/errors.h"
#include "database/result_set.h"
#include "lib/json.h"

namespace quorvane::database {
namespace {

FieldValue Text(std::string v) { return FieldValue{std::move(v), nullptr}; }
FieldValue Null() { return FieldValue{}; }

struct RenderCase {
  std::string_view name;
  FieldKind kind;
  std::string_view origin;
  FieldValue value;
  std::string_view json;  // ToJson of the rendered value
};

const RenderCase kRenderCases[] = {
    {"TextNull", FieldKind::kText, "", Null(), "null"},
    {"Text", FieldKind::kText, "", Text("a\"b"), "\"a\\\"b\""},
    {"IntegerNull", FieldKind::kInteger, "", Null(), "null"},
    {"Integer", FieldKind::kInteger, "", Text("-12"), "-12"},
    {"AutoInc", FieldKind::kAutoInc, "", Text("4294967295"), "4294967295"},
    {"LongWordNull", FieldKind::kLongWord, "", Null(), "null"},
    {"LargeIntNullIsZero", FieldKind::kLargeInt, "", Null(), "0"},
    {"LargeInt", FieldKind::kLargeInt, "", Text("-9223372036854775808"), "-9223372036854775808"},
    {"LargeIntUnsigned", FieldKind::kLargeInt, "", Text("18446744073709551615"),
     "18446744073709551615"},
    {"BooleanNullIsFalse", FieldKind::kBoolean, "", Null(), "false"},
    {"BooleanTrue", FieldKind::kBoolean, "Boolean", Text("1"), "true"},
    {"BooleanFromBitByte", FieldKind::kBoolean, "", Text(std::string(1, '\1')), "true"},
    {"BooleanZero", FieldKind::kBoolean, "Unknown", Text("0"), "false"},
    {"BooleanIntegerOrigin", FieldKind::kBoolean, " integer ", Text("1"), "1"},
    {"BooleanIntegerOriginNull", FieldKind::kBoolean, "Integer", Null(), "0"},
    {"FloatNullIsZero", FieldKind::kFloat, "", Null(), "0"},
    {"Float", FieldKind::kFloat, "", Text("1.5e-7"), "1.5E-7"},
    {"BcdNull", FieldKind::kBCD, "", Null(), "null"},
    {"Bcd", FieldKind::kBCD, "", Text("10.10"), "10.1"},
    {"BcdWhole", FieldKind::kBCD, "", Text("-3.000"), "-3"},
    {"CurrencyNull", FieldKind::kCurrency, "", Null(), "null"},
    {"CurrencyTwoDecimals", FieldKind::kCurrency, "", Text("12.5000"), "\"12.50\""},
    {"CurrencyFourDecimals", FieldKind::kCurrency, "", Text("0.1234"), "\"0.1234\""},
    {"CurrencyRounded", FieldKind::kCurrency, "", Text("9.99995"), "\"10.00\""},
    {"CurrencyNegative", FieldKind::kCurrency, "", Text("-7"), "\"-7.00\""},
    {"Date", FieldKind::kDate, "", Text("2021-05-03"), "\"2021-05-03\""},
    {"TimeWithoutFraction", FieldKind::kTime, "", Text("14:07:09.250000"), "\"14:07:09\""},
    {"DateTimeWithoutFraction", FieldKind::kDateTime, "", Text("2021-05-03 14:07:09.250"),
     "\"2021-05-03 14:07:09\""},
    {"DateTimeNull", FieldKind::kDateTime, "", Null(), "null"},
    {"BlobNullIsEmpty", FieldKind::kBlob, "", Null(), "\"\""},
    {"Blob", FieldKind::kBlob, "", Text("hello"), "\"aGVsbG8=\""},
};

class RenderFieldTest : public ::testing::TestWithParam<RenderCase> {};

TEST_P(RenderFieldTest, RendersByKind) {
  const RenderCase& c = GetParam();
  const Column column{"c", c.kind, std::string(c.origin), true};
  EXPECT_EQ(lib::ToJson(RenderField(column, c.value)), c.json);
}

INSTANTIATE_TEST_SUITE_P(Table, RenderFieldTest, ::testing::ValuesIn(kRenderCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RenderFieldTest, UnsupportedKindsNameTheField) {
  for (const FieldKind kind : {FieldKind::kBytes, FieldKind::kUnknown}) {
    const Column column{"codbarras", kind, "", true};
    try {
      RenderField(column, Text("x"));
      ADD_FAILURE() << "rendered";
    } catch (const ConversionError& e) {
      EXPECT_STREQ(e.what(), "Cannot find type for field \"codbarras\"");
    }
  }
}

TEST(Base64MimeTest, LinesOf76JoinedByCrLf) {
  EXPECT_EQ(EncodeBase64Mime(""), "");
  EXPECT_EQ(EncodeBase64Mime("f"), "Zg==");
  EXPECT_EQ(EncodeBase64Mime("fo"), "Zm8=");
  EXPECT_EQ(EncodeBase64Mime("foo"), "Zm9v");
  // 57 bytes fill one line exactly: no line break after it.
  EXPECT_EQ(EncodeBase64Mime(std::string(57, '\0')), std::string(76, 'A'));
  // 100 bytes: 76 characters, CR LF, the remaining 60.
  const std::string encoded = EncodeBase64Mime(std::string(100, '\xff'));
  ASSERT_EQ(encoded.size(), 76u + 2u + 60u);
  EXPECT_EQ(encoded.substr(76, 2), "\r\n");
  EXPECT_EQ(encoded.find("\r\n", 78), std::string::npos);
  EXPECT_EQ(encoded.substr(encoded.size() - 4), "/w==");
}

ResultSet TwoRows() {
  std::vector<Column> columns = {{"codigo", FieldKind::kInteger, "", true},
                                 {"hidden", FieldKind::kText, "", false},
                                 {"nome", FieldKind::kText, "", true}};
  std::vector<Row> rows = {{Text("1"), Text("h"), Text("a")}, {Text("2"), Null(), Null()}};
  return ResultSet(std::move(columns), std::move(rows));
}

TEST(DataSetConverterTest, ArrayAndObjectSkipInvisibleColumns) {
  const ResultSet rs = TwoRows();
  const auto array = Converter::New().DataSet(rs).AsJSONArray();
  ASSERT_TRUE(array);
  EXPECT_EQ(lib::ToJson(*array), R"([{"codigo":1,"nome":"a"},{"codigo":2,"nome":null}])");
  const auto second = Converter::New().DataSet(rs, 1).AsJSONObject();
  ASSERT_TRUE(second);
  EXPECT_EQ(lib::ToJson(*second), R"({"codigo":2,"nome":null})");
}

TEST(DataSetConverterTest, NoRowsGiveNothing) {
  const ResultSet empty({{"a", FieldKind::kText, "", true}}, {});
  EXPECT_EQ(Converter::New().DataSet(empty).AsJSONArray(), std::nullopt);
  EXPECT_EQ(Converter::New().DataSet(empty).AsJSONObject(), std::nullopt);
}

TEST(DataSetConverterTest, WithoutDataSetFails) {
  try {
    Converter::New().AsJSONArray();
    FAIL();
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "DataSet Uninformed.");
  }
  EXPECT_THROW(Converter::New().AsJSONObject(), ConversionError);
}

TEST(DataSetConverterTest, UnsupportedColumnDiscardsTheRow) {
  const ResultSet rs({{"a", FieldKind::kText, "", true}, {"b", FieldKind::kBytes, "", true}},
                     {{Text("x"), Text("y")}});
  EXPECT_THROW(Converter::New().DataSet(rs).AsJSONArray(), ConversionError);
}

TEST(DataSetConverterTest, NestedResultSetsByOrigin) {
  auto inner =
      std::make_shared<ResultSet>(std::vector<Column>{{"n", FieldKind::kInteger, "", true}},
                                  std::vector<Row>{{Text("1")}, {Text("2")}});
  auto none = std::make_shared<ResultSet>(std::vector<Column>{{"n", FieldKind::kInteger, "", true}},
                                          std::vector<Row>{});
  const ResultSet rs({{"obj", FieldKind::kDataSet, "JSONObject", true},
                      {"arr", FieldKind::kDataSet, " jsonarray ", true},
                      {"skip", FieldKind::kDataSet, "Unknown", true},
                      {"empty", FieldKind::kDataSet, "JSONArray", true}},
                     {{FieldValue{std::nullopt, inner}, FieldValue{std::nullopt, inner},
                       FieldValue{std::nullopt, inner}, FieldValue{std::nullopt, none}}});
  const auto object = Converter::New().DataSet(rs).AsJSONObject();
  ASSERT_TRUE(object);
  EXPECT_EQ(lib::ToJson(*object), R"({"obj":{"n":1},"arr":[{"n":1},{"n":2}],"empty":null})");
}

}  // namespace
}  // namespace quorvane::database
