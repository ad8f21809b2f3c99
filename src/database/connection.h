#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "database/base.h"
#include "database/custom_connection.h"
#include "database/sql_format.h"
#include "database/sql_input.h"
#include "lib/json.h"

namespace quorvane::web::core {
class WebRequest;
}

namespace quorvane::database {

enum class TypeDatabase { kMySQL = 0, kFirebird = 1 };

// The process-wide driver registration: the driver kind in use and the
// client library it loads. At most one exists; ConfigureToMySQL and
// ConfigureToFirebird replace one of the other kind. Created during start-up
// (by the first DatabaseConnection) and only read afterwards.
struct DriverLink {
  TypeDatabase kind;
  std::string client_library;  // "libmariadb.so.3" or "libfbclient.so.2"
};
std::optional<DriverLink> CurrentDriverLink();
// Removes the registration (shutdown).
void DestroyDriverLink();

// The keys of an upsert as a request names them (headers x-key-fields and
// x-key-values).
struct KeyHeaders {
  std::string key_fields;
  std::string key_values;
};

// The settings of one connection to one database (schema), its SQL dialect,
// and the query and write operations on it. Made per operation by its user
// and never shared between threads.
//
// Logically every operation opens a physical connection, runs and closes it
// again. Physically the sessions come from the connection pool, so "open" is
// a lease and "close" gives the session back (SetConnectionPooling(false)
// restores real connects). HoldConnection keeps one lease for a series of
// operations.
//
// Errors: DatabaseError (the database layer's message) for anything the
// database or the client library refuses; InvalidInputError (a Portuguese
// message for a 400 answer) for client text refused before it reaches SQL;
// ConversionError for results that cannot be rendered.
class DatabaseConnection {
 public:
  // KeyFieldsDefault "id", CharacterSet "utf8", then ConfigureToMySQL.
  DatabaseConnection();
  ~DatabaseConnection();
  DatabaseConnection(const DatabaseConnection&) = delete;
  DatabaseConnection& operator=(const DatabaseConnection&) = delete;

  // MySQL dialect and driver; DriverID "MySQL", Port "3306", Pagination on.
  void ConfigureToMySQL();
  // Firebird dialect and driver; UserName "SYSDBA", Password "vortexpin",
  // DriverID "FB", Port "3050", Pagination off. Statements then fail: the
  // server has no Firebird driver.
  void ConfigureToFirebird();

  const std::string& UserName() const { return user_name_; }
  void SetUserName(std::string value) { user_name_ = std::move(value); }
  const std::string& Password() const { return password_; }
  void SetPassword(std::string value) { password_ = std::move(value); }
  const std::string& Server() const { return server_; }
  void SetServer(std::string value) { server_ = std::move(value); }
  // Used verbatim (no trimming, quoting or case change).
  const std::string& Database() const { return database_; }
  void SetDatabase(std::string value) { database_ = std::move(value); }
  const std::string& CharacterSet() const { return character_set_; }
  void SetCharacterSet(std::string value) { character_set_ = std::move(value); }
  const std::string& DriverID() const { return driver_id_; }
  void SetDriverID(std::string value) { driver_id_ = std::move(value); }
  const std::string& Port() const { return port_; }
  void SetPort(std::string value) { port_ = std::move(value); }
  bool Pagination() const { return pagination_; }
  void SetPagination(bool value) { pagination_ = value; }
  const std::string& KeyFieldsDefault() const { return key_fields_default_; }
  void SetKeyFieldsDefault(std::string value) { key_fields_default_ = std::move(value); }

  TypeDatabase type_database() const { return type_database_; }
  // The dialect singleton of the configured kind.
  const LibDBBase& DatabaseBase() const { return *database_base_; }

  // --- Physical connections ------------------------------------------------

  // A new physical connection with the seven current settings, closed.
  std::unique_ptr<CustomConnection> CreateCustomConnection() const;
  // CreateCustomConnection and one attempt to open it; a failure is dropped
  // (the first statement opens it again and reports the failure).
  std::unique_ptr<CustomConnection> Connected() const;
  // Closes and destroys a connection made by the two above.
  static void Disconnected(std::unique_ptr<CustomConnection> connection);

  // While the returned object lives, every operation of this
  // DatabaseConnection runs on one physical connection (one pool lease)
  // instead of one per operation; a change of Database in between switches
  // that connection's schema. The data service uses it to run the
  // statements of one request on one lease. One hold at a time; it must end
  // before the DatabaseConnection does.
  class ConnectionHold {
   public:
    ConnectionHold(ConnectionHold&& other) noexcept
        : owner_(std::exchange(other.owner_, nullptr)) {}
    ConnectionHold(const ConnectionHold&) = delete;
    ConnectionHold& operator=(const ConnectionHold&) = delete;
    ConnectionHold& operator=(ConnectionHold&&) = delete;
    ~ConnectionHold();
    CustomConnection& connection() const;

   private:
    friend class DatabaseConnection;
    explicit ConnectionHold(DatabaseConnection* owner) : owner_(owner) {}
    DatabaseConnection* owner_;
  };
  [[nodiscard]] ConnectionHold HoldConnection();

  // --- Statements without rows ---------------------------------------------

