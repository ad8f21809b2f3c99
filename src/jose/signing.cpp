#include "jose/signing.h"

#include <openssl/core_names.h>
#include <openssl/decoder.h>
#include <openssl/err.h>
#include <openssl/objects.h>
#include <openssl/pem.h>

#include <array>
#include <climits>
#include <stdexcept>
#include <string>

#include "jose/exceptions.h"

namespace quorvane::jose {

std::string TakeOpenSSLError() {
  const unsigned long code = ERR_peek_last_error();
  std::string text;
  if (code != 0) {
    char buf[256];
    ERR_error_string_n(code, buf, sizeof buf);
    text = buf;
  }
  ERR_clear_error();
  return text;
}

namespace {

constexpr std::string_view kCertificateHeader = "-----BEGIN CERTIFICATE-----";
constexpr std::string_view kPkcs1PublicHeader = "-----BEGIN RSA PUBLIC KEY-----";

BioPtr MemoryBio(const JOSEBytes& bytes) {
  if (bytes.Size() > static_cast<std::size_t>(INT_MAX)) return nullptr;
  return BioPtr(BIO_new_mem_buf(bytes.Data(), static_cast<int>(bytes.Size())));
}

// A PEM public key of any type, SubjectPublicKeyInfo or (for RSA) PKCS#1.
EvpPkeyPtr ReadPublicKey(const JOSEBytes& pem) {
  BioPtr bio = MemoryBio(pem);
  if (!bio) return nullptr;
  if (pem.View().starts_with(kPkcs1PublicHeader)) {
    EVP_PKEY* key = nullptr;
    OSSL_DECODER_CTX* dctx = OSSL_DECODER_CTX_new_for_pkey(&key, "PEM", "type-specific", "RSA",
                                                           EVP_PKEY_PUBLIC_KEY, nullptr, nullptr);
    if (dctx == nullptr) return nullptr;
    const bool ok = OSSL_DECODER_from_bio(dctx, bio.get()) == 1;
    OSSL_DECODER_CTX_free(dctx);
    if (!ok) {
      EVP_PKEY_free(key);
      return nullptr;
    }
    return EvpPkeyPtr(key);
  }
  return EvpPkeyPtr(PEM_read_bio_PUBKEY(bio.get(), nullptr, nullptr, nullptr));
}

EvpPkeyPtr ReadPrivateKey(const JOSEBytes& pem) {
  BioPtr bio = MemoryBio(pem);
  if (!bio) return nullptr;
  // A null passphrase callback would prompt on the console for an encrypted
  // key; an empty passphrase makes such a key fail instead.
  static char kNoPassphrase[] = "";
  return EvpPkeyPtr(PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, kNoPassphrase));
}

const EVP_MD* DigestOf(RSAAlgorithm algorithm) {
  switch (algorithm) {
    case RSAAlgorithm::RS256:
      return EVP_sha256();
    case RSAAlgorithm::RS384:
      return EVP_sha384();
    case RSAAlgorithm::RS512:
      return EVP_sha512();
  }
  throw SignException("[RSA] Unsupported signing algorithm!");
}

struct CurveInfo {
  const EVP_MD* digest;
  int nid;
  std::size_t signature_size;
};

CurveInfo CurveOf(ECDSAAlgorithm algorithm) {
  switch (algorithm) {
    case ECDSAAlgorithm::ES256:
      return {EVP_sha256(), NID_X9_62_prime256v1, 64};
    case ECDSAAlgorithm::ES256K:
      return {EVP_sha256(), NID_secp256k1, 64};
    case ECDSAAlgorithm::ES384:
      return {EVP_sha384(), NID_secp384r1, 96};
    case ECDSAAlgorithm::ES512:
      return {EVP_sha512(), NID_secp521r1, 132};
  }
  throw std::runtime_error("[ECDSA] Unsupported signing algorithm!");
}

// The order of the algorithm's curve, computed once per curve.
const BIGNUM& OrderOf(ECDSAAlgorithm algorithm) {
  static const std::array<BignumPtr, 4> orders = [] {
    std::array<BignumPtr, 4> result;
    for (int i = 0; i < 4; ++i) {
      EcGroupPtr group(EC_GROUP_new_by_curve_name(CurveOf(static_cast<ECDSAAlgorithm>(i)).nid));
      if (!group) throw std::runtime_error("[ECDSA] Curve unavailable: " + TakeOpenSSLError());
      result[i].reset(BN_dup(EC_GROUP_get0_order(group.get())));
    }
    return result;
  }();
  return *orders[static_cast<std::size_t>(algorithm)];
}

// The NID of an EC key's curve, or NID_undef.
int CurveNidOfKey(const EVP_PKEY& key) {
  char name[80];
  std::size_t len = 0;
  if (EVP_PKEY_get_utf8_string_param(&key, OSSL_PKEY_PARAM_GROUP_NAME, name, sizeof name, &len) !=
      1) {
    return NID_undef;
  }
  int nid = OBJ_sn2nid(name);
  if (nid == NID_undef) nid = EC_curve_nist2nid(name);
  return nid;
}

void RequireCurve(const EVP_PKEY& key, ECDSAAlgorithm algorithm) {
  if (CurveNidOfKey(key) != CurveOf(algorithm).nid) {
    throw std::runtime_error("[ECDSA] The key's curve does not match the signing algorithm");
  }
}

JOSEBytes DigestSign(EVP_PKEY& key, const EVP_MD* md, const JOSEBytes& input) {
  EvpMdCtxPtr ctx(EVP_MD_CTX_new());
  std::size_t size = 0;
  if (!ctx || EVP_DigestSignInit(ctx.get(), nullptr, md, nullptr, &key) != 1 ||
      EVP_DigestSign(ctx.get(), nullptr, &size, input.Data(), input.Size()) != 1) {
    return JOSEBytes();
  }
  std::vector<std::uint8_t> out(size);
  if (EVP_DigestSign(ctx.get(), out.data(), &size, input.Data(), input.Size()) != 1) {
    return JOSEBytes();
  }
  out.resize(size);
  return JOSEBytes(out);
}

bool DigestVerify(EVP_PKEY& key, const EVP_MD* md, const JOSEBytes& input,
                  const JOSEBytes& signature) {
  EvpMdCtxPtr ctx(EVP_MD_CTX_new());
  const bool ok = ctx && EVP_DigestVerifyInit(ctx.get(), nullptr, md, nullptr, &key) == 1 &&
                  EVP_DigestVerify(ctx.get(), signature.Data(), signature.Size(), input.Data(),
                                   input.Size()) == 1;
  ERR_clear_error();  // a bad signature leaves an error entry behind
  return ok;
}

}  // namespace

