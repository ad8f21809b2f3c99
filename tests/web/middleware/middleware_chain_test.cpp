// The JSON, CORS, compression and ETag middlewares in their start-up order,
// over a real socket against the real provider.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "chain_server.h"
#include "lib/json.h"
#include "test_support.h"
#include "web/core/web_send_response.h"
#include "web/middleware/compression.h"
#include "web/middleware/cors.h"
#include "web/middleware/etag.h"
#include "web/middleware/json_body.h"

namespace quorvane::web::middleware {
namespace {

using core::WebCore;
using core::WebNext;
using core::WebRequest;
using core::WebResponse;
using core::WebSendResponse;
using lib::JsonValue;
using testing::ChainServer;
using testing::Exchange;
using testing::HttpAnswer;
using testing::Request;

constexpr std::size_t kThreshold = 1024;
constexpr std::string_view kJsonType = "application/json; charset=UTF-8";

// A JSON string whose serialisation is exactly `bytes` long.
JsonValue SizedString(std::size_t bytes) { return JsonValue::String(std::string(bytes - 2, 'a')); }

// Stands where the validation middleware stands: refuses with a message
// answer when asked to.
void Refuse(WebRequest& req, WebResponse& res, const WebNext& next) {
  if (!req.Headers("x-refuse").empty()) {
    WebSendResponse::SendMessageBadRequest(res, "Schema não informado");
    throw core::WebCallbackInterrupted();
  }
  next();
}

void EchoBody(WebRequest& req, WebResponse& res, const WebNext&) {
  JsonValue answer = JsonValue::MakeObject();
  if (const JsonValue* body = req.BodyObject()) {
    answer.Add("parsed", *body);
  } else {
    answer.Add("text", JsonValue::String(req.Body()));
  }
  res.Send(std::move(answer));
}

void InstallChain(WebCore& core) {
  core.Use(Compression(kThreshold));
  core.Use(core::WebCallbacks{JsonBody("UTF-8")});
  core.Use(CORS);
  core.Use(Refuse);
  core.Use(eTag);
  core.Get("/v1/sized/:n", [](WebRequest& req, WebResponse& res, const WebNext&) {
    res.Send(SizedString(std::stoul(req.Params().at("n"))));
  });
  core.Get("/v1/escape", [](WebRequest&, WebResponse& res, const WebNext&) {
    JsonValue v = JsonValue::MakeObject();
    v.Add("s", JsonValue::String("a/b\xC3\xA7"));
    v.Add("q", JsonValue::String("say \"hi\" \\ \b\t\n\f\r\x01"));
    v.Add("emoji", JsonValue::String("\xF0\x9F\x98\x80"));
    v.Add("n", JsonValue::Double(10.1));
    v.Add("list", JsonValue::MakeArray().Push(JsonValue::Boolean(true)).Push(JsonValue::Null()));
    res.Send(std::move(v));
  });
  core.Get("/v1/null",
           [](WebRequest&, WebResponse& res, const WebNext&) { res.Send(JsonValue()); });
  core.Get("/v1/value/:v", [](WebRequest& req, WebResponse& res, const WebNext&) {
    res.Send(JsonValue::MakeObject().Add("v", JsonValue::String(req.Params().at("v"))));
  });
  core.Get("/v1/text",
           [](WebRequest&, WebResponse& res, const WebNext&) { res.Send(std::string(5000, 'x')); });
  core.Get("/v1/refusal", [](WebRequest&, WebResponse& res, const WebNext&) {
    WebSendResponse::SendMessageBadRequest(res, std::string(2000, 'r'));
    throw core::WebCallbackInterrupted();
  });
  core.Get("/v1/failure", [](WebRequest&, WebResponse& res, const WebNext&) {
    res.Send(SizedString(4000));
    throw std::runtime_error("broken handler");
  });
  for (const auto method : {core::HttpMethod::kPost, core::HttpMethod::kPut,
                            core::HttpMethod::kPatch, core::HttpMethod::kDelete}) {
    core.Register(method, "/v1/body", EchoBody);
  }
}

class MiddlewareChainTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = std::make_unique<ChainServer>(InstallChain); }
  static void TearDownTestSuite() { server_.reset(); }

  static HttpAnswer Get(std::string_view target, const std::vector<std::string>& headers = {}) {
    return Exchange(server_->port(), Request("GET", target, headers));
  }

  static std::unique_ptr<ChainServer> server_;
};
std::unique_ptr<ChainServer> MiddlewareChainTest::server_;

