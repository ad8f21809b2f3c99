#include "database/base.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "database/dataset.h"
#include "database/errors.h"

namespace quorvane::database {
namespace {

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

// 1899-12-30 counted from 1970-01-01.
constexpr std::int64_t kSerialEpoch = -25569;

bool ReadInt(std::string_view text, std::size_t& pos, std::size_t digits, int& out) {
  if (pos + digits > text.size()) return false;
  int value = 0;
  for (std::size_t i = 0; i < digits; ++i) {
    const char c = text[pos + i];
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  pos += digits;
  out = value;
  return true;
}

bool Expect(std::string_view text, std::size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

bool ReadTime(std::string_view text, std::size_t& pos, DateTime& dt) {
  if (!ReadInt(text, pos, 2, dt.hour) || !Expect(text, pos, ':') ||
      !ReadInt(text, pos, 2, dt.minute) || !Expect(text, pos, ':') ||
      !ReadInt(text, pos, 2, dt.second)) {
    return false;
  }
  if (pos < text.size() && text[pos] == '.') {
    ++pos;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos;
  }
  return dt.hour < 24 && dt.minute < 60 && dt.second < 60;
}

std::string Pad2(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}

std::string Pad4(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d", v);
  return buf;
}

std::string JoinNonEmpty(std::string_view a, std::string_view b) {
  std::string out(a);
  if (!a.empty() && !b.empty()) out += ", ";
  out += b;
  return out;
}

}  // namespace

double DateTime::ToSerial() const {
  const std::int64_t days =
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kSerialEpoch;
  const double fraction = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
  // Before the epoch the fraction counts away from zero, as such serials do.
  return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

DateTime DateTime::FromSerial(double serial) {
  DateTime dt;
  const double whole = std::trunc(serial);
  auto seconds = static_cast<std::int64_t>(std::llround(std::fabs(serial - whole) * 86400.0));
  std::int64_t days = static_cast<std::int64_t>(whole);
  if (seconds >= 86400) {  // rounding reached the next day
    seconds -= 86400;
    days += serial >= 0 ? 1 : -1;
  }
  CivilFromDays(days + kSerialEpoch, dt.year, dt.month, dt.day);
  dt.hour = static_cast<int>(seconds / 3600);
  dt.minute = static_cast<int>(seconds / 60 % 60);
  dt.second = static_cast<int>(seconds % 60);
  return dt;
}

std::optional<DateTime> DateTime::Parse(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  DateTime dt;
  std::size_t pos = 0;
  if (text.size() >= 3 && text[2] == ':') {
    dt = DateTime{};
    if (!ReadTime(text, pos, dt) || pos != text.size()) return std::nullopt;
    return dt;
  }
  bool date_ok;
  if (text.size() >= 5 && text[4] == '-') {
    date_ok = ReadInt(text, pos, 4, dt.year) && Expect(text, pos, '-') &&
              ReadInt(text, pos, 2, dt.month) && Expect(text, pos, '-') &&
              ReadInt(text, pos, 2, dt.day);
  } else {
    date_ok = ReadInt(text, pos, 2, dt.day) && Expect(text, pos, '/') &&
              ReadInt(text, pos, 2, dt.month) && Expect(text, pos, '/') &&
              ReadInt(text, pos, 4, dt.year);
  }
  if (!date_ok || dt.month < 1 || dt.month > 12 || dt.day < 1 || dt.day > 31) return std::nullopt;
  dt.hour = dt.minute = dt.second = 0;
  if (pos < text.size()) {
    if (!Expect(text, pos, ' ') && !Expect(text, pos, 'T')) return std::nullopt;
    if (!ReadTime(text, pos, dt)) return std::nullopt;
  }
  if (pos != text.size()) return std::nullopt;
  // Reject days the month does not have (2021-02-30).
  int y, m, d;
  CivilFromDays(
      DaysFromCivil(dt.year, static_cast<unsigned>(dt.month), static_cast<unsigned>(dt.day)), y, m,
      d);
  if (y != dt.year || m != dt.month || d != dt.day) return std::nullopt;
  return dt;
}

void Singleton::RefuseCreate(std::string_view class_name) {
  throw SingletonError(
      "Não é possível instanciar essa classe através do método Create.\r\n\r\nUtilize " +
      std::string(class_name) + ".getInstance para acessar os métodos dessa classe.");
}

LibDBBase::LibDBBase()
    : LibDBBase(std::string("S"), std::string("N"), FieldDataType::kText, DataBaseType::kUnknown) {}

LibDBBase::LibDBBase(SqlValue boolean_true, SqlValue boolean_false, FieldDataType boolean_type,
                     DataBaseType data_base_type)
    : boolean_true_(std::move(boolean_true)),
      boolean_false_(std::move(boolean_false)),
      boolean_type_(boolean_type),
      data_base_type_(data_base_type) {}

const LibDBBase& LibDBBase::getInstance() {
  static const LibDBBase instance;
  return instance;
}

void LibDBBase::Create() { RefuseCreate("LibDBBase"); }

std::string detail::QuoteDoubled(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '\'';
  for (const char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  out += '\'';
  return out;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  for (;;) {
    const std::size_t hit = text.find(from, pos);
    if (hit == std::string_view::npos || from.empty()) break;
    out.append(text, pos, hit - pos);
    out += to;
    pos = hit + from.size();
  }
  out.append(text, pos);
  return out;
}

std::string LibDBBase::Str(std::string_view value) const { return detail::QuoteDoubled(value); }

std::string LibDBBase::DateStr(const DateTime& v) const {
  return Pad4(v.year) + "-" + Pad2(v.month) + "-" + Pad2(v.day);
}

std::string LibDBBase::TimeStr(const DateTime& v) const {
  return Pad2(v.hour) + ":" + Pad2(v.minute) + ":" + Pad2(v.second);
}

std::string LibDBBase::DateTimeStr(const DateTime& v) const {
  return LibDBBase::DateStr(v) + " " + LibDBBase::TimeStr(v);
}

std::string LibDBBase::FloatStr(double value) const {
  return ReplaceAll(lib::FormatJsonDouble(value), ",", ".");
}

std::string LibDBBase::BooleanLiteral(const SqlValue& chosen) const {
  if (const auto* i = std::get_if<std::int64_t>(&chosen)) return std::to_string(*i);
  if (const auto* s = std::get_if<std::string>(&chosen)) return Str(*s);
  return "NULL";
}

std::string LibDBBase::BooleanStr(const SqlValue& value) const {
  SqlValue chosen = value;
  if (const auto* i = std::get_if<std::int64_t>(&value)) {
    chosen = *i == 1 ? boolean_true_ : boolean_false_;
  } else if (const auto* b = std::get_if<bool>(&value)) {
    chosen = *b ? boolean_true_ : boolean_false_;
  } else if (const auto* s = std::get_if<std::string>(&value)) {
    std::string upper(*s);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    chosen = (upper == "TRUE" || upper == "S" || upper == "1") ? boolean_true_ : boolean_false_;
  }
  if (chosen != boolean_true_ && chosen != boolean_false_) return "NULL";
  return BooleanLiteral(chosen);
}

std::string LibDBBase::Insert(std::string_view table_name, std::string_view fields,
                              std::string_view values) const {
  std::string sql = "Insert Into ";
  sql.append(table_name).append(" (").append(fields).append(")\r\nvalues(");
  sql.append(values).append(")");
  return ReplaceAll(ReplaceAll(sql, "#virgula#", ","), "\\", "");
}

std::string LibDBBase::Update(std::string_view table_name, std::string_view key_field,
                              std::string_view fields, std::string_view key_value,
                              std::string_view values) const {
  std::string sql = "Update ";
  sql.append(table_name).append(" Set ");
  sql += LibDataSetUtils::ConcatenateFieldsAndValues(fields, values, 0);
  sql.append("\r\nWhere ").append(key_field).append(" = ").append(key_value);
  return ReplaceAll(sql, "#virgula#", ",");
}

std::string LibDBBase::UpdateOrInsert(std::string_view table_name, std::string_view key_fields,
                                      std::string_view fields, std::string_view key_values,
                                      std::string_view values) const {
  std::string sql = "Update or Insert Into ";
  sql.append(table_name).append(" (").append(JoinNonEmpty(key_fields, fields));
  sql.append(")\r\nvalues\r\n(").append(JoinNonEmpty(key_values, values)).append(")");
  return ReplaceAll(sql, "#virgula#", ",");
}

std::string LibDBBase::UpdateOrInsert(const lib::JsonValue& json, std::string_view table_name,
                                      std::string_view key_fields,
                                      std::string_view key_values) const {
  std::string fields;
  std::string values;
  ExtractFieldsAndValues(json, fields, values);
  return UpdateOrInsert(table_name, key_fields, fields, key_values, values);
}

void LibDBBase::ExtractFieldsAndValues(const lib::JsonValue& json, std::string& fields,
                                       std::string& values) const {
  fields.clear();
  values.clear();
  if (!json.IsObject()) return;
  bool first = true;
  for (const lib::JsonMember& member : json.AsObject()) {
    const lib::JsonValue& v = member.value;
    std::string literal;
    switch (v.kind()) {
      case lib::JsonValue::Kind::kObject:
      case lib::JsonValue::Kind::kArray:
        continue;
      case lib::JsonValue::Kind::kString:
        literal = detail::QuoteDoubled(v.AsString());
        break;
      case lib::JsonValue::Kind::kBoolean:
        literal = v.AsBoolean() ? "'true'" : "'false'";
        break;
      case lib::JsonValue::Kind::kNumber:
        literal = ReplaceAll(v.AsNumberText(), ",", ".");
        break;
      case lib::JsonValue::Kind::kNull:
        literal = "null";
        break;
    }
    if (!first) {
      fields += ", ";
      values += ", ";
    }
    first = false;
    fields += ReplaceAll(member.name, "\"", "");
    values += literal;
  }
}

}  // namespace quorvane::database
