#pragma once

#include "web/core/web_callback.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"

namespace quorvane::web::middleware {

// Puts the five cross-origin headers on every answer (everything allowed,
// credentials included) and answers a preflight (OPTIONS) itself with 204 and
// an empty body, so that it reaches neither validation, authentication nor a
// handler.
void CORS(core::WebRequest& req, core::WebResponse& res, const core::WebNext& next);

}  // namespace quorvane::web::middleware
