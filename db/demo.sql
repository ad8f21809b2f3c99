-- Demo data of a small pharmacy chain: a head office, three branches, a few
-- customers with open receivables, products with prices and stock, and the
-- API account "demo" / "demo". Every registry has at least one row, so every
-- download answers with data.
--
-- Runs inside a tenant schema created from tenant.sql (no schema name is
-- written here). REPLACE with fixed keys makes it safe to run again: the
-- demo rows go back to these values, other rows stay as they are.

SET NAMES utf8mb4;
-- The head office has code 0, which an AUTO_INCREMENT column only stores in
-- this mode.
SET @qv_demo_saved_sql_mode = @@SESSION.sql_mode;
SET SESSION sql_mode = CONCAT(@@SESSION.sql_mode, ',NO_AUTO_VALUE_ON_ZERO');

-- Places, partners and reference lists --------------------------------------

REPLACE INTO cidades (codigo, cidade, estado, codibge, codpais, nomepais) VALUES
  (1, 'São Paulo', 'SP', 3550308, 1058, 'Brasil'),
  (2, 'Campinas', 'SP', 3509502, 1058, 'Brasil'),
  (3, 'Belo Horizonte', 'MG', 3106200, 1058, 'Brasil');

REPLACE INTO filiais (codigo, nome, codcliente, consultarduplicatas, consultarcheques,
                      consultarestoque) VALUES
  (0, 'Matriz', NULL, 'N', 'N', 'N'),
  (1, 'Loja Centro', NULL, 'S', 'S', 'S'),
  (2, 'Loja Campinas', NULL, 'S', 'S', 'S'),
  (3, 'Depósito Barra Funda', NULL, 'N', 'N', 'N');

REPLACE INTO administradoras (codigo, razao, fantasia, telefone, cnpj, inscricao, endereco,
                              numero, bairro, cep, codcidade) VALUES
  (1, 'Rede Cartões Meios de Pagamento S.A.', 'RedeCard', '(11) 4000-1000',
   '01.425.787/0001-04', 'ISENTO', 'Av. Paulista', '1000', 'Bela Vista', '01310-100', 1);

REPLACE INTO fornecedores (codigo, razao, fantasia, pessoa, tipo, endereco, numero, bairro,
                           codcidade, cep, cnpj, inscricao, telefone, email, contato, dtcadastro,
                           descontomaximo, semcomissao, comissao) VALUES
  (1, 'Distribuidora Farmacêutica Paulista Ltda', 'DFP', 'J', 'D', 'Rua do Comércio', '250',
   'Brás', 1, '03001-000', '12.345.678/0001-90', '110.042.490.114', '(11) 3311-2200',
   'vendas@dfp.com.br', 'Renata', '2023-02-01', 5.00, 'N', 1.50),
  (2, 'Cosméticos Bela Pele S.A.', 'Bela Pele', 'J', 'F', 'Rod. Anhanguera', 'km 98',
   'Distrito Industrial', 2, '13065-000', '23.456.789/0001-01', '244.123.456.110',
   '(19) 3232-1010', 'comercial@belapele.com.br', 'Marcos', '2023-05-15', 3.00, 'N', 1.00);

REPLACE INTO transportadoras (codigo, nome, pessoa, endereco, codcidade, cnpj_cpf,
                              inscricaoestadual, placa, dtcadastro, ufplaca, tipofrete, antt) VALUES
  (1, 'Transportes Rápido Sul Ltda', 'J', 'Av. Marginal, 500', 1, '34.567.890/0001-12',
   '111.222.333.444', 'FRT1A23', '2023-01-10', 'SP', 0, '012345678');

REPLACE INTO representantes (codigo, nome, telefone, email, dtcadastro, senha, observacao) VALUES
  (1, 'Carlos Menezes', '(11) 98888-1111', 'carlos@representa.com.br', '2024-03-01', 'rep123',
   'Atende a região de Campinas.');

REPLACE INTO profissionais (prfcodigo, prfnome, prfendereco, prfbairro, prfcodcidade, prfcep,
                            prftelefone, prfcelular, prfprofissao, prfcomissao, prfdtcadastro,
                            prfsemcomissao, prfcpf) VALUES
  (1, 'Dra. Helena Prado', 'Rua Augusta, 1500', 'Consolação', 1, '01304-001', '(11) 3255-0000',
   '(11) 97777-2222', 'Dermatologista', 2.00, '2024-01-20', 'N', '123.456.789-09');

