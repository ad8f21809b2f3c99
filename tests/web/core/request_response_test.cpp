#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "lib/json.h"
#include "web/core/raw_web.h"
#include "web/core/web_request.h"
#include "web/core/web_request_utils.h"
#include "web/core/web_response.h"
#include "web/core/web_send_response.h"

namespace quorvane::web::core {
namespace {

using lib::JsonValue;

// A raw request and its wrapper, built without any socket.
struct RequestFixture {
  explicit RequestFixture(std::string_view target = "/", std::string method = "GET") {
    raw.method = std::move(method);
    raw.SetTarget(target);
  }
  RawRequest raw;
  WebRequest req{raw};
};

struct ResponseFixture {
  RawResponse raw;
  WebResponse res{raw};
};

TEST(RawRequestTest, SetTargetSplitsPathAndQuery) {
  struct Case {
    std::string_view target, path, query;
  };
  for (const Case& c :
       {Case{"/v1/x?a=1&b=2", "/v1/x", "a=1&b=2"}, Case{"/v1/x", "/v1/x", ""},
        Case{"/v1/x?", "/v1/x", ""}, Case{"/a?b?c", "/a", "b?c"},
        Case{"http://host:9001/v1/x?q=1", "/v1/x", "q=1"}, Case{"HTTP://host", "/", ""}}) {
    SCOPED_TRACE(c.target);
    RawRequest raw;
    raw.SetTarget(c.target);
    EXPECT_EQ(raw.raw_path, c.path);
    EXPECT_EQ(raw.query_string, c.query);
  }
}

TEST(RawRequestTest, PathInfoIsDecodedAndKeepsMalformedEscapes) {
  RawRequest raw;
  raw.SetTarget("/v1/S%C3%A3o%20Paulo/a+b/100%/%zz");
  EXPECT_EQ(raw.PathInfo(), "/v1/S\xC3\xA3o Paulo/a+b/100%/%zz");
}

TEST(RawRequestTest, MethodCodes) {
  const std::pair<std::string_view, HttpMethod> cases[] = {
      {"GET", HttpMethod::kGet},     {"PUT", HttpMethod::kPut},       {"POST", HttpMethod::kPost},
      {"HEAD", HttpMethod::kHead},   {"DELETE", HttpMethod::kDelete}, {"PATCH", HttpMethod::kPatch},
      {"OPTIONS", HttpMethod::kAny}, {"get", HttpMethod::kAny},       {"", HttpMethod::kAny},
  };
  for (const auto& [text, code] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(MethodFromText(text), code);
  }
  EXPECT_EQ(static_cast<int>(HttpMethod::kPatch), 6);
}

TEST(RawRequestTest, MethodOverrideAppliesToPostOnly) {
  struct Case {
    std::string_view name, method, header, value, want;
  };
  for (const Case& c : {
           Case{"Override", "POST", "X-HTTP-Method-Override", "delete", "DELETE"},
           Case{"Method", "POST", "x-http-method", "put", "PUT"},
           Case{"UpperName", "POST", "X-METHOD-OVERRIDE", "Patch", "PATCH"},
           Case{"NotForGet", "GET", "X-HTTP-Method-Override", "DELETE", "GET"},
           Case{"EmptyValueIgnored", "POST", "X-HTTP-Method-Override", "", "POST"},
       }) {
    SCOPED_TRACE(c.name);
    RawRequest raw;
    raw.method = c.method;
    raw.AddHeader(std::string(c.header), std::string(c.value));
    raw.ApplyMethodOverride();
    EXPECT_EQ(raw.method, c.want);
  }
}

TEST(WebRequestTest, HeadersAreCaseInsensitiveAndEmptyWhenAbsent) {
  RequestFixture f;
  f.raw.AddHeader("x-schema", "loja1");
  EXPECT_EQ(f.req.Headers("X-SCHEMA"), "loja1");
  EXPECT_EQ(f.req.Headers("x-schema"), "loja1");
  EXPECT_EQ(f.req.Headers("x-filial"), "");
  WebRequestUtils::AddHeader(f.req, "X-Filial", "12");
  EXPECT_EQ(f.req.Headers("x-filial"), "12");
  EXPECT_EQ(WebRequestUtils::Headers(f.req), "x-schema: loja1\r\nX-Filial: 12");
}

TEST(WebRequestTest, QueryMap) {
  struct Case {
    std::string_view name, query;
    WebStringMap want;
  };
  const Case cases[] = {
      {"EmptyValue", "a=1&b=", {{"a", "1"}, {"b", ""}}},
      {"NoEquals", "c", {{"", "c"}}},
      {"SplitAtFirstEquals", "w=a=b", {{"w", "a=b"}}},
      {"Decoded",
       "x-where=nome%20like%20%27A%25%27&p=a+b",
       {{"x-where", "nome like 'A%'"}, {"p", "a b"}}},
      {"CaseKept", "Limit=5&limit=6", {{"Limit", "5"}, {"limit", "6"}}},
      {"EmptyFieldsDropped", "a=1&&b=2&", {{"a", "1"}, {"b", "2"}}},
      {"None", "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RequestFixture f("/x?" + std::string(c.query));
    EXPECT_EQ(f.req.Query(), c.want);
  }
}

TEST(WebRequestTest, DuplicateQueryNameFails) {
  for (std::string_view query : {"a=1&a=2", "c&d"}) {
    SCOPED_TRACE(query);
    RequestFixture f("/x?" + std::string(query));
    EXPECT_THROW(f.req.Query(), DuplicateQueryField);
    EXPECT_THROW(f.req.Query(), DuplicateQueryField);  // every access, not only the first
  }
}

TEST(WebRequestTest, ContentFields) {
  struct Case {
    std::string_view name, content_type, body;
    WebStringMap want;
  };
  const Case cases[] = {
      {"NoContentType", "", "a=1", {}},
      {"Json", "application/json", "{\"a\":1}", {}},
      {"UrlEncoded",
       "application/x-www-form-urlencoded",
       "Nome=Jo%C3%A3o+S&x=1&nome=2",
       {{"nome", "2"}, {"x", "1"}}},
      {"UrlEncodedAnyCase",
       "APPLICATION/X-WWW-FORM-URLENCODED; charset=utf-8",
       "a=1",
       {{"a", "1"}}},
      {"Multipart",
       "multipart/form-data; boundary=XyZ",
       "--XyZ\r\nContent-Disposition: form-data; name=\"Campo\"\r\n\r\nvalor 1\r\n"
       "--XyZ\r\nContent-Disposition: form-data; name=\"arq\"; filename=\"a.txt\"\r\n"
       "Content-Type: text/plain\r\n\r\nline1\r\nline2\r\n--XyZ--\r\n",
       {{"campo", "valor 1"}, {"arq", "line1\r\nline2"}}},
      {"MultipartTruncated",
       "multipart/form-data; boundary=\"b\"",
       "--b\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\n1\r\n--b\r\nContent-Dis",
       {{"a", "1"}}},
      {"MultipartWithoutBoundary", "multipart/form-data", "--b\r\n", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RequestFixture f("/x", "POST");
    if (!c.content_type.empty()) f.raw.AddHeader("Content-Type", std::string(c.content_type));
    f.raw.body = c.body;
    EXPECT_EQ(f.req.ContentFields(), c.want);
  }
}

TEST(WebRequestTest, Cookies) {
  RequestFixture f;
  f.raw.AddHeader("Cookie", "sid=abc=def; lang=pt;flag; ");
  f.raw.AddHeader("cookie", "sid=second; theme=dark");
  const WebStringMap want = {{"sid", "abc=def"}, {"lang", "pt"}, {"flag", ""}, {"theme", "dark"}};
  EXPECT_EQ(f.req.Cookie(), want);
}

TEST(WebRequestTest, BodyDecodedByCharset) {
  struct Case {
    std::string_view name, content_type, bytes, want;
  };
  const Case cases[] = {
      {"NoContentType", "", "S\xC3\xA3o", "S\xC3\xA3o"},
      {"NoCharset", "application/json", "S\xC3\xA3o", "S\xC3\xA3o"},
      {"Utf8", "application/json; charset=utf-8", "S\xC3\xA3o", "S\xC3\xA3o"},
      {"Latin1", "text/plain; charset=ISO-8859-1", "S\xE3o \x80", "S\xC3\xA3o \xE2\x82\xAC"},
      {"Ansi", "text/plain; charset=ansi", "\xE7", "\xC3\xA7"},
      {"Ascii", "text/plain; charset=us-ascii", "S\xE3o", "S?o"},
      {"Unknown", "text/plain; charset=koi8-r", "S\xC3\xA3o", "S\xC3\xA3o"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RequestFixture f("/x", "POST");
    if (!c.content_type.empty()) f.raw.AddHeader("Content-Type", std::string(c.content_type));
    f.raw.body = c.bytes;
    EXPECT_EQ(f.req.Body(), c.want);
  }
}

TEST(WebRequestTest, BodyObjectAndSessionAreOwnedSlots) {
  RequestFixture f;
  EXPECT_EQ(f.req.BodyObject(), nullptr);
  EXPECT_EQ(f.req.Session(), nullptr);
  f.req.Body(JsonValue::Integer(1)).Body(JsonValue::String("x"));
  ASSERT_NE(f.req.BodyObject(), nullptr);
  EXPECT_EQ(*f.req.BodyObject(), JsonValue::String("x"));
  f.req.Session(JsonValue::MakeObject().Add("sub", JsonValue::String("loja")));
  ASSERT_NE(f.req.Session(), nullptr);
  EXPECT_EQ(f.req.Session()->Find("sub")->AsString(), "loja");
  f.req.ClearBodyObject();
  EXPECT_EQ(f.req.BodyObject(), nullptr);
}

TEST(WebResponseTest, TextAndContentAreSeparate) {
  ResponseFixture f;
  f.raw.set_status(0);
  WebResponse res(f.raw);
  EXPECT_EQ(res.Status(), 200);  // a new response starts at 200
  res.Send("hello");
  EXPECT_EQ(f.raw.body(), "hello");
  EXPECT_EQ(res.Content(), nullptr);
  res.Send(JsonValue::Null());
  ASSERT_NE(res.Content(), nullptr);
  EXPECT_TRUE(res.Content()->IsNull());
  EXPECT_EQ(f.raw.body(), "hello");
  res.Content(std::nullopt);
  EXPECT_EQ(res.Content(), nullptr);
  res.ContentType("application/json").Status(201);
  EXPECT_EQ(f.raw.content_type(), "application/json");
  EXPECT_EQ(res.Status(), 201);
}

TEST(WebResponseTest, CustomHeadersReplaceAndEmptyRemoves) {
  ResponseFixture f;
  f.res.Header("ETag", "\"1\"").Header("etag", "\"2\"").Header("X-A", "a");
  EXPECT_EQ(f.res.Header("ETAG"), "\"2\"");
  ASSERT_EQ(f.raw.custom_headers().size(), 2u);
  f.res.Header("x-a", "");
  EXPECT_EQ(f.res.Header("X-A"), "");
  EXPECT_EQ(f.raw.custom_headers().size(), 1u);
  f.res.Header("never-set", "");  // removing what is absent is harmless
  EXPECT_EQ(f.raw.custom_headers().size(), 1u);
}

TEST(WebResponseTest, BodyBytesReplaceText) {
  ResponseFixture f;
  f.res.Send("{\"a\":1}");
  EXPECT_FALSE(f.raw.body_is_bytes());
  f.raw.SetBodyBytes(std::string("\x1f\x8b\x00", 3));
  f.raw.set_content_encoding("gzip");
  EXPECT_TRUE(f.raw.body_is_bytes());
  EXPECT_EQ(f.raw.body().size(), 3u);
  EXPECT_EQ(f.raw.content_encoding(), "gzip");
}

TEST(WebSendResponseTest, MessageBodyEscapesWhenSerialised) {
  ResponseFixture f;
  WebSendResponse::SendMessageBadRequest(f.res, "Filial \"x\" n\xC3\xA1o informada");
  EXPECT_EQ(f.res.Status(), 400);
  ASSERT_NE(f.res.Content(), nullptr);
  EXPECT_EQ(lib::ToJson(*f.res.Content()),
            "{\"message\":\"Filial \\\"x\\\" n\\u00E1o informada\"}");
  EXPECT_EQ(f.raw.body(), "");  // the body text is left for the JSON middleware
}

TEST(WebSendResponseTest, HelpersSetStatusAndContent) {
  using Helper = WebResponse& (*)(WebResponse&);
  struct Case {
    std::string_view name;
    Helper helper;
    int status;
    std::optional<std::string_view> json;  // nullopt: no content
  };
  const Case cases[] = {
      {"BadRequest",
       [](WebResponse& r) -> WebResponse& {
         return WebSendResponse::SendMessageBadRequest(r, "m");
       },
       400, R"({"message":"m"})"},
      {"Unauthorized",
       [](WebResponse& r) -> WebResponse& {
         return WebSendResponse::SendMessageUnauthorized(r, "m");
       },
       401, R"({"message":"m"})"},
      {"NotFoundText",
       [](WebResponse& r) -> WebResponse& { return WebSendResponse::SendMessageNotFound(r, "m"); },
       404, R"({"message":"m"})"},
      {"NotFoundNull",
       [](WebResponse& r) -> WebResponse& { return WebSendResponse::SendMessageNotFound(r); }, 404,
       "null"},
      {"PreconditionText",
       [](WebResponse& r) -> WebResponse& {
         return WebSendResponse::SendMessagePreconditionFailed(r, "m");
       },
       412, R"({"message":"m"})"},
      {"PreconditionObject",
       [](WebResponse& r) -> WebResponse& {
         return WebSendResponse::SendMessagePreconditionFailed(
             r, JsonValue::MakeObject().Add("campo", JsonValue::String("obrigatorio")));
       },
       412, R"({"message":{"campo":"obrigatorio"}})"},
      {"PreconditionKeyValue",
       [](WebResponse& r) -> WebResponse& {
         return WebSendResponse::SendMessagePreconditionFailed(r, "codigo", "123");
       },
       412, R"({"message":{"codigo":"123"}})"},
      {"UnprocessableNull",
       [](WebResponse& r) -> WebResponse& {
         return WebSendResponse::SendMessageUnprocessableEntity(r);
       },
       422, "null"},
      {"UnprocessableText",
       [](WebResponse& r) -> WebResponse& {
         return WebSendResponse::SendMessageUnprocessableEntity(r, "m");
       },
       422, R"({"message":"m"})"},
      {"ServiceUnavailable",
       [](WebResponse& r) -> WebResponse& {
         return WebSendResponse::SendMessageServiceUnavailable(r, "m");
       },
       503, R"({"message":"m"})"},
      {"SendMessageStatus",
       [](WebResponse& r) -> WebResponse& { return WebSendResponse::SendMessage(r, "m", 418); },
       418, R"({"message":"m"})"},
      {"SendMessageJson",
       [](WebResponse& r) -> WebResponse& {
         return WebSendResponse::SendMessage(r, JsonValue::Integer(7), 201);
       },
       201, "7"},
      {"AsJsonValid",
       [](WebResponse& r) -> WebResponse& {
         return WebSendResponse::SendMessageAsJSON(r, "{\"id\": 5, \"n\": \"S\xC3\xA3o\"}", 200);
       },
       200, R"({"id":5,"n":"S?o"})"},
      {"AsJsonInvalid",
       [](WebResponse& r) -> WebResponse& {
         return WebSendResponse::SendMessageAsJSON(r, "{not json", 400);
       },
       400, std::nullopt},
      {"NoContent", [](WebResponse& r) -> WebResponse& { return WebSendResponse::NoContent(r); },
       204, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResponseFixture f;
    WebResponse& returned = c.helper(f.res);
    EXPECT_EQ(&returned, &f.res);
    EXPECT_EQ(f.res.Status(), c.status);
    if (c.json) {
      ASSERT_NE(f.res.Content(), nullptr);
      EXPECT_EQ(lib::ToJson(*f.res.Content()), *c.json);
    } else {
      EXPECT_EQ(f.res.Content(), nullptr);
    }
  }
}

TEST(WebSendResponseTest, AsJsonInvalidClearsEarlierContent) {
  ResponseFixture f;
  f.res.Send(JsonValue::Integer(1));
  WebSendResponse::SendMessageAsJSON(f.res, "", 200);
  EXPECT_EQ(f.res.Content(), nullptr);
}

struct PathInfoCase {
  std::string_view name;
  std::string_view target;
  std::vector<std::string_view> paths;
  bool want;
};

class IsPathInfoTest : public ::testing::TestWithParam<PathInfoCase> {};

TEST_P(IsPathInfoTest, Matches) {
  const PathInfoCase& c = GetParam();
  RequestFixture f(c.target);
  EXPECT_EQ(WebRequestUtils::isPathInfo(f.req, c.paths), c.want);
}

INSTANTIATE_TEST_SUITE_P(
    Table, IsPathInfoTest,
    ::testing::Values(PathInfoCase{"Exact", "/status", {"/status"}, true},
                      PathInfoCase{"UpperCase", "/STATUS", {"/status"}, true},
                      PathInfoCase{"Longer", "/status/x", {"/status"}, false},
                      PathInfoCase{"QueryIgnored", "/status?x=1", {"/status"}, true},
                      PathInfoCase{"Bracketed", "/v1/manutencao/ativar", {"[/manutencao]"}, true},
                      PathInfoCase{
                          "BracketedIsCaseSensitive", "/v1/MANUTENCAO", {"[/manutencao]"}, false},
                      PathInfoCase{"SecondEntry", "/b", {"/a", "/b"}, true},
                      PathInfoCase{"AccentFolded", "/v1/S%C3%83O", {"/v1/s\xC3\xA3o"}, true},
                      PathInfoCase{"CedillaFolded", "/a%C3%A7%C3%BC", {"/A\xC3\x87\xC3\x9C"}, true},
                      PathInfoCase{"GraveENotFolded", "/%C3%A8", {"/\xC3\x88"}, false},
                      PathInfoCase{"DecodedBeforeCompare", "/a%20b", {"/A B"}, true},
                      PathInfoCase{"Empty", "/x", {}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WebRequestUtilsTest, BasicAuthentication) {
  struct Case {
    std::string_view name, header;
    bool ok;
    std::string_view user, password;
  };
  const Case cases[] = {
      {"Plain", "Basic dXNlcjpwYXNz", true, "user", "pass"},  // user:pass
      {"LowerScheme", "basic dXNlcjpwYXNz", true, "user", "pass"},
      {"PasswordWithColonAndBlank", "Basic dTpwOnEgcg==", true, "u", "p:q r"},  // u:p:q r
      {"EmptyPassword", "Basic dTo=", true, "u", ""},                           // u:
      {"NoColon", "Basic dXNlcg==", false, "", ""},                             // user
      {"NotBase64", "Basic ***", false, "", ""},
      {"Absent", "", false, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RequestFixture f;
    if (!c.header.empty()) f.raw.AddHeader("Authorization", std::string(c.header));
    std::string user = "untouched", password = "untouched";
    EXPECT_EQ(WebRequestUtils::DecodeBasicAuthentication(f.req, user, "authorization", password),
              c.ok);
    EXPECT_EQ(WebRequestUtils::UserBasicAuthentication(f.req, "Authorization"), c.user);
    EXPECT_EQ(WebRequestUtils::PasswordBasicAuthentication(f.req, "Authorization"), c.password);
    if (c.ok) {
      EXPECT_EQ(user, c.user);
      EXPECT_EQ(password, c.password);
    }
  }
}

TEST(MimeTypesHelperTest, TextsInEnumerationOrder) {
  constexpr std::string_view kWant[] = {"multipart/form-data",
                                        "application/x-www-form-urlencoded",
                                        "application/json",
                                        "application/octet-stream",
                                        "application/xml",
                                        "application/javascript",
                                        "application/pdf",
                                        "application/typescript",
                                        "application/zip",
                                        "text/plain",
                                        "text/css",
                                        "text/csv",
                                        "text/html",
                                        "image/jpeg",
                                        "image/png",
                                        "image/gif"};
  for (std::size_t i = 0; i < std::size(kWant); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(MimeTypesHelper::ToString(static_cast<MimeType>(i)), kWant[i]);
  }
}

}  // namespace
}  // namespace quorvane::web::core
