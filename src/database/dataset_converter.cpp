#include "database/dataset_converter.h"

#include <cctype>
#include <charconv>
#include <cstdint>

#include "database/errors.h"

namespace quorvane::database {
namespace {

constexpr std::size_t kMimeLineLength = 76;

std::string LowerTrim(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

[[noreturn]] void BadValue(const Column& column, std::string_view text) {
  throw ConversionError("Invalid value \"" + std::string(text) + "\" for field \"" + column.name +
                        "\"");
}

bool IsIntegerText(std::string_view text) {
  if (!text.empty() && text.front() == '-') text.remove_prefix(1);
  if (text.empty()) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

lib::JsonValue IntegerFromText(const Column& column, std::string_view text) {
  std::int64_t signed_value = 0;
  const char* end = text.data() + text.size();
  if (auto [ptr, ec] = std::from_chars(text.data(), end, signed_value);
      ec == std::errc() && ptr == end) {
    return lib::JsonValue::Integer(signed_value);
  }
  std::uint64_t unsigned_value = 0;
  if (auto [ptr, ec] = std::from_chars(text.data(), end, unsigned_value);
      ec == std::errc() && ptr == end) {
    return lib::JsonValue::Unsigned(unsigned_value);
  }
  BadValue(column, text);
}

double DoubleFromText(const Column& column, std::string_view text) {
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) BadValue(column, text);
  return value;
}

bool BooleanFromText(std::string_view text) {
  // BIT(1) arrives as one raw byte, TINYINT(1) as decimal text.
  if (text.size() == 1 && static_cast<unsigned char>(text[0]) <= 1) return text[0] == 1;
  std::int64_t value = 0;
  const char* end = text.data() + text.size();
  if (auto [ptr, ec] = std::from_chars(text.data(), end, value); ec == std::errc() && ptr == end) {
    return value != 0;
  }
  return LowerTrim(text) == "true";
}

std::string_view WithoutFraction(std::string_view text) {
  const std::size_t dot = text.find('.');
  return dot == std::string_view::npos ? text : text.substr(0, dot);
}

std::optional<lib::JsonValue> RowObject(const ResultSet& result, std::size_t row_index);

std::optional<lib::JsonValue> AllRows(const ResultSet& result) {
  if (result.empty()) return std::nullopt;
  lib::JsonValue array = lib::JsonValue::MakeArray();
  for (std::size_t i = 0; i < result.size(); ++i) array.Push(*RowObject(result, i));
  return array;
}

std::optional<lib::JsonValue> RowObject(const ResultSet& result, std::size_t row_index) {
  if (result.empty() || row_index >= result.size()) return std::nullopt;
  const Row& row = result.rows()[row_index];
  lib::JsonValue object = lib::JsonValue::MakeObject();
  for (std::size_t i = 0; i < result.columns().size(); ++i) {
    const Column& column = result.columns()[i];
    if (!column.visible) continue;
    static const FieldValue kNull;
    const FieldValue& value = i < row.size() ? row[i] : kNull;
    if (column.kind == FieldKind::kDataSet) {
      const std::string origin = LowerTrim(column.origin);
      if (origin != "jsonobject" && origin != "jsonarray") continue;
      std::optional<lib::JsonValue> nested;
      if (value.nested) {
        nested = origin == "jsonobject" ? RowObject(*value.nested, 0) : AllRows(*value.nested);
      }
      object.Add(column.name, nested ? std::move(*nested) : lib::JsonValue::Null());
      continue;
    }
    object.Add(column.name, RenderField(column, value));
  }
  return object;
}

}  // namespace

std::string EncodeBase64Mime(std::string_view bytes) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string flat;
  flat.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const auto n = (static_cast<unsigned>(static_cast<unsigned char>(bytes[i])) << 16) |
                   (static_cast<unsigned>(static_cast<unsigned char>(bytes[i + 1])) << 8) |
                   static_cast<unsigned>(static_cast<unsigned char>(bytes[i + 2]));
    flat += kAlphabet[(n >> 18) & 63];
    flat += kAlphabet[(n >> 12) & 63];
    flat += kAlphabet[(n >> 6) & 63];
    flat += kAlphabet[n & 63];
  }
  if (const std::size_t rest = bytes.size() - i; rest > 0) {
    unsigned n = static_cast<unsigned>(static_cast<unsigned char>(bytes[i])) << 16;
    if (rest == 2) n |= static_cast<unsigned>(static_cast<unsigned char>(bytes[i + 1])) << 8;
    flat += kAlphabet[(n >> 18) & 63];
    flat += kAlphabet[(n >> 12) & 63];
    flat += rest == 2 ? kAlphabet[(n >> 6) & 63] : '=';
    flat += '=';
  }
  std::string out;
  out.reserve(flat.size() + flat.size() / kMimeLineLength * 2);
  for (std::size_t pos = 0; pos < flat.size(); pos += kMimeLineLength) {
    if (pos > 0) out += "\r\n";
    out.append(flat, pos, kMimeLineLength);
  }
  return out;
}

