#include "jose/json_utils.h"

#include <charconv>

#include "jose/base64.h"
#include "jose/exceptions.h"

namespace quorvane::jose {
namespace {

// Parses a JSON number written as an integer literal ("-12", not "1.0" or
// "1e3") into T; anything else fails with a conversion error.
template <class T>
T IntegerFromNumberText(const std::string& text) {
  T value{};
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end) {
    throw JSONConversionException("'" + text + "' is not a valid integer value");
  }
  return value;
}

template <class T>
std::optional<T> ReadInteger(std::string_view name, const JsonValue& json, const char* message) {
  const JsonValue* v = json.Find(name);
  if (v == nullptr) return std::nullopt;
  if (!v->IsNumber()) throw JSONConversionException(message);
  return IntegerFromNumberText<T>(v->AsNumberText());
}

bool IsJsonBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

bool JSONUtils::CheckPair(std::string_view name, const JsonValue& json) {
  return json.Find(name) != nullptr;
}

JSONLooseValue JSONUtils::GetJSONValue(std::string_view name, const JsonValue& json) {
  const JsonValue* v = json.Find(name);
  if (v == nullptr) return std::monostate{};
  if (v->IsBoolean()) return v->AsBoolean();
  if (v->IsNumber()) {
    double d = 0;
    const std::string& t = v->AsNumberText();
    std::from_chars(t.data(), t.data() + t.size(), d);
    return d;
  }
  return v->ToText();
}

std::optional<std::int32_t> JSONUtils::GetJSONValueInt(std::string_view name,
                                                       const JsonValue& json) {
  return ReadInteger<std::int32_t>(name, json, "JSON Incompatible type. Expected Integer");
}

std::optional<std::int64_t> JSONUtils::GetJSONValueInt64(std::string_view name,
                                                         const JsonValue& json) {
  return ReadInteger<std::int64_t>(name, json, "JSON Incompatible type. Expected Int64");
}

std::optional<double> JSONUtils::GetJSONValueDouble(std::string_view name, const JsonValue& json) {
  const JsonValue* v = json.Find(name);
  if (v == nullptr) return std::nullopt;
  if (!v->IsNumber()) throw JSONConversionException("JSON Incompatible type. Expected Double");
  const std::string& t = v->AsNumberText();
  double d = 0;
  const auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), d);
  if (ec != std::errc() || ptr != t.data() + t.size()) {
    throw JSONConversionException("'" + t + "' is not a valid floating point value");
  }
  return d;
}

JOSENumericDate JSONUtils::GetJSONValueAsEpoch(std::string_view name, const JsonValue& json) {
  const std::optional<std::int64_t> seconds = GetJSONValueInt64(name, json);
  if (!seconds || *seconds == 0) return JOSENumericDate();
  return JOSENumericDate::FromSeconds(*seconds);
}

JOSENumericDate JSONUtils::GetJSONValueAsDate(std::string_view name, const JsonValue& json) {
  const JsonValue* v = json.Find(name);
  if (v == nullptr) return JOSENumericDate();
  const std::string text = v->IsString() ? v->AsString() : v->ToText();
  if (text.empty()) return JOSENumericDate();
  JOSENumericDate date;
  if (!ParseISO8601(text, date)) {
    throw JSONConversionException("'" + text + "' is not a valid ISO 8601 date");
  }
  return date;
}

void JSONUtils::SetJSONValue(std::string_view name, JsonValue value, JsonValue& json) {
  if (JsonValue* existing = json.Find(name)) {
    *existing = std::move(value);
  } else {
    json.Add(std::string(name), std::move(value));
  }
}

void JSONUtils::RemoveJSONNode(std::string_view name, JsonValue& json) {
  auto& members = json.AsObject();
  for (auto it = members.begin(); it != members.end(); ++it) {
    if (it->name == name) {
      members.erase(it);
      return;
    }
  }
}

std::optional<JsonValue> ParseSingleJsonValue(std::string_view bytes) {
  // Leading blanks are allowed, trailing ones are not: the value must end
  // the input.
  if (!bytes.empty() && IsJsonBlank(bytes.back())) return std::nullopt;
  return lib::ParseJson(bytes);
}

JOSEBytes JOSEBase::GetEncoded() const { return Base64::Encode(JOSEBytes(lib::ToJson(json_))); }

JOSEBytes JOSEBase::GetURLEncoded() const {
  return Base64::URLEncode(JOSEBytes(lib::ToJson(json_)));
}

void JOSEBase::SetEncoded(const JOSEBytes& value) {
  std::optional<JsonValue> parsed = lib::ParseJson(Base64::Decode(value).View());
  if (!parsed || !parsed->IsObject()) return;
  for (auto& member : parsed->AsObject())
    json_.Add(std::move(member.name), std::move(member.value));
}

void JOSEBase::SetURLEncoded(const JOSEBytes& value) {
  std::optional<JsonValue> parsed = ParseSingleJsonValue(Base64::URLDecode(value).View());
  if (!parsed) return;
  if (!parsed->IsObject()) throw InvalidCastException("Invalid class typecast");
  json_ = std::move(*parsed);
}

}  // namespace quorvane::jose
