#include "database/firebird.h"

namespace quorvane::database {
namespace {

std::string Pad(int v, int width) {
  std::string s = std::to_string(v);
  if (static_cast<int>(s.size()) < width)
    s.insert(0, static_cast<std::size_t>(width) - s.size(), '0');
  return s;
}

std::string InQuotes(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out.append("'").append(text).append("'");
  return out;
}

std::string MonthDayYear(const DateTime& v) {
  return Pad(v.month, 2) + "/" + Pad(v.day, 2) + "/" + Pad(v.year, 4);
}

}  // namespace

LibDBFirebird::LibDBFirebird()
    : LibDBBase(std::string("S"), std::string("N"), FieldDataType::kText, DataBaseType::kFirebird) {
}

const LibDBFirebird& LibDBFirebird::getInstance() {
  static const LibDBFirebird instance;
  return instance;
}

void LibDBFirebird::Create() { RefuseCreate("LibDBFirebird"); }

std::string LibDBFirebird::Str(std::string_view value) const {
  const std::string literal = detail::QuoteDoubled(ReplaceAll(value, "\n", ""));
  return ReplaceAll(literal, "\r", "'||ascii_char(13)||ascii_char(10)||'");
}

std::string LibDBFirebird::DateStr(const DateTime& v) const { return InQuotes(MonthDayYear(v)); }

std::string LibDBFirebird::TimeStr(const DateTime& v) const {
  return InQuotes(LibDBBase::TimeStr(v));
}

std::string LibDBFirebird::DateTimeStr(const DateTime& v) const {
  return InQuotes(MonthDayYear(v) + " " + LibDBBase::TimeStr(v));
}

std::string LibDBFirebird::Insert(std::string_view table_name, std::string_view fields,
                                  std::string_view values, std::string_view returning_field) const {
  std::string sql = LibDBBase::Insert(table_name, fields, values);
  sql.append("\r\nReturning ").append(returning_field);
  return sql;
}

}  // namespace quorvane::database
