// The plain routes of the product area (products and their side tables,
// price tables, kits, stock changes) over real HTTP: an upload inserts with
// the branch of origin, a second upload with key headers updates the same
// row, and the download lists what was written. Each write is read back from
// MariaDB. One table drives every route.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "produto_fixture.h"

namespace quorvane::e2e {
namespace {

struct PlainRoute {
  std::string_view name;
  std::string_view path;
  std::string_view table;
  // Key columns of the row; "codigo" alone means a generated key, answered
  // as {"id": N} by the insert.
  std::string_view key_fields;
  std::string_view key_values;  // SQL literals; empty for a generated key
  std::string_view insert_body;
  std::string_view update_body;  // empty: the table has no column besides its key
  // A column that the two uploads set, as MariaDB and as the JSON answer
  // give it after the insert and after the update.
  std::string_view column;
  std::string_view inserted_db, inserted_json;
  std::string_view updated_db, updated_json;
};

void PrintTo(const PlainRoute& r, std::ostream* os) { *os << r.path; }

constexpr PlainRoute kPlainRoutes[] = {
    {"Produto", "/v1/produto", "produtos", "codigo", "",
     R"({"descricao": "Dipirona 500 mg", "unidade": "CX"})", R"({"descricao": "Dipirona 1 g"})",
     "descricao", "Dipirona 500 mg", R"("Dipirona 500 mg")", "Dipirona 1 g", R"("Dipirona 1 g")"},
    {"Classificacao", "/v1/produto/classificacao", "produtosclassificacao", "codigo", "",
     R"({"descricao": "Sazonais"})", R"({"descricao": "Inverno"})", "descricao", "Sazonais",
     R"("Sazonais")", "Inverno", R"("Inverno")"},
    {"Classificado", "/v1/produto/classificado", "produtosclassificados",
     "codproduto, codprodutoclassificacao", "1, 2",
     R"({"codproduto": 1, "codprodutoclassificacao": 2, "classificacaopadrao": "S"})",
     R"({"classificacaopadrao": "N"})", "classificacaopadrao", "S", R"("S")", "N", R"("N")"},
    {"EAN", "/v1/produto/ean", "produtosean", "codproduto, codbarras", "10, '7891000100103'",
     R"({"codproduto": 10, "codbarras": "7891000100103"})", "", "codbarras", "7891000100103",
     R"("7891000100103")", "", ""},
    {"Filial", "/v1/produto/filial", "produtosfiliais", "codproduto, codfilial", "1, 2",
     R"({"codproduto": 1, "codfilial": 2, "quantidade": 12.5, "localizacao": "A1-03"})",
     R"({"quantidade": 7})", "quantidade", "12.500", "12.5", "7.000", "7"},
    {"CodigoNoFornecedor", "/v1/produto/codigofornecedor", "codigosnofornecedor",
     "codproduto, codfornecedor", "1, 3",
     R"({"codproduto": 1, "codfornecedor": 3, "codprodnoforn": "DFP-0812"})",
     R"({"codprodnoforn": "DFP-0813"})", "codprodnoforn", "DFP-0812", R"("DFP-0812")", "DFP-0813",
     R"("DFP-0813")"},
    {"Referencia", "/v1/produto/referencia", "referencias", "codigo", "",
     R"({"descricao": "Linha verão", "dtcadastro": "2026-10-01"})",
     R"({"descricao": "Linha inverno"})", "descricao", "Linha verão", R"("Linha verão")",
     "Linha inverno", R"("Linha inverno")"},
    {"Unidade", "/v1/produto/unidade", "unidades", "un", "'CX'",
     R"({"un": "CX", "descricao": "Caixa"})", R"({"descricao": "Caixa com 10"})", "descricao",
     "Caixa", R"("Caixa")", "Caixa com 10", R"("Caixa com 10")"},
    {"TabelaPrecos", "/v1/preco", "tabelaprecos", "codigo", "",
     R"({"descricao": "Varejo", "permitirdesconto": "S"})", R"({"descricao": "Varejo SP"})",
     "descricao", "Varejo", R"("Varejo")", "Varejo SP", R"("Varejo SP")"},
    {"TabelaPrecosItem", "/v1/preco/item", "tabelaprecositens",
     "codtabelaprecos, codproduto, codfilial", "1, 100, 5",
     R"({"codtabelaprecos": 1, "codproduto": 100, "codfilial": 5, "preco": 9.9})",
     R"({"preco": 8.75})", "preco", "9.90", "9.9", "8.75", "8.75"},
    {"Kit", "/v1/kit", "kits", "codigo", "", R"({"descricao": "Kit verão", "unidade": "UN"})",
     R"({"descricao": "Kit inverno"})", "descricao", "Kit verão", R"("Kit verão")", "Kit inverno",
     R"("Kit inverno")"},
    {"KitItem", "/v1/kit/item", "kitsitens", "codkit, codproduto", "1, 2",
     R"({"codkit": 1, "codproduto": 2, "quantidade": 2, "desconto": 5})", R"({"desconto": 7.5})",
     "desconto", "5.00", "5", "7.50", "7.5"},
    {"AlteracaoEstoque", "/v1/alteracaoestoque", "alteracaoestoque", "codigo", "",
     R"({"data": "2026-11-20", "hora": "09:15:00", "descricao": "Acerto", "codfilial": 2})",
     R"({"descricao": "Acerto de inventário"})", "descricao", "Acerto", R"("Acerto")",
     "Acerto de inventário", R"("Acerto de inventário")"},
    {"AlteracaoEstoqueItem", "/v1/alteracaoestoque/item", "alteracaoestoqueitens", "codigo", "",
     R"({"codalteracaoestoque": 1, "codproduto": 1, "quantidade": 3, "tipo": "S"})",
     R"({"tipo": "P", "motivoperda": "Vencido"})", "tipo", "S", R"("S")", "P", R"("P")"},
};

class PlainRouteTest : public ProdutoAreaTest, public ::testing::WithParamInterface<PlainRoute> {
 protected:
  void SetUp() override {
    ProdutoAreaTest::SetUp();
    db().Exec("DELETE FROM " + Table());
  }
  static std::string Table() { return std::string(GetParam().table); }
  static std::string Column() { return std::string(GetParam().column); }

