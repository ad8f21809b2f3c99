#pragma once

// The tenant's settings row in the control table _stru._schemas, exposed to
// its branches, and the checks that other controllers use to ask for one
// setting.
//
//   GET  /v1/parametro                 GetParametros
//   POST /v1/parametro                 PostParametros
//   GET  /v1/manutencao                GetManutencao
//   PUT  /v1/manutencao/ativar         PutAtivarManutencao
//   PUT  /v1/manutencao/inativar       PutInativarManutencao
//
// The tenant is always the one named by x-schema.

#include <optional>
#include <string_view>

#include "web/core/web_callback.h"
#include "web/core/web_core.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"

namespace quorvane::controller::parametros {

// Registers the five routes on `core` (the process-wide core when none is
// given): the /v1/parametro group, then the /v1/manutencao group.
void Registry(web::core::WebCore& core);
void Registry();

// {"manutencao", "sincronizar_tributacao", "sincronizar_inativo",
// "igualar_precos"} of the tenant, in that order, or 422 null without a row.
void GetParametros(web::core::WebRequest& req, web::core::WebResponse& res,
                   const web::core::WebNext& next);
// Upserts the tenant's row from the body's columns (keyed by name_schema, no
// codfilialorigem): 204, or 400 for a bad body or a refused statement.
void PostParametros(web::core::WebRequest& req, web::core::WebResponse& res,
                    const web::core::WebNext& next);
// {"manutencao": n} of the tenant, or 422 null without a row.
void GetManutencao(web::core::WebRequest& req, web::core::WebResponse& res,
                   const web::core::WebNext& next);
// manutencao := 1 / 0 for the tenant (the row is created if missing); 204.
void PutAtivarManutencao(web::core::WebRequest& req, web::core::WebResponse& res,
                         const web::core::WebNext& next);
void PutInativarManutencao(web::core::WebRequest& req, web::core::WebResponse& res,
                           const web::core::WebNext& next);
void AlterManutencao(web::core::WebRequest& req, web::core::WebResponse& res, int value);

// The stored value of one settings column of the tenant's row
// ("manutencao", "sincronizar_tributacao", "sincronizar_inativo" or
// "igualar_precos"); nullopt when the column is NULL or the tenant has no
// row. Throws std::invalid_argument for any other column name.
//
// Read from the tenant row that the request has already loaded for its
// checks (model::ModelUtils::Tenant), so asking costs no statement; a
// setting changed by another request takes effect with the next request.
std::optional<int> ParameterValue(web::core::WebRequest& req, std::string_view column);

// Whether a setting is on: stored value exactly 1. NULL, any other value or no
// row is off.
bool isSincronizarTributacao(web::core::WebRequest& req);  // product taxation columns
bool isSincronizarInativo(web::core::WebRequest& req);     // the column inativo in reads
bool isIgualarPrecos(web::core::WebRequest& req);          // prices shared under branch -1

}  // namespace quorvane::controller::parametros
