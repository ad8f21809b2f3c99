#pragma once

#include <string>
#include <string_view>

#include "lib/json.h"
#include "web/core/web_callback.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"

namespace quorvane::web::middleware {

// The tag of a JSON value: the MD5 digest of its plain JSON text reduced to
// 7-bit ASCII, as 32 upper-case hexadecimal digits, without quotes.
std::string ContentETag(const lib::JsonValue& content);

// 32 upper-case hexadecimal digits of the MD5 digest of `bytes`.
std::string Md5Hex(std::string_view bytes);

// The ETag middleware. After the rest of the chain, however it ended: a JSON
// answer gets the header "ETag"; when the request's If-None-Match equals the
// tag exactly (no quotes, lists or weak tags; branch systems send the tag
// back as they got it), the status becomes 304, whatever it was. Answers
// without a JSON content value get no tag.
void eTag(core::WebRequest& req, core::WebResponse& res, const core::WebNext& next);

}  // namespace quorvane::web::middleware
