#pragma once

// The fifteen single-table registries. Each has one path with exactly two
// routes, registered in this order: a GET that answers the catalogue's
// statement for the entity (narrowed by x-where, x-alterado-apos and
// x-filial-origem-filter, paged by limit/page) and a POST that upserts the
// body into the entity's table. No PUT or DELETE.
//
//   prefix                 sub-path        catalogue function                          table
//   /v1/administradora     /               ModelSQLAdministradora::SelectAdministradoras
//   administradoras /v1/cidade             /               ModelSQLCidade::SelectCidades cidades
//   /v1/contasapagar       /classificacao  ModelSQLContasAPagar::SelectClassificacoes
//   contasapagarclassificacao /v1/financeira         / ModelSQLFinanceira::SelectFinanceiras
//   financeiras /v1/fornecedor         /               ModelSQLFornecedor::SelectFornecedores
//   fornecedores /v1/grupo              /               ModelSQLGrupo::SelectGrupos grupos
//   /v1/pagamento/digital  /               ModelSQLPagDigital::SelectPagDigital        pagdigitais
//   /v1/parcelamento       /               ModelSQLParcelamento::SelectParcelamentos parcelamentos
//   /v1/profissional       /               ModelSQLProfissional::SelectProfissionais profissionais
//   /v1/representante      /               ModelSQLRepresentante::SelectRepresentantes
//   representantes /v1/rota               /               ModelSQLRota::SelectRotas rotas
//   /v1/subgrupo           /               ModelSQLSubgrupo::SelectSubgrupos           subgrupos
//   /v1/texto              /               ModelSQLTexto::SelectTextos                 textos
//   /v1/transportadora     /               ModelSQLTransportadora::SelectTransportadora
//   transportadoras /v1/vencimento         /               ModelSQLVencimento::SelectVencimentos
//   vencimentos
//
// Each Registry attaches its routes to `core` (the process-wide core when
// none is given). Called once, at start-up, before the server listens.

#include "web/core/web_core.h"

namespace quorvane::controller {

#define QV_SIMPLE_REGISTRY(name)           \
  namespace name {                         \
  void Registry(web::core::WebCore& core); \
  void Registry();                         \
  }

QV_SIMPLE_REGISTRY(administradora)
QV_SIMPLE_REGISTRY(cidade)
QV_SIMPLE_REGISTRY(contasapagar)
QV_SIMPLE_REGISTRY(financeira)
QV_SIMPLE_REGISTRY(fornecedor)
QV_SIMPLE_REGISTRY(grupo)
QV_SIMPLE_REGISTRY(pagdigital)
QV_SIMPLE_REGISTRY(parcelamento)
QV_SIMPLE_REGISTRY(profissional)
QV_SIMPLE_REGISTRY(representante)
QV_SIMPLE_REGISTRY(rota)
QV_SIMPLE_REGISTRY(subgrupo)
QV_SIMPLE_REGISTRY(texto)
QV_SIMPLE_REGISTRY(transportadora)
QV_SIMPLE_REGISTRY(vencimento)

#undef QV_SIMPLE_REGISTRY

}  // namespace quorvane::controller