REPLACE INTO financeiras (codigo, nome, finbloconota) VALUES
  (1, 'Crediário Fácil Financeira', 'N');

REPLACE INTO rotas (codigo, nome) VALUES
  (1, 'Centro'),
  (2, 'Zona Norte');

REPLACE INTO textos (codigo, descricao, tipo, texto) VALUES
  (1, 'Rodapé do cupom', 'C', 'Obrigado pela preferência! Guarde este cupom.');

REPLACE INTO pagdigitais (codigo, descricao, tipo, imprimircomprovante) VALUES
  (1, 'PIX', 1, 'S'),
  (2, 'Carteira digital', 2, 'N');

REPLACE INTO parcelamentos (codigo, descricao, entrada, diasentreparcelas, nrparcelas,
                            gerarboleto, diasreajusteparcelas, utilizarduplicata, utilizarcartao,
                            utilizarcheque, taxaacrescimo, bloquearparcela) VALUES
  (1, '30 dias', 'N', 30, 1, 'N', 0, 'S', 'N', 'S', 0.00, 'N'),
  (2, 'Entrada + 2x', 'S', 30, 3, 'S', 0, 'S', 'S', 'N', 2.50, 'N');

REPLACE INTO vencimentos (codigo, descricao, tipo, quinzena1diainicial, quinzena1diafinal,
                          quinzena1diavencimento, quinzena1mesposterior, quinzena2diainicial,
                          quinzena2diafinal, quinzena2diavencimento, quinzena2mesposterior) VALUES
  (1, 'Quinzenal 10/25', 'Q', 1, 15, 25, 'N', 16, 31, 10, 'S');

-- Customers ------------------------------------------------------------------

REPLACE INTO clientes (codigo, nome, fantasia, pessoa, endereco, clinumeroend, bairro, codcidade,
                       cep, codrota, cnpj_cpf, inscricaoestadual_rg, telefone, celular, email,
                       dtcadastro, dtnascimento, diasbloqueio, bloqueado, motivobloqueio,
                       vendaduplicata, vendacheque, vendacartao, vendafinanceira, juros, limite,
                       codvencimento, codconvenio, consumidorfinal, clidescontorecebimento,
                       genero, inativo, codfilialorigem) VALUES
  (1, 'Maria Aparecida Souza', NULL, 'F', 'Rua das Flores', '120', 'Centro', 1, '01010-000', 1,
   '529.982.247-25', '12.345.678-9', '(11) 3222-4455', '(11) 99876-5432', 'maria@example.com',
   '2022-06-10', '1975-04-22', 10, 'N', NULL, 'S', 'S', 'S', 'N', 'S', 1500.00, 1, NULL, 'S',
   0.00, 'F', 'N', 1),
  (2, 'João Batista Lima', NULL, 'F', 'Av. Brasil', '45', 'Jardim Chapadão', 2, '13070-000', 2,
   '111.444.777-35', '98.765.432-1', '(19) 3242-1122', '(19) 98765-1234', NULL, '2023-01-05',
   '1988-11-02', 5, 'S', 'Cheque devolvido em aberto', 'N', 'N', 'S', 'N', 'S', 300.00, NULL, NULL,
   'S', NULL, 'M', 'N', 2),
  (3, 'Comercial Ponto Certo Ltda', 'Ponto Certo', 'J', 'Rua do Porto', '900', 'Lapa', 1,
   '05070-000', 1, '45.678.901/0001-23', '110.220.330.440', '(11) 3641-7788', NULL,
   'compras@pontocerto.com.br', '2021-09-30', NULL, 0, 'N', NULL, 'S', 'N', 'S', 'S', 'N',
   5000.00, NULL, 1, 'N', 2.00, NULL, 'N', 0),
  (4, 'Antônio Carlos Ribeiro', NULL, 'F', 'Rua Bahia', '77', 'Funcionários', 3, '30160-010', NULL,
   NULL, NULL, '(31) 3224-0000', NULL, NULL, '2020-02-14', '1950-07-19', NULL, NULL, NULL, NULL,
   NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 'M', 'S', 0);

REPLACE INTO clientesclassificacao (codigo, descricao) VALUES
  (1, 'Cliente fidelidade'),
  (2, 'Empresa conveniada');

REPLACE INTO clientesclassificados (codcliente, codclienteclassificacao) VALUES
  (1, 1),
  (3, 2);

