#include "controller/contasareceber.h"

#include <string>
#include <string_view>
#include <utility>

#include "controller/controller_utils.h"
#include "model/model_database.h"
#include "model/model_sql.h"

namespace quorvane::controller::contasareceber {
namespace {

using model::ModelSQLContasAReceber;
using web::core::WebCallback;
using web::core::WebNext;
using web::core::WebRequest;
using web::core::WebResponse;

// The key column of every receivable table.
constexpr std::string_view kKey = "codigo";

// The delete shape: the row of `table` whose codigo is the path's ID.
WebCallback Remove(std::string table) {
  return Handler([table = std::move(table)](WebRequest& req, WebResponse& res, const WebNext&) {
    model::ModelDatabase::ExecuteDelete(req, res, table, kKey);
  });
}

}  // namespace

void Registry(web::core::WebCore& core) {
  core.Group()
      .Prefix("/v1/contasareceber")
      .Get("/cheque", Read(&ModelSQLContasAReceber::SelectCheques))
      .Post("/cheque", Write("crcheques"))
      .Delete("/cheque/:ID", Remove("crcheques"))
      .Get("/duplicata", Read(&ModelSQLContasAReceber::SelectDuplicatas))
      .Post("/duplicata", Write("crduplicatas"))
      .Delete("/duplicata/:ID", Remove("crduplicatas"))
      .Get("/duplicata/baixado", Read(&ModelSQLContasAReceber::SelectDuplicatasBaixado))
      .Post("/duplicata/baixado", Write("crduplicatasbaixado"))
      .Delete("/duplicata/baixado/:ID", Remove("crduplicatasbaixado"))
      .Get("/bloqueto", Read(&ModelSQLContasAReceber::SelectBloquetos))
      .Post("/bloqueto", Write("bloquetoscobranca"))
      .Delete("/bloqueto/:ID", Remove("bloquetoscobranca"));
}

void Registry() { Registry(web::core::WebCore::GetInstance()); }

}  // namespace quorvane::controller::contasareceber