// --- certificates ------------------------------------------------------------

X509Ptr SigningBase::LoadCertificate(const JOSEBytes& certificate) {
  if (!certificate.View().starts_with(kCertificateHeader)) {
    throw SignException("[OpenSSL] Not a valid X509 certificate");
  }
  BioPtr bio = MemoryBio(certificate);
  X509Ptr cert(bio ? PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr) : nullptr);
  if (!cert) {
    TakeOpenSSLError();
    throw SignException("[OpenSSL] Error loading X509 certificate");
  }
  return cert;
}

EvpPkeyPtr SigningBase::LoadPublicKeyFromCert(const X509& certificate, int expected_key_type) {
  EvpPkeyPtr key(X509_get_pubkey(const_cast<X509*>(&certificate)));
  if (!key) {
    TakeOpenSSLError();
    throw SignException("[OpenSSL] Error extracting public key from X509 certificate");
  }
  if (EVP_PKEY_get_base_id(key.get()) != expected_key_type) {
    throw SignException("[OpenSSL] Unsupported algorithm type in X509 public key (RSA expected)");
  }
  return key;
}

JOSEBytes SigningBase::PublicKeyFromCertificate(const JOSEBytes& certificate) {
  X509Ptr cert = LoadCertificate(certificate);
  EvpPkeyPtr key(X509_get_pubkey(cert.get()));
  if (!key) {
    TakeOpenSSLError();
    throw SignException("[OpenSSL] Error extracting public key from X509 certificate");
  }
  BioPtr out(BIO_new(BIO_s_mem()));
  if (!out || PEM_write_bio_PUBKEY(out.get(), key.get()) != 1) {
    throw SignException("[OpenSSL] Error writing public key: " + TakeOpenSSLError());
  }
  char* data = nullptr;
  const long size = BIO_get_mem_data(out.get(), &data);
  return JOSEBytes(std::string_view(data, static_cast<std::size_t>(size)));
}

bool SigningBase::VerifyCertificate(const JOSEBytes& certificate, int key_type) {
  try {
    X509Ptr cert = LoadCertificate(certificate);
    LoadPublicKeyFromCert(*cert, key_type);
    return true;
  } catch (const SignException&) {
    return false;
  }
}

