// JSON accessors, the JSON-backed JOSE objects, JWT header and claims, the
// algorithm identifiers, time units and numeric dates.

#include "jose/jwt.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>

#include "jose/base64.h"
#include "jose/exceptions.h"
#include "jose/json_utils.h"
#include "jose/numeric_date.h"

namespace quorvane::jose {
namespace {

JsonValue Obj(std::string_view text) {
  auto v = lib::ParseJson(text);
  EXPECT_TRUE(v.has_value()) << text;
  return v.value_or(JsonValue::MakeObject());
}

JOSEBytes Segment(std::string_view json) { return Base64::URLEncode(JOSEBytes(json)); }

TEST(JSONUtilsTest, PresenceAndLooseValues) {
  const JsonValue j = Obj(R"({"n":null,"b":true,"d":1.5,"s":"t\"x","o":{"a":1},"s":"second"})");
  EXPECT_TRUE(JSONUtils::CheckPair("n", j));  // null counts as present
  EXPECT_FALSE(JSONUtils::CheckPair("N", j));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(JSONUtils::GetJSONValue("x", j)));
  EXPECT_EQ(std::get<bool>(JSONUtils::GetJSONValue("b", j)), true);
  EXPECT_EQ(std::get<double>(JSONUtils::GetJSONValue("d", j)), 1.5);
  EXPECT_EQ(std::get<std::string>(JSONUtils::GetJSONValue("s", j)), "t\"x");  // first wins
  EXPECT_EQ(std::get<std::string>(JSONUtils::GetJSONValue("o", j)), R"({"a":1})");
}

struct IntCase {
  const char* name;
  const char* json;
  std::optional<std::int64_t> want;  // nullopt with `error` empty: absent
  const char* error;                 // expected message, "" for no error
};

constexpr IntCase kInt64Cases[] = {
    {"Absent", R"({})", std::nullopt, ""},
    {"Integer", R"({"v":1300819380})", 1300819380, ""},
    {"Negative", R"({"v":-5})", -5, ""},
    {"Max", R"({"v":9223372036854775807})", std::numeric_limits<std::int64_t>::max(), ""},
    {"Overflow", R"({"v":9223372036854775808})", std::nullopt,
     "'9223372036854775808' is not a valid integer value"},
    {"Fraction", R"({"v":1.5})", std::nullopt, "'1.5' is not a valid integer value"},
    {"Exponent", R"({"v":1e3})", std::nullopt, "'1e3' is not a valid integer value"},
    {"String", R"({"v":"12"})", std::nullopt, "JSON Incompatible type. Expected Int64"},
    {"Null", R"({"v":null})", std::nullopt, "JSON Incompatible type. Expected Int64"},
    {"Boolean", R"({"v":true})", std::nullopt, "JSON Incompatible type. Expected Int64"},
};

TEST(JSONUtilsTest, Int64Reader) {
  for (const IntCase& c : kInt64Cases) {
    SCOPED_TRACE(c.name);
    const JsonValue j = Obj(c.json);
    if (*c.error == '\0') {
      EXPECT_EQ(JSONUtils::GetJSONValueInt64("v", j), c.want);
      continue;
    }
    try {
      JSONUtils::GetJSONValueInt64("v", j);
      ADD_FAILURE() << "no error";
    } catch (const JSONConversionException& e) {
      EXPECT_STREQ(e.what(), c.error);
    }
  }
}

TEST(JSONUtilsTest, IntAndDoubleReaders) {
  EXPECT_EQ(JSONUtils::GetJSONValueInt("v", Obj(R"({"v":-7})")), -7);
  EXPECT_THROW(JSONUtils::GetJSONValueInt("v", Obj(R"({"v":4294967296})")),
               JSONConversionException);
  try {
    JSONUtils::GetJSONValueInt("v", Obj(R"({"v":"1"})"));
    ADD_FAILURE();
  } catch (const JSONConversionException& e) {
    EXPECT_STREQ(e.what(), "JSON Incompatible type. Expected Integer");
  }
  EXPECT_EQ(JSONUtils::GetJSONValueDouble("v", Obj(R"({"v":2.5e1})")), 25.0);
  EXPECT_EQ(JSONUtils::GetJSONValueDouble("x", Obj(R"({})")), std::nullopt);
  try {
    JSONUtils::GetJSONValueDouble("v", Obj(R"({"v":[]})"));
    ADD_FAILURE();
  } catch (const JSONConversionException& e) {
    EXPECT_STREQ(e.what(), "JSON Incompatible type. Expected Double");
  }
}

