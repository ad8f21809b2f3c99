#pragma once

#include <memory>

#include "jose/jwa.h"
#include "jose/signing.h"

namespace quorvane::jose {

enum class HMACAlgorithm { SHA256, SHA384, SHA512 };

// HMAC (RFC 2104) over OpenSSL.
class HMAC {
 public:
  // The raw MAC of `input` under `key`; the key bytes go in unchanged.
  static JOSEBytes Sign(const JOSEBytes& input, const JOSEBytes& key, HMACAlgorithm algorithm);
};

// HS256, HS384, HS512: the shared-secret family.
class HmacUsingShaAlgorithm final : public JOSESigningAlgorithm {
 public:
  static std::shared_ptr<const JOSESigningAlgorithm> HmacSha256();
  static std::shared_ptr<const JOSESigningAlgorithm> HmacSha384();
  static std::shared_ptr<const JOSESigningAlgorithm> HmacSha512();

  // Compares the expected segment text with `signature` as received, in
  // constant time; a segment written differently (padding, "+" or "/") does
  // not verify. A key that is PEM text (an RSA or EC key, a certificate) is
  // refused with JOSEException: a public key must never serve as an HMAC
  // secret.
  bool VerifySignature(const JOSEBytes& key, const JOSEBytes& input,
                       const JOSEBytes& signature) const override;
  JOSEBytes Sign(const JOSEBytes& key, const JOSEBytes& input) const override;
  // Empty key: "Key is null"; fewer bits than the hash size: "Key is too
  // short (...bit), expected (...bit)".
  void ValidateSigningKey(const JOSEBytes& key) const override;
  void ValidateVerificationKey(const JOSEBytes& key) const override { ValidateSigningKey(key); }

  HmacUsingShaAlgorithm(JOSEAlgorithmId id, HMACAlgorithm hmac, int key_min_length)
      : JOSESigningAlgorithm(id, JOSEKeyCategory::Symmetric, "oct"),
        hmac_algorithm_(hmac),
        key_min_length_(key_min_length) {}

 private:
  HMACAlgorithm hmac_algorithm_;
  int key_min_length_;  // bits
};

// RS256, RS384, RS512 over PEM keys.
class RSAUsingSHAAlgorithm final : public JOSESigningAlgorithm {
 public:
  static std::shared_ptr<const JOSESigningAlgorithm> RSA256();
  static std::shared_ptr<const JOSESigningAlgorithm> RSA384();
  static std::shared_ptr<const JOSESigningAlgorithm> RSA512();

  // Validates the key first, always, then decodes the segment and verifies.
  bool VerifySignature(const JOSEBytes& key, const JOSEBytes& input,
                       const JOSEBytes& signature) const override;
  JOSEBytes Sign(const JOSEBytes& key, const JOSEBytes& input) const override;
  // "Key is null", or "Key is not RSA key in PEM format".
  void ValidateSigningKey(const JOSEBytes& key) const override;
  void ValidateVerificationKey(const JOSEBytes& key) const override;

  RSAUsingSHAAlgorithm(JOSEAlgorithmId id, RSAAlgorithm rsa, int key_min_length)
      : JOSESigningAlgorithm(id, JOSEKeyCategory::Asymmetric, "pem"),
        rsa_algorithm_(rsa),
        key_min_length_(key_min_length) {}

 private:
  RSAAlgorithm rsa_algorithm_;
  [[maybe_unused]] int key_min_length_;  // informational; RSA keys are not measured
};

// ES256, ES256K, ES384, ES512 over PEM keys.
class ECDSAUsingSHAAlgorithm final : public JOSESigningAlgorithm {
 public:
  static std::shared_ptr<const JOSESigningAlgorithm> ECDSA256();
  static std::shared_ptr<const JOSESigningAlgorithm> ECDSA256K();
  static std::shared_ptr<const JOSESigningAlgorithm> ECDSA384();
  static std::shared_ptr<const JOSESigningAlgorithm> ECDSA512();

  bool VerifySignature(const JOSEBytes& key, const JOSEBytes& input,
                       const JOSEBytes& signature) const override;
  JOSEBytes Sign(const JOSEBytes& key, const JOSEBytes& input) const override;
  // "Key is null", or "Key is not ECDSA key in PEM format".
  void ValidateSigningKey(const JOSEBytes& key) const override;
  void ValidateVerificationKey(const JOSEBytes& key) const override;

  ECDSAUsingSHAAlgorithm(JOSEAlgorithmId id, ECDSAAlgorithm ecdsa, int key_min_length)
      : JOSESigningAlgorithm(id, JOSEKeyCategory::Asymmetric, "pem"),
        ecdsa_algorithm_(ecdsa),
        key_min_length_(key_min_length) {}

 private:
  ECDSAAlgorithm ecdsa_algorithm_;
  [[maybe_unused]] int key_min_length_;  // informational; the curve fixes the key size
};

}  // namespace quorvane::jose
