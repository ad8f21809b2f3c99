// Writes against the test MariaDB: the upsert and the plain insert as the
// data service runs them, what their text rules store, and client text that
// must stay data or be refused.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "database/connection.h"
#include "database/errors.h"
#include "lib/json.h"
#include "test_db.h"
#include "web/core/raw_web.h"
#include "web/core/web_request.h"

namespace quorvane::database {
namespace {

using testing::Admin;
using testing::TenantConnection;

constexpr char kSchema[] = "qv_dbtest_write";

class WriteDbTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Admin().CreateSchema(kSchema); }

  void SetUp() override {
    admin_.Exec(std::string("DROP TABLE IF EXISTS ") + kSchema + ".produtos");
    admin_.Exec(std::string("CREATE TABLE ") + kSchema +
                ".produtos (codigo INT PRIMARY KEY, nome VARCHAR(200), obs TEXT, preco "
                "DECIMAL(10,2), codfilialorigem INT)");
    admin_.Exec(std::string("DROP TABLE IF EXISTS ") + kSchema + ".clientes");
    admin_.Exec(std::string("CREATE TABLE ") + kSchema +
                ".clientes (id INT AUTO_INCREMENT PRIMARY KEY, nome VARCHAR(200), obs TEXT)");
    connection_ = TenantConnection(kSchema);
  }

  // Fields and values of a JSON body, as the data service extracts them.
  std::pair<std::string, std::string> Lists(std::string_view json) {
    const auto body = lib::ParseJson(json);
    EXPECT_TRUE(body) << json;
    std::pair<std::string, std::string> lists;
    connection_->ExtractFieldsAndValues(body ? *body : lib::JsonValue(), lists.first, lists.second);
    return lists;
  }

  std::int64_t Upload(std::string_view table, std::string_view json, KeyHeaders keys = {}) {
    const auto [fields, values] = Lists(json);
    return connection_->UpdateOrInsert(keys, table, fields, values);
  }

  std::string Stored(std::string_view column, std::string_view where) {
    return admin_.Scalar("SELECT " + std::string(column) + " FROM " + kSchema + ".produtos WHERE " +
                         std::string(where));
  }

  Admin admin_;
  std::unique_ptr<DatabaseConnection> connection_;
};

TEST_F(WriteDbTest, InsertWithoutKeysReturnsTheGeneratedId) {
  const std::int64_t id = Upload("clientes", R"({"nome":"Ana","obs":null})");
  EXPECT_GT(id, 0);
  EXPECT_EQ(Upload("clientes", R"({"nome":"Bia"})"), id + 1);
  EXPECT_EQ(Upload("produtos", R"({"codigo":1,"nome":"x","codfilialorigem":3})"), 0);
  EXPECT_EQ(Stored("codfilialorigem", "codigo = 1"), "3");
}

TEST_F(WriteDbTest, UpsertInsertsThenUpdates) {
  const KeyHeaders keys{"codigo", "15"};
  EXPECT_EQ(Upload("produtos", R"({"nome":"a, b","preco":1.5})", keys), 0);
  EXPECT_EQ(Stored("nome", "codigo = 15"), "a, b");
  EXPECT_EQ(Upload("produtos", R"({"nome":"c","preco":2})", keys), 0);
  EXPECT_EQ(Stored("CONCAT(nome, '|', preco)", "codigo = 15"), "c|2.00");
  EXPECT_EQ(admin_.Scalar(std::string("SELECT COUNT(*) FROM ") + kSchema + ".produtos"), "1");
}

TEST_F(WriteDbTest, KeyFieldsDefaultWhenOnlyValuesAreGiven) {
  EXPECT_EQ(Upload("produtos", R"({"nome":"padrao"})", KeyHeaders{"", "21"}), 0);
  EXPECT_EQ(Stored("nome", "codigo = 21"), "padrao");
}

TEST_F(WriteDbTest, KeysFromRequestHeaders) {
  web::core::RawRequest raw;
  raw.AddHeader("X-Key-Fields", "codigo");
  raw.AddHeader("x-key-values", "'33'");
  raw.body = R"({"nome":"do corpo","obs":"C:\\temp"})";
  web::core::WebRequest req(raw);
  EXPECT_EQ(connection_->UpdateOrInsert(req, "produtos"), 0);
  EXPECT_EQ(Stored("CONCAT(nome, '|', obs)", "codigo = 33"), "do corpo|C:\\temp");

  raw.body = "[1, 2]";
  try {
    connection_->UpdateOrInsert(req, "produtos");
    FAIL();
  } catch (const InvalidInputError& e) {
    EXPECT_STREQ(e.what(), "Nenhum dado informado no Body");
  }
}

TEST_F(WriteDbTest, UpdateFromRequestBodyAndPathId) {
  admin_.Exec(std::string("INSERT INTO ") + kSchema + ".produtos (codigo, nome) VALUES (5, 'old')");
  web::core::RawRequest raw;
  raw.body = R"({"nome":"new\\one","obs":"x#virgula#y"})";
  web::core::WebRequest req(raw);
  req.Params()["ID"] = "5";
  connection_->SetKeyFieldsDefault("codigo");
  EXPECT_EQ(connection_->Update(req, "produtos"), 0);
  EXPECT_EQ(Stored("CONCAT(nome, '|', obs)", "codigo = 5"), "new\\one|x,y");

  req.Params()["ID"] = "5 OR 1=1";
  EXPECT_THROW(connection_->Update(req, "produtos"), InvalidInputError);
}

