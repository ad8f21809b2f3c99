#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "database/mysql_client.h"

namespace quorvane::database {

// Sizes and times of a pool. Each value is a named choice with its reason.
struct PoolOptions {
  // At most 32 requests run at once and a request may hold a second
  // connection while its first is open (a query and a write of one handler):
  // twice that, well under the server's max_connections.
  std::size_t max_connections = 64;
  // A lease waits this long for a free connection before it fails; the wait
  // only happens when every connection is out, i.e. under overload.
  std::chrono::milliseconds acquire_timeout{10'000};
  // An idle connection older than this is pinged before it is handed out:
  // the cheap socket check sees a server that closed the connection, the
  // ping also sees one that silently went away.
  std::chrono::milliseconds ping_after_idle{5'000};
  // Idle connections older than this are closed, so a quiet server does not
  // keep dozens of sessions open on the database for hours.
  std::chrono::milliseconds max_idle{300'000};
};

class ConnectionPool;

// A physical connection on loan from a pool (or opened just for the caller
// when pooling is off). Returning it — destruction or Release() — resets the
// session for the next user; a broken session is closed instead.
class PooledSession {
 public:
  PooledSession() = default;
  PooledSession(std::shared_ptr<ConnectionPool> pool, std::unique_ptr<MysqlSession> session);
  PooledSession(PooledSession&&) noexcept = default;
  PooledSession& operator=(PooledSession&& other) noexcept;
  PooledSession(const PooledSession&) = delete;
  PooledSession& operator=(const PooledSession&) = delete;
  ~PooledSession() { Release(); }

  explicit operator bool() const { return session_ != nullptr; }
  MysqlSession& operator*() const { return *session_; }
  MysqlSession* operator->() const { return session_.get(); }

  void Release() noexcept;

 private:
  std::shared_ptr<ConnectionPool> pool_;  // null: not pooled, closed on release
  std::unique_ptr<MysqlSession> session_;
};

// A bounded set of sessions to one server as one user. The default database
// is chosen per lease: an idle session that is already on it is preferred,
// another one is switched with COM_INIT_DB, so one pool serves every tenant.
//
// Thread-safe. A statement is never repeated: sessions are checked and, if
// the server dropped them, replaced before they are handed out; a failure
// while a statement runs is the caller's error and the session is discarded.
class ConnectionPool : public std::enable_shared_from_this<ConnectionPool> {
 public:
  ConnectionPool(ConnectParams server, PoolOptions options);
  ~ConnectionPool();
  ConnectionPool(const ConnectionPool&) = delete;
  ConnectionPool& operator=(const ConnectionPool&) = delete;

  // A session whose default database is `database` (none when empty).
  // Throws DatabaseError: the server's message when it cannot be reached or
  // the database does not exist, or a timeout message when every connection
  // stays busy for acquire_timeout.
  PooledSession Acquire(const std::string& database);

  // Takes a session back: reset and kept, or closed when it is broken, when
  // the reset fails or when `reusable` is false.
  void Return(std::unique_ptr<MysqlSession> session, bool reusable) noexcept;

  // Closes every idle session (open leases are not touched).
  void CloseIdle();

  std::size_t open_count() const;
  std::size_t idle_count() const;
  const PoolOptions& options() const { return options_; }

  // The pool for this server and account (host, port, user, password,
  // character set), created on first use and kept for the process.
  static std::shared_ptr<ConnectionPool> For(const ConnectParams& server);
  // CloseIdle on every pool made by For.
  static void CloseAllIdle();

 private:
  std::unique_ptr<MysqlSession> TakeIdleLocked(const std::string& database, bool allow_switch);
  std::unique_ptr<MysqlSession> OpenNew(const std::string& database);
  void DiscardOne() noexcept;

  const ConnectParams server_;
  PoolOptions options_;
  mutable std::mutex mutex_;
  std::condition_variable available_;
  std::vector<std::unique_ptr<MysqlSession>> idle_;  // most recently used last
  std::size_t open_ = 0;                             // idle + leased + being opened
};

// Whether physical connections come from pools (the default) or are opened
// and closed per lease. The environment variable QUORVANE_DB_POOL set to "0"
// or "off" starts the process with pooling off. Changing it affects leases
// made afterwards; used by the benchmark to compare both ways.
void SetConnectionPooling(bool enabled);
bool ConnectionPooling();

// A session for `database` on `server`: from its pool, or a new one when
// pooling is off.
PooledSession LeaseSession(const ConnectParams& server, const std::string& database);

}  // namespace quorvane::database
