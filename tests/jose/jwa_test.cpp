// The JWS signature algorithms: HMAC against RFC 4231, key checks, the
// registry, RSA and ECDSA over OpenSSL with their key, length and range
// rules, and certificates.

#include "jose/jwa.h"

#include <gtest/gtest.h>
#include <openssl/bn.h>
#include <openssl/ec.h>
#include <openssl/obj_mac.h>

#include "jose/base64.h"
#include "jose/exceptions.h"
#include "jose/jwa_signing.h"
#include "jose/signing.h"
#include "rfc_vectors.h"
#include "test_keys.h"

namespace quorvane::jose {
namespace {

using testing::KeyPair;

std::string Hex(const JOSEBytes& b) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  for (const std::uint8_t c : b.ToBytes()) {
    out += kHex[c >> 4];
    out += kHex[c & 15];
  }
  return out;
}

std::shared_ptr<const JOSESigningAlgorithm> Lookup(std::string_view alg) {
  return JOSEAlgorithmRegistryFactory::GetInstance().SigningAlgorithmRegistry().GetAlgorithm(alg);
}

template <class F>
std::string MessageOf(F&& f) {
  try {
    f();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "<no error>";
}

struct HmacCase {
  const char* name;
  std::string key;
  std::string data;
  HMACAlgorithm algorithm;
  const char* hex;
};

TEST(HMACTest, MatchesRfc4231) {
  const std::string k1(20, '\x0b');
  const HmacCase cases[] = {
      {"Case1Sha256", k1, "Hi There", HMACAlgorithm::SHA256,
       "b0344c61d8db38535ca8afceaf0bf12b881dc200c9833da726e9376c2e32cff7"},
      {"Case1Sha384", k1, "Hi There", HMACAlgorithm::SHA384,
       "afd03944d84895626b0825f4ab46907f15f9dadbe4101ec682aa034c7cebc59cfaea9ea9076ede7f4af152e8b2f"
       "a"
       "9cb6"},
      {"Case1Sha512", k1, "Hi There", HMACAlgorithm::SHA512,
       "87aa7cdea5ef619d4ff0b4241a1d6cb02379f4e2ce4ec2787ad0b30545e17cdedaa833b7d6b8a702038b274eaea"
       "3"
       "f4e4be9d914eeb61f1702e696c203a126854"},
      {"Case2Sha256", "Jefe", "what do ya want for nothing?", HMACAlgorithm::SHA256,
       "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843"},
      {"Case2Sha384", "Jefe", "what do ya want for nothing?", HMACAlgorithm::SHA384,
       "af45d2e376484031617f78d2b58a6b1b9c7ef464f5a01b47e42ec3736322445e8e2240ca5e69e2c78b3239ecfab"
       "2"
       "1649"},
      {"Case2Sha512", "Jefe", "what do ya want for nothing?", HMACAlgorithm::SHA512,
       "164b7a7bfcf819e2e395fbe73b56e0a387bd64222e831fd610270cd7ea2505549758bf75c05a994a6d034f65f8f"
       "0"
       "e6fdcaeab1a34d4a6b4b636e070a38bce737"},
  };
  for (const HmacCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Hex(HMAC::Sign(JOSEBytes(c.data), JOSEBytes(c.key), c.algorithm)), c.hex);
  }
  // An empty key is a valid RFC 2104 key (padded with zeros like any short
  // key), not "no key".
  EXPECT_EQ(Hex(HMAC::Sign(JOSEBytes(), JOSEBytes(), HMACAlgorithm::SHA256)),
            "b613679a0814d9ec772f95d778c35fc5ff1697c493715653c6c712144292c5ad");
}

class HmacAlgorithmTest : public ::testing::Test {
 protected:
  const JOSEBytes key_ = Base64::URLDecode(JOSEBytes(testing::kA1Key));
  const JOSEBytes input_ =
      JOSEBytes(std::string(testing::kA1Header) + "." + std::string(testing::kA1Payload));
  const std::shared_ptr<const JOSESigningAlgorithm> hs256_ = Lookup("HS256");
};

TEST_F(HmacAlgorithmTest, SignatureSegmentIsComparedAsReceived) {
  ASSERT_NE(hs256_, nullptr);
  EXPECT_EQ(hs256_->Sign(key_, input_).ToString(), testing::kA1Signature);
  struct Case {
    std::string signature;
    bool want;
  };
  const std::string sig(testing::kA1Signature);
  const Case cases[] = {
      {sig, true},
      {sig + "=", false},                      // same bytes, written with padding
      {sig.substr(0, sig.size() - 1), false},  // truncated
      {"", false},
      {std::string(sig).replace(0, 1, "e"), false},
      {Base64::Encode(Base64::URLDecode(JOSEBytes(sig))).ToString(), false},  // std alphabet
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.signature);
    EXPECT_EQ(hs256_->VerifySignature(key_, input_, JOSEBytes(c.signature)), c.want);
  }
  EXPECT_FALSE(hs256_->VerifySignature(JOSEBytes("other"), input_, JOSEBytes(sig)));
}

