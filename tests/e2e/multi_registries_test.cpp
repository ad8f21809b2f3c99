// The multi-table registries over real HTTP, through the whole chain:
// banks, cards, agreements, branches, defaulters, taxation and users. One
// table drives every read/write route (empty table, record layout, upload
// with its branch of origin, upsert by key headers; each write read back
// from MariaDB); the reads that add the inactive column and the routing of
// the taxation group follow.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "e2e_fixture.h"

namespace quorvane::e2e {
namespace {

struct Route {
  std::string_view name;  // test name
  std::string_view path;
  std::string_view table;
  // The JSON keys of a record, in order (without inativo).
  std::string_view layout;
  // Key columns and the values of a test record's key; empty for tables
  // whose key the database generates (codigo).
  std::string_view key_fields;
  std::string_view key_values;
  // A column of the layout, a value for it as SQL and as JSON text, and a
  // second value for the update.
  std::string_view column;
  std::string_view sql_value, json_value;
  std::string_view sql_update, json_update;
};

constexpr Route kRoutes[] = {
    {"BancoGrupo", "/v1/banco/grupo", "gruposbanco",
     "codigo descricao tipo dtcadastro despesa balancomensal ordem", "", "", "descricao",
     "'Despesas'", "Despesas", "'Receitas'", "Receitas"},
    {"BancoHistorico", "/v1/banco/historico", "historicos",
     "codigo descricao tipo codgrupobanco dtcadastro hisrelgerencial ordem", "", "", "descricao",
     "'Tarifa'", "Tarifa", "'Juros'", "Juros"},
    {"BancoConta", "/v1/banco/conta", "contas",
     "codigo descricao banco agencia conta contato telefone tipo site dtcadastro codfilial ordem",
     "", "", "descricao", "'Conta movimento'", "Conta movimento", "'Aplicação'", "Aplicação"},
    {"Cartao", "/v1/cartao", "cartoes",
     "codigo descricao taxavistacredito taxafinanestabcredito taxafinanadmincredito "
     "nrdiasrecebimentocredito taxavistadebito nrdiasrecebimentodebito codadministradora pix",
     "", "", "descricao", "'Visa'", "Visa", "'Elo'", "Elo"},
    {"CartaoTaxa", "/v1/cartao/taxa", "cartoestaxas",
     "codigo codcartao taxavistacredito taxafinanestabcredito taxafinanadmincredito "
     "nrdiasrecebimentocredito nrparcelas",
     "", "", "nrparcelas", "3", "3", "6", "6"},
    {"Convenio", "/v1/convenio", "convenios",
     "codigo nome endereco bairro codcidade cnpj inscricaoestadual telefone fax email contato "
     "observacao codcliente cep complemento codvencimento isentodetaxaboleto "
     "descontorecebimento descontovenda acrescimovenda nrdiascarenciaduplicata diasbloqueio "
     "codcodigosbancos",
     "", "", "nome", "'Metalúrgica'", "Metalúrgica", "'Têxtil'", "Têxtil"},
    {"ConvenioDescontoGrupo", "/v1/convenio/desconto/grupo", "conveniosdescontogrupos",
     "codconvenio codgrupo desconto", "codconvenio, codgrupo", "4, 9", "desconto", "2.5", "2.5",
     "7.25", "7.25"},
    {"ConvenioDescontoSubgrupo", "/v1/convenio/desconto/subgrupo", "conveniosdescontosubgrupos",
     "codconvenio codsubgrupo desconto", "codconvenio, codsubgrupo", "4, 9", "desconto", "2.5",
     "2.5", "7.25", "7.25"},
    {"ConvenioDescontoProduto", "/v1/convenio/desconto", "conveniosdesconto",
     "codconvenio codproduto desconto acrescimo", "codconvenio, codproduto", "4, 9", "desconto",
     "2.5", "2.5", "7.25", "7.25"},
    {"Filial", "/v1/filial", "filiais",
     "codigo nome codcliente consultarduplicatas consultarcheques consultarestoque", "", "", "nome",
     "'Loja Centro'", "Loja Centro", "'Loja Norte'", "Loja Norte"},
    {"Negativado", "/v1/negativado", "negativados",
     "codigo pessoa cnpj nome local motivo observacao", "", "", "nome", "'Ponto Certo'",
     "Ponto Certo", "'Ponto Errado'", "Ponto Errado"},
    {"Aliquota", "/v1/aliquota", "aliquotas",
     "codigo descricao aliquota tipoimposto percaliquotadentrouf cstdentrouf cstforauf "
     "modbcicmsdentrouf modbcicmsforauf redbasecalculoicmsdentrouf redbasecalculoicmsforauf "
     "modbcicmsstdentrouf modbcicmsstforauf redbasecalculoicmsstdentrouf "
     "redbasecalculoicmsstforauf csosndentrouf csosnforauf cfopvendadentrouf cfopvendaforauf "
     "cfopcompradentrouf cfopcompraforauf cfopdevvendadentrouf cfopdevvendaforauf "
     "cfopdevcompradentrouf cfopdevcompraforauf tipopessoa tipoufdentrofora tipocliente "
     "pessoafisica pessoajuridica movdentrouf movforauf clirevendedor cliconsumidorfinal "
     "cliindustria cliconstrutora cfoptransfdentrouf cfoptransfforauf climei clieireli "
     "observacao clicontribuinte clinaocontribuinte cfopentradamanifestodentrouf "
     "cfopentradamanifestoforauf cfopsaidamanifestodentrouf cfopsaidamanifestoforauf fcp cstipi "
     "codigoenqipi aliquotaipi valoripi aliquotadesoneracao piscofins pisaliquota "
     "cofinsaliquota percdiferimento",
     "", "", "descricao", "'ICMS 18%'", "ICMS 18%", "'ICMS 12%'", "ICMS 12%"},
    {"AliquotaSecundaria", "/v1/aliquota/secundaria", "aliquotassecundarias",
     "codigo codaliquota descricao aliquota tipoimposto percaliquotadentrouf cst modbcicms "
     "redbasecalculoicms modbcicmsst redbasecalculoicmsst csosn cfopvenda cfopcompra "
     "cfopdevvenda cfopdevcompra tipopessoa tipoufdentrofora tipocliente",
     "", "", "descricao", "'Interestadual'", "Interestadual", "'Importado'", "Importado"},
    {"CFOP", "/v1/cfop", "cfop",
     "cfop descricao naturezaoperacao cfopentrada cfopentrada2 tipofaturamento "
     "codigocontaanalitica nivelcontaanalitica codnatcontaanalitica indicadortipoconta "
     "nomecontaanalitica codigocontareferenciada movestoque",
     "cfop", "'5102'", "descricao", "'Venda'", "Venda", "'Venda de mercadoria'",
     "Venda de mercadoria"},
    {"MVA", "/v1/mva", "mva",
     "codproduto mva_rj mva_mg mva_es mva_sp mva_ac mva_al mva_am mva_ap mva_ba mva_ce mva_df "
     "mva_go mva_ma mva_ms mva_mt mva_pa mva_pb mva_pe mva_pi mva_pr mva_rn mva_ro mva_rr mva_rs "
     "mva_sc mva_se mva_to",
     "codproduto", "12", "mva_sp", "42.5", "42.5", "44", "44"},
    {"Usuario", "/v1/usuario", "usuarios",
     "codigo nome endereco bairro codcidade cep cpf rg telefone cargo senha acessos comissao "
     "dtnascimento dtcadastro tipoacesso permitiragendamentos caixa senhafarmaciapopular "
     "codusuariosperfil acessorapido semcomissao descontomaximo",
     "", "", "nome", "'Ana'", "Ana", "'Ana Paula'", "Ana Paula"},
    {"UsuarioPerfil", "/v1/usuario/perfil", "usuariosperfil",
     "codigo descricao acessos comissao descontomaximo", "", "", "descricao", "'Gerente'",
     "Gerente", "'Caixa'", "Caixa"},
};

void PrintTo(const Route& route, std::ostream* os) { *os << route.name; }

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::istringstream in{std::string(text)};
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

std::vector<std::string> KeysOf(const lib::JsonValue& record) {
  std::vector<std::string> keys;
  for (const auto& member : record.AsObject()) keys.push_back(member.name);
  return keys;
}

// The JSON object text of a record: the key columns (when the test names
// them) and the value column.
std::string Body(const Route& r, std::string_view sql_value) {
  std::string body = "{";
  const std::vector<std::string> fields = Words(std::string(r.key_fields));
  std::vector<std::string> values;
  for (std::string v : Words(std::string(r.key_values))) {
    if (v.ends_with(',')) v.pop_back();
    values.push_back(v);
  }
  for (std::size_t i = 0; i < fields.size(); ++i) {
    std::string field = fields[i];
    if (field.ends_with(',')) field.pop_back();
    std::string value = values[i];
    if (value.starts_with('\'')) value = "\"" + value.substr(1, value.size() - 2) + "\"";
    body += "\"" + field + "\": " + value + ", ";
  }
  std::string value(sql_value);
  if (value.starts_with('\'')) value = "\"" + value.substr(1, value.size() - 2) + "\"";
  return body + "\"" + std::string(r.column) + "\": " + value + "}";
}

class MultiRegistryTest : public E2ETest, public ::testing::WithParamInterface<Route> {
 protected:
  void SetUp() override { db().Exec("DELETE FROM " + Table()); }

