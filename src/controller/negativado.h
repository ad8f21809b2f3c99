#pragma once

// Defaulters, looked up by tax number when a branch asks for a customer's
// credit situation.
//
//   GET    /v1/negativado       negativados
//   POST   /v1/negativado
//   DELETE /v1/negativado/:ID   the entry whose codigo is ID: 204 (also when
//                               none matched); 400 "ID inválido: <ID>" for an
//                               ID that is not a decimal integer

#include "web/core/web_callback.h"
#include "web/core/web_core.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"

namespace quorvane::controller::negativado {

// Registers the routes above on `core` (the process-wide core when none is
// given), in that order.
void Registry(web::core::WebCore& core);
void Registry();

// Deletes the defaulter entry whose codigo is the path parameter ID.
void Delete(web::core::WebRequest& req, web::core::WebResponse& res,
            const web::core::WebNext& next);

}  // namespace quorvane::controller::negativado
