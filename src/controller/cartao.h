#pragma once

// Cards and their fees by number of instalments.
//
//   GET/POST /v1/cartao        cartoes (the read adds inativo last when the
//                              tenant synchronises inactive records)
//   GET/POST /v1/cartao/taxa   cartoestaxas

#include "web/core/web_callback.h"
#include "web/core/web_core.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"

namespace quorvane::controller::cartao {

// Registers the routes above on `core` (the process-wide core when none is
// given), in that order.
void Registry(web::core::WebCore& core);
void Registry();

// The cards; with the tenant's sincronizar_inativo on, inativo is the last
// column of every card.
void GetCartao(web::core::WebRequest& req, web::core::WebResponse& res,
               const web::core::WebNext& next);

}  // namespace quorvane::controller::cartao
