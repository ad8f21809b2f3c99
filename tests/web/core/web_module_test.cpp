#include "web/core/web_module.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "web/core/web_core.h"

namespace quorvane::web::core {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// Splits serialised bytes into head and body.
struct Wire {
  explicit Wire(const std::string& bytes) {
    const auto end = bytes.find("\r\n\r\n");
    head = bytes.substr(0, end + 2);
    body = bytes.substr(end + 4);
  }
  std::string head;
  std::string body;
};

TEST(SerializeResponseTest, BodylessAnswers) {
  struct Case {
    std::string_view name;
    int status;
    bool head_request;
    std::string_view length_line;  // empty: no Content-Length at all
  };
  for (const Case& c : {Case{"Head", 200, true, "Content-Length: 0\r\n"},
                        Case{"NoContent", 204, false, ""}, Case{"Continue", 100, false, ""},
                        Case{"NotModified", 304, false, "Content-Length: 0\r\n"}}) {
    SCOPED_TRACE(c.name);
    RawResponse raw;
    raw.set_status(c.status);
    raw.SetBodyText("should not be sent");
    raw.SetCustomHeader("ETag", "\"abc\"");
    const Wire wire(SerializeResponse(raw, c.head_request, "/x"));
    EXPECT_EQ(wire.body, "");
    EXPECT_THAT(wire.head, HasSubstr("ETag: \"abc\"\r\n"));
    if (c.length_line.empty()) {
      EXPECT_THAT(wire.head, Not(HasSubstr("Content-Length")));
    } else {
      EXPECT_THAT(wire.head, HasSubstr(std::string(c.length_line)));
    }
  }
}

TEST(SerializeResponseTest, DefaultContentTypeAndFraming) {
  RawResponse raw;
  raw.SetBodyText("Not Found");
  raw.set_status(404);
  const Wire wire(SerializeResponse(raw, false, "/x"));
  EXPECT_THAT(wire.head, ::testing::StartsWith("HTTP/1.1 404 Not Found\r\n"));
  EXPECT_THAT(wire.head, HasSubstr("Content-Type: text/html; charset=utf-8\r\n"));
  EXPECT_THAT(wire.head, HasSubstr("Content-Length: 9\r\n"));
  EXPECT_THAT(wire.head, HasSubstr("Connection: close\r\n"));
  EXPECT_THAT(wire.head, HasSubstr("Date: "));
  EXPECT_EQ(wire.body, "Not Found");
}

TEST(SerializeResponseTest, EmptyBodyGetsStatusPage) {
  RawResponse raw;
  raw.set_status(401);
  raw.set_content_type("application/json");
  const Wire wire(SerializeResponse(raw, false, "/x"));
  EXPECT_THAT(wire.body, HasSubstr("401 Unauthorized"));
  EXPECT_THAT(wire.head, HasSubstr("Content-Type: text/html; charset=utf-8\r\n"));
}

TEST(SerializeResponseTest, TextEncodedInNamedCharsetBytesUntouched) {
  struct Case {
    std::string_view name, content_type;
    bool bytes;
    std::string_view body, want;
  };
  for (const Case& c : {Case{"Utf8Default", "", false, "S\xC3\xA3o", "S\xC3\xA3o"},
                        Case{"Latin1", "text/plain; charset=ISO-8859-1", false,
                             "S\xC3\xA3o \xE2\x82\xAC", "S\xE3o \x80"},
                        Case{"Ascii", "text/plain; charset=us-ascii", false, "S\xC3\xA3o", "S?o"},
                        Case{"BytesNotReencoded", "application/json; charset=iso-8859-1", true,
                             "\xC3\xA3", "\xC3\xA3"}}) {
    SCOPED_TRACE(c.name);
    RawResponse raw;
    raw.set_content_type(std::string(c.content_type));
    if (c.bytes) {
      raw.SetBodyBytes(std::string(c.body));
    } else {
      raw.SetBodyText(std::string(c.body));
    }
    EXPECT_EQ(Wire(SerializeResponse(raw, false, "/")).body, c.want);
  }
}

TEST(SerializeResponseTest, HeadersCannotBeForgedOrReframed) {
  RawResponse raw;
  raw.SetBodyText("abc");
  raw.set_content_encoding("gzip");
  raw.SetCustomHeader("X-Echo", "a\r\nSet-Cookie: evil=1");
  raw.SetCustomHeader("Bad Name", "x");
  raw.SetCustomHeader("Content-Length", "999");
  raw.SetCustomHeader("Connection", "keep-alive");
  const Wire wire(SerializeResponse(raw, false, "/"));
  EXPECT_THAT(wire.head, HasSubstr("X-Echo: aSet-Cookie: evil=1\r\n"));
  EXPECT_THAT(wire.head, Not(HasSubstr("\r\nSet-Cookie")));
  EXPECT_THAT(wire.head, Not(HasSubstr("Bad Name")));
  EXPECT_THAT(wire.head, HasSubstr("Content-Length: 3\r\n"));
  EXPECT_THAT(wire.head, Not(HasSubstr("999")));
  EXPECT_THAT(wire.head, Not(HasSubstr("keep-alive")));
  EXPECT_THAT(wire.head, HasSubstr("Content-Encoding: gzip\r\n"));
}

TEST(SerializeResponseTest, StatusOutOfRangeBecomesErrorPage) {
  for (int status : {0, 99, 1000, -1}) {
    SCOPED_TRACE(status);
    RawResponse raw;
    raw.set_status(status);
    raw.SetBodyText("x");
    const Wire wire(SerializeResponse(raw, false, "/p"));
    EXPECT_THAT(wire.head, ::testing::StartsWith("HTTP/1.1 500 "));
    EXPECT_THAT(wire.body, HasSubstr("Invalid status code " + std::to_string(status)));
  }
}

TEST(SerializeResponseTest, UnknownStatusHasAReason) {
  RawResponse raw;
  raw.set_status(299);
  raw.SetBodyText("x");
  EXPECT_THAT(SerializeResponse(raw, false, "/"),
              ::testing::StartsWith("HTTP/1.1 299 Unknown\r\n"));
}

class HandlerActionTest : public ::testing::Test {
 protected:
  RawResponse Handle(std::string_view target) {
    RawRequest raw_req;
    raw_req.SetTarget(target);
    RawResponse raw_res;
    HandlerAction(tree_, raw_req, raw_res);
    return raw_res;
  }

