// The JWT middleware end to end: real sockets, the real provider on an
// ephemeral port, the CORS and JSON middlewares around it as at start-up.
// Every refusal body is checked byte for byte: branch systems match on it.

#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/pem.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "chain_server.h"
#include "jose/base64.h"
#include "jose/jwa_signing.h"
#include "jose/jws.h"
#include "jose/openssl_ptr.h"
#include "lib/json.h"
#include "lib/settings.h"
#include "test_support.h"
#include "web/middleware/cors.h"
#include "web/middleware/json_body.h"
#include "web/middleware/web_jwt.h"

namespace quorvane::web::middleware {
namespace {

using core::WebCore;
using core::WebNext;
using core::WebRequest;
using core::WebResponse;
using jose::Base64;
using jose::HMAC;
using jose::HMACAlgorithm;
using jose::JOSEBytes;
using testing::ChainServer;
using testing::Exchange;
using testing::HttpAnswer;
using testing::Request;

const std::string& Key() { return lib::CurrentSettings().jwt_key; }

std::int64_t Now() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

std::string Seg(std::string_view text) { return Base64::URLEncode(JOSEBytes(text)).ToString(); }

// A compact token over exactly these JSON texts, MACed with `key`.
std::string Token(std::string_view claims, std::string_view alg = "HS256",
                  const std::string& key = Key()) {
  const std::string input =
      Seg(R"({"alg":")" + std::string(alg) + R"(","typ":"JWT"})") + "." + Seg(claims);
  const HMACAlgorithm hash = alg == "HS512"   ? HMACAlgorithm::SHA512
                             : alg == "HS384" ? HMACAlgorithm::SHA384
                                              : HMACAlgorithm::SHA256;
  return input + "." +
         Base64::URLEncode(HMAC::Sign(JOSEBytes(input), JOSEBytes(key), hash)).ToString();
}

// Tokens properly signed with an RSA and an EC private key: the server,
// holding only the shared secret, must refuse them.
struct AsymmetricTokens {
  std::string rs256_token;
  std::string es256_token;

  static const AsymmetricTokens& Get() {
    static const AsymmetricTokens tokens{Signed("RSA", jose::JOSEAlgorithmId::RS256),
                                         Signed("EC", jose::JOSEAlgorithmId::ES256)};
    return tokens;
  }

 private:
  static std::string Signed(const char* type, jose::JOSEAlgorithmId alg) {
    jose::EvpPkeyPtr key(type == std::string_view("RSA")
                             ? EVP_PKEY_Q_keygen(nullptr, nullptr, "RSA", static_cast<size_t>(2048))
                             : EVP_PKEY_Q_keygen(nullptr, nullptr, "EC", "P-256"));
    jose::BioPtr bio(BIO_new(BIO_s_mem()));
    PEM_write_bio_PrivateKey(bio.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr);
    char* data = nullptr;
    const long n = BIO_get_mem_data(bio.get(), &data);
    jose::JWT token;
    token.Claims().SetSubject("filial-7");
    jose::JWS jws(token);
    jws.Sign(jose::JWK::Create(JOSEBytes(std::string(data, static_cast<std::size_t>(n)))), alg);
    return jws.GetCompactToken().ToString();
  }
};

std::string Claims(std::string_view extra = "") {
  return R"({"sub":"filial-7","name":"Loja \u00c1")" + std::string(extra) + "}";
}

// The claims JSON as the handler echoes it back.
std::string Echo(std::string_view claims) { return lib::ToJson(*lib::ParseJson(claims)); }

class WebJWTTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = new ChainServer([](WebCore& core) {
      core.Use(core::WebCallbacks{JsonBody("UTF-8")});
      core.Use(CORS);
      core.Use(WebJWT(Key(), "authorization"));
      core.Get("/v1/session", [](WebRequest& req, WebResponse& res, const WebNext&) {
        if (req.Session() == nullptr) throw std::runtime_error("no session");
        res.Send(*req.Session());
      });
      core.Get("/v1/fails", [](WebRequest&, WebResponse&, const WebNext&) {
        throw std::runtime_error("handler failed");
      });
    });
  }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  static HttpAnswer Get(const std::string& target, const std::vector<std::string>& headers = {}) {
    return Exchange(server_->port(), Request("GET", target, headers));
  }
  static ChainServer* server_;
};
ChainServer* WebJWTTest::server_ = nullptr;

