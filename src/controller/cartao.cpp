#include "controller/cartao.h"

#include "controller/controller_utils.h"
#include "controller/parametros.h"
#include "model/model_database.h"
#include "model/model_sql.h"

namespace quorvane::controller::cartao {

using model::ModelSQLCartao;

void Registry(web::core::WebCore& core) {
  core.Group()
      .Prefix("/v1/cartao")
      .Get("/", Handler(GetCartao))
      .Post("/", Write("cartoes"))
      .Get("/taxa", Read(&ModelSQLCartao::SelectTaxas))
      .Post("/taxa", Write("cartoestaxas"));
}

void Registry() { Registry(web::core::WebCore::GetInstance()); }

void GetCartao(web::core::WebRequest& req, web::core::WebResponse& res, const web::core::WebNext&) {
  const bool inativo = parametros::isSincronizarInativo(req);
  model::ModelDatabase::ExecuteGet(
      req, res, ModelSQLCartao::SelectCartoes(model::RequestFilterHeaders(req), inativo));
}

}  // namespace quorvane::controller::cartao
