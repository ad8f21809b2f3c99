#include "test_mariadb.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace quorvane::testing {

namespace {

std::string Env(const char* name, const char* fallback) {
  const char* v = std::getenv(name);
  return v && *v ? v : fallback;
}

struct FreeResult {
  void operator()(MYSQL_RES* r) const noexcept { mysql_free_result(r); }
};
using ResultPtr = std::unique_ptr<MYSQL_RES, FreeResult>;

}  // namespace

TestMariaDb::TestMariaDb(const std::string& database, bool multi_statements)
    : conn_(mysql_init(nullptr)) {
  if (!conn_) throw std::runtime_error("mysql_init failed");
  mysql_options(conn_.get(), MYSQL_SET_CHARSET_NAME, "utf8mb4");
  const std::string host = Env("QUORVANE_DB_HOST", "127.0.0.1");
  const std::string user = Env("QUORVANE_DB_USER", "root");
  const std::string password = Env("QUORVANE_DB_PASSWORD", "vortexpin");
  const unsigned port = static_cast<unsigned>(std::atoi(Env("QUORVANE_DB_PORT", "3306").c_str()));
  if (!mysql_real_connect(conn_.get(), host.c_str(), user.c_str(), password.c_str(),
                          database.empty() ? nullptr : database.c_str(), port, nullptr,
                          multi_statements ? CLIENT_MULTI_STATEMENTS : 0)) {
    throw std::runtime_error("connect: " + std::string(mysql_error(conn_.get())));
  }
}

void TestMariaDb::Exec(std::string_view sql) {
  MYSQL* m = conn_.get();
  int status = mysql_real_query(m, sql.data(), static_cast<unsigned long>(sql.size()));
  // In multi-statement mode every result must be read; an error in a later
  // statement shows up here.
  while (status == 0) {
    ResultPtr discard{mysql_store_result(m)};
    status = mysql_next_result(m);
  }
  if (status > 0) {
    throw std::runtime_error(std::string(mysql_error(m)) +
                             "\nin: " + std::string(sql.substr(0, 300)));
  }
}

void TestMariaDb::ExecFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream text;
  text << in.rdbuf();
  Exec(text.str());
}

std::vector<std::string> TestMariaDb::ColumnNames(std::string_view sql) {
  MYSQL* m = conn_.get();
  if (mysql_real_query(m, sql.data(), static_cast<unsigned long>(sql.size())) != 0) {
    throw std::runtime_error(std::string(mysql_error(m)) + "\nin: " + std::string(sql));
  }
  ResultPtr res{mysql_store_result(m)};
  if (!res) throw std::runtime_error("no result set for: " + std::string(sql));
  std::vector<std::string> names;
  const unsigned n = mysql_num_fields(res.get());
  const MYSQL_FIELD* fields = mysql_fetch_fields(res.get());
  for (unsigned i = 0; i < n; ++i) names.emplace_back(fields[i].name, fields[i].name_length);
  return names;
}

std::vector<Row> TestMariaDb::Rows(std::string_view sql) {
  MYSQL* m = conn_.get();
  if (mysql_real_query(m, sql.data(), static_cast<unsigned long>(sql.size())) != 0) {
    throw std::runtime_error(std::string(mysql_error(m)) + "\nin: " + std::string(sql));
  }
  ResultPtr res{mysql_store_result(m)};
  if (!res) throw std::runtime_error("no result set for: " + std::string(sql));
  std::vector<Row> rows;
  const unsigned n = mysql_num_fields(res.get());
  while (MYSQL_ROW row = mysql_fetch_row(res.get())) {
    const unsigned long* lengths = mysql_fetch_lengths(res.get());
    Row values;
    for (unsigned i = 0; i < n; ++i) {
      if (row[i]) {
        values.emplace_back(std::string(row[i], lengths[i]));
      } else {
        values.emplace_back(std::nullopt);
      }
    }
    rows.push_back(std::move(values));
  }
  return rows;
}

ScratchSchema::ScratchSchema(std::string name) : name_(std::move(name)) {
  TestMariaDb db;
  db.Exec("DROP DATABASE IF EXISTS `" + name_ + "`");
  db.Exec("CREATE DATABASE `" + name_ + "` CHARACTER SET utf8mb4");
}

ScratchSchema::~ScratchSchema() {
  try {
    TestMariaDb db;
    db.Exec("DROP DATABASE IF EXISTS `" + name_ + "`");
  } catch (...) {
    // Best effort: the next run drops it before use.
  }
}

std::filesystem::path SourcePath(std::string_view relative) {
  return std::filesystem::path(QV_SOURCE_DIR) / relative;
}

}  // namespace quorvane::testing
