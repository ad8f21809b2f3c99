// The request data service against a real tenant on the test MariaDB: reads,
// uploads and deletes answer as branch systems expect, and what they write is
// read back from the table.
#include "model/model_database.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "lib/json.h"
#include "model/model_utils.h"
#include "test_mariadb.h"
#include "web/core/raw_web.h"
#include "web/core/web_callback.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"

namespace quorvane::model {
namespace {

using quorvane::testing::ScratchSchema;
using quorvane::testing::SourcePath;
using quorvane::testing::TestMariaDb;
using web::core::RawRequest;
using web::core::RawResponse;
using web::core::WebCallbackInterrupted;
using web::core::WebRequest;
using web::core::WebResponse;

constexpr const char* kTenant = "qv_service_test";

// One request as the handler sees it, with the fixture tenant's headers.
struct Exchange {
  RawRequest raw;
  RawResponse raw_res;
  std::optional<WebRequest> req;
  std::optional<WebResponse> res;

  explicit Exchange(std::string method, std::string target, std::string body = {}) {
    raw.method = std::move(method);
    raw.SetTarget(target);
    raw.body = std::move(body);
    raw.AddHeader("x-schema", kTenant);
    raw.AddHeader("x-filial", "3");
  }
  Exchange& Header(std::string name, std::string value) {
    raw.AddHeader(std::move(name), std::move(value));
    return *this;
  }
  WebRequest& Req() {
    if (!req) {
      req.emplace(raw);
      res.emplace(raw_res);
    }
    return *req;
  }
  WebResponse& Res() {
    Req();
    return *res;
  }
  std::string ContentJson() { return Res().Content() ? lib::ToJson(*Res().Content()) : "<none>"; }
  std::string Message() {
    const lib::JsonValue* content = Res().Content();
    if (content == nullptr || !content->IsObject() || content->Find("message") == nullptr) {
      return "<no message>";
    }
    return content->Find("message")->AsString();
  }
};

class ModelDatabaseTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    schema_ = new ScratchSchema(kTenant);
    TestMariaDb db(kTenant, /*multi_statements=*/true);
    db.ExecFile(SourcePath("db/tenant.sql"));
  }
  static void TearDownTestSuite() {
    delete schema_;
    schema_ = nullptr;
  }
  void SetUp() override {
    TestMariaDb db(kTenant);
    db.Exec("DELETE FROM cidades");
    db.Exec("DELETE FROM grupos");
  }

  static std::vector<quorvane::testing::Row> Rows(const std::string& sql) {
    return TestMariaDb(kTenant).Rows(sql);
  }

  static ScratchSchema* schema_;
};

ScratchSchema* ModelDatabaseTest::schema_ = nullptr;

TEST_F(ModelDatabaseTest, ReadOfEmptyTableAnswers422WithNull) {
  Exchange ex("GET", "/v1/cidade");
  ModelDatabase::ExecuteGet(ex.Req(), ex.Res(), "select codigo, cidade from cidades");
  EXPECT_EQ(ex.Res().Status(), 422);
  EXPECT_EQ(ex.ContentJson(), "null");
}

TEST_F(ModelDatabaseTest, ReadAnswersRowsAndPages) {
  TestMariaDb(kTenant).Exec(
      "INSERT INTO cidades (codigo, cidade, estado) VALUES (1,'Recife','PE'),(2,'Natal','RN'),"
      "(3,'Belém','PA')");
  Exchange all("GET", "/v1/cidade");
  ModelDatabase::ExecuteGet(all.Req(), all.Res(),
                            "select codigo, cidade from cidades order by codigo");
  EXPECT_EQ(all.Res().Status(), 200);
  EXPECT_EQ(all.ContentJson(), R"([{"codigo":1,"cidade":"Recife"},{"codigo":2,"cidade":"Natal"},)"
                               R"({"codigo":3,"cidade":"Bel\u00E9m"}])");

  Exchange paged("GET", "/v1/cidade?limit=2&page=2");
  ModelDatabase::ExecuteGet(paged.Req(), paged.Res(), "select codigo from cidades order by codigo");
  EXPECT_EQ(paged.ContentJson(), R"([{"codigo":3}])");

  Exchange object("GET", "/v1/cidade?limit=1&page=3");
  ModelDatabase::ExecuteGetObject(object.Req(), object.Res(),
                                  "select codigo from cidades order by codigo");
  EXPECT_EQ(object.ContentJson(), R"({"codigo":1})") << "objects are never paged";
}

