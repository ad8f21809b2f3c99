// DatabaseConnection against the test MariaDB: ExecuteSQL, opening and its
// failures, schema names.
#include "database/connection.h"

#include <gtest/gtest.h>

#include <string>

#include "database/connection_pool.h"
#include "database/errors.h"
#include "test_db.h"

namespace quorvane::database {
namespace {

using testing::Admin;
using testing::TenantConnection;

constexpr char kSchema[] = "qv_dbtest_conn";

class ConnectionDbTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Admin admin;
    admin.CreateSchema(kSchema);
    admin.Exec(std::string("CREATE TABLE ") + kSchema +
               ".seq (id INT AUTO_INCREMENT PRIMARY KEY, nome VARCHAR(40))");
    admin.Exec(std::string("CREATE TABLE ") + kSchema +
               ".plain (codigo INT PRIMARY KEY, nome VARCHAR(40))");
  }
  void SetUp() override { connection_ = TenantConnection(kSchema); }

  Admin admin_;
  std::unique_ptr<DatabaseConnection> connection_;
};

TEST_F(ConnectionDbTest, ExecuteSqlReturnsTheGeneratedKey) {
  const std::int64_t first = connection_->ExecuteSQL("INSERT INTO seq (nome) VALUES ('a')");
  EXPECT_GT(first, 0);
  EXPECT_EQ(connection_->ExecuteSQL("INSERT INTO seq (nome) VALUES ('b')"), first + 1);
  EXPECT_EQ(admin_.Scalar(std::string("SELECT nome FROM ") + kSchema +
                          ".seq WHERE id = " + std::to_string(first + 1)),
            "b");
}

TEST_F(ConnectionDbTest, ExecuteSqlWithoutGeneratedKeyReturnsZero) {
  const char* statements[] = {
      "INSERT INTO plain (codigo, nome) VALUES (1, 'x')",
      "UPDATE plain SET nome = 'y' WHERE codigo = 1",
      "UPDATE seq SET nome = nome",
      "DELETE FROM plain WHERE codigo = 1",
      "SELECT 1",  // rows are read and dropped
  };
  for (const char* sql : statements) {
    SCOPED_TRACE(sql);
    EXPECT_EQ(connection_->ExecuteSQL(sql), 0);
  }
}

TEST_F(ConnectionDbTest, FormatOverloadExpandsBeforeRunning) {
  EXPECT_EQ(
      connection_->ExecuteSQL("INSERT INTO plain (codigo, nome) VALUES (%d, %s)", {7, "'sete'"}),
      0);
  EXPECT_EQ(admin_.Scalar(std::string("SELECT nome FROM ") + kSchema + ".plain WHERE codigo = 7"),
            "sete");
  EXPECT_THROW(connection_->ExecuteSQL("DELETE FROM plain WHERE codigo = %d", {"7 OR 1=1"}),
               ConversionError);
}

TEST_F(ConnectionDbTest, StatementErrorsCarryTheDatabaseMessage) {
  try {
    connection_->ExecuteSQL("DELETE FROM nao_existe");
    FAIL();
  } catch (const DatabaseError& e) {
    EXPECT_EQ(std::string(e.what()),
              std::string("Table '") + kSchema + ".nao_existe' doesn't exist");
    EXPECT_FALSE(e.is_client_error());
  }
  // The connection object is still usable for the next operation.
  EXPECT_EQ(connection_->ExecuteSQL("SELECT 1"), 0);
}

class PoolingModeTest : public ConnectionDbTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    ConnectionDbTest::SetUp();
    SetConnectionPooling(GetParam());
  }
  void TearDown() override { SetConnectionPooling(true); }
};

TEST_P(PoolingModeTest, ServerDownSurfacesOnTheFirstStatement) {
  connection_->SetServer("127.0.0.1");
  connection_->SetPort("1");  // nothing listens there
  auto connected = connection_->Connected();
  EXPECT_FALSE(connected->Connected());
  DatabaseConnection::Disconnected(std::move(connected));
  try {
    connection_->ExecuteSQL("SELECT 1");
    FAIL();
  } catch (const DatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("Can't connect to server on '127.0.0.1'"),
              std::string::npos)
        << e.what();
    EXPECT_TRUE(e.is_client_error());
  }
  // No session was counted for the failed attempts.
  ConnectParams server = testing::ServerParams();
  server.host = "127.0.0.1";
  server.port = 1;
  EXPECT_EQ(ConnectionPool::For(server)->open_count(), 0u);
}

TEST_P(PoolingModeTest, UnknownDatabaseStaysObservable) {
  // A session on a real schema first, so that the pooled case also goes
  // through switching an existing session.
  EXPECT_EQ(connection_->ExecuteSQL("SELECT 1"), 0);
  connection_->SetDatabase("qv_dbtest_nao_existe");
  auto custom = connection_->CreateCustomConnection();
  try {
    custom->Open();
    FAIL();
  } catch (const DatabaseError& e) {
    EXPECT_EQ(std::string(e.what()), "Unknown database 'qv_dbtest_nao_existe'");
  }
  EXPECT_FALSE(custom->Connected());
  EXPECT_THROW(connection_->ExecuteSQL("SELECT 1"), DatabaseError);
  connection_->SetDatabase(kSchema);
  EXPECT_EQ(connection_->ExecuteSQL("SELECT 1"), 0);
}

TEST_P(PoolingModeTest, SchemaNameIsUsedVerbatim) {
  const std::string odd = "qv_dbtest_a b'c";
  admin_.CreateSchema(odd);
  connection_->SetDatabase(odd);
  const auto row = connection_->SelectToJSONObject("SELECT DATABASE() AS db");
  ASSERT_TRUE(row);
  EXPECT_EQ(lib::ToJson(*row), R"({"db":"qv_dbtest_a b'c"})");
  connection_->SetDatabase(" " + odd);  // a leading space is a different name
  EXPECT_THROW(connection_->ExecuteSQL("SELECT 1"), DatabaseError);
}

INSTANTIATE_TEST_SUITE_P(Modes, PoolingModeTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Pooled" : "Unpooled"; });

TEST_F(ConnectionDbTest, HeldConnectionRunsEveryOperationOnOneSession) {
  auto hold = connection_->HoldConnection();
  const auto first = connection_->SelectToJSONObject("SELECT CONNECTION_ID() AS id");
  connection_->ExecuteSQL("INSERT INTO seq (nome) VALUES ('held')");
  const auto second = connection_->SelectToJSONObject("SELECT CONNECTION_ID() AS id");
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->Find("id")->AsNumberText(), second->Find("id")->AsNumberText());
  // A change of database switches the held session.
  admin_.CreateSchema("qv_dbtest_conn2");
  connection_->SetDatabase("qv_dbtest_conn2");
  const auto third =
      connection_->SelectToJSONObject("SELECT CONNECTION_ID() AS id, DATABASE() AS db");
  ASSERT_TRUE(third);
  EXPECT_EQ(third->Find("id")->AsNumberText(), first->Find("id")->AsNumberText());
  EXPECT_EQ(third->Find("db")->AsString(), "qv_dbtest_conn2");
}

}  // namespace
}  // namespace quorvane::database
