#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "database/connection_pool.h"
#include "database/mysql_client.h"
#include "database/result_set.h"

namespace quorvane::database {

// The seven settings a physical connection is made from, each under the
// connection key it is known by: "User_Name", "Password", "Server",
// "Database", "CharacterSet", "DriverID", "Port".
struct ConnectionSettings {
  std::string user_name;
  std::string password;
  std::string server;
  std::string database;
  std::string character_set;
  std::string driver_id;
  std::string port;

  // The value under a connection key (exact spelling); empty for another key.
  std::string Param(std::string_view key) const;
};

// A physical connection: made closed from its settings, opened on demand,
// closed when done. Opening takes a session from the connection pool (or
// opens one of its own when pooling is off); closing hands it back. While it
// is open it is one server session, so several statements of one request can
// run on it and the last generated key is read on the session that made it.
//
// Not thread-safe: it belongs to the operation that made it.
class CustomConnection {
 public:
  explicit CustomConnection(ConnectionSettings settings) : settings_(std::move(settings)) {}
  ~CustomConnection() { Close(); }
  CustomConnection(const CustomConnection&) = delete;
  CustomConnection& operator=(const CustomConnection&) = delete;

  const ConnectionSettings& settings() const { return settings_; }

  // Logs in to the settings' database. Does nothing when already open on a
  // live session; a session that broke under an earlier statement is
  // replaced.
  // Throws DatabaseError with the database layer's message: the server
  // cannot be reached, the database does not exist ("Unknown database
  // 'x'"), the driver is not MySQL ("FB" has no client library here).
  void Open();
  // Hands the session back. Safe to call when closed.
  void Close() noexcept;
  bool Connected() const { return static_cast<bool>(lease_); }

  // Each of these opens the connection first when it is closed, so a failure
  // to open surfaces as the statement's error. DatabaseError on failure.
  //
  // A statement without rows; its affected rows and generated key.
  StatementOutcome ExecuteDirect(std::string_view sql);
  // A statement without rows; the key it generated as a number, 0 when none
  // (or when it does not fit a signed 64-bit number).
  std::int64_t ExecuteSQL(std::string_view sql);
  // A statement with rows, all of them buffered.
  ResultSet Query(std::string_view sql);

  // Makes `database` the connection's database: the setting, and the open
  // session's default database when it is open. Lets one lease serve the
  // control schema and a tenant in turn.
  void SelectDatabase(const std::string& database);

  // The open session, or null; for the pool's own tests.
  MysqlSession* session() const { return lease_ ? &*lease_ : nullptr; }

 private:
  ConnectParams ServerParams() const;

  ConnectionSettings settings_;
  PooledSession lease_;
};

}  // namespace quorvane::database
