#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "jose/arrays.h"
#include "jose/json_utils.h"
#include "jose/numeric_date.h"

namespace quorvane::jose {

// The JWS algorithms, with the value each has in an algorithm set.
enum class JOSEAlgorithmId : std::uint8_t {
  Unknown = 0,
  None = 1,
  HS256 = 2,
  HS384 = 3,
  HS512 = 4,
  RS256 = 5,
  RS384 = 6,
  RS512 = 7,
  ES256 = 8,
  ES256K = 9,
  ES384 = 10,
  ES512 = 11,
  PS256 = 12,
  PS384 = 13,
  PS512 = 14,
};

struct JOSEAlgorithmIdHelper {
  // The "alg" text: "none", "HS256", ...; Unknown is the empty text.
  static std::string_view AsString(JOSEAlgorithmId id);
  // The identifier whose text equals `text` exactly (case-sensitive); any
  // other text, the empty one included, is Unknown.
  static JOSEAlgorithmId FromString(std::string_view text);
};

// A set of algorithm identifiers in 16 bits (bit n for value n).
class JOSEAlgorithms {
 public:
  constexpr JOSEAlgorithms() = default;
  constexpr JOSEAlgorithms(std::initializer_list<JOSEAlgorithmId> ids) {
    for (const JOSEAlgorithmId id : ids) Include(id);
  }
  static constexpr JOSEAlgorithms FromBits(std::uint16_t bits) {
    JOSEAlgorithms set;
    set.bits_ = bits;
    return set;
  }
  constexpr bool Contains(JOSEAlgorithmId id) const { return (bits_ & Bit(id)) != 0; }
  constexpr JOSEAlgorithms& Include(JOSEAlgorithmId id) {
    bits_ = static_cast<std::uint16_t>(bits_ | Bit(id));
    return *this;
  }
  constexpr JOSEAlgorithms& Exclude(JOSEAlgorithmId id) {
    bits_ = static_cast<std::uint16_t>(bits_ & ~Bit(id));
    return *this;
  }
  constexpr bool IsEmpty() const { return bits_ == 0; }
  constexpr std::uint16_t Bits() const { return bits_; }
  friend constexpr bool operator==(JOSEAlgorithms, JOSEAlgorithms) = default;

 private:
  static constexpr std::uint16_t Bit(JOSEAlgorithmId id) {
    return static_cast<std::uint16_t>(1u << static_cast<unsigned>(id));
  }
  std::uint16_t bits_ = 0;
};

enum class JOSEKeyCategory { None = 0, Symmetric = 1, Asymmetric = 2 };

enum class JOSETimeUnit { Days = 0, Hours = 1, Minutes = 2, Seconds = 3, Milliseconds = 4 };

struct JOSETimeUnitHelper {
  // Converts `value` from `unit` to `target`: exact multiplication towards
  // smaller units, division dropping the remainder towards larger ones.
  // Results beyond the 32-bit range are clamped to it.
  static std::int32_t Convert(JOSETimeUnit unit, std::int32_t value, JOSETimeUnit target);
  static std::int32_t ToSeconds(JOSETimeUnit unit, std::int32_t value) {
    return Convert(unit, value, JOSETimeUnit::Seconds);
  }
  static std::int32_t ToMinutes(JOSETimeUnit unit, std::int32_t value) {
    return Convert(unit, value, JOSETimeUnit::Minutes);
  }
};

// The JOSE header: typed access to "alg", "typ" and "kid"; every other member
// stays in the JSON untouched.
class JWTHeader : public JOSEBase {
 public:
  std::string Algorithm() const { return TextOf("alg"); }
  void SetAlgorithm(std::string_view value) { SetText("alg", value); }
  std::string HeaderType() const { return TextOf("typ"); }
  void SetHeaderType(std::string_view value) { SetText("typ", value); }
  std::string KeyID() const { return TextOf("kid"); }
  void SetKeyID(std::string_view value) { SetText("kid", value); }

 private:
  std::string TextOf(std::string_view name) const;
  void SetText(std::string_view name, std::string_view value);
};

class JWTClaims;
// The kind of claims object to create where the library makes one: a
// factory that returns a new, empty claims object of that kind.
using JWTClaimsClass = std::unique_ptr<JWTClaims> (*)();

// The JWT claims set with typed access to the registered claims (RFC 7519
// section 4.1). Derive from it to give the claims a richer interface; name
// the subclass with ClaimsClassOf<T>().
class JWTClaims : public JOSEBase {
 public:
  static std::unique_ptr<JWTClaims> Create() { return std::make_unique<JWTClaims>(); }