constexpr std::string_view kCorsHeaders[][2] = {
    {"Access-Control-Allow-Origin", "*"},   {"Access-Control-Allow-Credentials", "true"},
    {"Access-Control-Allow-Headers", "*"},  {"Access-Control-Allow-Methods", "*"},
    {"Access-Control-Expose-Headers", "*"},
};

struct CorsCase {
  std::string_view name, method, target;
  std::vector<std::string> headers;
  int status;
};

TEST_F(MiddlewareChainTest, EveryAnswerCarriesTheCorsHeadersAndOptionsIsAnsweredFirst) {
  const CorsCase cases[] = {
      {"OptionsUnknownPath", "OPTIONS", "/nowhere/at/all", {}, 204},
      // Answered before the validation stand-in would refuse it.
      {"OptionsWithRefusal", "OPTIONS", "/v1/escape", {"x-refuse: 1"}, 204},
      {"OptionsWithBody", "OPTIONS", "/v1/body", {"Content-Type: application/json"}, 204},
      {"Get", "GET", "/v1/escape", {}, 200},
      {"Refused", "GET", "/v1/escape", {"x-refuse: 1"}, 400},
      {"NotFound", "GET", "/v1/missing", {}, 404},
  };
  for (const CorsCase& c : cases) {
    SCOPED_TRACE(c.name);
    const HttpAnswer a = Exchange(server_->port(), Request(c.method, c.target, c.headers));
    EXPECT_EQ(a.status, c.status);
    for (const auto& h : kCorsHeaders) EXPECT_EQ(a.Header(h[0]), h[1]) << h[0];
    if (c.status == 204) {
      EXPECT_EQ(a.body, "");
      EXPECT_FALSE(a.HasHeader("ETag"));
    }
  }
}

struct BodyCase {
  std::string_view name, method, content_type, body;
  bool parsed;
};

TEST_F(MiddlewareChainTest, OnlyPutAndPostWithExactlyTheJsonTypeAreParsed) {
  const BodyCase cases[] = {
      {"Post", "POST", "application/json", R"({"a":1})", true},
      {"Put", "PUT", "application/json", R"([1,"x"])", true},
      {"WithCharset", "POST", "application/json; charset=UTF-8", R"({"a":1})", false},
      {"OtherCase", "POST", "Application/JSON", R"({"a":1})", false},
      {"Patch", "PATCH", "application/json", R"({"a":1})", false},
      {"Delete", "DELETE", "application/json", R"({"a":1})", false},
      {"NotJson", "POST", "application/json", R"({"a":)", false},
      {"TextPlain", "POST", "text/plain", R"({"a":1})", false},
  };
  for (const BodyCase& c : cases) {
    SCOPED_TRACE(c.name);
    const HttpAnswer a = Exchange(
        server_->port(),
        Request(c.method, "/v1/body", {"Content-Type: " + std::string(c.content_type)}, c.body));
    ASSERT_EQ(a.status, 200);
    const std::optional<JsonValue> answer = lib::ParseJson(a.body);
    ASSERT_TRUE(answer) << a.body;
    if (c.parsed) {
      ASSERT_NE(answer->Find("parsed"), nullptr) << a.body;
      EXPECT_EQ(*answer->Find("parsed"), *lib::ParseJson(c.body));
    } else {
      ASSERT_NE(answer->Find("text"), nullptr) << a.body;
      EXPECT_EQ(answer->Find("text")->AsString(), c.body);
    }
  }
}

TEST_F(MiddlewareChainTest, JsonAnswersAreSerialisedInto7BitAsciiWithTheJsonType) {
  const HttpAnswer a = Get("/v1/escape");
  ASSERT_EQ(a.status, 200);
  EXPECT_EQ(a.Header("Content-Type"), kJsonType);
  EXPECT_EQ(a.body, R"({"s":"a\/b\u00E7","q":"say \"hi\" \\ \b\t\n\f\r\u0001",)"
                    R"("emoji":"\uD83D\uDE00","n":10.1,"list":[true,null]})");

  const HttpAnswer null_answer = Get("/v1/null");
  EXPECT_EQ(null_answer.body, "null");
  EXPECT_EQ(null_answer.Header("Content-Type"), kJsonType);

  // Refusals that end the chain early are serialised too.
  const HttpAnswer refused = Get("/v1/escape", {"x-refuse: 1"});
  EXPECT_EQ(refused.body, R"({"message":"Schema n\u00E3o informado"})");
  EXPECT_EQ(refused.Header("Content-Type"), kJsonType);
}

