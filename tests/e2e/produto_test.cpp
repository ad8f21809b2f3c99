// The routes of /v1/produto with logic of their own, over real HTTP against
// the own tenant: the product download with the taxation and inactive
// columns, the removal of one bar code, and the stock of a product in every
// branch that may be consulted, with its prices there.

#include "controller/produto.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/model_database.h"
#include "produto_fixture.h"

namespace quorvane::e2e {
namespace {

// ------------------------------------------------------------ GET /v1/produto

struct ColumnsCase {
  std::string_view name;
  std::optional<int> tributacao, inativo;
  std::size_t keys;
  std::string_view after_desconto;  // the 49th key; empty when there is none
  std::string_view last;
};

void PrintTo(const ColumnsCase& c, std::ostream* os) { *os << c.name; }

constexpr ColumnsCase kColumnsCases[] = {
    {"Base", 0, 0, 48, "", "desconto"},
    {"Inativo", 0, 1, 49, "inativo", "inativo"},
    {"Tributacao", 1, 0, 71, "codaliquota", "cest"},
    {"Both", 1, 1, 72, "inativo", "cest"},
    {"NullSwitches", std::nullopt, std::nullopt, 48, "", "desconto"},
    {"OnlyOneIsOn", 2, 2, 48, "", "desconto"},
};

class ProdutoColumnsTest : public ProdutoAreaTest,
                           public ::testing::WithParamInterface<ColumnsCase> {
 protected:
  void SetUp() override {
    ProdutoAreaTest::SetUp();
    db().Exec("DELETE FROM produtos");
    db().Exec(
        "INSERT INTO produtos (codigo, descricao, desconto, inativo, codaliquota, cest) "
        "VALUES (1, 'Dipirona', 2.5, 'S', 3, '1300100')");
  }
};

TEST_P(ProdutoColumnsTest, KeysFollowTheTenantSwitches) {
  const ColumnsCase& c = GetParam();
  Switches(c.tributacao, c.inativo, 0);
  const HttpResponse res = Get("/v1/produto");
  ASSERT_EQ(res.status, 200) << res.body;
  const lib::JsonValue rows = res.Json();
  ASSERT_TRUE(rows.IsArray() && rows.size() == 1) << res.body;
  const lib::JsonValue::Object& row = rows.AsArray()[0].AsObject();
  ASSERT_EQ(row.size(), c.keys);
  EXPECT_EQ(row.front().name, "codigo");
  EXPECT_EQ(row[47].name, "desconto");
  if (!c.after_desconto.empty()) {
    EXPECT_EQ(row[48].name, c.after_desconto);
  }
  EXPECT_EQ(row.back().name, c.last);
  // The values come from the product's own columns.
  for (const lib::JsonMember& member : row) {
    if (member.name == "inativo") {
      EXPECT_EQ(member.value.ToText(), "S");
    } else if (member.name == "cest") {
      EXPECT_EQ(member.value.ToText(), "1300100");
    } else if (member.name == "codaliquota") {
      EXPECT_EQ(member.value.ToText(), "3");
    }
  }
  if (c.keys == 72) {
    EXPECT_EQ(row[49].name, "codaliquota");
  }
}

INSTANTIATE_TEST_SUITE_P(Switches, ProdutoColumnsTest, ::testing::ValuesIn(kColumnsCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------ DELETE /v1/produto/ean/:cod/:ean

using Ean = std::pair<std::string, std::string>;  // codproduto, codbarras

const std::vector<Ean>& SeedEans() {
  static const std::vector<Ean> seed = {
      {"10", "789"},  {"10", "790"},   {"11", "789"},
      {"10", "78'9"}, {"10", "78\\9"}, {"10", "x' OR '1'='1"},
  };
  return seed;
}

struct DeleteEanCase {
  std::string_view name;
  std::string_view target;
  int status;
  bool refused;              // 400 "Código de produto ou código de barras inválido(s)"
  std::vector<Ean> deleted;  // rows gone afterwards
};

void PrintTo(const DeleteEanCase& c, std::ostream* os) { *os << c.name; }

const DeleteEanCase kDeleteEanCases[] = {
    {"OneBarCode", "/v1/produto/ean/10/789", 204, false, {{"10", "789"}}},
    {"QuoteInBarCode", "/v1/produto/ean/10/78'9", 204, false, {{"10", "78'9"}}},
    {"EncodedQuote", "/v1/produto/ean/10/78%279", 204, false, {{"10", "78'9"}}},
    {"BackslashInBarCode", "/v1/produto/ean/10/78%5C9", 204, false, {{"10", "78\\9"}}},
    {"ConditionInBarCode",
     "/v1/produto/ean/10/x'%20OR%20'1'='1",
     204,
     false,
     {{"10", "x' OR '1'='1"}}},
    {"BackslashQuoteBreakout", "/v1/produto/ean/10/%5C'%20OR%201=1%20%23", 204, false, {}},
    {"UnknownProduct", "/v1/produto/ean/99/789", 204, false, {}},
    {"NegativeProduct", "/v1/produto/ean/-10/789", 204, false, {}},
    {"ConditionInProduct", "/v1/produto/ean/10%20or%201=1/789", 400, true, {}},
    {"TextProduct", "/v1/produto/ean/abc/789", 400, true, {}},
    {"SignOnlyProduct", "/v1/produto/ean/-/789", 400, true, {}},
    {"HexProduct", "/v1/produto/ean/0x0A/789", 400, true, {}},
    {"NineteenDigits", "/v1/produto/ean/1234567890123456789/789", 400, true, {}},
    {"SecondStatement", "/v1/produto/ean/10;DELETE%20FROM%20produtosean/789", 400, true, {}},
};

class DeleteEanTest : public ProdutoAreaTest, public ::testing::WithParamInterface<DeleteEanCase> {
 protected:
  void SetUp() override {
    ProdutoAreaTest::SetUp();
    db().Exec("DELETE FROM produtosean");
    for (const auto& [codproduto, codbarras] : SeedEans()) {
      db().Exec("INSERT INTO produtosean (codproduto, codbarras) VALUES (" + codproduto + ", " +
                SqlText(codbarras) + ")");
    }
  }
  static std::vector<Row> Remaining() {
    return db().Rows(
        "SELECT codproduto, codbarras FROM produtosean ORDER BY codproduto, codbarras");
  }
};

TEST_P(DeleteEanTest, DeletesExactlyTheNamedBarCodeAndAnswersTheSameWhenRepeated) {
  const DeleteEanCase& c = GetParam();
  std::vector<Row> want;
  for (const auto& [codproduto, codbarras] : SeedEans()) {
    if (std::find(c.deleted.begin(), c.deleted.end(), Ean{codproduto, codbarras}) ==
        c.deleted.end()) {
      want.push_back({codproduto, codbarras});
    }
  }
  std::sort(want.begin(), want.end(), [](const Row& a, const Row& b) {
    return std::make_pair(std::stoi(*a[0]), *a[1]) < std::make_pair(std::stoi(*b[0]), *b[1]);
  });

  for (int attempt = 1; attempt <= 2; ++attempt) {
    SCOPED_TRACE("attempt " + std::to_string(attempt));
    const HttpResponse res = Send("DELETE", c.target);
    EXPECT_EQ(res.status, c.status) << res.body;
    if (c.refused) {
      EXPECT_EQ(Message(res), "Código de produto ou código de barras inválido(s)");
    } else {
      EXPECT_TRUE(res.body.empty()) << res.body;
    }
    EXPECT_EQ(Remaining(), want);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, DeleteEanTest, ::testing::ValuesIn(kDeleteEanCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------- GET /v1/produto/estoque/:ID

// Product 50 is stocked in five branches: 1, 2 and 4 may be consulted, 3 may
// not ('N') and 6 does not say (NULL). Its prices: branch 1 two positive and
// a zero, branch 2 only a negative one, branch 4 three positive; the shared
// item (-1), branch 3 and product 51 have prices that must not show.
class EstoqueTest : public ProdutoAreaTest {
 protected:
  void SetUp() override {
    ProdutoAreaTest::SetUp();
    for (const char* table : {"filiais", "produtosfiliais", "tabelaprecos", "tabelaprecositens"}) {
      db().Exec(std::string("DELETE FROM ") + table);
    }
    db().Exec(
        "INSERT INTO filiais (codigo, nome, consultarestoque) VALUES "
        "(1, 'Loja Centro', 'S'), (2, 'Loja Alameda', 'S'), (3, 'Depósito', 'N'), "
        "(4, 'Loja Bairro', 'S'), (6, 'Loja Sem Consulta', NULL)");
    db().Exec(
        "INSERT INTO produtosfiliais (codproduto, codfilial, quantidade, dtultalteracaoregistro) "
        "VALUES (50, 1, 120.5, '2026-11-01 08:00:00'), (50, 2, 0, '2026-11-02 09:00:00'), "
        "(50, 3, 800, '2026-11-03 10:00:00'), (50, 4, -2, '2026-11-04 11:00:00'), "
        "(50, 6, 5, '2026-11-06 12:00:00'), (51, 1, 7, '2026-11-07 13:00:00'), "
        "(52, 3, 10, '2026-11-08 14:00:00'), (53, 6, 10, '2026-11-09 15:00:00')");
    db().Exec(
        "INSERT INTO tabelaprecos (codigo, descricao) VALUES "
        "(1, 'Varejo'), (2, 'Atacado'), (3, 'Convênio')");
    db().Exec(
        "INSERT INTO tabelaprecositens (codtabelaprecos, codproduto, codfilial, preco, "
        "dtultalteracaoregistro) VALUES "
        "(1, 50, 1, 10.5, '2026-10-01 00:00:00'), (2, 50, 1, 9, '2026-10-02 00:00:00'), "
        "(3, 50, 1, 0, '2026-10-03 00:00:00'), (1, 50, 2, -1, '2026-10-04 00:00:00'), "
        "(1, 50, 4, 11, '2026-10-05 00:00:00'), (2, 50, 4, 9.5, '2026-10-06 00:00:00'), "
        "(3, 50, 4, 10, '2026-10-07 00:00:00'), (1, 50, -1, 8, '2026-10-08 00:00:00'), "
        "(1, 50, 3, 12, '2026-10-09 00:00:00'), (1, 51, 1, 99, '2026-10-10 00:00:00')");
  }

  // (codfilial, price table descriptions) of each branch of an answer.
  using Outline = std::vector<std::pair<int, std::vector<std::string>>>;
  static Outline OutlineOf(const HttpResponse& res) {
    Outline outline;
    const lib::JsonValue rows = res.Json();
    if (!rows.IsArray()) {
      ADD_FAILURE() << res.body;
      return outline;
    }
    for (const lib::JsonValue& branch : rows.AsArray()) {
      std::vector<std::string> tabelas;
      const lib::JsonValue* precos = branch.Find("precos");
      if (!precos || !precos->IsArray()) {
        ADD_FAILURE() << "branch without precos: " << res.body;
        continue;
      }
      for (const lib::JsonValue& preco : precos->AsArray()) {
        tabelas.push_back(preco.Find("tabela") ? preco.Find("tabela")->AsString() : "?");
      }
      outline.emplace_back(std::stoi(branch.Find("codfilial")->ToText()), std::move(tabelas));
    }
    return outline;
  }
};

TEST_F(EstoqueTest, AnswersTheConsultableBranchesByNameWithTheirPositivePrices) {
  const HttpResponse res = Get("/v1/produto/estoque/50");
  ASSERT_EQ(res.status, 200) << res.body;
  const lib::JsonValue want = ParseOrFail(R"([
    {"codfilial": 2, "filial": "Loja Alameda", "quantidade": 0,
     "dtultalteracaoregistro": "2026-11-02 09:00:00", "precos": []},
    {"codfilial": 4, "filial": "Loja Bairro", "quantidade": -2,
     "dtultalteracaoregistro": "2026-11-04 11:00:00", "precos": [
       {"tabela": "Atacado", "preco": 9.5, "dtultalteracaoregistro": "2026-10-06 00:00:00"},
       {"tabela": "Convênio", "preco": 10, "dtultalteracaoregistro": "2026-10-07 00:00:00"},
       {"tabela": "Varejo", "preco": 11, "dtultalteracaoregistro": "2026-10-05 00:00:00"}]},
    {"codfilial": 1, "filial": "Loja Centro", "quantidade": 120.5,
     "dtultalteracaoregistro": "2026-11-01 08:00:00", "precos": [
       {"tabela": "Atacado", "preco": 9, "dtultalteracaoregistro": "2026-10-02 00:00:00"},
       {"tabela": "Varejo", "preco": 10.5, "dtultalteracaoregistro": "2026-10-01 00:00:00"}]}
  ])");
  std::string where;
  EXPECT_TRUE(SameJson(res.Json(), want, &where)) << where << "\n" << res.body;
}

TEST_F(EstoqueTest, PagingAppliesToTheBranchesAndToEachPriceList) {
  struct Case {
    std::string_view query;
    Outline want;
  };
  const Case cases[] = {
      {"", {{2, {}}, {4, {"Atacado", "Convênio", "Varejo"}}, {1, {"Atacado", "Varejo"}}}},
      {"?limit=2&page=1", {{2, {}}, {4, {"Atacado", "Convênio"}}}},
      {"?limit=2", {{2, {}}, {4, {"Atacado", "Convênio"}}}},
      {"?limit=1&page=2", {{4, {"Convênio"}}}},
      {"?limit=2&page=2", {{1, {}}}},
      {"?limit=10&page=1",
       {{2, {}}, {4, {"Atacado", "Convênio", "Varejo"}}, {1, {"Atacado", "Varejo"}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.query);
    const HttpResponse res = Get("/v1/produto/estoque/50" + std::string(c.query));
    ASSERT_EQ(res.status, 200) << res.body;
    EXPECT_EQ(OutlineOf(res), c.want);
  }
}

TEST_F(EstoqueTest, NoConsultableBranchAnswers422WithNull) {
  // 52: only in the branch that may not be consulted; 53: only in the one
  // that does not say; 999 and -1: nowhere.
  for (const std::string_view id : {"52", "53", "999", "-1"}) {
    SCOPED_TRACE(id);
    const HttpResponse res = Get("/v1/produto/estoque/" + std::string(id));
    EXPECT_EQ(res.status, 422);
    EXPECT_EQ(res.body, "null");
  }
}

TEST_F(EstoqueTest, AnIdThatIsNotADecimalIntegerIsRefusedBeforeAnyStatement) {
  struct Case {
    std::string_view target_id, id;  // as sent, as the server reads it
  };
  const Case cases[] = {
      {"abc", "abc"},
      {"50%20or%201=1", "50 or 1=1"},
      {"50)%20UNION%20SELECT%201,2,3,4%23", "50) UNION SELECT 1,2,3,4#"},
      {"50;DROP%20TABLE%20filiais", "50;DROP TABLE filiais"},
      {"0x32", "0x32"},
      {"50.0", "50.0"},
      {"1e2", "1e2"},
      {"-", "-"},
      {"%2050", " 50"},
      {"1234567890123456789", "1234567890123456789"},
  };
  const std::vector<Row> before = db().Rows("SELECT codigo, nome FROM filiais ORDER BY codigo");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    const HttpResponse res = Get("/v1/produto/estoque/" + std::string(c.target_id));
    EXPECT_EQ(res.status, 400) << res.body;
    EXPECT_EQ(Message(res), "ID inválido: " + std::string(c.id));
  }
  EXPECT_EQ(db().Rows("SELECT codigo, nome FROM filiais ORDER BY codigo"), before);
}

TEST_F(EstoqueTest, BadPagingIsRefusedWith400) {
  for (const std::string_view query : {"?limit=abc", "?limit=2&page=x", "?limit=-1"}) {
    SCOPED_TRACE(query);
    const HttpResponse res = Get("/v1/produto/estoque/50" + std::string(query));
    EXPECT_EQ(res.status, 400) << res.body;
    EXPECT_FALSE(Message(res).empty()) << res.body;
  }
}

// The two statements keep their line layout: one keyword, column or
// condition per line, lines joined by CR LF.
TEST(EstoqueStatementTest, LineLayout) {
  EXPECT_EQ(controller::produto::EstoqueSQL("7"),
            "SELECT\r\n  pf.codfilial,\r\n  f.nome as filial,\r\n  pf.quantidade,\r\n"
            "  pf.dtultalteracaoregistro\r\nFROM\r\n  produtosfiliais pf\r\n"
            "  left join filiais f on f.codigo = pf.codfilial\r\nWHERE\r\n"
            "  pf.codproduto = 7\r\n  and f.consultarestoque = 'S'\r\nORDER BY\r\n"
            "  f.nome,\r\n  pf.codfilial");
  EXPECT_EQ(controller::produto::PrecosEstoqueSQL("7"),
            "SELECT\r\n  t.descricao as tabela,\r\n  ti.preco,\r\n"
            "  ti.dtultalteracaoregistro\r\nFROM\r\n  tabelaprecositens ti\r\n"
            "  left join tabelaprecos t on t.codigo = ti.codtabelaprecos\r\nWHERE\r\n"
            "  ti.codproduto = 7\r\n  AND ti.codfilial = %s\r\n  AND ti.preco > 0\r\n"
            "ORDER BY\r\n  t.descricao,\r\n  ti.codtabelaprecos");
}

TEST(IntegerKeyTest, AcceptsOnlyShortDecimalIntegers) {
  struct Case {
    std::string_view text;
    bool want;
  };
  for (const Case& c :
       {Case{"0", true}, Case{"50", true}, Case{"-7", true}, Case{"123456789012345678", true},
        Case{"1234567890123456789", false}, Case{"", false}, Case{"-", false}, Case{"+5", false},
        Case{" 5", false}, Case{"5 ", false}, Case{"5.0", false}, Case{"--5", false},
        Case{"0x5", false}, Case{"5 or 1=1", false}}) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(model::IsIntegerKey(c.text), c.want);
  }
}

}  // namespace
}  // namespace quorvane::e2e
