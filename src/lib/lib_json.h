#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "lib/json.h"

namespace quorvane::lib {

// Reading upload bodies. Branch systems send Windows paths and other text with
// single backslashes that are not valid JSON escapes; the reader keeps "\\\\"
// and "\\\"" as the escapes they are and takes every other backslash literally.
class LibJSON {
 public:
  // The body text after the backslash rewrite: "\\\\" and "\\\"" are kept,
  // every other backslash is doubled (so "\n" reaches the value as a
  // backslash and an "n"). Exposed for tests.
  static std::string PrepareBackslashes(std::string_view text);

  // The JSON value of `text` after PrepareBackslashes, or nullopt when it does
  // not parse. Any kind of value is returned; callers check for an object.
  static std::optional<JsonValue> StrToJSONValue(std::string_view text);
};

}  // namespace quorvane::lib
