#pragma once

// The end-to-end fixture: the server's full middleware chain and controller
// list (the start-up code of app/) served in-process by the real provider on
// an ephemeral port, a tenant created from db/ on the test MariaDB, tokens
// signed with the server key, and a small HTTP client over real sockets.
//
//   class CidadeTest : public quorvane::e2e::E2ETest {};
//   TEST_F(CidadeTest, Lists) {
//     tenant().db().Exec("INSERT INTO cidades (codigo, cidade) VALUES (1, 'X')");
//     const auto res = Get("/v1/cidade");
//     EXPECT_EQ(res.status, 200);
//   }
//
// One server and one tenant serve every test of a binary; a test that changes
// the tenant's control row (maintenance, switches) makes a FixtureTenant of
// its own instead. Tests leave the tables they write as they found them or
// clear them first.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "lib/json.h"
#include "test_mariadb.h"
#include "tools/token.h"
#include "web/core/router_tree.h"
#include "web/core/web_core.h"
#include "web/core/web_provider.h"

namespace quorvane::e2e {

// ---------------------------------------------------------------- HTTP client

struct HttpHeader {
  std::string name;
  std::string value;
};
using HttpHeaders = std::vector<HttpHeader>;

// Replaces every header `name` (any case) by one with `value`.
void SetHeader(HttpHeaders& headers, std::string_view name, std::string value);
// Removes every header `name` (any case).
void RemoveHeader(HttpHeaders& headers, std::string_view name);

struct HttpRequest {
  std::string method = "GET";
  std::string target = "/";
  HttpHeaders headers;
  std::string body;  // sent with Content-Length when not empty
};

// An answer as it arrived on the wire (chunked bodies already joined).
struct HttpResponse {
  int status = 0;
  HttpHeaders headers;
  std::string body;

  // The first header `name` (any case); empty when absent.
  std::string Header(std::string_view name) const;
  bool HasHeader(std::string_view name) const;
  // The body as JSON; fails the current test (and returns null) when it is
  // not JSON.
  lib::JsonValue Json() const;
};

// Sends `request` over a fresh connection to 127.0.0.1:`port` and reads the
// answer until the server closes the connection. Throws std::runtime_error
// when the connection fails, stalls for 60 s or the answer does not parse.
HttpResponse SendHttp(int port, const HttpRequest& request);

// --------------------------------------------------------------- test MariaDB

using quorvane::testing::Row;
using quorvane::testing::SourcePath;

// A direct client of the test MariaDB (root on 127.0.0.1:3306, or the
// QUORVANE_DB_* variables), beside the server, to arrange rows before a
// request and to read back what a request wrote. Multi-statement mode, so a
// whole SQL file runs in one call. Errors throw std::runtime_error with the
// server's message and the statement.
class TestDb : public quorvane::testing::TestMariaDb {
 public:
  // Connected to `database` (none when empty).
  explicit TestDb(const std::string& database = {})
      : TestMariaDb(database, /*multi_statements=*/true) {}

  // The first column of the single row of a query; throws unless there is
  // exactly one row.
  std::optional<std::string> Value(std::string_view sql);
  std::int64_t Count(std::string_view table, std::string_view where = {});
};

// `value` as a MariaDB string literal (quotes and backslashes escaped), for
// SQL that tests write themselves.
std::string SqlText(std::string_view value);

// `stem` followed by this process's id: unique among concurrent test runs.
std::string UniqueName(std::string_view stem);

// A tenant as load-db.sh makes one: the schema `name` with the tables of
// db/tenant.sql (no rows), its row in _stru._schemas (manutencao 0, every
// switch 0) and one active login. A leftover of a crashed run is dropped
// first; the schema and the row are dropped again when the object goes.
class FixtureTenant {
 public:
  explicit FixtureTenant(std::string name, std::string login = "e2e",
                         std::string password = "e2e-senha");
  ~FixtureTenant();
  FixtureTenant(const FixtureTenant&) = delete;
  FixtureTenant& operator=(const FixtureTenant&) = delete;

  const std::string& name() const { return name_; }
  const std::string& login() const { return login_; }
  const std::string& password() const { return password_; }

  // A connection to the tenant schema.
  TestDb& db() { return *db_; }

  // One column of the tenant's row in _stru._schemas (nullopt: NULL).
  void SetControl(std::string_view column, std::optional<int> value);
  std::optional<int> Control(std::string_view column);

 private:
  std::string name_;
  std::string login_;
  std::string password_;
  std::unique_ptr<TestDb> control_;
  std::unique_ptr<TestDb> db_;
};

// --------------------------------------------------------------------- server

// The server as start-up builds it (app::InstallMiddlewares, then
// app::RegisterControllers) over a route tree of its own, listening on an
// ephemeral port. `extra` may register further routes after the controllers
// (probes that expose what a handler-side helper decides).
class E2EServer {
 public:
  explicit E2EServer(const std::function<void(web::core::WebCore&)>& extra = {});
  ~E2EServer();
  E2EServer(const E2EServer&) = delete;
  E2EServer& operator=(const E2EServer&) = delete;

  int port() const { return port_; }

 private:
  web::core::WebRouterTree tree_;
  web::core::WebCore core_;
  web::core::WebProvider provider_;
  int port_ = 0;
};

// A token the server accepts (signed with its key); the claims as given.
std::string MintToken(const tools::TokenClaims& claims = {});

// ---------------------------------------------------------------------- client

// Requests to one server as one tenant's branch: every request carries the
// tenant headers (x-schema, x-filial, x-user, x-pass) and a valid bearer
// token unless the call's own headers replace them.
class Client {
 public:
  Client(const E2EServer& server, const FixtureTenant& tenant)
      : server_(&server), tenant_(&tenant) {}

  // x-schema, x-filial `filial`, x-user, x-pass and Authorization.
  HttpHeaders TenantHeaders(std::string filial = "1") const;

  // TenantHeaders(), then `headers` replacing those of the same name.
  HttpResponse Send(std::string_view method, std::string_view target,
                    const HttpHeaders& headers = {}, std::string body = {}) const;
  HttpResponse Get(std::string_view target, const HttpHeaders& headers = {}) const;
  // Content-Type application/json unless `headers` names another.
  HttpResponse Post(std::string_view target, std::string body,
                    const HttpHeaders& headers = {}) const;
  HttpResponse Put(std::string_view target, const HttpHeaders& headers = {},
                   std::string body = {}) const;
  // Exactly these headers, nothing added.
  HttpResponse SendRaw(const HttpRequest& request) const;

 private:
  const E2EServer* server_;
  const FixtureTenant* tenant_;
};

// ------------------------------------------------------------- test base class

// The shared server and tenant, made on first use and kept for the whole
// binary. Subclass it (TEST_F / TEST_P) and talk to the server through
// client() or the shortcuts.
class E2ETest : public ::testing::Test {
 public:
  static E2EServer& server();
  static FixtureTenant& tenant();
  static const Client& client();

  static HttpResponse Get(std::string_view target, const HttpHeaders& headers = {}) {
    return client().Get(target, headers);
  }
  static HttpResponse Post(std::string_view target, std::string body,
                           const HttpHeaders& headers = {}) {
    return client().Post(target, std::move(body), headers);
  }
  static HttpResponse Put(std::string_view target, const HttpHeaders& headers = {},
                          std::string body = {}) {
    return client().Put(target, headers, std::move(body));
  }
  static HttpResponse Send(std::string_view method, std::string_view target,
                           const HttpHeaders& headers = {}, std::string body = {}) {
    return client().Send(method, target, headers, std::move(body));
  }
};

}  // namespace quorvane::e2e
