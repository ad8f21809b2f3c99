#include "model/model_sql.h"

#include <cstddef>
#include <span>

namespace quorvane::model {

namespace {

using Columns = std::span<const std::string_view>;

constexpr std::string_view kLineBreak = "\r\n";

// The columns of each registry, in the order of the JSON records that the
// branches receive. Packed by hand: one column per line would triple the file.
// clang-format off

// Places, partners and reference lists.
constexpr std::string_view kCidadesColumns[] = {
    "codigo", "cidade", "estado", "codibge", "codpais", "nomepais"
};
constexpr std::string_view kAdministradorasColumns[] = {
    "codigo", "razao", "fantasia", "telefone", "cnpj", "inscricao", "endereco", "numero", "bairro",
    "cep", "codcidade"
};
constexpr std::string_view kFornecedoresColumns[] = {
    "codigo", "razao", "fantasia", "pessoa", "tipo", "endereco", "numero", "complemento",
    "pontoreferencia", "bairro", "codcidade", "cep", "cnpj", "inscricao", "telefone", "fax",
    "email", "contato", "dtcadastro", "descontovendaavista", "descontomaximo", "observacao",
    "forbloconotas", "dtatividade", "descontovenda", "semcomissao", "comissao",
    "comissaoprofissional", "codcontasapagarclassificacao"
};
constexpr std::string_view kTransportadorasColumns[] = {
    "codigo", "nome", "pessoa", "endereco", "codcidade", "cnpj_cpf", "inscricaoestadual", "placa",
    "dtcadastro", "ufplaca", "tipofrete", "antt"
};
constexpr std::string_view kRepresentantesColumns[] = {
    "codigo", "nome", "telefone", "email", "dtcadastro", "senha", "observacao"
};
constexpr std::string_view kProfissionaisColumns[] = {
    "prfcodigo", "prfnome", "prfendereco", "prfbairro", "prfcodcidade", "prfcep", "prftelefone",
    "prfcelular", "prfprofissao", "prfcomissao", "prfdtcadastro", "prfsemcomissao", "prfcpf"
};
constexpr std::string_view kFinanceirasColumns[] = {
    "codigo", "nome", "finbloconota"
};
constexpr std::string_view kRotasColumns[] = {
    "codigo", "nome"
};
constexpr std::string_view kTextosColumns[] = {
    "codigo", "descricao", "tipo", "texto"
};
constexpr std::string_view kPagdigitaisColumns[] = {
    "codigo", "descricao", "tipo", "imprimircomprovante"
};
constexpr std::string_view kParcelamentosColumns[] = {
    "codigo", "descricao", "entrada", "diasentreparcelas", "nrparcelas", "gerarboleto",
    "diasreajusteparcelas", "utilizarduplicata", "utilizarcartao", "utilizarcheque",
    "taxaacrescimo", "bloquearparcela"
};
constexpr std::string_view kVencimentosColumns[] = {
    "codigo", "descricao", "tipo", "quinzena1diainicial", "quinzena1diafinal",
    "quinzena1diavencimento", "quinzena1mesposterior", "quinzena2diainicial", "quinzena2diafinal",
    "quinzena2diavencimento", "quinzena2mesposterior"
};
constexpr std::string_view kFiliaisColumns[] = {
    "codigo", "nome", "codcliente", "consultarduplicatas", "consultarcheques", "consultarestoque"
};
constexpr std::string_view kNegativadosColumns[] = {
    "codigo", "pessoa", "cnpj", "nome", "local", "motivo", "observacao"
};

// Customers.
constexpr std::string_view kClientesColumns[] = {
    "codigo", "nome", "fantasia", "pessoa", "endereco", "clinumeroend", "complemento",
    "pontoreferencia", "bairro", "codcidade", "cep", "codrota", "cnpj_cpf", "inscricaoestadual_rg",
    "orgaoexpedidorrg", "dataexpedicaorg", "telefone", "celular", "teltrabalho", "localtrabalho",
    "contato", "mae", "pai", "cliestadocivil", "conjuge", "referencia", "email", "dtcadastro",
    "dtemissaocontratocheque", "dtnascimento", "diasbloqueio", "clidescontovenda",
    "cliacrescimovenda", "bloqueado", "motivobloqueio", "vendaduplicata", "vendacheque",
    "vendacartao", "vendafinanceira", "juros", "maladireta", "observacao", "pessoasautorizadas",
    "codusuario", "dtcartacobranca", "modelocartacobranca", "codparcelamento", "limite",
    "clibloconota", "codvencimento", "codconvenio", "dtproximocontatocobranca",
    "hrproximocontatocobranca", "consumidorfinal", "revendedor", "isentodetaxaboleto",
    "clidescontorecebimento", "codvendedorexterno", "industria", "construtora",
    "codtransportadora", "nrdiascarenciaduplicata", "clienteespecial", "mei", "eireli",
    "contribuinteicms", "genero", "profissao", "inscricaomunicipal"
};
constexpr std::string_view kClientesclassificacaoColumns[] = {
    "codigo", "descricao"
};
constexpr std::string_view kClientesclassificadosColumns[] = {
    "codcliente", "codclienteclassificacao"
};
constexpr std::string_view kClientesenderecosColumns[] = {
    "codigo", "apelido", "endereco", "clinumeroend", "complemento", "bairro", "codcidade", "cep",
    "tipo", "codcliente"
};
constexpr std::string_view kClientescelularesColumns[] = {
    "codigo", "codcliente", "celular"
};
constexpr std::string_view kClientesdescontoColumns[] = {
    "codcliente", "codproduto", "desconto", "acrescimo"
};

// Products, groups, kits, prices and stock changes.
constexpr std::string_view kProdutosColumns[] = {
    "codigo", "codbarras", "servico", "descricao", "unidade", "codgrupo", "codsubgrupo",
    "codfornecedor", "codfabricante", "dtcadastro", "referencia", "validade", "observacao",
    "arredondamentotruncamento", "producaopropriaterceiro", "descontomaximo", "anvisa",
    "usocontinuo", "semcomissao", "comissao", "fracaocompra", "fracaovenda", "codgrade",
    "tipograde", "fator", "farinsumo", "farusoprolongado", "farregistroms", "fartipouso",
    "farunidademedida", "farunidademedicamento", "farunidadefarmaceutica", "farclasse",
    "farquantidade", "farprincipioativo", "atualizarprecosonline", "participafidelidade",
    "farnrdbc", "fartipoclasse", "farapresentacao", "codreferencia", "parcelasetiquetas",
    "fatormetro", "farmaciapopular", "embalagem", "corgrade", "comissaoprofissional", "desconto"
};
constexpr std::string_view kProdutosTributacaoColumns[] = {
    "codaliquota", "ipi", "proicms", "propis", "procstipi", "procodigoenq", "provaloripi",
    "piscofins", "pisaliquota", "cofinsaliquota", "codplanocontas", "mvadentrouf", "mvaforauf",
    "perctransparenciafiscal", "perctransparenciafiscalest", "perctransparenciafiscalmun",
    "codbeneficio", "motdesonicms", "codservico", "codigoncm", "genero", "origem", "cest"
};
constexpr std::string_view kProdutosclassificacaoColumns[] = {
    "codigo", "descricao"
};
constexpr std::string_view kProdutosclassificadosColumns[] = {
    "codproduto", "codprodutoclassificacao", "classificacaopadrao"
};
constexpr std::string_view kProdutoseanColumns[] = {
    "codproduto", "codbarras"
};
constexpr std::string_view kProdutosfiliaisColumns[] = {
    "codproduto", "codfilial", "quantidade", "precocusto", "precomedio", "precofabrica", "minimo",
    "maximo", "extipi", "dtultvenda", "dtultcompra", "qtdeultcompra", "curvaabc",
    "controlelotevalidade", "participaprogramacao", "vendarapida", "curvaabcvalor",
    "suspendercompra", "etiquetar", "semdescontoentrega", "localizacao", "balanca", "tipoitem",
    "codservicomunicipal", "prodtvalidade", "precovenda", "precopromocao"
};
constexpr std::string_view kCodigosnofornecedorColumns[] = {
    "codproduto", "codfornecedor", "codprodnoforn"
};
constexpr std::string_view kReferenciasColumns[] = {
    "codigo", "descricao", "dtcadastro"
};
constexpr std::string_view kUnidadesColumns[] = {
    "un", "descricao", "untrib", "uncom"
};
constexpr std::string_view kGruposColumns[] = {
    "codigo", "nome", "descontovendaavista", "acrescimovendaaprazo", "descontomaximo",
    "semcomissao", "comissao", "comissaoavista", "comissaoduplicata", "comissaocheque",
    "comissaocartao", "comissaofinanceira", "dtcadastro", "atualizarprecosonline", "descontovenda",
    "comissao2", "comissao3", "comissao4", "comissao5", "faixadescontoinicial",
    "faixadescontofinal", "faixadescontoinicial2", "faixadescontoinicial3",
    "faixadescontoinicial4", "faixadescontoinicial5", "faixadescontofinal2", "faixadescontofinal3",
    "faixadescontofinal4", "faixadescontofinal5", "capturarcrm", "participabalanco", "localizacao",
    "comissaoprofissional", "naolancarfalta", "descontovinculadovenda", "qtdeprecovenda",
    "sincronizarmobile"
};
constexpr std::string_view kSubgruposColumns[] = {
    "codigo", "nome", "descontovendaavista", "acrescimovendaaprazo", "descontomaximo",
    "semcomissao", "comissao", "comissaoavista", "comissaoduplicata", "comissaocheque",
    "comissaocartao", "comissaofinanceira", "dtcadastro", "atualizarprecosonline", "descontovenda",
    "comissao2", "comissao3", "comissao4", "comissao5", "faixadescontoinicial",
    "faixadescontofinal", "faixadescontoinicial2", "faixadescontoinicial3",
    "faixadescontoinicial4", "faixadescontoinicial5", "faixadescontofinal2", "faixadescontofinal3",
    "faixadescontofinal4", "faixadescontofinal5", "comissaoprofissional", "naolancarfalta",
    "descontovinculadovenda", "qtdeprecovenda", "codgrupo"
};
constexpr std::string_view kKitsColumns[] = {
    "codigo", "descricao", "unidade", "codbarras"
};
constexpr std::string_view kKitsitensColumns[] = {
    "codkit", "codproduto", "quantidade", "desconto"
};
constexpr std::string_view kTabelaprecosColumns[] = {
    "codigo", "descricao", "permitirdesconto", "margemlucrodefault", "comissao",
    "tipovendavinculada", "vendadinheiro", "vendaduplicata", "vendacartao", "vendacheque",
    "vendafinanceira", "vendaoutros", "vendaconvenio", "semcomissao", "vendaboleto",
    "comissaoprofissional"
};
constexpr std::string_view kTabelaprecositensColumns[] = {
    "codtabelaprecos", "codproduto", "codfilial", "codfilialorigem", "preco", "precoanterior",
    "margemlucro", "quantidadevinculada", "descontovinculado", "quantidademinimavenda",
    "quantidademaximadesconto"
};
constexpr std::string_view kAlteracaoestoqueColumns[] = {
    "codigo", "data", "hora", "acertoestoque", "descricao", "codfilial", "codfilialdestino",
    "cnpj", "nrnota", "modelo", "serie", "subserie"
};
constexpr std::string_view kAlteracaoestoqueitensColumns[] = {
    "aei.codigo", "aei.codalteracaoestoque", "aei.codproduto", "aei.descricaoproduto",
    "aei.complementoproduto", "aei.unidadeproduto", "aei.quantidade", "aei.tipo", "aei.precocusto",
    "aei.precovenda", "aei.precovenda2", "aei.lote", "aei.motivoperda", "aei.validade",
    "ae.codfilial", "ae.codfilialdestino"
};

// Receivables, payables, banks, cards and agreements.
constexpr std::string_view kCrchequesColumns[] = {
    "codigo", "codfilial", "baixado", "devolvido", "numero", "conta", "banco", "codcliente",
    "cnpj_cpf_emitente", "emitente", "dtemissao", "hremissao", "dtvencimento", "praca", "valor",
    "coddigitador", "codvendedor", "codprofissional", "caixa", "negociar", "observacao", "dtbaixa",
    "hrbaixa", "codusuariobaixa", "destino", "valorrecebido", "agencia", "custodia"
};
constexpr std::string_view kCrduplicatasColumns[] = {
    "codigo", "codfilial", "baixado", "tipo", "descontado", "negociado", "parcialprodutos",
    "restanteconta", "duvidoso", "nrtitulo", "nrparcela", "codcliente", "dtemissao", "hremissao",
    "dtvencimento", "valor", "banco", "observacao", "codvendedor", "codprofissional",
    "bloquearcomissao", "caixa", "retiradopor", "valorentrada", "codbloquetocobranca",
    "codconvenio"
};
constexpr std::string_view kCrduplicatasbaixadoColumns[] = {
    "codigo", "codcrduplicata", "codusuario", "nrrecebimento", "dtbaixa", "hrbaixa", "desconto",
    "juros", "valor", "caixa", "observacao", "restantedeconta", "percjuros", "percdesconto"
};
constexpr std::string_view kBloquetoscobrancaColumns[] = {
    "codigo", "codcliente", "codfilial", "nomecliente", "enderecocliente", "bairrocliente",
    "cidadecliente", "ufcliente", "cepcliente", "cnpj_cpfcliente", "rg_iecliente",
    "codfaturamento", "dtvencimento", "valor", "documento", "codcrduplicatas", "status", "nrbanco",
    "nr2via", "emitido", "nrnota", "serie", "dtemissao", "nrconvenio", "nossonumero", "codcidade",
    "taxaboleto", "retornoprocessado", "situacao", "mensagemretorno", "jurospago",
    "descontoconcedido", "dtpagamento", "diretorioremessa", "cnab", "descontado",
    "nrbaixadescontado", "codcodigosbancos", "pedidobaixa"
};
constexpr std::string_view kContasapagarclassificacaoColumns[] = {
    "codigo", "descricao", "codconta", "codhistorico"
};
constexpr std::string_view kGruposbancoColumns[] = {
    "codigo", "descricao", "tipo", "dtcadastro", "despesa", "balancomensal", "ordem"
};
constexpr std::string_view kHistoricosColumns[] = {
    "codigo", "descricao", "tipo", "codgrupobanco", "dtcadastro", "hisrelgerencial", "ordem"
};
constexpr std::string_view kContasColumns[] = {
    "codigo", "descricao", "banco", "agencia", "conta", "contato", "telefone", "tipo", "site",
    "dtcadastro", "codfilial", "ordem"
};
constexpr std::string_view kCartoesColumns[] = {
    "codigo", "descricao", "taxavistacredito", "taxafinanestabcredito", "taxafinanadmincredito",
    "nrdiasrecebimentocredito", "taxavistadebito", "nrdiasrecebimentodebito", "codadministradora",
    "pix"
};
constexpr std::string_view kCartoestaxasColumns[] = {
    "codigo", "codcartao", "taxavistacredito", "taxafinanestabcredito", "taxafinanadmincredito",
    "nrdiasrecebimentocredito", "nrparcelas"
};
constexpr std::string_view kConveniosColumns[] = {
    "codigo", "nome", "endereco", "bairro", "codcidade", "cnpj", "inscricaoestadual", "telefone",
    "fax", "email", "contato", "observacao", "codcliente", "cep", "complemento", "codvencimento",
    "isentodetaxaboleto", "descontorecebimento", "descontovenda", "acrescimovenda",
    "nrdiascarenciaduplicata", "diasbloqueio", "codcodigosbancos"
};
constexpr std::string_view kConveniosdescontogruposColumns[] = {
    "codconvenio", "codgrupo", "desconto"
};
constexpr std::string_view kConveniosdescontosubgruposColumns[] = {
    "codconvenio", "codsubgrupo", "desconto"
};
constexpr std::string_view kConveniosdescontoColumns[] = {
    "codconvenio", "codproduto", "desconto", "acrescimo"
};

// Taxation.
constexpr std::string_view kAliquotasColumns[] = {
    "codigo", "descricao", "aliquota", "tipoimposto", "percaliquotadentrouf", "cstdentrouf",
    "cstforauf", "modbcicmsdentrouf", "modbcicmsforauf", "redbasecalculoicmsdentrouf",
    "redbasecalculoicmsforauf", "modbcicmsstdentrouf", "modbcicmsstforauf",
    "redbasecalculoicmsstdentrouf", "redbasecalculoicmsstforauf", "csosndentrouf", "csosnforauf",
    "cfopvendadentrouf", "cfopvendaforauf", "cfopcompradentrouf", "cfopcompraforauf",
    "cfopdevvendadentrouf", "cfopdevvendaforauf", "cfopdevcompradentrouf", "cfopdevcompraforauf",
    "tipopessoa", "tipoufdentrofora", "tipocliente", "pessoafisica", "pessoajuridica",
    "movdentrouf", "movforauf", "clirevendedor", "cliconsumidorfinal", "cliindustria",
    "cliconstrutora", "cfoptransfdentrouf", "cfoptransfforauf", "climei", "clieireli",
    "observacao", "clicontribuinte", "clinaocontribuinte", "cfopentradamanifestodentrouf",
    "cfopentradamanifestoforauf", "cfopsaidamanifestodentrouf", "cfopsaidamanifestoforauf", "fcp",
    "cstipi", "codigoenqipi", "aliquotaipi", "valoripi", "aliquotadesoneracao", "piscofins",
    "pisaliquota", "cofinsaliquota", "percdiferimento"
};
constexpr std::string_view kAliquotassecundariasColumns[] = {
    "codigo", "codaliquota", "descricao", "aliquota", "tipoimposto", "percaliquotadentrouf", "cst",
    "modbcicms", "redbasecalculoicms", "modbcicmsst", "redbasecalculoicmsst", "csosn", "cfopvenda",
    "cfopcompra", "cfopdevvenda", "cfopdevcompra", "tipopessoa", "tipoufdentrofora", "tipocliente"
};
constexpr std::string_view kCfopColumns[] = {
    "cfop", "descricao", "naturezaoperacao", "cfopentrada", "cfopentrada2", "tipofaturamento",
    "codigocontaanalitica", "nivelcontaanalitica", "codnatcontaanalitica", "indicadortipoconta",
    "nomecontaanalitica", "codigocontareferenciada", "movestoque"
};
constexpr std::string_view kMvaColumns[] = {
    "codproduto", "mva_rj", "mva_mg", "mva_es", "mva_sp", "mva_ac", "mva_al", "mva_am", "mva_ap",
    "mva_ba", "mva_ce", "mva_df", "mva_go", "mva_ma", "mva_ms", "mva_mt", "mva_pa", "mva_pb",
    "mva_pe", "mva_pi", "mva_pr", "mva_rn", "mva_ro", "mva_rr", "mva_rs", "mva_sc", "mva_se",
    "mva_to"
};

// Users and logins.
constexpr std::string_view kUsuariosColumns[] = {
    "codigo", "nome", "endereco", "bairro", "codcidade", "cep", "cpf", "rg", "telefone", "cargo",
    "senha", "acessos", "comissao", "dtnascimento", "dtcadastro", "tipoacesso",
    "permitiragendamentos", "caixa", "senhafarmaciapopular", "codusuariosperfil", "acessorapido",
    "semcomissao", "descontomaximo"
};
constexpr std::string_view kUsuariosperfilColumns[] = {
    "codigo", "descricao", "acessos", "comissao", "descontomaximo"
};
constexpr std::string_view kLoginColumns[] = {
    "id", "login", "senha", "ativo"
};
// clang-format on

// Tenant control.
constexpr std::string_view kParametrosColumns[] = {"manutencao", "sincronizar_tributacao",
                                                   "sincronizar_inativo", "igualar_precos"};
constexpr std::string_view kManutencaoColumns[] = {"manutencao"};

// The stock-change items come with the branches of the change that owns them.
constexpr std::string_view kAlteracaoEstoqueItensFrom =
    "alteracaoestoqueitens aei\r\n"
    "  left join alteracaoestoque ae on ae.codigo = aei.codalteracaoestoque";

// "  a,\r\n  b,\r\n  c": one line per column, indented by two blanks, a comma
// after every column but the last.
std::string ColumnLines(Columns columns) {
  std::string lines;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (i > 0) {
      lines += ',';
      lines += kLineBreak;
    }
    lines += "  ";
    lines += columns[i];
  }
  return lines;
}

// Select, the columns, From and the table, and the Where lines when there is
// a fixed condition.
std::string FixedSelect(Columns columns, std::string_view from, std::string_view condition = {}) {
  std::string text = "Select";
  text += kLineBreak;
  text += ColumnLines(columns);
  text += kLineBreak;
  text += "From";
  text += kLineBreak;
  text += "  ";
  text += from;
  if (!condition.empty()) {
    text += kLineBreak;
    text += "Where";
    text += kLineBreak;
    text += "  ";
    text += condition;
  }
  return text;
}

// A registry whose layout grows with the tenant's switches: `inativo` last
// when asked for, then the optional trailing columns. Each addition starts
// with a comma on a line of its own.
std::string SelectWithOptionalColumns(Columns columns, bool inativo, Columns trailing,
                                      std::string_view table) {
  std::string text = "Select";
  text += kLineBreak;
  text += ColumnLines(columns);
  text += kLineBreak;
  if (inativo) {
    text += ',';
    text += kLineBreak;
    text += "  inativo";
    text += kLineBreak;
  }
  if (!trailing.empty()) {
    text += ',';
    text += kLineBreak;
    text += ColumnLines(trailing);
    text += kLineBreak;
  }
  text += "From";
  text += kLineBreak;
  text += "  ";
  text += table;
  return text;
}

std::string Filtered(const SqlFilterHeaders& headers, Columns columns, std::string_view table) {
  return ModelSQLBasic::PrepareSQL(headers, FixedSelect(columns, table));
}

std::string ControlSelect(Columns columns, std::string_view schema) {
  return FixedSelect(columns, "_schemas", "name_schema = " + QuoteSqlLiteral(schema));
}

}  // namespace

