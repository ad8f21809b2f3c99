#pragma once

#include <string>

#include "web/core/web_callback.h"

namespace quorvane::web::middleware {

// The JSON middleware. Before the rest of the chain: a PUT or POST whose
// Content-Type is exactly "application/json" gets its body parsed into the
// request's body object (none when the text is not valid JSON; the handler
// then answers for the missing body). After the rest of the chain, however it
// ended: a JSON content value is serialised into the body with the content
// type "application/json; charset=" + `charset`. This is the only place where
// JSON answers become bytes.
//
// Thread-safe: the charset is captured by the returned callback.
core::WebCallback JsonBody(std::string charset = "UTF-8");

}  // namespace quorvane::web::middleware
