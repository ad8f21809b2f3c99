// The HTTP frame under hostile bytes: one request read by the provider's
// parser (same limits), turned into the raw request the provider builds, and
// walked through two trees that hold the server's real route table (what
// start-up registers) with handlers that touch no database:
//   - bare: every handler does nothing;
//   - chained: Compression, JsonBody, CORS and eTag around handlers that echo
//     what the request helpers make of the request (parameters, query, form
//     fields, cookies, body object).
// Properties: nothing crashes or throws out of the dispatcher; the bare tree
// answers 200, 400 (bad parameter escape) or 404 only; every answer the
// writer produces is a complete, well-formed HTTP response whose framing
// matches its body.
//
// Seeds: fuzz/corpus/http_request_fuzz/, one raw request per file.

#include <boost/asio/buffer.hpp>
#include <boost/beast/http/error.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/string_body.hpp>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/startup.h"
#include "fuzz_check.h"
#include "lib/json.h"
#include "web/core/http_reader.h"
#include "web/core/router_tree.h"
#include "web/core/web_core.h"
#include "web/core/web_module.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"
#include "web/middleware/compression.h"
#include "web/middleware/cors.h"
#include "web/middleware/etag.h"
#include "web/middleware/json_body.h"

namespace {

namespace http = boost::beast::http;
using quorvane::lib::JsonValue;
using quorvane::web::core::HttpMethod;
using quorvane::web::core::RawRequest;
using quorvane::web::core::RawResponse;
using quorvane::web::core::RequestParser;
using quorvane::web::core::WebCore;
using quorvane::web::core::WebNext;
using quorvane::web::core::WebRequest;
using quorvane::web::core::WebResponse;
using quorvane::web::core::WebRouterTree;
using quorvane::web::core::WebStringMap;

JsonValue MapToJson(const WebStringMap& map) {
  JsonValue object = JsonValue::MakeObject();
  for (const auto& [name, value] : map) object.Add(name, JsonValue::String(value));
  return object;
}

void Echo(WebRequest& req, WebResponse& res, const WebNext&) {
  JsonValue answer = JsonValue::MakeObject();
  answer.Add("params", MapToJson(req.Params()));
  answer.Add("query", MapToJson(req.Query()));  // a repeated name throws: a 500
  answer.Add("form", MapToJson(req.ContentFields()));
  answer.Add("cookie", MapToJson(req.Cookie()));
  answer.Add("headers", JsonValue::String(req.Headers("x-schema")));
  if (const JsonValue* body = req.BodyObject()) {
    answer.Add("body", *body);
  } else {
    answer.Add("text", JsonValue::String(req.Body()));
  }
  res.Send(std::move(answer));
}

struct Trees {
  WebRouterTree bare;
  WebRouterTree chained;

  Trees() {
    // The real table: start-up's controller list on a tree of its own. The
    // registration only records closures; none of them runs here.
    WebRouterTree real;
    WebCore real_core(real);
    quorvane::app::RegisterControllers(real_core);

    WebCore bare_core(bare);
    WebCore chained_core(chained);
    namespace mw = quorvane::web::middleware;
    chained_core.Use(mw::Compression(1024));
    chained_core.Use(mw::JsonBody("UTF-8"));
    chained_core.Use(mw::CORS);
    chained_core.Use(mw::eTag);
    for (const auto& route : real.Routes()) {
      bare_core.Register(route.method, route.path,
                         [](WebRequest&, WebResponse&, const WebNext&) {});
      chained_core.Register(route.method, route.path, Echo);
    }
  }
};

Trees& GetTrees() {
  static Trees* trees = new Trees();  // lives as long as the process
  return *trees;
}

// Checks that `wire` is one complete response with the status of `raw`.
void CheckWire(const std::string& wire, bool head_request, int expected_status) {
  http::response_parser<http::string_body> parser;
  parser.eager(true);
  parser.body_limit(1ull << 40);
  if (head_request) parser.skip(true);
  boost::beast::error_code ec;
  std::size_t used = 0;
  while (!parser.is_done() && used < wire.size()) {
    const std::size_t n =
        parser.put(boost::asio::buffer(wire.data() + used, wire.size() - used), ec);
    used += n;
    if (ec == http::error::need_more) {
      ec = {};
      break;
    }
    QV_FUZZ_CHECK(!ec, ec.message() + "\n" + wire.substr(0, 2048));
    if (n == 0) break;
  }
  if (!parser.is_done()) {
    parser.put_eof(ec);
    QV_FUZZ_CHECK(!ec, ec.message() + "\n" + wire.substr(0, 2048));
  }
  QV_FUZZ_CHECK(parser.is_done(), wire.substr(0, 2048));
  QV_FUZZ_CHECK(used == wire.size(), "bytes after the response: " + wire.substr(0, 2048));
  const int status = parser.get().result_int();
  const bool valid_status = expected_status >= 100 && expected_status <= 999;
  QV_FUZZ_CHECK(status == (valid_status ? expected_status : 500), wire.substr(0, 2048));
}

void Serve(WebRouterTree& tree, const RawRequest& request, bool bare) {
  RawRequest raw_req = request;
  RawResponse raw_res;
  quorvane::web::core::HandlerAction(tree, raw_req, raw_res);
  if (bare) {
    const int s = raw_res.status();
    QV_FUZZ_CHECK(s == 200 || s == 400 || s == 404, std::to_string(s) + " " + raw_res.body());
  }
  const bool head = raw_req.method == "HEAD";
  const std::string wire =
      quorvane::web::core::SerializeResponse(raw_res, head, raw_req.PathInfo());
  CheckWire(wire, head, raw_res.status());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Trees& trees = GetTrees();
  RequestParser parser;
  quorvane::web::core::ConfigureRequestParser(parser);
  boost::beast::error_code ec;
  std::size_t used = 0;
  while (!parser.is_done()) {
    const std::size_t n = parser.put(boost::asio::buffer(data + used, size - used), ec);
    used += n;
    if (ec == http::error::need_more || (!ec && n == 0)) {
      // The client stops sending: the read ends with end of stream, which
      // the parser takes only after it has seen some of the message (as the
      // stream read does).
      ec = {};
      if (parser.got_some()) {
        parser.put_eof(ec);
      } else {
        ec = http::error::end_of_stream;
      }
      break;
    }
    if (ec) break;
  }
  if (ec || !parser.is_done()) {
    // Refused before the tree: the error page must still be well formed.
    if (parser.is_header_done()) {
      RawRequest raw_req;
      raw_req.SetTarget(parser.get().target());
      RawResponse raw_res;
      quorvane::web::core::SetErrorPage(
          raw_res, 400, "The request is malformed (" + ec.message() + ").", raw_req.PathInfo());
      CheckWire(quorvane::web::core::SerializeResponse(raw_res, false, raw_req.PathInfo()), false,
                400);
    }
    return 0;
  }
  RawRequest raw_req;
  quorvane::web::core::ToRawRequest(parser.get(), raw_req);
  raw_req.remote_address = "127.0.0.1";
  Serve(trees.bare, raw_req, true);
  Serve(trees.chained, raw_req, false);
  return 0;
}
