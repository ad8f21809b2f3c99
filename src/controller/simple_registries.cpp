#include "controller/simple_registries.h"

#include <string_view>

#include "controller/controller_utils.h"
#include "model/model_sql.h"

namespace quorvane::controller {
namespace {

// One single-table registry: where it lives, what its GET runs and which
// table its POST writes.
struct SimpleRegistry {
  std::string_view prefix;
  std::string_view path;
  CatalogueSelect select;
  std::string_view table;
};

// A GET and a POST on one path, in that order.
void Register(web::core::WebCore& core, const SimpleRegistry& registry) {
  web::core::WebCoreGroup group = core.Group();
  group.Prefix(registry.prefix)
      .Get(registry.path, Read(registry.select))
      .Post(registry.path, Write(std::string(registry.table)));
}

using namespace model;

constexpr SimpleRegistry kAdministradora{
    "/v1/administradora", "/", &ModelSQLAdministradora::SelectAdministradoras, "administradoras"};
constexpr SimpleRegistry kCidade{"/v1/cidade", "/", &ModelSQLCidade::SelectCidades, "cidades"};
constexpr SimpleRegistry kContasAPagar{"/v1/contasapagar", "/classificacao",
                                       &ModelSQLContasAPagar::SelectClassificacoes,
                                       "contasapagarclassificacao"};
constexpr SimpleRegistry kFinanceira{"/v1/financeira", "/", &ModelSQLFinanceira::SelectFinanceiras,
                                     "financeiras"};
constexpr SimpleRegistry kFornecedor{"/v1/fornecedor", "/", &ModelSQLFornecedor::SelectFornecedores,
                                     "fornecedores"};
constexpr SimpleRegistry kGrupo{"/v1/grupo", "/", &ModelSQLGrupo::SelectGrupos, "grupos"};
constexpr SimpleRegistry kPagDigital{"/v1/pagamento/digital", "/",
                                     &ModelSQLPagDigital::SelectPagDigital, "pagdigitais"};
constexpr SimpleRegistry kParcelamento{"/v1/parcelamento", "/",
                                       &ModelSQLParcelamento::SelectParcelamentos, "parcelamentos"};
constexpr SimpleRegistry kProfissional{"/v1/profissional", "/",
                                       &ModelSQLProfissional::SelectProfissionais, "profissionais"};
constexpr SimpleRegistry kRepresentante{
    "/v1/representante", "/", &ModelSQLRepresentante::SelectRepresentantes, "representantes"};
constexpr SimpleRegistry kRota{"/v1/rota", "/", &ModelSQLRota::SelectRotas, "rotas"};
constexpr SimpleRegistry kSubgrupo{"/v1/subgrupo", "/", &ModelSQLSubgrupo::SelectSubgrupos,
                                   "subgrupos"};
constexpr SimpleRegistry kTexto{"/v1/texto", "/", &ModelSQLTexto::SelectTextos, "textos"};
constexpr SimpleRegistry kTransportadora{
    "/v1/transportadora", "/", &ModelSQLTransportadora::SelectTransportadora, "transportadoras"};
constexpr SimpleRegistry kVencimento{"/v1/vencimento", "/", &ModelSQLVencimento::SelectVencimentos,
                                     "vencimentos"};

}  // namespace

#define QV_SIMPLE_REGISTRY(name, entry)                                    \
  void name::Registry(web::core::WebCore& core) { Register(core, entry); } \
  void name::Registry() { Register(web::core::WebCore::GetInstance(), entry); }

QV_SIMPLE_REGISTRY(administradora, kAdministradora)
QV_SIMPLE_REGISTRY(cidade, kCidade)
QV_SIMPLE_REGISTRY(contasapagar, kContasAPagar)
QV_SIMPLE_REGISTRY(financeira, kFinanceira)
QV_SIMPLE_REGISTRY(fornecedor, kFornecedor)
QV_SIMPLE_REGISTRY(grupo, kGrupo)
QV_SIMPLE_REGISTRY(pagdigital, kPagDigital)
QV_SIMPLE_REGISTRY(parcelamento, kParcelamento)
QV_SIMPLE_REGISTRY(profissional, kProfissional)
QV_SIMPLE_REGISTRY(representante, kRepresentante)
QV_SIMPLE_REGISTRY(rota, kRota)
QV_SIMPLE_REGISTRY(subgrupo, kSubgrupo)
QV_SIMPLE_REGISTRY(texto, kTexto)
QV_SIMPLE_REGISTRY(transportadora, kTransportadora)
QV_SIMPLE_REGISTRY(vencimento, kVencimento)

#undef QV_SIMPLE_REGISTRY

}  // namespace quorvane::controller