  static TestDb& db() { return tenant().db(); }
  static const Route& R() { return GetParam(); }
  static std::string Table() { return std::string(R().table); }
  static std::string Path() { return std::string(R().path); }
  static std::string Column() { return std::string(R().column); }
  static bool KeyGenerated() { return R().key_fields.empty(); }

  // A record with the test's key (or code 7) and the first value.
  static void InsertRecord() {
    const std::string fields = KeyGenerated() ? "codigo" : std::string(R().key_fields);
    const std::string values = KeyGenerated() ? "7" : std::string(R().key_values);
    db().Exec("INSERT INTO " + Table() + " (" + fields + ", " + Column() + ") VALUES (" + values +
              ", " + std::string(R().sql_value) + ")");
  }
  static std::string RecordCondition() {
    if (KeyGenerated()) return "codigo = 7";
    const std::vector<std::string> fields = Words(std::string(R().key_fields));
    const std::vector<std::string> values = Words(std::string(R().key_values));
    std::string where;
    for (std::size_t i = 0; i < fields.size(); ++i) {
      std::string f = fields[i], v = values[i];
      if (f.ends_with(',')) f.pop_back();
      if (v.ends_with(',')) v.pop_back();
      where += (i ? " AND " : "") + f + " = " + v;
    }
    return where;
  }
};

TEST_P(MultiRegistryTest, EmptyTableAnswers422WithNull) {
  const HttpResponse res = Get(Path());
  EXPECT_EQ(res.status, 422);
  EXPECT_EQ(res.body, "null");
}

TEST_P(MultiRegistryTest, ListsTheRecordLayout) {
  InsertRecord();
  const HttpResponse res = Get(Path());
  ASSERT_EQ(res.status, 200) << res.body;
  const lib::JsonValue rows = res.Json();
  ASSERT_TRUE(rows.IsArray()) << res.body;
  ASSERT_EQ(rows.size(), 1u);
  const lib::JsonValue& record = rows.AsArray().front();
  EXPECT_EQ(KeysOf(record), Words(R().layout));
  ASSERT_NE(record.Find(Column()), nullptr);
  EXPECT_EQ(record.Find(Column())->ToText(), R().json_value);
}

TEST_P(MultiRegistryTest, UploadInsertsWithTheBranchOfOrigin) {
  const HttpResponse res = Post(Path(), Body(R(), R().sql_value), {{"x-filial", "3"}});
  std::string where = RecordCondition();
  if (KeyGenerated()) {
    // The database generated the code and the answer names it.
    ASSERT_EQ(res.status, 200) << res.body;
    const lib::JsonValue answer = res.Json();
    const lib::JsonValue* id = answer.Find("id");
    ASSERT_NE(id, nullptr) << res.body;
    where = "codigo = " + id->ToText();
  } else {
    EXPECT_EQ(res.status, 204) << res.body;
  }
  EXPECT_EQ(db().Count(Table()), 1);
  EXPECT_EQ(db().Rows("SELECT codfilialorigem FROM " + Table() + " WHERE " + where + " AND " +
                      Column() + " = " + std::string(R().sql_value)),
            (std::vector<Row>{{"3"}}));
}

TEST_P(MultiRegistryTest, UploadWithKeyHeadersUpdatesTheRecord) {
  InsertRecord();
  const std::string fields = KeyGenerated() ? "codigo" : std::string(R().key_fields);
  const std::string values = KeyGenerated() ? "7" : std::string(R().key_values);
  std::string body = "{\"" + Column() + "\": ";
  std::string update(R().sql_update);
  if (update.starts_with('\'')) update = "\"" + update.substr(1, update.size() - 2) + "\"";
  body += update + "}";
  const HttpResponse res =
      Post(Path(), body, {{"x-filial", "5"}, {"x-key-fields", fields}, {"x-key-values", values}});
  EXPECT_TRUE(res.status == 200 || res.status == 204) << res.status << " " << res.body;
  EXPECT_EQ(db().Count(Table()), 1);
  EXPECT_EQ(db().Rows("SELECT codfilialorigem FROM " + Table() + " WHERE " + RecordCondition() +
                      " AND " + Column() + " = " + std::string(R().sql_update)),
            (std::vector<Row>{{"5"}}));
}

TEST_P(MultiRegistryTest, UploadWithoutObjectBodyIsRefused) {
  for (const std::string_view body : {"", "abc"}) {
    SCOPED_TRACE(body);
    const HttpResponse res = Post(Path(), std::string(body));
    EXPECT_EQ(res.status, 400);
    EXPECT_EQ(res.Json().Find("message")->AsString(), "Body inexistente ou inválido!");
  }
  EXPECT_EQ(db().Count(Table()), 0);
}

TEST_P(MultiRegistryTest, OtherMethodsAreNotRouted) {
  for (const std::string_view method : {"PUT", "DELETE"}) {
    SCOPED_TRACE(method);
    const HttpResponse res = Send(method, Path());
    EXPECT_EQ(res.status, 404);
    EXPECT_EQ(res.body, "Not Found");
  }
}

INSTANTIATE_TEST_SUITE_P(Routes, MultiRegistryTest, ::testing::ValuesIn(kRoutes),
                         [](const auto& info) { return std::string(info.param.name); });

// Groups whose routes all lie below the prefix answer nothing on it; the
// taxation routes hang directly under /v1.
class GroupRootTest : public E2ETest {};

TEST_F(GroupRootTest, TaxationIsRoutedUnderV1AndNothingOnTheGroupRoots) {
  tenant().db().Exec("DELETE FROM aliquotas");
  const HttpResponse aliquota = Get("/v1/aliquota");
  EXPECT_EQ(aliquota.status, 422);
  EXPECT_EQ(aliquota.body, "null");
  for (const std::string_view path : {"/v1", "/v1/", "/v1/banco", "/v1/banco/"}) {
    for (const std::string_view method : {"GET", "POST"}) {
      SCOPED_TRACE(std::string(method) + " " + std::string(path));
      const HttpResponse res = Send(method, path, {}, method == "POST" ? "{\"a\": 1}" : "");
      EXPECT_EQ(res.status, 404);
      EXPECT_EQ(res.body, "Not Found");
    }
  }
}

// ------------------------------------------------------ the inactive column

struct InactiveRead {
  std::string_view name;
  std::string_view path;
  std::string_view table;
  std::string_view last_column;  // the layout's last column without inativo
  bool adds_inativo;
};

constexpr InactiveRead kInactiveReads[] = {
    {"Cartao", "/v1/cartao", "cartoes", "pix", true},
    {"CartaoTaxa", "/v1/cartao/taxa", "cartoestaxas", "nrparcelas", false},
    {"Convenio", "/v1/convenio", "convenios", "codcodigosbancos", true},
    {"Usuario", "/v1/usuario", "usuarios", "descontomaximo", true},
    {"UsuarioPerfil", "/v1/usuario/perfil", "usuariosperfil", "descontomaximo", false},
};

// A tenant of its own: the switch lives in the tenant's control row.
class InactiveColumnTest : public ::testing::TestWithParam<InactiveRead> {
 protected:
  static void SetUpTestSuite() {
    tenant_ = std::make_unique<FixtureTenant>(UniqueName("qv_e2e_inativo"));
    client_ = std::make_unique<Client>(E2ETest::server(), *tenant_);
  }
  static void TearDownTestSuite() {
    client_.reset();
    tenant_.reset();
  }

