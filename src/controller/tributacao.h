#pragma once

// Taxation tables. The group's prefix is /v1 itself, with no route on it:
//
//   GET/POST /v1/aliquota              aliquotas
//   GET/POST /v1/aliquota/secundaria   aliquotassecundarias
//   GET/POST /v1/cfop                  cfop (x-key-fields: cfop)
//   GET/POST /v1/mva                   mva (x-key-fields: codproduto)

#include "web/core/web_core.h"

namespace quorvane::controller::tributacao {

// Registers the routes above on `core` (the process-wide core when none is
// given), in that order.
void Registry(web::core::WebCore& core);
void Registry();

}  // namespace quorvane::controller::tributacao
