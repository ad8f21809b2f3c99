#include "web/middleware/json_body.h"

#include <optional>
#include <utility>

#include "lib/json.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"
#include "web/middleware/json_text_handoff.h"

namespace quorvane::web::middleware {
namespace {

using core::HttpMethod;
using core::WebNext;
using core::WebRequest;
using core::WebResponse;

void ParseRequestBody(WebRequest& req) {
  const HttpMethod method = req.MethodType();
  if (method != HttpMethod::kPut && method != HttpMethod::kPost) return;
  // Exact comparison on purpose: branch systems send exactly this value, and
  // a body declared otherwise (a charset parameter included) is left for
  // the handler to read as text.
  if (req.RawWebRequest().ContentType() != "application/json") return;
  if (std::optional<lib::JsonValue> body = lib::ParseJson(req.Body())) {
    req.Body(std::move(*body));
  }
}

void WriteContent(WebRequest& req, WebResponse& res, const std::string& content_type) {
  const lib::JsonValue* content = res.Content();
  if (content == nullptr) return;
  res.RawWebResponse().SetBodyText(lib::ToJson(*content));
  res.ContentType(content_type);
  internal::NoteJsonBodyWritten(req, res);
}

}  // namespace

core::WebCallback JsonBody(std::string charset) {
  return [content_type = "application/json; charset=" + charset](WebRequest& req, WebResponse& res,
                                                                 const WebNext& next) {
    ParseRequestBody(req);
    try {
      next();
    } catch (...) {
      // Refusals end the chain with an exception after filling the content;
      // they must still reach the client serialised.
      WriteContent(req, res, content_type);
      throw;
    }
    WriteContent(req, res, content_type);
  };
}

}  // namespace quorvane::web::middleware
