#include "controller/cliente.h"

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

namespace quorvane::controller::cliente {
namespace {

using database::DatabaseConnection;
using lib::JsonValue;
using model::ModelDatabase;
using model::ModelSQLCliente;
using web::core::WebCallbackInterrupted;
using web::core::WebNext;
using web::core::WebRequest;
using web::core::WebResponse;
using web::core::WebSendResponse;

constexpr std::string_view kInvalidId = "ID inválido: ";

// --- The statements of the credit situation ----------------------------------
// `id` is a customer code that passed model::IsIntegerKey, so it goes in as a number.

// The customer's credit terms; the first members of the document.
std::string CustomerSql(const std::string& id) {
  return "Select\r\n"
         "  c.nome,\r\n"
         "  coalesce(c.limite, 0) as limite,\r\n"
         "  coalesce(c.bloqueado, 'N') as bloqueado,\r\n"
         "  c.motivobloqueio,\r\n"
         "  c.cnpj_cpf,\r\n"
         "  coalesce(c.diasbloqueio, 0) as diasbloqueio,\r\n"
         "  coalesce(c.juros, 'S') as juros,\r\n"
         "  coalesce(c.clidescontorecebimento, 0) as clidescontorecebimento,\r\n"
         "  coalesce(c.vendaduplicata, 'N') as vendaduplicata,\r\n"
         "  coalesce(c.vendacheque, 'N') as vendacheque,\r\n"
         "  coalesce(c.vendacartao, 'N') as vendacartao,\r\n"
         "  coalesce(c.vendafinanceira, 'N') as vendafinanceira\r\n"
         "From\r\n"
         "  clientes c\r\n"
         "Where\r\n"
         "  c.codigo = " +
         id;
}

// Open receivable titles of the branches that share them: not settled, not
// discounted, not charged through a collection bill. `with_credits` keeps the
// credit entries (tipo 'C') that the list shows but the earliest due date
// leaves out.
std::string DuplicatasFromWhere(const std::string& id, bool with_credits) {
  return "From\r\n"
         "  crduplicatas d\r\n"
         "  left join filiais f on f.codigo = d.codfilial\r\n"
         "Where\r\n"
         "  f.consultarduplicatas = 'S'\r\n"
         "  and d.codcliente = " +
         id + "\r\n  and d.baixado <> 'S'\r\n" + (with_credits ? "" : "  and d.tipo <> 'C'\r\n") +
         "  and d.codbloquetocobranca is null\r\n"
         "  and coalesce(d.descontado, 'N') <> 'S'";
}

std::string DuplicatasSummarySql(const std::string& id) {
  return "Select\r\n"
         "  min(d.dtvencimento) menorvencimento\r\n" +
         DuplicatasFromWhere(id, false);
}

// What is left to pay of title d: its value less, over every payment booked
// against it, the amount paid plus the discount granted less the interest
// charged.
constexpr std::string_view kRemaining =
    "(select coalesce(d.valor, 0) - coalesce(sum(coalesce(db.valor, 0) + "
    "coalesce(db.desconto, 0) - coalesce(db.juros, 0)), 0) from crduplicatasbaixado db "
    "where db.codcrduplicata = d.codigo)";

// A debt shows its remaining amount as valoraberto, a credit entry as
// credito. Each CASE evaluates the remaining amount only in its own branch,
// so it is computed once per title.
std::string DuplicatasListSql(const std::string& id) {
  return "Select\r\n"
         "  d.codigo,\r\n"
         "  d.dtvencimento,\r\n"
         "  coalesce(d.restanteconta, 'N') as restanteconta,\r\n"
         "  coalesce(d.tipo, 'D') as tipo,\r\n"
         "  coalesce(d.valor, 0) as valor,\r\n"
         "  d.nrtitulo,\r\n"
         "  d.codcliente,\r\n"
         "  d.dtemissao,\r\n"
         "  d.codconvenio,\r\n"
         "  case when d.tipo = 'C' then 0 else " +
         std::string(kRemaining) +
         " end as valoraberto,\r\n"
         "  case when d.tipo = 'C' then " +
         std::string(kRemaining) +
         " else 0 end as credito,\r\n"
         "  d.codfilial,\r\n"
         "  f.nome AS filial\r\n" +
         DuplicatasFromWhere(id, true) +
         "\r\n"
         "Order by\r\n"
         "  d.dtvencimento, d.codigo";
}

// Open collection bills (status 1 and 2). Their branches share them under the
// flag of the receivable titles.
std::string BloquetosFromWhere(const std::string& id) {
  return "From\r\n"
         "  bloquetoscobranca b\r\n"
         "  left join filiais f on f.codigo = b.codfilial\r\n"
         "Where\r\n"
         "  f.consultarduplicatas = 'S'\r\n"
         "  and b.codcliente = " +
         id +
         "\r\n"
         "  and b.status in (1, 2)";
}

std::string BloquetosSummarySql(const std::string& id) {
  return "Select\r\n"
         "  min(b.dtvencimento) menorvencimento\r\n" +
         BloquetosFromWhere(id);
}

std::string BloquetosListSql(const std::string& id) {
  return "Select\r\n"
         "  b.codigo,\r\n"
         "  b.documento,\r\n"
         "  b.nossonumero,\r\n"
         "  coalesce(b.valor, 0) AS valor,\r\n"
         "  coalesce(b.taxaboleto, 0) AS taxa,\r\n"
         "  b.dtvencimento,\r\n"
         "  b.dtemissao\r\n" +
         BloquetosFromWhere(id);
}

// Cheques not yet cleared. A cheque without value still counts for the
// earliest due date but is not listed.
std::string ChequesFromWhere(const std::string& id, bool valued_only) {
  return "From\r\n"
         "  crcheques b\r\n"
         "  left join filiais f on f.codigo = b.codfilial\r\n"
         "Where\r\n"
         "  f.consultarcheques = 'S'\r\n"
         "  and b.codcliente = " +
         id + "\r\n  and b.baixado <> 'S'" +
         (valued_only ? "\r\n  and coalesce(b.valor, 0) > 0" : "");
}

std::string ChequesSummarySql(const std::string& id) {
  return "Select\r\n"
         "  MIN(b.dtvencimento) AS menorvencimento\r\n" +
         ChequesFromWhere(id, false);
}

std::string ChequesListSql(const std::string& id) {
  return "Select\r\n"
         "  b.numero,\r\n"
         "  b.conta,\r\n"
         "  b.banco,\r\n"
         "  b.emitente,\r\n"
         "  b.dtemissao,\r\n"
         "  b.dtvencimento,\r\n"
         "  coalesce(b.valor, 0) AS valor,\r\n"
         "  coalesce(b.devolvido, 'N') AS devolvido\r\n" +
         ChequesFromWhere(id, true);
}

// The first entry of `cnpj` on the defaulters list. The tax number comes from
// the customer record, which branches upload: quoted so that neither a quote
// nor a backslash in it can change the statement.
std::string NegativadoSql(std::string_view cnpj) {
  return "Select\r\n"
         "  motivo\r\n"
         "From\r\n"
         "  negativados\r\n"
         "Where\r\n"
         "  cnpj = " +
         model::QuoteSqlLiteral(cnpj) + "\r\nLimit 1";
}

// {"menorvencimento": ..., "titulos": [...]}: the summary row, and every row
// of the list whatever the request's limit and page.
JsonValue SummaryWithList(WebRequest& req, DatabaseConnection& db, const std::string& summary_sql,
                          const std::string& list_sql) {
  JsonValue summary = db.SelectToJSONObjectAndNotNil(summary_sql);
  summary.Add("titulos", db.SelectToJSONArrayAndNotNil(req, list_sql, /*ignore_pagination=*/true));
  return summary;
}

// A member read as text: a string or number as written, null (or no member)
// as "".
std::string MemberText(const JsonValue& object, std::string_view name) {
  const JsonValue* value = object.Find(name);
  return value == nullptr || value->IsNull() ? std::string() : value->ToText();
}

// negativado and negativado_motivo of the document.
void AddNegativado(DatabaseConnection& db, JsonValue& document) {
  const std::string cnpj = MemberText(document, "cnpj_cpf");
  std::optional<JsonValue> entry;
  if (!cnpj.empty()) entry = db.SelectToJSONObject(NegativadoSql(cnpj));
  if (entry) {
    document.Add("negativado", JsonValue::String("S"));
    document.Add("negativado_motivo", JsonValue::String(MemberText(*entry, "motivo")));
  } else {
    document.Add("negativado", JsonValue::String("N"));
    document.Add("negativado_motivo", JsonValue::Null());
  }
}

std::string PathId(const WebRequest& req) {
  const auto it = req.Params().find("ID");
  return it == req.Params().end() ? std::string() : it->second;
}

}  // namespace

void Registry(web::core::WebCore& core) {
  core.Group()
      .Prefix("/v1/cliente")
      .Get("/", Handler(GetCliente))
      .Post("/", Write("clientes"))
      .Get("/classificacao", Read(&ModelSQLCliente::SelectClassificacoes))
      .Post("/classificacao", Write("clientesclassificacao"))
      .Get("/classificado", Read(&ModelSQLCliente::SelectClassificados))
      .Post("/classificado", Write("clientesclassificados"))
      .Get("/endereco", Read(&ModelSQLCliente::SelectEnderecos))
      .Post("/endereco", Write("clientesenderecos"))
      .Get("/telefone", Read(&ModelSQLCliente::SelectTelefones))
      .Post("/telefone", Write("clientescelulares"))
      .Get("/desconto", Read(&ModelSQLCliente::SelectDescontos))
      .Post("/desconto", Write("clientesdesconto"))
      .Get("/financeiro/:ID", Handler(GetFinanceiro));
}

void Registry() { Registry(web::core::WebCore::GetInstance()); }

void GetCliente(WebRequest& req, WebResponse& res, const WebNext&) {
  const std::string sql = ModelSQLCliente::SelectClientes(model::RequestFilterHeaders(req),
                                                          parametros::isSincronizarInativo(req));
  ModelDatabase::ExecuteGet(req, res, sql);
}

void GetFinanceiro(WebRequest& req, WebResponse& res, const WebNext&) {
  const std::string id = PathId(req);
  // The code is written into every statement as a number; anything else
  // ("1 or 1=1") could answer another customer's credit data.
  if (!model::IsIntegerKey(id)) {
    WebSendResponse::SendMessageBadRequest(res, std::string(kInvalidId) + id);
    throw WebCallbackInterrupted();
  }

  DatabaseConnection& db = ModelDatabase::RequestConnection(req);
  std::optional<JsonValue> document = db.SelectToJSONObject(CustomerSql(id));
  if (!document) {
    WebSendResponse::SendMessageUnprocessableEntity(res);
    return;
  }
  document->Add("duplicata",
                SummaryWithList(req, db, DuplicatasSummarySql(id), DuplicatasListSql(id)));
  document->Add("boleto", SummaryWithList(req, db, BloquetosSummarySql(id), BloquetosListSql(id)));
  document->Add("cheque", SummaryWithList(req, db, ChequesSummarySql(id), ChequesListSql(id)));
  AddNegativado(db, *document);
  res.Send(std::move(*document));
}

}  // namespace quorvane::controller::cliente
