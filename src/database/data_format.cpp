#include "database/data_format.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "database/errors.h"
#include "database/firebird.h"
#include "database/mysql.h"

namespace quorvane::database {
namespace {

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
    text.remove_prefix(1);
  }
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
    text.remove_suffix(1);
  }
  return text;
}

std::string DateTimeText(const DateTime& dt) { return LibDBBase::getInstance().DateTimeStr(dt); }

std::string TextOf(const SqlValue& value) {
  struct Visitor {
    std::string operator()(std::monostate) const { return {}; }
    std::string operator()(bool b) const { return b ? "True" : "False"; }
    std::string operator()(std::int64_t i) const { return std::to_string(i); }
    std::string operator()(double d) const { return lib::FormatJsonDouble(d); }
    std::string operator()(const std::string& s) const { return s; }
    std::string operator()(const DateTime& dt) const { return DateTimeText(dt); }
  };
  return std::visit(Visitor{}, value);
}

double DoubleOf(const SqlValue& value) {
  if (const auto* d = std::get_if<double>(&value)) return *d;
  if (const auto* i = std::get_if<std::int64_t>(&value)) return static_cast<double>(*i);
  if (const auto* b = std::get_if<bool>(&value)) return *b ? 1.0 : 0.0;
  if (const auto* dt = std::get_if<DateTime>(&value)) return dt->ToSerial();
  const std::string text = ReplaceAll(Trim(TextOf(value)), ",", ".");
  double out = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  if (text.empty() || ec != std::errc() || ptr != text.data() + text.size()) {
    throw ConversionError("'" + text + "' is not a valid floating point value");
  }
  return out;
}

std::int64_t IntegerOf(const SqlValue& value) {
  if (const auto* i = std::get_if<std::int64_t>(&value)) return *i;
  if (const auto* b = std::get_if<bool>(&value)) return *b ? 1 : 0;
  if (const auto* d = std::get_if<double>(&value)) {
    if (!std::isfinite(*d) || std::fabs(*d) >= 9.2e18) {
      throw ConversionError("'" + lib::FormatJsonDouble(*d) + "' is not a valid integer value");
    }
    return std::llround(*d);
  }
  const std::string text(Trim(TextOf(value)));
  std::int64_t out = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  if (text.empty() || ec != std::errc() || ptr != text.data() + text.size()) {
    throw ConversionError("'" + text + "' is not a valid integer value");
  }
  return out;
}

// The date-time of a value for the date forms; nullopt means "use
// return_null".
std::optional<DateTime> DateOf(const SqlValue& value) {
  if (const auto* dt = std::get_if<DateTime>(&value)) {
    if (dt->ToSerial() > 0) return *dt;
    return std::nullopt;
  }
  if (std::holds_alternative<double>(value) || std::holds_alternative<std::int64_t>(value)) {
    const double serial = DoubleOf(value);
    if (serial > 0) return DateTime::FromSerial(serial);
    return std::nullopt;
  }
  if (const auto* s = std::get_if<std::string>(&value)) {
    if (auto parsed = DateTime::Parse(*s)) return parsed;
    throw ConversionError("'" + *s + "' is not a valid date and time");
  }
  return std::nullopt;
}

}  // namespace

const LibDBBase* LibDataFormat::Dialect(DataBaseType data_base_type) {
  switch (data_base_type) {
    case DataBaseType::kMySQL:
      return &LibDBMySQL::getInstance();
    case DataBaseType::kFirebird:
      return &LibDBFirebird::getInstance();
    case DataBaseType::kUnknown:
      return nullptr;
  }
  return nullptr;
}

std::string LibDataFormat::FormatFieldStringSQL(std::string_view value, DataBaseType type) {
  const LibDBBase* dialect = Dialect(type);
  return dialect ? dialect->Str(value) : std::string();
}

std::string LibDataFormat::FormatFieldIntegerSQL(std::int64_t value, DataBaseType type) {
  return Dialect(type) ? std::to_string(value) : std::string();
}

std::string LibDataFormat::FormatFieldFloatSQL(double value, DataBaseType type) {
  const LibDBBase* dialect = Dialect(type);
  return dialect ? dialect->FloatStr(value) : std::string();
}

std::string LibDataFormat::FormatFieldDateSQL(const SqlValue& value, DataBaseType type,
                                              std::string_view return_null) {
  const LibDBBase* dialect = Dialect(type);
  if (!dialect) return {};
  const auto dt = DateOf(value);
  return dt ? dialect->DateStr(*dt) : std::string(return_null);
}

