#include "controller/filial.h"

#include <cstdint>
#include <string>

#include "controller/controller_utils.h"
#include "controller/request_transaction.h"
#include "model/model_database.h"
#include "model/model_sql.h"

namespace quorvane::controller::filial {

using model::ModelDatabase;

void Registry(web::core::WebCore& core) {
  core.Group()
      .Prefix("/v1/filial")
      .Get("/", Read(&model::ModelSQLFilial::SelectFiliais))
      .Post("/", Write("filiais"))
      .Get("/newid", Handler(GetNewIDFilial));
}

void Registry() { Registry(web::core::WebCore::GetInstance()); }

void GetNewIDFilial(web::core::WebRequest& req, web::core::WebResponse& res,
                    const web::core::WebNext&) {
  lib::JsonValue placeholder = lib::JsonValue::MakeObject();
  placeholder.Add("nome", lib::JsonValue::String("autoincrement"));
  model::ModelDatabaseParameters parameters;
  parameters.setBody(std::move(placeholder)).setGravarFilialOrigem(false);

  RequestTransaction transaction(ModelDatabase::RequestConnection(req));
  // Answers the request itself: {"id": N}, 204 without a generated code, or
  // 400 (and the chain stops) when the insert is refused.
  const std::int64_t id = ModelDatabase::ExecutePost(req, res, "filiais", std::move(parameters));
  if (id == 0) {
    // Nothing identifies the placeholder by code; undo the insert instead.
    transaction.Rollback();
    return;
  }
  ModelDatabase::ExecuteSQL(req, "Delete from filiais Where codigo = " + std::to_string(id));
  transaction.Commit();
}

}  // namespace quorvane::controller::filial
