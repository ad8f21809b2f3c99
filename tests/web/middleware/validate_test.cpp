// The validation middleware end to end: real sockets, the real provider, the
// JSON and CORS middlewares around it as at start-up, and real tenants on the
// test MariaDB in each state the control table knows.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "chain_server.h"
#include "lib/json.h"
#include "test_mariadb.h"
#include "test_support.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"
#include "web/middleware/cors.h"
#include "web/middleware/json_body.h"
#include "web/middleware/validate_server.h"

namespace quorvane::web::middleware {
namespace {

using core::WebCore;
using core::WebNext;
using core::WebRequest;
using core::WebResponse;
using quorvane::testing::ScratchSchema;
using quorvane::testing::SourcePath;
using quorvane::testing::TestMariaDb;
using testing::ChainServer;
using testing::Exchange;
using testing::HttpAnswer;
using testing::Request;

constexpr const char* kNormal = "qv_validate_ok";
constexpr const char* kMaintenance = "qv_validate_maint";
constexpr const char* kWaiting = "qv_validate_wait";
constexpr const char* kNoRow = "qv_validate_norow";
constexpr const char* kNoDatabase = "qv_validate_nodb";

// Every route answers {"handler": path}, so a test sees that it got through.
void Reached(WebRequest& req, WebResponse& res, const WebNext&) {
  lib::JsonValue body = lib::JsonValue::MakeObject();
  body.Add("handler", lib::JsonValue::String(req.RawWebRequest().raw_path));
  res.Send(std::move(body));
}

class ValidateTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (const char* name : {kNormal, kMaintenance, kWaiting, kNoRow}) {
      schemas_.push_back(std::make_unique<ScratchSchema>(name));
      TestMariaDb tenant(name, /*multi_statements=*/true);
      tenant.ExecFile(SourcePath("db/tenant.sql"));
      tenant.Exec(
          "INSERT INTO login (login, senha, ativo) VALUES ('filial1', 'Segredo', 1), "
          "('antigo', 'Segredo', 0)");
    }
    TestMariaDb control({}, /*multi_statements=*/true);
    control.Exec("CREATE DATABASE IF NOT EXISTS _stru");
    TestMariaDb stru("_stru", /*multi_statements=*/true);
    stru.ExecFile(SourcePath("db/stru.sql"));
    stru.Exec("DELETE FROM _schemas WHERE name_schema LIKE 'qv\\_validate\\_%'");
    stru.Exec(std::string("INSERT INTO _schemas (name_schema, manutencao) VALUES ('") + kNormal +
              "', 0), ('" + kMaintenance + "', 1), ('" + kWaiting + "', -1), ('" + kNoDatabase +
              "', 0)");
    server_ = new ChainServer([](WebCore& core) {
      core.Use(JsonBody());
      core.Use(CORS);
      core.Use(Validate);
      core.Get("/v1/produto", Reached);
      core.Get("/v1/manutencao", Reached);
      core.Put("/v1/manutencao/ativar", Reached);
      core.Put("/v1/manutencao/inativar", Reached);
    });
  }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
    TestMariaDb("_stru").Exec("DELETE FROM _schemas WHERE name_schema LIKE 'qv\\_validate\\_%'");
    schemas_.clear();
  }

  static ChainServer* server_;
  static std::vector<std::unique_ptr<ScratchSchema>> schemas_;
};

ChainServer* ValidateTest::server_ = nullptr;
std::vector<std::unique_ptr<ScratchSchema>> ValidateTest::schemas_;

struct ValidateCase {
  const char* name;
  const char* method;
  const char* path;
  std::optional<std::string> schema, filial, user, pass;
  int want_status;
  // The refusal's message, or the path the handler saw when it got through.
  std::string want_message;
  bool want_handler = false;
};

