#pragma once

#include <chrono>
#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "jose/bytes.h"
#include "jose/numeric_date.h"
#include "lib/json.h"

namespace quorvane::jose {

using lib::JsonValue;

// A member read without a fixed type: empty (absent), a Boolean, a number
// as double, or text (a string's unescaped text, any other value's JSON).
using JSONLooseValue = std::variant<std::monostate, bool, double, std::string>;

// Accessors over one JSON object. Member names match exactly; where several
// members share a name, the first one counts. Every function requires `json`
// to be an object.
class JSONUtils {
 public:
  // True when the member exists, whatever its value (null included).
  static bool CheckPair(std::string_view name, const JsonValue& json);
  static JSONLooseValue GetJSONValue(std::string_view name, const JsonValue& json);
  // Absent gives nullopt; a number written as an integer literal that fits
  // gives its value; another number fails with a conversion error; any
  // other value fails with "JSON Incompatible type. Expected Integer"
  // (respectively "... Int64"). All failures are JSONConversionException.
  static std::optional<std::int32_t> GetJSONValueInt(std::string_view name, const JsonValue& json);
  static std::optional<std::int64_t> GetJSONValueInt64(std::string_view name,
                                                       const JsonValue& json);
  static std::optional<double> GetJSONValueDouble(std::string_view name, const JsonValue& json);
  // Reads through GetJSONValueInt64: absent or 0 is the null date, n is the
  // instant n seconds after the Unix epoch.
  static JOSENumericDate GetJSONValueAsEpoch(std::string_view name, const JsonValue& json);
  // Reads the member's text as ISO 8601; empty text is the null date, text
  // that is no date fails with JSONConversionException.
  static JOSENumericDate GetJSONValueAsDate(std::string_view name, const JsonValue& json);
  // Replaces the first member of that name, or appends one.
  static void SetJSONValue(std::string_view name, JsonValue value, JsonValue& json);
  // Stores a typed value: dates as integer Unix seconds, floating-point as a
  // number, integers as integers, text as a string, Booleans as true/false.
  // Any other type stores nothing.
  template <class T>
  static void SetJSONValueFrom(std::string_view name, const T& value, JsonValue& json);
  static void RemoveJSONNode(std::string_view name, JsonValue& json);
  static std::string ToJSON(const JsonValue& value) { return lib::ToJson(value); }
};

// Base of every JSON-backed JOSE object (header, claims, key): it owns one
// JSON object, created empty.
class JOSEBase {
 public:
  JOSEBase() = default;
  virtual ~JOSEBase() = default;
  JOSEBase(const JOSEBase&) = default;
  JOSEBase& operator=(const JOSEBase&) = default;

  const JsonValue& JSON() const { return json_; }
  JsonValue& JSON() { return json_; }

  void Clear() { json_ = JsonValue::MakeObject(); }
  JsonValue Clone() const { return json_; }

  // Base64 (respectively base64url) of the object's compact JSON text.
  JOSEBytes GetEncoded() const;
  JOSEBytes GetURLEncoded() const;
  // Decodes Base64 and adds the members of the object it holds to this one;
  // bytes that are no JSON object change nothing.
  void SetEncoded(const JOSEBytes& value);
  // Decodes base64url and replaces the object with the one it holds. Bytes
  // that are not exactly one JSON value leave the object as it was; a JSON
  // value that is not an object fails with InvalidCastException and leaves
  // it as it was too.
  void SetURLEncoded(const JOSEBytes& value);

 protected:
  // Replaces the JSON; `json` must be an object.
  void ReplaceJSON(JsonValue json) { json_ = std::move(json); }

 private:
  JsonValue json_ = JsonValue::MakeObject();
};

// Parses `bytes` as exactly one JSON value, optionally preceded by white
// space, with nothing after it.
std::optional<JsonValue> ParseSingleJsonValue(std::string_view bytes);

template <class T>
void JSONUtils::SetJSONValueFrom(std::string_view name, const T& value, JsonValue& json) {
  using V = std::remove_cvref_t<T>;
  if constexpr (std::is_same_v<V, JOSENumericDate>) {
    SetJSONValue(name, JsonValue::Integer(value.AsSeconds()), json);
  } else if constexpr (std::is_same_v<V, std::chrono::system_clock::time_point>) {
    SetJSONValue(name, JsonValue::Integer(JOSENumericDate::Create(value).AsSeconds()), json);
  } else if constexpr (std::is_same_v<V, bool>) {
    SetJSONValue(name, JsonValue::Boolean(value), json);
  } else if constexpr (std::is_floating_point_v<V>) {
    SetJSONValue(name, JsonValue::Double(static_cast<double>(value)), json);
  } else if constexpr (std::is_same_v<V, char>) {
    SetJSONValue(name, JsonValue::String(std::string(1, value)), json);
  } else if constexpr (std::is_integral_v<V> && std::is_signed_v<V>) {
    SetJSONValue(name, JsonValue::Integer(value), json);
  } else if constexpr (std::is_integral_v<V>) {
    SetJSONValue(name, JsonValue::Unsigned(value), json);
  } else if constexpr (std::is_convertible_v<const V&, std::string_view>) {
    SetJSONValue(name, JsonValue::String(std::string(std::string_view(value))), json);
  }
}

}  // namespace quorvane::jose
