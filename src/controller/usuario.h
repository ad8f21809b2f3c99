#pragma once

// The ERP's users at the branches and their profiles (not the API accounts,
// see login.h).
//
//   GET/POST /v1/usuario          usuarios (inativo last when the tenant
//                                 synchronises inactive records)
//   GET/POST /v1/usuario/perfil   usuariosperfil

#include "web/core/web_callback.h"
#include "web/core/web_core.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"

namespace quorvane::controller::usuario {

// Registers the routes above on `core` (the process-wide core when none is
// given), in that order.
void Registry(web::core::WebCore& core);
void Registry();

// The users; with the tenant's sincronizar_inativo on, inativo is the last
// column of every user.
void GetUsuario(web::core::WebRequest& req, web::core::WebResponse& res,
                const web::core::WebNext& next);

}  // namespace quorvane::controller::usuario
