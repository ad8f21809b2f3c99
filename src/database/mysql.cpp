#include "database/mysql.h"

#include "database/dataset.h"

namespace quorvane::database {
namespace {

std::string InQuotes(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out.append("'").append(text).append("'");
  return out;
}

}  // namespace

LibDBMySQL::LibDBMySQL()
    : LibDBBase(std::int64_t{1}, std::int64_t{0}, FieldDataType::kInteger, DataBaseType::kMySQL) {}

const LibDBMySQL& LibDBMySQL::getInstance() {
  static const LibDBMySQL instance;
  return instance;
}

void LibDBMySQL::Create() { RefuseCreate("LibDBMySQL"); }

std::string LibDBMySQL::Str(std::string_view value) const {
  std::string out;
  out.reserve(value.size() + 2);
  out += '\'';
  for (const char c : value) {
    if (c == '\'' || c == '\\') out += c;
    out += c;
  }
  out += '\'';
  return out;
}

std::string LibDBMySQL::DateStr(const DateTime& v) const {
  return InQuotes(ReplaceAll(LibDBBase::DateStr(v), "-", "."));
}

std::string LibDBMySQL::TimeStr(const DateTime& v) const { return InQuotes(LibDBBase::TimeStr(v)); }

std::string LibDBMySQL::DateTimeStr(const DateTime& v) const {
  return InQuotes(LibDBBase::DateTimeStr(v));
}

std::string LibDBMySQL::Update(std::string_view table_name, std::string_view key_field,
                               std::string_view fields, std::string_view key_value,
                               std::string_view values) const {
  return ReplaceAll(LibDBBase::Update(table_name, key_field, fields, key_value, values), "\\",
                    "\\\\");
}

std::string LibDBMySQL::UpdateOrInsert(std::string_view table_name, std::string_view key_fields,
                                       std::string_view fields, std::string_view key_values,
                                       std::string_view values) const {
  std::string sql = "INSERT INTO ";
  sql.append(table_name).append(" (").append(key_fields).append(", ").append(fields);
  sql.append(")\r\nVALUES\r\n(").append(key_values).append(", ").append(values);
  sql.append(")\r\nON DUPLICATE KEY UPDATE\r\n");
  sql += LibDataSetUtils::ConcatenateFieldsAndValues(fields, values, 0);
  sql = ReplaceAll(sql, "#virgula#", ",");
  sql = ReplaceAll(sql, "\\/", "/");
  return ReplaceAll(sql, "\\", "\\\\");
}

std::string MySQLStr(std::string_view value) { return LibDBMySQL::getInstance().Str(value); }

}  // namespace quorvane::database
