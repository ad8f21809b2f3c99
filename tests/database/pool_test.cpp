// The connection pool against the test MariaDB: reuse, clean sessions per
// lease, schema per lease, replacement of dropped sessions, bounds and
// concurrency.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "database/connection.h"
#include "database/connection_pool.h"
#include "database/errors.h"
#include "test_db.h"

namespace quorvane::database {
namespace {

using testing::Admin;
using testing::ServerParams;
using testing::TenantConnection;

constexpr char kSchemaA[] = "qv_dbtest_pool_a";
constexpr char kSchemaB[] = "qv_dbtest_pool_b";

std::string One(MysqlSession& session, const std::string& sql) {
  const ResultSet r = session.Query(sql);
  if (r.empty()) return "<no row>";
  const auto& v = r.rows()[0][0].text;
  return v ? *v : "NULL";
}

class PoolTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Admin admin;
    admin.CreateSchema(kSchemaA);
    admin.CreateSchema(kSchemaB);
    admin.Exec(std::string("CREATE TABLE ") + kSchemaA +
               ".t (id INT AUTO_INCREMENT PRIMARY KEY, marca VARCHAR(40)) ENGINE=InnoDB");
    admin.Exec(std::string("CREATE TABLE ") + kSchemaB +
               ".t (id INT AUTO_INCREMENT PRIMARY KEY, marca VARCHAR(40))");
  }

  std::shared_ptr<ConnectionPool> MakePool(PoolOptions options = {}) {
    return std::make_shared<ConnectionPool>(ServerParams(), options);
  }

  // Waits until the server has really ended a killed session.
  void WaitUntilGone(unsigned long thread_id) {
    for (int i = 0; i < 200; ++i) {
      if (admin_.Scalar("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE ID = " +
                        std::to_string(thread_id)) == "0") {
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    FAIL() << "session " << thread_id << " still alive";
  }

  Admin admin_;
};

TEST_F(PoolTest, ReusesOneSessionForSequentialLeases) {
  auto pool = MakePool();
  unsigned long first;
  {
    PooledSession lease = pool->Acquire(kSchemaA);
    first = lease->server_thread_id();
  }
  PooledSession again = pool->Acquire(kSchemaA);
  EXPECT_EQ(again->server_thread_id(), first);
  EXPECT_EQ(pool->open_count(), 1u);
}

TEST_F(PoolTest, NoSessionStateSurvivesALease) {
  auto pool = MakePool();
  unsigned long id;
  {
    PooledSession lease = pool->Acquire(kSchemaA);
    id = lease->server_thread_id();
    lease->Execute("SET @segredo = 'x'");
    lease->Query("SELECT @outro := 5");
    lease->Execute("CREATE TEMPORARY TABLE tmp_t (a INT)");
    lease->Execute("SET SESSION sql_mode = 'NO_BACKSLASH_ESCAPES,ANSI_QUOTES'");
    lease->Execute("SET SESSION autocommit = 0");
    lease->Execute("INSERT INTO t (marca) VALUES ('nao confirmado')");
    ASSERT_EQ(One(*lease, "SELECT GET_LOCK('qv_dbtest_lock', 0)"), "1");
  }
  PooledSession lease = pool->Acquire(kSchemaA);
  ASSERT_EQ(lease->server_thread_id(), id);
  EXPECT_EQ(One(*lease, "SELECT @segredo"), "NULL");
  EXPECT_EQ(One(*lease, "SELECT @outro"), "NULL");
  EXPECT_THROW(lease->Query("SELECT * FROM tmp_t"), DatabaseError);
  EXPECT_EQ(One(*lease, "SELECT @@SESSION.sql_mode LIKE '%NO_BACKSLASH_ESCAPES%'"), "0");
  EXPECT_EQ(One(*lease, "SELECT @@SESSION.autocommit"), "1");
  EXPECT_EQ(One(*lease, "SELECT COUNT(*) FROM t WHERE marca = 'nao confirmado'"), "0");
  EXPECT_EQ(One(*lease, "SELECT IS_USED_LOCK('qv_dbtest_lock')"), "NULL");
  EXPECT_EQ(One(*lease, "SELECT @@character_set_client"), "utf8mb3");
  EXPECT_EQ(lease->current_database(), kSchemaA);
}

TEST_F(PoolTest, EachLeaseHasItsOwnDefaultDatabase) {
  auto pool = MakePool();
  const struct {
    std::string database;
    std::string want;
  } steps[] = {{kSchemaA, kSchemaA}, {kSchemaB, kSchemaB}, {kSchemaA, kSchemaA},
               {"", "NULL"},         {kSchemaB, kSchemaB}, {"", "NULL"}};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.database);
    PooledSession lease = pool->Acquire(step.database);
    EXPECT_EQ(One(*lease, "SELECT DATABASE()"), step.want);
  }
  EXPECT_LE(pool->open_count(), 2u);  // one session for the schemas, one without
}

