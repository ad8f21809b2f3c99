#include "jose/jwa_signing.h"

#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/params.h>

#include <array>
#include <cstdio>
#include <stdexcept>

#include "jose/base64.h"
#include "jose/exceptions.h"

namespace quorvane::jose {
namespace {

// One HMAC context per hash with the digest already chosen; each MAC starts
// from a copy of it, so no algorithm lookup happens per token.
class HmacTemplates {
 public:
  HmacTemplates() {
    EVP_MAC* mac = EVP_MAC_fetch(nullptr, "HMAC", nullptr);
    if (mac == nullptr) throw std::runtime_error("HMAC unavailable: " + TakeOpenSSLError());
    static constexpr std::array<const char*, 3> kDigests = {"SHA256", "SHA384", "SHA512"};
    for (std::size_t i = 0; i < kDigests.size(); ++i) {
      templates_[i].reset(EVP_MAC_CTX_new(mac));
      OSSL_PARAM params[] = {OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_DIGEST,
                                                              const_cast<char*>(kDigests[i]), 0),
                             OSSL_PARAM_construct_end()};
      if (!templates_[i] || EVP_MAC_CTX_set_params(templates_[i].get(), params) != 1) {
        EVP_MAC_free(mac);
        throw std::runtime_error("HMAC unavailable: " + TakeOpenSSLError());
      }
    }
    EVP_MAC_free(mac);  // the contexts hold their own reference
  }
  EvpMacCtxPtr New(HMACAlgorithm algorithm) const {
    return EvpMacCtxPtr(EVP_MAC_CTX_dup(templates_[static_cast<std::size_t>(algorithm)].get()));
  }

 private:
  std::array<EvpMacCtxPtr, 3> templates_;
};

// True when `key` is PEM text: the shape of every asymmetric key and
// certificate the library reads.
bool LooksLikePem(const JOSEBytes& key) {
  return key.View().find("-----BEGIN ") != std::string_view::npos;
}

}  // namespace

JOSEBytes HMAC::Sign(const JOSEBytes& input, const JOSEBytes& key, HMACAlgorithm algorithm) {
  static const HmacTemplates templates;
  // Each thread keeps one context per hash and re-keys it for every MAC;
  // copying the template per call would cost an allocation each time.
  thread_local std::array<EvpMacCtxPtr, 3> contexts;
  EvpMacCtxPtr& ctx = contexts[static_cast<std::size_t>(algorithm)];
  if (!ctx) ctx = templates.New(algorithm);
  unsigned char out[EVP_MAX_MD_SIZE];
  std::size_t out_len = 0;
  // A zero-length key is still a key for RFC 2104; give OpenSSL a non-null
  // pointer so that it is not read as "keep the previous key".
  static const unsigned char kEmpty = 0;
  const unsigned char* key_data = key.IsEmpty() ? &kEmpty : key.Data();
  if (!ctx || EVP_MAC_init(ctx.get(), key_data, key.Size(), nullptr) != 1 ||
      EVP_MAC_update(ctx.get(), input.Data(), input.Size()) != 1 ||
      EVP_MAC_final(ctx.get(), out, &out_len, sizeof out) != 1) {
    ctx.reset();  // start the next MAC from a fresh copy
    throw JOSEException("HMAC computation failed: " + TakeOpenSSLError());
  }
  return JOSEBytes(std::span<const std::uint8_t>(out, out_len));
}

// --- HMAC --------------------------------------------------------------------

std::shared_ptr<const JOSESigningAlgorithm> HmacUsingShaAlgorithm::HmacSha256() {
  return std::make_shared<HmacUsingShaAlgorithm>(JOSEAlgorithmId::HS256, HMACAlgorithm::SHA256,
                                                 256);
}
std::shared_ptr<const JOSESigningAlgorithm> HmacUsingShaAlgorithm::HmacSha384() {
  return std::make_shared<HmacUsingShaAlgorithm>(JOSEAlgorithmId::HS384, HMACAlgorithm::SHA384,
                                                 384);
}
std::shared_ptr<const JOSESigningAlgorithm> HmacUsingShaAlgorithm::HmacSha512() {
  return std::make_shared<HmacUsingShaAlgorithm>(JOSEAlgorithmId::HS512, HMACAlgorithm::SHA512,
                                                 512);
}

bool HmacUsingShaAlgorithm::VerifySignature(const JOSEBytes& key, const JOSEBytes& input,
                                            const JOSEBytes& signature) const {
  if (LooksLikePem(key)) {
    throw JOSEException("Key is an asymmetric key in PEM format, not an HMAC secret");
  }
  const JOSEBytes expected = Sign(key, input);
  // The length of a MAC is public; only the bytes are compared in constant
  // time.
  return expected.Size() == signature.Size() &&
         CRYPTO_memcmp(expected.Data(), signature.Data(), expected.Size()) == 0;
}

JOSEBytes HmacUsingShaAlgorithm::Sign(const JOSEBytes& key, const JOSEBytes& input) const {
  return Base64::URLEncode(HMAC::Sign(input, key, hmac_algorithm_));
}

void HmacUsingShaAlgorithm::ValidateSigningKey(const JOSEBytes& key) const {
  if (key.IsEmpty()) throw JOSEException("Key is null");
  const long long bits = static_cast<long long>(key.Size()) * 8;
  if (bits < key_min_length_) {
    char message[128];
    std::snprintf(message, sizeof message, "Key is too short (%lldbit), expected (%dbit)", bits,
                  key_min_length_);
    throw JOSEException(message);
  }
}

// --- RSA -----------------------------------------------------------------------

