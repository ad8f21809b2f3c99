#pragma once

#include <string_view>

#include "jose/bytes.h"
#include "jose/openssl_ptr.h"

namespace quorvane::jose {

enum class RSAAlgorithm { RS256, RS384, RS512 };
enum class ECDSAAlgorithm { ES256, ES256K, ES384, ES512 };

// Certificate helpers shared by RSA and ECDSA. Keys and certificates are
// PEM text given as bytes.
class SigningBase {
 public:
  // The certificate in `certificate`, which must start with the X.509 PEM
  // header line; SignException otherwise or when it does not parse.
  static X509Ptr LoadCertificate(const JOSEBytes& certificate);
  // The certificate's public key; SignException when it has none or when its
  // key type (an OpenSSL NID) is not `expected_key_type`.
  static EvpPkeyPtr LoadPublicKeyFromCert(const X509& certificate, int expected_key_type);
  // The certificate's public key as SubjectPublicKeyInfo PEM text.
  static JOSEBytes PublicKeyFromCertificate(const JOSEBytes& certificate);
  // True when the certificate loads and holds a key of `key_type`.
  static bool VerifyCertificate(const JOSEBytes& certificate, int key_type);
};

// RSASSA-PKCS1-v1_5 with SHA-2 over PEM keys.
class RSA : public SigningBase {
 public:
  // A PKCS#1 ("RSA PUBLIC KEY") or SubjectPublicKeyInfo public key; any key
  // that is not RSA fails with SignException.
  static EvpPkeyPtr LoadPublicKey(const JOSEBytes& pem);
  // A PKCS#1 or PKCS#8 RSA private key; SignException otherwise.
  static EvpPkeyPtr LoadPrivateKey(const JOSEBytes& pem);
  static bool VerifyPublicKey(const JOSEBytes& pem);
  static bool VerifyPrivateKey(const JOSEBytes& pem);
  // The raw signature of `input`.
  static JOSEBytes Sign(const JOSEBytes& input, const JOSEBytes& private_key_pem,
                        RSAAlgorithm algorithm);
  // True only when `signature` (raw bytes) is valid for `input`.
  static bool Verify(const JOSEBytes& input, const JOSEBytes& signature, RSAAlgorithm algorithm,
                     const JOSEBytes& public_key_pem);
  static bool VerifyWithCertificate(const JOSEBytes& input, const JOSEBytes& signature,
                                    RSAAlgorithm algorithm, const JOSEBytes& certificate);
};

// ECDSA with SHA-2 over PEM keys. Signatures are the JWS form: R and S as
// fixed-length big-endian numbers, one after the other (RFC 7518 section
// 3.4). The key's curve must be the algorithm's (P-256, secp256k1, P-384,
// P-521).
class ECDSA : public SigningBase {
 public:
  static EvpPkeyPtr LoadPublicKey(const JOSEBytes& pem);
  static EvpPkeyPtr LoadPrivateKey(const JOSEBytes& pem);
  static bool VerifyPublicKey(const JOSEBytes& pem);
  static bool VerifyPrivateKey(const JOSEBytes& pem);
  // The raw R||S signature of `input`; std::runtime_error on failure.
  static JOSEBytes Sign(const JOSEBytes& input, const JOSEBytes& private_key_pem,
                        ECDSAAlgorithm algorithm);
  // True only when `signature` is exactly the algorithm's length and its R
  // and S lie in [1, order - 1] and sign `input`.
  static bool Verify(const JOSEBytes& input, const JOSEBytes& signature, ECDSAAlgorithm algorithm,
                     const JOSEBytes& public_key_pem);
  static bool VerifyWithCertificate(const JOSEBytes& input, const JOSEBytes& signature,
                                    ECDSAAlgorithm algorithm, const JOSEBytes& certificate);
  // Length of a signature of `algorithm`: 64, 64, 96 or 132 bytes.
  static std::size_t SignatureSize(ECDSAAlgorithm algorithm);

  // Conversions between the JWS R||S form and DER (ECDSA-Sig-Value). RawToDER
  // refuses (returns empty) an odd length, zero values and values not below
  // `order`; DERToRaw refuses DER that is not exactly one ECDSA-Sig-Value or
  // whose numbers do not fit in half of `raw_size`.
  static JOSEBytes RawToDER(const JOSEBytes& raw, const BIGNUM& order);
  static JOSEBytes DERToRaw(const JOSEBytes& der, std::size_t raw_size);
};

}  // namespace quorvane::jose