  WebRouterTree tree_;
  WebCore core_{tree_};
};

TEST_F(HandlerActionTest, InterruptionIsSwallowed) {
  core_.Get("/x", [](WebRequest&, WebResponse& res, const WebNext&) {
    res.Send("kept").Status(503);
    throw WebCallbackInterrupted();
  });
  const RawResponse res = Handle("/x");
  EXPECT_EQ(res.status(), 503);
  EXPECT_EQ(res.body(), "kept");
}

TEST_F(HandlerActionTest, ErrorBecomesEscapedErrorPageWithMessageAndPath) {
  core_.Get("/x/:id", [](WebRequest&, WebResponse& res, const WebNext&) {
    res.RawWebResponse().set_content_encoding("gzip");
    throw std::runtime_error("Table 'loja.<x>' doesn't exist");
  });
  const RawResponse res = Handle("/x/%3Cb%3E");
  EXPECT_EQ(res.status(), 500);
  EXPECT_THAT(res.body(), HasSubstr("Table &#39;loja.&lt;x&gt;&#39; doesn&#39;t exist"));
  EXPECT_THAT(res.body(), HasSubstr("/x/&lt;b&gt;"));
  EXPECT_THAT(res.body(), Not(HasSubstr("Internal Application Error")));
  EXPECT_EQ(res.content_encoding(), "");
}

TEST_F(HandlerActionTest, DuplicateQueryFieldFailsTheRequest) {
  core_.Get("/x", [](WebRequest& req, WebResponse&, const WebNext&) { req.Query(); });
  const RawResponse res = Handle("/x?a=1&a=2");
  EXPECT_EQ(res.status(), 500);
  EXPECT_THAT(res.body(), HasSubstr("Duplicates not allowed"));
}

TEST_F(HandlerActionTest, MalformedParameterIsABadRequest) {
  core_.Get("/x/:id", [](WebRequest&, WebResponse&, const WebNext&) {});
  const RawResponse res = Handle("/x/%G1");
  EXPECT_EQ(res.status(), 400);
  EXPECT_THAT(res.body(), HasSubstr("%G1"));
}

TEST_F(HandlerActionTest, NonStandardExceptionStillAnswered) {
  core_.Get("/x", [](WebRequest&, WebResponse&, const WebNext&) { throw 42; });
  const RawResponse res = Handle("/x");
  EXPECT_EQ(res.status(), 500);
  EXPECT_THAT(res.body(), HasSubstr("Unknown error"));
}

}  // namespace
}  // namespace quorvane::web::core
