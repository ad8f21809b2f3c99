// JWS objects and the token context, anchored on RFC 7515 Appendix A and
// RFC 7519 section 3.1.

#include "jose/jws.h"

#include <gtest/gtest.h>

#include "jose/base64.h"
#include "jose/context.h"
#include "jose/exceptions.h"
#include "rfc_vectors.h"
#include "test_keys.h"

namespace quorvane::jose {
namespace {

using namespace testing;

std::string Join(std::string_view a, std::string_view b, std::string_view c) {
  return std::string(a) + "." + std::string(b) + "." + std::string(c);
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

TEST(RFC7515Test, A1SigningInputIsReproducedAndVerifies) {
  // The signing input is the segments of the exact JSON bytes, line breaks
  // included.
  EXPECT_EQ(Base64::URLEncode(JOSEBytes(kA1HeaderJson)).ToString(), kA1Header);
  EXPECT_EQ(Base64::URLEncode(JOSEBytes(kA1PayloadJson)).ToString(), kA1Payload);
  JOSEContext context(JOSEBytes(Join(kA1Header, kA1Payload, kA1Signature)));
  auto& jws = context.GetJOSEObject<JWS>();
  EXPECT_EQ(jws.GetSigningInput().ToString(),
            std::string(kA1Header) + "." + std::string(kA1Payload));
  jws.SetKey(Base64::URLDecode(JOSEBytes(kA1Key)));
  EXPECT_TRUE(jws.VerifySignature());
  EXPECT_TRUE(context.GetJWT().Verified());
  EXPECT_EQ(jws.GetCompactToken().ToString(), Join(kA1Header, kA1Payload, kA1Signature));
}

TEST(RFC7515Test, A2RS256Verifies) {
  const std::string public_pem = RsaPemFromJwk(kA2N, kA2E, "");
  JOSEContext context(JOSEBytes(Join(kA2Header, kA1Payload, kA2Signature)));
  auto& jws = context.GetJOSEObject<JWS>();
  EXPECT_EQ(jws.HeaderAlgorithmId(), JOSEAlgorithmId::RS256);
  jws.SetKey(JOSEBytes(public_pem));
  EXPECT_TRUE(jws.VerifySignature());
  // One changed payload byte breaks it.
  JOSEContext tampered(JOSEBytes(Join(kA2Header, "eyJpc3MiOiJqb2UifQ", kA2Signature)));
  tampered.GetJOSEObject<JWS>().SetKey(JOSEBytes(public_pem));
  EXPECT_FALSE(tampered.GetJOSEObject<JWS>().VerifySignature());
}

TEST(RFC7515Test, A3ES256Verifies) {
  const std::string public_pem = EcPemFromJwk("P-256", kA3X, kA3Y, "");
  JOSEContext context(JOSEBytes(Join(kA3Header, kA1Payload, kA3Signature)));
  auto& jws = context.GetJOSEObject<JWS>();
  EXPECT_EQ(jws.GetSigningInput().ToString(),
            std::string(kA3Header) + "." + std::string(kA1Payload));
  jws.SetKey(JOSEBytes(public_pem));
  EXPECT_TRUE(jws.VerifySignature());
  // A 63-byte signature (one byte short) is refused, not split unevenly.
  const std::string short_sig =
      Base64::URLEncode(
          JOSEBytes(Base64::URLDecode(JOSEBytes(kA3Signature)).ToString().substr(0, 63)))
          .ToString();
  JOSEContext shortened(JOSEBytes(Join(kA3Header, kA1Payload, short_sig)));
  shortened.GetJOSEObject<JWS>().SetKey(JOSEBytes(public_pem));
  EXPECT_FALSE(shortened.GetJOSEObject<JWS>().VerifySignature());
}

TEST(RFC7515Test, A4ES512Verifies) {
  const std::string public_pem = EcPemFromJwk("P-521", kA4X, kA4Y, "");
  JOSEContext context(JOSEBytes(Join(kA4Header, kA4Payload, kA4Signature)));
  auto& jws = context.GetJOSEObject<JWS>();
  EXPECT_EQ(Base64::URLDecode(jws.Payload()).ToString(), "Payload");
  EXPECT_EQ(Base64::URLDecode(jws.Signature()).Size(), 132u);
  jws.SetKey(JOSEBytes(public_pem));
  EXPECT_TRUE(jws.VerifySignature());
  // The payload is no JSON: the claims stay empty.
  EXPECT_EQ(context.GetClaims().JSON().size(), 0u);
}

TEST(RFC7519Test, Section31ExampleParsesToItsClaims) {
  JOSEContext context(JOSEBytes(Join(kA1Header, kA1Payload, kA1Signature)));
  EXPECT_EQ(context.GetHeader().HeaderType(), "JWT");
  EXPECT_EQ(context.GetHeader().Algorithm(), "HS256");
  const JWTClaims& claims = context.GetClaims();
  EXPECT_EQ(claims.Issuer(), "joe");
  EXPECT_EQ(claims.Expiration().AsSeconds(), 1300819380);
  ASSERT_NE(claims.JSON().Find("http://example.com/is_root"), nullptr);
  EXPECT_TRUE(claims.JSON().Find("http://example.com/is_root")->AsBoolean());
  EXPECT_EQ(claims.JSON().size(), 3u);
}

struct ContextCase {
  const char* name;
  std::string token;
  const char* error;  // "" when a context results
};

class ContextReadTest : public ::testing::TestWithParam<ContextCase> {};

TEST_P(ContextReadTest, SegmentRules) {
  const ContextCase& c = GetParam();
  if (*c.error == '\0') {
    EXPECT_NO_THROW(JOSEContext context{JOSEBytes(c.token)});
  } else {
    EXPECT_EQ(MessageOf([&] { JOSEContext context{JOSEBytes(c.token)}; }), c.error);
  }
}

const std::string kHeaderArray = Base64::URLEncode(JOSEBytes("[1]")).ToString();
const std::string kPayloadString = Base64::URLEncode(JOSEBytes("\"s\"")).ToString();

INSTANTIATE_TEST_SUITE_P(
    Table, ContextReadTest,
    ::testing::Values(
        ContextCase{"Empty", "", "Malformed Compact Serialization"},
        ContextCase{"OneSegment", "abc", "Malformed Compact Serialization"},
        ContextCase{"TwoSegments", "a.b", "Malformed Compact Serialization"},
        ContextCase{"FourSegments", "a.b.c.d", "Malformed Compact Serialization"},
        ContextCase{"FiveSegments", "a.b.c.d.e",
                    "Compact Serialization appears to be a JWE Token wich is not (yet) supported"},
        ContextCase{"FiveEmptySegments", "....",
                    "Compact Serialization appears to be a JWE Token wich is not (yet) supported"},
        ContextCase{"SixSegments", "a.b.c.d.e.f", "Malformed Compact Serialization"},
        ContextCase{"ThreeEmptySegments", "..", ""}, ContextCase{"HeaderNotJson", "a.b.c", ""},
        ContextCase{"HeaderArray", kHeaderArray + ".e30.x", "Invalid class typecast"},
        ContextCase{"PayloadString", "e30." + kPayloadString + ".x", "Invalid class typecast"},
        ContextCase{"LineBreakInSegment", "e30\n.e30.x", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CompactSerializationTest, Cutting) {
  EXPECT_EQ(SplitCompactSerialization("a..b"), (std::vector<std::string_view>{"a", "", "b"}));
  EXPECT_TRUE(SplitCompactSerialization("").empty());
  EXPECT_EQ(SplitCompactSerialization("."), (std::vector<std::string_view>{"", ""}));
  EXPECT_EQ(JoinCompactSerialization({JOSEBytes("a"), JOSEBytes(""), JOSEBytes("c")}).ToString(),
            "a..c");
}

TEST(JWSTest, HeaderThatIsNoJsonHasNoAlgorithm) {
  JOSEContext context(JOSEBytes("bm90IGpzb24.e30.x"));
  EXPECT_EQ(lib::ToJson(context.GetHeader().JSON()), R"({"typ":"JWT"})");
  auto& jws = context.GetJOSEObject<JWS>();
  jws.SetKey(JOSEBytes("k"));
  EXPECT_EQ(MessageOf([&] { jws.VerifySignature(); }), "Signature algorithm header (alg) not set.");
}

TEST(JWSTest, UnregisteredAlgorithmsAreNotSupported) {
  for (const char* alg : {"none", "PS256", "hs256"}) {
    SCOPED_TRACE(alg);
    JWT token;
    JWS jws(token);
    jws.SetHeaderAlgorithm(alg);
    jws.SetKey(JOSEBytes("k"));
    EXPECT_EQ(MessageOf([&] { jws.VerifySignature(); }),
              std::string("Signing algorithm (") + alg + ") is not supported.");
    EXPECT_FALSE(token.Verified());
  }
}

TEST(JWSTest, PayloadThatIsNoJsonStillVerifies) {
  JWT token;
  JWS signer(token);
  const JOSEBytes key("QXZ-tenants#7788");
  // Sign a header, then put a non-JSON payload segment in place and MAC the
  // segments as they stand.
  signer.SetHeaderAlgorithm(JOSEAlgorithmId::HS256);
  signer.SetKey(key);
  signer.SetSkipKeyValidation(true);
  signer.Sign();
  signer.SetPayload(JOSEBytes("bm90IGpzb24"));
  const auto hs256 =
      JOSEAlgorithmRegistryFactory::GetInstance().SigningAlgorithmRegistry().GetAlgorithm("HS256");
  signer.SetSignature(hs256->Sign(key, signer.GetSigningInput()));

  JOSEContext context(signer.GetCompactToken());
  EXPECT_EQ(context.GetClaims().JSON().size(), 0u);
  auto& jws = context.GetJOSEObject<JWS>();
  jws.SetKey(key);
  jws.SetSkipKeyValidation(true);
  EXPECT_TRUE(jws.VerifySignature());

  // The same signature written with a trailing "=" is a different segment.
  JOSEContext padded(JOSEBytes(signer.GetCompactToken().ToString() + "="));
  padded.GetJOSEObject<JWS>().SetKey(key);
  padded.GetJOSEObject<JWS>().SetSkipKeyValidation(true);
  EXPECT_FALSE(padded.GetJOSEObject<JWS>().VerifySignature());
}

TEST(JWSTest, SignThenVerifyRoundTrip) {
  JWT token;
  token.Claims().SetSubject("branch-7");
  token.Claims().SetExpiration(JOSENumericDate::FromSeconds(4102444800));
  JWS jws(token);
  const JWK key = JWK::Create(JOSEBytes(std::string(32, 's')));
  const JOSEBytes signature = jws.Sign(key, JOSEAlgorithmId::HS256);
  EXPECT_EQ(signature, jws.Signature());

  JWT parsed;
  JWS reader(parsed);
  EXPECT_TRUE(reader.VerifySignature(key, jws.GetCompactToken()));
  EXPECT_TRUE(parsed.Verified());
  EXPECT_EQ(parsed.Claims().Subject(), "branch-7");
  // Key validation applies to signing unless skipped.
  JWT other;
  JWS weak(other);
  EXPECT_EQ(MessageOf([&] { weak.Sign(JWK::Create(JOSEBytes("short")), JOSEAlgorithmId::HS256); }),
            "Key is too short (40bit), expected (256bit)");
}

TEST(JWSTest, AsymmetricRoundTripAndCertificateKey) {
  const KeyPair ec = NewEcKey("P-256");
  JWT token;
  token.Claims().SetIssuer("quorvane");
  JWS jws(token);
  jws.Sign(JWK::Create(JOSEBytes(ec.private_pem)), JOSEAlgorithmId::ES256);
  JWT parsed;
  JWS reader(parsed);
  reader.SetCompactToken(jws.GetCompactToken());
  reader.SetKeyFromCert(JOSEBytes(SelfSignedCertificate(ec.private_pem)));
  EXPECT_TRUE(reader.VerifySignature());
}

TEST(JWSTest, SegmentsAndClearing) {
  JWT token;
  JWS jws(token);
  EXPECT_EQ(jws.Parts().size(), 3u);
  jws.SetHeader(JOSEBytes("h"));
  jws.SetPayload(JOSEBytes("p"));
  jws.SetSignature(JOSEBytes("s"));
  EXPECT_EQ(jws.GetCompactToken().ToString(), "h.p.s");
  jws.Empty();
  EXPECT_EQ(jws.GetCompactToken().ToString(), "..");
  jws.Clear();
  EXPECT_THROW(jws.Header(), std::out_of_range);
  EXPECT_THROW(jws.Signature(), std::out_of_range);
  EXPECT_EQ(MessageOf([&] { jws.SetCompactToken(JOSEBytes("a.b")); }),
            "A JWS Compact Serialization must have 3 parts");
}

struct SessionClaims : JWTClaims {};

TEST(JOSEContextTest, ClaimsClassAndCasts) {
  JOSEContext context(JOSEBytes(Join(kA1Header, kA1Payload, kA1Signature)),
                      ClaimsClassOf<SessionClaims>());
  EXPECT_NO_THROW(context.GetClaims<SessionClaims>());
  EXPECT_EQ(context.GetClaims<SessionClaims>().Issuer(), "joe");
  JOSEContext plain(JOSEBytes(Join(kA1Header, kA1Payload, kA1Signature)));
  EXPECT_THROW(plain.GetClaims<SessionClaims>(), InvalidCastException);
  EXPECT_EQ(plain.CompactToken().ToString(), Join(kA1Header, kA1Payload, kA1Signature));
}

}  // namespace
}  // namespace quorvane::jose
