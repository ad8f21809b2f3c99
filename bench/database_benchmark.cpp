// The database work of one typical GET request, as the server does it: each
// check and the query open and close their own connection (five statements
// and one bare open of the tenant schema, as the validation middleware and
// a list handler run them). Measured with physical connections per
// operation and with the pool, against the test MariaDB; a third variant
// runs the six on one held lease.
//
// Scratch schemas qv_bench_* are created on first use and dropped at exit.
#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "database/connection.h"
#include "database/connection_pool.h"
#include "database/mysql.h"
#include "lib/settings.h"

namespace {

using quorvane::database::ConnectionPool;
using quorvane::database::ConnectParams;
using quorvane::database::DatabaseConnection;
using quorvane::database::MysqlSession;
using quorvane::database::MySQLStr;
using quorvane::database::PagingParameters;
using quorvane::database::SetConnectionPooling;

constexpr char kControl[] = "qv_bench_stru";
constexpr char kTenant[] = "qv_bench_tenant";
constexpr int kProducts = 200;

ConnectParams Server() {
  const auto& s = quorvane::lib::CurrentSettings();
  ConnectParams p;
  p.host = s.db_host;
  p.port = static_cast<unsigned>(s.db_port);
  p.user = s.db_user;
  p.password = s.db_password;
  return p;
}

// Creates the two schemas once and drops them when the program ends.
class Fixture {
 public:
  static void Ensure() { static Fixture fixture; }

