// The tenant's API accounts over real HTTP: listing, uploading without a
// branch of origin, and switching accounts on and off — including the rule
// that the tenant always keeps an active account, under concurrent requests
// too. Every switch is read back from MariaDB.

#include <gtest/gtest.h>

#include <latch>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "e2e_fixture.h"

namespace quorvane::e2e {
namespace {

constexpr std::string_view kLastActive = "Não é permitido todos os logins do schema";

// Accounts: A is the fixture's own (the one the client logs in with), B a
// second one, "filial2" / "senha-b". Both active at the start of each test.
class LoginTest : public E2ETest {
 protected:
  void SetUp() override {
    db().Exec("DELETE FROM login WHERE login <> " + SqlText(tenant().login()));
    db().Exec("UPDATE login SET ativo = 1");
    db().Exec("INSERT INTO login (login, senha, ativo) VALUES ('filial2', 'senha-b', 1)");
    a_ = *db().Value("SELECT id FROM login WHERE login = " + SqlText(tenant().login()));
    b_ = *db().Value("SELECT id FROM login WHERE login = 'filial2'");
  }

  static TestDb& db() { return tenant().db(); }

  // ativo of account `id` as stored; nullopt without such an account.
  static std::optional<std::string> Ativo(const std::string& id) {
    const std::vector<Row> rows = db().Rows("SELECT ativo FROM login WHERE id = " + id);
    if (rows.empty()) return std::nullopt;
    return rows.front().front();
  }
  static void SetAtivo(const std::string& id, int value) {
    db().Exec("UPDATE login SET ativo = " + std::to_string(value) + " WHERE id = " + id);
  }
  static std::vector<Row> Snapshot() {
    return db().Rows("SELECT id, login, senha, ativo, codfilialorigem FROM login ORDER BY id");
  }

  // Logged in as account B instead of A.
  static HttpHeaders AsB() { return {{"x-user", "filial2"}, {"x-pass", "senha-b"}}; }

  static void ExpectRefused(const HttpResponse& res, std::string_view message) {
    EXPECT_EQ(res.status, 400) << res.body;
    const lib::JsonValue body = res.Json();
    ASSERT_TRUE(body.IsObject()) << res.body;
    ASSERT_NE(body.Find("message"), nullptr) << res.body;
    EXPECT_EQ(body.Find("message")->AsString(), message);
  }

