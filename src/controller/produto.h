#pragma once

// The product registry of the tenant: products, their classifications, bar
// codes, per-branch data, supplier codes, references and units, plus the
// removal of one bar code and the stock of a product in every branch that
// lets others consult its stock.
//
//   GET    /v1/produto                               GetProduto
//   POST   /v1/produto                               PostProduto              produtos
//   GET    /v1/produto/classificacao                 GetClassificacao
//   POST   /v1/produto/classificacao                 PostClassificacao        produtosclassificacao
//   GET    /v1/produto/classificado                  GetClassificado
//   POST   /v1/produto/classificado                  PostClassificado         produtosclassificados
//   GET    /v1/produto/ean                           GetEAN
//   POST   /v1/produto/ean                           PostEAN                  produtosean
//   DELETE /v1/produto/ean/:codproduto/:codbarras    DeleteEAN
//   GET    /v1/produto/filial                        GetFilial
//   POST   /v1/produto/filial                        PostFilial               produtosfiliais
//   GET    /v1/produto/estoque/:ID                   GetEstoque
//   GET    /v1/produto/codigofornecedor              GetCodigoNoFornecedor
//   POST   /v1/produto/codigofornecedor              PostCodigoNoFornecedor   codigosnofornecedor
//   GET    /v1/produto/referencia                    GetReferencia
//   POST   /v1/produto/referencia                    PostReferencia           referencias
//   GET    /v1/produto/unidade                       GetUnidade
//   POST   /v1/produto/unidade                       PostUnidade              unidades
//
// The plain GETs answer the catalogue's statement of their entity
// (model::ModelSQLProduto), the POSTs upsert the body into the table named on
// the right; both are the shapes of controller_utils.h.

#include <string>
#include <string_view>

#include "web/core/web_callback.h"
#include "web/core/web_core.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"

namespace quorvane::controller::produto {

// Registers the eighteen routes, in the order above, on `core` (the
// process-wide core when none is given). Called once, at start-up.
void Registry(web::core::WebCore& core);
void Registry();

// The products, with the column inativo when the tenant synchronises
// inactive records and the 23 taxation columns when it synchronises
// taxation (72 columns with both).
void GetProduto(web::core::WebRequest& req, web::core::WebResponse& res,
                const web::core::WebNext& next);

// Deletes the bar code :codbarras of product :codproduto: 204 whether or not
// a row matched; 400 when a part is missing, when :codproduto is not a
// decimal integer (nothing runs then) or when the database refuses.
void DeleteEAN(web::core::WebRequest& req, web::core::WebResponse& res,
               const web::core::WebNext& next);

// The stock of product :ID in every branch whose consultarestoque is 'S',
// ordered by branch name, each branch with the product's positive prices in
// it:
//   [{"codfilial", "filial", "quantidade", "dtultalteracaoregistro",
//     "precos": [{"tabela", "preco", "dtultalteracaoregistro"}, ...]}, ...]
// limit/page page the branches and, separately, each branch's prices.
// 422 null when no branch qualifies; 400 "ID inválido: <ID>" when :ID is not
// a decimal integer, before any statement runs. Every statement runs on the
// request's one database lease.
void GetEstoque(web::core::WebRequest& req, web::core::WebResponse& res,
                const web::core::WebNext& next);

// The two statements of GetEstoque for product `id` (a checked decimal
// integer). The price statement holds one "%s", the branch code.
std::string EstoqueSQL(std::string_view id);
std::string PrecosEstoqueSQL(std::string_view id);

}  // namespace quorvane::controller::produto