// What the statement rules make of the text of a value.
struct StoredCase {
  std::string_view name;
  std::string_view json_value;  // JSON text of the "obs" member
  std::string_view upsert;      // stored by the upsert (x-key-values given)
  std::string_view insert;      // stored by the plain insert
};

const StoredCase kStoredCases[] = {
    {"Plain", R"("abc")", "abc", "abc"},
    {"Quote", R"("O'Brien")", "O'Brien", "O'Brien"},
    {"DoubleQuote", R"("5\" tubo")", "5\" tubo", "5\" tubo"},
    {"Virgula", R"("a#virgula#b")", "a,b", "a,b"},
    {"Backslash", R"("C:\\temp")", "C:\\temp", "C:temp"},
    {"BackslashSlash", R"("a\\/b")", "a/b", "a/b"},
    {"TrailingBackslash", R"("fim\\")", "fim\\", "fim"},
    {"QuoteInjection", R"("\\' OR 1=1 #")", "\\' OR 1=1 #", "' OR 1=1 #"},
    {"ClosingInjection", R"("x'), (99, 'y")", "x'), (99, 'y", "x'), (99, 'y"},
    {"Unicode", R"("pão")", "pão", "pão"},
};

class StoredValueTest : public WriteDbTest, public ::testing::WithParamInterface<StoredCase> {};

TEST_P(StoredValueTest, UpsertKeepsBackslashesInsertDropsThem) {
  const StoredCase& c = GetParam();
  // A second column after the value proves the assignment list stays intact.
  const std::string body = R"({"obs":)" + std::string(c.json_value) + R"(,"nome":"depois"})";
  Upload("produtos", body, KeyHeaders{"codigo", "1"});
  EXPECT_EQ(Stored("obs", "codigo = 1"), c.upsert);
  Upload("produtos", body, KeyHeaders{"codigo", "1"});  // the update branch
  EXPECT_EQ(Stored("CONCAT(obs, '|', nome)", "codigo = 1"), std::string(c.upsert) + "|depois");

  const std::string with_key = R"({"codigo":2,"obs":)" + std::string(c.json_value) + "}";
  Upload("produtos", with_key);
  EXPECT_EQ(Stored("obs", "codigo = 2"), c.insert);
  EXPECT_EQ(admin_.Scalar(std::string("SELECT COUNT(*) FROM ") + kSchema + ".produtos"), "2");
}

INSTANTIATE_TEST_SUITE_P(Table, StoredValueTest, ::testing::ValuesIn(kStoredCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WriteDbTest, UpdateKeepsAttacksAsData) {
  admin_.Exec(std::string("INSERT INTO ") + kSchema +
              ".produtos (codigo, nome) VALUES (1, 'um'), (2, 'dois')");
  const auto [fields, values] = Lists(R"({"nome":"\\' , nome = 'hacked' #"})");
  EXPECT_EQ(connection_->Update("produtos", "codigo", fields, "1", values), 0);
  EXPECT_EQ(Stored("nome", "codigo = 1"), "\\' , nome = 'hacked' #");
  EXPECT_EQ(Stored("nome", "codigo = 2"), "dois");
}

TEST_F(WriteDbTest, SqlInColumnNamesAndKeyValuesIsRefused) {
  admin_.Exec(std::string("INSERT INTO ") + kSchema + ".produtos (codigo, nome) VALUES (1, 'um')");
  const struct {
    std::string_view name, json;
    KeyHeaders keys;
    std::string_view message;
  } cases[] = {
      {"MemberName",
       R"({"nome) SELECT senha FROM login #":"x"})",
       {},
       "Nome de coluna inválido: nome) SELECT senha FROM login #"},
      {"KeyFields",
       R"({"nome":"x"})",
       {"codigo) VALUES (1", "1"},
       "Nome de coluna inválido: codigo) VALUES (1"},
      {"KeyValuesSubquery",
       R"({"nome":"x"})",
       {"codigo", "(SELECT MAX(codigo) FROM produtos)"},
       "Valor de chave inválido: (SELECT MAX(codigo) FROM produtos)"},
      {"KeyValuesComment", R"({"nome":"x"})", {"codigo", "1 #"}, "Valor de chave inválido: 1 #"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      Upload("produtos", c.json, c.keys);
      ADD_FAILURE() << "accepted";
    } catch (const InvalidInputError& e) {
      EXPECT_EQ(e.what(), c.message);
    }
  }
  EXPECT_EQ(admin_.Scalar(std::string("SELECT COUNT(*) FROM ") + kSchema + ".produtos"), "1");
}

TEST_F(WriteDbTest, DatabaseRefusalsCarryItsMessage) {
  // A key column that is also a body member is named twice.
  try {
    Upload("produtos", R"({"codigo":1,"nome":"x"})", KeyHeaders{"codigo", "1"});
    FAIL();
  } catch (const DatabaseError& e) {
    EXPECT_EQ(std::string(e.what()), "Column 'codigo' specified twice");
  }
  // No scalar members: the statement is refused by the database.
  EXPECT_THROW(Upload("produtos", R"({"lista":[1]})"), DatabaseError);
  EXPECT_THROW(Upload("produtos", R"({"nao_existe":1})"), DatabaseError);
}

}  // namespace
}  // namespace quorvane::database