REPLACE INTO clientesenderecos (codigo, apelido, endereco, clinumeroend, complemento, bairro,
                                codcidade, cep, tipo, codcliente) VALUES
  (1, 'Trabalho', 'Rua Boa Vista', '300', '5º andar', 'Centro', 1, '01014-000', 'E', 1);

REPLACE INTO clientescelulares (codigo, codcliente, celular) VALUES
  (1, 1, '(11) 99876-5432'),
  (2, 2, '(19) 98765-1234');

REPLACE INTO clientesdesconto (codcliente, codproduto, desconto, acrescimo) VALUES
  (1, 3, 5.00, 0.00);

-- Products, groups, kits, prices and stock changes ---------------------------

REPLACE INTO grupos (codigo, nome, descontovendaavista, acrescimovendaaprazo, descontomaximo,
                     semcomissao, comissao, dtcadastro, atualizarprecosonline, capturarcrm,
                     participabalanco, sincronizarmobile) VALUES
  (1, 'Medicamentos', 0.00, 0.00, 10.00, 'N', 1.00, '2020-01-01', 'S', 'N', 'S', 'S'),
  (2, 'Higiene e beleza', 5.00, 2.00, 15.00, 'N', 2.00, '2020-01-01', 'S', 'N', 'S', 'S');

REPLACE INTO subgrupos (codigo, nome, descontomaximo, semcomissao, comissao, dtcadastro, codgrupo)
VALUES
  (1, 'Analgésicos', 10.00, 'N', 1.00, '2020-01-01', 1),
  (2, 'Protetores solares', 15.00, 'N', 2.00, '2020-01-01', 2),
  (3, 'Cabelos', 15.00, 'N', 2.00, '2020-01-01', 2);

REPLACE INTO unidades (un, descricao, untrib, uncom) VALUES
  ('UN', 'Unidade', 'UN', 'UN'),
  ('CX', 'Caixa', 'UN', 'CX'),
  ('FR', 'Frasco', 'UN', 'FR');

REPLACE INTO referencias (codigo, descricao, dtcadastro) VALUES
  (1, 'Linha verão', '2024-10-01');

REPLACE INTO produtos (codigo, codbarras, servico, descricao, unidade, codgrupo, codsubgrupo,
                       codfornecedor, dtcadastro, referencia, validade, descontomaximo,
                       usocontinuo, semcomissao, comissao, fracaovenda, fator, farregistroms,
                       farprincipioativo, atualizarprecosonline, participafidelidade,
                       codreferencia, farmaciapopular, embalagem, desconto, inativo, codaliquota,
                       ipi, piscofins, pisaliquota, cofinsaliquota, codigoncm, origem, cest)
VALUES
  (1, '7891234567895', 'N', 'Dipirona sódica 500 mg 10 comprimidos', 'CX', 1, 1, 1,
   '2022-03-01', 'DIP500', 730, 10.00, 'N', 'N', 1.00, 1.000, 1.0000, '1.0235.0044',
   'Dipirona monoidratada', 'S', 'S', NULL, 'N', 1.000, 0.00, 'N', 2, 0.00, '04', 0.0000,
   0.0000, '30049099', 0, '1300100'),
  (2, '7899876543210', 'N', 'Protetor solar FPS 50 200 ml', 'FR', 2, 2, 2, '2023-10-15',
   'PSF50', 1095, 15.00, 'N', 'N', 2.00, 1.000, 1.0000, NULL, NULL, 'S', 'S', 1, 'N', 1.000,
   0.00, 'N', 1, 0.00, '01', 1.6500, 7.6000, '33049990', 0, '2001100'),
  (3, '7890000111222', 'N', 'Shampoo anticaspa 400 ml', 'FR', 2, 3, 2, '2024-02-20', 'SHA400',
   730, 15.00, 'N', 'N', 2.00, 1.000, 1.0000, NULL, NULL, 'S', 'S', NULL, 'N', 1.000, 0.00, 'N',
   1, 0.00, '01', 1.6500, 7.6000, '33051000', 0, '2002000'),
  (4, '7890000333444', 'N', 'Termômetro clínico (fora de linha)', 'UN', 2, NULL, 1,
   '2019-05-05', 'TERM', NULL, 0.00, 'N', 'N', 0.00, 1.000, 1.0000, NULL, NULL, 'N', 'N', NULL,
   'N', 1.000, 0.00, 'S', 1, 0.00, '01', 1.6500, 7.6000, '90251110', 0, NULL);

REPLACE INTO produtosclassificacao (codigo, descricao) VALUES
  (1, 'Campeões de venda');

