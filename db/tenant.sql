-- Tables of one tenant schema. Runs inside the tenant's schema (after USE, or
-- with the schema as the client's database); no schema name is written here.
-- Safe to run again on an existing tenant: tables are only created when
-- missing, nothing is dropped.
--
-- Type choices follow how the server renders each column kind in JSON:
--   INT              32-bit number, NULL as null (codes, counters, days)
--   DECIMAL(p,s)     number (converted to double), NULL as null (money,
--                    quantities, percentages)
--   VARCHAR / TEXT   string, NULL as null; yes/no flags are VARCHAR(1)
--                    holding 'S' or 'N' (fixed-length CHAR is not rendered)
--   DATE             "YYYY-MM-DD"; TIME "hh:nn:ss"; DATETIME
--                    "yyyy-mm-dd hh:nn:ss"
-- No UNSIGNED, TINYINT, FLOAT, BIGINT or CHAR columns: they either have no
-- rendering or render NULL as 0.
--
-- Every table also carries the two synchronisation columns that downloads
-- filter on: `codfilialorigem` (the branch that uploaded the row; the server
-- writes it from x-filial) and `dtultalteracaoregistro` (set by the database
-- on every insert and change, for x-alterado-apos).
--
-- Keys: `codigo` is AUTO_INCREMENT where uploads expect a generated key.
-- Tables without `codigo` have a primary key on the columns that clients
-- name in x-key-fields, so that the upsert (ON DUPLICATE KEY UPDATE) finds
-- the row. There are no foreign keys: branches upload related records in
-- any order, and deleting a record never cascades.

SET NAMES utf8mb4;

-- ---------------------------------------------------------------------------
-- Places, partners and reference lists
-- ---------------------------------------------------------------------------

