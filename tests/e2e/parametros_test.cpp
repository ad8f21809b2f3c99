// The tenant's settings row over HTTP: /v1/parametro, /v1/manutencao and its
// switches, and the checks other controllers ask (isSincronizarInativo and
// friends), seen through a probe route behind the same chain. The suite has
// its own server and tenants, since it changes the control row.

#include "controller/parametros.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "e2e_fixture.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"

namespace quorvane::e2e {
namespace {

namespace parametros = controller::parametros;

// Answers what the three checks decide for the requesting tenant.
void SwitchesProbe(web::core::WebCore& core) {
  core.Get("/v1/e2e-probe/switches", [](web::core::WebRequest& req, web::core::WebResponse& res,
                                        const web::core::WebNext&) {
    lib::JsonValue answer = lib::JsonValue::MakeObject();
    answer.Add("tributacao", lib::JsonValue::Boolean(parametros::isSincronizarTributacao(req)));
    answer.Add("inativo", lib::JsonValue::Boolean(parametros::isSincronizarInativo(req)));
    answer.Add("igualar", lib::JsonValue::Boolean(parametros::isIgualarPrecos(req)));
    res.Send(std::move(answer));
  });
}

class ParametrosTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = new E2EServer(SwitchesProbe);
    tenant_ = new FixtureTenant(UniqueName("qv_e2e_param"));
    client_ = new Client(*server_, *tenant_);
  }
  static void TearDownTestSuite() {
    delete client_;
    delete server_;
    delete tenant_;
  }
  void SetUp() override { ResetControl(); }

  // Every setting back to 0.
  static void ResetControl() {
    for (const char* column :
         {"manutencao", "sincronizar_tributacao", "sincronizar_inativo", "igualar_precos"}) {
      tenant_->SetControl(column, 0);
    }
  }

  static const Client& client() { return *client_; }
  static FixtureTenant& tenant() { return *tenant_; }
  // Headers of a client that sends only the tenant and a token: no branch,
  // no login.
  static HttpHeaders WithoutBranchAndLogin() {
    HttpHeaders h = client().TenantHeaders();
    RemoveHeader(h, "x-filial");
    RemoveHeader(h, "x-user");
    RemoveHeader(h, "x-pass");
    return h;
  }

  static E2EServer* server_;
  static FixtureTenant* tenant_;
  static Client* client_;
};

E2EServer* ParametrosTest::server_ = nullptr;
FixtureTenant* ParametrosTest::tenant_ = nullptr;
Client* ParametrosTest::client_ = nullptr;

TEST_F(ParametrosTest, GetParametroAnswersTheFourSettingsInOrder) {
  tenant().SetControl("sincronizar_tributacao", 1);
  tenant().SetControl("sincronizar_inativo", std::nullopt);
  tenant().SetControl("igualar_precos", 2);
  const HttpResponse res = client().Get("/v1/parametro");
  ASSERT_EQ(res.status, 200) << res.body;
  EXPECT_EQ(res.body, R"({"manutencao":0,"sincronizar_tributacao":1,"sincronizar_inativo":null,)"
                      R"("igualar_precos":2})");
}

TEST_F(ParametrosTest, GetManutencaoAnswersTheFlagAlone) {
  const HttpResponse res = client().Get("/v1/manutencao");
  ASSERT_EQ(res.status, 200) << res.body;
  EXPECT_EQ(res.body, R"({"manutencao":0})");
}

TEST_F(ParametrosTest, PostParametroStoresTheBodyWithoutBranchOfOrigin) {
  // _schemas has no codfilialorigem column: adding one would make the
  // database refuse the write.
  const HttpResponse res = client().Post(
      "/v1/parametro", R"({"igualar_precos": 1, "sincronizar_inativo": 1})", {{"x-filial", "7"}});
  EXPECT_EQ(res.status, 204) << res.body;
  EXPECT_EQ(tenant().Control("igualar_precos"), 1);
  EXPECT_EQ(tenant().Control("sincronizar_inativo"), 1);
  EXPECT_EQ(tenant().Control("sincronizar_tributacao"), 0);
  EXPECT_EQ(tenant().Control("manutencao"), 0);
}

TEST_F(ParametrosTest, PostParametroCannotMoveTheRowToAnotherTenant) {
  const HttpResponse res = client().Post("/v1/parametro", R"({"name_schema": "outro"})");
  EXPECT_EQ(res.status, 400) << res.body;
  EXPECT_EQ(tenant().Control("manutencao"), 0);
}

