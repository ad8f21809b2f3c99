#pragma once

#include <memory>

#include "jose/bytes.h"
#include "jose/exceptions.h"
#include "jose/jws.h"
#include "jose/jwt.h"

namespace quorvane::jose {

// A compact token as received, parsed: it owns the JWT (header and claims)
// and the JWS that refers to it. Nothing taken from it outlives it unless
// copied.
class JOSEContext {
 public:
  // Reads `compact_token` (UTF-8 text). Three segments make a JWS; five fail
  // with JOSEException "Compact Serialization appears to be a JWE Token wich
  // is not (yet) supported"; any other count with "Malformed Compact
  // Serialization". The JWS reader's failures propagate. On failure nothing
  // is left allocated.
  JOSEContext(const JOSEBytes& compact_token, JWTClaimsClass claims_class = &JWTClaims::Create);
  JOSEContext(const JOSEContext&) = delete;
  JOSEContext& operator=(const JOSEContext&) = delete;

  const JOSEBytes& CompactToken() const { return compact_token_; }
  JOSEParts& GetJOSEObject() { return *jose_object_; }
  const JOSEParts& GetJOSEObject() const { return *jose_object_; }
  // The JOSE object as `T`; InvalidCastException when it is another kind.
  template <class T>
  T& GetJOSEObject() {
    if (auto* object = dynamic_cast<T*>(jose_object_.get())) return *object;
    throw InvalidCastException("Invalid class typecast");
  }
  JWTHeader& GetHeader() { return jwt_->Header(); }
  const JWTHeader& GetHeader() const { return jwt_->Header(); }
  JWTClaims& GetClaims() { return jwt_->Claims(); }
  const JWTClaims& GetClaims() const { return jwt_->Claims(); }
  // The claims as the class given at creation; InvalidCastException when
  // they are of another kind.
  template <class T>
  T& GetClaims() {
    if (auto* claims = dynamic_cast<T*>(&jwt_->Claims())) return *claims;
    throw InvalidCastException("Invalid class typecast");
  }
  JWT& GetJWT() { return *jwt_; }

 private:
  JOSEBytes compact_token_;
  JWTClaimsClass claims_class_;
  std::unique_ptr<JWT> jwt_;                // declared first: destroyed last
  std::unique_ptr<JOSEParts> jose_object_;  // refers to *jwt_
};

}  // namespace quorvane::jose
