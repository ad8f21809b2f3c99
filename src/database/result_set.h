#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::database {

class ResultSet;

// The kind of a column, which fixes its JSON rendering (DataSetConverter).
// The supported kinds and what MariaDB column types become them:
//
//   kText      CHAR, VARCHAR, TINYTEXT..LONGTEXT, JSON, ENUM, SET, and every
//              other character column; also the NULL type of "SELECT NULL".
//              (CHAR is text here: its values are plain strings, so no
//              MariaDB type maps to a fixed-length character kind.)
//   kInteger   TINYINT other than TINYINT(1), SMALLINT, MEDIUMINT (signed or
//              unsigned: the values fit), signed INT, YEAR. Rendered as a
//              32-bit number.
//   kAutoInc   an INT column with AUTO_INCREMENT. Number from decimal text.
//   kLongWord  INT UNSIGNED. Number from decimal text.
//   kLargeInt  BIGINT, signed or unsigned. Null renders as 0.
//   kBoolean   TINYINT(1) (the BOOLEAN alias) and BIT(1). Null renders as
//              false; origin "Integer" renders 1/0 instead of true/false.
//   kFloat     FLOAT, DOUBLE. Null renders as 0.
//   kBCD       DECIMAL / NUMERIC of any precision, as a double.
//   kDate      DATE.            "YYYY-MM-DD"
//   kTime      TIME.            "hh:nn:ss"; the fraction is dropped. A value
//              outside one day (TIME holds -838:59:59..838:59:59) keeps the
//              server's hours rather than wrapping into a wrong time of day.
//   kDateTime  DATETIME, TIMESTAMP. "yyyy-mm-dd hh:nn:ss", no fraction.
//   kBlob      TINYBLOB..LONGBLOB (binary collation). MIME Base64.
//   kCurrency  no MariaDB type (DECIMAL is kBCD); kept for data sets filled
//              by hand.
//   kDataSet   a nested result set; no MariaDB type, filled by hand.
//
// Unsupported kinds, whose conversion fails with
// "Cannot find type for field "name"":
//   kBytes     BINARY, VARBINARY, BIT(n) with n > 1 (raw bytes, not a blob).
//   kUnknown   GEOMETRY and any type code this build does not know.
enum class FieldKind {
  kText,
  kInteger,
  kAutoInc,
  kLongWord,
  kLargeInt,
  kBoolean,
  kFloat,
  kCurrency,
  kBCD,
  kDate,
  kTime,
  kDateTime,
  kBlob,
  kDataSet,
  kBytes,
  kUnknown,
};

struct Column {
  std::string name;  // the label of the SELECT, alias included, case as reported
  FieldKind kind = FieldKind::kText;
  // Only read for kBoolean and kDataSet columns ("Integer", "JSONObject",
  // "JSONArray"); empty for columns read from MariaDB.
  std::string origin;
  bool visible = true;
};

// One value of a row. `text` holds the server's text form (the bytes for
// blobs and BIT, which are binary); nullopt is SQL NULL. `nested` is set only
// in kDataSet columns.
struct FieldValue {
  std::optional<std::string> text;
  std::shared_ptr<const ResultSet> nested;

  bool IsNull() const { return !text && !nested; }
};

using Row = std::vector<FieldValue>;

// A buffered result: all rows in memory, columns in SELECT order. A value
// type; reading it is thread-compatible.
class ResultSet {
 public:
  ResultSet() = default;
  ResultSet(std::vector<Column> columns, std::vector<Row> rows)
      : columns_(std::move(columns)), rows_(std::move(rows)) {}

  const std::vector<Column>& columns() const { return columns_; }
  std::vector<Column>& columns() { return columns_; }
  const std::vector<Row>& rows() const { return rows_; }
  std::vector<Row>& rows() { return rows_; }

  bool empty() const { return rows_.empty(); }
  std::size_t size() const { return rows_.size(); }

  // Index of the first column of that name, compared without regard to
  // ASCII letter case; nullopt when there is none.
  std::optional<std::size_t> FindColumn(std::string_view name) const;

 private:
  std::vector<Column> columns_;
  std::vector<Row> rows_;
};

}  // namespace quorvane::database
