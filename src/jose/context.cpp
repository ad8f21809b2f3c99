#include "jose/context.h"

#include "jose/parts.h"

namespace quorvane::jose {

JOSEContext::JOSEContext(const JOSEBytes& compact_token, JWTClaimsClass claims_class)
    : compact_token_(compact_token),
      claims_class_(claims_class != nullptr ? claims_class : &JWTClaims::Create),
      jwt_(std::make_unique<JWT>(claims_class_)) {
  const std::size_t count = SplitCompactSerialization(compact_token_.View()).size();
  if (count == kJWSCompactParts) {
    auto jws = std::make_unique<JWS>(*jwt_);
    jws->SetCompactToken(compact_token_);  // a failure frees jws and jwt_
    jose_object_ = std::move(jws);
  } else if (count == kJWECompactParts) {
    throw JOSEException(
        "Compact Serialization appears to be a JWE Token wich is not (yet) supported");
  } else {
    throw JOSEException("Malformed Compact Serialization");
  }
}

}  // namespace quorvane::jose
