// Dispatch cost of the route tree holding every /v1 route of the server, with
// and without the seven pass-through middlewares that start-up installs.

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "app/startup.h"
#include "web/core/web_core.h"

namespace {

using quorvane::web::core::RawRequest;
using quorvane::web::core::RawResponse;
using quorvane::web::core::WebCore;
using quorvane::web::core::WebNext;
using quorvane::web::core::WebRequest;
using quorvane::web::core::WebResponse;
using quorvane::web::core::WebRouterTree;

void Handler(WebRequest&, WebResponse& res, const WebNext&) { res.Status(200); }
void PassThrough(WebRequest&, WebResponse&, const WebNext& next) { next(); }

// The server's route table with handlers that do nothing: start-up's
// controller list is registered on a scratch tree (registration only records
// closures) and its routes are copied.
struct Fixture {
  explicit Fixture(int middlewares) {
    WebRouterTree real;
    WebCore real_core(real);
    quorvane::app::RegisterControllers(real_core);
    for (int i = 0; i < middlewares; ++i) core.Use(PassThrough);
    for (const auto& route : real.Routes()) core.Register(route.method, route.path, Handler);
  }
  WebRouterTree tree;
  WebCore core{tree};
};

// Args: middleware count, request index.
constexpr std::pair<std::string_view, std::string_view> kRequests[] = {
    {"GET", "/v1/produto?limit=500&page=2"},
    {"POST", "/v1/contasareceber/duplicata/baixado"},
    {"DELETE", "/v1/produto/ean/123/7891000100103"},
    {"PUT", "/v1/login/17/inativar"},
    {"GET", "/v1/nowhere/at/all"},
};

void BM_Dispatch(benchmark::State& state) {
  Fixture fixture(static_cast<int>(state.range(0)));
  const auto& [method, target] = kRequests[state.range(1)];
  RawRequest raw_req;
  raw_req.method = std::string(method);
  raw_req.SetTarget(target);
  state.SetLabel(std::string(method) + " " + std::string(target));
  for (auto _ : state) {
    RawResponse raw_res;
    WebRequest req(raw_req);
    WebResponse res(raw_res);
    benchmark::DoNotOptimize(fixture.tree.Execute(req, res));
  }
}
BENCHMARK(BM_Dispatch)->ArgsProduct({{0, 7}, {0, 1, 2, 3, 4}});

}  // namespace