TEST_F(HmacAlgorithmTest, KeyChecks) {
  EXPECT_EQ(MessageOf([&] { hs256_->ValidateVerificationKey(JOSEBytes("QXZ-tenants#7788")); }),
            "Key is too short (128bit), expected (256bit)");
  EXPECT_EQ(MessageOf([&] { hs256_->ValidateSigningKey(JOSEBytes()); }), "Key is null");
  EXPECT_NO_THROW(Lookup("HS512")->ValidateVerificationKey(JOSEBytes(std::string(64, 'k'))));
  EXPECT_EQ(
      MessageOf([&] { Lookup("HS384")->ValidateSigningKey(JOSEBytes(std::string(47, 'k'))); }),
      "Key is too short (376bit), expected (384bit)");
  // Verification itself does not measure the key.
  const JOSEBytes short_key("QXZ-tenants#7788");
  EXPECT_TRUE(hs256_->VerifySignature(short_key, input_, hs256_->Sign(short_key, input_)));
}

TEST_F(HmacAlgorithmTest, PemKeyIsNeverAnHmacSecret) {
  // An HS256 token MACed with a public key's PEM text must not verify with
  // that public key: the key-confusion attack on asymmetric deployments.
  const JOSEBytes public_pem(testing::RsaKey().public_pem);
  const JOSEBytes forged = hs256_->Sign(public_pem, input_);
  EXPECT_THROW(hs256_->VerifySignature(public_pem, input_, forged), JOSEException);
}

