#pragma once

#include <memory>
#include <vector>

#include "jose/jwa.h"
#include "jose/parts.h"

namespace quorvane::jose {

// A signed token (JWS, RFC 7515) in compact form: segments 0, 1 and 2 are the
// encoded header, payload and signature, kept exactly as received.
class JWS : public JOSEParts {
 public:
  // Three empty segments over `token` (not owned).
  explicit JWS(JWT& token);

  const JOSEBytes& Key() const { return key_; }
  void SetKey(const JOSEBytes& key) { key_ = key; }
  void SetKey(const std::vector<std::uint8_t>& key) { key_ = JOSEBytes(key); }
  void SetKey(const JWK& key) { key_ = key.Key(); }
  // The key becomes the SubjectPublicKeyInfo PEM of the certificate's key.
  void SetKeyFromCert(const JOSEBytes& certificate);

  // Segments; reading one that does not exist (after Clear) throws
  // std::out_of_range.
  const JOSEBytes& Header() const { return parts_.at(0); }
  void SetHeader(const JOSEBytes& value) { parts_.at(0) = value; }
  const JOSEBytes& Payload() const { return parts_.at(1); }
  void SetPayload(const JOSEBytes& value) { parts_.at(1) = value; }
  const JOSEBytes& Signature() const { return parts_.at(2); }
  void SetSignature(const JOSEBytes& value) { parts_.at(2) = value; }
  // Segment 0, ".", segment 1.
  JOSEBytes GetSigningInput() const;

  JOSEBytes GetCompactToken() const override;
  // Reads a compact token: exactly three segments (else JOSEException "A JWS
  // Compact Serialization must have 3 parts"), stored as received; the
  // header's and then the claims' JSON are replaced from segments 0 and 1
  // by SetURLEncoded (bytes that are no JSON leave them as they are; JSON
  // that is no object throws InvalidCastException).
  void SetCompactToken(const JOSEBytes& value) override;

  // Signs the token's header and claims with the key under the header's
  // "alg"; returns the signature segment.
  JOSEBytes Sign();
  JOSEBytes Sign(const JWK& key, JOSEAlgorithmId alg);
  // Verifies segment 2 against the signing input with the key; records the
  // result in the token's Verified flag. JOSEException when "alg" is empty
  // or names no registered algorithm, or (unless skipped) the key is unfit.
  bool VerifySignature();
  bool VerifySignature(const JWK& key, const JOSEBytes& compact_token);

 private:
  std::shared_ptr<const JOSESigningAlgorithm> FindSigningAlgorithm() const;

  JOSEBytes key_;
};

}  // namespace quorvane::jose
