#include "test_db.h"

#include <gtest/gtest.h>

#include <mutex>
#include <set>

#include "database/connection_pool.h"
#include "lib/settings.h"

namespace quorvane::database::testing {
namespace {

std::mutex& SchemasMutex() {
  static std::mutex m;
  return m;
}
std::set<std::string>& Schemas() {
  static std::set<std::string> s;
  return s;
}

// Drops every schema the tests created once all tests have run.
class DropSchemas : public ::testing::Environment {
 public:
  void TearDown() override {
    ConnectionPool::CloseAllIdle();
    auto session = MysqlSession::Connect(ServerParams());
    std::lock_guard lock(SchemasMutex());
    for (const auto& schema : Schemas())
      session->Execute("DROP DATABASE IF EXISTS `" + schema + "`");
  }
};

const auto* const kDropSchemas = ::testing::AddGlobalTestEnvironment(new DropSchemas);

}  // namespace

ConnectParams ServerParams() {
  const auto& s = lib::CurrentSettings();
  ConnectParams p;
  p.host = s.db_host;
  p.port = static_cast<unsigned>(s.db_port);
  p.user = s.db_user;
  p.password = s.db_password;
  p.character_set = "utf8";
  return p;
}

std::unique_ptr<DatabaseConnection> TenantConnection(const std::string& schema) {
  const auto& s = lib::CurrentSettings();
  auto c = std::make_unique<DatabaseConnection>();
  c->SetKeyFieldsDefault("codigo");
  c->SetDatabase(schema);
  c->SetUserName(s.db_user);
  c->SetServer(s.db_host);
  c->SetPassword(s.db_password);
  c->SetPort(std::to_string(s.db_port));
  return c;
}

Admin::Admin() : session_(MysqlSession::Connect(ServerParams())) {}

void Admin::Exec(const std::string& sql) { session_->Execute(sql); }

ResultSet Admin::Query(const std::string& sql) { return session_->Query(sql); }

std::string Admin::Scalar(const std::string& sql) {
  const ResultSet r = session_->Query(sql);
  if (r.empty() || r.rows()[0].empty()) return "<no row>";
  const auto& v = r.rows()[0][0].text;
  return v ? *v : "NULL";
}

void Admin::CreateSchema(const std::string& schema) {
  {
    std::lock_guard lock(SchemasMutex());
    Schemas().insert(schema);
  }
  Exec("DROP DATABASE IF EXISTS `" + schema + "`");
  Exec("CREATE DATABASE `" + schema + "` CHARACTER SET utf8mb4");
}

}  // namespace quorvane::database::testing