REPLACE INTO produtosclassificados (codproduto, codprodutoclassificacao, classificacaopadrao)
VALUES
  (1, 1, 'S'),
  (2, 1, 'N');

REPLACE INTO produtosean (codproduto, codbarras) VALUES
  (1, '7891234567901'),
  (2, '7899876543227');

REPLACE INTO produtosfiliais (codproduto, codfilial, quantidade, precocusto, precomedio, minimo,
                              maximo, dtultvenda, dtultcompra, qtdeultcompra, curvaabc,
                              controlelotevalidade, localizacao, tipoitem, precovenda,
                              precopromocao) VALUES
  (1, 1, 120.000, 3.10, 3.05, 20.000, 200.000, '2026-11-28', '2026-11-03', 100.000, 'A', 'S',
   'A1-03', '00', 6.90, NULL),
  (1, 2, 45.000, 3.10, 3.12, 10.000, 100.000, '2026-11-27', '2026-10-20', 50.000, 'A', 'S',
   'B2-01', '00', 6.90, 5.99),
  (1, 3, 800.000, 3.10, 3.08, 0.000, 0.000, NULL, '2026-11-03', 500.000, 'A', 'S', 'R12', '00',
   NULL, NULL),
  (2, 1, 18.000, 38.00, 37.50, 5.000, 40.000, '2026-11-29', '2026-11-10', 24.000, 'B', 'S',
   'C4-02', '00', 79.90, NULL),
  (2, 2, 0.000, 38.00, 38.00, 5.000, 40.000, '2026-10-12', '2026-09-01', 12.000, 'B', 'S',
   'C1-05', '00', 79.90, NULL),
  (3, 1, 32.000, 12.40, 12.40, 6.000, 60.000, '2026-11-26', '2026-11-15', 36.000, 'C', 'N',
   'D3-01', '00', 24.50, NULL);

REPLACE INTO codigosnofornecedor (codproduto, codfornecedor, codprodnoforn) VALUES
  (1, 1, 'DFP-000812'),
  (2, 2, 'BP-FPS50-200');

REPLACE INTO kits (codigo, descricao, unidade, codbarras) VALUES
  (1, 'Kit verão: protetor + shampoo', 'UN', '7890000999001');

REPLACE INTO kitsitens (codkit, codproduto, quantidade, desconto) VALUES
  (1, 2, 1.000, 5.00),
  (1, 3, 1.000, 10.00);

REPLACE INTO tabelaprecos (codigo, descricao, permitirdesconto, margemlucrodefault, comissao,
                           tipovendavinculada, vendadinheiro, vendaduplicata, vendacartao,
                           vendacheque, vendafinanceira, vendaoutros, vendaconvenio, semcomissao,
                           vendaboleto, comissaoprofissional) VALUES
  (1, 'Varejo', 'S', 60.00, 1.00, 'N', 'S', 'S', 'S', 'S', 'S', 'S', 'S', 'N', 'S', 0.00),
  (2, 'Convênio', 'N', 40.00, 0.50, 'N', 'N', 'S', 'N', 'N', 'N', 'N', 'S', 'N', 'S', 0.00);

-- Branch -1 holds the prices that all branches share when the tenant
-- equalises prices; a price of 0 is never offered.
REPLACE INTO tabelaprecositens (codtabelaprecos, codproduto, codfilial, codfilialorigem, preco,
                                precoanterior, margemlucro, quantidadevinculada,
                                descontovinculado, quantidademinimavenda,
                                quantidademaximadesconto) VALUES
  (1, 1, 1, 1, 6.90, 6.50, 55.00, NULL, NULL, 1.000, NULL),
  (2, 1, 1, 1, 5.90, 5.90, 47.00, NULL, NULL, 1.000, NULL),
  (1, 1, 2, 2, 6.99, 6.90, 56.00, NULL, NULL, 1.000, NULL),
  (1, 2, 1, 1, 79.90, 74.90, 52.00, 2.000, 10.00, 1.000, 6.000),
  (2, 2, 1, 1, 0.00, 0.00, 0.00, NULL, NULL, NULL, NULL),
  (1, 3, 1, 1, 24.50, 22.90, 49.00, NULL, NULL, 1.000, NULL),
  (1, 1, -1, 0, 6.79, 6.50, 54.00, NULL, NULL, 1.000, NULL),
  (1, 2, -1, 0, 78.90, 74.90, 51.00, NULL, NULL, 1.000, NULL);