  static std::unique_ptr<FixtureTenant> tenant_;
  static std::unique_ptr<Client> client_;
};

std::unique_ptr<FixtureTenant> InactiveColumnTest::tenant_;
std::unique_ptr<Client> InactiveColumnTest::client_;

TEST_P(InactiveColumnTest, InativoIsTheLastKeyOnlyWhenTheTenantSynchronisesIt) {
  const InactiveRead& r = GetParam();
  const std::string table(r.table);
  tenant_->db().Exec("DELETE FROM " + table);
  tenant_->db().Exec("INSERT INTO " + table + " (codigo) VALUES (1), (2)");
  if (r.adds_inativo) tenant_->db().Exec("UPDATE " + table + " SET inativo = 'S' WHERE codigo = 2");

  struct Case {
    std::optional<int> setting;
    bool want_inativo;
  };
  const Case cases[] = {{1, r.adds_inativo}, {0, false}, {std::nullopt, false}, {2, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setting ? std::to_string(*c.setting) : "NULL");
    tenant_->SetControl("sincronizar_inativo", c.setting);
    const HttpResponse res = client_->Get(r.path);
    ASSERT_EQ(res.status, 200) << res.body;
    const lib::JsonValue rows = res.Json();
    ASSERT_EQ(rows.size(), 2u) << res.body;
    for (std::size_t i = 0; i < 2; ++i) {
      const lib::JsonValue::Object& record = rows.AsArray()[i].AsObject();
      if (c.want_inativo) {
        ASSERT_GE(record.size(), 2u);
        EXPECT_EQ(record.back().name, "inativo");
        EXPECT_EQ(record[record.size() - 2].name, r.last_column);
        EXPECT_EQ(record.back().value.AsString(), i == 0 ? "N" : "S");
      } else {
        EXPECT_EQ(record.back().name, r.last_column);
        EXPECT_EQ(rows.AsArray()[i].Find("inativo"), nullptr);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Reads, InactiveColumnTest, ::testing::ValuesIn(kInactiveReads),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvane::e2e
