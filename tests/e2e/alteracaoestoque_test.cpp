// Stock changes and their items over real HTTP: the item download carries
// the branch and destination of the change that owns each item, and its
// filter headers act on the item's own columns, not on the change's.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "produto_fixture.h"

namespace quorvane::e2e {
namespace {

// Change 1 is old and was uploaded by branch 3; change 2 is new and was
// uploaded by branch 1. Item 1 (new, from branch 1) belongs to the old
// change, item 2 (old, from branch 3) to the new one, item 3 (new, from
// branch 2) to a change that does not exist.
class AlteracaoEstoqueTest : public ProdutoAreaTest {
 protected:
  void SetUp() override {
    ProdutoAreaTest::SetUp();
    db().Exec("DELETE FROM alteracaoestoque");
    db().Exec("DELETE FROM alteracaoestoqueitens");
    db().Exec(
        "INSERT INTO alteracaoestoque (codigo, `data`, hora, acertoestoque, descricao, codfilial, "
        "codfilialdestino, codfilialorigem, dtultalteracaoregistro) VALUES "
        "(1, '2026-01-01', '08:00:00', 'N', 'Transferência', 3, 2, 3, '2026-01-01 08:00:00'), "
        "(2, '2026-12-01', '18:40:00', 'S', 'Acerto', 1, NULL, 1, '2026-12-01 18:40:00')");
    db().Exec(
        "INSERT INTO alteracaoestoqueitens (codigo, codalteracaoestoque, codproduto, "
        "descricaoproduto, unidadeproduto, quantidade, tipo, validade, codfilialorigem, "
        "dtultalteracaoregistro) VALUES "
        "(1, 1, 7, 'Dipirona', 'CX', 50, 'S', '2028-06-30', 1, '2026-12-05 00:00:00'), "
        "(2, 2, 8, 'Shampoo', 'FR', 2, 'P', NULL, 3, '2026-01-02 00:00:00'), "
        "(3, 99, 9, 'Protetor', 'FR', 1, 'E', NULL, 2, '2026-12-06 00:00:00')");
  }

  // The "codigo" of each row of an answer, sorted.
  static std::vector<int> Codigos(const HttpResponse& res) {
    std::vector<int> codigos;
    const lib::JsonValue rows = res.Json();
    if (!rows.IsArray()) {
      ADD_FAILURE() << res.body;
      return codigos;
    }
    for (const lib::JsonValue& row : rows.AsArray()) {
      codigos.push_back(std::stoi(row.Find("codigo")->ToText()));
    }
    std::sort(codigos.begin(), codigos.end());
    return codigos;
  }
};

TEST_F(AlteracaoEstoqueTest, ItemsCarryTheBranchesOfTheirChange) {
  const HttpResponse res = Get("/v1/alteracaoestoque/item", {{"x-where", "aei.codigo = 1"}});
  ASSERT_EQ(res.status, 200) << res.body;
  const lib::JsonValue want = ParseOrFail(R"([{
    "codigo": 1, "codalteracaoestoque": 1, "codproduto": 7, "descricaoproduto": "Dipirona",
    "complementoproduto": null, "unidadeproduto": "CX", "quantidade": 50, "tipo": "S",
    "precocusto": null, "precovenda": null, "precovenda2": null, "lote": null,
    "motivoperda": null, "validade": "2028-06-30", "codfilial": 3, "codfilialdestino": 2}])");
  std::string where;
  EXPECT_TRUE(SameJson(res.Json(), want, &where)) << where << "\n" << res.body;

  // An item whose change is missing still comes, without the change's branches.
  const HttpResponse orphan = Get("/v1/alteracaoestoque/item", {{"x-where", "aei.codigo = 3"}});
  ASSERT_EQ(orphan.status, 200) << orphan.body;
  const lib::JsonValue row = orphan.Json().AsArray().at(0);
  EXPECT_TRUE(row.Find("codfilial")->IsNull()) << orphan.body;
  EXPECT_TRUE(row.Find("codfilialdestino")->IsNull()) << orphan.body;
}

TEST_F(AlteracaoEstoqueTest, FiltersActOnTheItemsOwnColumns) {
  struct Case {
    std::string_view name;
    HttpHeaders headers;
    std::vector<int> items, changes;  // codigos from /item and from the changes
  };
  const Case cases[] = {
      {"None", {}, {1, 2, 3}, {1, 2}},
      {"ChangedSince", {{"x-alterado-apos", "2026-06-01"}}, {1, 3}, {2}},
      {"OnlyOwnUploads", {{"x-filial", "1"}, {"x-filial-origem-filter", "ONLY"}}, {1}, {2}},
      {"IgnoreOwnUploads", {{"x-filial", "3"}, {"x-filial-origem-filter", "ignore"}}, {1, 3}, {2}},
      {"ChangedSinceAndOwn",
       {{"x-alterado-apos", "2026-06-01"}, {"x-filial", "2"}, {"x-filial-origem-filter", "Only"}},
       {3},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const HttpResponse items = Get("/v1/alteracaoestoque/item", c.headers);
    ASSERT_EQ(items.status, 200) << items.body;
    EXPECT_EQ(Codigos(items), c.items);

    const HttpResponse changes = Get("/v1/alteracaoestoque", c.headers);
    if (c.changes.empty()) {
      EXPECT_EQ(changes.status, 422);
      EXPECT_EQ(changes.body, "null");
    } else {
      ASSERT_EQ(changes.status, 200) << changes.body;
      EXPECT_EQ(Codigos(changes), c.changes);
    }
  }
}

}  // namespace
}  // namespace quorvane::e2e