TEST_F(ParametrosTest, MaintenanceSwitchesOnAndOffWhileOtherRoutesWait) {
  // Switching needs neither a branch nor a login.
  const HttpResponse on =
      client().SendRaw({"PUT", "/v1/manutencao/ativar", WithoutBranchAndLogin(), ""});
  EXPECT_EQ(on.status, 204);
  EXPECT_EQ(on.body, "");
  EXPECT_EQ(tenant().Control("manutencao"), 1);

  const HttpResponse elsewhere = client().Get("/v1/cidade");
  EXPECT_EQ(elsewhere.status, 503);
  EXPECT_EQ(elsewhere.body, R"({"message":"Manuten\u00E7\u00E3o programada"})");
  EXPECT_EQ(client().Get("/v1/parametro").status, 503);
  // Switching on again is refused while on: the path is not exempt.
  EXPECT_EQ(client().Put("/v1/manutencao/ativar").status, 503);

  const HttpResponse flag = client().Get("/v1/manutencao");
  EXPECT_EQ(flag.status, 200);
  EXPECT_EQ(flag.body, R"({"manutencao":1})");

  const HttpResponse off =
      client().SendRaw({"PUT", "/v1/manutencao/inativar", WithoutBranchAndLogin(), ""});
  EXPECT_EQ(off.status, 204);
  EXPECT_EQ(tenant().Control("manutencao"), 0);
  EXPECT_EQ(client().Get("/v1/cidade").status, 422);  // served again (no rows)
}

TEST_F(ParametrosTest, WaitingForTheInitialLoadBlocksTheMaintenanceRoutesToo) {
  tenant().SetControl("manutencao", -1);
  for (const auto& [method, path] :
       {std::pair{"GET", "/v1/manutencao"}, std::pair{"PUT", "/v1/manutencao/inativar"},
        std::pair{"PUT", "/v1/manutencao/ativar"}}) {
    SCOPED_TRACE(path);
    const HttpResponse res = client().Send(method, path);
    EXPECT_EQ(res.status, 503);
    EXPECT_EQ(res.body, R"({"message":"Aguardando carga inicial"})");
  }
  EXPECT_EQ(tenant().Control("manutencao"), -1);
}

// A setting is on only when it is stored as exactly 1.
struct SwitchCase {
  std::string_view name;
  std::optional<int> stored;
  bool on;
};
constexpr SwitchCase kSwitchCases[] = {
    {"One", 1, true},
    {"Zero", 0, false},
    {"Two", 2, false},
    {"MinusOne", -1, false},
    {"Null", std::nullopt, false},
};

class SwitchTest : public ParametrosTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(SwitchTest, EachCheckReadsItsOwnColumn) {
  struct Check {
    const char* column;
    const char* answer_key;
  };
  for (const Check check :
       {Check{"sincronizar_tributacao", "tributacao"}, Check{"sincronizar_inativo", "inativo"},
        Check{"igualar_precos", "igualar"}}) {
    SCOPED_TRACE(check.column);
    ResetControl();
    tenant().SetControl(check.column, GetParam().stored);
    const HttpResponse res = client().Get("/v1/e2e-probe/switches");
    ASSERT_EQ(res.status, 200) << res.body;
    const lib::JsonValue answer = res.Json();
    for (const char* key : {"tributacao", "inativo", "igualar"}) {
      const bool want = key == std::string_view(check.answer_key) && GetParam().on;
      ASSERT_NE(answer.Find(key), nullptr) << res.body;
      EXPECT_EQ(answer.Find(key)->AsBoolean(), want) << key;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Stored, SwitchTest, ::testing::ValuesIn(kSwitchCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A schema name with a single quote reaches SQL as a literal with the quote
// doubled: the right row changes and nothing else.
TEST_F(ParametrosTest, SchemaNameWithAQuoteIsWrittenAsALiteral) {
  FixtureTenant quoted(UniqueName("qv_e2e_o'q"));
  const Client quoted_client(*server_, quoted);
  const HttpResponse on = quoted_client.Put("/v1/manutencao/ativar");
  EXPECT_EQ(on.status, 204) << on.body;
  EXPECT_EQ(quoted.Control("manutencao"), 1);
  EXPECT_EQ(tenant().Control("manutencao"), 0);

  const HttpResponse off = quoted_client.Put("/v1/manutencao/inativar");
  EXPECT_EQ(off.status, 204) << off.body;
  EXPECT_EQ(quoted.Control("manutencao"), 0);

  const HttpResponse post = quoted_client.Post("/v1/parametro", R"({"igualar_precos": 1})");
  EXPECT_EQ(post.status, 204) << post.body;
  EXPECT_EQ(quoted.Control("igualar_precos"), 1);
  EXPECT_EQ(tenant().Control("igualar_precos"), 0);

  const HttpResponse get = quoted_client.Get("/v1/parametro");
  EXPECT_EQ(get.status, 200) << get.body;
  EXPECT_EQ(get.body, R"({"manutencao":0,"sincronizar_tributacao":0,"sincronizar_inativo":0,)"
                      R"("igualar_precos":1})");
}

}  // namespace
}  // namespace quorvane::e2e
