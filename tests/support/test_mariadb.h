#pragma once

// A thin client for the test MariaDB (root on 127.0.0.1:3306, or the
// QUORVANE_DB_* variables), used before and beside the database layer: run
// SQL files, read rows and column names, and own scratch schemas.

#include <mysql.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::testing {

using Row = std::vector<std::optional<std::string>>;

class TestMariaDb {
 public:
  // Connects to `database` (none when empty). Throws std::runtime_error with
  // the server's message. Multi-statement mode is on only when asked for; it
  // is what runs a whole SQL file in one call.
  explicit TestMariaDb(const std::string& database = {}, bool multi_statements = false);

  // Runs one statement (or, in multi-statement mode, a script) and discards
  // any rows. Throws std::runtime_error naming the failing statement.
  void Exec(std::string_view sql);
  // Runs the SQL file at `path` (multi-statement mode required).
  void ExecFile(const std::filesystem::path& path);

  // The result column names, in order, of a query.
  std::vector<std::string> ColumnNames(std::string_view sql);
  // All rows of a query, NULL as nullopt.
  std::vector<Row> Rows(std::string_view sql);

 private:
  struct Close {
    void operator()(MYSQL* m) const noexcept { mysql_close(m); }
  };
  std::unique_ptr<MYSQL, Close> conn_;
};

// A schema that exists for the lifetime of the object: dropped first if a
// failed run left it behind, dropped again at the end.
class ScratchSchema {
 public:
  explicit ScratchSchema(std::string name);
  ~ScratchSchema();
  ScratchSchema(const ScratchSchema&) = delete;
  ScratchSchema& operator=(const ScratchSchema&) = delete;

  const std::string& name() const { return name_; }

 private:
  std::string name_;
};

// A file of the source tree, e.g. SourcePath("db/tenant.sql").
std::filesystem::path SourcePath(std::string_view relative);

}  // namespace quorvane::testing
