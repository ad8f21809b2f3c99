#pragma once

#include "web/core/web_core.h"

namespace quorvane::app {

// The global middleware chain, in this order (every request passes them on
// the way in; what each does after next runs in reverse order):
//   1 Tracker  2 Compression(1024)  3 JsonBody("UTF-8")  4 CORS
//   5 Validate  6 WebJWT(key, "authorization")  7 eTag
// Each entry is installed here once its layer exists.
void InstallMiddlewares(web::core::WebCore& core);

// The /v1 routes, one controller after the other in the fixed order (Filial,
// Cidade, Administradora, Cartao, Vencimento, Grupo, Subgrupo, Convenio,
// Parcelamento, Rota, Texto, Transportadora, Usuario, Cliente, Banco,
// ContasAPagar, ContasAReceber, Fornecedor, Negativado, Profissional,
// Produto, Produto.Preco, Produto.Kit, Parametros, AlteracaoEstoque,
// PagDigital, Financeira, Representante, Tributacao, Login). Handlers of one
// path and method run in registration order, so the order matters.
void RegisterControllers(web::core::WebCore& core);

}  // namespace quorvane::app
