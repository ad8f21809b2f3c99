#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "database/custom_connection.h"
#include "database/result_set.h"
#include "lib/json.h"

namespace quorvane::database {

// A buffered result set on a physical connection, with its statement text
// set directly or built from lists of fields, tables and conditions:
//
//   LibDataSet ds(connection);
//   ds.AddField("senha").AddField("ativo").AddTable("login")
//     .AddWhere("login = " + MySQLStr(user)).ExecuteSelect();
//   bool ok = ds.FieldAsString("senha") == password && ds.FieldAsInteger("ativo") == 1;
//
// Opening reads all rows; the first becomes current. The connection belongs
// to the caller and must outlive the set. Not thread-safe.
class LibDataSet {
 public:
  explicit LibDataSet(CustomConnection& connection) : connection_(&connection) {}

  // The statement text run by Open.
  const std::string& SQL() const { return sql_; }
  LibDataSet& SetSQL(std::string sql);
  // Appends `line` and CR LF to the statement text.
  LibDataSet& AddSQL(std::string_view line);

  LibDataSet& AddField(std::string value);
  LibDataSet& AddTable(std::string value);
  LibDataSet& AddWhere(std::string value);
  LibDataSet& AddOrderBy(std::string value);
  LibDataSet& AddGroupBy(std::string value);
  LibDataSet& AddHaving(std::string value);
  LibDataSet& SetLimit(int limit);
  LibDataSet& SetPage(int page);

  // Builds the statement text from the lists, one line per item, each line
  // ended by CR LF:
  //   Select[ first <limit>[ skip <limit*page>]]
  //       field1,            (four spaces; "," after all but the last)
  //       field2
  //   From / Where / Group by / Having / Order by, each followed by its
  //   items; a section whose list is empty is left out. Tables and
  //   conditions get no separator (conditions carry their own "and").
  void PrepareSelect();

  // Runs the statement text and buffers its rows (DatabaseError on failure).
  LibDataSet& Open();
  // PrepareSelect, then Open.
  LibDataSet& ExecuteSelect();
  // Drops the rows.
  void Close();
  // Close; clears the statement text and all lists; limit and page to 0.
  LibDataSet& Reset();

  bool Active() const { return active_; }
  bool IsEmpty() const { return result_.empty(); }
  std::size_t RecordCount() const { return result_.size(); }
  bool Eof() const { return row_ >= result_.size(); }
  void First() { row_ = 0; }
  void Next() {
    if (row_ < result_.size()) ++row_;
  }
  const ResultSet& result() const { return result_; }
  std::size_t current_row() const { return row_; }

  // A column of the current row by name (any letter case). Without a current
  // row, or for NULL: nullopt, "" and 0. FieldAsInteger throws
  // ConversionError for text that is not an integer; a boolean reads as 1/0.
  // An unknown column name throws ConversionError.
  std::optional<std::string> FieldAsVariant(std::string_view name) const;
  std::string FieldAsString(std::string_view name) const;
  std::int64_t FieldAsInteger(std::string_view name) const;

  // All rows / the current row as JSON (DataSetConverter); nullopt when
  // there are no rows.
  std::optional<lib::JsonValue> ToJSONArray() const;
  std::optional<lib::JsonValue> ToJSONObject() const;

  // Selects `field_result` from `table` under `filter` and gives the first
  // row's value, or `result_default` when there is no row or it is NULL.
  // Uses the set (Reset first).
  std::string FindValue(std::string_view field_result, std::string_view table,
                        std::string_view filter, std::string_view result_default);
  // The same with the condition "<field_key> = <value_key>"; `value_key` is
  // SQL text (quote it with MySQLStr).
  std::string FindValue(std::string_view field_key, std::string_view field_result,
                        std::string_view table, std::string_view value_key,
                        std::string_view result_default);

 private:
  const FieldValue* Current(std::string_view name) const;

  CustomConnection* connection_;
  std::string sql_;
  std::vector<std::string> fields_, tables_, where_, order_by_, group_by_, having_;
  int limit_ = 0;
  int page_ = 0;
  ResultSet result_;
  std::size_t row_ = 0;
  bool active_ = false;
};

// Operations on a throw-away LibDataSet, and the assignment list of updates.
class LibDataSetUtils {
 public:
  // Runs `sql` on `connection` and converts all rows / the first row.
  static std::optional<lib::JsonValue> SelectToJSONArray(CustomConnection& connection,
                                                         std::string_view sql);
  static std::optional<lib::JsonValue> SelectToJSONObject(CustomConnection& connection,
                                                          std::string_view sql);

  // "f1 = v1, f2 = v2" from a column list and a value list, starting with
  // item `offset` + 1. Columns are split at commas outside double quotes
  // (which are then removed), values at commas outside single quotes; items
  // are trimmed. Stops at the first position where either list has no
  // further non-empty item. Empty when either list is empty.
  static std::string ConcatenateFieldsAndValues(std::string_view fields, std::string_view values,
                                                int offset);
};

}  // namespace quorvane::database