 private:
  Fixture() {
    auto s = MysqlSession::Connect(Server());
    for (const char* schema : {kControl, kTenant}) {
      s->Execute(std::string("DROP DATABASE IF EXISTS ") + schema);
      s->Execute(std::string("CREATE DATABASE ") + schema);
    }
    s->Execute(std::string("CREATE TABLE ") + kControl +
               "._schemas (name_schema VARCHAR(80) PRIMARY KEY, manutencao INT)");
    s->Execute(std::string("INSERT INTO ") + kControl + "._schemas VALUES ('" + kTenant + "', 0)");
    s->Execute(std::string("CREATE TABLE ") + kTenant +
               ".login (id INT PRIMARY KEY, login VARCHAR(40), senha VARCHAR(40), ativo INT, "
               "KEY (login))");
    s->Execute(std::string("INSERT INTO ") + kTenant + ".login VALUES (1, 'ana', 'segredo', 1)");
    s->Execute(std::string("CREATE TABLE ") + kTenant +
               ".produtos (codigo INT PRIMARY KEY, codbarras VARCHAR(20), descricao VARCHAR(80), "
               "unidade CHAR(2), preco DECIMAL(12,2), estoque DOUBLE, ativo TINYINT(1), "
               "dtcadastro DATETIME, observacao TEXT, codgrupo INT)");
    std::string insert = std::string("INSERT INTO ") + kTenant + ".produtos VALUES ";
    for (int i = 1; i <= kProducts; ++i) {
      if (i > 1) insert += ",";
      const std::string n = std::to_string(i);
      insert.append("(").append(n).append(", '789").append(std::to_string(100000 + i));
      insert.append("', 'Produto ").append(n).append("', 'UN', ").append(n).append(".90, ");
      insert.append(std::to_string(i * 3)).append(".5, 1, '2024-01-02 03:04:05', 'obs', ");
      insert.append(std::to_string(i % 7)).append(")");
    }
    s->Execute(insert);
  }
  ~Fixture() {
    try {
      ConnectionPool::CloseAllIdle();
      auto s = MysqlSession::Connect(Server());
      for (const char* schema : {kControl, kTenant}) {
        s->Execute(std::string("DROP DATABASE IF EXISTS ") + schema);
      }
    } catch (const std::exception&) {
      // Leftover scratch schemas are dropped by the next run.
    }
  }
};

std::unique_ptr<DatabaseConnection> Connection(const std::string& schema) {
  const auto& s = quorvane::lib::CurrentSettings();
  auto c = std::make_unique<DatabaseConnection>();
  c->SetKeyFieldsDefault("codigo");
  c->SetDatabase(schema);
  c->SetUserName(s.db_user);
  c->SetServer(s.db_host);
  c->SetPassword(s.db_password);
  c->SetPort(std::to_string(s.db_port));
  return c;
}

const std::string kTenantLiteral = MySQLStr(kTenant);
const std::string kSchemaLookup =
    "Select\r\n    name_schema\r\nFrom\r\n    _schemas\r\nWhere\r\n    name_schema = " +
    kTenantLiteral + "\r\n";
const std::string kLoginLookup =
    "Select\r\n    senha,\r\n    ativo\r\nFrom\r\n    login\r\nWhere\r\n    login = " +
    MySQLStr("ana") + "\r\n";
const std::string kMaintenance =
    "Select\r\n  manutencao\r\nFrom\r\n  _schemas\r\nWhere\r\n  name_schema = " + kTenantLiteral;
const std::string kProductsSelect =
    "Select\r\n  codigo,\r\n  codbarras,\r\n  descricao,\r\n  unidade,\r\n  preco,\r\n  "
    "estoque,\r\n"
    "  ativo,\r\n  dtcadastro,\r\n  observacao,\r\n  codgrupo\r\nFrom\r\n  produtos";

// The six operations, each on its own connection object (a physical
// connection, or a lease, per operation).
std::size_t TypicalRequest() {
  std::size_t rows = 0;
  auto check = [](bool ok) {
    if (!ok) throw std::runtime_error("unexpected answer");
  };
  check(Connection(kControl)->SelectToJSONObject(kSchemaLookup).has_value());  // tenant listed
  Connection(kTenant)->CreateCustomConnection()->Open();                       // tenant opens
  check(Connection(kTenant)->SelectToJSONObject(kLoginLookup).has_value());    // login
  check(Connection(kControl)->SelectToJSONObject(kMaintenance).has_value());   // maintenance
  check(Connection(kControl)->SelectToJSONObject(kMaintenance).has_value());   // initial load
  const auto list =
      Connection(kTenant)->SelectToJSONArray(PagingParameters{"30", "2"}, kProductsSelect, false);
  check(list.has_value());
  rows += list->size();
  return rows;
}

// The same six on one lease, switching schemas as the request goes.
std::size_t TypicalRequestOnOneLease() {
  auto c = Connection(kControl);
  auto hold = c->HoldConnection();
  std::size_t rows = 0;
  c->SelectToJSONObject(kSchemaLookup);
  c->SetDatabase(kTenant);
  hold.connection().SelectDatabase(kTenant);
  c->SelectToJSONObject(kLoginLookup);
  c->SetDatabase(kControl);
  c->SelectToJSONObject(kMaintenance);
  c->SelectToJSONObject(kMaintenance);
  c->SetDatabase(kTenant);
  rows += c->SelectToJSONArray(PagingParameters{"30", "2"}, kProductsSelect, false)->size();
  return rows;
}

void Run(benchmark::State& state, bool pooled, std::size_t (*request)()) {
  Fixture::Ensure();
  SetConnectionPooling(pooled);  // each benchmark sets its own mode before it starts
  std::size_t rows = 0;
  for (auto _ : state) rows += request();
  state.SetItemsProcessed(state.iterations());  // requests per second
  state.counters["rows"] =
      benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kAvgIterations);
}

void BM_TypicalRequest_ConnectionPerStatement(benchmark::State& state) {
  Run(state, false, &TypicalRequest);
}
void BM_TypicalRequest_Pooled(benchmark::State& state) { Run(state, true, &TypicalRequest); }
void BM_TypicalRequest_PooledOneLease(benchmark::State& state) {
  Run(state, true, &TypicalRequestOnOneLease);
}

BENCHMARK(BM_TypicalRequest_ConnectionPerStatement)->UseRealTime()->Threads(1)->Threads(8);
BENCHMARK(BM_TypicalRequest_Pooled)->UseRealTime()->Threads(1)->Threads(8);
BENCHMARK(BM_TypicalRequest_PooledOneLease)->UseRealTime()->Threads(1)->Threads(8);

}  // namespace
