#include "controller/tributacao.h"

#include "controller/controller_utils.h"
#include "model/model_sql.h"

namespace quorvane::controller::tributacao {

using model::ModelSQLTributacao;

void Registry(web::core::WebCore& core) {
  core.Group()
      .Prefix("/v1")
      .Get("/aliquota", Read(&ModelSQLTributacao::SelectAliquotas))
      .Post("/aliquota", Write("aliquotas"))
      .Get("/aliquota/secundaria", Read(&ModelSQLTributacao::SelectAliquotasSecundarias))
      .Post("/aliquota/secundaria", Write("aliquotassecundarias"))
      .Get("/cfop", Read(&ModelSQLTributacao::SelectCFOP))
      .Post("/cfop", Write("cfop"))
      .Get("/mva", Read(&ModelSQLTributacao::SelectMVA))
      .Post("/mva", Write("mva"));
}

void Registry() { Registry(web::core::WebCore::GetInstance()); }

}  // namespace quorvane::controller::tributacao