TEST_F(ModelDatabaseTest, PagingThatIsNotANumberIsRefusedBeforeSql) {
  for (const char* target :
       {"/v1/cidade?limit=abc", "/v1/cidade?limit=10;drop", "/v1/cidade?limit=5&page=1%20or%201"}) {
    SCOPED_TRACE(target);
    Exchange ex("GET", target);
    EXPECT_THROW(ModelDatabase::ExecuteGet(ex.Req(), ex.Res(), "select codigo from cidades"),
                 WebCallbackInterrupted);
    EXPECT_EQ(ex.Res().Status(), 400);
    EXPECT_NE(ex.Message(), "<no message>");
  }
}

TEST_F(ModelDatabaseTest, InsertAddsBranchOfOriginAndAnswersGeneratedKey) {
  Exchange ex("POST", "/v1/cidade", R"({"cidade":"Olinda","estado":"PE"})");
  const std::int64_t id = ModelDatabase::ExecutePost(ex.Req(), ex.Res(), "cidades");
  ASSERT_GT(id, 0);
  EXPECT_EQ(ex.Res().Status(), 200);
  EXPECT_EQ(ex.ContentJson(), R"({"id":)" + std::to_string(id) + "}");
  const auto rows = Rows("SELECT cidade, estado, codfilialorigem FROM cidades WHERE codigo = " +
                         std::to_string(id));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0], "Olinda");
  EXPECT_EQ(rows[0][2], "3");
}

TEST_F(ModelDatabaseTest, UpsertByKeyHeadersUpdatesTheExistingRow) {
  TestMariaDb(kTenant).Exec("INSERT INTO cidades (codigo, cidade) VALUES (15, 'Velha')");
  Exchange ex("POST", "/v1/cidade", R"({"cidade":"Nova"})");
  ex.Header("x-key-fields", "codigo").Header("x-key-values", "15");
  ModelDatabase::ExecutePost(ex.Req(), ex.Res(), "cidades");
  EXPECT_LT(ex.Res().Status(), 300);
  const auto rows = Rows("SELECT cidade, codfilialorigem FROM cidades WHERE codigo = 15");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0], "Nova");
  EXPECT_EQ(rows[0][1], "3");
  EXPECT_EQ(Rows("SELECT codigo FROM cidades").size(), 1u) << "no second row";
}

TEST_F(ModelDatabaseTest, ParametersReplaceBodyBranchAndKeys) {
  ModelDatabaseParameters parameters;
  lib::JsonValue body = lib::JsonValue::MakeObject();
  body.Add("cidade", lib::JsonValue::String("Caruaru"));
  parameters.setBody(std::move(body)).setGravarFilialOrigem(false).setKeys("codigo", "77");
  Exchange ex("POST", "/v1/cidade", "this body is not read");
  ex.raw.headers.clear();  // x-filial is not read either
  ex.Header("x-schema", kTenant);
  ModelDatabase::ExecutePost(ex.Req(), ex.Res(), "cidades", std::move(parameters));
  EXPECT_LT(ex.Res().Status(), 300) << ex.ContentJson();
  const auto rows = Rows("SELECT cidade, codfilialorigem FROM cidades WHERE codigo = 77");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0], "Caruaru");
  EXPECT_EQ(rows[0][1], std::nullopt);
}

struct RefusedBody {
  const char* name;
  const char* body;
};

class RefusedBodyTest : public ModelDatabaseTest,
                        public ::testing::WithParamInterface<RefusedBody> {};

TEST_P(RefusedBodyTest, AnswersBadRequestAndWritesNothing) {
  Exchange ex("POST", "/v1/cidade", GetParam().body);
  EXPECT_EQ(ModelDatabase::ExecutePost(ex.Req(), ex.Res(), "cidades"), 0);
  EXPECT_EQ(ex.Res().Status(), 400);
  EXPECT_EQ(ex.Message(), "Body inexistente ou inválido!");
  EXPECT_TRUE(Rows("SELECT codigo FROM cidades").empty());
}