// Places, partners and reference lists.

std::string ModelSQLCidade::SelectCidades(const SqlFilterHeaders& headers) {
  return Filtered(headers, kCidadesColumns, "cidades");
}

std::string ModelSQLAdministradora::SelectAdministradoras(const SqlFilterHeaders& headers) {
  return Filtered(headers, kAdministradorasColumns, "administradoras");
}

std::string ModelSQLFornecedor::SelectFornecedores(const SqlFilterHeaders& headers) {
  return Filtered(headers, kFornecedoresColumns, "fornecedores");
}

std::string ModelSQLTransportadora::SelectTransportadora(const SqlFilterHeaders& headers) {
  return Filtered(headers, kTransportadorasColumns, "transportadoras");
}

std::string ModelSQLRepresentante::SelectRepresentantes(const SqlFilterHeaders& headers) {
  return Filtered(headers, kRepresentantesColumns, "representantes");
}

std::string ModelSQLProfissional::SelectProfissionais(const SqlFilterHeaders& headers) {
  return Filtered(headers, kProfissionaisColumns, "profissionais");
}

std::string ModelSQLFinanceira::SelectFinanceiras(const SqlFilterHeaders& headers) {
  return Filtered(headers, kFinanceirasColumns, "financeiras");
}

std::string ModelSQLRota::SelectRotas(const SqlFilterHeaders& headers) {
  return Filtered(headers, kRotasColumns, "rotas");
}

