#pragma once

// Branches, and the reservation of a new branch code.
//
//   GET  /v1/filial         filiais without the head office (code 0)
//   POST /v1/filial
//   GET  /v1/filial/newid   {"id": N}: a new code of the branch key sequence
//                           that no row holds

#include "web/core/web_callback.h"
#include "web/core/web_core.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"

namespace quorvane::controller::filial {

// Registers the routes above on `core` (the process-wide core when none is
// given), in that order.
void Registry(web::core::WebCore& core);
void Registry();

// Reserves a branch code: inserts a placeholder branch named
// "autoincrement" (no codfilialorigem, the request body is not read),
// answers {"id": N} with the code the database generated and deletes the
// placeholder again, so the code belongs to no row until a branch is
// uploaded under it. Insert and delete form one transaction: other requests
// never see the placeholder. When the database generates no code (a table
// without AUTO_INCREMENT) the answer is 204 and the insert is rolled back
// instead, so no existing branch, the head office included, is touched. An
// insert the database refuses answers 400 with its message.
void GetNewIDFilial(web::core::WebRequest& req, web::core::WebResponse& res,
                    const web::core::WebNext& next);

}  // namespace quorvane::controller::filial
