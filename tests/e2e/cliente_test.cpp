// The customer routes over real HTTP against the fixture tenant: the
// registries (uploads read back from MariaDB, the inactive column) and the
// credit situation document a branch asks for before a sale on credit.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "e2e_fixture.h"
#include "lib/json.h"

namespace quorvane::e2e {
namespace {

// --------------------------------------------------------------- registries

struct RegistryRoute {
  std::string_view name;
  std::string_view path;
  std::string_view table;
  std::string_view body;     // one record as a branch uploads it
  std::string_view key;      // the column that leads the record layout
  std::string_view key_sql;  // the uploaded row, for reading it back
  std::string_view text;     // a text column of the body and its value
  std::string_view text_value;
};

constexpr RegistryRoute kRegistryRoutes[] = {
    {"Classificacao", "/v1/cliente/classificacao", "clientesclassificacao",
     R"({"codigo": 41, "descricao": "Atacado"})", "codigo", "codigo = 41", "descricao", "Atacado"},
    {"Classificado", "/v1/cliente/classificado", "clientesclassificados",
     R"({"codcliente": 7, "codclienteclassificacao": 41})", "codcliente",
     "codcliente = 7 AND codclienteclassificacao = 41", "", ""},
    {"Endereco", "/v1/cliente/endereco", "clientesenderecos",
     R"({"codigo": 5, "apelido": "Entrega", "codcliente": 7})", "codigo", "codigo = 5", "apelido",
     "Entrega"},
    {"Telefone", "/v1/cliente/telefone", "clientescelulares",
     R"({"codigo": 6, "codcliente": 7, "celular": "21 99999-0000"})", "codigo", "codigo = 6",
     "celular", "21 99999-0000"},
    {"Desconto", "/v1/cliente/desconto", "clientesdesconto",
     R"({"codcliente": 7, "codproduto": 300, "desconto": 2.5})", "codcliente",
     "codcliente = 7 AND codproduto = 300", "", ""},
    {"Cliente", "/v1/cliente", "clientes", R"({"codigo": 7, "nome": "Maria Souza"})", "codigo",
     "codigo = 7", "nome", "Maria Souza"},
};

class ClienteRegistryTest : public E2ETest, public ::testing::WithParamInterface<RegistryRoute> {
 protected:
  void SetUp() override { tenant().db().Exec("DELETE FROM " + std::string(GetParam().table)); }
};

// An upload lands in its table with the branch of origin, and the GET of the
// same path answers it.
TEST_P(ClienteRegistryTest, PostThenGet) {
  const RegistryRoute& r = GetParam();
  const HttpResponse post = Post(r.path, std::string(r.body), {{"x-filial", "3"}});
  ASSERT_TRUE(post.status == 200 || post.status == 204) << post.status << " " << post.body;

  TestDb& db = tenant().db();
  const std::string where = " FROM " + std::string(r.table) + " WHERE " + std::string(r.key_sql);
  EXPECT_EQ(db.Count(r.table), 1);
  EXPECT_EQ(db.Value("SELECT codfilialorigem" + where), "3");
  if (!r.text.empty()) {
    EXPECT_EQ(db.Value("SELECT " + std::string(r.text) + where), r.text_value);
  }

  const HttpResponse get = Get(r.path);
  ASSERT_EQ(get.status, 200) << get.body;
  const lib::JsonValue rows = get.Json();
  ASSERT_TRUE(rows.IsArray() && rows.size() == 1) << get.body;
  const lib::JsonValue& row = rows.AsArray()[0];
  EXPECT_EQ(row.AsObject().front().name, r.key);
  if (!r.text.empty()) {
    ASSERT_NE(row.Find(r.text), nullptr) << get.body;
    EXPECT_EQ(row.Find(r.text)->AsString(), r.text_value);
  }
}

TEST_P(ClienteRegistryTest, EmptyTableAnswers422) {
  const HttpResponse res = Get(GetParam().path);
  EXPECT_EQ(res.status, 422);
  EXPECT_EQ(res.body, "null");
}

INSTANTIATE_TEST_SUITE_P(Routes, ClienteRegistryTest, ::testing::ValuesIn(kRegistryRoutes),
                         [](const auto& info) { return std::string(info.param.name); });

// The column inativo follows the tenant's switch, as the last key. A tenant of
// its own, so that the switch does not leak into the other tests.
TEST(ClienteInativo, LastKeyOnlyWhenTheTenantSynchronisesIt) {
  FixtureTenant own(UniqueName("qv_e2e_cli_inativo"));
  const Client client(E2ETest::server(), own);
  own.db().Exec("INSERT INTO clientes (codigo, nome, inativo) VALUES (1, 'Ana', 'S')");

  struct Case {
    std::optional<int> switch_value;
    bool with_inativo;
  };
  for (const Case c : {Case{0, false}, Case{1, true}, Case{std::nullopt, false}, Case{2, false}}) {
    SCOPED_TRACE(c.switch_value ? std::to_string(*c.switch_value) : "NULL");
    own.SetControl("sincronizar_inativo", c.switch_value);
    const HttpResponse res = client.Get("/v1/cliente");
    ASSERT_EQ(res.status, 200) << res.body;
    const lib::JsonValue rows = res.Json();
    ASSERT_TRUE(rows.IsArray() && rows.size() == 1) << res.body;
    const lib::JsonValue::Object& row = rows.AsArray()[0].AsObject();
    ASSERT_EQ(row.size(), c.with_inativo ? 70u : 69u);
    EXPECT_EQ(row.front().name, "codigo");
    if (c.with_inativo) {
      EXPECT_EQ(row.back().name, "inativo");
      EXPECT_EQ(row.back().value.AsString(), "S");
    } else {
      EXPECT_EQ(row.back().name, "inscricaomunicipal");
    }
  }
}

// --------------------------------------------------------- credit situation

// Branches: 1 shares titles and cheques, 2 only cheques, 3 only titles (and
// collection bills, which follow the titles' flag).
class FinanceiroTest : public E2ETest {
 protected:
  void SetUp() override {
    for (const char* table : {"clientes", "crduplicatas", "crduplicatasbaixado",
                              "bloquetoscobranca", "crcheques", "filiais", "negativados"}) {
      db().Exec(std::string("DELETE FROM ") + table);
    }
    db().Exec(
        "INSERT INTO filiais (codigo, nome, consultarduplicatas, consultarcheques) VALUES "
        "(1, 'Matriz', 'S', 'S'), (2, 'Centro', 'N', 'S'), (3, 'Norte', 'S', 'N')");
  }

