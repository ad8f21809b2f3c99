// Queries and their JSON against the test MariaDB: column kinds, paging,
// the query builder, and client text that must stay data.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "database/connection.h"
#include "database/dataset.h"
#include "database/errors.h"
#include "database/mysql.h"
#include "lib/json.h"
#include "test_db.h"
#include "web/core/raw_web.h"
#include "web/core/web_request.h"

namespace quorvane::database {
namespace {

using testing::Admin;
using testing::TenantConnection;

constexpr char kSchema[] = "qv_dbtest_query";

// A request with only a target, for the query parameters.
class FakeRequest {
 public:
  explicit FakeRequest(std::string_view target) {
    raw_.SetTarget(target);
    request_.emplace(raw_);
  }
  web::core::WebRequest& get() { return *request_; }

 private:
  web::core::RawRequest raw_;
  std::optional<web::core::WebRequest> request_;
};

class QueryDbTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Admin admin;
    admin.CreateSchema(kSchema);
    admin.Exec(std::string("CREATE TABLE ") + kSchema +
               ".itens (codigo INT PRIMARY KEY, nome VARCHAR(40), preco DECIMAL(10,2))");
    admin.Exec(std::string("INSERT INTO ") + kSchema +
               ".itens VALUES (1,'um',1.50),(2,'dois',2.00),(3,'tres',NULL),(4,'quatro',4.25),"
               "(5,'cinco',5.00)");
    admin.Exec(std::string("CREATE TABLE ") + kSchema +
               ".login (id INT PRIMARY KEY, login VARCHAR(80), senha VARCHAR(80), ativo INT)");
    admin.Exec(std::string("INSERT INTO ") + kSchema +
               ".login VALUES (1,'ana','segredo',1),(2,'bia','x',0)");
  }
  void SetUp() override { connection_ = TenantConnection(kSchema); }

  std::string Json(const std::optional<lib::JsonValue>& v) {
    return v ? lib::ToJson(*v) : std::string("<nothing>");
  }

  Admin admin_;
  std::unique_ptr<DatabaseConnection> connection_;
};

// ---- Column kinds, each against a real column --------------------------------

struct KindCase {
  std::string_view name;
  std::string_view column_type;  // the column's declaration
  std::string_view value;        // SQL literal stored in row 1; row 2 holds NULL
  FieldKind kind;
  std::string_view json;       // rendering of the value
  std::string_view null_json;  // rendering of NULL ("" when the kind fails)
};

