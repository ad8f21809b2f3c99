// Price items over real HTTP with the tenant setting igualar_precos on and
// off: what a branch downloads as its own items, and where an upload of an
// item lands. Every upload case runs with the setting 1 and 0 and is read
// back from MariaDB.

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "controller/produto_preco.h"
#include "produto_fixture.h"

namespace quorvane::e2e {
namespace {

class PrecoItemTest : public ProdutoAreaTest {
 protected:
  void SetUp() override {
    ProdutoAreaTest::SetUp();
    db().Exec("DELETE FROM tabelaprecositens");
  }
  // (codtabelaprecos, codproduto, codfilial) of an answer's rows, sorted.
  using Key = std::tuple<int, int, int>;
  static std::vector<Key> KeysOf(const HttpResponse& res) {
    std::vector<Key> keys;
    const lib::JsonValue rows = res.Json();
    if (!rows.IsArray()) {
      ADD_FAILURE() << res.body;
      return keys;
    }
    for (const lib::JsonValue& row : rows.AsArray()) {
      keys.emplace_back(std::stoi(row.Find("codtabelaprecos")->ToText()),
                        std::stoi(row.Find("codproduto")->ToText()),
                        std::stoi(row.Find("codfilial")->ToText()));
    }
    std::sort(keys.begin(), keys.end());
    return keys;
  }
  // Items of branch 5 and 6 and the shared items (-1).
  static void SeedItems() {
    db().Exec(
        "INSERT INTO tabelaprecositens (codtabelaprecos, codproduto, codfilial, preco) VALUES "
        "(1, 100, 5, 1.5), (1, 101, 5, 2.5), (1, 100, -1, 3.5), (2, 100, -1, 4.5), "
        "(1, 100, 6, 5.5)");
  }
};

// ------------------------------------------------ GET /v1/preco/item/filial

struct ItemFilialCase {
  std::string_view name;
  std::optional<int> igualar;
  std::string_view filial;
  std::string_view where;                       // x-where; empty: none
  std::vector<std::tuple<int, int, int>> want;  // empty: 422 null
};

void PrintTo(const ItemFilialCase& c, std::ostream* os) { *os << c.name; }

const ItemFilialCase kItemFilialCases[] = {
    {"SharedItemsWhenOn", 1, "5", "", {{1, 100, -1}, {2, 100, -1}}},
    {"OwnItemsWhenOff", 0, "5", "", {{1, 100, 5}, {1, 101, 5}}},
    {"OwnItemsWhenNull", std::nullopt, "5", "", {{1, 100, 5}, {1, 101, 5}}},
    {"OtherBranchWhenOff", 0, "6", "", {{1, 100, 6}}},
    {"SharedItemsForAnyBranchWhenOn", 1, "9", "", {{1, 100, -1}, {2, 100, -1}}},
    {"BranchWithoutItemsWhenOff", 0, "9", "", {}},
    {"WhereJoinedWhenOn", 1, "5", "codtabelaprecos = 2", {{2, 100, -1}}},
    {"WhereJoinedWhenOff", 0, "5", "codproduto = 101", {{1, 101, 5}}},
};

class ItemFilialTest : public PrecoItemTest,
                       public ::testing::WithParamInterface<ItemFilialCase> {};

TEST_P(ItemFilialTest, ReadsTheItemsThatApplyToTheBranch) {
  const ItemFilialCase& c = GetParam();
  SeedItems();
  Switches(0, 0, c.igualar);
  HttpHeaders headers{{"x-filial", std::string(c.filial)}};
  if (!c.where.empty()) headers.push_back({"x-where", std::string(c.where)});
  const HttpResponse res = Get("/v1/preco/item/filial", headers);
  if (c.want.empty()) {
    EXPECT_EQ(res.status, 422);
    EXPECT_EQ(res.body, "null");
    return;
  }
  ASSERT_EQ(res.status, 200) << res.body;
  EXPECT_EQ(KeysOf(res), c.want);
}

INSTANTIATE_TEST_SUITE_P(Cases, ItemFilialTest, ::testing::ValuesIn(kItemFilialCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PrecoItemTest, ItemReadsEveryBranchIncludingTheSharedItems) {
  SeedItems();
  for (const int igualar : {1, 0}) {
    SCOPED_TRACE(igualar);
    Switches(0, 0, igualar);
    const HttpResponse res = Get("/v1/preco/item", {{"x-filial", "5"}});
    ASSERT_EQ(res.status, 200) << res.body;
    EXPECT_EQ(KeysOf(res), (std::vector<Key>{
                               {1, 100, -1}, {1, 100, 5}, {1, 100, 6}, {1, 101, 5}, {2, 100, -1}}));
    // The record layout of a price item.
    const lib::JsonValue rows = res.Json();
    std::vector<std::string> names;
    for (const auto& member : rows.AsArray().front().AsObject()) names.push_back(member.name);
    EXPECT_EQ(names, (std::vector<std::string>{
                         "codtabelaprecos", "codproduto", "codfilial", "codfilialorigem", "preco",
                         "precoanterior", "margemlucro", "quantidadevinculada", "descontovinculado",
                         "quantidademinimavenda", "quantidademaximadesconto"}));
  }
}

// ------------------------------------------------------- POST /v1/preco/item

struct PostOutcome {
  int status;
  // Rows of tabelaprecositens afterwards: codtabelaprecos, codproduto,
  // codfilial, preco, codfilialorigem.
  std::vector<Row> rows;
  std::string_view message_has;  // a word of the 400 message; empty: any
};

struct PostItemCase {
  std::string_view name;
  std::optional<std::string_view> key_fields, key_values;  // nullopt: header absent
  std::string_view body;
  std::string_view seed;  // VALUES of an INSERT before the upload; empty: none
  PostOutcome on, off;    // igualar_precos 1, 0
};

const PostItemCase kPostItemCases[] = {
    {"KeysNameCodfilial",
     "codtabelaprecos,codproduto,codfilial",
     "1,100,5",
     R"({"preco": 9.9})",
     "",
     {204, {{"1", "100", "-1", "9.90", "5"}}, ""},
     {204, {{"1", "100", "5", "9.90", "5"}}, ""}},
    {"KeysWithBlanks",
     "codtabelaprecos, codproduto, codfilial",
     "1, 100, 5",
     R"({"preco": 9.9})",
     "",
     {204, {{"1", "100", "-1", "9.90", "5"}}, ""},
     {204, {{"1", "100", "5", "9.90", "5"}}, ""}},
    {"CodFilialInOtherCaseAndBlanks",
     "codtabelaprecos, codproduto,  CodFilial ",
     " 1 ,100,  5 ",
     R"({"preco": 9.9})",
     "",
     {204, {{"1", "100", "-1", "9.90", "5"}}, ""},
     {204, {{"1", "100", "5", "9.90", "5"}}, ""}},
    {"CodfilialFirst",
     "codfilial, codtabelaprecos, codproduto",
     "5, 2, 100",
     R"({"preco": 4})",
     "",
     {204, {{"2", "100", "-1", "4.00", "5"}}, ""},
     {204, {{"2", "100", "5", "4.00", "5"}}, ""}},
    {"KeysWithoutCodfilial",
     "codtabelaprecos, codproduto",
     "1 ,  100",
     R"({"codfilial": 5, "preco": 7})",
     "",
     {204, {{"1", "100", "5", "7.00", "5"}}, ""},
     {204, {{"1", "100", "5", "7.00", "5"}}, ""}},
    {"UpdatesTheSharedItem",
     "codtabelaprecos, codproduto, codfilial",
     "1, 100, 7",
     R"({"preco": 6.5})",
     "(1, 100, -1, 5, 0), (1, 100, 7, 6, 7)",
     {204, {{"1", "100", "-1", "6.50", "5"}, {"1", "100", "7", "6.00", "7"}}, ""},
     {204, {{"1", "100", "-1", "5.00", "0"}, {"1", "100", "7", "6.50", "5"}}, ""}},
    {"DoubleQuotedValues",
     "codtabelaprecos, codproduto, codfilial",
     R"("1","100","5")",
     R"({"preco": 2})",
     "",
     {204, {{"1", "100", "-1", "2.00", "5"}}, ""},
     {400, {}, ""}},
    {"EmptyEntryAtCodfilial",
     "codtabelaprecos, codproduto, codfilial",
     "1,100,",
     R"({"preco": 2})",
     "",
     {204, {{"1", "100", "-1", "2.00", "5"}}, ""},
     {400, {}, ""}},
    {"NoValueAtCodfilial",
     "codtabelaprecos, codproduto, codfilial",
     "1, 100",
     R"({"preco": 1})",
     "",
     {400, {}, "codfilial"},
     {400, {}, ""}},
    {"NoKeyValues",
     "codtabelaprecos, codproduto, codfilial",
     std::nullopt,
     R"({"preco": 1})",
     "",
     {400, {}, "codfilial"},
     {400, {}, ""}},
    {"NoKeyHeaders",
     std::nullopt,
     std::nullopt,
     R"({"codtabelaprecos": 1, "codproduto": 100, "codfilial": 5, "preco": 3})",
     "",
     {204, {{"1", "100", "5", "3.00", "5"}}, ""},
     {204, {{"1", "100", "5", "3.00", "5"}}, ""}},
    {"ValueOutsideTheList",
     "codtabelaprecos, codproduto, codfilial",
     "1, 100, 5, 9",
     R"({"preco": 1})",
     "",
     {400, {}, ""},
     {400, {}, ""}},
    {"BodyNotJson",
     "codtabelaprecos, codproduto, codfilial",
     "1, 100, 5",
     "abc",
     "",
     {400, {}, "Body"},
     {400, {}, "Body"}},
};

struct PostItemParam {
  const PostItemCase* c;
  int igualar;
};

void PrintTo(const PostItemParam& p, std::ostream* os) {
  *os << p.c->name << " with igualar_precos " << p.igualar;
}

std::vector<PostItemParam> PostItemParams() {
  std::vector<PostItemParam> params;
  for (const PostItemCase& c : kPostItemCases) {
    params.push_back({&c, 1});
    params.push_back({&c, 0});
  }
  return params;
}

class PostItemTest : public PrecoItemTest, public ::testing::WithParamInterface<PostItemParam> {};

TEST_P(PostItemTest, WritesWhereTheSettingSays) {
  const PostItemCase& c = *GetParam().c;
  const PostOutcome& want = GetParam().igualar == 1 ? c.on : c.off;
  if (!c.seed.empty()) {
    db().Exec(
        "INSERT INTO tabelaprecositens (codtabelaprecos, codproduto, codfilial, preco, "
        "codfilialorigem) VALUES " +
        std::string(c.seed));
  }
  Switches(0, 0, GetParam().igualar);

  HttpHeaders headers{{"x-filial", "5"}};
  if (c.key_fields) headers.push_back({"x-key-fields", std::string(*c.key_fields)});
  if (c.key_values) headers.push_back({"x-key-values", std::string(*c.key_values)});
  const HttpResponse res = Post("/v1/preco/item", std::string(c.body), headers);

  EXPECT_EQ(res.status, want.status) << res.body;
  if (want.status == 400) {
    EXPECT_NE(Message(res).find(want.message_has), std::string::npos) << res.body;
  }
  EXPECT_EQ(db().Rows("SELECT codtabelaprecos, codproduto, codfilial, preco, codfilialorigem "
                      "FROM tabelaprecositens ORDER BY codtabelaprecos, codproduto, codfilial"),
            want.rows);
}

INSTANTIATE_TEST_SUITE_P(Cases, PostItemTest, ::testing::ValuesIn(PostItemParams()),
                         [](const auto& info) {
                           return std::string(info.param.c->name) +
                                  (info.param.igualar == 1 ? "_Igualar1" : "_Igualar0");
                         });

// The key values text handed to the upsert, as the equalised-price rewrite
// builds it from the two headers.
TEST(EqualisedKeyValuesTest, RewritesTheCodfilialEntryOnly) {
  namespace preco = controller::produto_preco;
  struct Case {
    std::string_view fields, values;
    std::optional<std::string> want;
  };
  const Case cases[] = {
      {"codtabelaprecos,codproduto,codfilial", "1,100,5", "1, 100, -1"},
      {" CODFILIAL ,codproduto", "  5 ,100", "-1, 100"},
      {"codtabelaprecos, codproduto", " 1 ,  100", "1, 100"},
      {"codfilial, codfilial", "5, 6", "-1, 6"},
      {"a, codfilial", R"("'x,y'", 5)", "'x,y', -1"},
      {"codtabelaprecos, codproduto, codfilial", "1, 100", std::nullopt},
      {"codfilial", "", std::nullopt},
      {"", "1, 2", "1, 2"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.fields) + " / " + std::string(c.values));
    EXPECT_EQ(preco::EqualisedKeyValues(c.fields, c.values), c.want);
  }
}

}  // namespace
}  // namespace quorvane::e2e
