#include "model/model_database.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <string>

#include "database/errors.h"
#include "lib/lib_json.h"
#include "lib/settings.h"
#include "web/core/web_callback.h"
#include "web/core/web_send_response.h"

namespace quorvane::model {

using database::DatabaseConnection;
using web::core::WebCallbackInterrupted;
using web::core::WebRequest;
using web::core::WebResponse;
using web::core::WebSendResponse;

namespace {

constexpr std::string_view kInvalidBody = "Body inexistente ou inválido!";
constexpr std::string_view kMissingId = "É necessário informar um ID para deletar o registro.";
constexpr std::string_view kInvalidId = "ID inválido: ";
constexpr std::string_view kInvalidFilial = "Filial informada não é válida";

// The database objects of one request: one connection object whose one lease
// serves every statement of the request, switched between the control schema
// and the tenant as the operations ask. The hold is declared last so that the
// lease goes back to the pool before the connection object is destroyed.
struct RequestDatabase {
  std::unique_ptr<DatabaseConnection> connection;
  std::optional<DatabaseConnection::ConnectionHold> hold;
};

std::optional<std::int32_t> ParseInt32(std::string_view text) {
  std::int32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Member names of an upload become column names in the statement: each must
// be a plain identifier (double quotes are dropped from names on the way, as
// the write does), or a name like "cidade, estado" would shift values onto
// other columns. Nested objects and arrays are never columns.
void CheckColumnNames(const lib::JsonValue& object) {
  for (const lib::JsonMember& member : object.AsObject()) {
    if (member.value.IsObject() || member.value.IsArray()) continue;
    std::string column;
    for (const char c : member.name) {
      if (c != '"') column += c;
    }
    const bool plain = !column.empty() && std::all_of(column.begin(), column.end(), [](char c) {
      return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    });
    if (!plain) throw database::InvalidInputError("Nome de coluna inválido: " + member.name);
  }
}

[[noreturn]] void RefuseBadRequest(WebResponse& res, std::string_view message) {
  WebSendResponse::SendMessageBadRequest(res, message);
  throw WebCallbackInterrupted();
}

}  // namespace

bool IsIntegerKey(std::string_view text) {
  if (text.starts_with('-')) text.remove_prefix(1);
  if (text.empty() || text.size() > 18) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

SqlFilterHeaders RequestFilterHeaders(const WebRequest& req) {
  SqlFilterHeaders headers;
  headers.is_get = req.MethodType() == web::core::HttpMethod::kGet;
  headers.where = req.Headers("x-where");
  headers.alterado_apos = req.Headers("x-alterado-apos");
  headers.filial_origem_filter = req.Headers("x-filial-origem-filter");
  headers.filial = req.Headers("x-filial");
  return headers;
}

// --- ModelDatabaseParameters ---------------------------------------------------

ModelDatabaseParameters& ModelDatabaseParameters::Reset() {
  body_.reset();
  gravar_filial_origem_ = true;
  key_fields_.clear();
  key_values_.clear();
  return *this;
}

ModelDatabaseParameters& ModelDatabaseParameters::setBody(lib::JsonValue value) {
  body_ = std::move(value);
  return *this;
}

ModelDatabaseParameters& ModelDatabaseParameters::setGravarFilialOrigem(bool value) {
  gravar_filial_origem_ = value;
  return *this;
}

ModelDatabaseParameters& ModelDatabaseParameters::setKeys(std::string fields, std::string values) {
  key_fields_ = std::move(fields);
  key_values_ = std::move(values);
  return *this;
}

// --- ModelDatabase -------------------------------------------------------------

std::unique_ptr<DatabaseConnection> ModelDatabase::CreateConnection(WebRequest& req) {
  return CreateConnection(req.Headers("x-schema"));
}

std::unique_ptr<DatabaseConnection> ModelDatabase::CreateConnection(std::string_view schema) {
  const lib::Settings& settings = lib::CurrentSettings();
  auto connection = std::make_unique<DatabaseConnection>();
  connection->SetKeyFieldsDefault("codigo");
  connection->SetDatabase(std::string(schema));
  connection->SetUserName(settings.db_user);
  connection->SetServer(settings.db_host);
  connection->SetPassword(settings.db_password);
  connection->SetPort(std::to_string(settings.db_port));
  return connection;
}

DatabaseConnection& ModelDatabase::RequestConnection(WebRequest& req, std::string_view schema) {
  const std::string database = schema.empty() ? req.Headers("x-schema") : std::string(schema);
  RequestDatabase& db = req.Attachment<RequestDatabase>();
  if (!db.connection) {
    db.connection = CreateConnection(database);
    db.hold.emplace(db.connection->HoldConnection());
  } else {
    db.connection->SetDatabase(database);
  }
  return *db.connection;
}

DatabaseConnection& ModelDatabase::OpenRequestConnection(WebRequest& req, std::string_view schema) {
  DatabaseConnection& connection = RequestConnection(req, schema);
  database::CustomConnection& session = req.Attachment<RequestDatabase>().hold->connection();
  session.SelectDatabase(connection.Database());
  session.Open();
  return connection;
}

void ModelDatabase::ExecuteGet(WebRequest& req, WebResponse& res, std::string_view sql,
                               std::string_view schema) {
  DatabaseConnection& connection = RequestConnection(req, schema);
  std::optional<lib::JsonValue> rows;
  try {
    rows = connection.SelectToJSONArray(req, sql, false);
  } catch (const database::InvalidInputError& e) {
    RefuseBadRequest(res, e.what());  // limit or page that is not a number
  }
  if (rows) {
    res.Send(std::move(*rows));
  } else {
    WebSendResponse::SendMessageUnprocessableEntity(res);
  }
}

void ModelDatabase::ExecuteGetObject(WebRequest& req, WebResponse& res, std::string_view sql,
                                     std::string_view schema) {
  DatabaseConnection& connection = RequestConnection(req, schema);
  if (std::optional<lib::JsonValue> row = connection.SelectToJSONObject(sql)) {
    res.Send(std::move(*row));
  } else {
    WebSendResponse::SendMessageUnprocessableEntity(res);
  }
}

std::int64_t ModelDatabase::ExecutePost(WebRequest& req, WebResponse& res,
                                        std::string_view table_name, std::string_view schema) {
  return ExecutePost(req, res, table_name, ModelDatabaseParameters(), schema);
}

std::int64_t ModelDatabase::ExecutePost(WebRequest& req, WebResponse& res,
                                        std::string_view table_name,
                                        ModelDatabaseParameters parameters,
                                        std::string_view schema) {
  std::optional<lib::JsonValue> body = std::move(parameters.getBody());
  if (!body) body = lib::LibJSON::StrToJSONValue(req.Body());
  // A body that is JSON but not an object names no columns: refused like a
  // missing body instead of failing the request with a server error.
  if (!body || !body->IsObject()) {
    WebSendResponse::SendMessageBadRequest(res, kInvalidBody);
    return 0;
  }

  DatabaseConnection& connection = RequestConnection(req, schema);

  if (parameters.getGravarFilialOrigem()) {
    // Validation admits only digits; a code too large for the column is
    // refused here rather than failing the request.
    const std::optional<std::int32_t> filial = ParseInt32(req.Headers("x-filial"));
    if (!filial) RefuseBadRequest(res, kInvalidFilial);
    body->Add("codfilialorigem", lib::JsonValue::Integer(*filial));
  }

  std::int64_t result = 0;
  try {
    CheckColumnNames(*body);
    std::string fields;
    std::string values;
    connection.ExtractFieldsAndValues(*body, fields, values);
    if (!parameters.getKeyFields().empty()) {
      result = connection.UpdateOrInsert(table_name, parameters.getKeyFields(), fields,
                                         parameters.getKeyValues(), values);
    } else {
      result =
          connection.UpdateOrInsert(DatabaseConnection::KeysOf(req), table_name, fields, values);
    }
  } catch (const std::exception& e) {
    RefuseBadRequest(res, e.what());
  }

  if (result != 0) {
    WebSendResponse::SendMessageAsJSON(res, "{\"id\": " + std::to_string(result) + "}", 200);
  } else {
    WebSendResponse::NoContent(res);
  }
  return result;
}

void ModelDatabase::ExecuteDelete(WebRequest& req, WebResponse& res, std::string_view table_name,
                                  std::string_view pk_name) {
  const auto it = req.Params().find("ID");
  const std::string id = it == req.Params().end() ? std::string() : it->second;
  if (id.empty()) {
    WebSendResponse::SendMessageBadRequest(res, kMissingId);
    return;
  }
  // The ID goes into the statement as a number; anything else could widen the
  // delete ("1 or 1=1") and never reaches the database.
  bool deleted = IsIntegerKey(id);
  if (deleted) {
    try {
      ExecuteSQL(req, "Delete from " + std::string(table_name) + " Where " + std::string(pk_name) +
                          " = " + id);
    } catch (const std::exception&) {
      deleted = false;
    }
  }
  if (deleted) {
    WebSendResponse::NoContent(res);
  } else {
    WebSendResponse::SendMessageBadRequest(res, std::string(kInvalidId) + id);
  }
}

std::int64_t ModelDatabase::ExecuteSQL(WebRequest& req, std::string_view sql) {
  return RequestConnection(req).ExecuteSQL(sql);
}

}  // namespace quorvane::model
