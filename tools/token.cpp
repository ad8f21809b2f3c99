#include "tools/token.h"

#include "jose/bytes.h"
#include "jose/jws.h"
#include "jose/jwt.h"
#include "jose/numeric_date.h"

namespace quorvane::tools {

std::string MintToken(std::string_view key, const TokenClaims& claims) {
  jose::JWT token;
  token.Header().SetHeaderType("JWT");
  token.Claims().SetSubject(claims.subject);
  const auto now = std::chrono::system_clock::now();
  token.Claims().SetIssuedAt(jose::JOSENumericDate::Create(now));
  if (claims.lifetime) {
    token.Claims().SetExpiration(jose::JOSENumericDate::Create(now + *claims.lifetime));
  }
  jose::JWS jws(token);
  // The shared key is shorter than the 256 bits RFC 7518 asks for HS256; the
  // server verifies with it regardless, so signing must not refuse it.
  jws.SetSkipKeyValidation(true);
  jws.Sign(jose::JWK::Create(jose::JOSEBytes(key)), jose::JOSEAlgorithmId::HS256);
  return jws.GetCompactToken().ToString();
}

}  // namespace quorvane::tools
