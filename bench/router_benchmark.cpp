// Dispatch cost of the route tree holding every /v1 route of the server, with
// and without the seven pass-through middlewares that start-up installs.

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "web/core/web_core.h"

namespace {

using quorvane::web::core::HttpMethod;
using quorvane::web::core::RawRequest;
using quorvane::web::core::RawResponse;
using quorvane::web::core::WebCore;
using quorvane::web::core::WebNext;
using quorvane::web::core::WebRequest;
using quorvane::web::core::WebResponse;
using quorvane::web::core::WebRouterTree;

struct RouteRow {
  HttpMethod method;
  std::string_view prefix;
  std::string_view path;
};

constexpr HttpMethod G = HttpMethod::kGet;
constexpr HttpMethod P = HttpMethod::kPost;
constexpr HttpMethod U = HttpMethod::kPut;
constexpr HttpMethod D = HttpMethod::kDelete;

// The 131 routes, group by group, in registration order.
constexpr RouteRow kRoutes[] = {
    // Filial
    {G, "/v1/filial", "/"},
    {P, "/v1/filial", "/"},
    {G, "/v1/filial", "/newid"},
    // Simple registries
    {G, "/v1/cidade", "/"},
    {P, "/v1/cidade", "/"},
    {G, "/v1/administradora", "/"},
    {P, "/v1/administradora", "/"},
    // Cartao
    {G, "/v1/cartao", "/"},
    {P, "/v1/cartao", "/"},
    {G, "/v1/cartao", "/taxa"},
    {P, "/v1/cartao", "/taxa"},
    {G, "/v1/vencimento", "/"},
    {P, "/v1/vencimento", "/"},
    {G, "/v1/grupo", "/"},
    {P, "/v1/grupo", "/"},
    {G, "/v1/subgrupo", "/"},
    {P, "/v1/subgrupo", "/"},
    // Convenio
    {G, "/v1/convenio", "/"},
    {P, "/v1/convenio", "/"},
    {G, "/v1/convenio", "/desconto/grupo"},
    {P, "/v1/convenio", "/desconto/grupo"},
    {G, "/v1/convenio", "/desconto/subgrupo"},
    {P, "/v1/convenio", "/desconto/subgrupo"},
    {G, "/v1/convenio", "/desconto"},
    {P, "/v1/convenio", "/desconto"},
    {G, "/v1/parcelamento", "/"},
    {P, "/v1/parcelamento", "/"},
    {G, "/v1/rota", "/"},
    {P, "/v1/rota", "/"},
    {G, "/v1/texto", "/"},
    {P, "/v1/texto", "/"},
    {G, "/v1/transportadora", "/"},
    {P, "/v1/transportadora", "/"},
    // Usuario
    {G, "/v1/usuario", "/"},
    {P, "/v1/usuario", "/"},
    {G, "/v1/usuario", "/perfil"},
    {P, "/v1/usuario", "/perfil"},
    // Cliente
    {G, "/v1/cliente", "/"},
    {P, "/v1/cliente", "/"},
    {G, "/v1/cliente", "/classificacao"},
    {P, "/v1/cliente", "/classificacao"},
    {G, "/v1/cliente", "/classificado"},
    {P, "/v1/cliente", "/classificado"},
    {G, "/v1/cliente", "/endereco"},
    {P, "/v1/cliente", "/endereco"},
    {G, "/v1/cliente", "/telefone"},
    {P, "/v1/cliente", "/telefone"},
    {G, "/v1/cliente", "/desconto"},
    {P, "/v1/cliente", "/desconto"},
    {G, "/v1/cliente", "/financeiro/:ID"},
    // Banco
    {G, "/v1/banco", "/grupo"},
    {P, "/v1/banco", "/grupo"},
    {G, "/v1/banco", "/historico"},
    {P, "/v1/banco", "/historico"},
    {G, "/v1/banco", "/conta"},
    {P, "/v1/banco", "/conta"},
    {G, "/v1/contasapagar", "/classificacao"},
    {P, "/v1/contasapagar", "/classificacao"},
    // ContasAReceber
    {G, "/v1/contasareceber", "/cheque"},
    {P, "/v1/contasareceber", "/cheque"},
    {D, "/v1/contasareceber", "/cheque/:ID"},
    {G, "/v1/contasareceber", "/duplicata"},
    {P, "/v1/contasareceber", "/duplicata"},
    {D, "/v1/contasareceber", "/duplicata/:ID"},
    {G, "/v1/contasareceber", "/duplicata/baixado"},
    {P, "/v1/contasareceber", "/duplicata/baixado"},
    {D, "/v1/contasareceber", "/duplicata/baixado/:ID"},
    {G, "/v1/contasareceber", "/bloqueto"},
    {P, "/v1/contasareceber", "/bloqueto"},
    {D, "/v1/contasareceber", "/bloqueto/:ID"},
    {G, "/v1/fornecedor", "/"},
    {P, "/v1/fornecedor", "/"},
    // Negativado
    {G, "/v1/negativado", "/"},
    {P, "/v1/negativado", "/"},
    {D, "/v1/negativado", "/:ID"},
    {G, "/v1/profissional", "/"},
    {P, "/v1/profissional", "/"},
    // Produto
    {G, "/v1/produto", "/"},
    {P, "/v1/produto", "/"},
    {G, "/v1/produto", "/classificacao"},
    {P, "/v1/produto", "/classificacao"},
    {G, "/v1/produto", "/classificado"},
    {P, "/v1/produto", "/classificado"},
    {G, "/v1/produto", "/ean"},
    {P, "/v1/produto", "/ean"},
    {D, "/v1/produto", "/ean/:codproduto/:codbarras"},
    {G, "/v1/produto", "/filial"},
    {P, "/v1/produto", "/filial"},
    {G, "/v1/produto", "/estoque/:ID"},
    {G, "/v1/produto", "/codigofornecedor"},
    {P, "/v1/produto", "/codigofornecedor"},
    {G, "/v1/produto", "/referencia"},
    {P, "/v1/produto", "/referencia"},
    {G, "/v1/produto", "/unidade"},
    {P, "/v1/produto", "/unidade"},
    // Preco
    {G, "/v1/preco", "/"},
    {P, "/v1/preco", "/"},
    {G, "/v1/preco", "/item"},
    {P, "/v1/preco", "/item"},
    {G, "/v1/preco", "/item/filial"},
    // Kit
    {G, "/v1/kit", "/"},
    {P, "/v1/kit", "/"},
    {G, "/v1/kit", "/item"},
    {P, "/v1/kit", "/item"},
    // Parametros
    {G, "/v1/parametro", "/"},
    {P, "/v1/parametro", "/"},
    {G, "/v1/manutencao", "/"},
    {U, "/v1/manutencao", "/ativar"},
    {U, "/v1/manutencao", "/inativar"},
    // AlteracaoEstoque
    {G, "/v1/alteracaoestoque", "/"},
    {P, "/v1/alteracaoestoque", "/"},
    {G, "/v1/alteracaoestoque", "/item"},
    {P, "/v1/alteracaoestoque", "/item"},
    {G, "/v1/pagamento/digital", "/"},
    {P, "/v1/pagamento/digital", "/"},
    {G, "/v1/financeira", "/"},
    {P, "/v1/financeira", "/"},
    {G, "/v1/representante", "/"},
    {P, "/v1/representante", "/"},
    // Tributacao
    {G, "/v1", "/aliquota"},
    {P, "/v1", "/aliquota"},
    {G, "/v1", "/aliquota/secundaria"},
    {P, "/v1", "/aliquota/secundaria"},
    {G, "/v1", "/cfop"},
    {P, "/v1", "/cfop"},
    {G, "/v1", "/mva"},
    {P, "/v1", "/mva"},
    // Login
    {G, "/v1/login", "/"},
    {P, "/v1/login", "/"},
    {U, "/v1/login", "/:ID/ativar"},
    {U, "/v1/login", "/:ID/inativar"},
};
static_assert(std::size(kRoutes) == 131);

void Handler(WebRequest&, WebResponse& res, const WebNext&) { res.Status(200); }
void PassThrough(WebRequest&, WebResponse&, const WebNext& next) { next(); }

struct Fixture {
  explicit Fixture(int middlewares) {
    for (int i = 0; i < middlewares; ++i) core.Use(PassThrough);
    for (const RouteRow& r : kRoutes) {
      core.Register(r.method, core.Group().Prefix(r.prefix).Join(r.path), Handler);
    }
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
