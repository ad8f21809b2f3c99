#include "controller/produto.h"

#include <exception>
#include <optional>
#include <string>
#include <utility>

#include "controller/controller_utils.h"
#include "controller/parametros.h"
#include "database/connection.h"
#include "lib/json.h"
#include "model/model_database.h"
#include "model/model_sql.h"
#include "model/model_sql_basic.h"
#include "web/core/web_send_response.h"

namespace quorvane::controller::produto {

using model::ModelDatabase;
using model::ModelSQLProduto;
using web::core::WebCallbackInterrupted;
using web::core::WebNext;
using web::core::WebRequest;
using web::core::WebResponse;
using web::core::WebSendResponse;

namespace {

constexpr std::string_view kMissingEANParts =
    "É necessário informar um código de produto e um código de barras para deletar o registro.";
constexpr std::string_view kInvalidEAN = "Código de produto ou código de barras inválido(s)";
constexpr std::string_view kInvalidId = "ID inválido: ";

std::string Param(const WebRequest& req, std::string_view name) {
  const auto it = req.Params().find(name);
  return it == req.Params().end() ? std::string() : it->second;
}

}  // namespace

void Registry(web::core::WebCore& core) {
  core.Group()
      .Prefix("/v1/produto")
      .Get("/", Handler(GetProduto))
      .Post("/", Write("produtos"))
      .Get("/classificacao", Read(&ModelSQLProduto::SelectClassificacoes))
      .Post("/classificacao", Write("produtosclassificacao"))
      .Get("/classificado", Read(&ModelSQLProduto::SelectClassificados))
      .Post("/classificado", Write("produtosclassificados"))
      .Get("/ean", Read(&ModelSQLProduto::SelectEAN))
      .Post("/ean", Write("produtosean"))
      .Delete("/ean/:codproduto/:codbarras", Handler(DeleteEAN))
      .Get("/filial", Read(&ModelSQLProduto::SelectDadosFilial))
      .Post("/filial", Write("produtosfiliais"))
      .Get("/estoque/:ID", Handler(GetEstoque))
      .Get("/codigofornecedor", Read(&ModelSQLProduto::SelectCodigosNoFornecedor))
      .Post("/codigofornecedor", Write("codigosnofornecedor"))
      .Get("/referencia", Read(&ModelSQLProduto::SelectReferencias))
      .Post("/referencia", Write("referencias"))
      .Get("/unidade", Read(&ModelSQLProduto::SelectUnidades))
      .Post("/unidade", Write("unidades"));
}

void Registry() { Registry(web::core::WebCore::GetInstance()); }

void GetProduto(WebRequest& req, WebResponse& res, const WebNext&) {
  // Taxation first, then inactive records: the order in which branch systems
  // expect the tenant row to be consulted.
  const bool tributacao = parametros::isSincronizarTributacao(req);
  const bool inativo = parametros::isSincronizarInativo(req);
  ModelDatabase::ExecuteGet(
      req, res,
      ModelSQLProduto::SelectProdutos(model::RequestFilterHeaders(req), inativo, tributacao));
}

void DeleteEAN(WebRequest& req, WebResponse& res, const WebNext&) {
  const std::string codproduto = Param(req, "codproduto");
  const std::string codbarras = Param(req, "codbarras");
  if (codproduto.empty() || codbarras.empty()) {
    WebSendResponse::SendMessageBadRequest(res, kMissingEANParts);
    return;
  }
  // The product code goes into the statement as a number; anything else
  // ("10 or 1=1") could widen the delete and never reaches the database.
  if (!model::IsIntegerKey(codproduto)) {
    WebSendResponse::SendMessageBadRequest(res, kInvalidEAN);
    return;
  }
  try {
    ModelDatabase::ExecuteSQL(req, "Delete from produtosean Where codproduto = " + codproduto +
                                       " and codbarras = " + model::QuoteSqlLiteral(codbarras));
  } catch (const std::exception&) {
    WebSendResponse::SendMessageBadRequest(res, kInvalidEAN);
    return;
  }
  WebSendResponse::NoContent(res);
}

std::string EstoqueSQL(std::string_view id) {
  std::string sql =
      "SELECT\r\n"
      "  pf.codfilial,\r\n"
      "  f.nome as filial,\r\n"
      "  pf.quantidade,\r\n"
      "  pf.dtultalteracaoregistro\r\n"
      "FROM\r\n"
      "  produtosfiliais pf\r\n"
      "  left join filiais f on f.codigo = pf.codfilial\r\n"
      "WHERE\r\n"
      "  pf.codproduto = ";
  sql.append(id);
  // The branch code after the name keeps the order, and so the pages,
  // stable when two branches share a name.
  sql +=
      "\r\n"
      "  and f.consultarestoque = 'S'\r\n"
      "ORDER BY\r\n"
      "  f.nome,\r\n"
      "  pf.codfilial";
  return sql;
}

std::string PrecosEstoqueSQL(std::string_view id) {
  std::string sql =
      "SELECT\r\n"
      "  t.descricao as tabela,\r\n"
      "  ti.preco,\r\n"
      "  ti.dtultalteracaoregistro\r\n"
      "FROM\r\n"
      "  tabelaprecositens ti\r\n"
      "  left join tabelaprecos t on t.codigo = ti.codtabelaprecos\r\n"
      "WHERE\r\n"
      "  ti.codproduto = ";
  sql.append(id);
  // As above, the table code settles ties between equal descriptions.
  sql +=
      "\r\n"
      "  AND ti.codfilial = %s\r\n"
      "  AND ti.preco > 0\r\n"
      "ORDER BY\r\n"
      "  t.descricao,\r\n"
      "  ti.codtabelaprecos";
  return sql;
}

void GetEstoque(WebRequest& req, WebResponse& res, const WebNext&) {
  const std::string id = Param(req, "ID");
  if (!model::IsIntegerKey(id)) {
    WebSendResponse::SendMessageBadRequest(res, std::string(kInvalidId) + id);
    throw WebCallbackInterrupted();
  }

  database::DatabaseConnection& connection = ModelDatabase::RequestConnection(req);
  std::optional<lib::JsonValue> stock = connection.SelectToJSONArray(req, EstoqueSQL(id), false);
  if (!stock) {
    WebSendResponse::SendMessageUnprocessableEntity(res);
    return;
  }

  const std::string precos = PrecosEstoqueSQL(id);
  for (lib::JsonValue& branch : stock->AsArray()) {
    const lib::JsonValue* codfilial = branch.Find("codfilial");
    // codfilial is an integer column of the key of produtosfiliais; its
    // decimal text is all that goes into the statement.
    const std::string filial =
        codfilial && codfilial->IsNumber() ? codfilial->ToText() : std::string("NULL");
    branch.Add("precos", connection.SelectToJSONArrayAndNotNil(
                             req, precos, database::FormatArgs{filial}, false));
  }
  res.Send(std::move(*stock));
}

}  // namespace quorvane::controller::produto
