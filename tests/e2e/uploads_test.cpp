// Client text that must never become SQL: upload member names (they are the
// column names of the write), filter and paging values, bodies that are no
// object. Each is refused with 400 and a message, and the table is left
// exactly as it was.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "e2e_fixture.h"

namespace quorvane::e2e {
namespace {

class ClientInputTest : public E2ETest {
 protected:
  void SetUp() override {
    db().Exec("DELETE FROM cidades");
    db().Exec("INSERT INTO cidades (codigo, cidade, estado) VALUES (1, 'Curitiba', 'PR')");
  }
  static TestDb& db() { return tenant().db(); }
  // Every row of cidades, to compare before and after.
  static std::vector<Row> Snapshot() {
    return db().Rows(
        "SELECT codigo, cidade, estado, codibge, codpais, nomepais, codfilialorigem FROM cidades "
        "ORDER BY codigo");
  }
  static std::string Message(const HttpResponse& res) {
    const lib::JsonValue body = res.Json();
    const lib::JsonValue* message = body.IsObject() ? body.Find("message") : nullptr;
    return message && message->IsString() ? message->AsString() : std::string();
  }
};

// Member names that are not plain column identifiers (letters, digits,
// underscore). Several are valid SQL in the column list and would change the
// statement; all must be refused before anything is written.
struct BadMember {
  std::string_view name;
  std::string_view body;
};
constexpr BadMember kBadMembers[] = {
    {"TwoColumnsInOne", R"({"cidade, estado": "X"})"},
    {"TwoColumnsShiftingValues", R"({"cidade": "A", "estado, codibge": "B"})"},
    {"ClosesTheColumnList", R"({"cidade) VALUES ('x'); DELETE FROM cidades; --": "x"})"},
    {"Subquery", R"j({"cidade = (SELECT 1)": "x"})j"},
    {"Comment", R"({"cidade/**/": "x"})"},
    {"HashComment", R"({"cidade #": "x"})"},
    {"Backticks", R"({"`cidade`": "x"})"},
    {"BacktickBreakout", R"({"`a`,`cidade": "x"})"},
    {"Blank", R"({"ci dade": "x"})"},
    {"Empty", R"({"": "x"})"},
    {"Quote", R"({"cidade'": "x"})"},
    {"Dollar", R"({"cidade$": "x"})"},
    {"Semicolon", R"({"cidade;": "x"})"},
    {"LeadingSpace", R"({" cidade": "x"})"},
    {"NonAscii", R"({"cidadé": "x"})"},
    {"Dot", R"({"cidades.cidade": "x"})"},
};

class BadMemberTest : public ClientInputTest, public ::testing::WithParamInterface<BadMember> {};

TEST_P(BadMemberTest, IsRefusedAndNothingIsWritten) {
  const auto before = Snapshot();
  for (const HttpHeaders& keys :
       {HttpHeaders{},  // plain insert
        HttpHeaders{{"x-key-fields", "codigo"}, {"x-key-values", "1"}},
        // one key value too many, so that a split member name
        // would even out the column count
        HttpHeaders{{"x-key-fields", "codigo"}, {"x-key-values", "1, 'SC'"}}}) {
    SCOPED_TRACE(keys.empty() ? std::string("insert") : keys.back().value);
    const HttpResponse res = Post("/v1/cidade", std::string(GetParam().body), keys);
    EXPECT_EQ(res.status, 400) << res.body;
    EXPECT_FALSE(Message(res).empty()) << res.body;
  }
  EXPECT_EQ(Snapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(Names, BadMemberTest, ::testing::ValuesIn(kBadMembers),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClientInputTest, PlainColumnNamesOfAnyCaseAndDigitsAreWritten) {
  const HttpResponse res =
      Post("/v1/cidade", R"({"CIDADE": "Joinville", "estado": "SC", "codibge": 4209102})");
  ASSERT_EQ(res.status, 200) << res.body;
  EXPECT_EQ(db().Count("cidades", "cidade = 'Joinville' AND estado = 'SC' AND codibge = 4209102"),
            1);
}

TEST_F(ClientInputTest, BodiesThatAreNoJsonAreRefused) {
  const auto before = Snapshot();
  for (const std::string_view body : {"", "abc", "{\"cidade\": "}) {
    SCOPED_TRACE(body);
    const HttpResponse res = Post("/v1/cidade", std::string(body));
    EXPECT_EQ(res.status, 400) << res.body;
    EXPECT_EQ(Message(res), "Body inexistente ou inválido!");
  }
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(ClientInputTest, KeyValuesMustBeLiterals) {
  const auto before = Snapshot();
  for (const std::string_view values : {"1; DELETE FROM cidades", "(SELECT 1)", "codigo"}) {
    SCOPED_TRACE(values);
    const HttpResponse res =
        Post("/v1/cidade", R"({"cidade": "x"})",
             {{"x-key-fields", "codigo"}, {"x-key-values", std::string(values)}});
    EXPECT_EQ(res.status, 400) << res.body;
  }
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(ClientInputTest, FilterAndPagingValuesAreRefusedWith400) {
  struct Case {
    std::string_view name;
    std::string target;
    HttpHeaders headers;
  };
  const Case cases[] = {
      {"WhereWithSecondStatement", "/v1/cidade", {{"x-where", "1=1; DELETE FROM cidades"}}},
      {"WhereWithUnion",
       "/v1/cidade",
       {{"x-where", "1=0 UNION SELECT login, senha, 1, 1, 1, 1 FROM login"}}},
      {"WhereWithComment", "/v1/cidade", {{"x-where", "codigo = 1 -- "}}},
      {"WhereOpenQuote", "/v1/cidade", {{"x-where", "cidade = 'x"}}},
      {"OrigemFilterWithBadBranch",
       "/v1/cidade",
       {{"x-filial-origem-filter", "ONLY"}, {"x-filial", "1 or 1=1"}}},
      {"LimitNotANumber", "/v1/cidade?limit=abc", {}},
      {"LimitWithSql", "/v1/cidade?limit=1%3BDELETE%20FROM%20cidades", {}},
      {"PageNotANumber", "/v1/cidade?limit=1&page=x", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const HttpResponse res = Get(c.target, c.headers);
    EXPECT_EQ(res.status, 400) << res.body;
    EXPECT_FALSE(Message(res).empty()) << res.body;
  }
  EXPECT_EQ(db().Count("cidades"), 1);
}

}  // namespace
}  // namespace quorvane::e2e