  std::string a_;
  std::string b_;
};

TEST_F(LoginTest, ListsTheAccountsInTheRecordLayout) {
  const HttpResponse res = Get("/v1/login");
  ASSERT_EQ(res.status, 200) << res.body;
  const lib::JsonValue rows = res.Json();
  ASSERT_TRUE(rows.IsArray());
  ASSERT_EQ(rows.size(), 2u);
  const lib::JsonValue& second = rows.AsArray()[1];
  std::vector<std::string> keys;
  for (const auto& member : second.AsObject()) keys.push_back(member.name);
  EXPECT_EQ(keys, (std::vector<std::string>{"id", "login", "senha", "ativo"}));
  EXPECT_EQ(second.Find("id")->ToText(), b_);
  EXPECT_EQ(second.Find("login")->AsString(), "filial2");
  EXPECT_EQ(second.Find("senha")->AsString(), "senha-b");
  EXPECT_EQ(second.Find("ativo")->ToText(), "1");
}

TEST_F(LoginTest, SwitchingOffStopsAtTheLastActiveAccount) {
  const HttpResponse first = Put("/v1/login/" + a_ + "/inativar");
  EXPECT_EQ(first.status, 204) << first.body;
  EXPECT_EQ(Ativo(a_), "0");

  // A can no longer log in; B asks to switch itself off.
  const HttpResponse second = Put("/v1/login/" + b_ + "/inativar", AsB());
  ExpectRefused(second, kLastActive);
  EXPECT_EQ(Ativo(b_), "1");
}

TEST_F(LoginTest, SwitchingOnAnswers204WhateverTheState) {
  struct Case {
    std::string_view name;
    int a, b;  // stored ativo of A and B before the request
  };
  const Case cases[] = {
      {"BothActive", 1, 1},
      {"TargetInactive", 1, 0},
      {"OnlyTargetActive", 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetAtivo(a_, c.a);
    SetAtivo(b_, c.b);
    const HttpHeaders login = c.a == 1 ? HttpHeaders{} : AsB();
    const HttpResponse res = Put("/v1/login/" + b_ + "/ativar", login);
    EXPECT_EQ(res.status, 204) << res.body;
    EXPECT_EQ(Ativo(b_), "1");
    EXPECT_EQ(Ativo(a_), std::to_string(c.a));
  }
}

TEST_F(LoginTest, SwitchingOffAnInactiveAccountLooksOnlyAtTheOthers) {
  SetAtivo(b_, 0);
  const HttpResponse res = Put("/v1/login/" + b_ + "/inativar");
  EXPECT_EQ(res.status, 204) << res.body;
  EXPECT_EQ(Ativo(b_), "0");
  EXPECT_EQ(Ativo(a_), "1");

  // A is now the only active account: switching it off is refused.
  ExpectRefused(Put("/v1/login/" + a_ + "/inativar"), kLastActive);
  EXPECT_EQ(Ativo(a_), "1");
}

// The id goes into the statements as a number; anything else is refused
// before a statement runs.
TEST_F(LoginTest, AnIdThatIsNoIntegerIsRefusedAndNothingWritten) {
  struct Case {
    std::string_view segment;  // as sent in the path
    std::string_view id;       // as the handler receives it
  };
  const Case cases[] = {
      {"abc", "abc"}, {"1%20or%201%3D1", "1 or 1=1"},
      {"1'", "1'"},   {"1,ativo=1", "1,ativo=1"},
      {"1.5", "1.5"}, {"--1", "--1"},
      {"-", "-"},     {"1234567890123456789", "1234567890123456789"},  // 19 digits
  };
  const std::vector<Row> before = Snapshot();
  for (const Case& c : cases) {
    for (const std::string_view action : {"ativar", "inativar"}) {
      SCOPED_TRACE(std::string(c.segment) + "/" + std::string(action));
      const HttpResponse res =
          Put("/v1/login/" + std::string(c.segment) + "/" + std::string(action));
      ExpectRefused(res, "ID inválido: " + std::string(c.id));
    }
  }
  EXPECT_EQ(Snapshot(), before);
}

// Only existing accounts are switched: the table holds no account without a
// name and a password, and none is made up here.
TEST_F(LoginTest, AnIdWithoutAccountIsRefusedAndNothingWritten) {
  const std::vector<Row> before = Snapshot();
  for (const std::string& id : {std::string("999999"), std::string("-7"), "0" + b_ + "0"}) {
    for (const std::string_view action : {"ativar", "inativar"}) {
      SCOPED_TRACE(id + "/" + std::string(action));
      ExpectRefused(Put("/v1/login/" + id + "/" + std::string(action)), "ID inválido: " + id);
    }
  }
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(LoginTest, LeadingZerosNameTheSameAccount) {
  const HttpResponse res = Put("/v1/login/000" + b_ + "/inativar");
  EXPECT_EQ(res.status, 204) << res.body;
  EXPECT_EQ(Ativo(b_), "0");
  EXPECT_EQ(Ativo(a_), "1");
}

TEST_F(LoginTest, UploadNeverWritesTheBranchOfOrigin) {
  const HttpResponse res =
      Post("/v1/login", R"({"login": "caixa3", "senha": "s3", "ativo": 1})", {{"x-filial", "3"}});
  ASSERT_EQ(res.status, 200) << res.body;
  const std::string id = res.Json().Find("id")->ToText();
  const std::vector<Row> rows =
      db().Rows("SELECT login, senha, ativo, codfilialorigem FROM login WHERE id = " + id);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0], (Row{"caixa3", "s3", "1", std::nullopt}));

  // An update by key headers changes the password, still without origin.
  const HttpResponse update =
      Post("/v1/login", R"({"login": "caixa3", "senha": "nova", "ativo": 1})",
           {{"x-filial", "3"}, {"x-key-fields", "id"}, {"x-key-values", id}});
  EXPECT_TRUE(update.status == 200 || update.status == 204) << update.status << update.body;
  EXPECT_EQ(db().Rows("SELECT senha, codfilialorigem FROM login WHERE id = " + id),
            (std::vector<Row>{{"nova", std::nullopt}}));
}

TEST_F(LoginTest, UploadOfABodyThatIsNoObjectIsRefused) {
  const std::vector<Row> before = Snapshot();
  for (const std::string_view body : {"", "abc", "[1]"}) {
    SCOPED_TRACE(body);
    ExpectRefused(Post("/v1/login", std::string(body)), "Body inexistente ou inválido!");
  }
  EXPECT_EQ(Snapshot(), before);
}

// Two branches switch off the last two active accounts at the same moment:
// one of them must be refused, whatever the interleaving. Each request logs
// in with the account it does not switch off, so both pass the login check.
TEST_F(LoginTest, ConcurrentSwitchOffsAlwaysLeaveAnActiveAccount) {
  constexpr int kRounds = 40;
  int both_answered = 0;
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE(round);
    SetAtivo(a_, 1);
    SetAtivo(b_, 1);
    HttpResponse off_a, off_b;
    std::latch start(2);
    std::thread ta([&] {
      start.arrive_and_wait();
      off_a = Put("/v1/login/" + a_ + "/inativar", AsB());
    });
    std::thread tb([&] {
      start.arrive_and_wait();
      off_b = Put("/v1/login/" + b_ + "/inativar");
    });
    ta.join();
    tb.join();

    const std::int64_t active = db().Count("login", "ativo = 1");
    ASSERT_GE(active, 1) << "A: " << off_a.status << " " << off_a.body << " / B: " << off_b.status
                         << " " << off_b.body;
    // At most one switch went through; a refused one wrote nothing.
    EXPECT_LE((off_a.status == 204) + (off_b.status == 204), 1);
    EXPECT_EQ(active, 2 - (off_a.status == 204) - (off_b.status == 204));
    if (off_a.status == 400 || off_b.status == 400) ++both_answered;
  }
  // The rule itself was exercised, not only the login check.
  EXPECT_GT(both_answered, 0);
}

}  // namespace
}  // namespace quorvane::e2e