ValidateCase Through(const char* name, const char* method, const char* path, const char* schema,
                     std::optional<std::string> filial = "12",
                     std::optional<std::string> user = "filial1",
                     std::optional<std::string> pass = "Segredo") {
  return {name, method, path, schema, filial, user, pass, 200, path, true};
}

ValidateCase Refused(const char* name, const char* method, const char* path,
                     std::optional<std::string> schema, int status, std::string message,
                     std::optional<std::string> filial = "12",
                     std::optional<std::string> user = "filial1",
                     std::optional<std::string> pass = "Segredo") {
  return {name, method, path, schema, filial, user, pass, status, std::move(message), false};
}

const ValidateCase kCases[] = {
    Refused("NoSchema", "GET", "/v1/produto", std::nullopt, 400, "Schema não informado"),
    Refused("BlankSchema", "GET", "/v1/produto", "   ", 400, "Schema não informado"),
    Refused("UnknownSchema", "GET", "/v1/produto", "qv_validate_missing", 400, "Schema inválido"),
    Refused("SchemaInOtherCase", "GET", "/v1/produto", "QV_VALIDATE_OK", 400, "Schema inválido"),
    Refused("SchemaWithQuote", "GET", "/v1/produto", "x' or '1'='1", 400, "Schema inválido"),
    Refused("SchemaWithBackslashEscape", "GET", "/v1/produto", "\\' or 1=1 #", 400,
            "Schema inválido"),
    Refused("RowWithoutDatabase", "GET", "/v1/produto", kNoDatabase, 400, "Schema inválido"),
    Refused("DatabaseWithoutRow", "GET", "/v1/produto", kNoRow, 400, "Schema inválido"),
    Refused("WaitingForInitialLoad", "GET", "/v1/produto", kWaiting, 503,
            "Aguardando carga inicial"),
    Refused("WaitingEvenOnMaintenanceRoutes", "PUT", "/v1/manutencao/inativar", kWaiting, 503,
            "Aguardando carga inicial"),
    Refused("Maintenance", "GET", "/v1/produto", kMaintenance, 503, "Manutenção programada"),
    Refused("MaintenanceBlocksSwitchingItOnAgain", "PUT", "/v1/manutencao/ativar", kMaintenance,
            503, "Manutenção programada"),
    Through("MaintenanceFlagReadable", "GET", "/v1/manutencao", kMaintenance),
    Through("MaintenanceEndsWithoutBranchOrLogin", "PUT", "/v1/manutencao/inativar", kMaintenance,
            std::nullopt, std::nullopt, std::nullopt),
    Through("MaintenanceStartsWithoutBranchOrLogin", "PUT", "/v1/manutencao/ativar", kNormal,
            std::nullopt, std::nullopt, std::nullopt),
    Refused("MaintenanceReadNeedsLogin", "GET", "/v1/manutencao", kMaintenance, 401,
            "Invalid username or password", "12", "filial1", "errada"),
    Refused("NoBranch", "GET", "/v1/produto", kNormal, 400, "Filial não informada", std::nullopt),
    Refused("BlankBranch", "GET", "/v1/produto", kNormal, 400, "Filial não informada", "  "),
    // HTTP drops blanks around a header value, so only inner ones arrive; the
    // data service's own tests cover leading and trailing blanks.
    Refused("BranchWithInnerSpace", "GET", "/v1/produto", kNormal, 400,
            "Filial informada não é válida", "1 2"),
    Refused("BranchNotDigits", "GET", "/v1/produto", kNormal, 400, "Filial informada não é válida",
            "12a"),
    Refused("BranchNegative", "GET", "/v1/produto", kNormal, 400, "Filial informada não é válida",
            "-1"),
    Refused("WrongPassword", "GET", "/v1/produto", kNormal, 401, "Invalid username or password",
            "12", "filial1", "errada"),
    Refused("PasswordInOtherCase", "GET", "/v1/produto", kNormal, 401,
            "Invalid username or password", "12", "filial1", "segredo"),
    Refused("InactiveLogin", "GET", "/v1/produto", kNormal, 401, "Invalid username or password",
            "12", "antigo", "Segredo"),
    Refused("UnknownLogin", "GET", "/v1/produto", kNormal, 401, "Invalid username or password",
            "12", "ninguem", ""),
    Refused("NoLoginHeaders", "GET", "/v1/produto", kNormal, 401, "Invalid username or password",
            "12", std::nullopt, std::nullopt),
    Refused("LoginInjection", "GET", "/v1/produto", kNormal, 401, "Invalid username or password",
            "12", "\\' UNION SELECT 'p',1 #", "p"),
    Through("ValidRequest", "GET", "/v1/produto", kNormal),
};

