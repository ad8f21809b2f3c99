// Defaulters over real HTTP: the DELETE route, its refusals, its routing,
// and its effect on a customer's credit situation.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "e2e_fixture.h"

namespace quorvane::e2e {
namespace {

class NegativadoTest : public E2ETest {
 protected:
  void SetUp() override {
    db().Exec("DELETE FROM negativados");
    db().Exec(
        "INSERT INTO negativados (codigo, cnpj, nome, motivo) VALUES "
        "(12, '45.678.901/0001-23', 'Ponto Certo', 'Protesto'), "
        "(13, '111.222.333-44', 'João', NULL)");
  }

  static TestDb& db() { return tenant().db(); }
  static std::vector<Row> Codes() {
    return db().Rows("SELECT codigo FROM negativados ORDER BY codigo");
  }
};

TEST_F(NegativadoTest, DeleteRemovesTheEntry) {
  const HttpResponse res = Send("DELETE", "/v1/negativado/12");
  EXPECT_EQ(res.status, 204) << res.body;
  EXPECT_EQ(Codes(), (std::vector<Row>{{"13"}}));

  // A code that no entry holds: still 204, nothing else removed.
  const HttpResponse none = Send("DELETE", "/v1/negativado/99");
  EXPECT_EQ(none.status, 204) << none.body;
  EXPECT_EQ(Codes(), (std::vector<Row>{{"13"}}));
}

TEST_F(NegativadoTest, DeleteRefusesAnIdThatIsNoInteger) {
  struct Case {
    std::string_view segment, id;
  };
  const Case cases[] = {
      {"abc", "abc"},
      {"12%20or%201%3D1", "12 or 1=1"},
      {"12;DELETE%20FROM%20negativados", "12;DELETE FROM negativados"},
      {"0x0C", "0x0C"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    const HttpResponse res = Send("DELETE", "/v1/negativado/" + std::string(c.segment));
    EXPECT_EQ(res.status, 400);
    EXPECT_EQ(res.Json().Find("message")->AsString(), "ID inválido: " + std::string(c.id));
  }
  EXPECT_EQ(Codes(), (std::vector<Row>{{"12"}, {"13"}}));
}

TEST_F(NegativadoTest, OnlyTheRegisteredMethodsAreRouted) {
  struct Case {
    std::string_view method, path;
  };
  const Case cases[] = {
      {"GET", "/v1/negativado/12"},
      {"PUT", "/v1/negativado"},
      {"DELETE", "/v1/negativado"},
      {"DELETE", "/v1/negativado/12/13"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.method) + " " + std::string(c.path));
    const HttpResponse res = Send(c.method, c.path);
    EXPECT_EQ(res.status, 404);
    EXPECT_EQ(res.body, "Not Found");
  }
  EXPECT_EQ(Codes(), (std::vector<Row>{{"12"}, {"13"}}));
}

// The credit situation looks the customer's tax number up in the list: once
// the entry is deleted the customer is no longer a defaulter, unless another
// entry holds the same number.
TEST_F(NegativadoTest, DeletedEntryNoLongerMarksTheCustomer) {
  db().Exec("DELETE FROM clientes WHERE codigo = 41");
  db().Exec(
      "INSERT INTO clientes (codigo, nome, cnpj_cpf) VALUES "
      "(41, 'Comercial Ponto Certo', '45.678.901/0001-23')");
  db().Exec(
      "INSERT INTO negativados (codigo, cnpj, nome, motivo) VALUES "
      "(14, '45.678.901/0001-23', 'Ponto Certo', 'Cheque sem fundo')");
  struct Step {
    std::string_view deleted;  // entry deleted before asking
    std::string_view negativado;
    bool motivo_null;
  };
  const Step steps[] = {
      {"", "S", false},
      {"12", "S", false},  // entry 14 still holds the number
      {"14", "N", true},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.deleted);
    if (!s.deleted.empty()) {
      EXPECT_EQ(Send("DELETE", "/v1/negativado/" + std::string(s.deleted)).status, 204);
      EXPECT_EQ(db().Count("negativados", "codigo = " + std::string(s.deleted)), 0);
    }
    const HttpResponse res = Get("/v1/cliente/financeiro/41");
    ASSERT_EQ(res.status, 200) << res.body;
    const lib::JsonValue doc = res.Json();
    ASSERT_NE(doc.Find("negativado"), nullptr) << res.body;
    EXPECT_EQ(doc.Find("negativado")->AsString(), s.negativado);
    EXPECT_EQ(doc.Find("negativado_motivo")->IsNull(), s.motivo_null) << res.body;
  }
  db().Exec("DELETE FROM clientes WHERE codigo = 41");
}

}  // namespace
}  // namespace quorvane::e2e