TEST_F(PoolTest, UnknownDatabaseKeepsThePoolHealthy) {
  auto pool = MakePool();
  { PooledSession warm = pool->Acquire(kSchemaA); }
  try {
    pool->Acquire("qv_dbtest_nao_existe");
    FAIL();
  } catch (const DatabaseError& e) {
    EXPECT_EQ(std::string(e.what()), "Unknown database 'qv_dbtest_nao_existe'");
  }
  EXPECT_EQ(pool->open_count(), 1u);
  EXPECT_EQ(pool->idle_count(), 1u);
  PooledSession lease = pool->Acquire(kSchemaA);
  EXPECT_EQ(One(*lease, "SELECT DATABASE()"), kSchemaA);
}

TEST_F(PoolTest, SessionDroppedByTheServerIsReplacedBeforeUse) {
  auto pool = MakePool();
  unsigned long killed;
  {
    PooledSession lease = pool->Acquire(kSchemaA);
    killed = lease->server_thread_id();
  }
  admin_.Exec("KILL CONNECTION " + std::to_string(killed));
  WaitUntilGone(killed);
  PooledSession lease = pool->Acquire(kSchemaA);
  EXPECT_NE(lease->server_thread_id(), killed);
  EXPECT_EQ(One(*lease, "SELECT DATABASE()"), kSchemaA);
  EXPECT_EQ(pool->open_count(), 1u);
}

TEST_F(PoolTest, IdleSessionIsPingedAfterTheIdleTime) {
  PoolOptions options;
  options.ping_after_idle = std::chrono::milliseconds(0);
  auto pool = MakePool(options);
  { PooledSession lease = pool->Acquire(kSchemaA); }
  PooledSession lease = pool->Acquire(kSchemaA);
  EXPECT_EQ(One(*lease, "SELECT 1"), "1");
}

TEST_F(PoolTest, AStatementThatLosesItsSessionIsNotRepeated) {
  auto pool = MakePool();
  admin_.Exec(std::string("DELETE FROM ") + kSchemaA + ".t");
  {
    PooledSession lease = pool->Acquire(kSchemaA);
    const unsigned long id = lease->server_thread_id();
    admin_.Exec("KILL CONNECTION " + std::to_string(id));
    WaitUntilGone(id);
    try {
      lease->Execute("INSERT INTO t (marca) VALUES ('uma vez')");
      FAIL() << "the insert ran on a killed session";
    } catch (const DatabaseError& e) {
      EXPECT_TRUE(lease->broken()) << e.what();
    }
  }
  EXPECT_EQ(admin_.Scalar(std::string("SELECT COUNT(*) FROM ") + kSchemaA + ".t"), "0");
  EXPECT_EQ(pool->open_count(), 0u);  // the broken session was discarded
  PooledSession next = pool->Acquire(kSchemaA);
  EXPECT_EQ(One(*next, "SELECT 1"), "1");
}