  // "a = 1 AND b = 'x'" for the key columns and values.
  static std::string KeyCondition(std::string_view fields, std::string_view values) {
    auto split = [](std::string_view text) {
      std::vector<std::string> parts;
      std::size_t start = 0;
      for (;;) {
        const std::size_t comma = text.find(',', start);
        std::string part(text.substr(start, comma - start));
        while (!part.empty() && part.front() == ' ') part.erase(0, 1);
        parts.push_back(part);
        if (comma == std::string_view::npos) return parts;
        start = comma + 1;
      }
    };
    const auto f = split(fields);
    const auto v = split(values);
    std::string condition;
    for (std::size_t i = 0; i < f.size(); ++i) {
      if (i > 0) condition += " AND ";
      condition += f[i] + " = " + v.at(i);
    }
    return condition;
  }

  // The download's rows whose column holds `json` (as JSON text).
  static std::size_t ListedWith(std::string_view json) {
    const HttpResponse res = Get(GetParam().path);
    EXPECT_EQ(res.status, 200) << res.body;
    const lib::JsonValue rows = res.Json();
    std::size_t found = 0;
    if (!rows.IsArray()) return 0;
    for (const lib::JsonValue& row : rows.AsArray()) {
      const lib::JsonValue* value = row.Find(Column());
      if (value && SameJson(*value, ParseOrFail(json), nullptr)) ++found;
    }
    return found;
  }
};

TEST_P(PlainRouteTest, InsertsUpdatesAndLists) {
  const PlainRoute& route = GetParam();
  const bool generated = route.key_values.empty();

  // Insert, as branch 7.
  const HttpResponse inserted =
      Post(route.path, std::string(route.insert_body), {{"x-filial", "7"}});
  std::string key_values(route.key_values);
  if (generated) {
    ASSERT_EQ(inserted.status, 200) << inserted.body;
    const lib::JsonValue answer = inserted.Json();
    ASSERT_TRUE(answer.IsObject() && answer.Find("id")) << inserted.body;
    key_values = answer.Find("id")->ToText();
  } else {
    ASSERT_EQ(inserted.status, 204) << inserted.body;
  }
  const std::string where = KeyCondition(route.key_fields, key_values);
  EXPECT_EQ(
      db().Rows("SELECT " + Column() + ", codfilialorigem FROM " + Table() + " WHERE " + where),
      (std::vector<Row>{{std::string(route.inserted_db), "7"}}));
  EXPECT_EQ(ListedWith(route.inserted_json), 1u);

  if (route.update_body.empty()) return;

  // Update of the same row by its key, as branch 8.
  const HttpResponse updated = Post(route.path, std::string(route.update_body),
                                    {{"x-filial", "8"},
                                     {"x-key-fields", std::string(route.key_fields)},
                                     {"x-key-values", key_values}});
  EXPECT_TRUE(updated.status == 200 || updated.status == 204) << updated.status << updated.body;
  EXPECT_EQ(db().Count(Table()), 1);
  EXPECT_EQ(
      db().Rows("SELECT " + Column() + ", codfilialorigem FROM " + Table() + " WHERE " + where),
      (std::vector<Row>{{std::string(route.updated_db), "8"}}));
  EXPECT_EQ(ListedWith(route.updated_json), 1u);
  EXPECT_EQ(ListedWith(route.inserted_json), 0u);
}

TEST_P(PlainRouteTest, EmptyTableAnswers422WithNull) {
  const HttpResponse res = Get(GetParam().path);
  EXPECT_EQ(res.status, 422);
  EXPECT_EQ(res.body, "null");
}

TEST_P(PlainRouteTest, BadBodyIsRefusedAndNothingIsWritten) {
  for (const std::string_view body : {"", "abc", R"({"descricao, codigo": "x"})"}) {
    SCOPED_TRACE(body);
    const HttpResponse res = Post(GetParam().path, std::string(body));
    EXPECT_EQ(res.status, 400) << res.body;
    EXPECT_FALSE(Message(res).empty()) << res.body;
  }
  EXPECT_EQ(db().Count(Table()), 0);
}

INSTANTIATE_TEST_SUITE_P(Routes, PlainRouteTest, ::testing::ValuesIn(kPlainRoutes),
                         [](const auto& info) { return std::string(info.param.name); });

// Paths and methods that the area does not route.
TEST_F(ProdutoAreaTest, UnlistedMethodsAreNotRouted) {
  struct Case {
    std::string_view method, path;
  };
  for (const Case& c : {Case{"PUT", "/v1/produto"}, Case{"DELETE", "/v1/produto"},
                        Case{"DELETE", "/v1/produto/ean"}, Case{"POST", "/v1/produto/estoque/1"},
                        Case{"PUT", "/v1/preco/item"}, Case{"POST", "/v1/preco/item/filial"},
                        Case{"DELETE", "/v1/kit/item"}, Case{"PUT", "/v1/alteracaoestoque"}}) {
    SCOPED_TRACE(std::string(c.method) + " " + std::string(c.path));
    const HttpResponse res = Send(c.method, c.path, {}, c.method == "GET" ? "" : "{}");
    EXPECT_EQ(res.status, 404) << res.body;
  }
}

}  // namespace
}  // namespace quorvane::e2e
