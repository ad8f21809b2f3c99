// The entity query catalogue against the real tenant DDL: every statement
// runs on MariaDB and yields exactly the record layout that branch systems
// receive, with and without the download filters, and on the demo data.
#include "model/model_sql.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "test_mariadb.h"

namespace quorvane::model {
namespace {

using testing::ScratchSchema;
using testing::SourcePath;
using testing::TestMariaDb;

constexpr std::string_view kTenantSchema = "qv_model_sql_test";
constexpr std::string_view kDemoSchema = "qv_model_sql_demo_test";
constexpr std::string_view kControlSchema = "qv_model_sql_stru_test";
// The tenant name that the control-schema statements look up.
constexpr std::string_view kTenantName = "qv_tenant";

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::istringstream in{std::string(text)};
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

SqlFilterHeaders NoFilter() { return SqlFilterHeaders{}; }

// Every filter header set, on a GET.
SqlFilterHeaders AllFilters() {
  return SqlFilterHeaders{.is_get = true,
                          .where = "1 = 1",
                          .alterado_apos = "2000-01-01 00:00:00",
                          .filial_origem_filter = "IGNORE",
                          .filial = "7"};
}

SqlFilterHeaders AllFiltersButNotGet() {
  SqlFilterHeaders h = AllFilters();
  h.is_get = false;
  return h;
}

// One catalogue statement and the JSON keys its records carry, in order.
// Columns written with a table alias (aei.codigo) come back bare (codigo).
struct CatalogueCase {
  std::string_view name;
  std::string (*select)(const SqlFilterHeaders&);
  std::string_view columns;
  // Runs on the control schema instead of a tenant.
  bool control = false;
};

const CatalogueCase kCatalogueCases[] = {
    {"CidadeSelectCidades",
     [](const SqlFilterHeaders& h) { return ModelSQLCidade::SelectCidades(h); },
     "codigo cidade estado codibge codpais nomepais"},
    {"AdministradoraSelectAdministradoras",
     [](const SqlFilterHeaders& h) { return ModelSQLAdministradora::SelectAdministradoras(h); },
     "codigo razao fantasia telefone cnpj inscricao endereco numero bairro cep codcidade"},
    {"FornecedorSelectFornecedores",
     [](const SqlFilterHeaders& h) { return ModelSQLFornecedor::SelectFornecedores(h); },
     "codigo razao fantasia pessoa tipo endereco numero complemento pontoreferencia bairro "
     "codcidade cep cnpj inscricao telefone fax email contato dtcadastro descontovendaavista "
     "descontomaximo observacao forbloconotas dtatividade descontovenda semcomissao comissao "
     "comissaoprofissional codcontasapagarclassificacao"},
    {"TransportadoraSelectTransportadora",
     [](const SqlFilterHeaders& h) { return ModelSQLTransportadora::SelectTransportadora(h); },
     "codigo nome pessoa endereco codcidade cnpj_cpf inscricaoestadual placa dtcadastro ufplaca "
     "tipofrete antt"},
    {"RepresentanteSelectRepresentantes",
     [](const SqlFilterHeaders& h) { return ModelSQLRepresentante::SelectRepresentantes(h); },
     "codigo nome telefone email dtcadastro senha observacao"},
    {"ProfissionalSelectProfissionais",
     [](const SqlFilterHeaders& h) { return ModelSQLProfissional::SelectProfissionais(h); },
     "prfcodigo prfnome prfendereco prfbairro prfcodcidade prfcep prftelefone prfcelular "
     "prfprofissao prfcomissao prfdtcadastro prfsemcomissao prfcpf"},
    {"FinanceiraSelectFinanceiras",
     [](const SqlFilterHeaders& h) { return ModelSQLFinanceira::SelectFinanceiras(h); },
     "codigo nome finbloconota"},
    {"RotaSelectRotas", [](const SqlFilterHeaders& h) { return ModelSQLRota::SelectRotas(h); },
     "codigo nome"},
    {"TextoSelectTextos", [](const SqlFilterHeaders& h) { return ModelSQLTexto::SelectTextos(h); },
     "codigo descricao tipo texto"},
    {"PagDigitalSelectPagDigital",
     [](const SqlFilterHeaders& h) { return ModelSQLPagDigital::SelectPagDigital(h); },
     "codigo descricao tipo imprimircomprovante"},
    {"ParcelamentoSelectParcelamentos",
     [](const SqlFilterHeaders& h) { return ModelSQLParcelamento::SelectParcelamentos(h); },
     "codigo descricao entrada diasentreparcelas nrparcelas gerarboleto diasreajusteparcelas "
     "utilizarduplicata utilizarcartao utilizarcheque taxaacrescimo bloquearparcela"},
    {"VencimentoSelectVencimentos",
     [](const SqlFilterHeaders& h) { return ModelSQLVencimento::SelectVencimentos(h); },
     "codigo descricao tipo quinzena1diainicial quinzena1diafinal quinzena1diavencimento "
     "quinzena1mesposterior quinzena2diainicial quinzena2diafinal quinzena2diavencimento "
     "quinzena2mesposterior"},
    {"FilialSelectFiliais",
     [](const SqlFilterHeaders& h) { return ModelSQLFilial::SelectFiliais(h); },
     "codigo nome codcliente consultarduplicatas consultarcheques consultarestoque"},
    {"NegativadoSelectNegativados",
     [](const SqlFilterHeaders& h) { return ModelSQLNegativado::SelectNegativados(h); },
     "codigo pessoa cnpj nome local motivo observacao"},
    {"ClienteSelectClientes",
     [](const SqlFilterHeaders& h) { return ModelSQLCliente::SelectClientes(h, false); },
     "codigo nome fantasia pessoa endereco clinumeroend complemento pontoreferencia bairro "
     "codcidade cep codrota cnpj_cpf inscricaoestadual_rg orgaoexpedidorrg dataexpedicaorg "
     "telefone celular teltrabalho localtrabalho contato mae pai cliestadocivil conjuge referencia "
     "email dtcadastro dtemissaocontratocheque dtnascimento diasbloqueio clidescontovenda "
     "cliacrescimovenda bloqueado motivobloqueio vendaduplicata vendacheque vendacartao "
     "vendafinanceira juros maladireta observacao pessoasautorizadas codusuario dtcartacobranca "
     "modelocartacobranca codparcelamento limite clibloconota codvencimento codconvenio "
     "dtproximocontatocobranca hrproximocontatocobranca consumidorfinal revendedor "
     "isentodetaxaboleto clidescontorecebimento codvendedorexterno industria construtora "
     "codtransportadora nrdiascarenciaduplicata clienteespecial mei eireli contribuinteicms genero "
     "profissao inscricaomunicipal"},
    {"ClienteSelectClientesInativo",
     [](const SqlFilterHeaders& h) { return ModelSQLCliente::SelectClientes(h, true); },
     "codigo nome fantasia pessoa endereco clinumeroend complemento pontoreferencia bairro "
     "codcidade cep codrota cnpj_cpf inscricaoestadual_rg orgaoexpedidorrg dataexpedicaorg "
     "telefone celular teltrabalho localtrabalho contato mae pai cliestadocivil conjuge referencia "
     "email dtcadastro dtemissaocontratocheque dtnascimento diasbloqueio clidescontovenda "
     "cliacrescimovenda bloqueado motivobloqueio vendaduplicata vendacheque vendacartao "
     "vendafinanceira juros maladireta observacao pessoasautorizadas codusuario dtcartacobranca "
     "modelocartacobranca codparcelamento limite clibloconota codvencimento codconvenio "
     "dtproximocontatocobranca hrproximocontatocobranca consumidorfinal revendedor "
     "isentodetaxaboleto clidescontorecebimento codvendedorexterno industria construtora "
     "codtransportadora nrdiascarenciaduplicata clienteespecial mei eireli contribuinteicms genero "
     "profissao inscricaomunicipal inativo"},
    {"ClienteSelectClassificacoes",
     [](const SqlFilterHeaders& h) { return ModelSQLCliente::SelectClassificacoes(h); },
     "codigo descricao"},
    {"ClienteSelectClassificados",
     [](const SqlFilterHeaders& h) { return ModelSQLCliente::SelectClassificados(h); },
     "codcliente codclienteclassificacao"},
    {"ClienteSelectEnderecos",
     [](const SqlFilterHeaders& h) { return ModelSQLCliente::SelectEnderecos(h); },
     "codigo apelido endereco clinumeroend complemento bairro codcidade cep tipo codcliente"},
    {"ClienteSelectTelefones",
     [](const SqlFilterHeaders& h) { return ModelSQLCliente::SelectTelefones(h); },
     "codigo codcliente celular"},
    {"ClienteSelectDescontos",
     [](const SqlFilterHeaders& h) { return ModelSQLCliente::SelectDescontos(h); },
     "codcliente codproduto desconto acrescimo"},
    {"ProdutoSelectProdutos",
     [](const SqlFilterHeaders& h) { return ModelSQLProduto::SelectProdutos(h, false, false); },
     "codigo codbarras servico descricao unidade codgrupo codsubgrupo codfornecedor codfabricante "
     "dtcadastro referencia validade observacao arredondamentotruncamento producaopropriaterceiro "
     "descontomaximo anvisa usocontinuo semcomissao comissao fracaocompra fracaovenda codgrade "
     "tipograde fator farinsumo farusoprolongado farregistroms fartipouso farunidademedida "
     "farunidademedicamento farunidadefarmaceutica farclasse farquantidade farprincipioativo "
     "atualizarprecosonline participafidelidade farnrdbc fartipoclasse farapresentacao "
     "codreferencia parcelasetiquetas fatormetro farmaciapopular embalagem corgrade "
     "comissaoprofissional desconto"},
    {"ProdutoSelectProdutosTributacao",
     [](const SqlFilterHeaders& h) { return ModelSQLProduto::SelectProdutos(h, false, true); },
     "codigo codbarras servico descricao unidade codgrupo codsubgrupo codfornecedor codfabricante "
     "dtcadastro referencia validade observacao arredondamentotruncamento producaopropriaterceiro "
     "descontomaximo anvisa usocontinuo semcomissao comissao fracaocompra fracaovenda codgrade "
     "tipograde fator farinsumo farusoprolongado farregistroms fartipouso farunidademedida "
     "farunidademedicamento farunidadefarmaceutica farclasse farquantidade farprincipioativo "
     "atualizarprecosonline participafidelidade farnrdbc fartipoclasse farapresentacao "
     "codreferencia parcelasetiquetas fatormetro farmaciapopular embalagem corgrade "
     "comissaoprofissional desconto codaliquota ipi proicms propis procstipi procodigoenq "
     "provaloripi piscofins pisaliquota cofinsaliquota codplanocontas mvadentrouf mvaforauf "
     "perctransparenciafiscal perctransparenciafiscalest perctransparenciafiscalmun codbeneficio "
     "motdesonicms codservico codigoncm genero origem cest"},
    {"ProdutoSelectProdutosInativo",
     [](const SqlFilterHeaders& h) { return ModelSQLProduto::SelectProdutos(h, true, false); },
     "codigo codbarras servico descricao unidade codgrupo codsubgrupo codfornecedor codfabricante "
     "dtcadastro referencia validade observacao arredondamentotruncamento producaopropriaterceiro "
     "descontomaximo anvisa usocontinuo semcomissao comissao fracaocompra fracaovenda codgrade "
     "tipograde fator farinsumo farusoprolongado farregistroms fartipouso farunidademedida "
     "farunidademedicamento farunidadefarmaceutica farclasse farquantidade farprincipioativo "
     "atualizarprecosonline participafidelidade farnrdbc fartipoclasse farapresentacao "
     "codreferencia parcelasetiquetas fatormetro farmaciapopular embalagem corgrade "
     "comissaoprofissional desconto inativo"},
    {"ProdutoSelectProdutosInativoTributacao",
     [](const SqlFilterHeaders& h) { return ModelSQLProduto::SelectProdutos(h, true, true); },
     "codigo codbarras servico descricao unidade codgrupo codsubgrupo codfornecedor codfabricante "
     "dtcadastro referencia validade observacao arredondamentotruncamento producaopropriaterceiro "
     "descontomaximo anvisa usocontinuo semcomissao comissao fracaocompra fracaovenda codgrade "
     "tipograde fator farinsumo farusoprolongado farregistroms fartipouso farunidademedida "
     "farunidademedicamento farunidadefarmaceutica farclasse farquantidade farprincipioativo "
     "atualizarprecosonline participafidelidade farnrdbc fartipoclasse farapresentacao "
     "codreferencia parcelasetiquetas fatormetro farmaciapopular embalagem corgrade "
     "comissaoprofissional desconto inativo codaliquota ipi proicms propis procstipi procodigoenq "
     "provaloripi piscofins pisaliquota cofinsaliquota codplanocontas mvadentrouf mvaforauf "
     "perctransparenciafiscal perctransparenciafiscalest perctransparenciafiscalmun codbeneficio "
     "motdesonicms codservico codigoncm genero origem cest"},
    {"ProdutoSelectClassificacoes",
     [](const SqlFilterHeaders& h) { return ModelSQLProduto::SelectClassificacoes(h); },
     "codigo descricao"},
    {"ProdutoSelectClassificados",
     [](const SqlFilterHeaders& h) { return ModelSQLProduto::SelectClassificados(h); },
     "codproduto codprodutoclassificacao classificacaopadrao"},
    {"ProdutoSelectEAN", [](const SqlFilterHeaders& h) { return ModelSQLProduto::SelectEAN(h); },
     "codproduto codbarras"},
    {"ProdutoSelectDadosFilial",
     [](const SqlFilterHeaders& h) { return ModelSQLProduto::SelectDadosFilial(h); },
     "codproduto codfilial quantidade precocusto precomedio precofabrica minimo maximo extipi "
     "dtultvenda dtultcompra qtdeultcompra curvaabc controlelotevalidade participaprogramacao "
     "vendarapida curvaabcvalor suspendercompra etiquetar semdescontoentrega localizacao balanca "
     "tipoitem codservicomunicipal prodtvalidade precovenda precopromocao"},
    {"ProdutoSelectCodigosNoFornecedor",
     [](const SqlFilterHeaders& h) { return ModelSQLProduto::SelectCodigosNoFornecedor(h); },
     "codproduto codfornecedor codprodnoforn"},
    {"ProdutoSelectReferencias",
     [](const SqlFilterHeaders& h) { return ModelSQLProduto::SelectReferencias(h); },
     "codigo descricao dtcadastro"},
    {"ProdutoSelectUnidades",
     [](const SqlFilterHeaders& h) { return ModelSQLProduto::SelectUnidades(h); },
     "un descricao untrib uncom"},
    {"GrupoSelectGrupos", [](const SqlFilterHeaders& h) { return ModelSQLGrupo::SelectGrupos(h); },
     "codigo nome descontovendaavista acrescimovendaaprazo descontomaximo semcomissao comissao "
     "comissaoavista comissaoduplicata comissaocheque comissaocartao comissaofinanceira dtcadastro "
     "atualizarprecosonline descontovenda comissao2 comissao3 comissao4 comissao5 "
     "faixadescontoinicial faixadescontofinal faixadescontoinicial2 faixadescontoinicial3 "
     "faixadescontoinicial4 faixadescontoinicial5 faixadescontofinal2 faixadescontofinal3 "
     "faixadescontofinal4 faixadescontofinal5 capturarcrm participabalanco localizacao "
     "comissaoprofissional naolancarfalta descontovinculadovenda qtdeprecovenda sincronizarmobile"},
    {"SubgrupoSelectSubgrupos",
     [](const SqlFilterHeaders& h) { return ModelSQLSubgrupo::SelectSubgrupos(h); },
     "codigo nome descontovendaavista acrescimovendaaprazo descontomaximo semcomissao comissao "
     "comissaoavista comissaoduplicata comissaocheque comissaocartao comissaofinanceira dtcadastro "
     "atualizarprecosonline descontovenda comissao2 comissao3 comissao4 comissao5 "
     "faixadescontoinicial faixadescontofinal faixadescontoinicial2 faixadescontoinicial3 "
     "faixadescontoinicial4 faixadescontoinicial5 faixadescontofinal2 faixadescontofinal3 "
     "faixadescontofinal4 faixadescontofinal5 comissaoprofissional naolancarfalta "
     "descontovinculadovenda qtdeprecovenda codgrupo"},
    {"KitSelectKits", [](const SqlFilterHeaders& h) { return ModelSQLKit::SelectKits(h); },
     "codigo descricao unidade codbarras"},
    {"KitSelectItens", [](const SqlFilterHeaders& h) { return ModelSQLKit::SelectItens(h); },
     "codkit codproduto quantidade desconto"},
    {"PrecosSelectTabelas",
     [](const SqlFilterHeaders& h) { return ModelSQLPrecos::SelectTabelas(h); },
     "codigo descricao permitirdesconto margemlucrodefault comissao tipovendavinculada "
     "vendadinheiro vendaduplicata vendacartao vendacheque vendafinanceira vendaoutros "
     "vendaconvenio semcomissao vendaboleto comissaoprofissional"},
    {"PrecosSelectTabelasItens",
     [](const SqlFilterHeaders& h) { return ModelSQLPrecos::SelectTabelasItens(h, ""); },
     "codtabelaprecos codproduto codfilial codfilialorigem preco precoanterior margemlucro "
     "quantidadevinculada descontovinculado quantidademinimavenda quantidademaximadesconto"},
    {"PrecosSelectTabelasItensFilial",
     [](const SqlFilterHeaders& h) {
       return ModelSQLPrecos::SelectTabelasItens(h, "codfilial = 1");
     },
     "codtabelaprecos codproduto codfilial codfilialorigem preco precoanterior margemlucro "
     "quantidadevinculada descontovinculado quantidademinimavenda quantidademaximadesconto"},
    {"AlteracaoEstoqueSelectAlteracaoEstoque",
     [](const SqlFilterHeaders& h) { return ModelSQLAlteracaoEstoque::SelectAlteracaoEstoque(h); },
     "codigo data hora acertoestoque descricao codfilial codfilialdestino cnpj nrnota modelo serie "
     "subserie"},
    {"AlteracaoEstoqueSelectAlteracaoEstoqueItens",
     [](const SqlFilterHeaders& h) {
       return ModelSQLAlteracaoEstoque::SelectAlteracaoEstoqueItens(h);
     },
     "codigo codalteracaoestoque codproduto descricaoproduto complementoproduto unidadeproduto "
     "quantidade tipo precocusto precovenda precovenda2 lote motivoperda validade codfilial "
     "codfilialdestino"},
    {"ContasAReceberSelectCheques",
     [](const SqlFilterHeaders& h) { return ModelSQLContasAReceber::SelectCheques(h); },
     "codigo codfilial baixado devolvido numero conta banco codcliente cnpj_cpf_emitente emitente "
     "dtemissao hremissao dtvencimento praca valor coddigitador codvendedor codprofissional caixa "
     "negociar observacao dtbaixa hrbaixa codusuariobaixa destino valorrecebido agencia custodia"},
    {"ContasAReceberSelectDuplicatas",
     [](const SqlFilterHeaders& h) { return ModelSQLContasAReceber::SelectDuplicatas(h); },
     "codigo codfilial baixado tipo descontado negociado parcialprodutos restanteconta duvidoso "
     "nrtitulo nrparcela codcliente dtemissao hremissao dtvencimento valor banco observacao "
     "codvendedor codprofissional bloquearcomissao caixa retiradopor valorentrada "
     "codbloquetocobranca codconvenio"},
    {"ContasAReceberSelectDuplicatasBaixado",
     [](const SqlFilterHeaders& h) { return ModelSQLContasAReceber::SelectDuplicatasBaixado(h); },
     "codigo codcrduplicata codusuario nrrecebimento dtbaixa hrbaixa desconto juros valor caixa "
     "observacao restantedeconta percjuros percdesconto"},
    {"ContasAReceberSelectBloquetos",
     [](const SqlFilterHeaders& h) { return ModelSQLContasAReceber::SelectBloquetos(h); },
     "codigo codcliente codfilial nomecliente enderecocliente bairrocliente cidadecliente "
     "ufcliente cepcliente cnpj_cpfcliente rg_iecliente codfaturamento dtvencimento valor "
     "documento codcrduplicatas status nrbanco nr2via emitido nrnota serie dtemissao nrconvenio "
     "nossonumero codcidade taxaboleto retornoprocessado situacao mensagemretorno jurospago "
     "descontoconcedido dtpagamento diretorioremessa cnab descontado nrbaixadescontado "
     "codcodigosbancos pedidobaixa"},
    {"ContasAPagarSelectClassificacoes",
     [](const SqlFilterHeaders& h) { return ModelSQLContasAPagar::SelectClassificacoes(h); },
     "codigo descricao codconta codhistorico"},
    {"BancoSelectGrupos", [](const SqlFilterHeaders& h) { return ModelSQLBanco::SelectGrupos(h); },
     "codigo descricao tipo dtcadastro despesa balancomensal ordem"},
    {"BancoSelectHistoricos",
     [](const SqlFilterHeaders& h) { return ModelSQLBanco::SelectHistoricos(h); },
     "codigo descricao tipo codgrupobanco dtcadastro hisrelgerencial ordem"},
    {"BancoSelectContas", [](const SqlFilterHeaders& h) { return ModelSQLBanco::SelectContas(h); },
     "codigo descricao banco agencia conta contato telefone tipo site dtcadastro codfilial ordem"},
    {"CartaoSelectCartoes",
     [](const SqlFilterHeaders& h) { return ModelSQLCartao::SelectCartoes(h, false); },
     "codigo descricao taxavistacredito taxafinanestabcredito taxafinanadmincredito "
     "nrdiasrecebimentocredito taxavistadebito nrdiasrecebimentodebito codadministradora pix"},
    {"CartaoSelectCartoesInativo",
     [](const SqlFilterHeaders& h) { return ModelSQLCartao::SelectCartoes(h, true); },
     "codigo descricao taxavistacredito taxafinanestabcredito taxafinanadmincredito "
     "nrdiasrecebimentocredito taxavistadebito nrdiasrecebimentodebito codadministradora pix "
     "inativo"},
    {"CartaoSelectTaxas", [](const SqlFilterHeaders& h) { return ModelSQLCartao::SelectTaxas(h); },
     "codigo codcartao taxavistacredito taxafinanestabcredito taxafinanadmincredito "
     "nrdiasrecebimentocredito nrparcelas"},
    {"ConvenioSelectConvenios",
     [](const SqlFilterHeaders& h) { return ModelSQLConvenio::SelectConvenios(h, false); },
     "codigo nome endereco bairro codcidade cnpj inscricaoestadual telefone fax email contato "
     "observacao codcliente cep complemento codvencimento isentodetaxaboleto descontorecebimento "
     "descontovenda acrescimovenda nrdiascarenciaduplicata diasbloqueio codcodigosbancos"},
    {"ConvenioSelectConveniosInativo",
     [](const SqlFilterHeaders& h) { return ModelSQLConvenio::SelectConvenios(h, true); },
     "codigo nome endereco bairro codcidade cnpj inscricaoestadual telefone fax email contato "
     "observacao codcliente cep complemento codvencimento isentodetaxaboleto descontorecebimento "
     "descontovenda acrescimovenda nrdiascarenciaduplicata diasbloqueio codcodigosbancos inativo"},
    {"ConvenioSelectDescontosGrupos",
     [](const SqlFilterHeaders& h) { return ModelSQLConvenio::SelectDescontosGrupos(h); },
     "codconvenio codgrupo desconto"},
    {"ConvenioSelectDescontosSubgrupos",
     [](const SqlFilterHeaders& h) { return ModelSQLConvenio::SelectDescontosSubgrupos(h); },
     "codconvenio codsubgrupo desconto"},
    {"ConvenioSelectDescontosProdutos",
     [](const SqlFilterHeaders& h) { return ModelSQLConvenio::SelectDescontosProdutos(h); },
     "codconvenio codproduto desconto acrescimo"},
    {"TributacaoSelectAliquotas",
     [](const SqlFilterHeaders& h) { return ModelSQLTributacao::SelectAliquotas(h); },
     "codigo descricao aliquota tipoimposto percaliquotadentrouf cstdentrouf cstforauf "
     "modbcicmsdentrouf modbcicmsforauf redbasecalculoicmsdentrouf redbasecalculoicmsforauf "
     "modbcicmsstdentrouf modbcicmsstforauf redbasecalculoicmsstdentrouf "
     "redbasecalculoicmsstforauf csosndentrouf csosnforauf cfopvendadentrouf cfopvendaforauf "
     "cfopcompradentrouf cfopcompraforauf cfopdevvendadentrouf cfopdevvendaforauf "
     "cfopdevcompradentrouf cfopdevcompraforauf tipopessoa tipoufdentrofora tipocliente "
     "pessoafisica pessoajuridica movdentrouf movforauf clirevendedor cliconsumidorfinal "
     "cliindustria cliconstrutora cfoptransfdentrouf cfoptransfforauf climei clieireli observacao "
     "clicontribuinte clinaocontribuinte cfopentradamanifestodentrouf cfopentradamanifestoforauf "
     "cfopsaidamanifestodentrouf cfopsaidamanifestoforauf fcp cstipi codigoenqipi aliquotaipi "
     "valoripi aliquotadesoneracao piscofins pisaliquota cofinsaliquota percdiferimento"},
    {"TributacaoSelectAliquotasSecundarias",
     [](const SqlFilterHeaders& h) { return ModelSQLTributacao::SelectAliquotasSecundarias(h); },
     "codigo codaliquota descricao aliquota tipoimposto percaliquotadentrouf cst modbcicms "
     "redbasecalculoicms modbcicmsst redbasecalculoicmsst csosn cfopvenda cfopcompra cfopdevvenda "
     "cfopdevcompra tipopessoa tipoufdentrofora tipocliente"},
    {"TributacaoSelectCFOP",
     [](const SqlFilterHeaders& h) { return ModelSQLTributacao::SelectCFOP(h); },
     "cfop descricao naturezaoperacao cfopentrada cfopentrada2 tipofaturamento "
     "codigocontaanalitica nivelcontaanalitica codnatcontaanalitica indicadortipoconta "
     "nomecontaanalitica codigocontareferenciada movestoque"},
    {"TributacaoSelectMVA",
     [](const SqlFilterHeaders& h) { return ModelSQLTributacao::SelectMVA(h); },
     "codproduto mva_rj mva_mg mva_es mva_sp mva_ac mva_al mva_am mva_ap mva_ba mva_ce mva_df "
     "mva_go mva_ma mva_ms mva_mt mva_pa mva_pb mva_pe mva_pi mva_pr mva_rn mva_ro mva_rr mva_rs "
     "mva_sc mva_se mva_to"},
    {"UsuarioSelectUsuarios",
     [](const SqlFilterHeaders& h) { return ModelSQLUsuario::SelectUsuarios(h, false); },
     "codigo nome endereco bairro codcidade cep cpf rg telefone cargo senha acessos comissao "
     "dtnascimento dtcadastro tipoacesso permitiragendamentos caixa senhafarmaciapopular "
     "codusuariosperfil acessorapido semcomissao descontomaximo"},
    {"UsuarioSelectUsuariosInativo",
     [](const SqlFilterHeaders& h) { return ModelSQLUsuario::SelectUsuarios(h, true); },
     "codigo nome endereco bairro codcidade cep cpf rg telefone cargo senha acessos comissao "
     "dtnascimento dtcadastro tipoacesso permitiragendamentos caixa senhafarmaciapopular "
     "codusuariosperfil acessorapido semcomissao descontomaximo inativo"},
    {"UsuarioSelectPerfis",
     [](const SqlFilterHeaders& h) { return ModelSQLUsuario::SelectPerfis(h); },
     "codigo descricao acessos comissao descontomaximo"},
    {"LoginSelectLogin", [](const SqlFilterHeaders& h) { return ModelSQLLogin::SelectLogin(h); },
     "id login senha ativo"},
    {"ParametroSelectParametros",
     [](const SqlFilterHeaders&) { return ModelSQLParametro::SelectParametros(kTenantName); },
     "manutencao sincronizar_tributacao sincronizar_inativo igualar_precos", true},
    {"ParametroSelectManutencao",
     [](const SqlFilterHeaders&) { return ModelSQLParametro::SelectManutencao(kTenantName); },
     "manutencao", true},
};

void PrintTo(const CatalogueCase& c, std::ostream* os) { *os << c.name; }

// Loads the DDL once for the whole suite: an empty tenant, a demo tenant and
// a control schema with one registered tenant.
class CatalogueTest : public ::testing::TestWithParam<CatalogueCase> {
 protected:
  static void SetUpTestSuite() {
    tenant_ = new ScratchSchema(std::string(kTenantSchema));
    demo_ = new ScratchSchema(std::string(kDemoSchema));
    control_ = new ScratchSchema(std::string(kControlSchema));
    TestMariaDb(tenant_->name(), true).ExecFile(SourcePath("db/tenant.sql"));
    TestMariaDb demo(demo_->name(), true);
    demo.ExecFile(SourcePath("db/tenant.sql"));
    demo.ExecFile(SourcePath("db/demo.sql"));
    TestMariaDb control(control_->name(), true);
    control.ExecFile(SourcePath("db/stru.sql"));
    control.Exec("INSERT INTO _schemas (name_schema, manutencao, sincronizar_inativo) VALUES ('" +
                 std::string(kTenantName) + "', 0, 1)");
  }
  static void TearDownTestSuite() {
    delete tenant_;
    delete demo_;
    delete control_;
  }

