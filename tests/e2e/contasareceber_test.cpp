// The receivables over real HTTP against the fixture tenant: cheques, titles,
// title payments and collection bills, each uploaded, downloaded and deleted,
// every write read back from MariaDB. One table drives the four kinds.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "e2e_fixture.h"
#include "lib/json.h"

namespace quorvane::e2e {
namespace {

struct Receivable {
  std::string_view name;
  std::string_view path;
  std::string_view table;
  std::string_view text;  // a text column of the record layout
  std::size_t columns;    // keys of a downloaded record
};

constexpr Receivable kReceivables[] = {
    {"Cheque", "/v1/contasareceber/cheque", "crcheques", "emitente", 28},
    {"Duplicata", "/v1/contasareceber/duplicata", "crduplicatas", "nrtitulo", 26},
    {"DuplicataBaixado", "/v1/contasareceber/duplicata/baixado", "crduplicatasbaixado",
     "observacao", 14},
    {"Bloqueto", "/v1/contasareceber/bloqueto", "bloquetoscobranca", "documento", 39},
};

class ReceivableTest : public E2ETest, public ::testing::WithParamInterface<Receivable> {
 protected:
  void SetUp() override {
    for (const Receivable& r : kReceivables) db().Exec("DELETE FROM " + std::string(r.table));
  }

  static TestDb& db() { return tenant().db(); }
  static std::string Table() { return std::string(GetParam().table); }
  static std::string Text() { return std::string(GetParam().text); }
  static std::string Path() { return std::string(GetParam().path); }

  // Rows with the codes first..last and the texts "Linha <code>".
  static void InsertRows(int first, int last) {
    for (int k = first; k <= last; ++k) {
      db().Exec("INSERT INTO " + Table() + " (codigo, " + Text() + ") VALUES (" +
                std::to_string(k) + ", 'Linha " + std::to_string(k) + "')");
    }
  }
  static std::vector<Row> Codes() {
    return db().Rows("SELECT codigo FROM " + Table() + " ORDER BY codigo");
  }
};

TEST_P(ReceivableTest, PostStoresTheBranchOfOrigin) {
  const HttpResponse res =
      Post(Path(), R"({")" + Text() + R"(": "Enviado pela loja"})", {{"x-filial", "4"}});
  ASSERT_EQ(res.status, 200) << res.body;
  const lib::JsonValue answer = res.Json();
  ASSERT_TRUE(answer.IsObject() && answer.Find("id") != nullptr) << res.body;

  const auto rows = db().Rows("SELECT codigo, " + Text() + ", codfilialorigem FROM " + Table());
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0], (Row{answer.Find("id")->ToText(), "Enviado pela loja", "4"}));
}

TEST_P(ReceivableTest, GetListsTheRecordLayout) {
  EXPECT_EQ(Get(Path()).status, 422);
  InsertRows(1, 2);
  const HttpResponse res = Get(Path());
  ASSERT_EQ(res.status, 200) << res.body;
  const lib::JsonValue rows = res.Json();
  ASSERT_TRUE(rows.IsArray() && rows.size() == 2) << res.body;
  for (const lib::JsonValue& row : rows.AsArray()) {
    EXPECT_EQ(row.size(), GetParam().columns);
    EXPECT_EQ(row.AsObject().front().name, "codigo");
    EXPECT_EQ(row.Find(Text())->AsString(), "Linha " + row.Find("codigo")->ToText());
  }
}

// Incremental synchronisation: only what changed since the given time.
TEST_P(ReceivableTest, GetWithChangedSince) {
  InsertRows(1, 2);
  db().Exec("UPDATE " + Table() + " SET dtultalteracaoregistro = '2021-01-01' WHERE codigo = 1");
  db().Exec("UPDATE " + Table() + " SET dtultalteracaoregistro = '2025-01-01' WHERE codigo = 2");
  const HttpResponse res = Get(Path(), {{"x-alterado-apos", "2024-06-01 00:00:00"}});
  ASSERT_EQ(res.status, 200) << res.body;
  const lib::JsonValue rows = res.Json();
  ASSERT_TRUE(rows.IsArray() && rows.size() == 1) << res.body;
  EXPECT_EQ(rows.AsArray()[0].Find("codigo")->ToText(), "2");
}

TEST_P(ReceivableTest, DeleteRemovesOnlyTheNamedRow) {
  InsertRows(1, 3);
  const HttpResponse res = Send("DELETE", Path() + "/2");
  EXPECT_EQ(res.status, 204);
  EXPECT_EQ(res.body, "");
  EXPECT_EQ(Codes(), (std::vector<Row>{{"1"}, {"3"}}));
}