std::string ModelSQLTexto::SelectTextos(const SqlFilterHeaders& headers) {
  return Filtered(headers, kTextosColumns, "textos");
}

std::string ModelSQLPagDigital::SelectPagDigital(const SqlFilterHeaders& headers) {
  return Filtered(headers, kPagdigitaisColumns, "pagdigitais");
}

std::string ModelSQLParcelamento::SelectParcelamentos(const SqlFilterHeaders& headers) {
  return Filtered(headers, kParcelamentosColumns, "parcelamentos");
}

std::string ModelSQLVencimento::SelectVencimentos(const SqlFilterHeaders& headers) {
  return Filtered(headers, kVencimentosColumns, "vencimentos");
}

std::string ModelSQLFilial::SelectFiliais(const SqlFilterHeaders& headers) {
  return PrepareSQL(headers, FixedSelect(kFiliaisColumns, "filiais", "codigo > 0"));
}

std::string ModelSQLNegativado::SelectNegativados(const SqlFilterHeaders& headers) {
  return Filtered(headers, kNegativadosColumns, "negativados");
}

// Customers.

std::string ModelSQLCliente::SelectClientes(const SqlFilterHeaders& headers, bool inativo) {
  return PrepareSQL(headers, SelectWithOptionalColumns(kClientesColumns, inativo, {}, "clientes"));
}