  // The empty schema the case's statement runs on.
  static std::string EmptySchema(const CatalogueCase& c) {
    return c.control ? control_->name() : tenant_->name();
  }
  static std::string DemoSchema(const CatalogueCase& c) {
    return c.control ? control_->name() : demo_->name();
  }

  static ScratchSchema* tenant_;
  static ScratchSchema* demo_;
  static ScratchSchema* control_;
};

ScratchSchema* CatalogueTest::tenant_ = nullptr;
ScratchSchema* CatalogueTest::demo_ = nullptr;
ScratchSchema* CatalogueTest::control_ = nullptr;

// The paging clause goes on a line of its own after the statement; LIMIT 0
// reads the result's columns without rows.
std::string WithoutRows(const std::string& sql) { return sql + "\r\nLIMIT 0"; }

TEST_P(CatalogueTest, ColumnsAreTheRecordLayout) {
  const CatalogueCase& c = GetParam();
  TestMariaDb db(EmptySchema(c));
  EXPECT_EQ(db.ColumnNames(WithoutRows(c.select(NoFilter()))), Words(c.columns));
}

TEST_P(CatalogueTest, EveryFilterHeaderRunsOnTheTable) {
  const CatalogueCase& c = GetParam();
  if (c.control) {
    // The control statements run on `_stru` and take no filter.
    EXPECT_EQ(c.select(AllFilters()), c.select(NoFilter()));
    return;
  }
  const std::string sql = c.select(AllFilters());
  // Each filter reaches the statement...
  EXPECT_NE(sql.find("1 = 1"), std::string::npos) << sql;
  EXPECT_NE(sql.find("dtultalteracaoregistro >= '2000-01-01 00:00:00'"), std::string::npos) << sql;
  EXPECT_NE(sql.find("codfilialorigem, 0) <> 7"), std::string::npos) << sql;
  // ...and the database finds the columns it names on this table.
  TestMariaDb db(EmptySchema(c));
  EXPECT_EQ(db.ColumnNames(WithoutRows(sql)), Words(c.columns));
}

TEST_P(CatalogueTest, OnlyAGetIsFiltered) {
  const CatalogueCase& c = GetParam();
  EXPECT_EQ(c.select(AllFiltersButNotGet()), c.select(NoFilter()));
}

TEST_P(CatalogueTest, DemoDataAnswersEveryRegistry) {
  const CatalogueCase& c = GetParam();
  TestMariaDb db(DemoSchema(c));
  EXPECT_FALSE(db.Rows(c.select(NoFilter())).empty());
}

INSTANTIATE_TEST_SUITE_P(Catalogue, CatalogueTest, ::testing::ValuesIn(kCatalogueCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Layout: Select, one indented column per line, From and the table.
TEST(CatalogueLayoutTest, FixedStatementText) {
  EXPECT_EQ(ModelSQLCidade::SelectCidades(NoFilter()),
            "Select\r\n  codigo,\r\n  cidade,\r\n  estado,\r\n  codibge,\r\n  codpais,\r\n"
            "  nomepais\r\nFrom\r\n  cidades");
}

TEST(CatalogueLayoutTest, BranchesKeepTheHeadOfficeOutAndJoinFiltersWithAnd) {
  SqlFilterHeaders h;
  h.where = "nome like 'Loja%'";
  EXPECT_EQ(ModelSQLFilial::SelectFiliais(h),
            "Select\r\n  codigo,\r\n  nome,\r\n  codcliente,\r\n  consultarduplicatas,\r\n"
            "  consultarcheques,\r\n  consultarestoque\r\nFrom\r\n  filiais\r\nWhere\r\n"
            "  codigo > 0 and nome like 'Loja%'");
}

TEST(CatalogueLayoutTest, PriceItemFilterBecomesTheFixedCondition) {
  SqlFilterHeaders h;
  h.alterado_apos = "2026-01-01";
  const std::string unfiltered = ModelSQLPrecos::SelectTabelasItens(NoFilter(), "");
  EXPECT_TRUE(unfiltered.ends_with("\r\nFrom\r\n  tabelaprecositens")) << unfiltered;
  EXPECT_EQ(ModelSQLPrecos::SelectTabelasItens(h, ""),
            unfiltered + " Where dtultalteracaoregistro >= '2026-01-01'");
  EXPECT_EQ(
      ModelSQLPrecos::SelectTabelasItens(h, "codfilial = -1"),
      unfiltered + "\r\nWhere\r\n  codfilial = -1 and dtultalteracaoregistro >= '2026-01-01'");
}

TEST(CatalogueLayoutTest, StockChangeItemsFilterOnTheItemColumns) {
  SqlFilterHeaders h;
  h.alterado_apos = "2026-01-01";
  h.filial_origem_filter = "only";
  h.filial = "3";
  const std::string sql = ModelSQLAlteracaoEstoque::SelectAlteracaoEstoqueItens(h);
  EXPECT_TRUE(sql.starts_with("Select\r\n  aei.codigo,\r\n  aei.codalteracaoestoque,\r\n")) << sql;
  EXPECT_TRUE(
      sql.ends_with("  ae.codfilialdestino\r\nFrom\r\n  alteracaoestoqueitens aei\r\n"
                    "  left join alteracaoestoque ae on ae.codigo = aei.codalteracaoestoque"
                    " Where aei.dtultalteracaoregistro >= '2026-01-01'"
                    " and coalesce(aei.codfilialorigem, 0) = 3"))
      << sql;
}

TEST(CatalogueLayoutTest, OptionalColumnsEachStartWithACommaLine) {
  EXPECT_TRUE(ModelSQLCartao::SelectCartoes(NoFilter(), true)
                  .ends_with("  pix\r\n,\r\n  inativo\r\nFrom\r\n  cartoes"));
  EXPECT_TRUE(ModelSQLProduto::SelectProdutos(NoFilter(), true, true)
                  .ends_with("  desconto\r\n,\r\n  inativo\r\n,\r\n  codaliquota,\r\n  ipi,\r\n"
                             "  proicms,\r\n  propis,\r\n  procstipi,\r\n  procodigoenq,\r\n"
                             "  provaloripi,\r\n  piscofins,\r\n  pisaliquota,\r\n"
                             "  cofinsaliquota,\r\n  codplanocontas,\r\n  mvadentrouf,\r\n"
                             "  mvaforauf,\r\n  perctransparenciafiscal,\r\n"
                             "  perctransparenciafiscalest,\r\n  perctransparenciafiscalmun,\r\n"
                             "  codbeneficio,\r\n  motdesonicms,\r\n  codservico,\r\n"
                             "  codigoncm,\r\n  genero,\r\n  origem,\r\n  cest\r\nFrom\r\n"
                             "  produtos"));
}

TEST(CatalogueLayoutTest, ControlStatementsQuoteTheSchemaName) {
  EXPECT_EQ(ModelSQLParametro::SelectManutencao("loja'1\\"),
            "Select\r\n  manutencao\r\nFrom\r\n  _schemas\r\nWhere\r\n"
            "  name_schema = 'loja''1\\\\'");
}

// A schema name built to break out of its literal finds no tenant and runs
// as one condition, on a server that reads backslash escapes.
TEST_F(CatalogueTest, ControlStatementsResistLiteralBreakout) {
  TestMariaDb db(control_->name());
  for (std::string_view schema : {"x' or '1'='1", "x\\' or 1=1 #", "x\\", ""}) {
    SCOPED_TRACE(schema);
    EXPECT_TRUE(db.Rows(ModelSQLParametro::SelectParametros(schema)).empty());
  }
  const auto rows = db.Rows(ModelSQLParametro::SelectParametros(kTenantName));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0], (testing::Row{"0", "0", "1", "0"}));
}

// What the demo promises: the demo account, branches without the head
// office, and loading twice leaving the same rows.
TEST_F(CatalogueTest, DemoHasTheDemoLoginAndHidesTheHeadOffice) {
  TestMariaDb db(demo_->name());
  EXPECT_EQ(db.Rows("Select senha, ativo From login Where login = 'demo'"),
            (std::vector<testing::Row>{{"demo", "1"}}));
  EXPECT_EQ(db.Rows("Select codigo From filiais Where codigo = 0").size(), 1u);
  for (const testing::Row& row : db.Rows(ModelSQLFilial::SelectFiliais(NoFilter()))) {
    EXPECT_NE(row[0], "0");
  }
}

TEST(DemoDataTest, LoadsTwiceWithTheSameRows) {
  ScratchSchema schema("qv_model_sql_demo_twice_test");
  TestMariaDb db(schema.name(), true);
  db.ExecFile(SourcePath("db/tenant.sql"));
  db.ExecFile(SourcePath("db/demo.sql"));
  const std::string count_all =
      "Select (Select count(*) From clientes) + (Select count(*) From produtos) +"
      " (Select count(*) From tabelaprecositens) + (Select count(*) From crduplicatas) +"
      " (Select count(*) From login)";
  const auto first = db.Rows(count_all);
  db.ExecFile(SourcePath("db/tenant.sql"));
  db.ExecFile(SourcePath("db/demo.sql"));
  EXPECT_EQ(db.Rows(count_all), first);
  // The session's mode is restored after the head office went in.
  EXPECT_EQ(db.Rows("Select @@SESSION.sql_mode like '%NO_AUTO_VALUE_ON_ZERO%'"),
            (std::vector<testing::Row>{{"0"}}));
}

// scripts/load-db.sh registers a tenant in the real control schema `_stru`;
// the test removes its own row and schema afterwards.
class LoadScriptTest : public ::testing::Test {
 protected:
  static constexpr std::string_view kSchema = "qv_model_loaddb_test";