const KindCase kKindCases[] = {
    {"Varchar", "VARCHAR(20)", "'açaí'", FieldKind::kText, R"("a\u00E7a\u00ED")", "null"},
    {"Char", "CHAR(1)", "'S'", FieldKind::kText, R"("S")", "null"},
    {"Text", "TEXT", "'memo'", FieldKind::kText, R"("memo")", "null"},
    {"LongText", "LONGTEXT", "'long'", FieldKind::kText, R"("long")", "null"},
    {"Enum", "ENUM('a','b')", "'b'", FieldKind::kText, R"("b")", "null"},
    {"Json", "JSON", "'[1]'", FieldKind::kText, R"("[1]")", "null"},
    {"TinyInt", "TINYINT", "-5", FieldKind::kInteger, "-5", "null"},
    {"TinyIntUnsigned", "TINYINT UNSIGNED", "200", FieldKind::kInteger, "200", "null"},
    {"SmallInt", "SMALLINT", "-300", FieldKind::kInteger, "-300", "null"},
    {"SmallIntUnsigned", "SMALLINT UNSIGNED", "65535", FieldKind::kInteger, "65535", "null"},
    {"MediumInt", "MEDIUMINT", "-8000000", FieldKind::kInteger, "-8000000", "null"},
    {"Int", "INT", "-2147483648", FieldKind::kInteger, "-2147483648", "null"},
    {"IntUnsigned", "INT UNSIGNED", "4294967295", FieldKind::kLongWord, "4294967295", "null"},
    {"Year", "YEAR", "2021", FieldKind::kInteger, "2021", "null"},
    {"BigInt", "BIGINT", "-9000000000", FieldKind::kLargeInt, "-9000000000", "0"},
    {"BigIntUnsigned", "BIGINT UNSIGNED", "18446744073709551615", FieldKind::kLargeInt,
     "18446744073709551615", "0"},
    {"Boolean", "BOOLEAN", "TRUE", FieldKind::kBoolean, "true", "false"},
    {"TinyInt1Zero", "TINYINT(1)", "0", FieldKind::kBoolean, "false", "false"},
    {"Bit1", "BIT(1)", "b'1'", FieldKind::kBoolean, "true", "false"},
    {"Float", "FLOAT", "1.5", FieldKind::kFloat, "1.5", "0"},
    {"Double", "DOUBLE", "-2.25e-7", FieldKind::kFloat, "-2.25E-7", "0"},
    {"Decimal", "DECIMAL(10,2)", "10.10", FieldKind::kBCD, "10.1", "null"},
    {"DecimalWide", "DECIMAL(30,10)", "123.4560000000", FieldKind::kBCD, "123.456", "null"},
    {"Date", "DATE", "'2021-05-03'", FieldKind::kDate, R"("2021-05-03")", "null"},
    {"Time", "TIME(3)", "'14:07:09.250'", FieldKind::kTime, R"("14:07:09")", "null"},
    {"TimeBeyondADay", "TIME", "'26:00:00'", FieldKind::kTime, R"("26:00:00")", "null"},
    {"DateTime", "DATETIME(3)", "'2021-05-03 14:07:09.250'", FieldKind::kDateTime,
     R"("2021-05-03 14:07:09")", "null"},
    {"Timestamp", "TIMESTAMP NULL", "'2021-05-03 14:07:09'", FieldKind::kDateTime,
     R"("2021-05-03 14:07:09")", "null"},
    {"Blob", "BLOB", "X'68656C6C6F'", FieldKind::kBlob, R"("aGVsbG8=")", R"("")"},
    {"LongBlob", "LONGBLOB", "X'00FF'", FieldKind::kBlob, R"("AP8=")", R"("")"},
    {"VarBinary", "VARBINARY(8)", "X'01'", FieldKind::kBytes, "", ""},
    {"Binary", "BINARY(2)", "X'0102'", FieldKind::kBytes, "", ""},
    {"Bit8", "BIT(8)", "b'101'", FieldKind::kBytes, "", ""},
    {"Geometry", "GEOMETRY", "POINT(1,2)", FieldKind::kUnknown, "", ""},
};

class ColumnKindTest : public QueryDbTest, public ::testing::WithParamInterface<KindCase> {};

TEST_P(ColumnKindTest, RendersTheMariaDbColumn) {
  const KindCase& c = GetParam();
  const std::string table = std::string(kSchema) + ".k_" + std::string(c.name);
  admin_.Exec("DROP TABLE IF EXISTS " + table);
  admin_.Exec("CREATE TABLE " + table + " (id INT PRIMARY KEY, v " + std::string(c.column_type) +
              ")");
  admin_.Exec("INSERT INTO " + table + " VALUES (1, " + std::string(c.value) + "), (2, NULL)");

  auto custom = connection_->Connected();
  LibDataSet data_set(*custom);
  data_set.SetSQL("SELECT v FROM " + table + " ORDER BY id").Open();
  ASSERT_EQ(data_set.result().columns().size(), 1u);
  EXPECT_EQ(data_set.result().columns()[0].kind, c.kind);

  if (c.json.empty()) {
    try {
      data_set.ToJSONArray();
      FAIL() << "converted";
    } catch (const ConversionError& e) {
      EXPECT_STREQ(e.what(), "Cannot find type for field \"v\"");
    }
    return;
  }
  const auto rows = data_set.ToJSONArray();
  ASSERT_TRUE(rows);
  EXPECT_EQ(lib::ToJson(*rows),
            "[{\"v\":" + std::string(c.json) + "},{\"v\":" + std::string(c.null_json) + "}]");
}