void PrintTo(const ValidateCase& c, std::ostream* os) { *os << c.name; }

class ValidateTableTest : public ValidateTest,
                          public ::testing::WithParamInterface<ValidateCase> {};

TEST_P(ValidateTableTest, AnswersInOrder) {
  const ValidateCase& c = GetParam();
  std::vector<std::string> headers;
  if (c.schema) headers.push_back("x-schema: " + *c.schema);
  if (c.filial) headers.push_back("x-filial: " + *c.filial);
  if (c.user) headers.push_back("x-user: " + *c.user);
  if (c.pass) headers.push_back("x-pass: " + *c.pass);
  const HttpAnswer answer = Exchange(server_->port(), Request(c.method, c.path, headers));
  EXPECT_EQ(answer.status, c.want_status) << answer.body;
  EXPECT_EQ(answer.Header("Access-Control-Allow-Origin"), "*");
  const std::optional<lib::JsonValue> body = lib::ParseJson(answer.body);
  ASSERT_TRUE(body.has_value()) << answer.body;
  ASSERT_TRUE(body->IsObject()) << answer.body;
  const char* member = c.want_handler ? "handler" : "message";
  ASSERT_NE(body->Find(member), nullptr) << answer.body;
  EXPECT_EQ(body->Find(member)->AsString(), c.want_message);
}

INSTANTIATE_TEST_SUITE_P(Table, ValidateTableTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ValidateTest, StatusPageNeedsNoHeaderInAnyCase) {
  for (const char* path : {"/status", "/STATUS", "/Status"}) {
    SCOPED_TRACE(path);
    const HttpAnswer answer = Exchange(server_->port(), Request("GET", path));
    EXPECT_EQ(answer.status, 200);
    EXPECT_NE(answer.body.find("<h1>"), std::string::npos) << answer.body;
  }
  const HttpAnswer deeper = Exchange(server_->port(), Request("GET", "/status/x"));
  EXPECT_EQ(deeper.status, 400) << "only the page itself skips the tenant check";
}

TEST_F(ValidateTest, OptionsNeverReachesValidation) {
  const HttpAnswer answer = Exchange(server_->port(), Request("OPTIONS", "/v1/produto"));
  EXPECT_EQ(answer.status, 204);
}

TEST_F(ValidateTest, MaintenanceChangeTakesEffectOnTheNextRequest) {
  const std::vector<std::string> headers = {std::string("x-schema: ") + kNormal, "x-filial: 1",
                                            "x-user: filial1", "x-pass: Segredo"};
  EXPECT_EQ(Exchange(server_->port(), Request("GET", "/v1/produto", headers)).status, 200);
  TestMariaDb stru("_stru");
  stru.Exec(std::string("UPDATE _schemas SET manutencao = 1 WHERE name_schema = '") + kNormal +
            "'");
  EXPECT_EQ(Exchange(server_->port(), Request("GET", "/v1/produto", headers)).status, 503);
  stru.Exec(std::string("UPDATE _schemas SET manutencao = 0 WHERE name_schema = '") + kNormal +
            "'");
  EXPECT_EQ(Exchange(server_->port(), Request("GET", "/v1/produto", headers)).status, 200);
}

}  // namespace
}  // namespace quorvane::web::middleware