INSTANTIATE_TEST_SUITE_P(Table, RefusedBodyTest,
                         ::testing::Values(RefusedBody{"Empty", ""}, RefusedBody{"NotJson", "abc"},
                                           RefusedBody{"Array", R"([{"cidade":"x"}])"},
                                           RefusedBody{"String", R"("cidade")"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModelDatabaseTest, MemberNamesMustBePlainColumnNames) {
  // Such names would reach the statement as SQL text: a list of two columns
  // would shift the values, a subquery would read other tables.
  const char* bodies[] = {R"({"cidade, estado":"x"})", R"({"cidade) select 1 #":"x"})",
                          R"({"":"x"})", R"({"cidade`":"x"})"};
  for (const char* body : bodies) {
    SCOPED_TRACE(body);
    Exchange ex("POST", "/v1/cidade", body);
    ex.Header("x-key-fields", "codigo").Header("x-key-values", "1, 'y'");
    EXPECT_THROW(ModelDatabase::ExecutePost(ex.Req(), ex.Res(), "cidades"), WebCallbackInterrupted);
    EXPECT_EQ(ex.Res().Status(), 400);
    EXPECT_EQ(ex.Message().rfind("Nome de coluna inválido: ", 0), 0u) << ex.Message();
  }
  EXPECT_TRUE(Rows("SELECT codigo FROM cidades").empty());
}

TEST_F(ModelDatabaseTest, DatabaseRefusalIsAnsweredWithItsMessage) {
  // The body names codfilialorigem itself, so the column appears twice.
  Exchange ex("POST", "/v1/cidade", R"({"cidade":"x","codfilialorigem":9})");
  EXPECT_THROW(ModelDatabase::ExecutePost(ex.Req(), ex.Res(), "cidades"), WebCallbackInterrupted);
  EXPECT_EQ(ex.Res().Status(), 400);
  EXPECT_NE(ex.Message().find("codfilialorigem"), std::string::npos) << ex.Message();
  EXPECT_TRUE(Rows("SELECT codigo FROM cidades").empty());
}

TEST_F(ModelDatabaseTest, BranchCodeTooLargeForTheColumnIsRefused) {
  Exchange ex("POST", "/v1/cidade", R"({"cidade":"x"})");
  ex.raw.headers.clear();
  ex.Header("x-schema", kTenant).Header("x-filial", "99999999999");
  EXPECT_THROW(ModelDatabase::ExecutePost(ex.Req(), ex.Res(), "cidades"), WebCallbackInterrupted);
  EXPECT_EQ(ex.Res().Status(), 400);
  EXPECT_TRUE(Rows("SELECT codigo FROM cidades").empty());
}

TEST_F(ModelDatabaseTest, ValuesStayDataWhateverTheyHold) {
  const char* hostile[] = {R"(\' OR 1=1 #)", R"(x'); DELETE FROM cidades; --)",
                           R"(O'Brien \\ "quoted")"};
  for (const char* text : hostile) {
    SCOPED_TRACE(text);
    lib::JsonValue body = lib::JsonValue::MakeObject();
    body.Add("cidade", lib::JsonValue::String(text));
    Exchange ex("POST", "/v1/cidade", lib::ToJson(body));
    ex.Header("x-key-fields", "codigo").Header("x-key-values", "5");
    ModelDatabase::ExecutePost(ex.Req(), ex.Res(), "cidades");
    EXPECT_LT(ex.Res().Status(), 300) << ex.ContentJson();
    const auto rows = Rows("SELECT cidade FROM cidades");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], text) << "an upsert stores the value exactly";
  }
}

TEST_F(ModelDatabaseTest, VirgulaMarkerBecomesACommaInUpserts) {
  Exchange ex("POST", "/v1/cidade", R"({"cidade":"Rio#virgula# RJ"})");
  ex.Header("x-key-fields", "codigo").Header("x-key-values", "8");
  ModelDatabase::ExecutePost(ex.Req(), ex.Res(), "cidades");
  EXPECT_EQ(Rows("SELECT cidade FROM cidades WHERE codigo = 8").at(0)[0], "Rio, RJ");
}

TEST_F(ModelDatabaseTest, DeleteAnswersAndNeverWidens) {
  TestMariaDb(kTenant).Exec("INSERT INTO grupos (codigo) VALUES (1), (2), (3)");
  struct Case {
    const char* id;
    int status;
    const char* message;
  };
  const Case cases[] = {
      {"2", 204, nullptr},
      {"2", 204, nullptr},  // already gone: still 204
      {"", 400, "É necessário informar um ID para deletar o registro."},
      {"1 or 1=1", 400, "ID inválido: 1 or 1=1"},
      {"abc", 400, "ID inválido: abc"},
      {"1;DELETE FROM grupos", 400, "ID inválido: 1;DELETE FROM grupos"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    Exchange ex("DELETE", "/v1/grupo");
    ex.Req().Params()["ID"] = c.id;
    ModelDatabase::ExecuteDelete(ex.Req(), ex.Res(), "grupos", "codigo");
    EXPECT_EQ(ex.Res().Status(), c.status);
    if (c.message != nullptr) {
      EXPECT_EQ(ex.Message(), c.message);
    }
  }
  const auto rows = Rows("SELECT codigo FROM grupos ORDER BY codigo");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0], "1");
  EXPECT_EQ(rows[1][0], "3");
}

TEST_F(ModelDatabaseTest, StatementsOfOneRequestShareOneSession) {
  Exchange ex("GET", "/v1/cidade");
  auto session_id = [&](std::string_view schema) {
    const auto row = ModelDatabase::RequestConnection(ex.Req(), schema)
                         .SelectToJSONObject("select connection_id() as id, database() as db");
    return std::make_pair(row->Find("id")->AsNumberText(), row->Find("db")->AsString());
  };
  const auto first = session_id({});
  const auto control = session_id("mysql");
  const auto again = session_id({});
  EXPECT_EQ(first.first, control.first);
  EXPECT_EQ(first.first, again.first);
  EXPECT_EQ(first.second, kTenant);
  EXPECT_EQ(control.second, "mysql");
  EXPECT_EQ(again.second, kTenant);
}

TEST_F(ModelDatabaseTest, RequestFilterHeadersReadOnlyGetsAsFiltered) {
  Exchange get("GET", "/v1/cidade");
  get.Header("x-where", "codigo = 5").Header("x-alterado-apos", "2021-01-01");
  const SqlFilterHeaders h = RequestFilterHeaders(get.Req());
  EXPECT_TRUE(h.is_get);
  EXPECT_EQ(h.where, "codigo = 5");
  EXPECT_EQ(h.alterado_apos, "2021-01-01");
  EXPECT_EQ(h.filial, "3");
  Exchange post("POST", "/v1/cidade");
  EXPECT_FALSE(RequestFilterHeaders(post.Req()).is_get);
}

TEST_F(ModelDatabaseTest, TenantChecksTakeHeadersVerbatim) {
  TestMariaDb control;
  control.Exec("CREATE DATABASE IF NOT EXISTS _stru");
  TestMariaDb stru("_stru", /*multi_statements=*/true);
  stru.ExecFile(SourcePath("db/stru.sql"));
  stru.Exec(std::string("REPLACE INTO _schemas (name_schema, manutencao) VALUES ('") + kTenant +
            "', 0)");
  TestMariaDb(kTenant).Exec("INSERT INTO login (login, senha, ativo) VALUES ('f1', ' pw ', 1)");
  const std::string tenant = kTenant;
  const std::vector<std::pair<std::string, std::string>> schema_cases = {
      {tenant, "OK"},
      {" " + tenant, "Schema inválido"},
      {tenant + " ", "Schema inválido"},
      {"", "Schema não informado"},
      {" \t ", "Schema não informado"},
  };
  for (const auto& [schema, want] : schema_cases) {
    SCOPED_TRACE("[" + schema + "]");
    Exchange ex("GET", "/v1/cidade");
    ex.raw.headers.clear();
    ex.Header("x-schema", schema);
    EXPECT_EQ(ModelUtils::TestSchema(ex.Req()), want);
  }
  // Passwords compare exactly, blanks included.
  Exchange exact("GET", "/v1/cidade");
  EXPECT_TRUE(ModelUtils::LoginIsValid(exact.Req(), "f1", " pw "));
  EXPECT_FALSE(ModelUtils::LoginIsValid(exact.Req(), "f1", "pw"));
  stru.Exec(std::string("DELETE FROM _schemas WHERE name_schema = '") + kTenant + "'");
}

}  // namespace
}  // namespace quorvane::model