INSTANTIATE_TEST_SUITE_P(Table, ColumnKindTest, ::testing::ValuesIn(kKindCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(QueryDbTest, AutoIncrementColumnAndAliases) {
  admin_.Exec(std::string("CREATE TABLE IF NOT EXISTS ") + kSchema +
              ".auto_t (id INT AUTO_INCREMENT PRIMARY KEY, Nome VARCHAR(9))");
  admin_.Exec(std::string("INSERT INTO ") + kSchema + ".auto_t (id, Nome) VALUES (7, 'x')");
  auto custom = connection_->Connected();
  LibDataSet data_set(*custom);
  data_set.SetSQL("SELECT t.id, Nome, Nome AS apelido FROM auto_t t").Open();
  EXPECT_EQ(data_set.result().columns()[0].kind, FieldKind::kAutoInc);
  EXPECT_EQ(Json(data_set.ToJSONObject()), R"({"id":7,"Nome":"x","apelido":"x"})");
}

// ---- Select operations ---------------------------------------------------------

TEST_F(QueryDbTest, EmptyResults) {
  FakeRequest req("/v1/itens");
  const char* sql = "SELECT codigo FROM itens WHERE codigo < 0";
  EXPECT_EQ(connection_->SelectToJSONArray(req.get(), sql, false), std::nullopt);
  EXPECT_EQ(connection_->SelectToJSONObject(sql), std::nullopt);
  EXPECT_EQ(lib::ToJson(connection_->SelectToJSONArrayAndNotNil(req.get(), sql, false)), "[]");
  EXPECT_EQ(lib::ToJson(connection_->SelectToJSONObjectAndNotNil(sql)), "{}");
}

TEST_F(QueryDbTest, OneAndSeveralRows) {
  FakeRequest req("/v1/itens");
  EXPECT_EQ(Json(connection_->SelectToJSONArray(
                req.get(), "SELECT codigo, nome FROM itens WHERE codigo = 1", false)),
            R"([{"codigo":1,"nome":"um"}])");
  EXPECT_EQ(
      Json(connection_->SelectToJSONObject("SELECT codigo, nome FROM itens WHERE codigo = 1")),
      R"({"codigo":1,"nome":"um"})");
  EXPECT_EQ(Json(connection_->SelectToJSONObject("SELECT codigo FROM itens ORDER BY codigo DESC")),
            R"({"codigo":5})");
  EXPECT_EQ(Json(connection_->SelectToJSONArray(req.get(),
                                                "SELECT preco FROM itens ORDER BY codigo", false)),
            R"([{"preco":1.5},{"preco":2},{"preco":null},{"preco":4.25},{"preco":5}])");
}

TEST_F(QueryDbTest, FormatOverloads) {
  FakeRequest req("/v1/itens");
  EXPECT_EQ(Json(connection_->SelectToJSONArray(
                req.get(), "SELECT nome FROM itens WHERE codigo = %d", {2}, false)),
            R"([{"nome":"dois"}])");
  EXPECT_EQ(lib::ToJson(connection_->SelectToJSONArrayAndNotNil(
                req.get(), "SELECT nome FROM itens WHERE nome = %s", {MySQLStr("nada")}, false)),
            "[]");
  EXPECT_EQ(Json(connection_->SelectToJSONObject("SELECT nome FROM itens WHERE codigo = %d", {3})),
            R"({"nome":"tres"})");
  EXPECT_EQ(lib::ToJson(connection_->SelectToJSONObjectAndNotNil(
                "SELECT 1 FROM itens WHERE codigo = %d", {9})),
            "{}");
}

struct PagingDbCase {
  std::string_view name, target;
  bool ignore_pagination;
  std::string_view codes;  // JSON of the codigo values returned
};

const PagingDbCase kPagingDbCases[] = {
    {"NoParameters", "/x", false, "[1,2,3,4,5]"},
    {"LimitAlone", "/x?limit=2", false, "[1,2]"},
    {"LimitAndPage", "/x?limit=2&page=2", false, "[3,4]"},
    {"LastPartialPage", "/x?limit=2&page=3", false, "[5]"},
    {"PageWithoutLimit", "/x?page=2", false, "[1,2,3,4,5]"},
    {"IgnorePagination", "/x?limit=2&page=2", true, "[1,2,3,4,5]"},
    {"IgnoredBadLimit", "/x?limit=abc", true, "[1,2,3,4,5]"},
};

class PagingDbTest : public QueryDbTest, public ::testing::WithParamInterface<PagingDbCase> {};

TEST_P(PagingDbTest, LimitAndPage) {
  FakeRequest req(GetParam().target);
  const auto rows = connection_->SelectToJSONArray(
      req.get(), "SELECT codigo FROM itens ORDER BY codigo", GetParam().ignore_pagination);
  ASSERT_TRUE(rows);
  lib::JsonValue codes = lib::JsonValue::MakeArray();
  for (const auto& row : rows->AsArray()) codes.Push(*row.Find("codigo"));
  EXPECT_EQ(lib::ToJson(codes), GetParam().codes);
}

INSTANTIATE_TEST_SUITE_P(Table, PagingDbTest, ::testing::ValuesIn(kPagingDbCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(QueryDbTest, PagingErrors) {
  {
    FakeRequest req("/x?limit=1%20UNION%20SELECT%20senha%20FROM%20login");
    EXPECT_THROW(connection_->SelectToJSONArray(req.get(), "SELECT nome FROM itens", false),
                 InvalidInputError);
  }
  {
    FakeRequest req("/x?limit=10&page=0");  // LIMIT 10 OFFSET -10: refused by the database
    EXPECT_THROW(connection_->SelectToJSONArray(req.get(), "SELECT nome FROM itens", false),
                 DatabaseError);
  }
  {
    FakeRequest req("/x?limit=1&limit=2");  // a repeated name fails the query map
    EXPECT_THROW(connection_->SelectToJSONArray(req.get(), "SELECT nome FROM itens", false),
                 web::core::DuplicateQueryField);
  }
  // Without pagination the parameters are not read at all.
  connection_->SetPagination(false);
  FakeRequest req("/x?limit=bad&limit=2");
  EXPECT_TRUE(connection_->SelectToJSONArray(req.get(), "SELECT nome FROM itens", false));
}

TEST_F(QueryDbTest, StatementErrorsPropagate) {
  FakeRequest req("/x");
  EXPECT_THROW(connection_->SelectToJSONArray(req.get(), "SELECT nada FROM itens", false),
               DatabaseError);
  EXPECT_THROW(connection_->SelectToJSONObject("SELEC 1"), DatabaseError);
}

// ---- The query builder as the tenant checks use it -----------------------------

TEST_F(QueryDbTest, LoginLookupWithTheBuilder) {
  const struct {
    std::string_view login;
    std::string_view senha;
    std::int64_t ativo;
  } cases[] = {{"ana", "segredo", 1}, {"bia", "x", 0}, {"ninguem", "", 0}};
  auto custom = connection_->Connected();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.login);
    LibDataSet data_set(*custom);
    data_set.AddField("senha")
        .AddField("ativo")
        .AddTable("login")
        .AddWhere("login = " + MySQLStr(c.login))
        .ExecuteSelect();
    EXPECT_EQ(data_set.FieldAsString("senha"), c.senha);
    EXPECT_EQ(data_set.FieldAsInteger("ativo"), c.ativo);
    EXPECT_EQ(data_set.FieldAsVariant("SENHA").has_value(), !c.senha.empty());
  }
  LibDataSet data_set(*custom);
  EXPECT_EQ(data_set.FindValue("senha", "login", "id = 2", "-"), "x");
  EXPECT_EQ(data_set.FindValue("id", "senha", "login", "9", "-"), "-");
  data_set.SetSQL("SELECT nome FROM itens").Open();
  EXPECT_THROW(data_set.FieldAsInteger("nome"), ConversionError);
  EXPECT_THROW(data_set.FieldAsString("nao_existe"), ConversionError);
  DatabaseConnection::Disconnected(std::move(custom));
}

TEST_F(QueryDbTest, RowNavigation) {
  auto custom = connection_->Connected();
  LibDataSet data_set(*custom);
  data_set.SetSQL("SELECT codigo FROM itens ORDER BY codigo").Open();
  std::int64_t sum = 0;
  for (data_set.First(); !data_set.Eof(); data_set.Next()) sum += data_set.FieldAsInteger("codigo");
  EXPECT_EQ(sum, 15);
  EXPECT_EQ(data_set.RecordCount(), 5u);
  EXPECT_EQ(data_set.FieldAsInteger("codigo"), 0);  // past the last row
}

// ---- Client text stays data ------------------------------------------------------

// The attack of a login lookup that only doubles quotes: with backslash
// escapes on, "\'" ends the literal and the rest becomes SQL.
const std::string_view kInjections[] = {
    "\\' OR 1=1 #",    "\\' UNION SELECT 'p', 1 #", "x\\",
    "\\\\' OR '1'='1", "a'; DROP TABLE login; --",
};

TEST_F(QueryDbTest, StrLiteralsStayDataInBothBackslashModes) {
  admin_.Exec(std::string("CREATE TABLE IF NOT EXISTS ") + kSchema +
              ".logins_inj (login VARCHAR(80))");
  for (const std::string_view mode : {"", "NO_BACKSLASH_ESCAPES"}) {
    for (const std::string_view attack : kInjections) {
      SCOPED_TRACE(std::string(mode) + " | " + std::string(attack));
      auto hold = connection_->HoldConnection();
      connection_->ExecuteSQL("SET SESSION sql_mode = '" + std::string(mode) + "'");
      const auto rows = connection_->SelectToJSONArray(
          PagingParameters{}, "SELECT senha, ativo FROM login WHERE login = " + MySQLStr(attack),
          false);
      EXPECT_EQ(rows, std::nullopt) << Json(rows);  // neither a row of the table nor a made-up one
      if (mode.empty()) {
        // With backslash escapes on (our sessions) the value round-trips exactly.
        connection_->ExecuteSQL("INSERT INTO logins_inj VALUES (" + MySQLStr(attack) + ")");
        const auto found = connection_->SelectToJSONObject(
            "SELECT login FROM logins_inj WHERE login = " + MySQLStr(attack));
        ASSERT_TRUE(found);
        EXPECT_EQ(found->Find("login")->AsString(), attack);
      }
    }
  }
  EXPECT_EQ(admin_.Scalar(std::string("SELECT COUNT(*) FROM ") + kSchema + ".login"), "2");
}

TEST_F(QueryDbTest, StrRoundTripsEveryAsciiByteAndUtf8) {
  admin_.Exec(std::string("CREATE TABLE IF NOT EXISTS ") + kSchema +
              ".textos (id INT PRIMARY KEY, texto TEXT)");
  std::string value;
  for (int c = 0; c < 128; ++c) value += static_cast<char>(c);
  value += "ação ✓";
  connection_->ExecuteSQL("REPLACE INTO textos VALUES (1, " + MySQLStr(value) + ")");
  const auto row = connection_->SelectToJSONObject("SELECT texto FROM textos WHERE id = 1");
  ASSERT_TRUE(row);
  EXPECT_EQ(row->Find("texto")->AsString(), value);
}

}  // namespace
}  // namespace quorvane::database
