#pragma once

#include <string>

namespace quorvane::lib {

// The server's fixed settings. With no QUORVANE_* environment variable set the
// server behaves exactly with these constants; the variables exist for
// deployments and tests (a test server on another port or database).
struct Settings {
  int port = 9001;
  std::string db_host = "localhost";
  int db_port = 3306;
  std::string db_user = "root";
  std::string db_password = "vortexpin";
  std::string jwt_key = "QXZ-tenants#7788";

  // The constants overridden by QUORVANE_PORT, QUORVANE_DB_HOST,
  // QUORVANE_DB_PORT, QUORVANE_DB_USER, QUORVANE_DB_PASSWORD and
  // QUORVANE_JWT_KEY where set and not empty. A numeric variable that is not a
  // valid port keeps the constant.
  static Settings FromEnvironment();
};

// The process-wide settings, read from the environment on first use.
const Settings& CurrentSettings();

}  // namespace quorvane::lib
