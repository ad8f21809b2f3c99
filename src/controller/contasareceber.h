#pragma once

// The tenant's accounts receivable, exchanged with the branches: cheques
// received, receivable titles, the payments booked against titles, and bank
// collection bills. Every kind can be deleted again by its code, so that a
// branch can withdraw a receivable it uploaded.
//
//   GET    /v1/contasareceber/cheque                  ModelSQLContasAReceber::SelectCheques
//   POST   /v1/contasareceber/cheque                  crcheques
//   DELETE /v1/contasareceber/cheque/:ID              crcheques
//   GET    /v1/contasareceber/duplicata               ModelSQLContasAReceber::SelectDuplicatas
//   POST   /v1/contasareceber/duplicata               crduplicatas
//   DELETE /v1/contasareceber/duplicata/:ID           crduplicatas
//   GET    /v1/contasareceber/duplicata/baixado ModelSQLContasAReceber::SelectDuplicatasBaixado
//   POST   /v1/contasareceber/duplicata/baixado       crduplicatasbaixado
//   DELETE /v1/contasareceber/duplicata/baixado/:ID   crduplicatasbaixado
//   GET    /v1/contasareceber/bloqueto                ModelSQLContasAReceber::SelectBloquetos
//   POST   /v1/contasareceber/bloqueto                bloquetoscobranca
//   DELETE /v1/contasareceber/bloqueto/:ID            bloquetoscobranca
//
// Registered in this order; nothing on the group root. GET and POST are the
// read and write shapes of controller_utils.h. A DELETE removes the one row
// whose codigo is ID (ModelDatabase::ExecuteDelete: 204, also when no row
// matched; 400 "ID inválido: <ID>" for an ID that is not a decimal integer)
// and nothing else: no payment or bill of a deleted title goes with it.

#include "web/core/web_core.h"

namespace quorvane::controller::contasareceber {

// Registers the twelve routes on `core` (the process-wide core when none is
// given).
void Registry(web::core::WebCore& core);
void Registry();

}  // namespace quorvane::controller::contasareceber