TEST_F(MiddlewareChainTest, TextAnswersKeepTheirBodyAndType) {
  const HttpAnswer a = Get("/v1/text", {"Accept-Encoding: gzip, deflate"});
  EXPECT_EQ(a.body, std::string(5000, 'x'));
  EXPECT_FALSE(a.HasHeader("Content-Encoding"));
  EXPECT_FALSE(a.HasHeader("ETag"));
  EXPECT_EQ(a.Header("Content-Type").rfind("text/html", 0), 0u);
}

struct CompressionCase {
  std::string_view name;
  std::size_t bytes;
  std::string_view accept_encoding;
  std::optional<CompressionKind> want;
};

class CompressionOverTheWireTest : public MiddlewareChainTest,
                                   public ::testing::WithParamInterface<CompressionCase> {};

TEST_P(CompressionOverTheWireTest, CompressesOnlyLargeJsonTheClientAccepts) {
  const CompressionCase& c = GetParam();
  const std::string target = "/v1/sized/" + std::to_string(c.bytes);
  const HttpAnswer plain = Get(target);
  ASSERT_EQ(plain.body.size(), c.bytes);

  std::vector<std::string> headers;
  if (!c.accept_encoding.empty())
    headers.push_back("Accept-Encoding: " + std::string(c.accept_encoding));
  const HttpAnswer a = Get(target, headers);
  ASSERT_EQ(a.status, 200);
  EXPECT_EQ(a.Header("Content-Type"), kJsonType);
  EXPECT_EQ(a.Header("ETag"), plain.Header("ETag"));
  if (!c.want) {
    EXPECT_FALSE(a.HasHeader("Content-Encoding"));
    EXPECT_EQ(a.body, plain.body);
    return;
  }
  EXPECT_EQ(a.Header("Content-Encoding"), CompressionKindName(*c.want));
  EXPECT_LT(a.body.size(), plain.body.size());
  // A raw deflate stream only inflates with the raw window, a gzip member
  // only with the gzip one.
  EXPECT_EQ(testing::Decompress(a.body, *c.want), plain.body);
  const CompressionKind other =
      *c.want == CompressionKind::kGzip ? CompressionKind::kDeflate : CompressionKind::kGzip;
  EXPECT_ANY_THROW(testing::Decompress(a.body, other));
}