std::string ModelSQLCliente::SelectClassificacoes(const SqlFilterHeaders& headers) {
  return Filtered(headers, kClientesclassificacaoColumns, "clientesclassificacao");
}

std::string ModelSQLCliente::SelectClassificados(const SqlFilterHeaders& headers) {
  return Filtered(headers, kClientesclassificadosColumns, "clientesclassificados");
}

std::string ModelSQLCliente::SelectEnderecos(const SqlFilterHeaders& headers) {
  return Filtered(headers, kClientesenderecosColumns, "clientesenderecos");
}

std::string ModelSQLCliente::SelectTelefones(const SqlFilterHeaders& headers) {
  return Filtered(headers, kClientescelularesColumns, "clientescelulares");
}

std::string ModelSQLCliente::SelectDescontos(const SqlFilterHeaders& headers) {
  return Filtered(headers, kClientesdescontoColumns, "clientesdesconto");
}

// Products, groups, kits, prices and stock changes.

std::string ModelSQLProduto::SelectProdutos(const SqlFilterHeaders& headers, bool inativo,
                                            bool tributacao) {
  const Columns taxation = tributacao ? Columns(kProdutosTributacaoColumns) : Columns();
  return PrepareSQL(headers,
                    SelectWithOptionalColumns(kProdutosColumns, inativo, taxation, "produtos"));
}

