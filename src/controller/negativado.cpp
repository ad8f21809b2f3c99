#include "controller/negativado.h"

#include "controller/controller_utils.h"
#include "model/model_database.h"
#include "model/model_sql.h"

namespace quorvane::controller::negativado {

void Registry(web::core::WebCore& core) {
  core.Group()
      .Prefix("/v1/negativado")
      .Get("/", Read(&model::ModelSQLNegativado::SelectNegativados))
      .Post("/", Write("negativados"))
      .Delete("/:ID", Handler(Delete));
}

void Registry() { Registry(web::core::WebCore::GetInstance()); }

void Delete(web::core::WebRequest& req, web::core::WebResponse& res, const web::core::WebNext&) {
  model::ModelDatabase::ExecuteDelete(req, res, "negativados", "codigo");
}

}  // namespace quorvane::controller::negativado