  // Runs one statement; returns the auto-increment key it generated, 0 when
  // none. The key is read on the same session right after the statement.
  std::int64_t ExecuteSQL(std::string_view sql);
  // `format` expanded with `args` (FormatSQL), then as above.
  std::int64_t ExecuteSQL(std::string_view format, const FormatArgs& args);

  // --- Writes --------------------------------------------------------------
  // Each builds its statement with the dialect and runs it with ExecuteSQL;
  // the result is that of ExecuteSQL. Column lists must be plain or
  // backtick-quoted identifiers and value lists SQL literals
  // (InvalidInputError otherwise), so that no text from a client becomes a
  // SQL expression.

  // The dialect's ExtractFieldsAndValues.
  void ExtractFieldsAndValues(const lib::JsonValue& json, std::string& fields,
                              std::string& values) const;
  std::int64_t Insert(std::string_view table_name, std::string_view fields,
                      std::string_view values);
  // Firebird: the insert with a returning clause, run as a query, its value
  // as the result. MySQL: the three-argument Insert.
  std::int64_t Insert(std::string_view table_name, std::string_view fields, std::string_view values,
                      std::string_view returning_field);
  std::int64_t Update(std::string_view table_name, std::string_view key_field,
                      std::string_view fields, std::string_view key_value, std::string_view values);
  // The request body as a JSON object (plain parsing), its columns and values,
  // then the form above. InvalidInputError "Nenhum dado informado no Body"
  // when the body is not an object.
  std::int64_t Update(web::core::WebRequest& req, std::string_view table_name,
                      std::string_view key_field, std::string_view key_value);
  // Key column KeyFieldsDefault, key value the path parameter ID.
  std::int64_t Update(web::core::WebRequest& req, std::string_view table_name);
  std::int64_t UpdateOrInsert(std::string_view table_name, std::string_view key_fields,
                              std::string_view fields, std::string_view key_values,
                              std::string_view values);
  // Without key values: Insert. Otherwise the upsert with the key fields of
  // `keys` (KeyFieldsDefault when empty) and its key values.
  std::int64_t UpdateOrInsert(const KeyHeaders& keys, std::string_view table_name,
                              std::string_view fields, std::string_view values);
  // The keys from the headers x-key-fields and x-key-values.
  std::int64_t UpdateOrInsert(web::core::WebRequest& req, std::string_view table_name,
                              std::string_view fields, std::string_view values);
  // The request body as a JSON object (plain parsing), then the form above.
  std::int64_t UpdateOrInsert(web::core::WebRequest& req, std::string_view table_name);

  // --- Queries -------------------------------------------------------------
  // Each returns a new JSON value. `ignore_pagination` (or Pagination off,
  // or Firebird) leaves limit and page out.

  // All rows as an array of objects, nullopt when there are none. The
  // statement is `sql`, CR LF, and the paging clause (PagingClause) from the
  // query parameters limit and page. InvalidInputError for a limit or page
  // that is not a decimal integer.
  std::optional<lib::JsonValue> SelectToJSONArray(const PagingParameters& paging,
                                                  std::string_view sql, bool ignore_pagination);
  std::optional<lib::JsonValue> SelectToJSONArray(web::core::WebRequest& req, std::string_view sql,
                                                  bool ignore_pagination);
  std::optional<lib::JsonValue> SelectToJSONArray(web::core::WebRequest& req,
                                                  std::string_view format, const FormatArgs& args,
                                                  bool ignore_pagination);
  // The same, [] instead of nullopt.
  lib::JsonValue SelectToJSONArrayAndNotNil(web::core::WebRequest& req, std::string_view sql,
                                            bool ignore_pagination);
  lib::JsonValue SelectToJSONArrayAndNotNil(web::core::WebRequest& req, std::string_view format,
                                            const FormatArgs& args, bool ignore_pagination);
  // The first row as an object, nullopt when there are none; no paging.
  std::optional<lib::JsonValue> SelectToJSONObject(std::string_view sql);
  std::optional<lib::JsonValue> SelectToJSONObject(std::string_view format, const FormatArgs& args);
  // The same, {} instead of nullopt.
  lib::JsonValue SelectToJSONObjectAndNotNil(std::string_view sql);
  lib::JsonValue SelectToJSONObjectAndNotNil(std::string_view format, const FormatArgs& args);

  // The query parameters limit and page of a request.
  static PagingParameters PagingOf(web::core::WebRequest& req);
  // The headers x-key-fields and x-key-values of a request.
  static KeyHeaders KeysOf(const web::core::WebRequest& req);

 private:
  template <class Fn>
  auto WithConnection(Fn&& fn);
  bool PagingApplies(bool ignore_pagination) const;

  TypeDatabase type_database_ = TypeDatabase::kMySQL;
  std::string character_set_;
  std::string port_;
  std::string driver_id_;
  std::string database_;
  std::string password_;
  std::string user_name_;
  std::string server_;
  bool pagination_ = true;
  std::string key_fields_default_;
  const LibDBBase* database_base_ = nullptr;  // a singleton, not owned
  std::unique_ptr<CustomConnection> held_;
};

}  // namespace quorvane::database