std::string ModelSQLProduto::SelectClassificacoes(const SqlFilterHeaders& headers) {
  return Filtered(headers, kProdutosclassificacaoColumns, "produtosclassificacao");
}

std::string ModelSQLProduto::SelectClassificados(const SqlFilterHeaders& headers) {
  return Filtered(headers, kProdutosclassificadosColumns, "produtosclassificados");
}

std::string ModelSQLProduto::SelectEAN(const SqlFilterHeaders& headers) {
  return Filtered(headers, kProdutoseanColumns, "produtosean");
}

std::string ModelSQLProduto::SelectDadosFilial(const SqlFilterHeaders& headers) {
  return Filtered(headers, kProdutosfiliaisColumns, "produtosfiliais");
}

std::string ModelSQLProduto::SelectCodigosNoFornecedor(const SqlFilterHeaders& headers) {
  return Filtered(headers, kCodigosnofornecedorColumns, "codigosnofornecedor");
}

std::string ModelSQLProduto::SelectReferencias(const SqlFilterHeaders& headers) {
  return Filtered(headers, kReferenciasColumns, "referencias");
}

std::string ModelSQLProduto::SelectUnidades(const SqlFilterHeaders& headers) {
  return Filtered(headers, kUnidadesColumns, "unidades");
}

std::string ModelSQLGrupo::SelectGrupos(const SqlFilterHeaders& headers) {
  return Filtered(headers, kGruposColumns, "grupos");
}

