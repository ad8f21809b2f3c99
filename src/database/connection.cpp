#include "database/connection.h"

#include <mutex>

#include "database/dataset.h"
#include "database/errors.h"
#include "database/firebird.h"
#include "database/mysql.h"
#include "web/core/web_request.h"

namespace quorvane::database {
namespace {

// The platform's file names of the two client libraries.
constexpr std::string_view kMySQLClientLibrary = "libmariadb.so.3";
constexpr std::string_view kFirebirdClientLibrary = "libfbclient.so.2";

constexpr std::string_view kKeyValuesMessage = "Valor de chave inválido: ";
constexpr std::string_view kValuesMessage = "Valor inválido: ";

std::mutex& DriverLinkMutex() {
  static std::mutex mutex;
  return mutex;
}

std::optional<DriverLink>& DriverLinkSlot() {
  static std::optional<DriverLink> link;
  return link;
}

void EnsureDriverLink(TypeDatabase kind, std::string_view client_library) {
  std::lock_guard lock(DriverLinkMutex());
  auto& link = DriverLinkSlot();
  if (link && link->kind != kind) link.reset();
  if (!link) link = DriverLink{kind, std::string(client_library)};
}

lib::JsonValue BodyObjectOf(web::core::WebRequest& req) {
  auto body = lib::ParseJson(req.Body());
  if (!body || !body->IsObject()) throw InvalidInputError("Nenhum dado informado no Body");
  return std::move(*body);
}

}  // namespace

std::optional<DriverLink> CurrentDriverLink() {
  std::lock_guard lock(DriverLinkMutex());
  return DriverLinkSlot();
}

void DestroyDriverLink() {
  std::lock_guard lock(DriverLinkMutex());
  DriverLinkSlot().reset();
}

DatabaseConnection::DatabaseConnection() : character_set_("utf8"), key_fields_default_("id") {
  ConfigureToMySQL();
}

DatabaseConnection::~DatabaseConnection() = default;

void DatabaseConnection::ConfigureToMySQL() {
  database_base_ = &LibDBMySQL::getInstance();
  type_database_ = TypeDatabase::kMySQL;
  driver_id_ = "MySQL";
  port_ = "3306";
  pagination_ = true;
  EnsureDriverLink(TypeDatabase::kMySQL, kMySQLClientLibrary);
}

void DatabaseConnection::ConfigureToFirebird() {
  database_base_ = &LibDBFirebird::getInstance();
  type_database_ = TypeDatabase::kFirebird;
  user_name_ = "SYSDBA";
  password_ = "vortexpin";
  driver_id_ = "FB";
  port_ = "3050";
  pagination_ = false;
  EnsureDriverLink(TypeDatabase::kFirebird, kFirebirdClientLibrary);
}

std::unique_ptr<CustomConnection> DatabaseConnection::CreateCustomConnection() const {
  ConnectionSettings settings;
  settings.user_name = user_name_;
  settings.password = password_;
  settings.server = server_;
  settings.database = database_;
  settings.character_set = character_set_;
  settings.driver_id = driver_id_;
  settings.port = port_;
  return std::make_unique<CustomConnection>(std::move(settings));
}

std::unique_ptr<CustomConnection> DatabaseConnection::Connected() const {
  auto connection = CreateCustomConnection();
  try {
    connection->Open();
  } catch (const DatabaseError&) {
    // Reported by the first statement, which opens the connection again.
  }
  return connection;
}

void DatabaseConnection::Disconnected(std::unique_ptr<CustomConnection> connection) {
  if (connection) connection->Close();
}

DatabaseConnection::ConnectionHold::~ConnectionHold() {
  if (owner_) Disconnected(std::move(owner_->held_));
}

CustomConnection& DatabaseConnection::ConnectionHold::connection() const { return *owner_->held_; }

DatabaseConnection::ConnectionHold DatabaseConnection::HoldConnection() {
  if (!held_) held_ = Connected();
  return ConnectionHold(this);
}

template <class Fn>
auto DatabaseConnection::WithConnection(Fn&& fn) {
  if (held_) {
    if (held_->settings().database != database_) held_->SelectDatabase(database_);
    return fn(*held_);
  }
  std::unique_ptr<CustomConnection> connection = Connected();
  struct Closer {
    std::unique_ptr<CustomConnection>& c;
    ~Closer() { Disconnected(std::move(c)); }
  } closer{connection};
  return fn(*connection);
}

std::int64_t DatabaseConnection::ExecuteSQL(std::string_view sql) {
  return WithConnection([&](CustomConnection& c) { return c.ExecuteSQL(sql); });
}

std::int64_t DatabaseConnection::ExecuteSQL(std::string_view format, const FormatArgs& args) {
  return ExecuteSQL(FormatSQL(format, args));
}

void DatabaseConnection::ExtractFieldsAndValues(const lib::JsonValue& json, std::string& fields,
                                                std::string& values) const {
  database_base_->ExtractFieldsAndValues(json, fields, values);
}

std::int64_t DatabaseConnection::Insert(std::string_view table_name, std::string_view fields,
                                        std::string_view values) {
  CheckColumnList(fields);
  CheckLiteralList(values, kValuesMessage);
  return ExecuteSQL(database_base_->Insert(table_name, fields, values));
}

std::int64_t DatabaseConnection::Insert(std::string_view table_name, std::string_view fields,
                                        std::string_view values, std::string_view returning_field) {
  if (type_database_ != TypeDatabase::kFirebird) return Insert(table_name, fields, values);
  CheckColumnList(fields);
  CheckColumnList(returning_field);
  CheckLiteralList(values, kValuesMessage);
  const std::string sql =
      LibDBFirebird::getInstance().Insert(table_name, fields, values, returning_field);
  return WithConnection([&](CustomConnection& c) -> std::int64_t {
    LibDataSet data_set(c);
    data_set.SetSQL(sql).Open();
    try {
      return data_set.FieldAsInteger(returning_field);
    } catch (const ConversionError&) {
      return 0;
    }
  });
}

std::int64_t DatabaseConnection::Update(std::string_view table_name, std::string_view key_field,
                                        std::string_view fields, std::string_view key_value,
                                        std::string_view values) {
  CheckColumnList(key_field);
  CheckColumnList(fields);
  CheckLiteralList(key_value, kKeyValuesMessage);
  CheckLiteralList(values, kValuesMessage);
  return ExecuteSQL(database_base_->Update(table_name, key_field, fields, key_value, values));
}

std::int64_t DatabaseConnection::Update(web::core::WebRequest& req, std::string_view table_name,
                                        std::string_view key_field, std::string_view key_value) {
  const lib::JsonValue body = BodyObjectOf(req);
  std::string fields;
  std::string values;
  ExtractFieldsAndValues(body, fields, values);
  return Update(table_name, key_field, fields, key_value, values);
}

std::int64_t DatabaseConnection::Update(web::core::WebRequest& req, std::string_view table_name) {
  const auto& params = req.Params();
  const auto id = params.find("ID");
  const std::string key_value = id == params.end() ? std::string() : id->second;
  return Update(req, table_name, key_fields_default_, key_value);
}

std::int64_t DatabaseConnection::UpdateOrInsert(std::string_view table_name,
                                                std::string_view key_fields,
                                                std::string_view fields,
                                                std::string_view key_values,
                                                std::string_view values) {
  CheckColumnList(key_fields);
  CheckColumnList(fields);
  CheckLiteralList(key_values, kKeyValuesMessage);
  CheckLiteralList(values, kValuesMessage);
  return ExecuteSQL(
      database_base_->UpdateOrInsert(table_name, key_fields, fields, key_values, values));
}

std::int64_t DatabaseConnection::UpdateOrInsert(const KeyHeaders& keys, std::string_view table_name,
                                                std::string_view fields, std::string_view values) {
  if (keys.key_values.empty()) return Insert(table_name, fields, values);
  const std::string& key_fields = keys.key_fields.empty() ? key_fields_default_ : keys.key_fields;
  return UpdateOrInsert(table_name, key_fields, fields, keys.key_values, values);
}

std::int64_t DatabaseConnection::UpdateOrInsert(web::core::WebRequest& req,
                                                std::string_view table_name,
                                                std::string_view fields, std::string_view values) {
  return UpdateOrInsert(KeysOf(req), table_name, fields, values);
}

std::int64_t DatabaseConnection::UpdateOrInsert(web::core::WebRequest& req,
                                                std::string_view table_name) {
  const lib::JsonValue body = BodyObjectOf(req);
  std::string fields;
  std::string values;
  ExtractFieldsAndValues(body, fields, values);
  return UpdateOrInsert(req, table_name, fields, values);
}

bool DatabaseConnection::PagingApplies(bool ignore_pagination) const {
  return pagination_ && !ignore_pagination && type_database_ == TypeDatabase::kMySQL;
}

std::optional<lib::JsonValue> DatabaseConnection::SelectToJSONArray(const PagingParameters& paging,
                                                                    std::string_view sql,
                                                                    bool ignore_pagination) {
  std::string statement(sql);
  statement += "\r\n";
  if (PagingApplies(ignore_pagination)) statement += PagingClause(paging);
  return WithConnection(
      [&](CustomConnection& c) { return LibDataSetUtils::SelectToJSONArray(c, statement); });
}

std::optional<lib::JsonValue> DatabaseConnection::SelectToJSONArray(web::core::WebRequest& req,
                                                                    std::string_view sql,
                                                                    bool ignore_pagination) {
  // The query map is read only when paging can apply.
  const PagingParameters paging =
      PagingApplies(ignore_pagination) ? PagingOf(req) : PagingParameters{};
  return SelectToJSONArray(paging, sql, ignore_pagination);
}

std::optional<lib::JsonValue> DatabaseConnection::SelectToJSONArray(web::core::WebRequest& req,
                                                                    std::string_view format,
                                                                    const FormatArgs& args,
                                                                    bool ignore_pagination) {
  return SelectToJSONArray(req, FormatSQL(format, args), ignore_pagination);
}

lib::JsonValue DatabaseConnection::SelectToJSONArrayAndNotNil(web::core::WebRequest& req,
                                                              std::string_view sql,
                                                              bool ignore_pagination) {
  auto result = SelectToJSONArray(req, sql, ignore_pagination);
  return result ? std::move(*result) : lib::JsonValue::MakeArray();
}

lib::JsonValue DatabaseConnection::SelectToJSONArrayAndNotNil(web::core::WebRequest& req,
                                                              std::string_view format,
                                                              const FormatArgs& args,
                                                              bool ignore_pagination) {
  return SelectToJSONArrayAndNotNil(req, FormatSQL(format, args), ignore_pagination);
}

std::optional<lib::JsonValue> DatabaseConnection::SelectToJSONObject(std::string_view sql) {
  return WithConnection(
      [&](CustomConnection& c) { return LibDataSetUtils::SelectToJSONObject(c, sql); });
}

std::optional<lib::JsonValue> DatabaseConnection::SelectToJSONObject(std::string_view format,
                                                                     const FormatArgs& args) {
  return SelectToJSONObject(FormatSQL(format, args));
}

lib::JsonValue DatabaseConnection::SelectToJSONObjectAndNotNil(std::string_view sql) {
  auto result = SelectToJSONObject(sql);
  return result ? std::move(*result) : lib::JsonValue::MakeObject();
}

lib::JsonValue DatabaseConnection::SelectToJSONObjectAndNotNil(std::string_view format,
                                                               const FormatArgs& args) {
  return SelectToJSONObjectAndNotNil(FormatSQL(format, args));
}

PagingParameters DatabaseConnection::PagingOf(web::core::WebRequest& req) {
  PagingParameters paging;
  const auto& query = req.Query();
  if (const auto it = query.find("limit"); it != query.end()) paging.limit = it->second;
  if (const auto it = query.find("page"); it != query.end()) paging.page = it->second;
  return paging;
}

KeyHeaders DatabaseConnection::KeysOf(const web::core::WebRequest& req) {
  return KeyHeaders{req.Headers("x-key-fields"), req.Headers("x-key-values")};
}

}  // namespace quorvane::database