TEST_F(PoolTest, HeldConnectionRecoversForItsNextStatement) {
  auto connection = TenantConnection(kSchemaA);
  auto hold = connection->HoldConnection();
  CustomConnection& custom = hold.connection();
  custom.Open();
  const unsigned long id = custom.session()->server_thread_id();
  admin_.Exec("KILL CONNECTION " + std::to_string(id));
  WaitUntilGone(id);
  EXPECT_THROW(connection->ExecuteSQL("SELECT 1"), DatabaseError);
  const auto row = connection->SelectToJSONObject("SELECT DATABASE() AS db");
  ASSERT_TRUE(row);
  EXPECT_EQ(row->Find("db")->AsString(), kSchemaA);
  EXPECT_NE(custom.session()->server_thread_id(), id);
}

TEST_F(PoolTest, BoundedWithTimeoutAndHandOver) {
  PoolOptions options;
  options.max_connections = 2;
  options.acquire_timeout = std::chrono::milliseconds(300);
  auto pool = MakePool(options);
  PooledSession a = pool->Acquire(kSchemaA);
  PooledSession b = pool->Acquire(kSchemaB);
  EXPECT_THROW(pool->Acquire(kSchemaA), DatabaseError);
  EXPECT_EQ(pool->open_count(), 2u);

  std::atomic<bool> got{false};
  std::thread waiter([&] {
    PooledSession c = pool->Acquire(kSchemaB);
    got = One(*c, "SELECT DATABASE()") == kSchemaB;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  a.Release();  // handed to the waiter, which switches it to B
  waiter.join();
  EXPECT_TRUE(got);
  EXPECT_EQ(pool->open_count(), 2u);
}

TEST_F(PoolTest, FullPoolEvictsAnIdleSessionForALeaseWithoutDatabase) {
  PoolOptions options;
  options.max_connections = 1;
  options.acquire_timeout = std::chrono::milliseconds(300);
  auto pool = MakePool(options);
  { PooledSession a = pool->Acquire(kSchemaA); }
  PooledSession none = pool->Acquire("");
  EXPECT_EQ(One(*none, "SELECT DATABASE()"), "NULL");
  EXPECT_EQ(pool->open_count(), 1u);
}

// Many threads at once, each checking that its lease is on its schema and
// that the key it gets back is the one of its own row.
TEST_F(PoolTest, ConcurrentLeasesKeepSchemaAndInsertIdStraight) {
  constexpr int kThreads = 40;
  constexpr int kRounds = 15;
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &failures] {
      const std::string schema = t % 2 ? kSchemaA : kSchemaB;
      for (int r = 0; r < kRounds; ++r) {
        try {
          auto connection = TenantConnection(schema);
          const std::string marca = "t" + std::to_string(t) + "r" + std::to_string(r);
          const std::int64_t id =
              connection->ExecuteSQL("INSERT INTO t (marca) VALUES ('" + marca + "')");
          const auto row = connection->SelectToJSONObject(
              "SELECT marca, DATABASE() AS db FROM t WHERE id = " + std::to_string(id));
          if (!row || row->Find("marca")->AsString() != marca ||
              row->Find("db")->AsString() != schema) {
            ++failures;
          }
        } catch (const std::exception&) {
          ++failures;
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
  const auto pool = ConnectionPool::For(ServerParams());
  EXPECT_LE(pool->open_count(), pool->options().max_connections);
  EXPECT_EQ(pool->idle_count(), pool->open_count());  // every lease came back
}

TEST_F(PoolTest, PoolingSwitchOpensASessionPerLease) {
  SetConnectionPooling(false);
  unsigned long first;
  {
    PooledSession lease = LeaseSession(ServerParams(), kSchemaA);
    first = lease->server_thread_id();
  }
  PooledSession second = LeaseSession(ServerParams(), kSchemaA);
  EXPECT_NE(second->server_thread_id(), first);
  SetConnectionPooling(true);
  EXPECT_TRUE(ConnectionPooling());
}

}  // namespace
}  // namespace quorvane::database
