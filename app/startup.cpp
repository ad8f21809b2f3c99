#include "app/startup.h"

#include "controller/alteracaoestoque.h"
#include "controller/banco.h"
#include "controller/cartao.h"
#include "controller/cliente.h"
#include "controller/contasareceber.h"
#include "controller/convenio.h"
#include "controller/filial.h"
#include "controller/login.h"
#include "controller/negativado.h"
#include "controller/parametros.h"
#include "controller/produto.h"
#include "controller/produto_kit.h"
#include "controller/produto_preco.h"
#include "controller/simple_registries.h"
#include "controller/tributacao.h"
#include "controller/usuario.h"
#include "lib/settings.h"
#include "web/middleware/compression.h"
#include "web/middleware/cors.h"
#include "web/middleware/etag.h"
#include "web/middleware/json_body.h"
#include "web/middleware/tracker.h"
#include "web/middleware/validate_server.h"
#include "web/middleware/web_jwt.h"

namespace quorvane::app {

// JSON answers longer than this many bytes are compressed.
constexpr std::size_t kCompressionThreshold = 1024;

void InstallMiddlewares(web::core::WebCore& core) {
  namespace mw = web::middleware;
  core.Use(mw::WebTracker::Tracker);                                      // 1
  core.Use(mw::Compression(kCompressionThreshold));                       // 2
  core.Use(web::core::WebCallbacks{mw::JsonBody("UTF-8")});               // 3
  core.Use(mw::CORS);                                                     // 4
  core.Use(mw::Validate);                                                 // 5
  core.Use(mw::WebJWT(lib::CurrentSettings().jwt_key, "authorization"));  // 6
  core.Use(mw::eTag);                                                     // 7
}

void RegisterControllers(web::core::WebCore& core) {
  namespace c = controller;
  // In this order; a controller still to come keeps its place as a comment
  // and is switched on where it stands.
  using Registry = void (*)(web::core::WebCore&);
  // clang-format off
  const Registry registries[] = {
      c::filial::Registry,                //  1 /v1/filial
      c::cidade::Registry,                //  2 /v1/cidade
      c::administradora::Registry,        //  3 /v1/administradora
      c::cartao::Registry,                //  4 /v1/cartao
      c::vencimento::Registry,            //  5 /v1/vencimento
      c::grupo::Registry,                 //  6 /v1/grupo
      c::subgrupo::Registry,              //  7 /v1/subgrupo
      c::convenio::Registry,              //  8 /v1/convenio
      c::parcelamento::Registry,          //  9 /v1/parcelamento
      c::rota::Registry,                  // 10 /v1/rota
      c::texto::Registry,                 // 11 /v1/texto
      c::transportadora::Registry,        // 12 /v1/transportadora
      c::usuario::Registry,               // 13 /v1/usuario
      c::cliente::Registry,               // 14 /v1/cliente
      c::banco::Registry,                 // 15 /v1/banco
      c::contasapagar::Registry,          // 16 /v1/contasapagar
      c::contasareceber::Registry,        // 17 /v1/contasareceber
      c::fornecedor::Registry,            // 18 /v1/fornecedor
      c::negativado::Registry,            // 19 /v1/negativado
      c::profissional::Registry,          // 20 /v1/profissional
      c::produto::Registry,               // 21 /v1/produto
      c::produto_preco::Registry,         // 22 /v1/preco
      c::produto_kit::Registry,           // 23 /v1/kit
      c::parametros::Registry,            // 24 /v1/parametro, /v1/manutencao
      c::alteracaoestoque::Registry,      // 25 /v1/alteracaoestoque
      c::pagdigital::Registry,            // 26 /v1/pagamento/digital
      c::financeira::Registry,            // 27 /v1/financeira
      c::representante::Registry,         // 28 /v1/representante
      c::tributacao::Registry,            // 29 /v1 (taxation)
      c::login::Registry,                 // 30 /v1/login
  };
  // clang-format on
  for (const Registry registry : registries) registry(core);
}

}  // namespace quorvane::app
