#pragma once

// Shared by the database tests: connections to the test MariaDB and scratch
// schemas named qv_dbtest_*, dropped again when the test binary ends.

#include <memory>
#include <string>
#include <vector>

#include "database/connection.h"
#include "database/mysql_client.h"

namespace quorvane::database::testing {

// Server and account of the test MariaDB (lib::CurrentSettings()).
ConnectParams ServerParams();

// A DatabaseConnection as the data service makes one for a tenant:
// KeyFieldsDefault "codigo", the test server and account, `schema`.
std::unique_ptr<DatabaseConnection> TenantConnection(const std::string& schema);

// Runs statements outside the code under test, on a session of its own.
class Admin {
 public:
  Admin();
  void Exec(const std::string& sql);
  ResultSet Query(const std::string& sql);
  // The single value of a one-row, one-column query; "NULL" for null.
  std::string Scalar(const std::string& sql);
  // Creates (or recreates) a schema; it is dropped when the binary ends.
  void CreateSchema(const std::string& schema);

 private:
  std::unique_ptr<MysqlSession> session_;
};

}  // namespace quorvane::database::testing
