#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::tools {

// What a development token claims.
struct TokenClaims {
  std::string subject = "dev";
  // Time to expiry from now; nullopt: no "exp" claim. Negative values make an
  // already expired token (tests of the refusal).
  std::optional<std::chrono::seconds> lifetime = std::chrono::hours(1);
};

// A compact HS256 JWT over {"sub", "iat", "exp"} signed with `key`, as the
// server's JWT middleware verifies it. Keys shorter than 256 bits are
// accepted, as the server does with its own 128-bit key.
std::string MintToken(std::string_view key, const TokenClaims& claims);

}  // namespace quorvane::tools
