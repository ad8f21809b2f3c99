// Bearer tokens under hostile bytes, along the server's own path: the JWT
// middleware (HS256/384/512 with a fixed secret, exactly as start-up installs
// it), then the compact parser with every header and claim reader, then
// signature verification with the RSA and EC public keys of RFC 7515.
// Properties: nothing crashes and nothing but the middleware's own refusal
// leaves it; a token the middleware accepts carries an HMAC algorithm and a
// signature that really is the HMAC of its signing input under the secret
// (checked with OpenSSL directly); no token verifies under a PEM public key
// unless its algorithm is one of that key's family (no HMAC-with-public-key
// confusion, no "none").
//
// Input: the value of the Authorization header. Seeds:
// fuzz/corpus/jose_fuzz/ (RFC 7515/7519 tokens, tokens minted with the fixed
// secret, and edge cases: alg none, wrong-length ECDSA signatures, ...).

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "../tests/jose/rfc_vectors.h"
#include "../tests/jose/test_keys.h"
#include "fuzz_check.h"
#include "jose/base64.h"
#include "jose/context.h"
#include "jose/jws.h"
#include "jose/parts.h"
#include "web/core/raw_web.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"
#include "web/middleware/web_jwt.h"

namespace {

namespace jose = quorvane::jose;
namespace core = quorvane::web::core;

struct Keys {
  std::string secret;  // RFC 7515 A.1, raw bytes
  std::string rsa_public;
  std::string ec256_public;
  std::string ec521_public;
  core::WebCallback middleware;

  Keys() {
    namespace t = jose::testing;
    secret = t::B64u(t::kA1Key);
    rsa_public = t::RsaPemFromJwk(t::kA2N, t::kA2E, "");
    ec256_public = t::EcPemFromJwk("P-256", t::kA3X, t::kA3Y, "");
    ec521_public = t::EcPemFromJwk("P-521", t::kA4X, t::kA4Y, "");
    middleware = quorvane::web::middleware::WebJWT(secret, "authorization");
  }
};

const Keys& GetKeys() {
  static const Keys* keys = new Keys();
  return *keys;
}

const EVP_MD* HmacDigest(std::string_view alg) {
  if (alg == "HS256") return EVP_sha256();
  if (alg == "HS384") return EVP_sha384();
  if (alg == "HS512") return EVP_sha512();
  return nullptr;
}

// Whether `token` (after the middleware's removal of "bearer ") is signed
// with `secret` under its header's HMAC algorithm.
bool IsGenuineHmacToken(const std::string& token, const std::string& secret) {
  jose::JOSEContext context{jose::JOSEBytes(token)};
  const std::string alg = context.GetHeader().Algorithm();
  const EVP_MD* md = HmacDigest(alg);
  if (md == nullptr) return false;
  const auto& jws = context.GetJOSEObject<jose::JWS>();
  const std::string input = jws.GetSigningInput().ToString();
  unsigned char mac[EVP_MAX_MD_SIZE];
  unsigned int mac_len = 0;
  HMAC(md, secret.data(), static_cast<int>(secret.size()),
       reinterpret_cast<const unsigned char*>(input.data()), input.size(), mac, &mac_len);
  const std::string expected =
      jose::Base64::URLEncode(
          jose::JOSEBytes(std::string(reinterpret_cast<const char*>(mac), mac_len)))
          .ToString();
  return expected == jws.Signature().ToString();
}

void ReadEverything(jose::JOSEContext& context) {
  const jose::JWTHeader& header = context.GetHeader();
  (void)header.Algorithm();
  (void)header.HeaderType();
  (void)header.KeyID();
  const jose::JWTClaims& claims = context.GetClaims();
  try {
    (void)claims.Issuer();
    (void)claims.Subject();
    (void)claims.JWTId();
    (void)claims.HasAudience();
    (void)claims.Audience();
    (void)claims.AudienceArray();
    (void)claims.Expiration();
    (void)claims.NotBefore();
    (void)claims.IssuedAt();
    (void)claims.Clone();
  } catch (const std::exception&) {
    // A claim of the wrong JSON type is refused by its reader.
  }
}

bool Family(std::string_view alg, std::string_view prefix) { return alg.substr(0, 2) == prefix; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Keys& keys = GetKeys();
  const std::string header_value(reinterpret_cast<const char*>(data), size);

  // 1. The middleware, as a request meets it.
  core::RawRequest raw_req;
  raw_req.AddHeader("authorization", header_value);
  core::RawResponse raw_res;
  bool accepted = false;
  {
    core::WebRequest req(raw_req);
    core::WebResponse res(raw_res);
    try {
      keys.middleware(req, res, [&accepted] { accepted = true; });
    } catch (const core::WebCallbackInterrupted&) {
      QV_FUZZ_CHECK(raw_res.status() == 401, raw_res.body());
    }
    if (accepted) QV_FUZZ_CHECK(req.Session() != nullptr, header_value);
  }
  if (accepted) {
    std::string token = header_value;
    // The middleware's own rule: the first "bearer " (any case) goes.
    for (std::size_t i = 0; i + 7 <= token.size(); ++i) {
      std::string word = token.substr(i, 7);
      for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (word == "bearer ") {
        token.erase(i, 7);
        break;
      }
    }
    QV_FUZZ_CHECK(IsGenuineHmacToken(token, keys.secret), header_value);
  }

  // 2. The parser and the readers, on the bytes as a token.
  std::unique_ptr<jose::JOSEContext> context;
  try {
    context = std::make_unique<jose::JOSEContext>(jose::JOSEBytes(header_value));
  } catch (const std::exception&) {
    return 0;  // refused by the parser
  }
  ReadEverything(*context);

  // 3. Verification under public keys.
  const std::string alg = context->GetHeader().Algorithm();
  const struct {
    const std::string* pem;
    std::string_view family;
  } verifiers[] = {
      {&keys.rsa_public, "RS"}, {&keys.ec256_public, "ES"}, {&keys.ec521_public, "ES"}};
  for (const auto& v : verifiers) {
    auto& jws = context->GetJOSEObject<jose::JWS>();
    jws.SetKey(jose::JOSEBytes(*v.pem));
    bool verified = false;
    try {
      verified = jws.VerifySignature();
    } catch (const std::exception&) {
      verified = false;
    }
    if (verified)
      QV_FUZZ_CHECK(Family(alg, v.family),
                    alg + " verified under a " + std::string(v.family) + " key");
  }
  return 0;
}
