// The consumer: signature stage (allow-list, key, "none") and the claim
// checks with their exact messages.

#include "jose/consumer.h"

#include <gtest/gtest.h>

#include <chrono>

#include "jose/base64.h"
#include "jose/exceptions.h"
#include "jose/jwa_signing.h"
#include "test_keys.h"

namespace quorvane::jose {
namespace {

const JOSEBytes kKey("QXZ-tenants#7788");
constexpr std::int64_t kEval = 1625061909;  // 2021-06-30T14:05:09Z

std::string Seg(std::string_view json) { return Base64::URLEncode(JOSEBytes(json)).ToString(); }

// A compact HS256 token (or any "alg") over exactly these JSON texts.
std::string Token(std::string_view payload,
                  std::string_view header = R"({"alg":"HS256","typ":"JWT"})",
                  const JOSEBytes& key = kKey) {
  const std::string input = Seg(header) + "." + Seg(payload);
  return input + "." +
         Base64::URLEncode(HMAC::Sign(JOSEBytes(input), key, HMACAlgorithm::SHA256)).ToString();
}

JOSEConsumerBuilder Builder() {
  auto builder = JOSEConsumerBuilder::NewConsumer();
  builder.SetVerificationKey(kKey).SetSkipVerificationKeyValidation().SetEvaluationTime(
      JOSENumericDate::FromSeconds(kEval));
  return builder;
}

// The message of what Process throws, or "" when the token is accepted.
std::string Outcome(JOSEConsumer& consumer, const std::string& token) {
  try {
    consumer.Process(JOSEBytes(token));
    return "";
  } catch (const std::exception& e) {
    return e.what();
  }
}

// The problem lines of an InvalidJWTException message.
std::vector<std::string> Problems(const std::string& message) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = message.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(message.substr(start, end - start));
  }
  if (lines.size() >= 2) lines.erase(lines.begin(), lines.begin() + 2);
  return lines;
}

TEST(ConsumerTest, PlainHs256TokenIsAccepted) {
  auto consumer = Builder().Build();
  EXPECT_EQ(Outcome(*consumer, Token(R"({"name":"x"})")), "");
  // With key validation on, the 16-byte key is refused before the MAC.
  auto strict = JOSEConsumerBuilder::NewConsumer().SetVerificationKey(kKey).Build();
  EXPECT_EQ(Outcome(*strict, Token("{}")), "Key is too short (128bit), expected (256bit)");
}

TEST(ConsumerTest, AudienceWithNoExpectedValuesIsRejected) {
  auto consumer = Builder().Build();
  const std::string token = Token(R"({"aud":"anyone"})");
  const std::string message = Outcome(*consumer, token);
  EXPECT_EQ(message,
            "JWT (claims: {\"aud\":\"anyone\"}) rejected due to invalid claims.\r\n"
            "Validation errors:\r\n"
            "Audience [aud] claim  present in the JWT but no expected audience value(s) were "
            "provided to the JWT Consumer. Expected one of [] as aud value.\r\n");
  EXPECT_THROW(consumer->Process(JOSEBytes(token)), InvalidJWTException);
}