std::string FormatCurrency(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const std::size_t dot = text.find('.');
  std::string whole(text.substr(0, dot));
  std::string fraction(dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1));
  if (whole.empty()) whole.assign(1, '0');
  // Round half away from zero at the fourth decimal.
  const bool round_up = fraction.size() > 4 && fraction[4] >= '5';
  fraction.resize(4, '0');
  if (round_up) {
    std::string digits = whole + fraction;
    int i = static_cast<int>(digits.size()) - 1;
    for (; i >= 0; --i) {
      if (digits[static_cast<std::size_t>(i)] == '9') {
        digits[static_cast<std::size_t>(i)] = '0';
      } else {
        ++digits[static_cast<std::size_t>(i)];
        break;
      }
    }
    if (i < 0) digits.insert(digits.begin(), '1');
    whole = digits.substr(0, digits.size() - 4);
    fraction = digits.substr(digits.size() - 4);
  }
  while (whole.size() > 1 && whole.front() == '0') whole.erase(0, 1);
  while (fraction.size() > 2 && fraction.back() == '0') fraction.pop_back();
  const bool zero = whole == "0" && fraction.find_first_not_of('0') == std::string::npos;
  return (negative && !zero ? "-" : "") + whole + "." + fraction;
}

lib::JsonValue RenderField(const Column& column, const FieldValue& value) {
  const std::optional<std::string>& text = value.text;
  switch (column.kind) {
    case FieldKind::kText:
      return text ? lib::JsonValue::String(*text) : lib::JsonValue::Null();
    case FieldKind::kInteger:
      return text ? IntegerFromText(column, *text) : lib::JsonValue::Null();
    case FieldKind::kAutoInc:
    case FieldKind::kLongWord:
      if (!text) return lib::JsonValue::Null();
      if (!IsIntegerText(*text)) BadValue(column, *text);
      return lib::JsonValue::Number(*text);
    case FieldKind::kLargeInt:
      return text ? IntegerFromText(column, *text) : lib::JsonValue::Integer(0);
    case FieldKind::kBoolean: {
      const bool b = text && BooleanFromText(*text);
      if (LowerTrim(column.origin) == "integer") return lib::JsonValue::Integer(b ? 1 : 0);
      return lib::JsonValue::Boolean(b);
    }
    case FieldKind::kFloat:
      return lib::JsonValue::Double(text ? DoubleFromText(column, *text) : 0.0);
    case FieldKind::kCurrency:
      return text ? lib::JsonValue::String(FormatCurrency(*text)) : lib::JsonValue::Null();
    case FieldKind::kBCD:
      return text ? lib::JsonValue::Double(DoubleFromText(column, *text)) : lib::JsonValue::Null();
    case FieldKind::kDate:
      return text ? lib::JsonValue::String(*text) : lib::JsonValue::Null();
    case FieldKind::kTime:
    case FieldKind::kDateTime:
      return text ? lib::JsonValue::String(std::string(WithoutFraction(*text)))
                  : lib::JsonValue::Null();
    case FieldKind::kBlob:
      return lib::JsonValue::String(text ? EncodeBase64Mime(*text) : std::string());
    case FieldKind::kDataSet:
    case FieldKind::kBytes:
    case FieldKind::kUnknown:
      break;
  }
  throw ConversionError("Cannot find type for field \"" + column.name + "\"");
}

DataSetConverter& DataSetConverter::DataSet(const ResultSet& result, std::size_t current_row) {
  result_ = &result;
  current_row_ = current_row;
  return *this;
}

void DataSetConverter::RequireDataSet() const {
  if (!result_) throw ConversionError("DataSet Uninformed.");
}

std::optional<lib::JsonValue> DataSetConverter::AsJSONArray() const {
  RequireDataSet();
  return AllRows(*result_);
}

std::optional<lib::JsonValue> DataSetConverter::AsJSONObject() const {
  RequireDataSet();
  return RowObject(*result_, current_row_);
}

}  // namespace quorvane::database
