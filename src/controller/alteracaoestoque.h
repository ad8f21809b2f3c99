#pragma once

// Stock changes (adjustments, losses, transfers between branches) and their
// items (linked by codalteracaoestoque).
//
//   GET  /v1/alteracaoestoque        GetAlteracaoEstoque
//   POST /v1/alteracaoestoque        PostAlteracaoEstoque        alteracaoestoque
//   GET  /v1/alteracaoestoque/item   GetAlteracaoEstoqueItens
//   POST /v1/alteracaoestoque/item   PostAlteracaoEstoqueItens   alteracaoestoqueitens
//
// The GETs answer the catalogue's statements (model::ModelSQLAlteracaoEstoque),
// the POSTs upsert the body into the table on the right: the shapes of
// controller_utils.h. The item download also carries codfilial and
// codfilialdestino of the change that owns each item, and its filter headers
// (x-alterado-apos, x-filial-origem-filter) apply to the item's own columns,
// not to the change's.

#include "web/core/web_core.h"

namespace quorvane::controller::alteracaoestoque {

// Registers the four routes, in the order above, on `core` (the
// process-wide core when none is given). Called once, at start-up.
void Registry(web::core::WebCore& core);
void Registry();

}  // namespace quorvane::controller::alteracaoestoque
