#include "model/model_utils.h"

#include <charconv>

#include "database/errors.h"
#include "model/model_database.h"
#include "model/model_sql_basic.h"
#include "web/core/text_util.h"

namespace quorvane::model {

using database::DatabaseConnection;
using web::core::WebRequest;

namespace {

constexpr std::string_view kSchemaMissing = "Schema não informado";
constexpr std::string_view kSchemaInvalid = "Schema inválido";

// What one request has read of its tenant's control row.
struct TenantCache {
  bool loaded = false;
  TenantRow row;
};

// An integer column of a result row; nullopt for NULL, a missing column or a
// value that is not an integer.
std::optional<int> IntegerMember(const lib::JsonValue& row, std::string_view name) {
  const lib::JsonValue* value = row.Find(name);
  if (value == nullptr || !value->IsNumber()) return std::nullopt;
  const std::string& text = value->AsNumberText();
  int out = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return out;
}

// The control row of `schema`. The comparison is repeated byte for byte
// because the column's collation ignores letter case and trailing blanks,
// while the tenant's database name does not.
TenantRow ReadTenantRow(WebRequest& req, std::string_view schema) {
  DatabaseConnection& control =
      ModelDatabase::RequestConnection(req, ModelDatabase::kControlSchema);
  const std::optional<lib::JsonValue> row = control.SelectToJSONObject(
      "select name_schema, manutencao, sincronizar_tributacao, sincronizar_inativo, "
      "igualar_precos from _schemas where name_schema = " +
      QuoteSqlLiteral(schema));
  TenantRow tenant;
  if (!row) return tenant;
  const lib::JsonValue* name = row->Find("name_schema");
  if (name == nullptr || !name->IsString() || name->AsString() != schema) return tenant;
  tenant.exists = true;
  tenant.manutencao = IntegerMember(*row, "manutencao");
  tenant.sincronizar_tributacao = IntegerMember(*row, "sincronizar_tributacao");
  tenant.sincronizar_inativo = IntegerMember(*row, "sincronizar_inativo");
  tenant.igualar_precos = IntegerMember(*row, "igualar_precos");
  return tenant;
}

}  // namespace

const TenantRow& ModelUtils::Tenant(WebRequest& req) {
  TenantCache& cache = req.Attachment<TenantCache>();
  if (!cache.loaded) {
    cache.row = ReadTenantRow(req, req.Headers("x-schema"));
    cache.loaded = true;
  }
  return cache.row;
}

std::string ModelUtils::TestSchema(WebRequest& req) {
  return TestSchema(req, req.Headers("x-schema"));
}

std::string ModelUtils::TestSchema(WebRequest& req, std::string_view schema) {
  if (web::core::text::Trim(schema).empty()) return std::string(kSchemaMissing);
  const bool exists =
      schema == req.Headers("x-schema") ? Tenant(req).exists : ReadTenantRow(req, schema).exists;
  if (!exists) return std::string(kSchemaInvalid);
  // The tenant's database must open as well; the request's lease switching to
  // it is that test, and it stays on the tenant for the statements to come.
  try {
    ModelDatabase::OpenRequestConnection(req, schema);
  } catch (const database::DatabaseError& e) {
    if (web::core::text::ToLowerAscii(e.what()).find("unknown database") != std::string::npos) {
      return std::string(kSchemaInvalid);
    }
    return e.what();
  }
  return "OK";
}

bool ModelUtils::LoginIsValid(WebRequest& req) {
  return LoginIsValid(req, req.Headers("x-user"), req.Headers("x-pass"));
}

bool ModelUtils::LoginIsValid(WebRequest& req, std::string_view login, std::string_view password) {
  DatabaseConnection& tenant = ModelDatabase::RequestConnection(req);
  const std::optional<lib::JsonValue> row = tenant.SelectToJSONObject(
      "select senha, ativo from login where login = " + QuoteSqlLiteral(login));
  if (!row) return false;
  const lib::JsonValue* senha = row->Find("senha");
  const std::string stored = senha != nullptr && senha->IsString() ? senha->AsString() : "";
  return stored == password && IntegerMember(*row, "ativo").value_or(0) == 1;
}

bool ModelUtils::isManutencao(WebRequest& req) { return ValidateStatusManutencao(req, 1); }

bool ModelUtils::isAguardandoCargaInicial(WebRequest& req) {
  return ValidateStatusManutencao(req, -1);
}

bool ModelUtils::ValidateStatusManutencao(WebRequest& req, short status) {
  return Tenant(req).manutencao.value_or(0) == status;
}

}  // namespace quorvane::model
