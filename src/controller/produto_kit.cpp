#include "controller/produto_kit.h"

#include "controller/controller_utils.h"
#include "model/model_sql.h"

namespace quorvane::controller::produto_kit {

using model::ModelSQLKit;

void Registry(web::core::WebCore& core) {
  core.Group()
      .Prefix("/v1/kit")
      .Get("/", Read(&ModelSQLKit::SelectKits))
      .Post("/", Write("kits"))
      .Get("/item", Read(&ModelSQLKit::SelectItens))
      .Post("/item", Write("kitsitens"));
}

void Registry() { Registry(web::core::WebCore::GetInstance()); }

}  // namespace quorvane::controller::produto_kit
