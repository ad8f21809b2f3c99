#pragma once

// Product kits and their items (linked by codkit).
//
//   GET  /v1/kit        GetKit
//   POST /v1/kit        PostKit         kits
//   GET  /v1/kit/item   GetKitItem
//   POST /v1/kit/item   PostKitItem     kitsitens
//
// The GETs answer the catalogue's statements (model::ModelSQLKit), the POSTs
// upsert the body into the table on the right: the shapes of
// controller_utils.h.

#include "web/core/web_core.h"

namespace quorvane::controller::produto_kit {

// Registers the four routes, in the order above, on `core` (the
// process-wide core when none is given). Called once, at start-up.
void Registry(web::core::WebCore& core);
void Registry();

}  // namespace quorvane::controller::produto_kit
