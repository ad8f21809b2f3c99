#pragma once

// The tenant's customers: the customer registry with five dependent
// registries, and the credit situation a branch asks for before a sale on
// credit.
//
//   GET  /v1/cliente                 GetCliente (inativo last when the tenant
//                                    synchronises it)
//   POST /v1/cliente                 clientes
//   GET  /v1/cliente/classificacao   ModelSQLCliente::SelectClassificacoes
//   POST /v1/cliente/classificacao   clientesclassificacao
//   GET  /v1/cliente/classificado    ModelSQLCliente::SelectClassificados
//   POST /v1/cliente/classificado    clientesclassificados
//   GET  /v1/cliente/endereco        ModelSQLCliente::SelectEnderecos
//   POST /v1/cliente/endereco        clientesenderecos
//   GET  /v1/cliente/telefone        ModelSQLCliente::SelectTelefones
//   POST /v1/cliente/telefone        clientescelulares
//   GET  /v1/cliente/desconto        ModelSQLCliente::SelectDescontos
//   POST /v1/cliente/desconto        clientesdesconto
//   GET  /v1/cliente/financeiro/:ID  GetFinanceiro
//
// Registered in this order. The GETs are the read shape and the POSTs the
// write shape of controller_utils.h.

#include <string>
#include <string_view>

#include "web/core/web_callback.h"
#include "web/core/web_core.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"

namespace quorvane::controller::cliente {

// Registers the thirteen routes on `core` (the process-wide core when none is
// given).
void Registry(web::core::WebCore& core);
void Registry();

// The customers in the catalogue's record layout, with the column inativo as
// the last key when the tenant's sincronizar_inativo is 1.
void GetCliente(web::core::WebRequest& req, web::core::WebResponse& res,
                const web::core::WebNext& next);

// The credit situation of customer ID, one JSON object:
//   nome, limite, bloqueado, motivobloqueio, cnpj_cpf, diasbloqueio, juros,
//   clidescontorecebimento, vendaduplicata, vendacheque, vendacartao,
//   vendafinanceira        the customer's credit terms (NULL defaults: 0,
//                          "N", "S" for juros; motivobloqueio and cnpj_cpf
//                          kept as NULL)
//   duplicata, boleto, cheque
//                          {"menorvencimento": earliest due date or null,
//                           "titulos": [...]} of the open receivable titles,
//                          collection bills and cheques of the branches that
//                          share them (filiais.consultarduplicatas /
//                          consultarcheques = 'S')
//   negativado             "S" when cnpj_cpf is on the defaulters list
//   negativado_motivo      the stored reason ("" for NULL), null when not
//                          listed
// The lists are never paged. 422 null when there is no such customer; 400
// "ID inválido: <ID>" when ID is not a decimal integer, before any statement
// runs. Every statement runs on the request's one database lease.
void GetFinanceiro(web::core::WebRequest& req, web::core::WebResponse& res,
                   const web::core::WebNext& next);

}  // namespace quorvane::controller::cliente