struct Case {
  std::string name;
  std::string target;                // path and query
  std::vector<std::string> headers;  // "Name: value" lines
  int status;
  std::string body;  // exact body
};

std::vector<Case> Cases() {
  const std::string claims = Claims();
  const std::string token = Token(claims);
  const std::string echo = Echo(claims);
  const std::string hour_ahead = Claims(",\"exp\":" + std::to_string(Now() + 3600));
  const std::string kUnauthorized = "Unauthorized";
  const std::string kInvalid = "Invalid token authorization";
  const AsymmetricTokens& keys = AsymmetricTokens::Get();
  return {
      {"BearerAccepted", "/v1/session", {"Authorization: Bearer " + token}, 200, echo},
      {"LowerCaseBearer", "/v1/session", {"authorization: bearer " + token}, 200, echo},
      {"UpperCaseBearer", "/v1/session", {"AUTHORIZATION: BEARER " + token}, 200, echo},
      {"TwoSpacesAfterBearer",
       "/v1/session",
       {"Authorization: Bearer  " + token},
       401,
       kUnauthorized},
      {"QueryLowerCaseName", "/v1/session?authorization=Bearer%20" + token, {}, 200, echo},
      {"QueryCapitalisedName", "/v1/session?Authorization=Bearer%20" + token, {}, 200, echo},
      {"QueryUpperCaseName",
       "/v1/session?AUTHORIZATION=Bearer%20" + token,
       {},
       401,
       "Token not found"},
      {"QueryUsedWhenHeaderBlank",
       "/v1/session?authorization=Bearer%20" + token,
       {"Authorization:    "},
       200,
       echo},
      {"QueryEmptyValue", "/v1/session?authorization=", {}, 401, "Invalid authorization type"},
      {"NoHeaderNoQuery", "/v1/session", {}, 401, "Token not found"},
      {"BlankHeaderNoQuery", "/v1/session", {"Authorization:  \t "}, 401, "Token not found"},
      {"OtherScheme",
       "/v1/session",
       {"Authorization: Token " + token},
       401,
       "Invalid authorization type"},
      {"BasicScheme",
       "/v1/session",
       {"Authorization: Basic dXNlcjpwYXNz"},
       401,
       "Invalid authorization type"},
      {"BearerGluedToText", "/v1/session", {"Authorization: Bearerabc"}, 401, kInvalid},
      {"BearerWithoutToken", "/v1/session", {"Authorization: Bearer"}, 401, kInvalid},
      {"FiveSegments", "/v1/session", {"Authorization: Bearer a.b.c.d.e"}, 401, kInvalid},
      {"TwoSegments",
       "/v1/session",
       {"Authorization: Bearer " + Seg("{}") + "." + Seg("{}")},
       401,
       kInvalid},
      {"HeaderSegmentIsArray",
       "/v1/session",
       {"Authorization: Bearer " + Seg("[1]") + "." + Seg("{}") + ".x"},
       401,
       kInvalid},
      {"PayloadSegmentIsNumber",
       "/v1/session",
       {"Authorization: Bearer " + Seg(R"({"alg":"HS256"})") + "." + Seg("42") + ".x"},
       401,
       kInvalid},
      {"OtherKey",
       "/v1/session",
       {"Authorization: Bearer " + Token(claims, "HS256", "other-key")},
       401,
       kUnauthorized},
      {"TamperedPayload",
       "/v1/session",
       {"Authorization: Bearer " + Seg(R"({"alg":"HS256","typ":"JWT"})") + "." +
        Seg(Claims(",\"admin\":true")) + "." + token.substr(token.rfind('.') + 1)},
       401,
       kUnauthorized},
      {"SignatureWithPadding",
       "/v1/session",
       {"Authorization: Bearer " + token + "="},
       401,
       kUnauthorized},
      {"AudienceClaim",
       "/v1/session",
       {"Authorization: Bearer " + Token(Claims(",\"aud\":\"x\""))},
       401,
       kUnauthorized},
      {"Expired",
       "/v1/session",
       {"Authorization: Bearer " + Token(Claims(",\"exp\":" + std::to_string(Now() - 1)))},
       401,
       kUnauthorized},
      {"NotYetValid",
       "/v1/session",
       {"Authorization: Bearer " + Token(Claims(",\"nbf\":" + std::to_string(Now() + 3600)))},
       401,
       kUnauthorized},
      {"ExpBeforeIat",
       "/v1/session",
       {"Authorization: Bearer " + Token(Claims(",\"exp\":" + std::to_string(Now() + 60) +
                                                ",\"iat\":" + std::to_string(Now() + 120)))},
       401,
       kUnauthorized},
      {"ExpAsText",
       "/v1/session",
       {"Authorization: Bearer " +
        Token(Claims(",\"exp\":\"" + std::to_string(Now() + 60) + "\""))},
       401,
       kUnauthorized},
      {"AlgNone",
       "/v1/session",
       {"Authorization: Bearer " + Seg(R"({"alg":"none"})") + "." + Seg(claims) + "."},
       401,
       kUnauthorized},
      {"AlgMissing",
       "/v1/session",
       {"Authorization: Bearer " + Seg(R"({"typ":"JWT"})") + "." + Seg(claims) + ".x"},
       401,
       kUnauthorized},
      {"AlgES256K",
       "/v1/session",
       {"Authorization: Bearer " + Token(claims, "ES256K")},
       401,
       kUnauthorized},
      {"AlgPS256",
       "/v1/session",
       {"Authorization: Bearer " + Token(claims, "PS256")},
       401,
       kUnauthorized},
      {"RS256WithSharedSecret",
       "/v1/session",
       {"Authorization: Bearer " + keys.rs256_token},
       401,
       kUnauthorized},
      {"ES256WithSharedSecret",
       "/v1/session",
       {"Authorization: Bearer " + keys.es256_token},
       401,
       kUnauthorized},
      {"HS256MacedWithKeyAsRS256",
       "/v1/session",
       {"Authorization: Bearer " + Token(claims, "RS256")},
       401,
       kUnauthorized},
      {"HS384Accepted",
       "/v1/session",
       {"Authorization: Bearer " + Token(claims, "HS384")},
       200,
       echo},
      {"HS512WithShortKeyAccepted",
       "/v1/session",
       {"Authorization: Bearer " + Token(claims, "HS512")},
       200,
       echo},
      {"ExpOneHourAhead",
       "/v1/session",
       {"Authorization: Bearer " + Token(hour_ahead)},
       200,
       Echo(hour_ahead)},
      {"NoClaimsAtAll", "/v1/session", {"Authorization: Bearer " + Token("{}")}, 200, "{}"},
      {"TextBeforeBearerStaysInTheToken",
       "/v1/session",
       {"Authorization: JWT Bearer " + token},
       401,
       kUnauthorized},
      {"DuplicateQueryNameFailsTheRequest",
       "/v1/session?authorization=a&authorization=b",
       {},
       500,
       ""},
      {"HandlerFailureIsNot401", "/v1/fails", {"Authorization: Bearer " + token}, 500, ""},
  };
}