// --- RSA -----------------------------------------------------------------------

EvpPkeyPtr RSA::LoadPublicKey(const JOSEBytes& pem) {
  EvpPkeyPtr key = ReadPublicKey(pem);
  if (!key || !EVP_PKEY_is_a(key.get(), "RSA")) {
    const std::string error = TakeOpenSSLError();
    throw SignException("[RSA] Unable to load public key: " +
                        (key ? std::string("not an RSA key") : error));
  }
  return key;
}

EvpPkeyPtr RSA::LoadPrivateKey(const JOSEBytes& pem) {
  EvpPkeyPtr key = ReadPrivateKey(pem);
  if (!key || !EVP_PKEY_is_a(key.get(), "RSA")) {
    const std::string error = TakeOpenSSLError();
    throw SignException("[RSA] Unable to load private key: " +
                        (key ? std::string("not an RSA key") : error));
  }
  return key;
}

bool RSA::VerifyPublicKey(const JOSEBytes& pem) {
  try {
    LoadPublicKey(pem);
    return true;
  } catch (const SignException&) {
    return false;
  }
}

bool RSA::VerifyPrivateKey(const JOSEBytes& pem) {
  try {
    LoadPrivateKey(pem);
    return true;
  } catch (const SignException&) {
    return false;
  }
}

JOSEBytes RSA::Sign(const JOSEBytes& input, const JOSEBytes& private_key_pem,
                    RSAAlgorithm algorithm) {
  const EVP_MD* md = DigestOf(algorithm);
  EvpPkeyPtr key = LoadPrivateKey(private_key_pem);
  JOSEBytes signature = DigestSign(*key, md, input);
  if (signature.IsEmpty()) {
    TakeOpenSSLError();
    throw SignException("[RSA] Unable to sign RSA message digest");
  }
  return signature;
}

bool RSA::Verify(const JOSEBytes& input, const JOSEBytes& signature, RSAAlgorithm algorithm,
                 const JOSEBytes& public_key_pem) {
  const EVP_MD* md = DigestOf(algorithm);
  EvpPkeyPtr key = LoadPublicKey(public_key_pem);
  return DigestVerify(*key, md, input, signature);
}

bool RSA::VerifyWithCertificate(const JOSEBytes& input, const JOSEBytes& signature,
                                RSAAlgorithm algorithm, const JOSEBytes& certificate) {
  const EVP_MD* md = DigestOf(algorithm);
  X509Ptr cert = LoadCertificate(certificate);
  EvpPkeyPtr key = LoadPublicKeyFromCert(*cert, EVP_PKEY_RSA);
  return DigestVerify(*key, md, input, signature);
}

// --- ECDSA -----------------------------------------------------------------------

EvpPkeyPtr ECDSA::LoadPublicKey(const JOSEBytes& pem) {
  BioPtr bio = MemoryBio(pem);
  EvpPkeyPtr key(bio ? PEM_read_bio_PUBKEY(bio.get(), nullptr, nullptr, nullptr) : nullptr);
  if (!key) throw std::runtime_error("[ECDSA] Unable to load public key: " + TakeOpenSSLError());
  if (!EVP_PKEY_is_a(key.get(), "EC")) {
    throw std::runtime_error("[ECDSA] Error getting memory for ECDSA");
  }
  return key;
}

EvpPkeyPtr ECDSA::LoadPrivateKey(const JOSEBytes& pem) {
  EvpPkeyPtr key = ReadPrivateKey(pem);
  if (!key) throw std::runtime_error("[ECDSA] Unable to load private key: " + TakeOpenSSLError());
  if (!EVP_PKEY_is_a(key.get(), "EC")) {
    throw std::runtime_error("[ECDSA] Error getting EC Key: not an EC key");
  }
  return key;
}

bool ECDSA::VerifyPublicKey(const JOSEBytes& pem) {
  try {
    LoadPublicKey(pem);
    return true;
  } catch (const std::runtime_error&) {
    return false;
  }
}

bool ECDSA::VerifyPrivateKey(const JOSEBytes& pem) {
  try {
    LoadPrivateKey(pem);
    return true;
  } catch (const std::runtime_error&) {
    return false;
  }
}

std::size_t ECDSA::SignatureSize(ECDSAAlgorithm algorithm) {
  return CurveOf(algorithm).signature_size;
}