std::shared_ptr<const JOSESigningAlgorithm> RSAUsingSHAAlgorithm::RSA256() {
  return std::make_shared<RSAUsingSHAAlgorithm>(JOSEAlgorithmId::RS256, RSAAlgorithm::RS256, 256);
}
std::shared_ptr<const JOSESigningAlgorithm> RSAUsingSHAAlgorithm::RSA384() {
  return std::make_shared<RSAUsingSHAAlgorithm>(JOSEAlgorithmId::RS384, RSAAlgorithm::RS384, 384);
}
std::shared_ptr<const JOSESigningAlgorithm> RSAUsingSHAAlgorithm::RSA512() {
  return std::make_shared<RSAUsingSHAAlgorithm>(JOSEAlgorithmId::RS512, RSAAlgorithm::RS512, 512);
}

void RSAUsingSHAAlgorithm::ValidateSigningKey(const JOSEBytes& key) const {
  if (key.IsEmpty()) throw JOSEException("Key is null");
  if (!RSA::VerifyPrivateKey(key)) throw JOSEException("Key is not RSA key in PEM format");
}

void RSAUsingSHAAlgorithm::ValidateVerificationKey(const JOSEBytes& key) const {
  if (key.IsEmpty()) throw JOSEException("Key is null");
  if (!RSA::VerifyPublicKey(key)) throw JOSEException("Key is not RSA key in PEM format");
}

bool RSAUsingSHAAlgorithm::VerifySignature(const JOSEBytes& key, const JOSEBytes& input,
                                           const JOSEBytes& signature) const {
  ValidateVerificationKey(key);
  return RSA::Verify(input, Base64::URLDecode(signature), rsa_algorithm_, key);
}

JOSEBytes RSAUsingSHAAlgorithm::Sign(const JOSEBytes& key, const JOSEBytes& input) const {
  return Base64::URLEncode(RSA::Sign(input, key, rsa_algorithm_));
}

// --- ECDSA -----------------------------------------------------------------------

std::shared_ptr<const JOSESigningAlgorithm> ECDSAUsingSHAAlgorithm::ECDSA256() {
  return std::make_shared<ECDSAUsingSHAAlgorithm>(JOSEAlgorithmId::ES256, ECDSAAlgorithm::ES256,
                                                  256);
}
std::shared_ptr<const JOSESigningAlgorithm> ECDSAUsingSHAAlgorithm::ECDSA256K() {
  return std::make_shared<ECDSAUsingSHAAlgorithm>(JOSEAlgorithmId::ES256K, ECDSAAlgorithm::ES256K,
                                                  256);
}
std::shared_ptr<const JOSESigningAlgorithm> ECDSAUsingSHAAlgorithm::ECDSA384() {
  return std::make_shared<ECDSAUsingSHAAlgorithm>(JOSEAlgorithmId::ES384, ECDSAAlgorithm::ES384,
                                                  384);
}
std::shared_ptr<const JOSESigningAlgorithm> ECDSAUsingSHAAlgorithm::ECDSA512() {
  return std::make_shared<ECDSAUsingSHAAlgorithm>(JOSEAlgorithmId::ES512, ECDSAAlgorithm::ES512,
                                                  512);
}

void ECDSAUsingSHAAlgorithm::ValidateSigningKey(const JOSEBytes& key) const {
  if (key.IsEmpty()) throw JOSEException("Key is null");
  if (!ECDSA::VerifyPrivateKey(key)) throw JOSEException("Key is not ECDSA key in PEM format");
}

void ECDSAUsingSHAAlgorithm::ValidateVerificationKey(const JOSEBytes& key) const {
  if (key.IsEmpty()) throw JOSEException("Key is null");
  if (!ECDSA::VerifyPublicKey(key)) throw JOSEException("Key is not ECDSA key in PEM format");
}

bool ECDSAUsingSHAAlgorithm::VerifySignature(const JOSEBytes& key, const JOSEBytes& input,
                                             const JOSEBytes& signature) const {
  ValidateVerificationKey(key);
  return ECDSA::Verify(input, Base64::URLDecode(signature), ecdsa_algorithm_, key);
}

JOSEBytes ECDSAUsingSHAAlgorithm::Sign(const JOSEBytes& key, const JOSEBytes& input) const {
  return Base64::URLEncode(ECDSA::Sign(input, key, ecdsa_algorithm_));
}

// --- registry --------------------------------------------------------------------

JOSEAlgorithmRegistryFactory::JOSEAlgorithmRegistryFactory() {
  signing_algorithm_registry_.RegisterAlgorithm(HmacUsingShaAlgorithm::HmacSha256())
      .RegisterAlgorithm(HmacUsingShaAlgorithm::HmacSha384())
      .RegisterAlgorithm(HmacUsingShaAlgorithm::HmacSha512())
      .RegisterAlgorithm(RSAUsingSHAAlgorithm::RSA256())
      .RegisterAlgorithm(RSAUsingSHAAlgorithm::RSA384())
      .RegisterAlgorithm(RSAUsingSHAAlgorithm::RSA512())
      .RegisterAlgorithm(ECDSAUsingSHAAlgorithm::ECDSA256())
      .RegisterAlgorithm(ECDSAUsingSHAAlgorithm::ECDSA256K())
      .RegisterAlgorithm(ECDSAUsingSHAAlgorithm::ECDSA384())
      .RegisterAlgorithm(ECDSAUsingSHAAlgorithm::ECDSA512());
}

JOSEAlgorithmRegistryFactory& JOSEAlgorithmRegistryFactory::GetInstance() {
  static JOSEAlgorithmRegistryFactory instance;  // thread-safe initialisation
  return instance;
}

}  // namespace quorvane::jose
