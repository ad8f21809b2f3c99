#include "lib/json.h"

#include <rapidjson/encodings.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

#include <cassert>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace quorvane::lib {

// --- construction and access -------------------------------------------------

JsonValue JsonValue::Boolean(bool value) { return JsonValue(Storage(value)); }
JsonValue JsonValue::Integer(std::int64_t value) { return Number(std::to_string(value)); }
JsonValue JsonValue::Unsigned(std::uint64_t value) { return Number(std::to_string(value)); }
JsonValue JsonValue::Double(double value) { return Number(FormatJsonDouble(value)); }
JsonValue JsonValue::Number(std::string text) {
  return JsonValue(Storage(NumberText{std::move(text)}));
}
JsonValue JsonValue::String(std::string value) {
  return JsonValue(Storage(std::in_place_type<std::string>, std::move(value)));
}
JsonValue JsonValue::MakeArray() { return JsonValue(Storage(std::in_place_type<Array>)); }
JsonValue JsonValue::MakeObject() { return JsonValue(Storage(std::in_place_type<Object>)); }

JsonValue::Kind JsonValue::kind() const {
  switch (storage_.index()) {
    case 0:
      return Kind::kNull;
    case 1:
      return Kind::kBoolean;
    case 2:
      return Kind::kNumber;
    case 3:
      return Kind::kString;
    case 4:
      return Kind::kArray;
    default:
      return Kind::kObject;
  }
}

bool JsonValue::AsBoolean() const { return std::get<bool>(storage_); }
const std::string& JsonValue::AsNumberText() const { return std::get<NumberText>(storage_).text; }
const std::string& JsonValue::AsString() const { return std::get<std::string>(storage_); }
const JsonValue::Array& JsonValue::AsArray() const { return std::get<Array>(storage_); }
JsonValue::Array& JsonValue::AsArray() { return std::get<Array>(storage_); }
const JsonValue::Object& JsonValue::AsObject() const { return std::get<Object>(storage_); }
JsonValue::Object& JsonValue::AsObject() { return std::get<Object>(storage_); }

std::string JsonValue::ToText() const {
  switch (kind()) {
    case Kind::kNull:
      return "null";
    case Kind::kBoolean:
      return AsBoolean() ? "true" : "false";
    case Kind::kNumber:
      return AsNumberText();
    case Kind::kString:
      return AsString();
    case Kind::kArray:
    case Kind::kObject:
      return ToJson(*this);
  }
  return {};
}

JsonValue& JsonValue::Add(std::string name, JsonValue value) {
  AsObject().push_back(JsonMember{std::move(name), std::move(value)});
  return *this;
}

const JsonValue* JsonValue::Find(std::string_view name) const {
  for (const JsonMember& m : AsObject()) {
    if (m.name == name) return &m.value;
  }
  return nullptr;
}

JsonValue* JsonValue::Find(std::string_view name) {
  return const_cast<JsonValue*>(std::as_const(*this).Find(name));
}

JsonValue& JsonValue::Push(JsonValue value) {
  AsArray().push_back(std::move(value));
  return *this;
}

std::size_t JsonValue::size() const {
  if (IsArray()) return AsArray().size();
  if (IsObject()) return AsObject().size();
  return 0;
}

bool operator==(const JsonValue& a, const JsonValue& b) { return a.storage_ == b.storage_; }

// --- parsing ------------------------------------------------------------------