  void TearDown() override {
    TestMariaDb db;
    db.Exec("DROP DATABASE IF EXISTS `" + std::string(kSchema) + "`");
    db.Exec("DELETE FROM _stru._schemas WHERE name_schema = '" + std::string(kSchema) + "'");
  }

  static int Run(std::string_view args) {
    const std::string command =
        SourcePath("scripts/load-db.sh").string() + " " + std::string(args) + " >/dev/null 2>&1";
    return std::system(command.c_str());
  }
};

TEST_F(LoadScriptTest, CreatesRegistersAndResetsToNormal) {
  ASSERT_EQ(Run(std::string(kSchema) + " --demo"), 0);
  TestMariaDb db;
  const std::string row =
      "Select manutencao, sincronizar_inativo From _stru._schemas"
      " Where name_schema = '" +
      std::string(kSchema) + "'";
  EXPECT_EQ(db.Rows(row), (std::vector<testing::Row>{{"0", "0"}}));
  EXPECT_EQ(
      db.Rows("Select count(*) From `" + std::string(kSchema) + "`.login Where login = 'demo'"),
      (std::vector<testing::Row>{{"1"}}));

  // A second run puts the tenant back into the normal state and keeps its
  // switches.
  db.Exec(
      "UPDATE _stru._schemas SET manutencao = 1, sincronizar_inativo = 1 WHERE name_schema = '" +
      std::string(kSchema) + "'");
  ASSERT_EQ(Run(kSchema), 0);
  EXPECT_EQ(db.Rows(row), (std::vector<testing::Row>{{"0", "1"}}));
}

TEST_F(LoadScriptTest, RefusesNamesThatAreNotPlainIdentifiers) {
  for (std::string_view args : {"", "'a;b'", "'x y'", "_stru", "'a`b'", "one two"}) {
    SCOPED_TRACE(args);
    EXPECT_NE(Run(args), 0);
  }
}

}  // namespace
}  // namespace quorvane::model