class WebJWTCaseTest : public WebJWTTest, public ::testing::WithParamInterface<Case> {};

TEST_P(WebJWTCaseTest, AnswersAsExpected) {
  const Case& c = GetParam();
  const HttpAnswer answer = Get(c.target, c.headers);
  EXPECT_EQ(answer.status, c.status);
  if (c.status != 500) {
    EXPECT_EQ(answer.body, c.body);
  } else {
    EXPECT_NE(answer.body, "Unauthorized");
  }
  // Refusals travel back through CORS like any other answer.
  EXPECT_TRUE(answer.HasHeader("Access-Control-Allow-Origin"));
}

INSTANTIATE_TEST_SUITE_P(Table, WebJWTCaseTest, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return info.param.name; });

TEST_F(WebJWTTest, PreflightIsAnsweredBeforeTheTokenCheck) {
  const HttpAnswer answer = Exchange(server_->port(), Request("OPTIONS", "/v1/session"));
  EXPECT_EQ(answer.status, 204);
  EXPECT_EQ(answer.body, "");
}

TEST_F(WebJWTTest, ConcurrentRequestsAreJudgedIndependently) {
  const std::string good = "Authorization: Bearer " + Token(Claims());
  const std::string bad = "Authorization: Bearer " + Token(Claims(), "HS256", "wrong");
  std::vector<std::thread> threads;
  std::atomic<int> wrong{0};
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 10; ++i) {
        const bool use_good = (t + i) % 2 == 0;
        const HttpAnswer a = Get("/v1/session", {use_good ? good : bad});
        if (a.status != (use_good ? 200 : 401)) ++wrong;
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(wrong.load(), 0);
}

