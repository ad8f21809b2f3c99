#include "produto_fixture.h"

#include <cstdlib>
#include <memory>
#include <mutex>

namespace quorvane::e2e {
namespace {

struct Own {
  std::mutex mutex;
  std::unique_ptr<FixtureTenant> tenant;
  std::unique_ptr<Client> client;
};

Own& TheOwn() {
  static Own own;
  return own;
}

// Drops the own tenant after the last test, before the shared server goes.
class OwnTeardown : public ::testing::Environment {
 public:
  void TearDown() override {
    Own& o = TheOwn();
    std::lock_guard lock(o.mutex);
    o.client.reset();
    o.tenant.reset();
  }
};

[[maybe_unused]] ::testing::Environment* const kOwnTeardown =
    ::testing::AddGlobalTestEnvironment(new OwnTeardown);

}  // namespace

FixtureTenant& ProdutoAreaTest::own() {
  Own& o = TheOwn();
  std::lock_guard lock(o.mutex);
  if (!o.tenant) o.tenant = std::make_unique<FixtureTenant>(UniqueName("qv_e2e_produto"));
  return *o.tenant;
}

const Client& ProdutoAreaTest::own_client() {
  E2EServer& srv = server();
  FixtureTenant& tn = own();
  Own& o = TheOwn();
  std::lock_guard lock(o.mutex);
  if (!o.client) o.client = std::make_unique<Client>(srv, tn);
  return *o.client;
}

void ProdutoAreaTest::Switches(std::optional<int> tributacao, std::optional<int> inativo,
                               std::optional<int> igualar) {
  own().SetControl("sincronizar_tributacao", tributacao);
  own().SetControl("sincronizar_inativo", inativo);
  own().SetControl("igualar_precos", igualar);
}

std::string ProdutoAreaTest::Message(const HttpResponse& res) {
  const auto body = lib::ParseJson(res.body);
  if (!body || !body->IsObject()) return {};
  const lib::JsonValue* message = body->Find("message");
  return message && message->IsString() ? message->AsString() : std::string();
}

bool SameJson(const lib::JsonValue& got, const lib::JsonValue& want, std::string* where) {
  const auto differ = [&](const std::string& what) {
    if (where) *where = what + ": got " + lib::ToJson(got) + ", want " + lib::ToJson(want);
    return false;
  };
  if (got.kind() != want.kind()) return differ("kind");
  switch (want.kind()) {
    case lib::JsonValue::Kind::kNumber:
      if (std::strtod(got.AsNumberText().c_str(), nullptr) !=
          std::strtod(want.AsNumberText().c_str(), nullptr)) {
        return differ("number");
      }
      return true;
    case lib::JsonValue::Kind::kArray: {
      if (got.size() != want.size()) return differ("array size");
      for (std::size_t i = 0; i < want.size(); ++i) {
        if (!SameJson(got.AsArray()[i], want.AsArray()[i], where)) return false;
      }
      return true;
    }
    case lib::JsonValue::Kind::kObject: {
      if (got.size() != want.size()) return differ("member count");
      for (std::size_t i = 0; i < want.size(); ++i) {
        const lib::JsonMember& g = got.AsObject()[i];
        const lib::JsonMember& w = want.AsObject()[i];
        if (g.name != w.name) return differ("member " + std::to_string(i) + " name");
        if (!SameJson(g.value, w.value, where)) return false;
      }
      return true;
    }
    default:
      return got == want ? true : differ("value");
  }
}

lib::JsonValue ParseOrFail(std::string_view text) {
  auto value = lib::ParseJson(text);
  if (!value) {
    ADD_FAILURE() << "not JSON: " << text;
    return lib::JsonValue::Null();
  }
  return std::move(*value);
}

}  // namespace quorvane::e2e