namespace {

// SAX handler that builds a JsonValue. Containers under construction live on
// an explicit stack, so parsing never recurses (RapidJSON runs iteratively).
class Builder : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, Builder> {
 public:
  bool Null() { return Put(JsonValue::Null()); }
  bool Bool(bool b) { return Put(JsonValue::Boolean(b)); }
  bool RawNumber(const char* str, rapidjson::SizeType len, bool) {
    return Put(JsonValue::Number(std::string(str, len)));
  }
  bool String(const char* str, rapidjson::SizeType len, bool) {
    if (HasSurrogate(str, len)) return false;
    return Put(JsonValue::String(std::string(str, len)));
  }
  bool Key(const char* str, rapidjson::SizeType len, bool) {
    if (HasSurrogate(str, len)) return false;
    keys_.emplace_back(str, len);
    return true;
  }
  bool StartObject() { return Open(JsonValue::MakeObject()); }
  bool EndObject(rapidjson::SizeType) { return Close(); }
  bool StartArray() { return Open(JsonValue::MakeArray()); }
  bool EndArray(rapidjson::SizeType) { return Close(); }

  std::optional<JsonValue> Take() { return std::move(root_); }

 private:
  // RapidJSON refuses a lone high surrogate escape ("\ud800") but decodes a
  // lone low one ("\udc00") into bytes that are not UTF-8 (ED B0 80). Such a
  // string could neither be stored nor written back as it came, so it is
  // refused the same way: a surrogate's three-byte form is ED A0..BF xx.
  static bool HasSurrogate(const char* str, std::size_t len) {
    for (std::size_t i = 0; i + 1 < len; ++i) {
      if (static_cast<unsigned char>(str[i]) == 0xED &&
          static_cast<unsigned char>(str[i + 1]) >= 0xA0) {
        return true;
      }
    }
    return false;
  }

  bool Open(JsonValue container) {
    if (static_cast<int>(stack_.size()) >= kMaxJsonDepth) return false;
    stack_.push_back(std::move(container));
    return true;
  }
  bool Close() {
    JsonValue done = std::move(stack_.back());
    stack_.pop_back();
    return Put(std::move(done));
  }
  bool Put(JsonValue v) {
    if (stack_.empty()) {
      root_ = std::move(v);
      return true;
    }
    JsonValue& top = stack_.back();
    if (top.IsObject()) {
      top.Add(std::move(keys_.back()), std::move(v));
      keys_.pop_back();
    } else {
      top.Push(std::move(v));
    }
    return true;
  }

  std::vector<JsonValue> stack_;
  std::vector<std::string> keys_;
  std::optional<JsonValue> root_;
};

}  // namespace

std::optional<JsonValue> ParseJson(std::string_view text) {
  constexpr unsigned kFlags = rapidjson::kParseNumbersAsStringsFlag |
                              rapidjson::kParseValidateEncodingFlag |
                              rapidjson::kParseIterativeFlag;
  rapidjson::MemoryStream stream(text.data(), text.size());
  rapidjson::Reader reader;
  Builder builder;
  if (reader.Parse<kFlags>(stream, builder).IsError()) return std::nullopt;
  return builder.Take();
}

// --- serialisation -----------------------------------------------------------

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

// Decodes one UTF-8 sequence at `s[i]`; advances `i`. Invalid or overlong
// sequences and surrogates yield U+FFFD and consume one byte.
char32_t NextCodePoint(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  int len = 0;
  char32_t cp = 0;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2;
    cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3;
    cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4;
    cp = b0 & 0x07;
  } else {
    ++i;
    return 0xFFFD;
  }
  if (i + len > s.size()) {
    ++i;
    return 0xFFFD;
  }
  for (int k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return 0xFFFD;
  }
  i += len;
  return cp;
}

void AppendU16Escape(std::string& out, unsigned unit) {
  out += "\\u";
  out += kHex[(unit >> 12) & 0xF];
  out += kHex[(unit >> 8) & 0xF];
  out += kHex[(unit >> 4) & 0xF];
  out += kHex[unit & 0xF];
}

