#pragma once

// What the suites of the product area (products, prices, kits, stock
// changes) share: a tenant of their own, since they switch its settings
// (sincronizar_tributacao, sincronizar_inativo, igualar_precos), served by
// the binary's one end-to-end server, and a few helpers to read answers.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "e2e_fixture.h"
#include "lib/json.h"

namespace quorvane::e2e {

class ProdutoAreaTest : public E2ETest {
 public:
  // Made on first use, dropped after the last test of the binary.
  static FixtureTenant& own();
  static const Client& own_client();
  static TestDb& db() { return own().db(); }

  // Requests as branch `filial` of the own tenant; `headers` replace the
  // tenant headers of the same name.
  static HttpResponse Get(std::string_view target, const HttpHeaders& headers = {}) {
    return own_client().Get(target, headers);
  }
  static HttpResponse Post(std::string_view target, std::string body,
                           const HttpHeaders& headers = {}) {
    return own_client().Post(target, std::move(body), headers);
  }
  static HttpResponse Send(std::string_view method, std::string_view target,
                           const HttpHeaders& headers = {}, std::string body = {}) {
    return own_client().Send(method, target, headers, std::move(body));
  }

  // Sets the three synchronisation switches of the own tenant.
  static void Switches(std::optional<int> tributacao, std::optional<int> inativo,
                       std::optional<int> igualar);

  // The "message" of a {"message": ...} answer; empty for any other body.
  static std::string Message(const HttpResponse& res);

  // Every row of `sql`, for comparing a table before and after a request.
  static std::vector<Row> Rows(std::string_view sql) { return db().Rows(sql); }

 protected:
  void SetUp() override { Switches(0, 0, 0); }
};

// Whether `got` equals `want` member by member, in order, with numbers
// compared by value (the server writes 12.5 where a test may write 12.50).
// On a difference, `where` names the first one.
bool SameJson(const lib::JsonValue& got, const lib::JsonValue& want, std::string* where);

// `text` parsed; fails the test on invalid JSON.
lib::JsonValue ParseOrFail(std::string_view text);

}  // namespace quorvane::e2e
