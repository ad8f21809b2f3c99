#include "database/sql_input.h"

#include <charconv>
#include <cstdint>
#include <limits>

#include "database/errors.h"

namespace quorvane::database {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

bool IsIdentifierChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || IsDigit(c) || c == '_' || c == '$' ||
         u >= 0x80;
}

// Reads one column name at `pos` (spaces before it skipped); false when there
// is none.
bool ReadIdentifier(std::string_view text, std::size_t& pos) {
  while (pos < text.size() && IsSpace(text[pos])) ++pos;
  if (pos < text.size() && text[pos] == '`') {
    // The upsert splits its column list at commas and the value list at
    // quotes, so a quoted name may hold neither: it could shift the pairing
    // of columns and values. Backslashes are changed by the statement rules.
    const std::size_t start = ++pos;
    for (; pos < text.size(); ++pos) {
      const char c = text[pos];
      if (c == '`') return pos++ > start;
      if (c == ',' || c == '\'' || c == '"' || c == '\\') return false;
    }
    return false;
  }
  const std::size_t start = pos;
  while (pos < text.size() && IsIdentifierChar(text[pos])) ++pos;
  return pos > start;
}

bool EqualsNoCase(std::string_view text, std::string_view upper) {
  if (text.size() != upper.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != upper[i]) return false;
  }
  return true;
}

// Reads one literal at `pos`; false when the text there is not one.
bool ReadLiteral(std::string_view text, std::size_t& pos) {
  while (pos < text.size() && IsSpace(text[pos])) ++pos;
  if (pos >= text.size()) return false;
  const char c = text[pos];
  if (c == '\'') {
    for (++pos; pos < text.size(); ++pos) {
      if (text[pos] != '\'') continue;
      if (pos + 1 < text.size() && text[pos + 1] == '\'') {
        ++pos;
        continue;
      }
      ++pos;
      return true;
    }
    return false;
  }
  if (c == '+' || c == '-' || c == '.' || IsDigit(c)) {
    std::size_t p = pos;
    if (text[p] == '+' || text[p] == '-') ++p;
    std::size_t digits = 0;
    while (p < text.size() && IsDigit(text[p])) ++p, ++digits;
    if (p < text.size() && text[p] == '.') {
      ++p;
      while (p < text.size() && IsDigit(text[p])) ++p, ++digits;
    }
    if (digits == 0) return false;
    if (p < text.size() && (text[p] == 'e' || text[p] == 'E')) {
      ++p;
      if (p < text.size() && (text[p] == '+' || text[p] == '-')) ++p;
      const std::size_t exp_start = p;
      while (p < text.size() && IsDigit(text[p])) ++p;
      if (p == exp_start) return false;
    }
    pos = p;
    return true;
  }
  std::size_t p = pos;
  while (p < text.size() &&
         ((text[p] >= 'a' && text[p] <= 'z') || (text[p] >= 'A' && text[p] <= 'Z'))) {
    ++p;
  }
  const std::string_view word = text.substr(pos, p - pos);
  if (EqualsNoCase(word, "NULL") || EqualsNoCase(word, "TRUE") || EqualsNoCase(word, "FALSE")) {
    pos = p;
    return true;
  }
  return false;
}

// Walks a comma-separated list with `read_item`; false at the first item
// that does not read or is not followed by a comma or the end.
template <class ReadItem>
bool WalkList(std::string_view text, ReadItem read_item, std::string_view& bad_item) {
  std::size_t pos = 0;
  for (;;) {
    const std::size_t start = pos;
    const bool ok = read_item(text, pos);
    while (ok && pos < text.size() && IsSpace(text[pos])) ++pos;
    if (!ok || (pos < text.size() && text[pos] != ',')) {
      const std::size_t end = text.find(',', start);
      bad_item = Trim(text.substr(start, end == std::string_view::npos ? text.npos : end - start));
      return false;
    }
    if (pos >= text.size()) return true;
    ++pos;  // the comma
  }
}

}  // namespace

void CheckColumnList(std::string_view fields) {
  if (Trim(fields).empty()) return;
  std::string_view bad;
  if (!WalkList(fields, ReadIdentifier, bad)) {
    throw InvalidInputError("Nome de coluna inválido: " + std::string(bad));
  }
}

void CheckLiteralList(std::string_view values, std::string_view message_prefix) {
  if (Trim(values).empty()) return;
  std::string_view bad;
  if (!WalkList(values, ReadLiteral, bad)) {
    throw InvalidInputError(std::string(message_prefix) + std::string(values));
  }
}

std::string PagingClause(const PagingParameters& paging) {
  if (!paging.limit) return {};
  const std::string& limit_text = *paging.limit;
  std::int32_t limit = 0;
  {
    const char* end = limit_text.data() + limit_text.size();
    const auto [ptr, ec] = std::from_chars(limit_text.data(), end, limit);
    if (limit_text.empty() || !IsDigit(limit_text.front()) || ec != std::errc() || ptr != end) {
      throw InvalidInputError("Parâmetro limit inválido: " + limit_text);
    }
  }
  std::string clause = "LIMIT " + limit_text;
  if (paging.page) {
    const std::string& page_text = *paging.page;
    std::string_view digits = page_text;
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    std::int32_t page = 0;
    const char* end = digits.data() + digits.size();
    const auto [ptr, ec] = std::from_chars(digits.data(), end, page);
    if (digits.empty() || ec != std::errc() || ptr != end) {
      throw InvalidInputError("Parâmetro page inválido: " + page_text);
    }
    const std::int64_t offset =
        static_cast<std::int64_t>(limit) * (static_cast<std::int64_t>(page) - 1);
    clause += " OFFSET " + std::to_string(offset);
  }
  return clause;
}

}  // namespace quorvane::database
