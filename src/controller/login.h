#pragma once

// The tenant's API accounts (table login), against which every request's
// x-user / x-pass are checked:
//
//   GET  /v1/login                 GetLogin          id, login, senha, ativo
//   POST /v1/login                 PostLogin         upsert, never codfilialorigem
//   PUT  /v1/login/:ID/ativar      PutLoginAtivar    ativo := 1
//   PUT  /v1/login/:ID/inativar    PutLoginInativar  ativo := 0, unless no other
//                                                    account would stay active
//
// Switching off never leaves the tenant without an active account, also when
// several requests switch accounts off at the same moment.

#include "web/core/web_callback.h"
#include "web/core/web_core.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"

namespace quorvane::controller::login {

// Registers the four routes on `core` (the process-wide core when none is
// given).
void Registry(web::core::WebCore& core);
void Registry();

void GetLogin(web::core::WebRequest& req, web::core::WebResponse& res,
              const web::core::WebNext& next);
void PostLogin(web::core::WebRequest& req, web::core::WebResponse& res,
               const web::core::WebNext& next);
void PutLoginAtivar(web::core::WebRequest& req, web::core::WebResponse& res,
                    const web::core::WebNext& next);
void PutLoginInativar(web::core::WebRequest& req, web::core::WebResponse& res,
                      const web::core::WebNext& next);

// Sets ativo of the account of the path parameter ID to `value` (1 or 0) and
// answers 204. Refusals, each with nothing written:
//   400 "ID de login não informado."               no ID
//   400 "ID inválido: <ID>"                        ID not a decimal integer, or
//                                                  no account has it
//   400 "Não é permitido todos os logins do schema" value 0 while no other
//                                                  account is active
// The check and the write run in one transaction that holds every row of
// login locked, so concurrent switches are decided one after the other and
// at least one active account always remains.
void StatusLogin(web::core::WebRequest& req, web::core::WebResponse& res, int value);

}  // namespace quorvane::controller::login