  static TestDb& db() { return tenant().db(); }

  // Customer 7 with the given credit columns (SQL text, e.g. "limite = 10").
  static void InsertCustomer(std::string_view assignments = {}) {
    db().Exec("INSERT INTO clientes (codigo, nome) VALUES (7, 'Maria Souza')");
    if (!assignments.empty()) {
      db().Exec("UPDATE clientes SET " + std::string(assignments) + " WHERE codigo = 7");
    }
  }

  static lib::JsonValue Financeiro(std::string_view query = {}) {
    const HttpResponse res = Get("/v1/cliente/financeiro/7" + std::string(query));
    EXPECT_EQ(res.status, 200) << res.body;
    return res.Json();
  }

  // document[section] as compact JSON, "" when absent.
  static std::string Section(const lib::JsonValue& document, std::string_view section) {
    const lib::JsonValue* value = document.Find(section);
    return value == nullptr ? std::string() : lib::ToJson(*value);
  }
  static const lib::JsonValue& Titulos(const lib::JsonValue& document, std::string_view section) {
    static const lib::JsonValue kNone;
    const lib::JsonValue* s = document.Find(section);
    const lib::JsonValue* t = s == nullptr ? nullptr : s->Find("titulos");
    return t == nullptr ? kNone : *t;
  }
  static std::string Menor(const lib::JsonValue& document, std::string_view section) {
    const lib::JsonValue* s = document.Find(section);
    const lib::JsonValue* m = s == nullptr ? nullptr : s->Find("menorvencimento");
    return m == nullptr ? "<absent>" : m->ToText();
  }
};

// A customer without any receivable: every credit column at its default, the
// three sections empty, not a defaulter. The whole document, keys in order.
TEST_F(FinanceiroTest, CustomerWithoutReceivables) {
  InsertCustomer();
  const HttpResponse res = Get("/v1/cliente/financeiro/7");
  ASSERT_EQ(res.status, 200) << res.body;
  EXPECT_EQ(res.Header("Content-Type"), "application/json; charset=UTF-8");
  EXPECT_EQ(res.body,
            R"({"nome":"Maria Souza","limite":0,"bloqueado":"N","motivobloqueio":null,)"
            R"("cnpj_cpf":null,"diasbloqueio":0,"juros":"S","clidescontorecebimento":0,)"
            R"("vendaduplicata":"N","vendacheque":"N","vendacartao":"N","vendafinanceira":"N",)"
            R"("duplicata":{"menorvencimento":null,"titulos":[]},)"
            R"("boleto":{"menorvencimento":null,"titulos":[]},)"
            R"("cheque":{"menorvencimento":null,"titulos":[]},)"
            R"("negativado":"N","negativado_motivo":null})");
}

TEST_F(FinanceiroTest, StoredCreditTermsAreKept) {
  InsertCustomer(
      "limite = 1500.50, bloqueado = 'S', motivobloqueio = 'Atraso', cnpj_cpf = '123.456.789-00',"
      " diasbloqueio = 30, juros = 'N', clidescontorecebimento = 2.5, vendaduplicata = 'S',"
      " vendacheque = 'S', vendacartao = 'S', vendafinanceira = 'S'");
  const lib::JsonValue doc = Financeiro();
  const std::vector<std::string> want = {R"("Maria Souza")",
                                         "1500.5",
                                         R"("S")",
                                         R"("Atraso")",
                                         R"("123.456.789-00")",
                                         "30",
                                         R"("N")",
                                         "2.5",
                                         R"("S")",
                                         R"("S")",
                                         R"("S")",
                                         R"("S")"};
  ASSERT_TRUE(doc.IsObject());
  ASSERT_GE(doc.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(doc.AsObject()[i].name);
    EXPECT_EQ(lib::ToJson(doc.AsObject()[i].value), want[i]);
  }
}

TEST_F(FinanceiroTest, MissingCustomerAnswers422) {
  for (const std::string_view id : {"8", "-7", "999999999999999999"}) {
    SCOPED_TRACE(id);
    const HttpResponse res = Get("/v1/cliente/financeiro/" + std::string(id));
    EXPECT_EQ(res.status, 422);
    EXPECT_EQ(res.body, "null");
  }
}

// The code goes into the statements as a number. Anything else is refused
// before a statement runs, however it would read in SQL; before, "1 or 1=1"
// answered the first customer of the table.
TEST_F(FinanceiroTest, IdThatIsNotAnIntegerIsRefused) {
  InsertCustomer();
  struct Case {
    std::string_view path, id;
  };
  constexpr Case kCases[] = {
      {"7%20or%201=1", "7 or 1=1"},
      {"1+or+1=1", "1 or 1=1"},
      {"abc", "abc"},
      {"7;", "7;"},
      {"%2B7", "+7"},
      {"7.0", "7.0"},
      {"0x7", "0x7"},
      {"%207", " 7"},
      {"--7", "--7"},
      {"-", "-"},
      {"1234567890123456789", "1234567890123456789"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.id);
    const HttpResponse res = Get("/v1/cliente/financeiro/" + std::string(c.path));
    EXPECT_EQ(res.status, 400);
    EXPECT_EQ(res.body,
              lib::ToJson(lib::JsonValue::MakeObject().Add(
                  "message", lib::JsonValue::String("ID inválido: " + std::string(c.id)))));
  }
}

// One receivable title, alone, against the rules of the titles section: an
// open debt of customer 7 at branch 1, then `change`.
struct TitleCase {
  std::string_view name;
  std::string_view change;  // SET list applied to the title; empty: none
  bool listed;
  bool earliest;  // takes part in menorvencimento
};

constexpr TitleCase kTitleCases[] = {
    {"OpenDebt", "", true, true},
    {"NotDiscountedNull", "descontado = NULL", true, true},
    {"CreditEntry", "tipo = 'C'", true, false},
    {"Settled", "baixado = 'S'", false, false},
    {"Discounted", "descontado = 'S'", false, false},
    {"TiedToCollectionBill", "codbloquetocobranca = 12", false, false},
    {"BranchNotSharingTitles", "codfilial = 2", false, false},
    {"BranchSharingOnlyTitles", "codfilial = 3", true, true},
    {"UnknownBranch", "codfilial = 99", false, false},
    {"OtherCustomer", "codcliente = 8", false, false},
};

class FinanceiroTitleTest : public FinanceiroTest,
                            public ::testing::WithParamInterface<TitleCase> {};

TEST_P(FinanceiroTitleTest, ListedAndCountedAsTheRulesSay) {
  const TitleCase& c = GetParam();
  InsertCustomer();
  db().Exec(
      "INSERT INTO crduplicatas (codigo, codfilial, codcliente, baixado, tipo, descontado,"
      " dtvencimento, valor) VALUES (31, 1, 7, 'N', 'D', 'N', '2026-03-10', 100)");
  if (!c.change.empty()) {
    db().Exec("UPDATE crduplicatas SET " + std::string(c.change) + " WHERE codigo = 31");
  }
  const lib::JsonValue doc = Financeiro();
  EXPECT_EQ(Titulos(doc, "duplicata").size(), c.listed ? 1u : 0u) << Section(doc, "duplicata");
  EXPECT_EQ(Menor(doc, "duplicata"), c.earliest ? "2026-03-10" : "null");
}

INSTANTIATE_TEST_SUITE_P(Rules, FinanceiroTitleTest, ::testing::ValuesIn(kTitleCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Each title in the record layout, ordered by due date then code; the
// remaining amount takes payments, discounts and interest into account.
TEST_F(FinanceiroTest, TitlesCarryTheirRemainingAmount) {
  InsertCustomer();
  db().Exec(
      "INSERT INTO crduplicatas (codigo, codfilial, codcliente, tipo, dtemissao, dtvencimento,"
      " valor, nrtitulo, codconvenio, restanteconta) VALUES"
      // A credit of 100 with one payment of 30: 70 in the customer's favour.
      " (11, 1, 7, 'C', '2026-01-05', '2026-01-20', 100, 'CR-11', NULL, 'S'),"
      // A debt of 100 paid 50 with 10 discount and 5 interest: 45 open.
      " (12, 3, 7, 'D', '2026-01-05', '2026-02-10', 100, 'NF-12', 4, NULL),"
      // A debt without payments; NULL value counts as 0.
      " (13, 1, 7, 'D', '2026-01-06', '2026-02-10', NULL, 'NF-13', NULL, NULL),"
      // A debt with two payments, one of them with NULL terms.
      " (10, 1, 7, 'D', '2026-01-01', '2026-03-01', 80.40, 'NF-10', NULL, 'N')");
  db().Exec(
      "INSERT INTO crduplicatasbaixado (codigo, codcrduplicata, valor, desconto, juros) VALUES"
      " (1, 11, 30, NULL, NULL), (2, 12, 50, 10, 5), (3, 10, 20, NULL, 1.10),"
      " (4, 10, NULL, NULL, NULL)");
  // A NULL tipo is shown as a debt.
  db().Exec("UPDATE crduplicatas SET tipo = NULL WHERE codigo = 13");

  const lib::JsonValue doc = Financeiro();
  EXPECT_EQ(
      lib::ToJson(Titulos(doc, "duplicata")),
      R"([{"codigo":11,"dtvencimento":"2026-01-20","restanteconta":"S","tipo":"C","valor":100,)"
      R"("nrtitulo":"CR-11","codcliente":7,"dtemissao":"2026-01-05","codconvenio":null,)"
      R"("valoraberto":0,"credito":70,"codfilial":1,"filial":"Matriz"},)"
      R"({"codigo":12,"dtvencimento":"2026-02-10","restanteconta":"N","tipo":"D","valor":100,)"
      R"("nrtitulo":"NF-12","codcliente":7,"dtemissao":"2026-01-05","codconvenio":4,)"
      R"("valoraberto":45,"credito":0,"codfilial":3,"filial":"Norte"},)"
      R"({"codigo":13,"dtvencimento":"2026-02-10","restanteconta":"N","tipo":"D","valor":0,)"
      R"("nrtitulo":"NF-13","codcliente":7,"dtemissao":"2026-01-06","codconvenio":null,)"
      R"("valoraberto":0,"credito":0,"codfilial":1,"filial":"Matriz"},)"
      R"({"codigo":10,"dtvencimento":"2026-03-01","restanteconta":"N","tipo":"D","valor":80.4,)"
      R"("nrtitulo":"NF-10","codcliente":7,"dtemissao":"2026-01-01","codconvenio":null,)"
      R"("valoraberto":61.5,"credito":0,"codfilial":1,"filial":"Matriz"}])");
  // The credit entry of 2026-01-20 is not a due date.
  EXPECT_EQ(Menor(doc, "duplicata"), "2026-02-10");
}

TEST_F(FinanceiroTest, CollectionBillsWithStatusOneOrTwo) {
  InsertCustomer();
  db().Exec(
      "INSERT INTO bloquetoscobranca (codigo, codcliente, codfilial, status, documento,"
      " nossonumero, valor, taxaboleto, dtvencimento, dtemissao) VALUES"
      " (1, 7, 1, 1, 'B-1', '0001', 150.25, 2.9, '2026-04-10', '2026-03-10'),"
      " (2, 7, 3, 2, 'B-2', '0002', NULL, NULL, '2026-04-05', '2026-03-05'),"
      " (3, 7, 1, 3, 'B-3', '0003', 10, 1, '2026-01-01', '2026-01-01'),"    // paid
      " (4, 7, 2, 1, 'B-4', '0004', 10, 1, '2026-01-02', '2026-01-02'),"    // branch not sharing
      " (5, 8, 1, 1, 'B-5', '0005', 10, 1, '2026-01-03', '2026-01-03'),"    // other customer
      " (6, 7, 1, NULL, 'B-6', '0006', 10, 1, '2026-01-04', '2026-01-04')"  // no status
  );
  const lib::JsonValue doc = Financeiro();
  const lib::JsonValue& titulos = Titulos(doc, "boleto");
  ASSERT_EQ(titulos.size(), 2u) << Section(doc, "boleto");
  // No order is imposed on the bills.
  for (const lib::JsonValue& bill : titulos.AsArray()) {
    const std::string code = bill.Find("codigo")->ToText();
    SCOPED_TRACE(code);
    const std::string want =
        code == "1" ? R"({"codigo":1,"documento":"B-1","nossonumero":"0001","valor":150.25,)"
                      R"("taxa":2.9,"dtvencimento":"2026-04-10","dtemissao":"2026-03-10"})"
                    : R"({"codigo":2,"documento":"B-2","nossonumero":"0002","valor":0,)"
                      R"("taxa":0,"dtvencimento":"2026-04-05","dtemissao":"2026-03-05"})";
    EXPECT_EQ(lib::ToJson(bill), want);
  }
  EXPECT_EQ(Menor(doc, "boleto"), "2026-04-05");
}

TEST_F(FinanceiroTest, ChequesOfValueZeroCountButAreNotListed) {
  InsertCustomer();
  db().Exec(
      "INSERT INTO crcheques (codigo, codcliente, codfilial, baixado, devolvido, numero, conta,"
      " banco, emitente, dtemissao, dtvencimento, valor) VALUES"
      " (1, 7, 1, 'N', NULL, '000101', '4455', '001', 'Maria', '2026-02-01', '2026-05-01', 300),"
      " (2, 7, 2, 'N', 'S', '000102', '4455', '001', 'Maria', '2026-02-01', '2026-05-02', 200),"
      " (3, 7, 1, 'N', 'N', '000103', '4455', '001', 'Maria', '2026-02-01', '2026-04-01', 0),"
      " (4, 7, 1, 'N', 'N', '000104', '4455', '001', 'Maria', '2026-02-01', '2026-04-02', NULL),"
      " (5, 7, 1, 'S', 'N', '000105', '4455', '001', 'Maria', '2026-02-01', '2026-03-01', 50),"
      " (6, 7, 3, 'N', 'N', '000106', '4455', '001', 'Maria', '2026-02-01', '2026-03-02', 50),"
      " (7, 8, 1, 'N', 'N', '000107', '4455', '001', 'Joao', '2026-02-01', '2026-03-03', 50)");
  const lib::JsonValue doc = Financeiro();
  const lib::JsonValue& titulos = Titulos(doc, "cheque");
  ASSERT_EQ(titulos.size(), 2u) << Section(doc, "cheque");
  for (const lib::JsonValue& cheque : titulos.AsArray()) {
    const std::string numero = cheque.Find("numero")->AsString();
    SCOPED_TRACE(numero);
    const std::string want =
        numero == "000101"
            ? R"({"numero":"000101","conta":"4455","banco":"001","emitente":"Maria",)"
              R"("dtemissao":"2026-02-01","dtvencimento":"2026-05-01","valor":300,"devolvido":"N"})"
            : R"({"numero":"000102","conta":"4455","banco":"001","emitente":"Maria",)"
              R"("dtemissao":"2026-02-01","dtvencimento":"2026-05-02","valor":200,"devolvido":"S"})";
    EXPECT_EQ(lib::ToJson(cheque), want);
  }
  // The cheque of value 0 (due 2026-04-01) is the earliest; the one without
  // value (NULL) counts too but is later.
  EXPECT_EQ(Menor(doc, "cheque"), "2026-04-01");
}

// The lists are never paged: limit and page of the query do not apply.
TEST_F(FinanceiroTest, LimitAndPageDoNotShortenTheLists) {
  InsertCustomer();
  for (int i = 1; i <= 3; ++i) {
    const std::string n = std::to_string(i);
    db().Exec(
        "INSERT INTO crduplicatas (codigo, codfilial, codcliente, dtvencimento, valor)"
        " VALUES (" +
        n + ", 1, 7, '2026-06-0" + n + "', 10)");
    db().Exec(
        "INSERT INTO bloquetoscobranca (codigo, codcliente, codfilial, status, valor)"
        " VALUES (" +
        n + ", 7, 1, 1, 10)");
    db().Exec("INSERT INTO crcheques (codigo, codcliente, codfilial, valor) VALUES (" + n +
              ", 7, 1, 10)");
  }
  for (const std::string_view query : {"", "?limit=1", "?limit=1&page=2", "?limit=abc"}) {
    SCOPED_TRACE(query);
    const lib::JsonValue doc = Financeiro(query);
    for (const std::string_view section : {"duplicata", "boleto", "cheque"}) {
      EXPECT_EQ(Titulos(doc, section).size(), 3u) << section;
    }
  }
}

struct DefaulterCase {
  std::string_view name;
  std::optional<std::string_view> cnpj_cpf;  // of the customer; nullopt: NULL
  std::string_view listed;                   // negativados rows "(cnpj, motivo)", SQL; empty: none
  std::string_view want;                     // negativado and negativado_motivo
};

const DefaulterCase kDefaulterCases[] = {
    {"NotListed", "111", "('222', 'Cheque sem fundo')",
     R"("negativado":"N","negativado_motivo":null)"},
    {"Listed", "111", "('111', 'Cheque sem fundo')",
     R"("negativado":"S","negativado_motivo":"Cheque sem fundo")"},
    {"ListedWithoutReason", "111", "('111', NULL)", R"("negativado":"S","negativado_motivo":"")"},
    {"NoTaxNumber", std::nullopt, "(NULL, 'x'), ('', 'y')",
     R"("negativado":"N","negativado_motivo":null)"},
    {"EmptyTaxNumber", "", "('', 'y')", R"("negativado":"N","negativado_motivo":null)"},
    // A quote after a backslash would end the literal if only quotes were
    // doubled, and "or 1=1" would then find any listed number.
    {"BackslashQuoteCannotWidenTheLookup", R"(\' or 1=1 #)", "('222', 'Outro')",
     R"("negativado":"N","negativado_motivo":null)"},
    {"BackslashQuoteReadsBackExactly", R"(\' or 1=1 #)", R"(('\\'' or 1=1 #', 'Exato'))",
     R"("negativado":"S","negativado_motivo":"Exato")"},
};

class FinanceiroDefaulterTest : public FinanceiroTest,
                                public ::testing::WithParamInterface<DefaulterCase> {};

TEST_P(FinanceiroDefaulterTest, LooksUpTheTaxNumber) {
  const DefaulterCase& c = GetParam();
  InsertCustomer(c.cnpj_cpf ? "cnpj_cpf = " + SqlText(*c.cnpj_cpf) : "cnpj_cpf = NULL");
  if (!c.listed.empty()) {
    db().Exec("INSERT INTO negativados (cnpj, motivo) VALUES " + std::string(c.listed));
  }
  const HttpResponse res = Get("/v1/cliente/financeiro/7");
  ASSERT_EQ(res.status, 200) << res.body;
  // The two members end the document.
  const std::string tail = "," + std::string(c.want) + "}";
  ASSERT_GE(res.body.size(), tail.size());
  EXPECT_EQ(res.body.substr(res.body.size() - tail.size()), tail) << res.body;
}

INSTANTIATE_TEST_SUITE_P(Lookup, FinanceiroDefaulterTest, ::testing::ValuesIn(kDefaulterCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvane::e2e