TEST(AlgorithmRegistryTest, DefaultSigningAlgorithms) {
  struct Case {
    const char* text;
    bool registered;
    JOSEKeyCategory category;
    const char* key_type;
  };
  const Case cases[] = {
      {"HS256", true, JOSEKeyCategory::Symmetric, "oct"},
      {"HS384", true, JOSEKeyCategory::Symmetric, "oct"},
      {"HS512", true, JOSEKeyCategory::Symmetric, "oct"},
      {"RS256", true, JOSEKeyCategory::Asymmetric, "pem"},
      {"RS384", true, JOSEKeyCategory::Asymmetric, "pem"},
      {"RS512", true, JOSEKeyCategory::Asymmetric, "pem"},
      {"ES256", true, JOSEKeyCategory::Asymmetric, "pem"},
      {"ES256K", true, JOSEKeyCategory::Asymmetric, "pem"},
      {"ES384", true, JOSEKeyCategory::Asymmetric, "pem"},
      {"ES512", true, JOSEKeyCategory::Asymmetric, "pem"},
      {"none", false, {}, ""},
      {"PS256", false, {}, ""},
      {"hs256", false, {}, ""},
      {"", false, {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto algorithm = Lookup(c.text);
    ASSERT_EQ(algorithm != nullptr, c.registered);
    if (!algorithm) continue;
    EXPECT_EQ(JOSEAlgorithmIdHelper::AsString(algorithm->GetAlgorithmIdentifier()), c.text);
    EXPECT_EQ(algorithm->GetKeyCategory(), c.category);
    EXPECT_EQ(algorithm->GetKeyType(), c.key_type);
  }
  auto& factory = JOSEAlgorithmRegistryFactory::GetInstance();
  EXPECT_EQ(factory.SigningAlgorithmRegistry().Name(), "alg");
  EXPECT_EQ(factory.EncryptionAlgorithmRegistry().GetAlgorithm("HS256"), nullptr);
}

TEST(AlgorithmRegistryTest, RegisterTwiceFailsAndUnregisterRemoves) {
  JOSEAlgorithmRegistry<JOSESigningAlgorithm> registry("alg");
  registry.RegisterAlgorithm(HmacUsingShaAlgorithm::HmacSha256())
      .RegisterAlgorithm(HmacUsingShaAlgorithm::HmacSha384());
  EXPECT_THROW(registry.RegisterAlgorithm(HmacUsingShaAlgorithm::HmacSha256()), JOSEException);
  registry.UnregisterAlgorithm(JOSEAlgorithmId::HS256);
  registry.UnregisterAlgorithm("HS999");
  EXPECT_EQ(registry.GetAlgorithm("HS256"), nullptr);
  EXPECT_NE(registry.GetAlgorithm("HS384"), nullptr);
}

TEST(RSAAlgorithmTest, KeyThatIsNoPemFailsBeforeAnyDecoding) {
  const auto rs256 = Lookup("RS256");
  for (const char* key : {"QXZ-tenants#7788", "-----BEGIN PUBLIC KEY-----\nnonsense\n"}) {
    SCOPED_TRACE(key);
    EXPECT_EQ(MessageOf([&] {
                rs256->VerifySignature(JOSEBytes(key), JOSEBytes("a.b"), JOSEBytes("!"));
              }),
              "Key is not RSA key in PEM format");
  }
  EXPECT_EQ(MessageOf([&] { rs256->ValidateSigningKey(JOSEBytes()); }), "Key is null");
  // An EC key is PEM but no RSA key.
  EXPECT_EQ(MessageOf([&] {
              rs256->ValidateVerificationKey(JOSEBytes(testing::NewEcKey("P-256").public_pem));
            }),
            "Key is not RSA key in PEM format");
}

TEST(RSAAlgorithmTest, SignAndVerifyEveryHash) {
  const KeyPair& pair = testing::RsaKey();
  const JOSEBytes input("eyJhbGciOiJSUzI1NiJ9.cGF5bG9hZA");
  for (const char* alg : {"RS256", "RS384", "RS512"}) {
    SCOPED_TRACE(alg);
    const auto algorithm = Lookup(alg);
    algorithm->ValidateSigningKey(JOSEBytes(pair.private_pem));
    const JOSEBytes sig = algorithm->Sign(JOSEBytes(pair.private_pem), input);
    EXPECT_EQ(Base64::URLDecode(sig).Size(), 256u);
    EXPECT_TRUE(algorithm->VerifySignature(JOSEBytes(pair.public_pem), input, sig));
    EXPECT_FALSE(algorithm->VerifySignature(JOSEBytes(pair.public_pem), JOSEBytes("x.y"), sig));
  }
  // The same signature under another hash does not verify.
  const JOSEBytes sig256 = Lookup("RS256")->Sign(JOSEBytes(pair.private_pem), input);
  EXPECT_FALSE(Lookup("RS384")->VerifySignature(JOSEBytes(pair.public_pem), input, sig256));
}

TEST(RSAAlgorithmTest, Pkcs1PublicKeysLoad) {
  const KeyPair& pair = testing::RsaKey();
  const std::string pkcs1 = testing::Pkcs1PublicPem(pair.public_pem);
  ASSERT_TRUE(pkcs1.starts_with("-----BEGIN RSA PUBLIC KEY-----"));
  const JOSEBytes input("a.b");
  const JOSEBytes raw = RSA::Sign(input, JOSEBytes(pair.private_pem), RSAAlgorithm::RS256);
  EXPECT_TRUE(RSA::Verify(input, raw, RSAAlgorithm::RS256, JOSEBytes(pkcs1)));
  EXPECT_TRUE(RSA::VerifyPrivateKey(JOSEBytes(pair.private_pem)));
  EXPECT_FALSE(RSA::VerifyPrivateKey(JOSEBytes(pair.public_pem)));
  EXPECT_THROW(RSA::Sign(input, JOSEBytes(pair.public_pem), RSAAlgorithm::RS256), SignException);
  EXPECT_TRUE(MessageOf([&] {
                RSA::LoadPublicKey(JOSEBytes("junk"));
              }).starts_with("[RSA] Unable to load public key: "));
}

struct CurveCase {
  const char* alg;
  const char* curve;
  ECDSAAlgorithm algorithm;
  std::size_t size;
  int nid;
};

constexpr CurveCase kCurves[] = {
    {"ES256", "P-256", ECDSAAlgorithm::ES256, 64, NID_X9_62_prime256v1},
    {"ES256K", "secp256k1", ECDSAAlgorithm::ES256K, 64, NID_secp256k1},
    {"ES384", "P-384", ECDSAAlgorithm::ES384, 96, NID_secp384r1},
    {"ES512", "P-521", ECDSAAlgorithm::ES512, 132, NID_secp521r1},
};

class ECDSAAlgorithmTest : public ::testing::TestWithParam<CurveCase> {
 protected:
  void SetUp() override { pair_ = testing::NewEcKey(GetParam().curve); }
  BignumPtr Order() const {
    EcGroupPtr group(EC_GROUP_new_by_curve_name(GetParam().nid));
    return BignumPtr(BN_dup(EC_GROUP_get0_order(group.get())));
  }
  // A raw R||S signature with the given numbers, each in half the size.
  std::string RawOf(const BIGNUM* r, const BIGNUM* s) const {
    const int half = static_cast<int>(GetParam().size / 2);
    std::string out(GetParam().size, '\0');
    BN_bn2binpad(r, reinterpret_cast<unsigned char*>(out.data()), half);
    BN_bn2binpad(s, reinterpret_cast<unsigned char*>(out.data()) + half, half);
    return out;
  }
  KeyPair pair_;
  const JOSEBytes input_{"eyJhbGciOiJFUzI1NiJ9.cGF5bG9hZA"};
};

TEST_P(ECDSAAlgorithmTest, SignProducesFixedLengthAndVerifies) {
  const auto algorithm = Lookup(GetParam().alg);
  const JOSEBytes sig = algorithm->Sign(JOSEBytes(pair_.private_pem), input_);
  EXPECT_EQ(Base64::URLDecode(sig).Size(), GetParam().size);
  EXPECT_TRUE(algorithm->VerifySignature(JOSEBytes(pair_.public_pem), input_, sig));
  EXPECT_FALSE(algorithm->VerifySignature(JOSEBytes(pair_.public_pem), JOSEBytes("x"), sig));
  const KeyPair other = testing::NewEcKey(GetParam().curve);
  EXPECT_FALSE(algorithm->VerifySignature(JOSEBytes(other.public_pem), input_, sig));
}

TEST_P(ECDSAAlgorithmTest, SignatureOfTheWrongLengthIsRefused) {
  const JOSEBytes raw = ECDSA::Sign(input_, JOSEBytes(pair_.private_pem), GetParam().algorithm);
  ASSERT_TRUE(ECDSA::Verify(input_, raw, GetParam().algorithm, JOSEBytes(pair_.public_pem)));
  const std::string s = raw.ToString();
  for (const std::string& bad : {s.substr(0, s.size() - 1), s + std::string(1, '\0'),
                                 std::string(1, '\0') + s, s + s, std::string()}) {
    SCOPED_TRACE(bad.size());
    EXPECT_FALSE(
        ECDSA::Verify(input_, JOSEBytes(bad), GetParam().algorithm, JOSEBytes(pair_.public_pem)));
  }
}

TEST_P(ECDSAAlgorithmTest, OutOfRangeNumbersAreRefused) {
  const JOSEBytes raw = ECDSA::Sign(input_, JOSEBytes(pair_.private_pem), GetParam().algorithm);
  const int half = static_cast<int>(GetParam().size / 2);
  BignumPtr r(BN_bin2bn(raw.Data(), half, nullptr));
  BignumPtr s(BN_bin2bn(raw.Data() + half, half, nullptr));
  BignumPtr zero(BN_new());
  BN_zero(zero.get());
  const BignumPtr order = Order();
  BignumPtr r_plus_n(BN_new());
  BN_add(r_plus_n.get(), r.get(), order.get());  // same residue, out of range
  struct Case {
    const char* name;
    const BIGNUM* r;
    const BIGNUM* s;
  };
  const Case cases[] = {
      {"RZero", zero.get(), s.get()},          {"SZero", r.get(), zero.get()},
      {"ROrder", order.get(), s.get()},        {"SOrder", r.get(), order.get()},
      {"RPlusOrder", r_plus_n.get(), s.get()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (BN_num_bytes(c.r) > half || BN_num_bytes(c.s) > half) continue;  // cannot be written
    EXPECT_FALSE(ECDSA::Verify(input_, JOSEBytes(RawOf(c.r, c.s)), GetParam().algorithm,
                               JOSEBytes(pair_.public_pem)));
    EXPECT_TRUE(ECDSA::RawToDER(JOSEBytes(RawOf(c.r, c.s)), *order).IsEmpty());
  }
}

TEST_P(ECDSAAlgorithmTest, RawAndDerConvertExactly) {
  const BignumPtr order = Order();
  for (int i = 0; i < 8; ++i) {
    const JOSEBytes raw = ECDSA::Sign(input_, JOSEBytes(pair_.private_pem), GetParam().algorithm);
    const JOSEBytes der = ECDSA::RawToDER(raw, *order);
    ASSERT_FALSE(der.IsEmpty());
    EXPECT_EQ(ECDSA::DERToRaw(der, GetParam().size), raw);
  }
  // Small numbers are right-aligned with leading zeros.
  BignumPtr one(BN_new()), two(BN_new());
  BN_set_word(one.get(), 1);
  BN_set_word(two.get(), 0x80);  // DER needs a leading zero byte for it
  const std::string raw = RawOf(one.get(), two.get());
  const JOSEBytes der = ECDSA::RawToDER(JOSEBytes(raw), *order);
  EXPECT_EQ(Hex(der),
            "3007020101020200"
            "80");
  EXPECT_EQ(ECDSA::DERToRaw(der, GetParam().size).ToString(), raw);
  EXPECT_TRUE(ECDSA::DERToRaw(der + std::uint8_t{0}, GetParam().size).IsEmpty());  // trailing
  EXPECT_TRUE(ECDSA::DERToRaw(JOSEBytes("0"), GetParam().size).IsEmpty());
}

TEST_P(ECDSAAlgorithmTest, KeyOfAnotherCurveIsRefused) {
  const char* other_curve = std::string_view(GetParam().curve) == "P-384" ? "P-256" : "P-384";
  const KeyPair other = testing::NewEcKey(other_curve);
  EXPECT_THROW(ECDSA::Sign(input_, JOSEBytes(other.private_pem), GetParam().algorithm),
               std::runtime_error);
  const JOSEBytes raw(std::string(GetParam().size, '\x01'));
  EXPECT_THROW(ECDSA::Verify(input_, raw, GetParam().algorithm, JOSEBytes(other.public_pem)),
               std::runtime_error);
}

INSTANTIATE_TEST_SUITE_P(Curves, ECDSAAlgorithmTest, ::testing::ValuesIn(kCurves),
                         [](const auto& info) { return std::string(info.param.alg); });

TEST(ECDSAKeyTest, KeyChecks) {
  const auto es256 = Lookup("ES256");
  EXPECT_EQ(MessageOf([&] {
              es256->VerifySignature(JOSEBytes("QXZ-tenants#7788"), JOSEBytes("a.b"),
                                     JOSEBytes("x"));
            }),
            "Key is not ECDSA key in PEM format");
  EXPECT_EQ(
      MessageOf([&] { es256->ValidateVerificationKey(JOSEBytes(testing::RsaKey().public_pem)); }),
      "Key is not ECDSA key in PEM format");
  EXPECT_EQ(MessageOf([&] { es256->ValidateSigningKey(JOSEBytes()); }), "Key is null");
  EXPECT_TRUE(MessageOf([&] {
                ECDSA::LoadPrivateKey(JOSEBytes("junk"));
              }).starts_with("[ECDSA] Unable to load private key: "));
  EXPECT_EQ(ECDSA::SignatureSize(ECDSAAlgorithm::ES512), 132u);
}

TEST(CertificateTest, KeysComeFromCertificates) {
  const KeyPair ec = testing::NewEcKey("P-256");
  const std::string cert = testing::SelfSignedCertificate(ec.private_pem);
  EXPECT_EQ(SigningBase::PublicKeyFromCertificate(JOSEBytes(cert)).ToString(), ec.public_pem);
  EXPECT_TRUE(SigningBase::VerifyCertificate(JOSEBytes(cert), EVP_PKEY_EC));
  EXPECT_FALSE(SigningBase::VerifyCertificate(JOSEBytes(cert), EVP_PKEY_RSA));
  const JOSEBytes input("a.b");
  const JOSEBytes raw = ECDSA::Sign(input, JOSEBytes(ec.private_pem), ECDSAAlgorithm::ES256);
  EXPECT_TRUE(ECDSA::VerifyWithCertificate(input, raw, ECDSAAlgorithm::ES256, JOSEBytes(cert)));
  EXPECT_EQ(MessageOf([&] {
              RSA::VerifyWithCertificate(input, raw, RSAAlgorithm::RS256, JOSEBytes(cert));
            }),
            "[OpenSSL] Unsupported algorithm type in X509 public key (RSA expected)");

  const std::string rsa_cert = testing::SelfSignedCertificate(testing::RsaKey().private_pem);
  const JOSEBytes rsa_sig =
      RSA::Sign(input, JOSEBytes(testing::RsaKey().private_pem), RSAAlgorithm::RS256);
  EXPECT_TRUE(RSA::VerifyWithCertificate(input, rsa_sig, RSAAlgorithm::RS256, JOSEBytes(rsa_cert)));

  EXPECT_EQ(MessageOf([&] { SigningBase::LoadCertificate(JOSEBytes(ec.public_pem)); }),
            "[OpenSSL] Not a valid X509 certificate");
  EXPECT_EQ(MessageOf([&] {
              SigningBase::LoadCertificate(
                  JOSEBytes("-----BEGIN CERTIFICATE-----\nAAAA\n-----END CERTIFICATE-----\n"));
            }),
            "[OpenSSL] Error loading X509 certificate");
}

}  // namespace
}  // namespace quorvane::jose
