#include "controller/alteracaoestoque.h"

#include "controller/controller_utils.h"
#include "model/model_sql.h"

namespace quorvane::controller::alteracaoestoque {

using model::ModelSQLAlteracaoEstoque;

void Registry(web::core::WebCore& core) {
  core.Group()
      .Prefix("/v1/alteracaoestoque")
      .Get("/", Read(&ModelSQLAlteracaoEstoque::SelectAlteracaoEstoque))
      .Post("/", Write("alteracaoestoque"))
      .Get("/item", Read(&ModelSQLAlteracaoEstoque::SelectAlteracaoEstoqueItens))
      .Post("/item", Write("alteracaoestoqueitens"));
}

void Registry() { Registry(web::core::WebCore::GetInstance()); }

}  // namespace quorvane::controller::alteracaoestoque
