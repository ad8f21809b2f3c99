#pragma once

#include <mysql.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "database/result_set.h"

namespace quorvane::database {

template <auto FreeFn>
struct FreeWith {
  template <class T>
  void operator()(T* p) const noexcept {
    FreeFn(p);
  }
};
using MysqlPtr = std::unique_ptr<MYSQL, FreeWith<&mysql_close>>;
using MysqlResultPtr = std::unique_ptr<MYSQL_RES, FreeWith<&mysql_free_result>>;

// Where and as whom a session logs in.
struct ConnectParams {
  std::string host;  // "localhost" (or empty) means the Unix socket
  unsigned port = 3306;
  std::string user;
  std::string password;
  std::string database;  // empty: no default database
  std::string character_set = "utf8";
};

// What a statement without rows reports.
struct StatementOutcome {
  std::uint64_t affected_rows = 0;
  std::uint64_t insert_id = 0;  // mysql_insert_id of this statement; 0 when none
};

// The MariaDB column kind of a result column (see FieldKind for the table).
FieldKind FieldKindOf(const MYSQL_FIELD& field);

// One open session with a MariaDB server over Connector/C: multi-statements
// off, automatic reconnection off, client character set as asked. Every
// statement's result is read completely before the call returns, so a session
// never holds a pending result between calls.
//
// Not thread-safe: one thread uses a session at a time (the pool hands it to
// one lease). Failures throw DatabaseError; a client-side failure (CR_*) or a
// killed connection also marks the session broken, and a broken session is
// never used again.
class MysqlSession {
 public:
  // Connects and logs in. Throws DatabaseError with the client's message
  // ("Can't connect to server on ...", "Unknown database 'x'", "Access
  // denied ...").
  static std::unique_ptr<MysqlSession> Connect(const ConnectParams& params);

  // Makes `database` the default database (COM_INIT_DB). An unknown database
  // fails with the server's "Unknown database 'x'" and keeps the session
  // usable with its previous default.
  void SelectDatabase(const std::string& database);

  // Runs a statement; a result it produces anyway is read and dropped.
  StatementOutcome Execute(std::string_view sql);
  // Runs a statement and buffers all its rows. A statement without a result
  // gives an empty set without columns.
  ResultSet Query(std::string_view sql);

  // Whether the server ended the session while it sat idle (restart, KILL,
  // wait_timeout): a non-blocking look at the socket, no round trip.
  bool ClosedByPeer() const;
  // One round trip; false (and broken) when the server does not answer.
  bool Ping();
  // Clears all session state before the session serves someone else: open
  // transaction, user variables, temporary tables, named locks, session
  // variables. Keeps the default database and the character set. False (and
  // broken) on failure.
  bool ResetSession();

  bool broken() const { return broken_; }
  const std::string& current_database() const { return current_database_; }
  unsigned long server_thread_id() const;
  std::chrono::steady_clock::time_point last_used() const { return last_used_; }
  void Touch() { last_used_ = std::chrono::steady_clock::now(); }

 private:
  explicit MysqlSession(MysqlPtr handle) : handle_(std::move(handle)) {}
  [[noreturn]] void Fail();
  void EnsureBackslashEscapes();

  MysqlPtr handle_;
  std::string current_database_;
  bool broken_ = false;
  std::chrono::steady_clock::time_point last_used_ = std::chrono::steady_clock::now();
};

}  // namespace quorvane::database