// A second installation with every option set: its own header name, a
// session class and a config that requires claims.
struct BranchClaims : jose::JWTClaims {};

class ConfiguredWebJWTTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = new ChainServer([](WebCore& core) {
      auto config = WebJWTConfig::New();
      config->SetIsRequireAudience(true)
          .SetExpectedAudience({"erp", "pdv"})
          .SetIsRequiredExpirationTime(true)
          .SetIsRequiredSubject(true);
      core.Use(core::WebCallbacks{JsonBody("UTF-8")});
      core.Use(WebJWT(Key(), jose::ClaimsClassOf<BranchClaims>(), std::move(config), "x-token"));
      core.Get("/v1/session",
               [](WebRequest& req, WebResponse& res, const WebNext&) { res.Send(*req.Session()); });
    });
  }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  static ChainServer* server_;
};
ChainServer* ConfiguredWebJWTTest::server_ = nullptr;

TEST_F(ConfiguredWebJWTTest, RequiredClaimsAndHeaderName) {
  const std::string exp = ",\"exp\":" + std::to_string(Now() + 600);
  const std::string full = R"({"sub":"filial-7","aud":"pdv")" + exp + "}";
  struct Row {
    const char* name;
    std::string target;
    std::vector<std::string> headers;
    int status;
    std::string body;
  };
  const Row rows[] = {
      {"AllClaims", "/v1/session", {"x-token: Bearer " + Token(full)}, 200, Echo(full)},
      {"CapitalisedQueryName", "/v1/session?X-token=Bearer%20" + Token(full), {}, 200, Echo(full)},
      {"AuthorizationIsNotThisHeader",
       "/v1/session",
       {"Authorization: Bearer " + Token(full)},
       401,
       "Token not found"},
      {"OtherAudience",
       "/v1/session",
       {"x-token: Bearer " + Token(R"({"sub":"s","aud":"web")" + exp + "}")},
       401,
       "Unauthorized"},
      {"NoAudience",
       "/v1/session",
       {"x-token: Bearer " + Token(R"({"sub":"s")" + exp + "}")},
       401,
       "Unauthorized"},
      {"NoExpiration",
       "/v1/session",
       {"x-token: Bearer " + Token(R"({"sub":"s","aud":"erp"})")},
       401,
       "Unauthorized"},
      {"NoSubject",
       "/v1/session",
       {"x-token: Bearer " + Token(R"({"aud":"erp")" + exp + "}")},
       401,
       "Unauthorized"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const HttpAnswer answer = Exchange(server_->port(), Request("GET", row.target, row.headers));
    EXPECT_EQ(answer.status, row.status);
    EXPECT_EQ(answer.body, row.body);
  }
}

TEST(WebJWTCallbackTest, SettersChainAndConfigIsAdopted) {
  auto callback = WebJWTCallback::New();
  EXPECT_FALSE(callback->Config().IsRequireAudience());  // a new callback owns a default config
  auto config = WebJWTConfig::New();
  config->SetIsRequiredIssuedAt(true);
  callback->SetSecretJWT("k").SetHeader("h").SetConfig(std::move(config)).SetConfig(nullptr);
  EXPECT_TRUE(callback->Config().IsRequiredIssuedAt());  // nullptr kept the adopted one
  EXPECT_EQ(callback->Header(), "h");

  const std::size_t before = WebJWTManager::GetDefaultManager().Count();
  const core::WebCallback installed = WebJWT("k", "authorization");
  EXPECT_EQ(WebJWTManager::GetDefaultManager().Count(), before + 1);
}

}  // namespace
}  // namespace quorvane::web::middleware