std::string ModelSQLSubgrupo::SelectSubgrupos(const SqlFilterHeaders& headers) {
  return Filtered(headers, kSubgruposColumns, "subgrupos");
}

std::string ModelSQLKit::SelectKits(const SqlFilterHeaders& headers) {
  return Filtered(headers, kKitsColumns, "kits");
}

std::string ModelSQLKit::SelectItens(const SqlFilterHeaders& headers) {
  return Filtered(headers, kKitsitensColumns, "kitsitens");
}

std::string ModelSQLPrecos::SelectTabelas(const SqlFilterHeaders& headers) {
  return Filtered(headers, kTabelaprecosColumns, "tabelaprecos");
}

std::string ModelSQLPrecos::SelectTabelasItens(const SqlFilterHeaders& headers,
                                               std::string_view filter) {
  return PrepareSQL(headers, FixedSelect(kTabelaprecositensColumns, "tabelaprecositens", filter));
}

std::string ModelSQLAlteracaoEstoque::SelectAlteracaoEstoque(const SqlFilterHeaders& headers) {
  return Filtered(headers, kAlteracaoestoqueColumns, "alteracaoestoque");
}

std::string ModelSQLAlteracaoEstoque::SelectAlteracaoEstoqueItens(const SqlFilterHeaders& headers) {
  return PrepareSQL(headers, FixedSelect(kAlteracaoestoqueitensColumns, kAlteracaoEstoqueItensFrom),
                    "aei");
}