  // Text claims: absent reads as empty; writing the empty text removes them.
  std::string Issuer() const { return TextOf("iss"); }
  void SetIssuer(std::string_view value) { SetText("iss", value); }
  bool HasIssuer() const { return JSONUtils::CheckPair("iss", JSON()); }
  std::string Subject() const { return TextOf("sub"); }
  void SetSubject(std::string_view value) { SetText("sub", value); }
  bool HasSubject() const { return JSONUtils::CheckPair("sub", JSON()); }
  std::string JWTId() const { return TextOf("jti"); }
  void SetJWTId(std::string_view value) { SetText("jti", value); }
  bool HasJWTId() const { return JSONUtils::CheckPair("jti", JSON()); }

  // "aud" as one text: an array reads as its elements joined with ",".
  // Writing text with a "," stores an array of the pieces, text without one
  // a string, the empty text removes the claim.
  std::string Audience() const;
  void SetAudience(std::string_view value);
  JOSEStringArray AudienceArray() const;
  void SetAudienceArray(const JOSEStringArray& value) { SetAudience(value.ToString()); }
  bool HasAudience() const { return JSONUtils::CheckPair("aud", JSON()); }

  // Date claims as Unix seconds. Reading a member that is no integer fails
  // with JSONConversionException; writing the null date removes it.
  JOSENumericDate Expiration() const { return JSONUtils::GetJSONValueAsEpoch("exp", JSON()); }
  void SetExpiration(const JOSENumericDate& value) { SetDate("exp", value); }
  bool HasExpiration() const { return JSONUtils::CheckPair("exp", JSON()); }
  JOSENumericDate NotBefore() const { return JSONUtils::GetJSONValueAsEpoch("nbf", JSON()); }
  void SetNotBefore(const JOSENumericDate& value) { SetDate("nbf", value); }
  bool HasNotBefore() const { return JSONUtils::CheckPair("nbf", JSON()); }
  JOSENumericDate IssuedAt() const { return JSONUtils::GetJSONValueAsEpoch("iat", JSON()); }
  void SetIssuedAt(const JOSENumericDate& value) { SetDate("iat", value); }
  bool HasIssuedAt() const { return JSONUtils::CheckPair("iat", JSON()); }

  // Replaces the claims with the object `claims` holds. Text that is JSON
  // but no object fails with InvalidCastException, text that is no JSON
  // with JOSEException; both leave the claims as they were.
  void SetAsJSON(std::string_view claims);
  // Replaces the claims with `claims`, which must be a JSON object
  // (InvalidCastException otherwise).
  void SetAsJSON(JsonValue claims);

  // A random token id of `number_of_bytes` bytes, base64url-encoded. It does
  // not set "jti".
  static std::string GenerateJWTId(std::size_t number_of_bytes = 16);

 private:
  std::string TextOf(std::string_view name) const;
  void SetText(std::string_view name, std::string_view value);
  void SetDate(std::string_view name, const JOSENumericDate& value);
};

template <class T>
requires std::is_base_of_v<JWTClaims, T> JWTClaimsClass ClaimsClassOf() {
  return []() -> std::unique_ptr<JWTClaims> { return std::make_unique<T>(); };
}

// A JWT: header and claims, and whether a signature check succeeded on it.
class JWT {
 public:
  JWT() : JWT(&JWTClaims::Create) {}
  // The header holds "typ": "JWT"; the claims, made by `claims_class`, are
  // empty.
  explicit JWT(JWTClaimsClass claims_class);

  JWTHeader& Header() { return header_; }
  const JWTHeader& Header() const { return header_; }
  JWTClaims& Claims() { return *claims_; }
  const JWTClaims& Claims() const { return *claims_; }
  bool Verified() const { return verified_; }
  void SetVerified(bool verified) { verified_ = verified; }

  // Empties header and claims (the header loses "typ" too); not verified.
  void Clear();

 private:
  JWTHeader header_;
  std::unique_ptr<JWTClaims> claims_;
  bool verified_ = false;
};

// A key holder: a JSON object for the key's parameters and the key bytes.
class JWK : public JOSEBase {
 public:
  JWK() = default;
  explicit JWK(JOSEBytes key) : key_(std::move(key)) {}
  static JWK Create(JOSEBytes key) { return JWK(std::move(key)); }

  const JOSEBytes& Key() const { return key_; }
  void SetKey(JOSEBytes key) { key_ = std::move(key); }

 private:
  JOSEBytes key_;
};

}  // namespace quorvane::jose
