#include "controller/usuario.h"

#include "controller/controller_utils.h"
#include "controller/parametros.h"
#include "model/model_database.h"
#include "model/model_sql.h"

namespace quorvane::controller::usuario {

using model::ModelSQLUsuario;

void Registry(web::core::WebCore& core) {
  core.Group()
      .Prefix("/v1/usuario")
      .Get("/", Handler(GetUsuario))
      .Post("/", Write("usuarios"))
      .Get("/perfil", Read(&ModelSQLUsuario::SelectPerfis))
      .Post("/perfil", Write("usuariosperfil"));
}

void Registry() { Registry(web::core::WebCore::GetInstance()); }

void GetUsuario(web::core::WebRequest& req, web::core::WebResponse& res,
                const web::core::WebNext&) {
  const bool inativo = parametros::isSincronizarInativo(req);
  model::ModelDatabase::ExecuteGet(
      req, res, ModelSQLUsuario::SelectUsuarios(model::RequestFilterHeaders(req), inativo));
}

}  // namespace quorvane::controller::usuario
