// quorvane-token: prints a bearer token that the local server accepts.
//
//   quorvane-token [--sub NAME] [--exp SECONDS | --no-exp] [--key KEY]
//
// The key defaults to the server's own (QUORVANE_JWT_KEY when set), the
// subject to "dev" and the lifetime to one hour.

#include <charconv>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>

#include "lib/settings.h"
#include "tools/token.h"

namespace {

int Usage() {
  std::cerr << "usage: quorvane-token [--sub NAME] [--exp SECONDS | --no-exp] [--key KEY]\n"
               "  --sub NAME     subject claim (default: dev)\n"
               "  --exp SECONDS  lifetime from now (default: 3600; negative: already expired)\n"
               "  --no-exp       no expiry claim\n"
               "  --key KEY      HS256 key (default: the server's key)\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  quorvane::tools::TokenClaims claims;
  std::string key = quorvane::lib::CurrentSettings().jwt_key;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--sub" && has_value) {
      claims.subject = argv[++i];
    } else if (arg == "--exp" && has_value) {
      const std::string_view text = argv[++i];
      long long seconds = 0;
      const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seconds);
      if (ec != std::errc() || end != text.data() + text.size()) return Usage();
      claims.lifetime = std::chrono::seconds(seconds);
    } else if (arg == "--no-exp") {
      claims.lifetime.reset();
    } else if (arg == "--key" && has_value) {
      key = argv[++i];
    } else {
      return Usage();
    }
  }
  if (key.empty()) return Usage();
  try {
    std::cout << quorvane::tools::MintToken(key, claims) << '\n';
  } catch (const std::exception& e) {
    std::cerr << "quorvane-token: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