std::string LibDataFormat::FormatFieldTimeSQL(const SqlValue& value, DataBaseType type,
                                              std::string_view return_null) {
  const LibDBBase* dialect = Dialect(type);
  if (!dialect) return {};
  // A time of day alone is a serial below 1, so any value of a time type
  // counts: only null and non-date kinds fall back to return_null.
  if (const auto* dt = std::get_if<DateTime>(&value)) return dialect->TimeStr(*dt);
  if (std::holds_alternative<double>(value) || std::holds_alternative<std::int64_t>(value)) {
    const double serial = DoubleOf(value);
    if (serial > 0) return dialect->TimeStr(DateTime::FromSerial(serial));
    return std::string(return_null);
  }
  const auto dt = DateOf(value);
  return dt ? dialect->TimeStr(*dt) : std::string(return_null);
}

std::string LibDataFormat::FormatFieldDateTimeSQL(const SqlValue& value, DataBaseType type,
                                                  std::string_view return_null) {
  const LibDBBase* dialect = Dialect(type);
  if (!dialect) return {};
  const auto dt = DateOf(value);
  return dt ? dialect->DateTimeStr(*dt) : std::string(return_null);
}

std::string LibDataFormat::FormatFieldBooleanSQL(const SqlValue& value, DataBaseType type,
                                                 std::string_view return_null) {
  const LibDBBase* dialect = Dialect(type);
  if (!dialect) return {};
  if (std::holds_alternative<std::monostate>(value)) return std::string(return_null);
  return dialect->BooleanStr(value);
}

std::string LibDataFormat::FormatFieldValueSQL(const Column& column, const FieldValue& value,
                                               DataBaseType type) {
  const LibDBBase* dialect = Dialect(type);
  if (!dialect) return {};
  if (!value.text) return "NULL";
  const std::string& text = *value.text;
  switch (column.kind) {
    case FieldKind::kText:
    case FieldKind::kBlob:
      return dialect->Str(text);
    case FieldKind::kBoolean:
      return dialect->BooleanStr(
          text.size() == 1 && static_cast<unsigned char>(text[0]) <= 1
              ? SqlValue(static_cast<std::int64_t>(text[0]))
              : SqlValue(IntegerOf(text) != 0 ? std::int64_t{1} : std::int64_t{0}));
    case FieldKind::kFloat:
    case FieldKind::kCurrency:
    case FieldKind::kBCD:
      return dialect->FloatStr(DoubleOf(text));
    case FieldKind::kDate:
      return FormatFieldDateSQL(text, type);
    case FieldKind::kTime:
      return FormatFieldTimeSQL(text, type);
    case FieldKind::kDateTime:
      return FormatFieldDateTimeSQL(text, type);
    default:
      return std::to_string(IntegerOf(text));
  }
}

std::string LibDataFormat::FormatFieldVariantSQL(const SqlValue& value, FieldDataType field_type,
                                                 std::string_view return_null, DataBaseType type) {
  const LibDBBase* dialect = Dialect(type);
  if (!dialect) return {};
  if (std::holds_alternative<std::monostate>(value)) return std::string(return_null);
  if (const auto* s = std::get_if<std::string>(&value); s && Upper(Trim(*s)) == "NULL") {
    return std::string(return_null);
  }
  switch (field_type) {
    case FieldDataType::kText:
      return dialect->Str(TextOf(value));
    case FieldDataType::kFloat:
      return dialect->FloatStr(DoubleOf(value));
    case FieldDataType::kDate:
      return FormatFieldDateSQL(value, type, return_null);
    case FieldDataType::kTime:
      return FormatFieldTimeSQL(value, type, return_null);
    case FieldDataType::kDateTime:
      return FormatFieldDateTimeSQL(value, type, return_null);
    case FieldDataType::kBoolean:
      return dialect->BooleanStr(value);
    case FieldDataType::kNull:
    case FieldDataType::kInteger:
      return std::to_string(IntegerOf(value));
  }
  return std::to_string(IntegerOf(value));
}

FieldDataType LibDataFormat::StrToFieldDataType(std::string_view field_type) {
  const std::string code = Upper(field_type);
  if (code == "I" || code == "S") return FieldDataType::kInteger;
  if (code == "V" || code == "B" || code == "C") return FieldDataType::kText;
  if (code == "F" || code == "DP" || code == "N" || code == "DE") return FieldDataType::kFloat;
  if (code == "D") return FieldDataType::kDate;
  if (code == "T") return FieldDataType::kTime;
  if (code == "DT" || code == "TS") return FieldDataType::kDateTime;
  if (code == "L" || code == "BOOL") return FieldDataType::kBoolean;
  return FieldDataType::kNull;
}

}  // namespace quorvane::database
