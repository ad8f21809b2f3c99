// What every authenticated request pays for its token: one consumer build,
// one parse and one HMAC, with a token of the size branch systems send.

#include <benchmark/benchmark.h>

#include "jose/base64.h"
#include "jose/consumer.h"
#include "jose/context.h"
#include "jose/jwa_signing.h"

namespace {

using namespace quorvane::jose;

const JOSEBytes kKey("QXZ-tenants#7788");

// An HS256 token with the claims a branch token typically carries (about
// 300 bytes).
std::string TypicalToken(std::string_view alg = "HS256",
                         HMACAlgorithm hash = HMACAlgorithm::SHA256) {
  const std::string header = R"({"alg":")" + std::string(alg) + R"(","typ":"JWT"})";
  const std::string claims =
      R"({"iss":"erp.quorvane","sub":"filial-0007","jti":"c2d1f0e4a9b84f6e","schema":"loja_central",)"
      R"("user":"caixa03","iat":1700000000,"exp":4102444800})";
  const std::string input = Base64::URLEncode(JOSEBytes(header)).ToString() + "." +
                            Base64::URLEncode(JOSEBytes(claims)).ToString();
  return input + "." + Base64::URLEncode(HMAC::Sign(JOSEBytes(input), kKey, hash)).ToString();
}

// The middleware's whole per-request work: build a consumer, parse the
// token, check signature and claims.
void BM_VerifyHS256Token(benchmark::State& state) {
  const JOSEBytes token(TypicalToken());
  for (auto _ : state) {
    auto consumer = JOSEConsumerBuilder::NewConsumer()
                        .SetVerificationKey(kKey)
                        .SetSkipVerificationKeyValidation()
                        .SetExpectedAudience(false, {})
                        .Build();
    JOSEContext context(token);
    consumer->ProcessContext(context);
    benchmark::DoNotOptimize(context.GetClaims().JSON());
  }
  state.SetLabel(std::to_string(token.Size()) + " byte token");
}
BENCHMARK(BM_VerifyHS256Token);

// The parts of it: parsing alone and the MAC alone.
void BM_ParseToken(benchmark::State& state) {
  const JOSEBytes token(TypicalToken());
  for (auto _ : state) {
    JOSEContext context(token);
    benchmark::DoNotOptimize(context.GetHeader().JSON());
  }
}
BENCHMARK(BM_ParseToken);

void BM_HmacSign(benchmark::State& state) {
  const auto hash = static_cast<HMACAlgorithm>(state.range(0));
  const JOSEBytes input(std::string(220, 'x'));
  for (auto _ : state) benchmark::DoNotOptimize(HMAC::Sign(input, kKey, hash));
}
BENCHMARK(BM_HmacSign)->Arg(0)->Arg(1)->Arg(2);

}  // namespace
