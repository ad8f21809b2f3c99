#include "lib/settings.h"

#include <charconv>
#include <cstdlib>
#include <string_view>

namespace quorvane::lib {
namespace {

void ReadText(const char* name, std::string& out) {
  const char* v = std::getenv(name);
  if (v != nullptr && *v != '\0') out = v;
}

void ReadPort(const char* name, int& out) {
  const char* v = std::getenv(name);
  if (v == nullptr) return;
  const std::string_view text(v);
  int port = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), port);
  if (ec == std::errc() && end == text.data() + text.size() && port > 0 && port < 65536) {
    out = port;
  }
}

}  // namespace

Settings Settings::FromEnvironment() {
  Settings s;
  ReadPort("QUORVANE_PORT", s.port);
  ReadText("QUORVANE_DB_HOST", s.db_host);
  ReadPort("QUORVANE_DB_PORT", s.db_port);
  ReadText("QUORVANE_DB_USER", s.db_user);
  ReadText("QUORVANE_DB_PASSWORD", s.db_password);
  ReadText("QUORVANE_JWT_KEY", s.jwt_key);
  return s;
}

const Settings& CurrentSettings() {
  static const Settings settings = Settings::FromEnvironment();
  return settings;
}

}  // namespace quorvane::lib
