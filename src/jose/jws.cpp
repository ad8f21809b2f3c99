#include "jose/jws.h"

#include "jose/base64.h"
#include "jose/exceptions.h"
#include "jose/signing.h"

namespace quorvane::jose {

JWS::JWS(JWT& token) : JOSEParts(token) { parts_.resize(kJWSCompactParts); }

void JWS::SetKeyFromCert(const JOSEBytes& certificate) {
  key_ = SigningBase::PublicKeyFromCertificate(certificate);
}

JOSEBytes JWS::GetSigningInput() const {
  std::string input;
  input.reserve(Header().Size() + 1 + Payload().Size());
  input += Header().View();
  input += '.';
  input += Payload().View();
  return JOSEBytes(std::move(input));
}

JOSEBytes JWS::GetCompactToken() const { return JoinCompactSerialization(parts_); }

void JWS::SetCompactToken(const JOSEBytes& value) {
  const std::vector<std::string_view> segments = SplitCompactSerialization(value.View());
  if (segments.size() != kJWSCompactParts) {
    throw JOSEException("A JWS Compact Serialization must have " +
                        std::to_string(kJWSCompactParts) + " parts");
  }
  parts_.assign(segments.begin(), segments.end());
  Token().Header().SetURLEncoded(parts_[0]);
  Token().Claims().SetURLEncoded(parts_[1]);
}

std::shared_ptr<const JOSESigningAlgorithm> JWS::FindSigningAlgorithm() const {
  const std::string alg = HeaderAlgorithm();
  if (alg.empty()) throw JOSEException("Signature algorithm header (alg) not set.");
  auto algorithm =
      JOSEAlgorithmRegistryFactory::GetInstance().SigningAlgorithmRegistry().GetAlgorithm(alg);
  if (!algorithm) throw JOSEException("Signing algorithm (" + alg + ") is not supported.");
  return algorithm;
}

JOSEBytes JWS::Sign() {
  const auto algorithm = FindSigningAlgorithm();
  if (!SkipKeyValidation()) algorithm->ValidateSigningKey(key_);
  parts_.resize(kJWSCompactParts);
  parts_[0] = Token().Header().GetURLEncoded();
  parts_[1] = Token().Claims().GetURLEncoded();
  parts_[2] = algorithm->Sign(key_, GetSigningInput());
  return parts_[2];
}

JOSEBytes JWS::Sign(const JWK& key, JOSEAlgorithmId alg) {
  SetKey(key);
  SetHeaderAlgorithm(alg);
  return Sign();
}

bool JWS::VerifySignature() {
  const auto algorithm = FindSigningAlgorithm();
  if (!SkipKeyValidation()) algorithm->ValidateVerificationKey(key_);
  const bool verified = algorithm->VerifySignature(key_, GetSigningInput(), Signature());
  Token().SetVerified(verified);
  return verified;
}

bool JWS::VerifySignature(const JWK& key, const JOSEBytes& compact_token) {
  SetKey(key);
  SetCompactToken(compact_token);
  return VerifySignature();
}

}  // namespace quorvane::jose
