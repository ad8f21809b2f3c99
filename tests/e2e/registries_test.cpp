// The fifteen single-table registries over real HTTP, through the whole
// chain, against the fixture tenant: what a branch downloads (rows, empty
// table, paging, the three filter headers) and what it uploads (insert with
// its branch of origin, upsert by key headers), each write read back from
// MariaDB. One table drives every registry.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "e2e_fixture.h"

namespace quorvane::e2e {
namespace {

struct Registry {
  std::string_view name;  // test name
  std::string_view path;
  std::string_view table;
  std::string_view key;   // the primary key column
  std::string_view text;  // a text column of the record layout
};

constexpr Registry kRegistries[] = {
    {"Administradora", "/v1/administradora", "administradoras", "codigo", "razao"},
    {"Cidade", "/v1/cidade", "cidades", "codigo", "cidade"},
    {"ContasAPagar", "/v1/contasapagar/classificacao", "contasapagarclassificacao", "codigo",
     "descricao"},
    {"Financeira", "/v1/financeira", "financeiras", "codigo", "nome"},
    {"Fornecedor", "/v1/fornecedor", "fornecedores", "codigo", "razao"},
    {"Grupo", "/v1/grupo", "grupos", "codigo", "nome"},
    {"PagDigital", "/v1/pagamento/digital", "pagdigitais", "codigo", "descricao"},
    {"Parcelamento", "/v1/parcelamento", "parcelamentos", "codigo", "descricao"},
    {"Profissional", "/v1/profissional", "profissionais", "prfcodigo", "prfnome"},
    {"Representante", "/v1/representante", "representantes", "codigo", "nome"},
    {"Rota", "/v1/rota", "rotas", "codigo", "nome"},
    {"Subgrupo", "/v1/subgrupo", "subgrupos", "codigo", "nome"},
    {"Texto", "/v1/texto", "textos", "codigo", "descricao"},
    {"Transportadora", "/v1/transportadora", "transportadoras", "codigo", "nome"},
    {"Vencimento", "/v1/vencimento", "vencimentos", "codigo", "descricao"},
};

class RegistryTest : public E2ETest, public ::testing::WithParamInterface<Registry> {
 protected:
  void SetUp() override { db().Exec("DELETE FROM " + Table()); }

  static TestDb& db() { return tenant().db(); }
  static std::string Table() { return std::string(GetParam().table); }
  static std::string Key() { return std::string(GetParam().key); }
  static std::string Text() { return std::string(GetParam().text); }
  static std::string Path() { return std::string(GetParam().path); }

  // Rows with the keys first..last and the texts "Linha <key>".
  static void InsertRows(int first, int last) {
    for (int k = first; k <= last; ++k) {
      db().Exec("INSERT INTO " + Table() + " (" + Key() + ", " + Text() + ") VALUES (" +
                std::to_string(k) + ", 'Linha " + std::to_string(k) + "')");
    }
  }

  // The keys of a 200 answer's rows, in answer order; fails the test on any
  // other answer.
  static std::vector<std::string> KeysOf(const HttpResponse& res) {
    std::vector<std::string> keys;
    EXPECT_EQ(res.status, 200) << res.body;
    const lib::JsonValue rows = res.Json();
    if (!rows.IsArray()) {
      ADD_FAILURE() << "not an array: " << res.body;
      return keys;
    }
    for (const auto& row : rows.AsArray()) {
      const lib::JsonValue* key = row.Find(Key());
      if (key == nullptr) {
        ADD_FAILURE() << "row without " << Key() << ": " << res.body;
        continue;
      }
      keys.push_back(key->ToText());
    }
    return keys;
  }