REPLACE INTO alteracaoestoque (codigo, `data`, hora, acertoestoque, descricao, codfilial,
                               codfilialdestino, cnpj, nrnota, modelo, serie, subserie,
                               codfilialorigem) VALUES
  (1, '2026-11-20', '09:15:00', 'N', 'Transferência para Loja Campinas', 3, 2, NULL, 1021, '55',
   '1', NULL, 3),
  (2, '2026-11-25', '18:40:00', 'S', 'Acerto de inventário', 1, NULL, NULL, NULL, NULL, NULL,
   NULL, 1);

REPLACE INTO alteracaoestoqueitens (codigo, codalteracaoestoque, codproduto, descricaoproduto,
                                    complementoproduto, unidadeproduto, quantidade, tipo,
                                    precocusto, precovenda, precovenda2, lote, motivoperda,
                                    validade, codfilialorigem) VALUES
  (1, 1, 1, 'Dipirona sódica 500 mg 10 comprimidos', NULL, 'CX', 50.000, 'S', 3.10, 6.90, NULL,
   'L2611A', NULL, '2028-06-30', 3),
  (2, 2, 3, 'Shampoo anticaspa 400 ml', NULL, 'FR', 2.000, 'P', 12.40, 24.50, NULL, 'SH0925',
   'Embalagem danificada', '2027-09-30', 1);

-- Product area: stock by branch, prices, kits --------------------------------
-- A promotional price table, so that GET /v1/produto/estoque/1 shows three
-- prices for Loja Centro, ordered by table name (page through the branches
-- and their prices with ?limit=1&page=2), while Loja Campinas keeps an empty
-- list for product 2 (GET /v1/produto/estoque/2); a second kit; and a second
-- item of the transfer.
REPLACE INTO tabelaprecos (codigo, descricao, permitirdesconto, margemlucrodefault, comissao,
                           tipovendavinculada, vendadinheiro, vendaduplicata, vendacartao,
                           vendacheque, vendafinanceira, vendaoutros, vendaconvenio, semcomissao,
                           vendaboleto, comissaoprofissional) VALUES
  (3, 'Promoção de verão', 'N', 30.00, 0.50, 'N', 'S', 'N', 'S', 'N', 'N', 'N', 'N', 'N', 'N',
   0.00);

REPLACE INTO tabelaprecositens (codtabelaprecos, codproduto, codfilial, codfilialorigem, preco,
                                precoanterior, margemlucro, quantidademinimavenda) VALUES
  (3, 1, 1, 1, 5.49, 5.90, 43.00, 2.000),
  (3, 2, 1, 1, 69.90, 79.90, 45.00, 1.000);

REPLACE INTO kits (codigo, descricao, unidade, codbarras) VALUES
  (2, 'Kit cuidado diário: dipirona + shampoo', 'UN', '7890000999002');

REPLACE INTO kitsitens (codkit, codproduto, quantidade, desconto) VALUES
  (2, 1, 2.000, 0.00),
  (2, 3, 1.000, 5.00);

REPLACE INTO alteracaoestoqueitens (codigo, codalteracaoestoque, codproduto, descricaoproduto,
                                    complementoproduto, unidadeproduto, quantidade, tipo,
                                    precocusto, precovenda, precovenda2, lote, motivoperda,
                                    validade, codfilialorigem) VALUES
  (3, 1, 2, 'Protetor solar FPS 50 200 ml', NULL, 'FR', 6.000, 'S', 38.00, 79.90, NULL,
   'PS2610', NULL, '2028-10-31', 3);

-- Receivables and payables ---------------------------------------------------

