#include "controller/convenio.h"

#include "controller/controller_utils.h"
#include "controller/parametros.h"
#include "model/model_database.h"
#include "model/model_sql.h"

namespace quorvane::controller::convenio {

using model::ModelSQLConvenio;

void Registry(web::core::WebCore& core) {
  core.Group()
      .Prefix("/v1/convenio")
      .Get("/", Handler(GetConvenios))
      .Post("/", Write("convenios"))
      .Get("/desconto/grupo", Read(&ModelSQLConvenio::SelectDescontosGrupos))
      .Post("/desconto/grupo", Write("conveniosdescontogrupos"))
      .Get("/desconto/subgrupo", Read(&ModelSQLConvenio::SelectDescontosSubgrupos))
      .Post("/desconto/subgrupo", Write("conveniosdescontosubgrupos"))
      .Get("/desconto", Read(&ModelSQLConvenio::SelectDescontosProdutos))
      .Post("/desconto", Write("conveniosdesconto"));
}

void Registry() { Registry(web::core::WebCore::GetInstance()); }

void GetConvenios(web::core::WebRequest& req, web::core::WebResponse& res,
                  const web::core::WebNext&) {
  const bool inativo = parametros::isSincronizarInativo(req);
  model::ModelDatabase::ExecuteGet(
      req, res, ModelSQLConvenio::SelectConvenios(model::RequestFilterHeaders(req), inativo));
}

}  // namespace quorvane::controller::convenio