  using Keys = std::vector<std::string>;
};

TEST_P(RegistryTest, EmptyTableAnswers422WithNull) {
  const HttpResponse res = Get(Path());
  EXPECT_EQ(res.status, 422);
  EXPECT_EQ(res.body, "null");
}

TEST_P(RegistryTest, ListsEveryRowInTheRecordLayout) {
  InsertRows(1, 3);
  const HttpResponse res = Get(Path());
  ASSERT_EQ(res.status, 200) << res.body;
  EXPECT_EQ(res.Header("Content-Type"), "application/json; charset=UTF-8");
  const lib::JsonValue rows = res.Json();
  ASSERT_TRUE(rows.IsArray()) << res.body;
  ASSERT_EQ(rows.size(), 3u);
  for (int k = 1; k <= 3; ++k) {
    const lib::JsonValue& row = rows.AsArray()[static_cast<std::size_t>(k - 1)];
    ASSERT_TRUE(row.IsObject());
    // The key leads the record layout.
    EXPECT_EQ(row.AsObject().front().name, Key());
    EXPECT_EQ(row.Find(Key())->ToText(), std::to_string(k));
    ASSERT_NE(row.Find(Text()), nullptr) << res.body;
    EXPECT_EQ(row.Find(Text())->AsString(), "Linha " + std::to_string(k));
  }
}

TEST_P(RegistryTest, PagesWithLimitAndPage) {
  InsertRows(1, 5);
  struct Case {
    std::string_view query;
    Keys want;  // empty: 422
  };
  const Case cases[] = {
      {"?limit=2", {"1", "2"}},        {"?limit=2&page=1", {"1", "2"}},
      {"?limit=2&page=2", {"3", "4"}}, {"?limit=2&page=3", {"5"}},
      {"?limit=2&page=4", {}},         {"?limit=30", {"1", "2", "3", "4", "5"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.query);
    const HttpResponse res = Get(Path() + std::string(c.query));
    if (c.want.empty()) {
      EXPECT_EQ(res.status, 422);
      EXPECT_EQ(res.body, "null");
    } else {
      EXPECT_EQ(KeysOf(res), c.want);
    }
  }
}

TEST_P(RegistryTest, NarrowsByTheFilterHeaders) {
  InsertRows(1, 3);
  // Row 1 changed long ago and uploaded by branch 1, row 2 by branch 2, row 3
  // made at the head office (no branch of origin).
  db().Exec("UPDATE " + Table() +
            " SET dtultalteracaoregistro = '2020-01-01 00:00:00', codfilialorigem = 1 WHERE " +
            Key() + " = 1");
  db().Exec("UPDATE " + Table() +
            " SET dtultalteracaoregistro = '2024-06-01 12:00:00', codfilialorigem = 2 WHERE " +
            Key() + " = 2");
  db().Exec("UPDATE " + Table() +
            " SET dtultalteracaoregistro = '2024-06-02 12:00:00', codfilialorigem = NULL WHERE " +
            Key() + " = 3");
  struct Case {
    std::string_view name;
    HttpHeaders headers;
    Keys want;
  };
  const Case cases[] = {
      {"where", {{"x-where", Key() + " = 2"}}, {"2"}},
      {"alterado-apos", {{"x-alterado-apos", "2024-01-01"}}, {"2", "3"}},
      {"alterado-apos-exact", {{"x-alterado-apos", "2024-06-02 12:00:00"}}, {"3"}},
      {"origem-ignore", {{"x-filial-origem-filter", "IGNORE"}}, {"2", "3"}},
      {"origem-only", {{"x-filial-origem-filter", "ONLY"}}, {"1"}},
      {"origem-only-branch-2", {{"x-filial-origem-filter", "ONLY"}, {"x-filial", "2"}}, {"2"}},
      {"where-and-ignore",
       {{"x-where", Key() + " >= 2"}, {"x-filial-origem-filter", "IGNORE"}, {"x-filial", "2"}},
       {"3"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(KeysOf(Get(Path(), c.headers)), c.want);
  }
}

TEST_P(RegistryTest, PostInsertsWithTheBranchOfOrigin) {
  const std::string text = "Loja d'Ávila, \"centro\"";
  const HttpResponse res =
      Post(Path(), R"({")" + Text() + R"(": "Loja d'Ávila, \"centro\""})", {{"x-filial", "3"}});
  ASSERT_EQ(res.status, 200) << res.body;
  const lib::JsonValue answer = res.Json();
  ASSERT_TRUE(answer.IsObject()) << res.body;
  ASSERT_NE(answer.Find("id"), nullptr) << res.body;
  const std::string id = answer.Find("id")->ToText();

  const auto rows =
      db().Rows("SELECT " + Key() + ", " + Text() + ", codfilialorigem FROM " + Table());
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0], id);
  EXPECT_EQ(rows[0][1], text);
  EXPECT_EQ(rows[0][2], "3");
}

TEST_P(RegistryTest, PostUpsertsByTheKeyHeaders) {
  InsertRows(7, 7);
  const HttpHeaders keys = {{"x-key-fields", Key()}, {"x-key-values", "7"}, {"x-filial", "4"}};
  const HttpResponse update = Post(Path(), R"({")" + Text() + R"(": "Depois"})", keys);
  // The database reports the key of the row the upsert touched.
  EXPECT_EQ(update.status, 200);
  EXPECT_EQ(update.body, R"({"id":7})");

  const HttpHeaders new_key = {{"x-key-fields", Key()}, {"x-key-values", "9"}, {"x-filial", "5"}};
  const HttpResponse insert = Post(Path(), R"({")" + Text() + R"(": "Nova"})", new_key);
  EXPECT_EQ(insert.status, 200);
  EXPECT_EQ(insert.body, R"({"id":9})");

  const auto rows = db().Rows("SELECT " + Key() + ", " + Text() + ", codfilialorigem FROM " +
                              Table() + " ORDER BY " + Key());
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], (Row{"7", "Depois", "4"}));
  EXPECT_EQ(rows[1], (Row{"9", "Nova", "5"}));
}

TEST_P(RegistryTest, OtherMethodsAreNotRouted) {
  InsertRows(1, 1);
  for (const std::string_view method : {"PUT", "DELETE", "PATCH"}) {
    SCOPED_TRACE(method);
    const HttpResponse res = Send(method, Path(), {{"Content-Type", "application/json"}},
                                  R"({")" + Text() + R"(": "x"})");
    EXPECT_EQ(res.status, 404);
    EXPECT_EQ(res.body, "Not Found");
  }
  EXPECT_EQ(db().Value("SELECT " + Text() + " FROM " + Table()), "Linha 1");
}

INSTANTIATE_TEST_SUITE_P(Simple, RegistryTest, ::testing::ValuesIn(kRegistries),
                         [](const auto& info) { return std::string(info.param.name); });

// The contasapagar group registers only its sub-path.
TEST(RegistryRoutes, ContasAPagarRootIsNotRouted) {
  EXPECT_EQ(E2ETest::Get("/v1/contasapagar").status, 404);
}

}  // namespace
}  // namespace quorvane::e2e