TEST_P(ReceivableTest, DeleteOfAMissingCodeAnswers204) {
  InsertRows(1, 2);
  EXPECT_EQ(Send("DELETE", Path() + "/99").status, 204);
  EXPECT_EQ(Codes(), (std::vector<Row>{{"1"}, {"2"}}));
}

// The code goes into the statement as a number. Anything else deletes
// nothing; before, "1 or 1=1" emptied the table.
TEST_P(ReceivableTest, DeleteWithAnInvalidCodeDeletesNothing) {
  InsertRows(1, 2);
  struct Case {
    std::string_view path, id;
  };
  constexpr Case kCases[] = {
      {"1%20or%201=1", "1 or 1=1"}, {"1+or+1=1", "1 or 1=1"}, {"abc", "abc"}, {"1;", "1;"},
      {"codigo", "codigo"},         {"1.5", "1.5"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.id);
    const HttpResponse res = Send("DELETE", Path() + "/" + std::string(c.path));
    EXPECT_EQ(res.status, 400);
    EXPECT_EQ(res.body,
              lib::ToJson(lib::JsonValue::MakeObject().Add(
                  "message", lib::JsonValue::String("ID inválido: " + std::string(c.id)))));
  }
  EXPECT_EQ(Codes(), (std::vector<Row>{{"1"}, {"2"}}));
}

INSTANTIATE_TEST_SUITE_P(Kinds, ReceivableTest, ::testing::ValuesIn(kReceivables),
                         [](const auto& info) { return std::string(info.param.name); });

class ReceivableDeleteTest : public E2ETest {
 protected:
  void SetUp() override {
    for (const Receivable& r : kReceivables) db().Exec("DELETE FROM " + std::string(r.table));
    // Title 7 with its payments 7 and 8, and a collection bill charging it.
    db().Exec("INSERT INTO crduplicatas (codigo, codcliente, valor) VALUES (7, 1, 100)");
    db().Exec(
        "INSERT INTO crduplicatasbaixado (codigo, codcrduplicata, valor) VALUES (7, 7, 40),"
        " (8, 7, 10)");
    db().Exec(
        "INSERT INTO bloquetoscobranca (codigo, codcliente, codcrduplicatas) VALUES (5, 1, '7')");
  }
  static TestDb& db() { return tenant().db(); }
};

// The payment path's code names a payment, not the title of that code.
TEST_F(ReceivableDeleteTest, PaymentCodeIsNotATitleCode) {
  EXPECT_EQ(Send("DELETE", "/v1/contasareceber/duplicata/baixado/7").status, 204);
  EXPECT_EQ(db().Count("crduplicatasbaixado"), 1);
  EXPECT_EQ(db().Count("crduplicatasbaixado", "codigo = 8"), 1);
  EXPECT_EQ(db().Count("crduplicatas", "codigo = 7"), 1);
  // Deleting a payment leaves the title as it was.
  EXPECT_EQ(db().Value("SELECT valor FROM crduplicatas WHERE codigo = 7"), "100.00");
}

// Exactly one statement per delete: a title goes alone, its payments and its
// collection bill stay.
TEST_F(ReceivableDeleteTest, TitleGoesWithoutItsDependents) {
  EXPECT_EQ(Send("DELETE", "/v1/contasareceber/duplicata/7").status, 204);
  EXPECT_EQ(db().Count("crduplicatas"), 0);
  EXPECT_EQ(db().Count("crduplicatasbaixado"), 2);
  EXPECT_EQ(db().Count("bloquetoscobranca"), 1);
}

TEST(ReceivableRoutes, OnlyTheListedPathsAndMethods) {
  struct Case {
    std::string_view method, path;
  };
  constexpr Case kNotRouted[] = {
      {"GET", "/v1/contasareceber"},           {"POST", "/v1/contasareceber"},
      {"DELETE", "/v1/contasareceber"},        {"GET", "/v1/contasareceber/cheque/1"},
      {"PUT", "/v1/contasareceber/duplicata"}, {"DELETE", "/v1/contasareceber/cheque"},
  };
  for (const Case& c : kNotRouted) {
    SCOPED_TRACE(std::string(c.method) + " " + std::string(c.path));
    const HttpResponse res = E2ETest::Send(c.method, c.path);
    EXPECT_EQ(res.status, 404);
    EXPECT_EQ(res.body, "Not Found");
  }
}

}  // namespace
}  // namespace quorvane::e2e