TEST(JSONUtilsTest, EpochAndIsoDates) {
  EXPECT_TRUE(JSONUtils::GetJSONValueAsEpoch("v", Obj(R"({})")).IsNull());
  EXPECT_TRUE(JSONUtils::GetJSONValueAsEpoch("v", Obj(R"({"v":0})")).IsNull());
  EXPECT_EQ(JSONUtils::GetJSONValueAsEpoch("v", Obj(R"({"v":1625061909})")).AsISO8601(),
            "2021-06-30T14:05:09.000Z");
  EXPECT_EQ(JSONUtils::GetJSONValueAsDate("v", Obj(R"({"v":"2021-06-30T11:05:09.250-03:00"})"))
                .AsISO8601(),
            "2021-06-30T14:05:09.250Z");
  EXPECT_TRUE(JSONUtils::GetJSONValueAsDate("v", Obj(R"({"v":""})")).IsNull());
  EXPECT_THROW(JSONUtils::GetJSONValueAsDate("v", Obj(R"({"v":"yesterday"})")),
               JSONConversionException);
}

TEST(JSONUtilsTest, SettingAndRemoving) {
  JsonValue j = Obj(R"({"a":1,"b":2})");
  JSONUtils::SetJSONValue("a", JsonValue::String("x"), j);  // replaced in place
  JSONUtils::SetJSONValue("c", JsonValue::Boolean(false), j);
  EXPECT_EQ(lib::ToJson(j), R"({"a":"x","b":2,"c":false})");
  JSONUtils::RemoveJSONNode("b", j);
  JSONUtils::RemoveJSONNode("zz", j);
  EXPECT_EQ(lib::ToJson(j), R"({"a":"x","c":false})");

  JsonValue typed = JsonValue::MakeObject();
  JSONUtils::SetJSONValueFrom("date", JOSENumericDate::FromSeconds(1625061909, 999), typed);
  JSONUtils::SetJSONValueFrom("f", 2.5, typed);
  JSONUtils::SetJSONValueFrom("i", std::int64_t{-3}, typed);
  JSONUtils::SetJSONValueFrom("s", std::string("t"), typed);
  JSONUtils::SetJSONValueFrom("ch", 'c', typed);
  JSONUtils::SetJSONValueFrom("b", true, typed);
  JSONUtils::SetJSONValueFrom("other", std::vector<int>{1}, typed);  // stores nothing
  EXPECT_EQ(lib::ToJson(typed), R"({"date":1625061909,"f":2.5,"i":-3,"s":"t","ch":"c","b":true})");
}

TEST(JOSEBaseTest, EncodedForms) {
  JWTHeader h;
  h.SetAlgorithm("HS256");
  EXPECT_EQ(h.GetURLEncoded().ToString(), "eyJhbGciOiJIUzI1NiJ9");
  EXPECT_EQ(h.GetEncoded().ToString(), "eyJhbGciOiJIUzI1NiJ9");
  JWTHeader other;
  other.SetHeaderType("JWT");
  other.SetEncoded(h.GetEncoded());  // members are added
  EXPECT_EQ(lib::ToJson(other.JSON()), R"({"typ":"JWT","alg":"HS256"})");
  JsonValue copy = other.Clone();
  other.Clear();
  EXPECT_EQ(other.JSON().size(), 0u);
  EXPECT_EQ(copy.size(), 2u);
}

struct ReplaceCase {
  const char* name;
  const char* decoded;  // what the segment decodes to
  bool throws;
  const char* want;  // JSON afterwards
};

