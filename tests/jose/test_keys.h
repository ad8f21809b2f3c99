#pragma once

// Key material for the JOSE tests: keys given as JWK members (the RFC 7515
// examples) turned into PEM text, freshly generated keys, and a self-signed
// certificate. Everything goes through non-deprecated OpenSSL 3 calls.

#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/param_build.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <stdexcept>
#include <string>
#include <string_view>

#include "jose/base64.h"
#include "jose/openssl_ptr.h"

namespace quorvane::jose::testing {

inline std::string B64u(std::string_view text) {
  return Base64::URLDecode(JOSEBytes(text)).ToString();
}

inline BIGNUM* BnFromB64u(std::string_view text) {
  const std::string raw = B64u(text);
  return BN_bin2bn(reinterpret_cast<const unsigned char*>(raw.data()), static_cast<int>(raw.size()),
                   nullptr);
}

inline std::string PemOf(EVP_PKEY* key, bool private_key) {
  BioPtr bio(BIO_new(BIO_s_mem()));
  const int ok =
      private_key ? PEM_write_bio_PrivateKey(bio.get(), key, nullptr, nullptr, 0, nullptr, nullptr)
                  : PEM_write_bio_PUBKEY(bio.get(), key);
  if (ok != 1) throw std::runtime_error("PEM write failed");
  char* data = nullptr;
  const long n = BIO_get_mem_data(bio.get(), &data);
  return std::string(data, static_cast<std::size_t>(n));
}

inline EvpPkeyPtr FromData(const char* type, OSSL_PARAM_BLD* bld, bool private_key) {
  OSSL_PARAM* params = OSSL_PARAM_BLD_to_param(bld);
  EVP_PKEY_CTX* ctx = EVP_PKEY_CTX_new_from_name(nullptr, type, nullptr);
  EVP_PKEY* key = nullptr;
  const bool ok = ctx != nullptr && EVP_PKEY_fromdata_init(ctx) == 1 &&
                  EVP_PKEY_fromdata(ctx, &key, private_key ? EVP_PKEY_KEYPAIR : EVP_PKEY_PUBLIC_KEY,
                                    params) == 1;
  EVP_PKEY_CTX_free(ctx);
  OSSL_PARAM_free(params);
  OSSL_PARAM_BLD_free(bld);
  if (!ok) throw std::runtime_error(std::string("EVP_PKEY_fromdata failed for ") + type);
  return EvpPkeyPtr(key);
}

// An RSA key from its JWK members; `d` empty for a public key.
inline std::string RsaPemFromJwk(std::string_view n, std::string_view e, std::string_view d) {
  OSSL_PARAM_BLD* bld = OSSL_PARAM_BLD_new();
  BignumPtr bn(BnFromB64u(n)), be(BnFromB64u(e)), bd(d.empty() ? nullptr : BnFromB64u(d));
  OSSL_PARAM_BLD_push_BN(bld, OSSL_PKEY_PARAM_RSA_N, bn.get());
  OSSL_PARAM_BLD_push_BN(bld, OSSL_PKEY_PARAM_RSA_E, be.get());
  if (bd) OSSL_PARAM_BLD_push_BN(bld, OSSL_PKEY_PARAM_RSA_D, bd.get());
  EvpPkeyPtr key = FromData("RSA", bld, bd != nullptr);
  return PemOf(key.get(), bd != nullptr);
}

// An EC key from its JWK members on `curve` ("P-256", "P-521", ...).
inline std::string EcPemFromJwk(const char* curve, std::string_view x, std::string_view y,
                                std::string_view d) {
  const std::string point = "\x04" + B64u(x) + B64u(y);
  OSSL_PARAM_BLD* bld = OSSL_PARAM_BLD_new();
  OSSL_PARAM_BLD_push_utf8_string(bld, OSSL_PKEY_PARAM_GROUP_NAME, curve, 0);
  OSSL_PARAM_BLD_push_octet_string(bld, OSSL_PKEY_PARAM_PUB_KEY, point.data(), point.size());
  BignumPtr bd(d.empty() ? nullptr : BnFromB64u(d));
  if (bd) OSSL_PARAM_BLD_push_BN(bld, OSSL_PKEY_PARAM_PRIV_KEY, bd.get());
  EvpPkeyPtr key = FromData("EC", bld, bd != nullptr);
  return PemOf(key.get(), bd != nullptr);
}

struct KeyPair {
  std::string private_pem;
  std::string public_pem;
};

// A new EC key pair on `curve` ("P-256", "secp256k1", "P-384", "P-521").
inline KeyPair NewEcKey(const char* curve) {
  EvpPkeyPtr key(EVP_PKEY_Q_keygen(nullptr, nullptr, "EC", curve));
  if (!key) throw std::runtime_error("EC keygen failed");
  return {PemOf(key.get(), true), PemOf(key.get(), false)};
}

// One RSA-2048 pair per process: generating one is slow.
inline const KeyPair& RsaKey() {
  static const KeyPair pair = [] {
    EvpPkeyPtr key(EVP_PKEY_Q_keygen(nullptr, nullptr, "RSA", static_cast<size_t>(2048)));
    if (!key) throw std::runtime_error("RSA keygen failed");
    return KeyPair{PemOf(key.get(), true), PemOf(key.get(), false)};
  }();
  return pair;
}

// A self-signed certificate over the key in `private_pem`.
inline std::string SelfSignedCertificate(const std::string& private_pem) {
  BioPtr in(BIO_new_mem_buf(private_pem.data(), static_cast<int>(private_pem.size())));
  EvpPkeyPtr key(PEM_read_bio_PrivateKey(in.get(), nullptr, nullptr, nullptr));
  X509Ptr cert(X509_new());
  X509_set_version(cert.get(), 2);
  ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), 1);
  X509_gmtime_adj(X509_getm_notBefore(cert.get()), 0);
  X509_gmtime_adj(X509_getm_notAfter(cert.get()), 3600);
  X509_set_pubkey(cert.get(), key.get());
  X509_NAME* name = X509_get_subject_name(cert.get());
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>("quorvane-test"), -1, -1, 0);
  X509_set_issuer_name(cert.get(), name);
  if (X509_sign(cert.get(), key.get(), EVP_sha256()) <= 0) throw std::runtime_error("X509_sign");
  BioPtr out(BIO_new(BIO_s_mem()));
  PEM_write_bio_X509(out.get(), cert.get());
  char* data = nullptr;
  const long n = BIO_get_mem_data(out.get(), &data);
  return std::string(data, static_cast<std::size_t>(n));
}

}  // namespace quorvane::jose::testing

#include <openssl/encoder.h>

namespace quorvane::jose::testing {

// The public half of `public_pem` written as a PKCS#1 "RSA PUBLIC KEY".
inline std::string Pkcs1PublicPem(const std::string& public_pem) {
  BioPtr in(BIO_new_mem_buf(public_pem.data(), static_cast<int>(public_pem.size())));
  EvpPkeyPtr key(PEM_read_bio_PUBKEY(in.get(), nullptr, nullptr, nullptr));
  OSSL_ENCODER_CTX* ctx = OSSL_ENCODER_CTX_new_for_pkey(key.get(), EVP_PKEY_PUBLIC_KEY, "PEM",
                                                        "type-specific", nullptr);
  BioPtr out(BIO_new(BIO_s_mem()));
  const bool ok = ctx != nullptr && OSSL_ENCODER_to_bio(ctx, out.get()) == 1;
  OSSL_ENCODER_CTX_free(ctx);
  if (!ok) throw std::runtime_error("PKCS#1 encode failed");
  char* data = nullptr;
  const long n = BIO_get_mem_data(out.get(), &data);
  return std::string(data, static_cast<std::size_t>(n));
}

}  // namespace quorvane::jose::testing