-- Maria (1): an open title, a credit of 100 with 30 already used, a title with
-- a partial payment, a title of the warehouse (not consulted) and a settled
-- one. João (2): a title charged through a collection bill.
REPLACE INTO crduplicatas (codigo, codfilial, baixado, tipo, descontado, negociado,
                           restanteconta, nrtitulo, nrparcela, codcliente, dtemissao, hremissao,
                           dtvencimento, valor, observacao, codvendedor, caixa,
                           codbloquetocobranca, codconvenio, codfilialorigem) VALUES
  (1, 1, 'N', 'D', 'N', 'N', 'N', '000101', 1, 1, '2026-11-10', '10:20:00', '2026-12-10', 180.00,
   NULL, 2, 1, NULL, NULL, 1),
  (2, 1, 'N', 'C', 'N', 'N', 'N', '000102', 1, 1, '2026-11-12', '11:00:00', '2026-11-12', 100.00,
   'Crédito de devolução', 2, 1, NULL, NULL, 1),
  (3, 2, 'N', 'D', 'N', 'N', 'S', '000201', 2, 1, '2026-10-05', '16:45:00', '2026-11-05', 100.00,
   NULL, 2, 1, NULL, NULL, 2),
  (4, 3, 'N', 'D', 'N', 'N', 'N', '000301', 1, 1, '2026-11-01', '08:00:00', '2026-12-01', 75.00,
   NULL, NULL, NULL, NULL, NULL, 3),
  (5, 1, 'S', 'D', 'N', 'N', 'N', '000090', 1, 1, '2026-09-01', '09:00:00', '2026-10-01', 50.00,
   NULL, 2, 1, NULL, NULL, 1),
  (6, 2, 'N', 'D', 'N', 'N', 'N', '000202', 1, 2, '2026-11-15', '14:30:00', '2026-12-15', 240.00,
   NULL, 2, 2, 1, NULL, 2);

REPLACE INTO crduplicatasbaixado (codigo, codcrduplicata, codusuario, nrrecebimento, dtbaixa,
                                  hrbaixa, desconto, juros, valor, caixa, observacao,
                                  restantedeconta, percjuros, percdesconto, codfilialorigem)
VALUES
  (1, 2, 2, 501, '2026-11-20', '15:00:00', 0.00, 0.00, 30.00, 1, 'Uso parcial do crédito', 'S',
   0.00, 0.00, 1),
  (2, 3, 2, 502, '2026-11-06', '10:10:00', 10.00, 5.00, 50.00, 1, NULL, 'S', 0.33, 10.00, 2),
  (3, 5, 2, 480, '2026-10-01', '09:30:00', 0.00, 0.00, 50.00, 1, NULL, 'N', 0.00, 0.00, 1);

REPLACE INTO bloquetoscobranca (codigo, codcliente, codfilial, nomecliente, enderecocliente,
                                bairrocliente, cidadecliente, ufcliente, cepcliente,
                                cnpj_cpfcliente, dtvencimento, valor, documento, codcrduplicatas,
                                status, nrbanco, emitido, dtemissao, nossonumero, codcidade,
                                taxaboleto, cnab, descontado, codfilialorigem) VALUES
  (1, 2, 2, 'João Batista Lima', 'Av. Brasil, 45', 'Jardim Chapadão', 'Campinas', 'SP',
   '13070-000', '111.444.777-35', '2026-12-15', 240.00, '000202', '6', 1, '341', 'S',
   '2026-11-15', '10900000123', 2, 3.50, 400, 'N', 2),
  (2, 1, 1, 'Maria Aparecida Souza', 'Rua das Flores, 120', 'Centro', 'São Paulo', 'SP',
   '01010-000', '529.982.247-25', '2026-08-10', 90.00, '000080', NULL, 3, '341', 'S',
   '2026-07-10', '10900000099', 1, 3.50, 400, 'N', 1);

REPLACE INTO crcheques (codigo, codfilial, baixado, devolvido, numero, conta, banco, codcliente,
                        cnpj_cpf_emitente, emitente, dtemissao, hremissao, dtvencimento, praca,
                        valor, caixa, agencia, custodia, codfilialorigem) VALUES
  (1, 1, 'N', 'N', '000457', '12345-6', '001', 1, '529.982.247-25', 'Maria Aparecida Souza',
   '2026-11-18', '17:05:00', '2027-01-18', 'São Paulo', 150.00, 1, '0123', 'N', 1),
  (2, 2, 'N', 'S', '000912', '98765-4', '237', 2, '111.444.777-35', 'João Batista Lima',
   '2026-10-02', '12:00:00', '2026-11-02', 'Campinas', 210.00, 2, '4567', 'N', 2);

REPLACE INTO contasapagarclassificacao (codigo, descricao, codconta, codhistorico) VALUES
  (1, 'Fornecedores de mercadoria', 1, 1);

-- Banks, cards and agreements ------------------------------------------------

REPLACE INTO gruposbanco (codigo, descricao, tipo, dtcadastro, despesa, balancomensal, ordem)
VALUES
  (1, 'Despesas operacionais', 'D', '2020-01-01', 'S', 'S', 1);

REPLACE INTO historicos (codigo, descricao, tipo, codgrupobanco, dtcadastro, hisrelgerencial,
                         ordem) VALUES
  (1, 'Pagamento a fornecedor', 'D', 1, '2020-01-01', 'S', 1);

