#pragma once

// Banks: account groups, histories (the kinds of entry) and the bank
// accounts themselves. The group has no route on its root.
//
//   GET/POST /v1/banco/grupo       gruposbanco
//   GET/POST /v1/banco/historico   historicos
//   GET/POST /v1/banco/conta       contas

#include "web/core/web_core.h"

namespace quorvane::controller::banco {

// Registers the routes above on `core` (the process-wide core when none is
// given), in that order.
void Registry(web::core::WebCore& core);
void Registry();

}  // namespace quorvane::controller::banco