CREATE TABLE IF NOT EXISTS cidades (
  codigo INT NOT NULL AUTO_INCREMENT,
  cidade VARCHAR(60) NULL,
  estado VARCHAR(2) NULL,
  codibge INT NULL,
  codpais INT NULL,
  nomepais VARCHAR(60) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS administradoras (
  codigo INT NOT NULL AUTO_INCREMENT,
  razao VARCHAR(100) NULL,
  fantasia VARCHAR(100) NULL,
  telefone VARCHAR(20) NULL,
  cnpj VARCHAR(18) NULL,
  inscricao VARCHAR(20) NULL,
  endereco VARCHAR(100) NULL,
  numero VARCHAR(10) NULL,
  bairro VARCHAR(60) NULL,
  cep VARCHAR(9) NULL,
  codcidade INT NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS fornecedores (
  codigo INT NOT NULL AUTO_INCREMENT,
  razao VARCHAR(100) NULL,
  fantasia VARCHAR(100) NULL,
  pessoa VARCHAR(1) NULL,
  tipo VARCHAR(1) NULL,
  endereco VARCHAR(100) NULL,
  numero VARCHAR(10) NULL,
  complemento VARCHAR(60) NULL,
  pontoreferencia VARCHAR(100) NULL,
  bairro VARCHAR(60) NULL,
  codcidade INT NULL,
  cep VARCHAR(9) NULL,
  cnpj VARCHAR(18) NULL,
  inscricao VARCHAR(20) NULL,
  telefone VARCHAR(20) NULL,
  fax VARCHAR(20) NULL,
  email VARCHAR(100) NULL,
  contato VARCHAR(60) NULL,
  dtcadastro DATE NULL,
  descontovendaavista DECIMAL(7,2) NULL,
  descontomaximo DECIMAL(7,2) NULL,
  observacao TEXT NULL,
  forbloconotas VARCHAR(1) NULL,
  dtatividade DATE NULL,
  descontovenda DECIMAL(7,2) NULL,
  semcomissao VARCHAR(1) NULL,
  comissao DECIMAL(7,2) NULL,
  comissaoprofissional DECIMAL(7,2) NULL,
  codcontasapagarclassificacao INT NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS transportadoras (
  codigo INT NOT NULL AUTO_INCREMENT,
  nome VARCHAR(100) NULL,
  pessoa VARCHAR(1) NULL,
  endereco VARCHAR(100) NULL,
  codcidade INT NULL,
  cnpj_cpf VARCHAR(18) NULL,
  inscricaoestadual VARCHAR(20) NULL,
  placa VARCHAR(8) NULL,
  dtcadastro DATE NULL,
  ufplaca VARCHAR(2) NULL,
  tipofrete INT NULL,
  antt VARCHAR(20) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS representantes (
  codigo INT NOT NULL AUTO_INCREMENT,
  nome VARCHAR(100) NULL,
  telefone VARCHAR(20) NULL,
  email VARCHAR(100) NULL,
  dtcadastro DATE NULL,
  senha VARCHAR(60) NULL,
  observacao TEXT NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- Professionals (e.g. prescribers) keep the prf prefix of the legacy layout;
-- their key is prfcodigo, so clients send x-key-fields: prfcodigo.
CREATE TABLE IF NOT EXISTS profissionais (
  prfcodigo INT NOT NULL AUTO_INCREMENT,
  prfnome VARCHAR(100) NULL,
  prfendereco VARCHAR(100) NULL,
  prfbairro VARCHAR(60) NULL,
  prfcodcidade INT NULL,
  prfcep VARCHAR(9) NULL,
  prftelefone VARCHAR(20) NULL,
  prfcelular VARCHAR(20) NULL,
  prfprofissao VARCHAR(60) NULL,
  prfcomissao DECIMAL(7,2) NULL,
  prfdtcadastro DATE NULL,
  prfsemcomissao VARCHAR(1) NULL,
  prfcpf VARCHAR(14) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (prfcodigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS financeiras (
  codigo INT NOT NULL AUTO_INCREMENT,
  nome VARCHAR(100) NULL,
  finbloconota VARCHAR(1) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS rotas (
  codigo INT NOT NULL AUTO_INCREMENT,
  nome VARCHAR(60) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS textos (
  codigo INT NOT NULL AUTO_INCREMENT,
  descricao VARCHAR(100) NULL,
  tipo VARCHAR(1) NULL,
  texto TEXT NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS pagdigitais (
  codigo INT NOT NULL AUTO_INCREMENT,
  descricao VARCHAR(60) NULL,
  tipo INT NULL,
  imprimircomprovante VARCHAR(1) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS parcelamentos (
  codigo INT NOT NULL AUTO_INCREMENT,
  descricao VARCHAR(60) NULL,
  entrada VARCHAR(1) NULL,
  diasentreparcelas INT NULL,
  nrparcelas INT NULL,
  gerarboleto VARCHAR(1) NULL,
  diasreajusteparcelas INT NULL,
  utilizarduplicata VARCHAR(1) NULL,
  utilizarcartao VARCHAR(1) NULL,
  utilizarcheque VARCHAR(1) NULL,
  taxaacrescimo DECIMAL(7,2) NULL,
  bloquearparcela VARCHAR(1) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- Due-date rules: a month split into two halves, each with its own closing
-- and due day.
CREATE TABLE IF NOT EXISTS vencimentos (
  codigo INT NOT NULL AUTO_INCREMENT,
  descricao VARCHAR(60) NULL,
  tipo VARCHAR(1) NULL,
  quinzena1diainicial INT NULL,
  quinzena1diafinal INT NULL,
  quinzena1diavencimento INT NULL,
  quinzena1mesposterior VARCHAR(1) NULL,
  quinzena2diainicial INT NULL,
  quinzena2diafinal INT NULL,
  quinzena2diavencimento INT NULL,
  quinzena2mesposterior VARCHAR(1) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- Branches. Code 0 is the head office and is never listed to branches. A new
-- code is reserved by inserting a row with only `nome` and deleting it, so
-- every other column has a default.
CREATE TABLE IF NOT EXISTS filiais (
  codigo INT NOT NULL AUTO_INCREMENT,
  nome VARCHAR(60) NULL,
  codcliente INT NULL,
  -- Whether the branch's receivable titles and collection bills, cheques and
  -- stock are shown to the other branches.
  consultarduplicatas VARCHAR(1) NULL DEFAULT 'S',
  consultarcheques VARCHAR(1) NULL DEFAULT 'S',
  consultarestoque VARCHAR(1) NULL DEFAULT 'S',
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- Defaulters, looked up by tax number in the customer credit situation.
CREATE TABLE IF NOT EXISTS negativados (
  codigo INT NOT NULL AUTO_INCREMENT,
  pessoa VARCHAR(1) NULL,
  cnpj VARCHAR(18) NULL,
  nome VARCHAR(100) NULL,
  `local` VARCHAR(100) NULL,
  motivo VARCHAR(255) NULL,
  observacao TEXT NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo),
  KEY ix_negativados_cnpj (cnpj)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- ---------------------------------------------------------------------------
-- Customers
-- ---------------------------------------------------------------------------

CREATE TABLE IF NOT EXISTS clientes (
  codigo INT NOT NULL AUTO_INCREMENT,
  nome VARCHAR(100) NULL,
  fantasia VARCHAR(100) NULL,
  pessoa VARCHAR(1) NULL,
  endereco VARCHAR(100) NULL,
  clinumeroend VARCHAR(10) NULL,
  complemento VARCHAR(60) NULL,
  pontoreferencia VARCHAR(100) NULL,
  bairro VARCHAR(60) NULL,
  codcidade INT NULL,
  cep VARCHAR(9) NULL,
  codrota INT NULL,
  cnpj_cpf VARCHAR(18) NULL,
  inscricaoestadual_rg VARCHAR(20) NULL,
  orgaoexpedidorrg VARCHAR(20) NULL,
  dataexpedicaorg DATE NULL,
  telefone VARCHAR(20) NULL,
  celular VARCHAR(20) NULL,
  teltrabalho VARCHAR(20) NULL,
  localtrabalho VARCHAR(100) NULL,
  contato VARCHAR(60) NULL,
  mae VARCHAR(100) NULL,
  pai VARCHAR(100) NULL,
  cliestadocivil VARCHAR(1) NULL,
  conjuge VARCHAR(100) NULL,
  referencia VARCHAR(100) NULL,
  email VARCHAR(100) NULL,
  dtcadastro DATE NULL,
  dtemissaocontratocheque DATE NULL,
  dtnascimento DATE NULL,
  diasbloqueio INT NULL,
  clidescontovenda DECIMAL(7,2) NULL,
  cliacrescimovenda DECIMAL(7,2) NULL,
  bloqueado VARCHAR(1) NULL,
  motivobloqueio VARCHAR(255) NULL,
  vendaduplicata VARCHAR(1) NULL,
  vendacheque VARCHAR(1) NULL,
  vendacartao VARCHAR(1) NULL,
  vendafinanceira VARCHAR(1) NULL,
  juros VARCHAR(1) NULL,
  maladireta VARCHAR(1) NULL,
  observacao TEXT NULL,
  pessoasautorizadas TEXT NULL,
  codusuario INT NULL,
  dtcartacobranca DATE NULL,
  modelocartacobranca INT NULL,
  codparcelamento INT NULL,
  limite DECIMAL(15,2) NULL,
  clibloconota VARCHAR(1) NULL,
  codvencimento INT NULL,
  codconvenio INT NULL,
  dtproximocontatocobranca DATE NULL,
  hrproximocontatocobranca TIME NULL,
  consumidorfinal VARCHAR(1) NULL,
  revendedor VARCHAR(1) NULL,
  isentodetaxaboleto VARCHAR(1) NULL,
  clidescontorecebimento DECIMAL(7,2) NULL,
  codvendedorexterno INT NULL,
  industria VARCHAR(1) NULL,
  construtora VARCHAR(1) NULL,
  codtransportadora INT NULL,
  nrdiascarenciaduplicata INT NULL,
  clienteespecial VARCHAR(1) NULL,
  mei VARCHAR(1) NULL,
  eireli VARCHAR(1) NULL,
  contribuinteicms VARCHAR(1) NULL,
  genero VARCHAR(1) NULL,
  profissao VARCHAR(60) NULL,
  inscricaomunicipal VARCHAR(20) NULL,
  inativo VARCHAR(1) NULL DEFAULT 'N',
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo),
  KEY ix_clientes_cnpj_cpf (cnpj_cpf),
  KEY ix_clientes_alteracao (dtultalteracaoregistro)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS clientesclassificacao (
  codigo INT NOT NULL AUTO_INCREMENT,
  descricao VARCHAR(60) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS clientesclassificados (
  codcliente INT NOT NULL,
  codclienteclassificacao INT NOT NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codcliente, codclienteclassificacao)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS clientesenderecos (
  codigo INT NOT NULL AUTO_INCREMENT,
  apelido VARCHAR(60) NULL,
  endereco VARCHAR(100) NULL,
  clinumeroend VARCHAR(10) NULL,
  complemento VARCHAR(60) NULL,
  bairro VARCHAR(60) NULL,
  codcidade INT NULL,
  cep VARCHAR(9) NULL,
  tipo VARCHAR(1) NULL,
  codcliente INT NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo),
  KEY ix_clientesenderecos_cliente (codcliente)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS clientescelulares (
  codigo INT NOT NULL AUTO_INCREMENT,
  codcliente INT NULL,
  celular VARCHAR(20) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo),
  KEY ix_clientescelulares_cliente (codcliente)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS clientesdesconto (
  codcliente INT NOT NULL,
  codproduto INT NOT NULL,
  desconto DECIMAL(7,2) NULL,
  acrescimo DECIMAL(7,2) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codcliente, codproduto)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- ---------------------------------------------------------------------------
-- Products, groups, kits, prices and stock changes
-- ---------------------------------------------------------------------------

-- The 48 registry columns, then `inativo`, then the 23 taxation columns.
CREATE TABLE IF NOT EXISTS produtos (
  codigo INT NOT NULL AUTO_INCREMENT,
  codbarras VARCHAR(20) NULL,
  servico VARCHAR(1) NULL,
  descricao VARCHAR(120) NULL,
  unidade VARCHAR(6) NULL,
  codgrupo INT NULL,
  codsubgrupo INT NULL,
  codfornecedor INT NULL,
  codfabricante INT NULL,
  dtcadastro DATE NULL,
  referencia VARCHAR(30) NULL,
  -- Shelf life in days.
  validade INT NULL,
  observacao TEXT NULL,
  -- 'A' rounds, 'T' truncates fractional prices.
  arredondamentotruncamento VARCHAR(1) NULL,
  -- 'P' own production, 'T' third party.
  producaopropriaterceiro VARCHAR(1) NULL,
  descontomaximo DECIMAL(7,2) NULL,
  anvisa VARCHAR(20) NULL,
  usocontinuo VARCHAR(1) NULL,
  semcomissao VARCHAR(1) NULL,
  comissao DECIMAL(7,2) NULL,
  fracaocompra DECIMAL(15,3) NULL,
  fracaovenda DECIMAL(15,3) NULL,
  codgrade INT NULL,
  tipograde VARCHAR(1) NULL,
  fator DECIMAL(15,4) NULL,
  farinsumo VARCHAR(1) NULL,
  farusoprolongado VARCHAR(1) NULL,
  farregistroms VARCHAR(20) NULL,
  fartipouso VARCHAR(1) NULL,
  farunidademedida VARCHAR(6) NULL,
  farunidademedicamento VARCHAR(6) NULL,
  farunidadefarmaceutica VARCHAR(6) NULL,
  farclasse VARCHAR(1) NULL,
  farquantidade DECIMAL(15,3) NULL,
  farprincipioativo VARCHAR(120) NULL,
  atualizarprecosonline VARCHAR(1) NULL,
  participafidelidade VARCHAR(1) NULL,
  farnrdbc VARCHAR(20) NULL,
  fartipoclasse VARCHAR(1) NULL,
  farapresentacao VARCHAR(120) NULL,
  codreferencia INT NULL,
  parcelasetiquetas INT NULL,
  fatormetro DECIMAL(15,4) NULL,
  farmaciapopular VARCHAR(1) NULL,
  embalagem DECIMAL(15,3) NULL,
  corgrade VARCHAR(30) NULL,
  comissaoprofissional DECIMAL(7,2) NULL,
  desconto DECIMAL(7,2) NULL,
  inativo VARCHAR(1) NULL DEFAULT 'N',
  codaliquota INT NULL,
  ipi DECIMAL(7,2) NULL,
  proicms DECIMAL(7,2) NULL,
  propis DECIMAL(7,2) NULL,
  procstipi VARCHAR(2) NULL,
  procodigoenq VARCHAR(3) NULL,
  provaloripi DECIMAL(15,2) NULL,
  piscofins VARCHAR(2) NULL,
  pisaliquota DECIMAL(7,4) NULL,
  cofinsaliquota DECIMAL(7,4) NULL,
  codplanocontas INT NULL,
  mvadentrouf DECIMAL(7,2) NULL,
  mvaforauf DECIMAL(7,2) NULL,
  perctransparenciafiscal DECIMAL(7,2) NULL,
  perctransparenciafiscalest DECIMAL(7,2) NULL,
  perctransparenciafiscalmun DECIMAL(7,2) NULL,
  codbeneficio VARCHAR(10) NULL,
  motdesonicms INT NULL,
  codservico VARCHAR(10) NULL,
  codigoncm VARCHAR(8) NULL,
  genero VARCHAR(2) NULL,
  origem INT NULL,
  cest VARCHAR(7) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo),
  KEY ix_produtos_codbarras (codbarras),
  KEY ix_produtos_alteracao (dtultalteracaoregistro)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS produtosclassificacao (
  codigo INT NOT NULL AUTO_INCREMENT,
  descricao VARCHAR(60) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS produtosclassificados (
  codproduto INT NOT NULL,
  codprodutoclassificacao INT NOT NULL,
  classificacaopadrao VARCHAR(1) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codproduto, codprodutoclassificacao)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- Additional bar codes of a product; deleted one at a time by product and code.
CREATE TABLE IF NOT EXISTS produtosean (
  codproduto INT NOT NULL,
  codbarras VARCHAR(20) NOT NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codproduto, codbarras),
  KEY ix_produtosean_codbarras (codbarras)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- Per-branch product data: stock, costs, sale prices.
CREATE TABLE IF NOT EXISTS produtosfiliais (
  codproduto INT NOT NULL,
  codfilial INT NOT NULL,
  quantidade DECIMAL(15,3) NULL,
  precocusto DECIMAL(15,2) NULL,
  precomedio DECIMAL(15,2) NULL,
  precofabrica DECIMAL(15,2) NULL,
  minimo DECIMAL(15,3) NULL,
  maximo DECIMAL(15,3) NULL,
  extipi VARCHAR(3) NULL,
  dtultvenda DATE NULL,
  dtultcompra DATE NULL,
  qtdeultcompra DECIMAL(15,3) NULL,
  curvaabc VARCHAR(1) NULL,
  controlelotevalidade VARCHAR(1) NULL,
  participaprogramacao VARCHAR(1) NULL,
  vendarapida VARCHAR(1) NULL,
  curvaabcvalor VARCHAR(1) NULL,
  suspendercompra VARCHAR(1) NULL,
  etiquetar VARCHAR(1) NULL,
  semdescontoentrega VARCHAR(1) NULL,
  localizacao VARCHAR(30) NULL,
  balanca VARCHAR(1) NULL,
  tipoitem VARCHAR(2) NULL,
  codservicomunicipal VARCHAR(10) NULL,
  prodtvalidade DATE NULL,
  precovenda DECIMAL(15,2) NULL,
  precopromocao DECIMAL(15,2) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codproduto, codfilial),
  KEY ix_produtosfiliais_alteracao (dtultalteracaoregistro)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS codigosnofornecedor (
  codproduto INT NOT NULL,
  codfornecedor INT NOT NULL,
  codprodnoforn VARCHAR(30) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codproduto, codfornecedor)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS referencias (
  codigo INT NOT NULL AUTO_INCREMENT,
  descricao VARCHAR(60) NULL,
  dtcadastro DATE NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- Units of measure, keyed by their abbreviation (x-key-fields: un).
CREATE TABLE IF NOT EXISTS unidades (
  un VARCHAR(6) NOT NULL,
  descricao VARCHAR(60) NULL,
  untrib VARCHAR(6) NULL,
  uncom VARCHAR(6) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (un)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS grupos (
  codigo INT NOT NULL AUTO_INCREMENT,
  nome VARCHAR(60) NULL,
  descontovendaavista DECIMAL(7,2) NULL,
  acrescimovendaaprazo DECIMAL(7,2) NULL,
  descontomaximo DECIMAL(7,2) NULL,
  semcomissao VARCHAR(1) NULL,
  comissao DECIMAL(7,2) NULL,
  comissaoavista DECIMAL(7,2) NULL,
  comissaoduplicata DECIMAL(7,2) NULL,
  comissaocheque DECIMAL(7,2) NULL,
  comissaocartao DECIMAL(7,2) NULL,
  comissaofinanceira DECIMAL(7,2) NULL,
  dtcadastro DATE NULL,
  atualizarprecosonline VARCHAR(1) NULL,
  descontovenda DECIMAL(7,2) NULL,
  comissao2 DECIMAL(7,2) NULL,
  comissao3 DECIMAL(7,2) NULL,
  comissao4 DECIMAL(7,2) NULL,
  comissao5 DECIMAL(7,2) NULL,
  faixadescontoinicial DECIMAL(7,2) NULL,
  faixadescontofinal DECIMAL(7,2) NULL,
  faixadescontoinicial2 DECIMAL(7,2) NULL,
  faixadescontoinicial3 DECIMAL(7,2) NULL,
  faixadescontoinicial4 DECIMAL(7,2) NULL,
  faixadescontoinicial5 DECIMAL(7,2) NULL,
  faixadescontofinal2 DECIMAL(7,2) NULL,
  faixadescontofinal3 DECIMAL(7,2) NULL,
  faixadescontofinal4 DECIMAL(7,2) NULL,
  faixadescontofinal5 DECIMAL(7,2) NULL,
  capturarcrm VARCHAR(1) NULL,
  participabalanco VARCHAR(1) NULL,
  localizacao VARCHAR(30) NULL,
  comissaoprofissional DECIMAL(7,2) NULL,
  naolancarfalta VARCHAR(1) NULL,
  descontovinculadovenda VARCHAR(1) NULL,
  qtdeprecovenda INT NULL,
  sincronizarmobile VARCHAR(1) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS subgrupos (
  codigo INT NOT NULL AUTO_INCREMENT,
  nome VARCHAR(60) NULL,
  descontovendaavista DECIMAL(7,2) NULL,
  acrescimovendaaprazo DECIMAL(7,2) NULL,
  descontomaximo DECIMAL(7,2) NULL,
  semcomissao VARCHAR(1) NULL,
  comissao DECIMAL(7,2) NULL,
  comissaoavista DECIMAL(7,2) NULL,
  comissaoduplicata DECIMAL(7,2) NULL,
  comissaocheque DECIMAL(7,2) NULL,
  comissaocartao DECIMAL(7,2) NULL,
  comissaofinanceira DECIMAL(7,2) NULL,
  dtcadastro DATE NULL,
  atualizarprecosonline VARCHAR(1) NULL,
  descontovenda DECIMAL(7,2) NULL,
  comissao2 DECIMAL(7,2) NULL,
  comissao3 DECIMAL(7,2) NULL,
  comissao4 DECIMAL(7,2) NULL,
  comissao5 DECIMAL(7,2) NULL,
  faixadescontoinicial DECIMAL(7,2) NULL,
  faixadescontofinal DECIMAL(7,2) NULL,
  faixadescontoinicial2 DECIMAL(7,2) NULL,
  faixadescontoinicial3 DECIMAL(7,2) NULL,
  faixadescontoinicial4 DECIMAL(7,2) NULL,
  faixadescontoinicial5 DECIMAL(7,2) NULL,
  faixadescontofinal2 DECIMAL(7,2) NULL,
  faixadescontofinal3 DECIMAL(7,2) NULL,
  faixadescontofinal4 DECIMAL(7,2) NULL,
  faixadescontofinal5 DECIMAL(7,2) NULL,
  comissaoprofissional DECIMAL(7,2) NULL,
  naolancarfalta VARCHAR(1) NULL,
  descontovinculadovenda VARCHAR(1) NULL,
  qtdeprecovenda INT NULL,
  codgrupo INT NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS kits (
  codigo INT NOT NULL AUTO_INCREMENT,
  descricao VARCHAR(120) NULL,
  unidade VARCHAR(6) NULL,
  codbarras VARCHAR(20) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS kitsitens (
  codkit INT NOT NULL,
  codproduto INT NOT NULL,
  quantidade DECIMAL(15,3) NULL,
  desconto DECIMAL(7,2) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codkit, codproduto)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS tabelaprecos (
  codigo INT NOT NULL AUTO_INCREMENT,
  descricao VARCHAR(60) NULL,
  permitirdesconto VARCHAR(1) NULL,
  margemlucrodefault DECIMAL(7,2) NULL,
  comissao DECIMAL(7,2) NULL,
  tipovendavinculada VARCHAR(1) NULL,
  vendadinheiro VARCHAR(1) NULL,
  vendaduplicata VARCHAR(1) NULL,
  vendacartao VARCHAR(1) NULL,
  vendacheque VARCHAR(1) NULL,
  vendafinanceira VARCHAR(1) NULL,
  vendaoutros VARCHAR(1) NULL,
  vendaconvenio VARCHAR(1) NULL,
  semcomissao VARCHAR(1) NULL,
  vendaboleto VARCHAR(1) NULL,
  comissaoprofissional DECIMAL(7,2) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- One price per table, product and branch. Branch -1 holds the item that all
-- branches share while the tenant equalises prices.
CREATE TABLE IF NOT EXISTS tabelaprecositens (
  codtabelaprecos INT NOT NULL,
  codproduto INT NOT NULL,
  codfilial INT NOT NULL,
  codfilialorigem INT NULL,
  preco DECIMAL(15,2) NULL,
  precoanterior DECIMAL(15,2) NULL,
  margemlucro DECIMAL(7,2) NULL,
  quantidadevinculada DECIMAL(15,3) NULL,
  descontovinculado DECIMAL(7,2) NULL,
  quantidademinimavenda DECIMAL(15,3) NULL,
  quantidademaximadesconto DECIMAL(15,3) NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codtabelaprecos, codproduto, codfilial),
  KEY ix_tabelaprecositens_produto (codproduto, codfilial),
  KEY ix_tabelaprecositens_alteracao (dtultalteracaoregistro)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- Stock changes: adjustments, losses and transfers to another branch.
CREATE TABLE IF NOT EXISTS alteracaoestoque (
  codigo INT NOT NULL AUTO_INCREMENT,
  `data` DATE NULL,
  hora TIME NULL,
  acertoestoque VARCHAR(1) NULL,
  descricao VARCHAR(100) NULL,
  codfilial INT NULL,
  codfilialdestino INT NULL,
  cnpj VARCHAR(18) NULL,
  nrnota INT NULL,
  modelo VARCHAR(2) NULL,
  serie VARCHAR(3) NULL,
  subserie VARCHAR(3) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS alteracaoestoqueitens (
  codigo INT NOT NULL AUTO_INCREMENT,
  codalteracaoestoque INT NULL,
  codproduto INT NULL,
  descricaoproduto VARCHAR(120) NULL,
  complementoproduto VARCHAR(120) NULL,
  unidadeproduto VARCHAR(6) NULL,
  quantidade DECIMAL(15,3) NULL,
  -- 'E' in, 'S' out, 'P' loss.
  tipo VARCHAR(1) NULL,
  precocusto DECIMAL(15,2) NULL,
  precovenda DECIMAL(15,2) NULL,
  precovenda2 DECIMAL(15,2) NULL,
  lote VARCHAR(20) NULL,
  motivoperda VARCHAR(100) NULL,
  validade DATE NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo),
  KEY ix_alteracaoestoqueitens_alteracao (codalteracaoestoque)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- ---------------------------------------------------------------------------
-- Receivables and payables
-- ---------------------------------------------------------------------------

-- Cheques received. `baixado` defaults to 'N': an uploaded cheque that does
-- not say otherwise is open and counts in the customer's credit situation.
CREATE TABLE IF NOT EXISTS crcheques (
  codigo INT NOT NULL AUTO_INCREMENT,
  codfilial INT NULL,
  baixado VARCHAR(1) NULL DEFAULT 'N',
  devolvido VARCHAR(1) NULL DEFAULT 'N',
  numero VARCHAR(20) NULL,
  conta VARCHAR(20) NULL,
  banco VARCHAR(5) NULL,
  codcliente INT NULL,
  cnpj_cpf_emitente VARCHAR(18) NULL,
  emitente VARCHAR(100) NULL,
  dtemissao DATE NULL,
  hremissao TIME NULL,
  dtvencimento DATE NULL,
  praca VARCHAR(60) NULL,
  valor DECIMAL(15,2) NULL,
  coddigitador INT NULL,
  codvendedor INT NULL,
  codprofissional INT NULL,
  caixa INT NULL,
  negociar VARCHAR(1) NULL,
  observacao TEXT NULL,
  dtbaixa DATE NULL,
  hrbaixa TIME NULL,
  codusuariobaixa INT NULL,
  destino VARCHAR(60) NULL,
  valorrecebido DECIMAL(15,2) NULL,
  agencia VARCHAR(10) NULL,
  custodia VARCHAR(1) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo),
  KEY ix_crcheques_cliente (codcliente),
  KEY ix_crcheques_alteracao (dtultalteracaoregistro)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- Receivable titles. `tipo` 'D' is a debt of the customer, 'C' a credit in
-- the customer's favour. The defaults keep an uploaded title that leaves the
-- flags out open, undiscounted and a debt.
CREATE TABLE IF NOT EXISTS crduplicatas (
  codigo INT NOT NULL AUTO_INCREMENT,
  codfilial INT NULL,
  baixado VARCHAR(1) NULL DEFAULT 'N',
  tipo VARCHAR(1) NULL DEFAULT 'D',
  descontado VARCHAR(1) NULL DEFAULT 'N',
  negociado VARCHAR(1) NULL,
  parcialprodutos VARCHAR(1) NULL,
  restanteconta VARCHAR(1) NULL,
  duvidoso VARCHAR(1) NULL,
  nrtitulo VARCHAR(20) NULL,
  nrparcela INT NULL,
  codcliente INT NULL,
  dtemissao DATE NULL,
  hremissao TIME NULL,
  dtvencimento DATE NULL,
  valor DECIMAL(15,2) NULL,
  banco VARCHAR(5) NULL,
  observacao TEXT NULL,
  codvendedor INT NULL,
  codprofissional INT NULL,
  bloquearcomissao VARCHAR(1) NULL,
  caixa INT NULL,
  retiradopor VARCHAR(100) NULL,
  valorentrada DECIMAL(15,2) NULL,
  -- Set when the title is charged through a collection bill.
  codbloquetocobranca INT NULL,
  codconvenio INT NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo),
  KEY ix_crduplicatas_cliente (codcliente),
  KEY ix_crduplicatas_alteracao (dtultalteracaoregistro)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- Payments booked against a title (codcrduplicata).
CREATE TABLE IF NOT EXISTS crduplicatasbaixado (
  codigo INT NOT NULL AUTO_INCREMENT,
  codcrduplicata INT NULL,
  codusuario INT NULL,
  nrrecebimento INT NULL,
  dtbaixa DATE NULL,
  hrbaixa TIME NULL,
  desconto DECIMAL(15,2) NULL,
  juros DECIMAL(15,2) NULL,
  valor DECIMAL(15,2) NULL,
  caixa INT NULL,
  observacao TEXT NULL,
  restantedeconta VARCHAR(1) NULL,
  percjuros DECIMAL(7,2) NULL,
  percdesconto DECIMAL(7,2) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo),
  KEY ix_crduplicatasbaixado_duplicata (codcrduplicata)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- Bank collection bills. `status` 1 and 2 are open bills.
CREATE TABLE IF NOT EXISTS bloquetoscobranca (
  codigo INT NOT NULL AUTO_INCREMENT,
  codcliente INT NULL,
  codfilial INT NULL,
  nomecliente VARCHAR(100) NULL,
  enderecocliente VARCHAR(150) NULL,
  bairrocliente VARCHAR(60) NULL,
  cidadecliente VARCHAR(60) NULL,
  ufcliente VARCHAR(2) NULL,
  cepcliente VARCHAR(9) NULL,
  cnpj_cpfcliente VARCHAR(18) NULL,
  rg_iecliente VARCHAR(20) NULL,
  codfaturamento INT NULL,
  dtvencimento DATE NULL,
  valor DECIMAL(15,2) NULL,
  documento VARCHAR(20) NULL,
  -- The codes of the titles the bill charges, separated by commas.
  codcrduplicatas VARCHAR(255) NULL,
  status INT NULL,
  nrbanco VARCHAR(5) NULL,
  nr2via INT NULL,
  emitido VARCHAR(1) NULL,
  nrnota INT NULL,
  serie VARCHAR(3) NULL,
  dtemissao DATE NULL,
  nrconvenio VARCHAR(20) NULL,
  nossonumero VARCHAR(20) NULL,
  codcidade INT NULL,
  taxaboleto DECIMAL(15,2) NULL,
  retornoprocessado VARCHAR(1) NULL,
  situacao VARCHAR(60) NULL,
  mensagemretorno VARCHAR(255) NULL,
  jurospago DECIMAL(15,2) NULL,
  descontoconcedido DECIMAL(15,2) NULL,
  dtpagamento DATE NULL,
  diretorioremessa VARCHAR(255) NULL,
  cnab INT NULL,
  descontado VARCHAR(1) NULL,
  nrbaixadescontado INT NULL,
  codcodigosbancos INT NULL,
  pedidobaixa VARCHAR(1) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo),
  KEY ix_bloquetoscobranca_cliente (codcliente),
  KEY ix_bloquetoscobranca_alteracao (dtultalteracaoregistro)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS contasapagarclassificacao (
  codigo INT NOT NULL AUTO_INCREMENT,
  descricao VARCHAR(60) NULL,
  codconta INT NULL,
  codhistorico INT NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- ---------------------------------------------------------------------------
-- Banks, cards and agreements
-- ---------------------------------------------------------------------------

CREATE TABLE IF NOT EXISTS gruposbanco (
  codigo INT NOT NULL AUTO_INCREMENT,
  descricao VARCHAR(60) NULL,
  tipo VARCHAR(1) NULL,
  dtcadastro DATE NULL,
  despesa VARCHAR(1) NULL,
  balancomensal VARCHAR(1) NULL,
  ordem INT NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS historicos (
  codigo INT NOT NULL AUTO_INCREMENT,
  descricao VARCHAR(60) NULL,
  tipo VARCHAR(1) NULL,
  codgrupobanco INT NULL,
  dtcadastro DATE NULL,
  hisrelgerencial VARCHAR(1) NULL,
  ordem INT NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS contas (
  codigo INT NOT NULL AUTO_INCREMENT,
  descricao VARCHAR(60) NULL,
  banco VARCHAR(5) NULL,
  agencia VARCHAR(10) NULL,
  conta VARCHAR(20) NULL,
  contato VARCHAR(60) NULL,
  telefone VARCHAR(20) NULL,
  tipo VARCHAR(1) NULL,
  site VARCHAR(100) NULL,
  dtcadastro DATE NULL,
  codfilial INT NULL,
  ordem INT NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS cartoes (
  codigo INT NOT NULL AUTO_INCREMENT,
  descricao VARCHAR(60) NULL,
  taxavistacredito DECIMAL(7,2) NULL,
  taxafinanestabcredito DECIMAL(7,2) NULL,
  taxafinanadmincredito DECIMAL(7,2) NULL,
  nrdiasrecebimentocredito INT NULL,
  taxavistadebito DECIMAL(7,2) NULL,
  nrdiasrecebimentodebito INT NULL,
  codadministradora INT NULL,
  pix VARCHAR(1) NULL,
  inativo VARCHAR(1) NULL DEFAULT 'N',
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- Card fees by number of instalments.
CREATE TABLE IF NOT EXISTS cartoestaxas (
  codigo INT NOT NULL AUTO_INCREMENT,
  codcartao INT NULL,
  taxavistacredito DECIMAL(7,2) NULL,
  taxafinanestabcredito DECIMAL(7,2) NULL,
  taxafinanadmincredito DECIMAL(7,2) NULL,
  nrdiasrecebimentocredito INT NULL,
  nrparcelas INT NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- Agreements with companies whose employees buy on the company's account.
CREATE TABLE IF NOT EXISTS convenios (
  codigo INT NOT NULL AUTO_INCREMENT,
  nome VARCHAR(100) NULL,
  endereco VARCHAR(100) NULL,
  bairro VARCHAR(60) NULL,
  codcidade INT NULL,
  cnpj VARCHAR(18) NULL,
  inscricaoestadual VARCHAR(20) NULL,
  telefone VARCHAR(20) NULL,
  fax VARCHAR(20) NULL,
  email VARCHAR(100) NULL,
  contato VARCHAR(60) NULL,
  observacao TEXT NULL,
  codcliente INT NULL,
  cep VARCHAR(9) NULL,
  complemento VARCHAR(60) NULL,
  codvencimento INT NULL,
  isentodetaxaboleto VARCHAR(1) NULL,
  descontorecebimento DECIMAL(7,2) NULL,
  descontovenda DECIMAL(7,2) NULL,
  acrescimovenda DECIMAL(7,2) NULL,
  nrdiascarenciaduplicata INT NULL,
  diasbloqueio INT NULL,
  codcodigosbancos INT NULL,
  inativo VARCHAR(1) NULL DEFAULT 'N',
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS conveniosdescontogrupos (
  codconvenio INT NOT NULL,
  codgrupo INT NOT NULL,
  desconto DECIMAL(7,2) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codconvenio, codgrupo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS conveniosdescontosubgrupos (
  codconvenio INT NOT NULL,
  codsubgrupo INT NOT NULL,
  desconto DECIMAL(7,2) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codconvenio, codsubgrupo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS conveniosdesconto (
  codconvenio INT NOT NULL,
  codproduto INT NOT NULL,
  desconto DECIMAL(7,2) NULL,
  acrescimo DECIMAL(7,2) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codconvenio, codproduto)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- ---------------------------------------------------------------------------
-- Taxation
-- ---------------------------------------------------------------------------

-- Tax rates. CST, CSOSN and CFOP codes are text: they are codes, not amounts,
-- and some carry leading zeros.
CREATE TABLE IF NOT EXISTS aliquotas (
  codigo INT NOT NULL AUTO_INCREMENT,
  descricao VARCHAR(60) NULL,
  aliquota DECIMAL(7,2) NULL,
  tipoimposto VARCHAR(2) NULL,
  percaliquotadentrouf DECIMAL(7,2) NULL,
  cstdentrouf VARCHAR(3) NULL,
  cstforauf VARCHAR(3) NULL,
  modbcicmsdentrouf INT NULL,
  modbcicmsforauf INT NULL,
  redbasecalculoicmsdentrouf DECIMAL(7,2) NULL,
  redbasecalculoicmsforauf DECIMAL(7,2) NULL,
  modbcicmsstdentrouf INT NULL,
  modbcicmsstforauf INT NULL,
  redbasecalculoicmsstdentrouf DECIMAL(7,2) NULL,
  redbasecalculoicmsstforauf DECIMAL(7,2) NULL,
  csosndentrouf VARCHAR(3) NULL,
  csosnforauf VARCHAR(3) NULL,
  cfopvendadentrouf VARCHAR(5) NULL,
  cfopvendaforauf VARCHAR(5) NULL,
  cfopcompradentrouf VARCHAR(5) NULL,
  cfopcompraforauf VARCHAR(5) NULL,
  cfopdevvendadentrouf VARCHAR(5) NULL,
  cfopdevvendaforauf VARCHAR(5) NULL,
  cfopdevcompradentrouf VARCHAR(5) NULL,
  cfopdevcompraforauf VARCHAR(5) NULL,
  tipopessoa VARCHAR(1) NULL,
  tipoufdentrofora VARCHAR(1) NULL,
  tipocliente VARCHAR(1) NULL,
  pessoafisica VARCHAR(1) NULL,
  pessoajuridica VARCHAR(1) NULL,
  movdentrouf VARCHAR(1) NULL,
  movforauf VARCHAR(1) NULL,
  clirevendedor VARCHAR(1) NULL,
  cliconsumidorfinal VARCHAR(1) NULL,
  cliindustria VARCHAR(1) NULL,
  cliconstrutora VARCHAR(1) NULL,
  cfoptransfdentrouf VARCHAR(5) NULL,
  cfoptransfforauf VARCHAR(5) NULL,
  climei VARCHAR(1) NULL,
  clieireli VARCHAR(1) NULL,
  observacao TEXT NULL,
  clicontribuinte VARCHAR(1) NULL,
  clinaocontribuinte VARCHAR(1) NULL,
  cfopentradamanifestodentrouf VARCHAR(5) NULL,
  cfopentradamanifestoforauf VARCHAR(5) NULL,
  cfopsaidamanifestodentrouf VARCHAR(5) NULL,
  cfopsaidamanifestoforauf VARCHAR(5) NULL,
  fcp DECIMAL(7,2) NULL,
  cstipi VARCHAR(2) NULL,
  codigoenqipi VARCHAR(3) NULL,
  aliquotaipi DECIMAL(7,2) NULL,
  valoripi DECIMAL(15,2) NULL,
  aliquotadesoneracao DECIMAL(7,2) NULL,
  piscofins VARCHAR(2) NULL,
  pisaliquota DECIMAL(7,4) NULL,
  cofinsaliquota DECIMAL(7,4) NULL,
  percdiferimento DECIMAL(7,2) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS aliquotassecundarias (
  codigo INT NOT NULL AUTO_INCREMENT,
  codaliquota INT NULL,
  descricao VARCHAR(60) NULL,
  aliquota DECIMAL(7,2) NULL,
  tipoimposto VARCHAR(2) NULL,
  percaliquotadentrouf DECIMAL(7,2) NULL,
  cst VARCHAR(3) NULL,
  modbcicms INT NULL,
  redbasecalculoicms DECIMAL(7,2) NULL,
  modbcicmsst INT NULL,
  redbasecalculoicmsst DECIMAL(7,2) NULL,
  csosn VARCHAR(3) NULL,
  cfopvenda VARCHAR(5) NULL,
  cfopcompra VARCHAR(5) NULL,
  cfopdevvenda VARCHAR(5) NULL,
  cfopdevcompra VARCHAR(5) NULL,
  tipopessoa VARCHAR(1) NULL,
  tipoufdentrofora VARCHAR(1) NULL,
  tipocliente VARCHAR(1) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- Fiscal operation codes, keyed by the code itself (x-key-fields: cfop).
CREATE TABLE IF NOT EXISTS cfop (
  cfop VARCHAR(5) NOT NULL,
  descricao VARCHAR(255) NULL,
  naturezaoperacao VARCHAR(60) NULL,
  cfopentrada VARCHAR(5) NULL,
  cfopentrada2 VARCHAR(5) NULL,
  tipofaturamento VARCHAR(1) NULL,
  codigocontaanalitica VARCHAR(30) NULL,
  nivelcontaanalitica INT NULL,
  codnatcontaanalitica VARCHAR(2) NULL,
  indicadortipoconta VARCHAR(1) NULL,
  nomecontaanalitica VARCHAR(100) NULL,
  codigocontareferenciada VARCHAR(30) NULL,
  movestoque VARCHAR(1) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (cfop)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- Added-value margin of a product per destination state (x-key-fields:
-- codproduto).
CREATE TABLE IF NOT EXISTS mva (
  codproduto INT NOT NULL,
  mva_rj DECIMAL(7,2) NULL,
  mva_mg DECIMAL(7,2) NULL,
  mva_es DECIMAL(7,2) NULL,
  mva_sp DECIMAL(7,2) NULL,
  mva_ac DECIMAL(7,2) NULL,
  mva_al DECIMAL(7,2) NULL,
  mva_am DECIMAL(7,2) NULL,
  mva_ap DECIMAL(7,2) NULL,
  mva_ba DECIMAL(7,2) NULL,
  mva_ce DECIMAL(7,2) NULL,
  mva_df DECIMAL(7,2) NULL,
  mva_go DECIMAL(7,2) NULL,
  mva_ma DECIMAL(7,2) NULL,
  mva_ms DECIMAL(7,2) NULL,
  mva_mt DECIMAL(7,2) NULL,
  mva_pa DECIMAL(7,2) NULL,
  mva_pb DECIMAL(7,2) NULL,
  mva_pe DECIMAL(7,2) NULL,
  mva_pi DECIMAL(7,2) NULL,
  mva_pr DECIMAL(7,2) NULL,
  mva_rn DECIMAL(7,2) NULL,
  mva_ro DECIMAL(7,2) NULL,
  mva_rr DECIMAL(7,2) NULL,
  mva_rs DECIMAL(7,2) NULL,
  mva_sc DECIMAL(7,2) NULL,
  mva_se DECIMAL(7,2) NULL,
  mva_to DECIMAL(7,2) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codproduto)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- ---------------------------------------------------------------------------
-- Users and logins
-- ---------------------------------------------------------------------------

-- Users of the ERP at the branches (not the accounts of the API, see login).
CREATE TABLE IF NOT EXISTS usuarios (
  codigo INT NOT NULL AUTO_INCREMENT,
  nome VARCHAR(100) NULL,
  endereco VARCHAR(100) NULL,
  bairro VARCHAR(60) NULL,
  codcidade INT NULL,
  cep VARCHAR(9) NULL,
  cpf VARCHAR(14) NULL,
  rg VARCHAR(20) NULL,
  telefone VARCHAR(20) NULL,
  cargo VARCHAR(60) NULL,
  senha VARCHAR(60) NULL,
  acessos TEXT NULL,
  comissao DECIMAL(7,2) NULL,
  dtnascimento DATE NULL,
  dtcadastro DATE NULL,
  tipoacesso VARCHAR(1) NULL,
  permitiragendamentos VARCHAR(1) NULL,
  caixa INT NULL,
  senhafarmaciapopular VARCHAR(60) NULL,
  codusuariosperfil INT NULL,
  acessorapido TEXT NULL,
  semcomissao VARCHAR(1) NULL,
  descontomaximo DECIMAL(7,2) NULL,
  inativo VARCHAR(1) NULL DEFAULT 'N',
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

CREATE TABLE IF NOT EXISTS usuariosperfil (
  codigo INT NOT NULL AUTO_INCREMENT,
  descricao VARCHAR(60) NULL,
  acessos TEXT NULL,
  comissao DECIMAL(7,2) NULL,
  descontomaximo DECIMAL(7,2) NULL,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (codigo)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

-- Accounts of the branch systems for this API (x-user / x-pass). `login` and
-- `senha` have no default on purpose: switching on an account id that does
-- not exist must fail instead of creating an active account with an empty
-- name and an empty password. Names are not unique, so an existing
-- duplicate does not stop the schema from loading; the first row counts.
-- The server never writes `codfilialorigem` here; the column exists so that
-- the download filters work on this table like on every other.
CREATE TABLE IF NOT EXISTS login (
  id INT NOT NULL AUTO_INCREMENT,
  login VARCHAR(60) NOT NULL,
  senha VARCHAR(60) NOT NULL,
  ativo INT NOT NULL DEFAULT 1,
  codfilialorigem INT NULL,
  dtultalteracaoregistro DATETIME NULL DEFAULT CURRENT_TIMESTAMP ON UPDATE CURRENT_TIMESTAMP,
  PRIMARY KEY (id),
  KEY ix_login_login (login)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;
