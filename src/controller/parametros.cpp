#include "controller/parametros.h"

#include <stdexcept>
#include <string>

#include "controller/controller_utils.h"
#include "model/model_database.h"
#include "model/model_sql.h"
#include "model/model_utils.h"
#include "web/core/web_send_response.h"

namespace quorvane::controller::parametros {
namespace {

using model::ModelDatabase;
using model::ModelDatabaseParameters;
using model::ModelSQLParametro;
using web::core::WebNext;
using web::core::WebRequest;
using web::core::WebResponse;

// The row of a tenant is keyed by its schema name.
constexpr std::string_view kSchemasTable = "_schemas";
constexpr std::string_view kKeyField = "name_schema";

std::string Schema(const WebRequest& req) { return req.Headers("x-schema"); }

// The schema name as a literal for the upsert of the database layer, which
// escapes every backslash of its statement itself: only the single quotes
// are doubled here, so the name reads back exactly.
std::string SchemaLiteral(const WebRequest& req) {
  const std::string schema = Schema(req);
  std::string literal = "'";
  for (const char c : schema) {
    literal += c;
    if (c == '\'') literal += '\'';
  }
  literal += '\'';
  return literal;
}

bool IsOn(const std::optional<int>& value) { return value && *value == 1; }

}  // namespace

void Registry(web::core::WebCore& core) {
  core.Group()
      .Prefix("/v1/parametro")
      .Get("/", Handler(GetParametros))
      .Post("/", Handler(PostParametros));
  core.Group()
      .Prefix("/v1/manutencao")
      .Get("/", Handler(GetManutencao))
      .Put("/ativar", Handler(PutAtivarManutencao))
      .Put("/inativar", Handler(PutInativarManutencao));
}

void Registry() { Registry(web::core::WebCore::GetInstance()); }

void GetParametros(WebRequest& req, WebResponse& res, const WebNext&) {
  ModelDatabase::ExecuteGetObject(req, res, ModelSQLParametro::SelectParametros(Schema(req)),
                                  ModelDatabase::kControlSchema);
}

void PostParametros(WebRequest& req, WebResponse& res, const WebNext&) {
  ModelDatabaseParameters parameters;
  parameters.setGravarFilialOrigem(false).setKeys(std::string(kKeyField), SchemaLiteral(req));
  ModelDatabase::ExecutePost(req, res, kSchemasTable, std::move(parameters),
                             ModelDatabase::kControlSchema);
}

void GetManutencao(WebRequest& req, WebResponse& res, const WebNext&) {
  ModelDatabase::ExecuteGetObject(req, res, ModelSQLParametro::SelectManutencao(Schema(req)),
                                  ModelDatabase::kControlSchema);
}

void PutAtivarManutencao(WebRequest& req, WebResponse& res, const WebNext&) {
  AlterManutencao(req, res, 1);
}

void PutInativarManutencao(WebRequest& req, WebResponse& res, const WebNext&) {
  AlterManutencao(req, res, 0);
}

void AlterManutencao(WebRequest& req, WebResponse& res, int value) {
  database::DatabaseConnection& connection =
      ModelDatabase::RequestConnection(req, ModelDatabase::kControlSchema);
  connection.UpdateOrInsert(kSchemasTable, kKeyField, "manutencao", SchemaLiteral(req),
                            std::to_string(value));
  web::core::WebSendResponse::NoContent(res);
}

std::optional<int> ParameterValue(WebRequest& req, std::string_view column) {
  const model::TenantRow& row = model::ModelUtils::Tenant(req);
  std::optional<int> value;
  if (column == "manutencao") {
    value = row.manutencao;
  } else if (column == "sincronizar_tributacao") {
    value = row.sincronizar_tributacao;
  } else if (column == "sincronizar_inativo") {
    value = row.sincronizar_inativo;
  } else if (column == "igualar_precos") {
    value = row.igualar_precos;
  } else {
    throw std::invalid_argument("not a settings column of _schemas: " + std::string(column));
  }
  return row.exists ? value : std::nullopt;
}

bool isSincronizarTributacao(WebRequest& req) {
  return IsOn(ParameterValue(req, "sincronizar_tributacao"));
}

bool isSincronizarInativo(WebRequest& req) {
  return IsOn(ParameterValue(req, "sincronizar_inativo"));
}

bool isIgualarPrecos(WebRequest& req) { return IsOn(ParameterValue(req, "igualar_precos")); }

}  // namespace quorvane::controller::parametros