REPLACE INTO contas (codigo, descricao, banco, agencia, conta, contato, telefone, tipo, site,
                     dtcadastro, codfilial, ordem) VALUES
  (1, 'Conta movimento', '341', '0123', '45678-9', 'Gerente PJ', '(11) 4004-4828', 'C',
   'www.itau.com.br', '2020-01-01', 1, 1);

REPLACE INTO cartoes (codigo, descricao, taxavistacredito, taxafinanestabcredito,
                      taxafinanadmincredito, nrdiasrecebimentocredito, taxavistadebito,
                      nrdiasrecebimentodebito, codadministradora, pix, inativo) VALUES
  (1, 'Visa crédito', 2.99, 3.49, 3.99, 30, 1.49, 1, 1, 'N', 'N'),
  (2, 'Pix maquininha', 0.00, 0.00, 0.00, 0, 0.99, 0, 1, 'S', 'N');

REPLACE INTO cartoestaxas (codigo, codcartao, taxavistacredito, taxafinanestabcredito,
                           taxafinanadmincredito, nrdiasrecebimentocredito, nrparcelas) VALUES
  (1, 1, 2.99, 3.49, 3.99, 30, 2),
  (2, 1, 2.99, 3.99, 4.49, 30, 6);

REPLACE INTO convenios (codigo, nome, endereco, bairro, codcidade, cnpj, telefone, email, contato,
                        codcliente, cep, codvencimento, isentodetaxaboleto, descontorecebimento,
                        descontovenda, acrescimovenda, nrdiascarenciaduplicata, diasbloqueio,
                        inativo) VALUES
  (1, 'Metalúrgica Aço Forte', 'Rua da Indústria, 1000', 'Distrito Industrial', 2,
   '56.789.012/0001-34', '(19) 3777-0000', 'rh@acoforte.com.br', 'Patrícia', 3, '13065-100', 1,
   'S', 0.00, 5.00, 0.00, 5, 10, 'N');

REPLACE INTO conveniosdescontogrupos (codconvenio, codgrupo, desconto) VALUES
  (1, 1, 10.00);

REPLACE INTO conveniosdescontosubgrupos (codconvenio, codsubgrupo, desconto) VALUES
  (1, 2, 7.50);

REPLACE INTO conveniosdesconto (codconvenio, codproduto, desconto, acrescimo) VALUES
  (1, 1, 15.00, 0.00);

-- Taxation -------------------------------------------------------------------

REPLACE INTO aliquotas (codigo, descricao, aliquota, tipoimposto, percaliquotadentrouf,
                        cstdentrouf, cstforauf, csosndentrouf, csosnforauf, cfopvendadentrouf,
                        cfopvendaforauf, tipopessoa, tipoufdentrofora, tipocliente, observacao,
                        piscofins, pisaliquota, cofinsaliquota) VALUES
  (1, 'ICMS 18%', 18.00, 'T', 18.00, '000', '000', '102', '102', '5102', '6102', 'A', 'A', 'A',
   NULL, '01', 1.6500, 7.6000),
  (2, 'Substituição tributária', 0.00, 'F', 0.00, '060', '060', '500', '500', '5405', '6404',
   'A', 'A', 'A', 'Medicamentos com ICMS retido', '04', 0.0000, 0.0000);

REPLACE INTO aliquotassecundarias (codigo, codaliquota, descricao, aliquota, tipoimposto,
                                   percaliquotadentrouf, cst, csosn, cfopvenda, tipopessoa,
                                   tipoufdentrofora, tipocliente) VALUES
  (1, 1, 'ICMS 12% interestadual', 12.00, 'T', 12.00, '000', '102', '6102', 'J', 'F', 'R');

REPLACE INTO cfop (cfop, descricao, naturezaoperacao, cfopentrada, tipofaturamento, movestoque)
VALUES
  ('5102', 'Venda de mercadoria adquirida de terceiros', 'Venda', '1102', 'S', 'S'),
  ('5405', 'Venda de mercadoria com ST, como substituído', 'Venda', '1403', 'S', 'S'),
  ('5152', 'Transferência de mercadoria adquirida de terceiros', 'Transferência', '1152', 'N',
   'S');

REPLACE INTO mva (codproduto, mva_sp, mva_mg, mva_rj) VALUES
  (2, 42.00, 44.50, 45.00);

-- Users and logins -----------------------------------------------------------

