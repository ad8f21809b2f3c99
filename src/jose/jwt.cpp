#include "jose/jwt.h"

#include <array>
#include <limits>

#include "jose/base64.h"
#include "jose/exceptions.h"

namespace quorvane::jose {
namespace {

constexpr std::array<std::string_view, 15> kAlgorithmTexts = {
    "",      "none",   "HS256", "HS384", "HS512", "RS256", "RS384", "RS512",
    "ES256", "ES256K", "ES384", "ES512", "PS256", "PS384", "PS512",
};

// The text of a member: a string's own text; any other value's JSON text.
std::string MemberText(const JsonValue& v) { return v.IsString() ? v.AsString() : v.ToText(); }

// Size of one unit in milliseconds, in JOSETimeUnit order.
constexpr std::array<std::int64_t, 5> kUnitMillis = {86'400'000, 3'600'000, 60'000, 1'000, 1};

}  // namespace

std::string_view JOSEAlgorithmIdHelper::AsString(JOSEAlgorithmId id) {
  const auto i = static_cast<std::size_t>(id);
  return i < kAlgorithmTexts.size() ? kAlgorithmTexts[i] : std::string_view();
}

JOSEAlgorithmId JOSEAlgorithmIdHelper::FromString(std::string_view text) {
  if (text.empty()) return JOSEAlgorithmId::Unknown;
  for (std::size_t i = 1; i < kAlgorithmTexts.size(); ++i) {
    if (kAlgorithmTexts[i] == text) return static_cast<JOSEAlgorithmId>(i);
  }
  return JOSEAlgorithmId::Unknown;
}

std::int32_t JOSETimeUnitHelper::Convert(JOSETimeUnit unit, std::int32_t value,
                                         JOSETimeUnit target) {
  const std::int64_t from = kUnitMillis[static_cast<std::size_t>(unit)];
  const std::int64_t to = kUnitMillis[static_cast<std::size_t>(target)];
  // The ratios are exact, so converting through 64 bits cannot overflow
  // (2^31 days in milliseconds is below 2^63); only the clamp is needed.
  const std::int64_t result = from >= to ? value * (from / to) : value / (to / from);
  if (result > std::numeric_limits<std::int32_t>::max()) {
    return std::numeric_limits<std::int32_t>::max();
  }
  if (result < std::numeric_limits<std::int32_t>::min()) {
    return std::numeric_limits<std::int32_t>::min();
  }
  return static_cast<std::int32_t>(result);
}

std::string JWTHeader::TextOf(std::string_view name) const {
  const JsonValue* v = JSON().Find(name);
  return v == nullptr ? std::string() : MemberText(*v);
}

void JWTHeader::SetText(std::string_view name, std::string_view value) {
  JSONUtils::SetJSONValue(name, JsonValue::String(std::string(value)), JSON());
}

std::string JWTClaims::TextOf(std::string_view name) const {
  const JsonValue* v = JSON().Find(name);
  return v == nullptr ? std::string() : MemberText(*v);
}

void JWTClaims::SetText(std::string_view name, std::string_view value) {
  if (value.empty()) {
    JSONUtils::RemoveJSONNode(name, JSON());
  } else {
    JSONUtils::SetJSONValue(name, JsonValue::String(std::string(value)), JSON());
  }
}

void JWTClaims::SetDate(std::string_view name, const JOSENumericDate& value) {
  if (value.IsNull()) {
    JSONUtils::RemoveJSONNode(name, JSON());
  } else {
    JSONUtils::SetJSONValue(name, JsonValue::Integer(value.AsSeconds()), JSON());
  }
}

std::string JWTClaims::Audience() const {
  const JsonValue* v = JSON().Find("aud");
  if (v == nullptr) return std::string();
  if (!v->IsArray()) return MemberText(*v);
  std::string out;
  for (const JsonValue& element : v->AsArray()) {
    out += MemberText(element);
    out += ',';
  }
  while (!out.empty() && out.back() == ',') out.pop_back();
  return out;
}

void JWTClaims::SetAudience(std::string_view value) {
  if (value.empty()) {
    JSONUtils::RemoveJSONNode("aud", JSON());
    return;
  }
  if (value.find(',') == std::string_view::npos) {
    JSONUtils::SetJSONValue("aud", JsonValue::String(std::string(value)), JSON());
    return;
  }
  JsonValue array = JsonValue::MakeArray();
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = value.find(',', start);
    array.Push(JsonValue::String(std::string(value.substr(start, comma - start))));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  JSONUtils::SetJSONValue("aud", std::move(array), JSON());
}

JOSEStringArray JWTClaims::AudienceArray() const {
  JOSEStringArray result;
  const std::string text = Audience();
  if (text.empty()) return result;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    result.Push(text.substr(start, comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return result;
}

void JWTClaims::SetAsJSON(std::string_view claims) {
  std::optional<JsonValue> parsed = lib::ParseJson(claims);
  if (!parsed) throw JOSEException("Claims are no valid JSON");
  SetAsJSON(std::move(*parsed));
}

void JWTClaims::SetAsJSON(JsonValue claims) {
  if (!claims.IsObject()) throw InvalidCastException("Invalid class typecast");
  ReplaceJSON(std::move(claims));
}

std::string JWTClaims::GenerateJWTId(std::size_t number_of_bytes) {
  return Base64::URLEncode(JOSEBytes::RandomBytes(number_of_bytes)).ToString();
}

JWT::JWT(JWTClaimsClass claims_class)
    : claims_(claims_class != nullptr ? claims_class() : JWTClaims::Create()) {
  header_.SetHeaderType("JWT");
}

void JWT::Clear() {
  header_.Clear();
  claims_->Clear();
  verified_ = false;
}

}  // namespace quorvane::jose