TEST(ConsumerTest, AudienceValidatorMessages) {
  struct Case {
    const char* name;
    JOSEStringArray expected;
    bool required;
    const char* claims;
    const char* problem;  // "" when accepted
  };
  const Case cases[] = {
      {"OneOfTwo", {"a", "b"}, false, R"({"aud":["x","b"]})", ""},
      {"StringMatches", {"a"}, true, R"({"aud":"a"})", ""},
      {"NoMatchOne",
       {"a"},
       false,
       R"({"aud":"x"})",
       "Audience [aud] claim  doesn't contain an acceptable identifier. Expected [a] as aud "
       "value."},
      {"NoMatchMany",
       {"a", "b"},
       false,
       R"({"aud":"x"})",
       "Audience [aud] claim  doesn't contain an acceptable identifier. Expected one of [a,b] as "
       "aud "
       "value."},
      {"CaseSensitive",
       {"a"},
       false,
       R"({"aud":"A"})",
       "Audience [aud] claim  doesn't contain an acceptable identifier. Expected [a] as aud "
       "value."},
      {"MissingRequired", {"a"}, true, R"({})", "No Audience [aud] claim present"},
      {"MissingOptional", {"a"}, false, R"({})", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto consumer = Builder().SetExpectedAudience(c.required, c.expected).Build();
    const std::string message = Outcome(*consumer, Token(c.claims));
    if (*c.problem == '\0') {
      EXPECT_EQ(message, "");
    } else {
      EXPECT_EQ(Problems(message), std::vector<std::string>{c.problem});
    }
  }
  // Skipping the default audience check lets "aud" through.
  auto skipping = Builder().SetSkipDefaultAudienceValidation().Build();
  EXPECT_EQ(Outcome(*skipping, Token(R"({"aud":"x"})")), "");
}

TEST(ConsumerTest, IssuerSubjectAndJwtIdMessages) {
  struct Case {
    const char* name;
    std::function<void(JOSEConsumerBuilder&)> configure;
    const char* claims;
    const char* problem;
  };
  const Case cases[] = {
      {"AnyIssuer", [](auto&) {}, R"({"iss":"whoever"})", ""},
      {"IssuerMatches", [](auto& b) { b.SetExpectedIssuer(true, "q"); }, R"({"iss":"q"})", ""},
      {"IssuerDiffers", [](auto& b) { b.SetExpectedIssuer(false, "q"); }, R"({"iss":"z"})",
       "Issuer [iss] claim value [z] doesn't match expected value of [q]"},
      {"IssuerAbsentOptional", [](auto& b) { b.SetExpectedIssuer(false, "q"); }, R"({})",
       "Issuer [iss] claim value [] doesn't match expected value of [q]"},
      {"IssuerAbsentRequired",
       [](auto& b) {
         b.SetExpectedIssuers(true, {"q", "r"});
       },
       R"({})", "No Issuer [iss] claim present but was expecting one of q,r"},
      {"IssuersDiffer",
       [](auto& b) {
         b.SetExpectedIssuers(false, {"q", "r"});
       },
       R"({"iss":"z"})",
       "Issuer [iss] claim value [z] doesn't match expected value of [one of q,r]"},
      {"SubjectRequired", [](auto& b) { b.SetRequireSubject(); }, R"({})",
       "No Subject [sub] claim present"},
      {"SubjectDiffers", [](auto& b) { b.SetExpectedSubject("s1"); }, R"({"sub":"s2"})",
       "Subject [sub] claim value [s2] doesn't match expected value of [s1]"},
      {"SubjectMatches", [](auto& b) { b.SetExpectedSubject("s1"); }, R"({"sub":"s1"})", ""},
      {"JwtIdRequired", [](auto& b) { b.SetRequireJwtId(); }, R"({})",
       "No JWT ID [jti] claim present."},
      {"JwtIdDiffers", [](auto& b) { b.SetExpectedJwtId("j1"); }, R"({"jti":"J1"})",
       "JWT Id [jti] claim value [J1] doesn't match expected value of [j1]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto builder = Builder();
    c.configure(builder);
    auto consumer = builder.Build();
    const std::string message = Outcome(*consumer, Token(c.claims));
    if (*c.problem == '\0') {
      EXPECT_EQ(message, "");
    } else {
      EXPECT_EQ(Problems(message), std::vector<std::string>{c.problem});
    }
  }
}

struct DateCase {
  const char* name;
  std::function<void(JOSEConsumerBuilder&)> configure;
  std::string claims;
  std::string problem;  // "" when accepted
};

std::string At(std::int64_t s) { return JOSENumericDate::FromSeconds(s).AsISO8601(); }
std::string Local(std::int64_t s) { return JOSENumericDate::FromSeconds(s).AsLocalISO8601(); }
std::string Expired(std::int64_t exp, const std::string& skew_text = ".") {
  return "The JWT is no longer valid - the evaluation time [" + At(kEval) +
         "] is on or after the Expiration Time [exp=" + Local(exp) + "] claim value " + skew_text;
}
std::string NotYet(std::int64_t nbf, const std::string& skew_text = ".") {
  return "The JWT is not yet valid as the evaluation time [" + At(kEval) +
         "] is before the NotBefore [nbf=" + At(nbf) + "] claim time " + skew_text;
}
std::string Json(const char* name, std::int64_t v) {
  return std::string("{\"") + name + "\":" + std::to_string(v) + "}";
}
const std::string kSkew30 =
    "(even when providing [30] seconds of leeway to account for clock skew)";
const auto kNoConfig = [](JOSEConsumerBuilder&) {};
const auto kSkew = [](JOSEConsumerBuilder& b) { b.SetAllowedClockSkew(30, JOSETimeUnit::Seconds); };

class DateClaimsTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(DateClaimsTest, MatchesTable) {
  auto builder = Builder();
  GetParam().configure(builder);
  auto consumer = builder.Build();
  const std::string message = Outcome(*consumer, Token(GetParam().claims));
  if (GetParam().problem.empty()) {
    EXPECT_EQ(message, "");
  } else {
    EXPECT_EQ(Problems(message), std::vector<std::string>{GetParam().problem}) << message;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, DateClaimsTest,
    ::testing::Values(
        DateCase{"NoDates", kNoConfig, "{}", ""},
        DateCase{"ExpAtEvaluationTime", kNoConfig, Json("exp", kEval), Expired(kEval)},
        DateCase{"ExpOneSecondLater", kNoConfig, Json("exp", kEval + 1), ""},
        DateCase{"ExpZeroIsExpired", kNoConfig, Json("exp", 0), Expired(0)},
        DateCase{"NbfAtEvaluationTime", kNoConfig, Json("nbf", kEval), ""},
        DateCase{"NbfOneSecondLater", kNoConfig, Json("nbf", kEval + 1), NotYet(kEval + 1)},
        DateCase{"SkewExpired30Ago", kSkew, Json("exp", kEval - 30), Expired(kEval - 30, kSkew30)},
        DateCase{"SkewExpired29Ago", kSkew, Json("exp", kEval - 29), ""},
        DateCase{"SkewNbf30Ahead", kSkew, Json("nbf", kEval + 30), ""},
        DateCase{"SkewNbf31Ahead", kSkew, Json("nbf", kEval + 31), NotYet(kEval + 31, kSkew30)},
        DateCase{"MaxFuture601", [](auto& b) { b.SetMaxFutureValidity(10, JOSETimeUnit::Minutes); },
                 Json("exp", kEval + 601),
                 "The Expiration Time [exp=" + At(kEval + 601) +
                     "] claim value cannot be more than [10] minutes in the future relative to the "
                     "evaluation time [" +
                     At(kEval) + "] ."},
        DateCase{"MaxFuture600", [](auto& b) { b.SetMaxFutureValidity(10, JOSETimeUnit::Minutes); },
                 Json("exp", kEval + 600), ""},
        DateCase{"ExpBeforeIat", kNoConfig,
                 "{\"exp\":" + std::to_string(kEval + 10) +
                     ",\"iat\":" + std::to_string(kEval + 11) + "}",
                 "The Expiration Time (exp=" + At(kEval + 10) +
                     ") claim value cannot be before the IssuedAt (iat=" + At(kEval + 11) +
                     ") claim value"},
        DateCase{"ExpBeforeNbf", kNoConfig,
                 "{\"exp\":" + std::to_string(kEval + 10) +
                     ",\"nbf\":" + std::to_string(kEval + 11) + "}",
                 "The Expiration Time (exp=" + At(kEval + 10) +
                     ") claim value cannot be before the NotBefore (nbf=" + At(kEval + 11) +
                     ") claim value"},
        DateCase{"IatInTheFutureIsFine", kNoConfig, Json("iat", kEval + 9999), ""},
        DateCase{"RequireExp", [](auto& b) { b.SetRequireExpirationTime(); }, "{}",
                 "No Expiration Time [exp] claim present"},
        DateCase{"RequireIat", [](auto& b) { b.SetRequireIssuedAt(); }, "{}",
                 "No IssuedAt [iat] claim present"},
        DateCase{"RequireNbf", [](auto& b) { b.SetRequireNotBefore(); }, "{}",
                 "No NotBefore [nbf] claim present"},
        DateCase{"RequireExpBeforeTimeChecks",
                 [](auto& b) { b.SetRequireExpirationTime().SetRequireNotBefore(); },
                 Json("nbf", kEval + 100), "No Expiration Time [exp] claim present"},
        DateCase{"HugeExpDoesNotWrap", kNoConfig,
                 Json("exp", std::numeric_limits<std::int64_t>::max()), ""},
        DateCase{"HugeNegativeExp", kNoConfig,
                 Json("exp", std::numeric_limits<std::int64_t>::min() + 1),
                 Expired(std::numeric_limits<std::int64_t>::min() + 1)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConsumerTest, DateMemberThatIsNoIntegerFailsTheCheck) {
  auto consumer = Builder().Build();
  for (const char* claims : {R"({"exp":"1625061999"})", R"({"nbf":null})", R"({"iat":1.5})"}) {
    SCOPED_TRACE(claims);
    EXPECT_THROW(consumer->Process(JOSEBytes(Token(claims))), JSONConversionException);
  }
  EXPECT_EQ(Outcome(*consumer, Token(R"({"exp":"1625061999"})")),
            "JSON Incompatible type. Expected Int64");
}

TEST(ConsumerTest, ProblemsAreListedInValidatorOrder) {
  auto consumer = Builder().SetRequireSubject().Build();
  const std::string message = Outcome(*consumer, Token(Json("exp", kEval - 1)));
  EXPECT_EQ(Problems(message),
            (std::vector<std::string>{Expired(kEval - 1), "No Subject [sub] claim present"}));
}

TEST(ConsumerTest, CurrentTimeIsReadForEveryToken) {
  // Without a fixed evaluation time, one consumer judges each token at its
  // own "now": a long-lived consumer must still see tokens expire.
  auto consumer = JOSEConsumerBuilder::NewConsumer()
                      .SetVerificationKey(kKey)
                      .SetSkipVerificationKeyValidation()
                      .Build();
  const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count();
  EXPECT_EQ(Outcome(*consumer, Token(Json("exp", now + 3600))), "");
  EXPECT_NE(Outcome(*consumer, Token(Json("exp", now - 1))), "");
  EXPECT_EQ(Outcome(*consumer, Token(Json("exp", now + 3600))), "");
}

TEST(ConsumerTest, SignatureStage) {
  struct Case {
    const char* name;
    std::string token;
    std::function<void(JOSEConsumerBuilder&)> configure;
    std::string error;
  };
  const std::string other_key = Token("{}", R"({"alg":"HS256"})", JOSEBytes("another-key-000000"));
  const std::string sig_of_other = other_key.substr(other_key.rfind('.') + 1);
  const Case cases[] = {
      {"WrongKey", other_key, kNoConfig, "JWS signature is invalid: " + sig_of_other},
      {"Hs512ShortKeyAccepted",
       [] {
         const std::string input = Seg(R"({"alg":"HS512"})") + "." + Seg("{}");
         return input + "." +
                Base64::URLEncode(HMAC::Sign(JOSEBytes(input), kKey, HMACAlgorithm::SHA512))
                    .ToString();
       }(),
       kNoConfig, ""},
      {"Es256kNotAllowed", Token("{}", R"({"alg":"ES256K"})"), kNoConfig,
       "JWS algorithm [ES256K] is not listed among those expected"},
      {"NoAlg", Token("{}", R"({"typ":"JWT"})"), kNoConfig,
       "JWS algorithm [] is not listed among those expected"},
      {"LowerCaseAlg", Token("{}", R"({"alg":"hs256"})"), kNoConfig,
       "JWS algorithm [hs256] is not listed among those expected"},
      {"NoneVerifying", Token("{}", R"({"alg":"none"})"), kNoConfig,
       "Signing algorithm (none) is not supported."},
      {"PS256", Token("{}", R"({"alg":"PS256"})"), kNoConfig,
       "Signing algorithm (PS256) is not supported."},
      {"RS256WithSecret", Token("{}", R"({"alg":"RS256"})"), kNoConfig,
       "Key is not RSA key in PEM format"},
      {"ES256WithSecret", Token("{}", R"({"alg":"ES256"})"), kNoConfig,
       "Key is not ECDSA key in PEM format"},
      {"NoneSkippingVerification", Seg(R"({"alg":"none"})") + "." + Seg("{}") + ".",
       [](auto& b) { b.SetSkipSignatureVerification(); },
       "The JWT has no signature but the JWT Consumer is configured to require one"},
      {"NoneSkippingBoth", Seg(R"({"alg":"none"})") + "." + Seg(R"({"aud":"x"})") + ".",
       [](auto& b) { b.SetSkipSignatureVerification().SetDisableRequireSignature(); },
       "JWT (claims: {\"aud\":\"x\"}) rejected due to invalid claims."},
      {"AllowListOnlyHs256", Token("{}", R"({"alg":"HS256"})"),
       [](auto& b) { b.SetExpectedAlgorithms({JOSEAlgorithmId::HS384}); },
       "JWS algorithm [HS256] is not listed among those expected"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto builder = Builder();
    c.configure(builder);
    auto consumer = builder.Build();
    const std::string message = Outcome(*consumer, c.token);
    if (c.error.ends_with("invalid claims.")) {
      EXPECT_TRUE(message.starts_with(c.error)) << message;
    } else {
      EXPECT_EQ(message, c.error);
    }
  }
}

TEST(ConsumerTest, AsymmetricTokensAreVerifiedWithTheirOwnAlgorithm) {
  // An RS256 token signed with the private key verifies with the public PEM;
  // the same public PEM used as the secret of an HS256 token never does.
  const testing::KeyPair& rsa = testing::RsaKey();
  JWT token;
  token.Claims().SetSubject("s");
  JWS jws(token);
  jws.Sign(JWK::Create(JOSEBytes(rsa.private_pem)), JOSEAlgorithmId::RS256);
  auto consumer = JOSEConsumerBuilder::NewConsumer()
                      .SetVerificationKey(JOSEBytes(rsa.public_pem))
                      .SetEvaluationTime(JOSENumericDate::FromSeconds(kEval))
                      .Build();
  EXPECT_EQ(Outcome(*consumer, jws.GetCompactToken().ToString()), "");
  const std::string forged = Token("{}", R"({"alg":"HS256"})", JOSEBytes(rsa.public_pem));
  EXPECT_NE(Outcome(*consumer, forged), "");
}

TEST(ConsumerTest, RegisteredAndSkippedValidators) {
  int calls = 0;
  auto counting = [&calls](const JOSEContext&) {
    ++calls;
    return std::string("custom problem");
  };
  auto builder = Builder();
  builder.RegisterValidator(counting).SetSkipAllDefaultValidators();
  auto consumer = builder.Build();
  // The default audience check is skipped, the registered one still runs.
  EXPECT_EQ(Problems(Outcome(*consumer, Token(R"({"aud":"x"})"))),
            std::vector<std::string>{"custom problem"});
  EXPECT_EQ(calls, 1);
  // Validators registered after Build do not reach the consumer built.
  builder.RegisterValidator(counting);
  EXPECT_EQ(Problems(Outcome(*consumer, Token("{}"))), std::vector<std::string>{"custom problem"});
  EXPECT_EQ(Problems(Outcome(*builder.Build(), Token("{}"))),
            (std::vector<std::string>{"custom problem", "custom problem"}));
  auto skip_all = Builder().SetSkipAllValidators().Build();
  EXPECT_EQ(Outcome(*skip_all, Token(R"({"aud":"x","exp":1})")), "");
}

TEST(ConsumerTest, ProcessContextWithClaimsClass) {
  struct BranchClaims : JWTClaims {};
  auto consumer = Builder().SetClaimsClass(ClaimsClassOf<BranchClaims>()).Build();
  JOSEContext context(JOSEBytes(Token(R"({"sub":"x"})")), ClaimsClassOf<BranchClaims>());
  EXPECT_NO_THROW(consumer->ProcessContext(context));
  EXPECT_TRUE(context.GetJWT().Verified());
  EXPECT_EQ(context.GetClaims<BranchClaims>().Subject(), "x");
}

}  // namespace
}  // namespace quorvane::jose