REPLACE INTO usuariosperfil (codigo, descricao, acessos, comissao, descontomaximo) VALUES
  (1, 'Gerente', 'TODOS', 0.00, 20.00),
  (2, 'Caixa', 'VENDAS;RECEBIMENTOS', 0.50, 5.00);

REPLACE INTO usuarios (codigo, nome, codcidade, cpf, telefone, cargo, senha, acessos, comissao,
                       dtcadastro, tipoacesso, permitiragendamentos, caixa, codusuariosperfil,
                       semcomissao, descontomaximo, inativo) VALUES
  (1, 'Administrador', 1, NULL, NULL, 'Gerente', 'admin', 'TODOS', 0.00, '2020-01-01', 'A', 'S',
   NULL, 1, 'S', 20.00, 'N'),
  (2, 'Ana Paula Reis', 1, '390.533.447-05', '(11) 97654-3210', 'Operadora de caixa', '4321',
   'VENDAS;RECEBIMENTOS', 0.50, '2024-04-01', 'C', 'N', 1, 2, 'N', 5.00, 'N');

-- The API accounts of the branch systems: x-user demo, x-pass demo.
REPLACE INTO login (id, login, senha, ativo) VALUES
  (1, 'demo', 'demo', 1),
  (2, 'campinas', 'cps-2026', 1),
  (3, 'antigo', 'antigo', 0);

-- Defaulters: the company customer is listed, with its reason.
REPLACE INTO negativados (codigo, pessoa, cnpj, nome, `local`, motivo, observacao) VALUES
  (1, 'J', '45.678.901/0001-23', 'Comercial Ponto Certo Ltda', 'SPC',
   'Título protestado em cartório', NULL);

-- Retired records, for tenants that synchronise inactive records
-- (sincronizar_inativo 1): their downloads of cards and users then carry the
-- column inativo, and the branches hide these rows themselves.
REPLACE INTO cartoes (codigo, descricao, taxavistacredito, taxafinanestabcredito,
                      taxafinanadmincredito, nrdiasrecebimentocredito, taxavistadebito,
                      nrdiasrecebimentodebito, codadministradora, pix, inativo) VALUES
  (3, 'Elo débito (descredenciado)', 0.00, 0.00, 0.00, 0, 1.79, 2, 1, 'N', 'S');

REPLACE INTO usuarios (codigo, nome, codcidade, cargo, senha, acessos, comissao, dtcadastro,
                       tipoacesso, permitiragendamentos, caixa, codusuariosperfil, semcomissao,
                       descontomaximo, inativo) VALUES
  (3, 'Carlos Eduardo Lima', 2, 'Balconista', '9876', 'VENDAS', 0.50, '2022-08-15', 'C', 'N', 2,
   2, 'N', 5.00, 'S');

-- Credit situation (GET /v1/cliente/financeiro/:ID) ------------------------
-- A few rows that show its rules on the demo customers. Maria (1): an open
-- collection bill, a discounted title (left out) and a cheque of value 0 that
-- sets the earliest cheque date without being listed. João (2): listed as a
-- defaulter without a stated reason (negativado_motivo "").
REPLACE INTO bloquetoscobranca (codigo, codcliente, codfilial, nomecliente, dtvencimento, valor,
                                documento, status, nrbanco, emitido, dtemissao, nossonumero,
                                taxaboleto, codfilialorigem) VALUES
  (3, 1, 1, 'Maria Aparecida Souza', '2026-12-20', 120.00, '000103', 2, '341', 'S',
   '2026-11-20', '10900000140', 3.50, 1);

REPLACE INTO crduplicatas (codigo, codfilial, baixado, tipo, descontado, nrtitulo, nrparcela,
                           codcliente, dtemissao, dtvencimento, valor, codfilialorigem) VALUES
  (7, 1, 'N', 'D', 'S', '000103', 1, 1, '2026-11-20', '2027-01-20', 60.00, 1);

REPLACE INTO crcheques (codigo, codfilial, baixado, devolvido, numero, conta, banco, codcliente,
                        emitente, dtemissao, dtvencimento, valor, codfilialorigem) VALUES
  (3, 1, 'N', 'N', '000458', '12345-6', '001', 1, 'Maria Aparecida Souza', '2026-11-18',
   '2026-12-18', 0.00, 1);

REPLACE INTO negativados (codigo, pessoa, cnpj, nome, `local`, motivo, observacao) VALUES
  (2, 'F', '111.444.777-35', 'João Batista Lima', 'SERASA', NULL, NULL);

SET SESSION sql_mode = @qv_demo_saved_sql_mode;
