// The complete HTTP interface as start-up registers it: every /v1 route of
// every controller, with its method and full path, in controller order and,
// within each controller, in its own registration order. Nothing more,
// nothing less. The table below is the published route list of the server;
// a route added, dropped, moved or renamed shows up here as a difference.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/startup.h"
#include "web/core/router_tree.h"
#include "web/core/web_core.h"

namespace quorvane::app {
namespace {

using web::core::HttpMethod;
using web::core::RegisteredRoute;

struct RouteRow {
  HttpMethod method;
  std::string_view prefix;  // the group's prefix
  std::string_view path;    // registered under the prefix; "/" is its root
};

constexpr HttpMethod G = HttpMethod::kGet;
constexpr HttpMethod P = HttpMethod::kPost;
constexpr HttpMethod U = HttpMethod::kPut;
constexpr HttpMethod D = HttpMethod::kDelete;

// Controllers in start-up order, routes in each controller's order.
constexpr RouteRow kRoutes[] = {
    // 1 filial
    {G, "/v1/filial", "/"},
    {P, "/v1/filial", "/"},
    {G, "/v1/filial", "/newid"},
    // 2 cidade
    {G, "/v1/cidade", "/"},
    {P, "/v1/cidade", "/"},
    // 3 administradora
    {G, "/v1/administradora", "/"},
    {P, "/v1/administradora", "/"},
    // 4 cartao
    {G, "/v1/cartao", "/"},
    {P, "/v1/cartao", "/"},
    {G, "/v1/cartao", "/taxa"},
    {P, "/v1/cartao", "/taxa"},
    // 5 vencimento
    {G, "/v1/vencimento", "/"},
    {P, "/v1/vencimento", "/"},
    // 6 grupo
    {G, "/v1/grupo", "/"},
    {P, "/v1/grupo", "/"},
    // 7 subgrupo
    {G, "/v1/subgrupo", "/"},
    {P, "/v1/subgrupo", "/"},
    // 8 convenio
    {G, "/v1/convenio", "/"},
    {P, "/v1/convenio", "/"},
    {G, "/v1/convenio", "/desconto/grupo"},
    {P, "/v1/convenio", "/desconto/grupo"},
    {G, "/v1/convenio", "/desconto/subgrupo"},
    {P, "/v1/convenio", "/desconto/subgrupo"},
    {G, "/v1/convenio", "/desconto"},
    {P, "/v1/convenio", "/desconto"},
    // 9 parcelamento
    {G, "/v1/parcelamento", "/"},
    {P, "/v1/parcelamento", "/"},
    // 10 rota
    {G, "/v1/rota", "/"},
    {P, "/v1/rota", "/"},
    // 11 texto
    {G, "/v1/texto", "/"},
    {P, "/v1/texto", "/"},
    // 12 transportadora
    {G, "/v1/transportadora", "/"},
    {P, "/v1/transportadora", "/"},
    // 13 usuario
    {G, "/v1/usuario", "/"},
    {P, "/v1/usuario", "/"},
    {G, "/v1/usuario", "/perfil"},
    {P, "/v1/usuario", "/perfil"},
    // 14 cliente
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
    // 15 banco
    {G, "/v1/banco", "/grupo"},
    {P, "/v1/banco", "/grupo"},
    {G, "/v1/banco", "/historico"},
    {P, "/v1/banco", "/historico"},
    {G, "/v1/banco", "/conta"},
    {P, "/v1/banco", "/conta"},
    // 16 contasapagar
    {G, "/v1/contasapagar", "/classificacao"},
    {P, "/v1/contasapagar", "/classificacao"},
    // 17 contasareceber
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
    // 18 fornecedor
    {G, "/v1/fornecedor", "/"},
    {P, "/v1/fornecedor", "/"},
    // 19 negativado
    {G, "/v1/negativado", "/"},
    {P, "/v1/negativado", "/"},
    {D, "/v1/negativado", "/:ID"},
    // 20 profissional
    {G, "/v1/profissional", "/"},
    {P, "/v1/profissional", "/"},
    // 21 produto
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
    // 22 preco
    {G, "/v1/preco", "/"},
    {P, "/v1/preco", "/"},
    {G, "/v1/preco", "/item"},
    {P, "/v1/preco", "/item"},
    {G, "/v1/preco", "/item/filial"},
    // 23 kit
    {G, "/v1/kit", "/"},
    {P, "/v1/kit", "/"},
    {G, "/v1/kit", "/item"},
    {P, "/v1/kit", "/item"},
    // 24 parametros: two groups
    {G, "/v1/parametro", "/"},
    {P, "/v1/parametro", "/"},
    {G, "/v1/manutencao", "/"},
    {U, "/v1/manutencao", "/ativar"},
    {U, "/v1/manutencao", "/inativar"},
    // 25 alteracaoestoque
    {G, "/v1/alteracaoestoque", "/"},
    {P, "/v1/alteracaoestoque", "/"},
    {G, "/v1/alteracaoestoque", "/item"},
    {P, "/v1/alteracaoestoque", "/item"},
    // 26 pagdigital
    {G, "/v1/pagamento/digital", "/"},
    {P, "/v1/pagamento/digital", "/"},
    // 27 financeira
    {G, "/v1/financeira", "/"},
    {P, "/v1/financeira", "/"},
    // 28 representante
    {G, "/v1/representante", "/"},
    {P, "/v1/representante", "/"},
    // 29 tributacao: the group is /v1 itself
    {G, "/v1", "/aliquota"},
    {P, "/v1", "/aliquota"},
    {G, "/v1", "/aliquota/secundaria"},
    {P, "/v1", "/aliquota/secundaria"},
    {G, "/v1", "/cfop"},
    {P, "/v1", "/cfop"},
    {G, "/v1", "/mva"},
    {P, "/v1", "/mva"},
    // 30 login
    {G, "/v1/login", "/"},
    {P, "/v1/login", "/"},
    {U, "/v1/login", "/:ID/ativar"},
    {U, "/v1/login", "/:ID/inativar"},
};

std::string_view MethodName(HttpMethod method) {
  switch (method) {
    case HttpMethod::kAny:
      return "ANY";
    case HttpMethod::kGet:
      return "GET";
    case HttpMethod::kPut:
      return "PUT";
    case HttpMethod::kPost:
      return "POST";
    case HttpMethod::kHead:
      return "HEAD";
    case HttpMethod::kDelete:
      return "DELETE";
    case HttpMethod::kPatch:
      return "PATCH";
  }
  return "?";
}

// "GET /v1/filial/newid": one line per route, so a failure prints a readable
// difference.
std::string Line(HttpMethod method, std::string_view path) {
  return std::string(MethodName(method)) + " " + std::string(path);
}

std::string FullPath(const RouteRow& row) {
  return web::core::NormalizeRoutePath(std::string(row.prefix) + "/" +
                                       std::string(row.path.substr(1)));
}

std::vector<std::string> ExpectedLines() {
  std::vector<std::string> lines;
  for (const RouteRow& row : kRoutes) lines.push_back(Line(row.method, FullPath(row)));
  return lines;
}

// What start-up registers on a fresh tree, read back by walking it.
std::vector<std::string> RegisteredLines(bool with_middlewares) {
  web::core::WebRouterTree tree;
  web::core::WebCore core(tree);
  if (with_middlewares) InstallMiddlewares(core);
  RegisterControllers(core);
  std::vector<std::string> lines;
  for (const RegisteredRoute& route : tree.Routes()) {
    lines.push_back(Line(route.method, route.path));
  }
  return lines;
}

// The table itself: 131 routes on 31 groups, 63 GET, 58 POST, 4 PUT and 6
// DELETE, no route twice.
TEST(RouteTableTest, TableHoldsTheWholeInterface) {
  std::map<HttpMethod, int> per_method;
  std::set<std::string_view> groups;
  std::set<std::string> distinct;
  for (const RouteRow& row : kRoutes) {
    ++per_method[row.method];
    groups.insert(row.prefix);
    distinct.insert(Line(row.method, FullPath(row)));
  }
  EXPECT_EQ(std::size(kRoutes), 131u);
  EXPECT_EQ(distinct.size(), 131u);
  EXPECT_EQ(groups.size(), 31u);
  EXPECT_EQ(per_method[G], 63);
  EXPECT_EQ(per_method[P], 58);
  EXPECT_EQ(per_method[U], 4);
  EXPECT_EQ(per_method[D], 6);
}

TEST(RouteTableTest, StartUpRegistersExactlyTheTableInOrder) {
  EXPECT_EQ(RegisteredLines(/*with_middlewares=*/false), ExpectedLines());
}

// The middleware chain registers no route of its own at start-up (the
// tracker's /status comes later, when the server listens).
TEST(RouteTableTest, MiddlewaresAddNoRoute) {
  std::vector<std::string> lines = RegisteredLines(/*with_middlewares=*/true);
  std::erase(lines, Line(G, "/status"));
  EXPECT_EQ(lines, ExpectedLines());
}

// Groups whose routes all sit below their prefix serve nothing on the
// prefix itself.
TEST(RouteTableTest, NothingOnTheRootsOfBancoAndTaxation) {
  const std::vector<std::string> lines = RegisteredLines(false);
  for (const std::string_view path : {"/v1", "/v1/banco", "/v1/contasapagar", "/v1/pagamento"}) {
    for (const HttpMethod method : {G, P, U, D}) {
      EXPECT_EQ(std::count(lines.begin(), lines.end(), Line(method, path)), 0)
          << Line(method, path);
    }
  }
}

}  // namespace
}  // namespace quorvane::app
