// Branches over real HTTP: the head office (code 0) is never listed, and
// GET /v1/filial/newid reserves codes of the branch key sequence without
// leaving a placeholder behind and without touching any existing branch.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "e2e_fixture.h"

namespace quorvane::e2e {
namespace {

class FilialTest : public E2ETest {
 protected:
  // The head office 0 and branch 1. Code 0 in an AUTO_INCREMENT column needs
  // NO_AUTO_VALUE_ON_ZERO for the statement that writes it.
  void SetUp() override {
    db().Exec("DELETE FROM filiais");
    db().Exec(
        "SET @qv_mode = @@SESSION.sql_mode; "
        "SET SESSION sql_mode = CONCAT(@@SESSION.sql_mode, ',NO_AUTO_VALUE_ON_ZERO'); "
        "INSERT INTO filiais (codigo, nome) VALUES (0, 'Matriz'), (1, 'Loja Centro'); "
        "SET SESSION sql_mode = @qv_mode");
  }

  static TestDb& db() { return tenant().db(); }
  static std::vector<Row> Branches() {
    return db().Rows("SELECT codigo, nome FROM filiais ORDER BY codigo");
  }

  // The code of a 200 {"id": N} answer; fails the test otherwise.
  static long long NewId() {
    const HttpResponse res = Get("/v1/filial/newid");
    EXPECT_EQ(res.status, 200) << res.body;
    const lib::JsonValue body = res.Json();
    const lib::JsonValue* id = body.IsObject() ? body.Find("id") : nullptr;
    if (id == nullptr) {
      ADD_FAILURE() << "no id: " << res.body;
      return -1;
    }
    return std::stoll(id->ToText());
  }
};

TEST_F(FilialTest, NeverListsTheHeadOffice) {
  struct Case {
    std::string_view name;
    HttpHeaders headers;
    std::vector<std::string> want;
  };
  db().Exec("INSERT INTO filiais (codigo, nome) VALUES (2, 'Loja Campinas')");
  const Case cases[] = {
      {"Plain", {}, {"1", "2"}},
      // The header's condition is joined to the fixed one with "and".
      {"WithWhere", {{"x-where", "codigo < 2"}}, {"1"}},
      {"WhereOnlyTheHeadOffice", {{"x-where", "nome = 'Matriz'"}}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const HttpResponse res = Get("/v1/filial", c.headers);
    if (c.want.empty()) {
      EXPECT_EQ(res.status, 422);
      EXPECT_EQ(res.body, "null");
      continue;
    }
    ASSERT_EQ(res.status, 200) << res.body;
    std::vector<std::string> codes;
    const lib::JsonValue rows = res.Json();
    for (const auto& row : rows.AsArray()) codes.push_back(row.Find("codigo")->ToText());
    EXPECT_EQ(codes, c.want);
  }
}

TEST_F(FilialTest, NewIdHandsOutIncreasingCodesAndLeavesNoRow) {
  const std::vector<Row> before = Branches();
  const long long first = NewId();
  const long long second = NewId();
  EXPECT_GT(first, 1);
  EXPECT_GT(second, first);
  EXPECT_EQ(db().Count("filiais", "nome = 'autoincrement'"), 0);
  EXPECT_EQ(Branches(), before);

  // The branch is then uploaded under the reserved code.
  const HttpResponse res =
      Post("/v1/filial", R"({"codigo": )" + std::to_string(first) + R"(, "nome": "Loja Nova"})");
  EXPECT_EQ(res.status, 200) << res.body;
  EXPECT_EQ(db().Rows("SELECT nome, codfilialorigem FROM filiais WHERE codigo = " +
                      std::to_string(first)),
            (std::vector<Row>{{"Loja Nova", "1"}}));
}

TEST_F(FilialTest, ConcurrentNewIdsGetDifferentCodes) {
  constexpr int kRequests = 8;
  std::vector<std::string> answers(kRequests);
  std::vector<int> statuses(kRequests);
  std::vector<std::thread> threads;
  for (int i = 0; i < kRequests; ++i) {
    threads.emplace_back([&, i] {
      const HttpResponse res = Get("/v1/filial/newid");
      statuses[static_cast<std::size_t>(i)] = res.status;
      answers[static_cast<std::size_t>(i)] = res.body;
    });
  }
  for (auto& t : threads) t.join();
  std::set<std::string> distinct(answers.begin(), answers.end());
  EXPECT_EQ(std::count(statuses.begin(), statuses.end(), 200), kRequests);
  EXPECT_EQ(distinct.size(), static_cast<std::size_t>(kRequests));
  EXPECT_EQ(db().Count("filiais"), 2);
}

// A branch table whose key the database does not generate: the placeholder
// cannot be found by its code, so the insert is undone instead, and no
// existing branch is deleted.
class FilialWithoutGeneratedCodeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    tenant_ = std::make_unique<FixtureTenant>(UniqueName("qv_e2e_filial"));
    client_ = std::make_unique<Client>(E2ETest::server(), *tenant_);
    tenant_->db().Exec("ALTER TABLE filiais MODIFY codigo INT NOT NULL DEFAULT 0");
  }
  static void TearDownTestSuite() {
    client_.reset();
    tenant_.reset();
  }
  static std::vector<Row> Branches() {
    return tenant_->db().Rows("SELECT codigo, nome FROM filiais ORDER BY codigo");
  }

  static std::unique_ptr<FixtureTenant> tenant_;
  static std::unique_ptr<Client> client_;
};

std::unique_ptr<FixtureTenant> FilialWithoutGeneratedCodeTest::tenant_;
std::unique_ptr<Client> FilialWithoutGeneratedCodeTest::client_;

TEST_F(FilialWithoutGeneratedCodeTest, AnswersNoContentAndRemovesOnlyThePlaceholder) {
  tenant_->db().Exec("DELETE FROM filiais");
  tenant_->db().Exec("INSERT INTO filiais (codigo, nome) VALUES (5, 'Loja Cinco')");
  const HttpResponse res = client_->Get("/v1/filial/newid");
  EXPECT_EQ(res.status, 204) << res.body;
  EXPECT_EQ(res.body, "");
  EXPECT_EQ(Branches(), (std::vector<Row>{{"5", "Loja Cinco"}}));
}

TEST_F(FilialWithoutGeneratedCodeTest, LeavesTheHeadOfficeAlone) {
  tenant_->db().Exec("DELETE FROM filiais");
  tenant_->db().Exec("INSERT INTO filiais (codigo, nome) VALUES (0, 'Matriz'), (5, 'Loja Cinco')");
  // The placeholder takes the default code 0, which the head office holds.
  const HttpResponse res = client_->Get("/v1/filial/newid");
  EXPECT_EQ(res.status, 400) << res.body;
  const lib::JsonValue body = res.Json();
  ASSERT_TRUE(body.IsObject() && body.Find("message") != nullptr) << res.body;
  EXPECT_NE(body.Find("message")->AsString().find("Duplicate entry"), std::string::npos)
      << res.body;
  EXPECT_EQ(Branches(), (std::vector<Row>{{"0", "Matriz"}, {"5", "Loja Cinco"}}));
}

}  // namespace
}  // namespace quorvane::e2e