template <bool kPlain>
void AppendString(std::string& out, std::string_view s) {
  out += '"';
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c >= 32 && c < 128) {
      ++i;
      switch (c) {
        case '"':
          out += "\\\"";
          break;
        case '\\':
          out += "\\\\";
          break;
        case '/':
          out += "\\/";
          break;
        default:
          out += static_cast<char>(c);
      }
      continue;
    }
    const char32_t cp = NextCodePoint(s, i);
    switch (cp) {
      case '\b':
        out += "\\b";
        continue;
      case '\t':
        out += "\\t";
        continue;
      case '\n':
        out += "\\n";
        continue;
      case '\f':
        out += "\\f";
        continue;
      case '\r':
        out += "\\r";
        continue;
      default:
        break;
    }
    if constexpr (kPlain) {
      if (cp < 32) {
        out += static_cast<char>(cp);
      } else {
        out += cp >= 0x10000 ? "??" : "?";
      }
    } else if (cp >= 0x10000) {
      const char32_t v = cp - 0x10000;
      AppendU16Escape(out, 0xD800 + (v >> 10));
      AppendU16Escape(out, 0xDC00 + (v & 0x3FF));
    } else {
      AppendU16Escape(out, cp);
    }
  }
  out += '"';
}

template <bool kPlain>
void Append(std::string& out, const JsonValue& v) {
  switch (v.kind()) {
    case JsonValue::Kind::kNull:
      out += "null";
      return;
    case JsonValue::Kind::kBoolean:
      out += v.AsBoolean() ? "true" : "false";
      return;
    case JsonValue::Kind::kNumber:
      out += v.AsNumberText();
      return;
    case JsonValue::Kind::kString:
      AppendString<kPlain>(out, v.AsString());
      return;
    case JsonValue::Kind::kArray: {
      out += '[';
      bool first = true;
      for (const JsonValue& e : v.AsArray()) {
        if (!first) out += ',';
        first = false;
        Append<kPlain>(out, e);
      }
      out += ']';
      return;
    }
    case JsonValue::Kind::kObject: {
      out += '{';
      bool first = true;
      for (const JsonMember& m : v.AsObject()) {
        if (!first) out += ',';
        first = false;
        AppendString<kPlain>(out, m.name);
        out += ':';
        Append<kPlain>(out, m.value);
      }
      out += '}';
      return;
    }
  }
}

}  // namespace

void AppendJson(std::string& out, const JsonValue& value) { Append<false>(out, value); }

std::string ToJson(const JsonValue& value) {
  std::string out;
  Append<false>(out, value);
  return out;
}

std::string ToPlainAsciiJson(const JsonValue& value) {
  std::string out;
  Append<true>(out, value);
  return out;
}

std::string ReduceToAscii(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const char32_t cp = NextCodePoint(utf8, i);
    if (cp < 128) {
      out += static_cast<char>(cp);
    } else {
      out += cp >= 0x10000 ? "??" : "?";
    }
  }
  return out;
}

std::string FormatJsonDouble(double value) {
  if (!std::isfinite(value) || value == 0.0) return "0";
  // 15 significant digits: d.dddddddddddddde[+-]xx
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.14e", value);
  std::string_view text(buf);
  const bool negative = text.front() == '-';
  if (negative) text.remove_prefix(1);
  const std::size_t e_pos = text.find('e');
  std::string digits;
  digits += text[0];
  digits.append(text.substr(2, e_pos - 2));
  int exponent = std::atoi(std::string(text.substr(e_pos + 1)).c_str());
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = negative ? "-" : "";
  if (exponent >= -4 && exponent < 15) {
    if (exponent < 0) {
      out += "0.";
      out.append(static_cast<std::size_t>(-exponent - 1), '0');
      out += digits;
    } else if (static_cast<std::size_t>(exponent) + 1 >= digits.size()) {
      out += digits;
      out.append(static_cast<std::size_t>(exponent) + 1 - digits.size(), '0');
    } else {
      out += digits.substr(0, static_cast<std::size_t>(exponent) + 1);
      out += '.';
      out += digits.substr(static_cast<std::size_t>(exponent) + 1);
    }
  } else {
    out += digits[0];
    if (digits.size() > 1) {
      out += '.';
      out += digits.substr(1);
    }
    out += 'E';
    out += std::to_string(exponent);
  }
  return out;
}

}  // namespace quorvane::lib
