#pragma once

// The entity query catalogue: for every registry that branch systems
// download, the SELECT that a GET runs. The column lists, in their order, are
// the JSON record layouts that the branches receive, so a column is never
// renamed, moved or dropped here without the clients.
//
// Every function builds its text anew and has no state. Statement layout:
//
//   Select
//     col1,
//     col2
//   From
//     table
//   Where            (only with a fixed condition)
//     condition
//
// with CR LF line breaks. ModelSQLBasic::PrepareSQL recognises the "Where"
// followed by a line break and continues a fixed condition with " and ".
//
// The functions that take SqlFilterHeaders return the statement already
// narrowed by the request's filter headers (see ModelSQLBasic::PrepareSQL,
// whose FilterHeaderError they pass on); those of ModelSQLParametro run on
// the control schema and are not narrowed.

#include <string>
#include <string_view>

#include "model/model_sql_basic.h"

namespace quorvane::model {

// Places, partners and reference lists.

class ModelSQLCidade : public ModelSQLBasic {
 public:
  static std::string SelectCidades(const SqlFilterHeaders& headers);
};

class ModelSQLAdministradora : public ModelSQLBasic {
 public:
  static std::string SelectAdministradoras(const SqlFilterHeaders& headers);
};

class ModelSQLFornecedor : public ModelSQLBasic {
 public:
  static std::string SelectFornecedores(const SqlFilterHeaders& headers);
};

class ModelSQLTransportadora : public ModelSQLBasic {
 public:
  static std::string SelectTransportadora(const SqlFilterHeaders& headers);
};

class ModelSQLRepresentante : public ModelSQLBasic {
 public:
  static std::string SelectRepresentantes(const SqlFilterHeaders& headers);
};

class ModelSQLProfissional : public ModelSQLBasic {
 public:
  static std::string SelectProfissionais(const SqlFilterHeaders& headers);
};

class ModelSQLFinanceira : public ModelSQLBasic {
 public:
  static std::string SelectFinanceiras(const SqlFilterHeaders& headers);
};

class ModelSQLRota : public ModelSQLBasic {
 public:
  static std::string SelectRotas(const SqlFilterHeaders& headers);
};

class ModelSQLTexto : public ModelSQLBasic {
 public:
  static std::string SelectTextos(const SqlFilterHeaders& headers);
};

class ModelSQLPagDigital : public ModelSQLBasic {
 public:
  static std::string SelectPagDigital(const SqlFilterHeaders& headers);
};

class ModelSQLParcelamento : public ModelSQLBasic {
 public:
  static std::string SelectParcelamentos(const SqlFilterHeaders& headers);
};

class ModelSQLVencimento : public ModelSQLBasic {
 public:
  static std::string SelectVencimentos(const SqlFilterHeaders& headers);
};

class ModelSQLFilial : public ModelSQLBasic {
 public:
  // Never lists the head office (code 0): fixed condition "codigo > 0".
  static std::string SelectFiliais(const SqlFilterHeaders& headers);
};

class ModelSQLNegativado : public ModelSQLBasic {
 public:
  static std::string SelectNegativados(const SqlFilterHeaders& headers);
};

// Customers.

class ModelSQLCliente : public ModelSQLBasic {
 public:
  // 69 columns, then `inativo` when `inativo` is true.
  static std::string SelectClientes(const SqlFilterHeaders& headers, bool inativo);
  static std::string SelectClassificacoes(const SqlFilterHeaders& headers);
  static std::string SelectClassificados(const SqlFilterHeaders& headers);
  static std::string SelectEnderecos(const SqlFilterHeaders& headers);
  static std::string SelectTelefones(const SqlFilterHeaders& headers);
  static std::string SelectDescontos(const SqlFilterHeaders& headers);
};

// Products, groups, kits, prices and stock changes.

class ModelSQLProduto : public ModelSQLBasic {
 public:
  // 48 columns, then `inativo` when `inativo` is true, then the 23 taxation
  // columns (ending with `cest`) when `tributacao` is true.
  static std::string SelectProdutos(const SqlFilterHeaders& headers, bool inativo, bool tributacao);
  static std::string SelectClassificacoes(const SqlFilterHeaders& headers);
  static std::string SelectClassificados(const SqlFilterHeaders& headers);
  static std::string SelectEAN(const SqlFilterHeaders& headers);
  static std::string SelectDadosFilial(const SqlFilterHeaders& headers);
  static std::string SelectCodigosNoFornecedor(const SqlFilterHeaders& headers);
  static std::string SelectReferencias(const SqlFilterHeaders& headers);
  static std::string SelectUnidades(const SqlFilterHeaders& headers);
};

class ModelSQLGrupo : public ModelSQLBasic {
 public:
  static std::string SelectGrupos(const SqlFilterHeaders& headers);
};

class ModelSQLSubgrupo : public ModelSQLBasic {
 public:
  static std::string SelectSubgrupos(const SqlFilterHeaders& headers);
};

class ModelSQLKit : public ModelSQLBasic {
 public:
  static std::string SelectKits(const SqlFilterHeaders& headers);
  static std::string SelectItens(const SqlFilterHeaders& headers);
};

class ModelSQLPrecos : public ModelSQLBasic {
 public:
  static std::string SelectTabelas(const SqlFilterHeaders& headers);
  // `filter`, when not empty, becomes the statement's fixed condition as SQL
  // text: the caller builds it from trusted parts only ("codfilial = -1", or
  // "codfilial = " and a branch code already checked to be digits).
  static std::string SelectTabelasItens(const SqlFilterHeaders& headers, std::string_view filter);
};

class ModelSQLAlteracaoEstoque : public ModelSQLBasic {
 public:
  static std::string SelectAlteracaoEstoque(const SqlFilterHeaders& headers);
  // The items under the alias `aei`, with `codfilial` and `codfilialdestino`
  // of the owning change (alias `ae`). The filter headers apply to the
  // item's own columns (aei.dtultalteracaoregistro, aei.codfilialorigem).
  static std::string SelectAlteracaoEstoqueItens(const SqlFilterHeaders& headers);
};

// Receivables, payables, banks, cards and agreements.

class ModelSQLContasAReceber : public ModelSQLBasic {
 public:
  static std::string SelectCheques(const SqlFilterHeaders& headers);
  static std::string SelectDuplicatas(const SqlFilterHeaders& headers);
  static std::string SelectDuplicatasBaixado(const SqlFilterHeaders& headers);
  static std::string SelectBloquetos(const SqlFilterHeaders& headers);
};

class ModelSQLContasAPagar : public ModelSQLBasic {
 public:
  static std::string SelectClassificacoes(const SqlFilterHeaders& headers);
};

class ModelSQLBanco : public ModelSQLBasic {
 public:
  static std::string SelectGrupos(const SqlFilterHeaders& headers);
  static std::string SelectHistoricos(const SqlFilterHeaders& headers);
  static std::string SelectContas(const SqlFilterHeaders& headers);
};

class ModelSQLCartao : public ModelSQLBasic {
 public:
  // Then `inativo` when `inativo` is true.
  static std::string SelectCartoes(const SqlFilterHeaders& headers, bool inativo);
  static std::string SelectTaxas(const SqlFilterHeaders& headers);
};

class ModelSQLConvenio : public ModelSQLBasic {
 public:
  // Then `inativo` when `inativo` is true.
  static std::string SelectConvenios(const SqlFilterHeaders& headers, bool inativo);
  static std::string SelectDescontosGrupos(const SqlFilterHeaders& headers);
  static std::string SelectDescontosSubgrupos(const SqlFilterHeaders& headers);
  static std::string SelectDescontosProdutos(const SqlFilterHeaders& headers);
};

// Taxation.

class ModelSQLTributacao : public ModelSQLBasic {
 public:
  static std::string SelectAliquotas(const SqlFilterHeaders& headers);
  static std::string SelectAliquotasSecundarias(const SqlFilterHeaders& headers);
  static std::string SelectCFOP(const SqlFilterHeaders& headers);
  static std::string SelectMVA(const SqlFilterHeaders& headers);
};

// Users and logins.

class ModelSQLUsuario : public ModelSQLBasic {
 public:
  // Then `inativo` when `inativo` is true.
  static std::string SelectUsuarios(const SqlFilterHeaders& headers, bool inativo);
  static std::string SelectPerfis(const SqlFilterHeaders& headers);
};

class ModelSQLLogin : public ModelSQLBasic {
 public:
  static std::string SelectLogin(const SqlFilterHeaders& headers);
};

// Tenant control, run on the control schema `_stru`. `schema` (the x-schema
// header) goes in as a quoted literal (QuoteSqlLiteral); no filter headers.

class ModelSQLParametro {
 public:
  // manutencao, sincronizar_tributacao, sincronizar_inativo, igualar_precos.
  static std::string SelectParametros(std::string_view schema);
  // manutencao.
  static std::string SelectManutencao(std::string_view schema);
};

}  // namespace quorvane::model