// Receivables, payables, banks, cards and agreements.

std::string ModelSQLContasAReceber::SelectCheques(const SqlFilterHeaders& headers) {
  return Filtered(headers, kCrchequesColumns, "crcheques");
}

std::string ModelSQLContasAReceber::SelectDuplicatas(const SqlFilterHeaders& headers) {
  return Filtered(headers, kCrduplicatasColumns, "crduplicatas");
}

std::string ModelSQLContasAReceber::SelectDuplicatasBaixado(const SqlFilterHeaders& headers) {
  return Filtered(headers, kCrduplicatasbaixadoColumns, "crduplicatasbaixado");
}

std::string ModelSQLContasAReceber::SelectBloquetos(const SqlFilterHeaders& headers) {
  return Filtered(headers, kBloquetoscobrancaColumns, "bloquetoscobranca");
}

std::string ModelSQLContasAPagar::SelectClassificacoes(const SqlFilterHeaders& headers) {
  return Filtered(headers, kContasapagarclassificacaoColumns, "contasapagarclassificacao");
}

std::string ModelSQLBanco::SelectGrupos(const SqlFilterHeaders& headers) {
  return Filtered(headers, kGruposbancoColumns, "gruposbanco");
}

std::string ModelSQLBanco::SelectHistoricos(const SqlFilterHeaders& headers) {
  return Filtered(headers, kHistoricosColumns, "historicos");
}

