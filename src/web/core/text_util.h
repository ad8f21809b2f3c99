#pragma once

#include <optional>
#include <string>
#include <string_view>

// Small text helpers of the web core (ASCII case, percent-decoding, code
// pages). Internal to the layer.
namespace quorvane::web::core::text {

char AsciiLower(char c);
char AsciiUpper(char c);
bool IEquals(std::string_view a, std::string_view b);
bool IStartsWith(std::string_view text, std::string_view prefix);
// Position of `needle` in `haystack` compared without regard to ASCII case.
std::string_view::size_type IFind(std::string_view haystack, std::string_view needle);
std::string ToUpperAscii(std::string_view text);
std::string ToLowerAscii(std::string_view text);
std::string_view Trim(std::string_view text);

// Decodes "%XX" escapes; with `plus_is_space`, "+" becomes a blank. With
// `double_percent`, "%%" becomes "%". Returns nullopt on a malformed escape.
std::optional<std::string> PercentDecode(std::string_view text, bool plus_is_space,
                                         bool double_percent);
// Like PercentDecode, but a malformed escape is kept as written.
std::string PercentDecodeLenient(std::string_view text, bool plus_is_space);

bool IsValidUtf8(std::string_view text);

// Windows-1252 (the Western single-byte code page) to UTF-8 and back. Code
// points without a form in the code page become "?".
std::string Cp1252ToUtf8(std::string_view bytes);
std::string Utf8ToCp1252(std::string_view utf8);
// Every byte above 127 becomes "?".
std::string ToAscii7(std::string_view bytes);

// "&" "<" ">" "\"" "'" as character references, for text put into HTML.
std::string HtmlEscape(std::string_view text);

}  // namespace quorvane::web::core::text