const CompressionCase kCompressionCases[] = {
    {"AtThresholdStaysPlain", 1024, "gzip", std::nullopt},
    {"AboveThresholdGzip", 1025, "gzip", CompressionKind::kGzip},
    {"BothMeansDeflate", 1025, "gzip, deflate", CompressionKind::kDeflate},
    {"QualityNotWeighed", 1025, "deflate;q=0, gzip;q=1", CompressionKind::kDeflate},
    {"AnyCase", 1025, "GZIP", CompressionKind::kGzip},
    {"UnknownCoding", 1025, "br", std::nullopt},
    {"NoHeader", 5000, "", std::nullopt},
    {"Large", 200000, "deflate", CompressionKind::kDeflate},
};
INSTANTIATE_TEST_SUITE_P(Table, CompressionOverTheWireTest, ::testing::ValuesIn(kCompressionCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MiddlewareChainTest, ETagIsTheMd5OfThePlainAsciiJsonAndMatchingTagsGet304) {
  const HttpAnswer a = Get("/v1/value/x%C3%A7");
  ASSERT_EQ(a.status, 200);
  // The plain form keeps no \u escapes: ç becomes "?" before hashing.
  EXPECT_EQ(a.Header("ETag"), Md5Hex(R"({"v":"x?"})"));

  const std::string tag = a.Header("ETag");
  std::string lower = tag;
  for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  const struct {
    std::string_view name;
    std::string if_none_match;
    int status;
  } cases[] = {
      {"Exact", tag, 304},       {"LowerCase", lower, 200},      {"Quoted", "\"" + tag + "\"", 200},
      {"Weak", "W/" + tag, 200}, {"Listed", tag + ", ABC", 200},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const HttpAnswer b = Get("/v1/value/x%C3%A7", {"If-None-Match: " + c.if_none_match});
    EXPECT_EQ(b.status, c.status);
    EXPECT_EQ(b.Header("ETag"), tag);
    if (c.status == 304) {
      EXPECT_EQ(b.body, "");
    }
  }

  // One character of data more: another tag.
  EXPECT_NE(Get("/v1/value/xy").Header("ETag"), Get("/v1/value/xz").Header("ETag"));
}

TEST_F(MiddlewareChainTest, AnEarlyAnswerIsTaggedButNeverCompressed) {
  const HttpAnswer a = Get("/v1/refusal", {"Accept-Encoding: gzip, deflate"});
  ASSERT_EQ(a.status, 400);
  EXPECT_FALSE(a.HasHeader("Content-Encoding"));
  EXPECT_GT(a.body.size(), kThreshold);
  const std::optional<JsonValue> body = lib::ParseJson(a.body);
  ASSERT_TRUE(body);
  EXPECT_EQ(a.Header("ETag"), ContentETag(*body));

  // The status change applies to error answers as well.
  const HttpAnswer b = Get("/v1/refusal", {"If-None-Match: " + a.Header("ETag")});
  EXPECT_EQ(b.status, 304);
  EXPECT_EQ(b.body, "");
}

TEST_F(MiddlewareChainTest, AFailingHandlerIsA500AndNotCompressed) {
  const HttpAnswer a = Get("/v1/failure", {"Accept-Encoding: gzip"});
  EXPECT_EQ(a.status, 500);
  EXPECT_FALSE(a.HasHeader("Content-Encoding"));
}

// Compression reuses the text the JSON middleware inside it has just written,
// and serialises by itself in every other case.
TEST(CompressionInProcessTest, CompressesTheSerialisedContentWhateverTheBodyHolds) {
  const JsonValue value = SizedString(3000);
  const JsonValue other = JsonValue::MakeArray().Push(SizedString(2998));
  ASSERT_EQ(lib::ToJson(value).size(), lib::ToJson(other).size());

  core::RawRequest raw_req;
  raw_req.AddHeader("Accept-Encoding", "gzip");
  core::RawResponse raw_res;
  const core::WebCallback compression = Compression(kThreshold);
  const core::WebCallback json_body = JsonBody();
  // Both answers use objects at the same addresses, so nothing but the
  // request itself can tell them apart.
  std::optional<WebRequest> req;
  std::optional<WebResponse> res;
  req.emplace(raw_req);
  res.emplace(raw_res);
  compression(*req, *res, [&] { json_body(*req, *res, [&] { res->Send(value); }); });
  EXPECT_EQ(testing::Decompress(raw_res.body(), CompressionKind::kGzip), lib::ToJson(value));

  // No JSON middleware this time, and a stale body of the same length:
  // nothing from the previous answer may be taken for this one.
  req.reset();
  res.reset();
  raw_res = core::RawResponse();
  req.emplace(raw_req);
  res.emplace(raw_res);
  compression(*req, *res, [&] {
    res->Send(other);
    res->Send(lib::ToJson(value));
  });
  EXPECT_EQ(raw_res.content_encoding(), "gzip");
  EXPECT_EQ(testing::Decompress(raw_res.body(), CompressionKind::kGzip), lib::ToJson(other));
}

TEST(Md5HexTest, MatchesTheReferenceVectors) {
  // RFC 1321, appendix A.5.
  const struct {
    std::string_view input, digest;
  } cases[] = {
      {"", "D41D8CD98F00B204E9800998ECF8427E"},
      {"abc", "900150983CD24FB0D6963F7D28E17F72"},
      {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(Md5Hex(c.input), c.digest);
  }
}

struct ChooseCase {
  std::string_view name, header;
  std::optional<CompressionKind> want;
};
class ChooseCompressionTest : public ::testing::TestWithParam<ChooseCase> {};

TEST_P(ChooseCompressionTest, MatchesTable) {
  EXPECT_EQ(ChooseCompression(GetParam().header), GetParam().want);
}
const ChooseCase kChooseCases[] = {
    {"Empty", "", std::nullopt},
    {"Blanks", "   ", std::nullopt},
    {"Gzip", "gzip", CompressionKind::kGzip},
    {"DeflateWinsWhateverTheOrder", "gzip;q=1.0, deflate;q=0.1", CompressionKind::kDeflate},
    {"Capitals", " DeFlAtE ", CompressionKind::kDeflate},
    {"Identity", "identity", std::nullopt},
    {"Star", "*", std::nullopt},
};
INSTANTIATE_TEST_SUITE_P(Table, ChooseCompressionTest, ::testing::ValuesIn(kChooseCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvane::web::middleware
