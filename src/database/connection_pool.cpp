#include "database/connection_pool.h"

#include <atomic>
#include <cstdlib>
#include <map>
#include <string_view>
#include <utility>

#include "database/errors.h"

namespace quorvane::database {
namespace {

std::atomic<bool>& PoolingFlag() {
  static std::atomic<bool> flag{[] {
    const char* v = std::getenv("QUORVANE_DB_POOL");
    const std::string_view text = v ? v : "";
    return !(text == "0" || text == "off" || text == "OFF" || text == "false");
  }()};
  return flag;
}

struct PoolRegistry {
  std::mutex mutex;
  std::map<std::string, std::shared_ptr<ConnectionPool>> pools;

  ~PoolRegistry() {
    for (auto& [key, pool] : pools) pool->CloseIdle();
  }
};

PoolRegistry& Registry() {
  static PoolRegistry registry;
  return registry;
}

std::string PoolKey(const ConnectParams& p) {
  std::string key;
  for (const std::string* part : {&p.host, &p.user, &p.password, &p.character_set}) {
    key += *part;
    key += '\0';
  }
  key += std::to_string(p.port);
  return key;
}

}  // namespace

PooledSession::PooledSession(std::shared_ptr<ConnectionPool> pool,
                             std::unique_ptr<MysqlSession> session)
    : pool_(std::move(pool)), session_(std::move(session)) {}

PooledSession& PooledSession::operator=(PooledSession&& other) noexcept {
  if (this != &other) {
    Release();
    pool_ = std::move(other.pool_);
    session_ = std::move(other.session_);
  }
  return *this;
}

void PooledSession::Release() noexcept {
  if (pool_ && session_) pool_->Return(std::move(session_), true);
  session_.reset();
  pool_.reset();
}

ConnectionPool::ConnectionPool(ConnectParams server, PoolOptions options)
    : server_(std::move(server)), options_(options) {
  if (options_.max_connections == 0) options_.max_connections = 1;
}

ConnectionPool::~ConnectionPool() = default;

std::unique_ptr<MysqlSession> ConnectionPool::TakeIdleLocked(const std::string& database,
                                                             bool allow_switch) {
  for (auto it = idle_.rbegin(); it != idle_.rend(); ++it) {
    if ((*it)->current_database() == database) {
      auto session = std::move(*it);
      idle_.erase(std::next(it).base());
      return session;
    }
  }
  if (!allow_switch || idle_.empty()) return nullptr;
  // Switch a session that has a database: one without is kept for leases
  // that want none, which no other session can serve.
  auto pick = idle_.end() - 1;
  for (auto it = idle_.rbegin(); it != idle_.rend(); ++it) {
    if (!(*it)->current_database().empty()) {
      pick = std::next(it).base();
      break;
    }
  }
  auto session = std::move(*pick);
  idle_.erase(pick);
  return session;
}

std::unique_ptr<MysqlSession> ConnectionPool::OpenNew(const std::string& database) {
  ConnectParams params = server_;
  params.database = database;
  return MysqlSession::Connect(params);
}

void ConnectionPool::DiscardOne() noexcept {
  {
    std::lock_guard lock(mutex_);
    --open_;
  }
  available_.notify_one();
}

PooledSession ConnectionPool::Acquire(const std::string& database) {
  const auto deadline = std::chrono::steady_clock::now() + options_.acquire_timeout;
  for (;;) {
    std::unique_ptr<MysqlSession> session;
    std::unique_ptr<MysqlSession> evicted;
    bool open_new = false;
    {
      std::unique_lock lock(mutex_);
      for (;;) {
        // A session that has no default database cannot be given one back
        // with COM_INIT_DB, so a lease without database only reuses sessions
        // that never had one.
        session = TakeIdleLocked(database, !database.empty());
        if (session) break;
        if (open_ < options_.max_connections) {
          ++open_;
          open_new = true;
          break;
        }
        if (!idle_.empty()) {  // full, and only sessions on some database idle
          evicted = std::move(idle_.front());
          idle_.erase(idle_.begin());
          open_new = true;  // the evicted session's slot is reused
          break;
        }
        if (available_.wait_until(lock, deadline) == std::cv_status::timeout &&
            open_ >= options_.max_connections && idle_.empty()) {
          throw DatabaseError("No database connection became free within " +
                              std::to_string(options_.acquire_timeout.count()) + " ms (all " +
                              std::to_string(options_.max_connections) + " in use)");
        }
      }
    }
    evicted.reset();
    if (open_new) {
      try {
        return PooledSession(shared_from_this(), OpenNew(database));
      } catch (...) {
        DiscardOne();
        throw;
      }
    }
    const bool idle_long =
        std::chrono::steady_clock::now() - session->last_used() >= options_.ping_after_idle;
    if (session->ClosedByPeer() || (idle_long && !session->Ping())) {
      session.reset();  // dropped by the server while idle: replace it
      DiscardOne();
      continue;
    }
    if (session->current_database() != database) {
      try {
        session->SelectDatabase(database);
      } catch (const DatabaseError&) {
        if (session->broken()) {  // lost before any statement was sent: replace it
          session.reset();
          DiscardOne();
          continue;
        }
        // Refused (unknown database, no access): the session is fine as it
        // was and ran nothing since its last reset.
        {
          std::lock_guard lock(mutex_);
          idle_.push_back(std::move(session));
        }
        available_.notify_one();
        throw;
      }
    }
    return PooledSession(shared_from_this(), std::move(session));
  }
}

void ConnectionPool::Return(std::unique_ptr<MysqlSession> session, bool reusable) noexcept {
  if (!session) return;
  if (!reusable || session->broken() || !session->ResetSession()) {
    session.reset();
    DiscardOne();
    return;
  }
  std::vector<std::unique_ptr<MysqlSession>> expired;
  {
    std::lock_guard lock(mutex_);
    idle_.push_back(std::move(session));
    const auto now = std::chrono::steady_clock::now();
    for (auto it = idle_.begin(); it != idle_.end();) {
      if (now - (*it)->last_used() > options_.max_idle) {
        expired.push_back(std::move(*it));
        it = idle_.erase(it);
        --open_;
      } else {
        ++it;
      }
    }
  }
  available_.notify_all();
  // `expired` closes its sessions here, outside the lock.
}

void ConnectionPool::CloseIdle() {
  std::vector<std::unique_ptr<MysqlSession>> closing;
  {
    std::lock_guard lock(mutex_);
    open_ -= idle_.size();
    closing.swap(idle_);
  }
  available_.notify_all();
}

std::size_t ConnectionPool::open_count() const {
  std::lock_guard lock(mutex_);
  return open_;
}

std::size_t ConnectionPool::idle_count() const {
  std::lock_guard lock(mutex_);
  return idle_.size();
}

std::shared_ptr<ConnectionPool> ConnectionPool::For(const ConnectParams& server) {
  PoolRegistry& registry = Registry();
  const std::string key = PoolKey(server);
  std::lock_guard lock(registry.mutex);
  auto& pool = registry.pools[key];
  if (!pool) {
    ConnectParams params = server;
    params.database.clear();
    pool = std::make_shared<ConnectionPool>(std::move(params), PoolOptions{});
  }
  return pool;
}

void ConnectionPool::CloseAllIdle() {
  PoolRegistry& registry = Registry();
  std::lock_guard lock(registry.mutex);
  for (auto& [key, pool] : registry.pools) pool->CloseIdle();
}

void SetConnectionPooling(bool enabled) { PoolingFlag().store(enabled); }
bool ConnectionPooling() { return PoolingFlag().load(); }

PooledSession LeaseSession(const ConnectParams& server, const std::string& database) {
  if (ConnectionPooling()) return ConnectionPool::For(server)->Acquire(database);
  ConnectParams params = server;
  params.database = database;
  return PooledSession(nullptr, MysqlSession::Connect(params));
}

}  // namespace quorvane::database