JOSEBytes ECDSA::RawToDER(const JOSEBytes& raw, const BIGNUM& order) {
  if (raw.IsEmpty() || raw.Size() % 2 != 0 || raw.Size() > static_cast<std::size_t>(INT_MAX)) {
    return JOSEBytes();
  }
  const int half = static_cast<int>(raw.Size() / 2);
  BignumPtr r(BN_bin2bn(raw.Data(), half, nullptr));
  BignumPtr s(BN_bin2bn(raw.Data() + half, half, nullptr));
  if (!r || !s) return JOSEBytes();
  for (const BIGNUM* n : {r.get(), s.get()}) {
    if (BN_is_zero(n) || BN_cmp(n, &order) >= 0) return JOSEBytes();
  }
  EcdsaSigPtr sig(ECDSA_SIG_new());
  if (!sig || ECDSA_SIG_set0(sig.get(), r.get(), s.get()) != 1) return JOSEBytes();
  r.release();  // now owned by sig
  s.release();
  unsigned char* der = nullptr;
  const int len = i2d_ECDSA_SIG(sig.get(), &der);
  if (len <= 0) return JOSEBytes();
  JOSEBytes out(std::span<const std::uint8_t>(der, static_cast<std::size_t>(len)));
  OPENSSL_free(der);
  return out;
}

JOSEBytes ECDSA::DERToRaw(const JOSEBytes& der, std::size_t raw_size) {
  if (raw_size == 0 || raw_size % 2 != 0 || der.Size() > static_cast<std::size_t>(LONG_MAX)) {
    return JOSEBytes();
  }
  const unsigned char* p = der.Data();
  EcdsaSigPtr sig(d2i_ECDSA_SIG(nullptr, &p, static_cast<long>(der.Size())));
  if (!sig || p != der.Data() + der.Size()) return JOSEBytes();
  const BIGNUM* r = nullptr;
  const BIGNUM* s = nullptr;
  ECDSA_SIG_get0(sig.get(), &r, &s);
  const int half = static_cast<int>(raw_size / 2);
  std::vector<std::uint8_t> out(raw_size);
  if (BN_bn2binpad(r, out.data(), half) != half ||
      BN_bn2binpad(s, out.data() + half, half) != half) {
    return JOSEBytes();
  }
  return JOSEBytes(out);
}

JOSEBytes ECDSA::Sign(const JOSEBytes& input, const JOSEBytes& private_key_pem,
                      ECDSAAlgorithm algorithm) {
  const CurveInfo curve = CurveOf(algorithm);
  EvpPkeyPtr key = LoadPrivateKey(private_key_pem);
  RequireCurve(*key, algorithm);
  const JOSEBytes der = DigestSign(*key, curve.digest, input);
  if (der.IsEmpty()) {
    throw std::runtime_error("[ECDSA] Digest signing failed: " + TakeOpenSSLError());
  }
  JOSEBytes raw = DERToRaw(der, curve.signature_size);
  if (raw.IsEmpty()) throw std::runtime_error("[ECDSA] Digest signing failed: bad signature");
  return raw;
}

namespace {

bool VerifyWithKey(EVP_PKEY& key, const JOSEBytes& input, const JOSEBytes& signature,
                   ECDSAAlgorithm algorithm) {
  const CurveInfo curve = CurveOf(algorithm);
  RequireCurve(key, algorithm);
  if (signature.Size() != curve.signature_size) return false;
  const JOSEBytes der = ECDSA::RawToDER(signature, OrderOf(algorithm));
  if (der.IsEmpty()) return false;
  return DigestVerify(key, curve.digest, input, der);
}

}  // namespace

bool ECDSA::Verify(const JOSEBytes& input, const JOSEBytes& signature, ECDSAAlgorithm algorithm,
                   const JOSEBytes& public_key_pem) {
  EvpPkeyPtr key = LoadPublicKey(public_key_pem);
  return VerifyWithKey(*key, input, signature, algorithm);
}

bool ECDSA::VerifyWithCertificate(const JOSEBytes& input, const JOSEBytes& signature,
                                  ECDSAAlgorithm algorithm, const JOSEBytes& certificate) {
  X509Ptr cert = LoadCertificate(certificate);
  EvpPkeyPtr key = LoadPublicKeyFromCert(*cert, EVP_PKEY_EC);
  return VerifyWithKey(*key, input, signature, algorithm);
}

}  // namespace quorvane::jose
