#pragma once

#include "web/core/web_callback.h"

namespace quorvane::web::middleware {

// Admits a request to its tenant's data. In this order, the first failing
// check answers and ends the chain:
//   "/status" (any case)        the tracker's status page, no header needed
//   x-schema                    400 "Schema não informado" / "Schema inválido" /
//                               the database's message
//   initial load pending        503 "Aguardando carga inicial"
//   maintenance                 503 "Manutenção programada" (except
//                               /v1/manutencao and /v1/manutencao/inativar)
//   x-filial                    400 "Filial não informada" /
//                               "Filial informada não é válida"
//   x-user / x-pass             401 "Invalid username or password"
// The branch and login checks are skipped for /v1/manutencao/ativar and
// /v1/manutencao/inativar. All of it runs before the token is looked at.
void Validate(core::WebRequest& req, core::WebResponse& res, const core::WebNext& next);

}  // namespace quorvane::web::middleware