std::string ModelSQLBanco::SelectContas(const SqlFilterHeaders& headers) {
  return Filtered(headers, kContasColumns, "contas");
}

std::string ModelSQLCartao::SelectCartoes(const SqlFilterHeaders& headers, bool inativo) {
  return PrepareSQL(headers, SelectWithOptionalColumns(kCartoesColumns, inativo, {}, "cartoes"));
}

std::string ModelSQLCartao::SelectTaxas(const SqlFilterHeaders& headers) {
  return Filtered(headers, kCartoestaxasColumns, "cartoestaxas");
}

std::string ModelSQLConvenio::SelectConvenios(const SqlFilterHeaders& headers, bool inativo) {
  return PrepareSQL(headers,
                    SelectWithOptionalColumns(kConveniosColumns, inativo, {}, "convenios"));
}

std::string ModelSQLConvenio::SelectDescontosGrupos(const SqlFilterHeaders& headers) {
  return Filtered(headers, kConveniosdescontogruposColumns, "conveniosdescontogrupos");
}

std::string ModelSQLConvenio::SelectDescontosSubgrupos(const SqlFilterHeaders& headers) {
  return Filtered(headers, kConveniosdescontosubgruposColumns, "conveniosdescontosubgrupos");
}

std::string ModelSQLConvenio::SelectDescontosProdutos(const SqlFilterHeaders& headers) {
  return Filtered(headers, kConveniosdescontoColumns, "conveniosdesconto");
}

// Taxation.

std::string ModelSQLTributacao::SelectAliquotas(const SqlFilterHeaders& headers) {
  return Filtered(headers, kAliquotasColumns, "aliquotas");
}

std::string ModelSQLTributacao::SelectAliquotasSecundarias(const SqlFilterHeaders& headers) {
  return Filtered(headers, kAliquotassecundariasColumns, "aliquotassecundarias");
}

std::string ModelSQLTributacao::SelectCFOP(const SqlFilterHeaders& headers) {
  return Filtered(headers, kCfopColumns, "cfop");
}

std::string ModelSQLTributacao::SelectMVA(const SqlFilterHeaders& headers) {
  return Filtered(headers, kMvaColumns, "mva");
}

// Users and logins.

std::string ModelSQLUsuario::SelectUsuarios(const SqlFilterHeaders& headers, bool inativo) {
  return PrepareSQL(headers, SelectWithOptionalColumns(kUsuariosColumns, inativo, {}, "usuarios"));
}

std::string ModelSQLUsuario::SelectPerfis(const SqlFilterHeaders& headers) {
  return Filtered(headers, kUsuariosperfilColumns, "usuariosperfil");
}

std::string ModelSQLLogin::SelectLogin(const SqlFilterHeaders& headers) {
  return Filtered(headers, kLoginColumns, "login");
}

// Tenant control.

std::string ModelSQLParametro::SelectParametros(std::string_view schema) {
  return ControlSelect(kParametrosColumns, schema);
}

std::string ModelSQLParametro::SelectManutencao(std::string_view schema) {
  return ControlSelect(kManutencaoColumns, schema);
}

}  // namespace quorvane::model
