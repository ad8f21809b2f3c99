#include "lib/json.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

namespace quorvane::lib {
namespace {

struct EscapeCase {
  const char* name;
  std::string input;  // UTF-8
  const char* want;   // serialised, quotes included
};

const EscapeCase kEscapeCases[] = {
    {"Plain", "abc", "\"abc\""},
    {"SlashAndCedilla", "a/b\xC3\xA7", "\"a\\/b\\u00E7\""},
    {"QuoteAndAcute", "say \"\xC3\xA1\"", "\"say \\\"\\u00E1\\\"\""},
    {"Backslash", "c:\\dir", "\"c:\\\\dir\""},
    {"ShortControls", "\b\t\n\f\r", "\"\\b\\t\\n\\f\\r\""},
    {"OtherControls", std::string("\x01\x1F\x00", 3), "\"\\u0001\\u001F\\u0000\""},
    {"DeleteStaysRaw", "\x7F", "\"\x7F\""},
    {"UpperCaseHex", "\xE2\x82\xAC", "\"\\u20AC\""},
    {"SurrogatePair", "\xF0\x9F\x98\x80", "\"\\uD83D\\uDE00\""},
    {"InvalidUtf8BecomesReplacement",
     "a\xFF"
     "b",
     "\"a\\uFFFDb\""},
    {"TruncatedSequence", "\xC3", "\"\\uFFFD\""},
    {"OverlongRejected", "\xC0\xAF", "\"\\uFFFD\\uFFFD\""},
};

class JsonEscapeTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(JsonEscapeTest, SerialisesAsAscii) {
  const std::string got = ToJson(JsonValue::String(GetParam().input));
  EXPECT_EQ(got, GetParam().want);
  for (char c : got) EXPECT_LT(static_cast<unsigned char>(c), 128u);
}

INSTANTIATE_TEST_SUITE_P(Table, JsonEscapeTest, ::testing::ValuesIn(kEscapeCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct DoubleCase {
  const char* name;
  double value;
  const char* want;
};

const DoubleCase kDoubleCases[] = {
    {"Zero", 0.0, "0"},
    {"NegativeZero", -0.0, "0"},
    {"Integral", 3.0, "3"},
    {"Half", 0.5, "0.5"},
    {"DecimalTrailingZeroDropped", 10.10, "10.1"},
    {"Negative", -2.25, "-2.25"},
    {"FifteenDigits", 0.1 + 0.2, "0.3"},
    {"SmallFixed", 0.0001, "0.0001"},
    {"SmallScientific", 0.000015, "1.5E-5"},
    {"TinyScientific", 1.5e-7, "1.5E-7"},
    {"LargeFixed", 999999999999999.0, "999999999999999"},
    {"LargeScientific", 1e15, "1E15"},
    {"LargeMantissa", 1.25e20, "1.25E20"},
    {"Money", 1234.56, "1234.56"},
    {"NaNHasNoJsonForm", std::numeric_limits<double>::quiet_NaN(), "0"},
};

class JsonDoubleTest : public ::testing::TestWithParam<DoubleCase> {};

TEST_P(JsonDoubleTest, FloatForm) {
  EXPECT_EQ(FormatJsonDouble(GetParam().value), GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(Table, JsonDoubleTest, ::testing::ValuesIn(kDoubleCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(JsonValueTest, CompactObjectKeepsInsertionOrder) {
  JsonValue row = JsonValue::MakeObject();
  row.Add("z", JsonValue::Integer(-7))
      .Add("a", JsonValue::Boolean(true))
      .Add("m", JsonValue::Null())
      .Add("list", JsonValue::MakeArray().Push(JsonValue::Integer(1)).Push(JsonValue::String("x")));
  EXPECT_EQ(ToJson(row), R"({"z":-7,"a":true,"m":null,"list":[1,"x"]})");
  EXPECT_EQ(ToJson(JsonValue::MakeArray()), "[]");
  EXPECT_EQ(ToJson(JsonValue::MakeObject()), "{}");
  EXPECT_EQ(ToJson(JsonValue::Null()), "null");
}

TEST(JsonValueTest, IntegersAreExact) {
  EXPECT_EQ(ToJson(JsonValue::Integer(std::numeric_limits<std::int64_t>::min())),
            "-9223372036854775808");
  EXPECT_EQ(ToJson(JsonValue::Unsigned(std::numeric_limits<std::uint64_t>::max())),
            "18446744073709551615");
}

TEST(JsonParseTest, NumbersKeepTheirText) {
  const auto v = ParseJson(R"( {"a": 1.50, "b": -0, "c": 12345678901234567890123} )");
  ASSERT_TRUE(v.has_value());
  EXPECT_EQ(v->Find("a")->AsNumberText(), "1.50");
  EXPECT_EQ(v->Find("b")->AsNumberText(), "-0");
  EXPECT_EQ(v->Find("c")->AsNumberText(), "12345678901234567890123");
}

TEST(JsonParseTest, DecodesEscapesIntoUtf8) {
  const auto v = ParseJson(R"(["\u00e1\/\"\\", "\ud83d\ude00"])");
  ASSERT_TRUE(v.has_value());
  EXPECT_EQ(v->AsArray()[0].AsString(), "\xC3\xA1/\"\\");
  EXPECT_EQ(v->AsArray()[1].AsString(), "\xF0\x9F\x98\x80");
}

TEST(JsonParseTest, RejectsInvalidInput) {
  const char* bad[] = {"",    "   ",      "{",   "[1,]",       "{\"a\" 1}", "tru",
                       "1 2", "\"\xFF\"", "'a'", "{\"a\":1,}", "[\"\\x\"]", "01"};
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(ParseJson(text).has_value());
  }
}

// A string must come out as valid UTF-8, or it could not be stored nor
// written back as it came: an escape of half a surrogate pair, high or low,
// is refused like invalid UTF-8.
TEST(JsonParseTest, RejectsLoneSurrogateEscapes) {
  const char* bad[] = {R"("\ud800")",     R"("\udc00")",       R"("a\ude00b")",
                       R"({"\udfff":1})", R"("\ud83d\u0041")", R"("\ude00\ud83d")",
                       "\"\xED\xB8\x80\""};
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(ParseJson(text).has_value());
  }
  EXPECT_EQ(ParseJson(R"("\ud83d\ude00\ud7ff\ue000")")->AsString(),
            "\xF0\x9F\x98\x80\xED\x9F\xBF\xEE\x80\x80");
}

TEST(JsonParseTest, NestingIsBounded) {
  const std::string ok = std::string(kMaxJsonDepth, '[') + std::string(kMaxJsonDepth, ']');
  EXPECT_TRUE(ParseJson(ok).has_value());
  const std::string deep =
      std::string(kMaxJsonDepth + 1, '[') + std::string(kMaxJsonDepth + 1, ']');
  EXPECT_FALSE(ParseJson(deep).has_value());
  const std::string hostile(1'000'000, '[');
  EXPECT_FALSE(ParseJson(hostile).has_value());
}

TEST(JsonParseTest, RoundTripsThroughSerialisation) {
  const char* docs[] = {R"({"a":[1,2.5,"x\/y"],"b":{"c":null,"d":false},"e":"\u00E7\uD83D\uDE00"})",
                        "[]",
                        "{}",
                        "\"\"",
                        "-1.5E-7",
                        "true"};
  for (const char* doc : docs) {
    SCOPED_TRACE(doc);
    const auto v = ParseJson(doc);
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(ToJson(*v), doc);
    EXPECT_EQ(ParseJson(ToJson(*v)), v);
  }
}

TEST(JsonPlainFormTest, KeepsShortEscapesButReducesNonAscii) {
  JsonValue v = JsonValue::MakeObject();
  v.Add("n\xC3\xA3o", JsonValue::String("a/b \"\xC3\xA7\" \xF0\x9F\x98\x80\n"));
  EXPECT_EQ(ToPlainAsciiJson(v), "{\"n?o\":\"a\\/b \\\"?\\\" ??\\n\"}");
  EXPECT_EQ(ReduceToAscii("Manuten\xC3\xA7\xC3\xA3o"), "Manuten??o");
}

TEST(JsonValueTest, ToTextGivesSqlReadyText) {
  EXPECT_EQ(JsonValue::String("abc").ToText(), "abc");
  EXPECT_EQ(JsonValue::Number("10.5").ToText(), "10.5");
  EXPECT_EQ(JsonValue::Boolean(false).ToText(), "false");
  EXPECT_EQ(JsonValue::Null().ToText(), "null");
}

}  // namespace
}  // namespace quorvane::lib