constexpr ReplaceCase kReplaceCases[] = {
    {"Object", R"( {"a":1})", false, R"({"a":1})"},
    {"Array", "[1]", true, R"({"keep":true})"},
    {"String", R"("x")", true, R"({"keep":true})"},
    {"LoneBrace", "{", false, R"({"keep":true})"},
    {"TrailingLetter", "{}x", false, R"({"keep":true})"},
    {"TrailingBlank", "{} ", false, R"({"keep":true})"},
    {"NotJson", "\xFF\xFE", false, R"({"keep":true})"},
    {"Empty", "", false, R"({"keep":true})"},
};

class SetURLEncodedTest : public ::testing::TestWithParam<ReplaceCase> {};
TEST_P(SetURLEncodedTest, ReplacesOnlyWithAnObject) {
  JWTClaims claims;
  claims.SetAsJSON(Obj(R"({"keep":true})"));
  const JOSEBytes segment = Segment(GetParam().decoded);
  if (GetParam().throws) {
    EXPECT_THROW(claims.SetURLEncoded(segment), InvalidCastException);
  } else {
    EXPECT_NO_THROW(claims.SetURLEncoded(segment));
  }
  EXPECT_EQ(lib::ToJson(claims.JSON()), GetParam().want);
}
INSTANTIATE_TEST_SUITE_P(Table, SetURLEncodedTest, ::testing::ValuesIn(kReplaceCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(JOSEAlgorithmIdTest, TextsMapBothWays) {
  for (int i = 1; i <= 14; ++i) {
    const auto id = static_cast<JOSEAlgorithmId>(i);
    SCOPED_TRACE(i);
    EXPECT_EQ(JOSEAlgorithmIdHelper::FromString(JOSEAlgorithmIdHelper::AsString(id)), id);
  }
  EXPECT_EQ(JOSEAlgorithmIdHelper::AsString(JOSEAlgorithmId::ES256K), "ES256K");
  EXPECT_EQ(JOSEAlgorithmIdHelper::AsString(JOSEAlgorithmId::Unknown), "");
  EXPECT_EQ(JOSEAlgorithmIdHelper::FromString("hs256"), JOSEAlgorithmId::Unknown);
  EXPECT_EQ(JOSEAlgorithmIdHelper::FromString(""), JOSEAlgorithmId::Unknown);
  EXPECT_EQ(JOSEAlgorithmIdHelper::FromString("HS256 "), JOSEAlgorithmId::Unknown);
}

TEST(JOSEAlgorithmsTest, SetBits) {
  JOSEAlgorithms set = {JOSEAlgorithmId::None, JOSEAlgorithmId::HS256};
  EXPECT_EQ(set.Bits(), 0x0006);
  EXPECT_TRUE(set.Contains(JOSEAlgorithmId::HS256));
  set.Exclude(JOSEAlgorithmId::HS256);
  EXPECT_FALSE(set.Contains(JOSEAlgorithmId::HS256));
  EXPECT_FALSE(set.Contains(JOSEAlgorithmId::Unknown));
}

TEST(JOSETimeUnitTest, Conversions) {
  struct Case {
    JOSETimeUnit from;
    std::int32_t value;
    JOSETimeUnit to;
    std::int32_t want;
  };
  using U = JOSETimeUnit;
  const Case cases[] = {
      {U::Minutes, 2, U::Seconds, 120},
      {U::Seconds, 7199, U::Minutes, 119},
      {U::Hours, 3, U::Minutes, 180},
      {U::Milliseconds, 6000, U::Seconds, 6},
      {U::Seconds, 119, U::Minutes, 1},
      {U::Seconds, 7199, U::Hours, 1},
      {U::Days, 1, U::Milliseconds, 86400000},
      {U::Seconds, 5, U::Seconds, 5},
      {U::Days, 100000, U::Milliseconds, std::numeric_limits<std::int32_t>::max()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " -> " << c.want);
    EXPECT_EQ(JOSETimeUnitHelper::Convert(c.from, c.value, c.to), c.want);
  }
  EXPECT_EQ(JOSETimeUnitHelper::ToSeconds(U::Minutes, 2), 120);
  EXPECT_EQ(JOSETimeUnitHelper::ToMinutes(U::Seconds, 7199), 119);
}

TEST(JOSENumericDateTest, SecondsTextAndComparisons) {
  const auto d = JOSENumericDate::FromSeconds(1625061909, 999);
  EXPECT_EQ(d.AsSeconds(), 1625061909);
  EXPECT_EQ(d.AsISO8601(), "2021-06-30T14:05:09.999Z");
  EXPECT_EQ(JOSENumericDate::FromSeconds(-1).AsISO8601(), "1969-12-31T23:59:59.000Z");
  const auto before_epoch =
      JOSENumericDate::Create(std::chrono::system_clock::time_point(std::chrono::milliseconds(-1)));
  EXPECT_EQ(before_epoch.AsSeconds(), -1);
  EXPECT_EQ(before_epoch.AsISO8601(), "1969-12-31T23:59:59.999Z");
  EXPECT_EQ(JOSENumericDate::FromSeconds(std::numeric_limits<std::int64_t>::min() + 1)
                .AsISO8601()
                .substr(0, 1),
            "-");  // renders without overflow
  const auto e = JOSENumericDate::FromSeconds(1625061919);
  EXPECT_TRUE(e.IsAfter(d, 9));
  EXPECT_FALSE(e.IsAfter(d, 10));
  EXPECT_TRUE(d.IsBefore(e, 9));
  EXPECT_FALSE(d.IsBefore(e, 10));
  EXPECT_TRUE(d.IsBefore(e, -100));  // the allowance keeps its sign
  // The null date is earlier than any instant, and the extremes do not wrap.
  const JOSENumericDate null_date;
  const auto far = JOSENumericDate::FromSeconds(std::numeric_limits<std::int64_t>::max());
  EXPECT_TRUE(null_date.IsBefore(JOSENumericDate::FromSeconds(-9'000'000'000), 0));
  EXPECT_TRUE(far.IsAfter(null_date, std::numeric_limits<std::int32_t>::max()));
  EXPECT_FALSE(far.IsBefore(d, std::numeric_limits<std::int32_t>::max()));
}

TEST(JOSENumericDateTest, LocalTextCarriesTheOffset) {
  const char* old_tz = std::getenv("TZ");
  const std::string saved = old_tz != nullptr ? old_tz : "";
  setenv("TZ", "<-03>3", 1);
  tzset();
  EXPECT_EQ(JOSENumericDate::FromSeconds(1625061909).AsLocalISO8601(),
            "2021-06-30T11:05:09.000-03:00");
  setenv("TZ", "UTC0", 1);
  tzset();
  EXPECT_EQ(JOSENumericDate::FromSeconds(1625061909).AsLocalISO8601(), "2021-06-30T14:05:09.000Z");
  if (old_tz != nullptr) {
    setenv("TZ", saved.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
}

TEST(JWTHeaderTest, Accessors) {
  JWTHeader h;
  EXPECT_EQ(h.Algorithm(), "");
  h.SetAlgorithm("HS256");
  h.SetKeyID("k1");
  h.SetHeaderType("");
  EXPECT_EQ(lib::ToJson(h.JSON()), R"({"alg":"HS256","kid":"k1","typ":""})");
  h.SetURLEncoded(Segment(R"({"alg":256,"x":"kept"})"));
  EXPECT_EQ(h.Algorithm(), "256");  // a non-string reads as its JSON text
  EXPECT_EQ(JOSEAlgorithmIdHelper::FromString(h.Algorithm()), JOSEAlgorithmId::Unknown);
}

TEST(JWTClaimsTest, TextClaims) {
  JWTClaims c;
  c.SetIssuer("joe");
  c.SetSubject("s");
  c.SetJWTId("id-1");
  EXPECT_TRUE(c.HasIssuer());
  EXPECT_EQ(c.Issuer(), "joe");
  c.SetIssuer("");
  EXPECT_FALSE(c.HasIssuer());
  EXPECT_EQ(lib::ToJson(c.JSON()), R"({"sub":"s","jti":"id-1"})");
}

TEST(JWTClaimsTest, AudienceReadsAndWrites) {
  struct Case {
    const char* json;
    const char* audience;
    JOSEStringArray array;
  };
  const Case reads[] = {
      {R"({"aud":["x","y"]})", "x,y", {"x", "y"}},
      {R"({"aud":"x,y"})", "x,y", {"x", "y"}},
      {R"({"aud":"x"})", "x", {"x"}},
      {R"({})", "", {}},
      {R"({"aud":["x",""]})", "x", {"x"}},
  };
  for (const Case& r : reads) {
    SCOPED_TRACE(r.json);
    JWTClaims c;
    c.SetAsJSON(Obj(r.json));
    EXPECT_EQ(c.Audience(), r.audience);
    EXPECT_EQ(c.AudienceArray(), r.array);
  }
  JWTClaims c;
  c.SetAudience("a,b");
  EXPECT_EQ(lib::ToJson(c.JSON()), R"({"aud":["a","b"]})");
  c.SetAudience("a");
  EXPECT_EQ(lib::ToJson(c.JSON()), R"({"aud":"a"})");
  c.SetAudienceArray({"p", "q"});
  EXPECT_EQ(lib::ToJson(c.JSON()), R"({"aud":["p","q"]})");
  c.SetAudience("");
  EXPECT_FALSE(c.HasAudience());
}

TEST(JWTClaimsTest, DateClaims) {
  JWTClaims c;
  c.SetExpiration(JOSENumericDate::FromSeconds(1300819380));
  EXPECT_TRUE(c.HasExpiration());
  EXPECT_EQ(c.Expiration().AsSeconds(), 1300819380);
  c.SetExpiration(JOSENumericDate());
  EXPECT_FALSE(c.HasExpiration());

  c.SetAsJSON(Obj(R"({"exp":null,"nbf":0,"iat":"1"})"));
  EXPECT_TRUE(c.HasExpiration());
  try {
    c.Expiration();
    ADD_FAILURE();
  } catch (const JSONConversionException& e) {
    EXPECT_STREQ(e.what(), "JSON Incompatible type. Expected Int64");
  }
  EXPECT_TRUE(c.HasNotBefore());
  EXPECT_TRUE(c.NotBefore().IsNull());
  EXPECT_THROW(c.IssuedAt(), JSONConversionException);
}

TEST(JWTClaimsTest, SetAsJSONKeepsClaimsOnFailure) {
  JWTClaims c;
  c.SetAsJSON(std::string_view(R"({"iss":"a"})"));
  EXPECT_THROW(c.SetAsJSON(std::string_view("[1]")), InvalidCastException);
  EXPECT_THROW(c.SetAsJSON(std::string_view("not json")), JOSEException);
  EXPECT_THROW(c.SetAsJSON(JsonValue::String("x")), InvalidCastException);
  EXPECT_EQ(c.Issuer(), "a");
}

TEST(JWTClaimsTest, GeneratedIdsAreUrlSafeAndUnique) {
  const std::string a = JWTClaims::GenerateJWTId(16);
  EXPECT_EQ(a.size(), 22u);
  EXPECT_EQ(a.find_first_of("+/="), std::string::npos);
  EXPECT_NE(a, JWTClaims::GenerateJWTId(16));
}

struct NamedClaims : JWTClaims {
  std::string Name() const { return JSON().Find("name") ? JSON().Find("name")->AsString() : ""; }
};

TEST(JWTTest, NewClearAndClaimsClass) {
  JWT jwt;
  EXPECT_EQ(lib::ToJson(jwt.Header().JSON()), R"({"typ":"JWT"})");
  EXPECT_EQ(jwt.Claims().JSON().size(), 0u);
  EXPECT_FALSE(jwt.Verified());
  jwt.SetVerified(true);
  jwt.Clear();
  EXPECT_EQ(jwt.Header().JSON().size(), 0u);
  EXPECT_FALSE(jwt.Verified());

  JWT named(ClaimsClassOf<NamedClaims>());
  ASSERT_NE(dynamic_cast<NamedClaims*>(&named.Claims()), nullptr);
  JWK key = JWK::Create(JOSEBytes("secret"));
  EXPECT_EQ(key.Key(), JOSEBytes("secret"));
  EXPECT_EQ(key.JSON().size(), 0u);
}

}  // namespace
}  // namespace quorvane::jose
