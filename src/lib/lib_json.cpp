#include "lib/lib_json.h"

namespace quorvane::lib {

// Equivalent to the five textual replacements the branch systems were built
// against: "\\\\" → marker, "\\\"" → marker, remaining "\\" → "\\\\", markers
// back. Marker texts that occur in the body itself are turned into the escapes
// as well, as the replacements did.
std::string LibJSON::PrepareBackslashes(std::string_view text) {
  static constexpr std::string_view kDoubleBar = "#double-bar#";
  static constexpr std::string_view kDoubleQuotes = "#double-quotes#";
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\\') {
      if (i + 1 < text.size() && text[i + 1] == '\\') {
        out += "\\\\";
        i += 2;
      } else if (i + 1 < text.size() && text[i + 1] == '"') {
        out += "\\\"";
        i += 2;
      } else {
        out += "\\\\";
        ++i;
      }
    } else if (c == '#' && text.substr(i).starts_with(kDoubleBar)) {
      out += "\\\\";
      i += kDoubleBar.size();
    } else if (c == '#' && text.substr(i).starts_with(kDoubleQuotes)) {
      out += "\\\"";
      i += kDoubleQuotes.size();
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

std::optional<JsonValue> LibJSON::StrToJSONValue(std::string_view text) {
  return ParseJson(PrepareBackslashes(text));
}

}  // namespace quorvane::lib
