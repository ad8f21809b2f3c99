#pragma once

// Agreements with companies whose employees buy on the company's account,
// and their discounts by product group, sub-group and product.
//
//   GET/POST /v1/convenio                     convenios (inativo last when the
//                                             tenant synchronises inactive records)
//   GET/POST /v1/convenio/desconto/grupo      conveniosdescontogrupos
//   GET/POST /v1/convenio/desconto/subgrupo   conveniosdescontosubgrupos
//   GET/POST /v1/convenio/desconto            conveniosdesconto

#include "web/core/web_callback.h"
#include "web/core/web_core.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"

namespace quorvane::controller::convenio {

// Registers the routes above on `core` (the process-wide core when none is
// given), in that order.
void Registry(web::core::WebCore& core);
void Registry();

// The agreements; with the tenant's sincronizar_inativo on, inativo is the
// last column of every agreement.
void GetConvenios(web::core::WebRequest& req, web::core::WebResponse& res,
                  const web::core::WebNext& next);

}  // namespace quorvane::controller::convenio
