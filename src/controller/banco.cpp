#include "controller/banco.h"

#include "controller/controller_utils.h"
#include "model/model_sql.h"

namespace quorvane::controller::banco {

using model::ModelSQLBanco;

void Registry(web::core::WebCore& core) {
  core.Group()
      .Prefix("/v1/banco")
      .Get("/grupo", Read(&ModelSQLBanco::SelectGrupos))
      .Post("/grupo", Write("gruposbanco"))
      .Get("/historico", Read(&ModelSQLBanco::SelectHistoricos))
      .Post("/historico", Write("historicos"))
      .Get("/conta", Read(&ModelSQLBanco::SelectContas))
      .Post("/conta", Write("contas"));
}

void Registry() { Registry(web::core::WebCore::GetInstance()); }

}  // namespace quorvane::controller::banco
