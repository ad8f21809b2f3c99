#pragma once

#include <string>
#include <string_view>

#include "web/core/raw_web.h"
#include "web/core/router_tree.h"

namespace quorvane::web::core {

// Runs one request through `tree` and leaves the answer in `raw_res`. Never
// throws: WebCallbackInterrupted is swallowed (the response goes out as the
// callbacks left it); a malformed path parameter becomes a 400 page; any
// other error becomes the 500 error page naming the error and the path.
void HandlerAction(WebRouterTree& tree, RawRequest& raw_req, RawResponse& raw_res);

// The reason phrase of a status code; "Unknown" for codes without one.
std::string_view ReasonPhrase(int status);

// The small HTML page of an empty body: the status code and its reason.
std::string StatusPage(int status);

// The HTML error page: status, reason, the error message and the path, all
// HTML-escaped.
std::string ErrorPage(int status, std::string_view message, std::string_view path);

// Fills `raw_res` with an HTML error page (body, content type, status) and
// clears its content encoding.
void SetErrorPage(RawResponse& raw_res, int status, std::string_view message,
                  std::string_view path);

// The bytes of `raw` on the wire: status line, headers (Date, Content-Type,
// Content-Encoding, the custom headers, Content-Length, Connection: close)
// and body. Applies the writing rules: no body for HEAD, 1xx, 204 and 304;
// the default content type "text/html; charset=utf-8"; the status page for an
// empty body; text bodies encoded in the charset the content type names. A
// status outside 100..999 is written as a 500 error page.
std::string SerializeResponse(const RawResponse& raw, bool head_request, std::string_view path);

}  // namespace quorvane::web::core
