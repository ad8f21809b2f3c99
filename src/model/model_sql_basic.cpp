#include "model/model_sql_basic.h"

#include <cstddef>

namespace quorvane::model {

namespace {

constexpr std::string_view kWhereHeader = "x-where";
constexpr std::string_view kFilialHeader = "x-filial";

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = AsciiUpper(c);
  return upper;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// What may follow "--" for the database to read a comment: a blank or any
// control character, DEL included.
bool IsControlOrBlank(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b <= ' ' || b == 0x7f;
}

bool IsWordChar(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$';
}

// Whether the statement already has a condition of its own. The catalogue
// writes "Where" followed by a line break; hand-written statements use a
// blank. A WHERE inside a sub-select or a string constant counts as well.
bool HasWhere(std::string_view sql) {
  const std::string upper = AsciiUpper(sql);
  return upper.find("WHERE ") != std::string::npos || upper.find("WHERE\r\n") != std::string::npos;
}

[[noreturn]] void RejectWhere(std::string_view reason) {
  throw FilterHeaderError(std::string(kWhereHeader),
                          "Cabeçalho x-where inválido: " + std::string(reason));
}

// Whether a keyword that turns a condition into something else (another
// result set, a file on the database host) starts at `pos` of `text`. Like
// the database's lexer, a number glued to the keyword ("1union") does not
// hide it; a longer identifier ("reunion", "pinto", "intox") is no match.
bool ForbiddenKeywordAt(std::string_view text, std::size_t pos) {
  if (pos > 0) {
    const char before = text[pos - 1];
    if (IsWordChar(before) && !IsDigit(before)) return false;
  }
  for (std::string_view keyword : {std::string_view("UNION"), std::string_view("INTO")}) {
    if (text.size() - pos < keyword.size()) continue;
    bool same = true;
    for (std::size_t k = 0; k < keyword.size() && same; ++k) {
      same = AsciiUpper(text[pos + k]) == keyword[k];
    }
    const std::size_t end = pos + keyword.size();
    if (same && (end == text.size() || !IsWordChar(text[end]))) return true;
  }
  return false;
}

}  // namespace

std::string QuoteSqlLiteral(std::string_view value) {
  std::string literal;
  literal.reserve(value.size() + 2);
  literal += '\'';
  for (char c : value) {
    if (c == '\'' || c == '\\') literal += c;
    literal += c;
  }
  literal += '\'';
  return literal;
}

void ModelSQLBasic::ValidateWhere(std::string_view where) {
  // Quoted text: 'string', "string" (both with backslash escapes and doubled
  // quotes, as the database reads them) and `identifier` (doubled backticks).
  enum class State { kCode, kSingleQuoted, kDoubleQuoted, kBackticked };
  State state = State::kCode;
  int depth = 0;
  const std::size_t n = where.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char c = where[i];
    const char next = i + 1 < n ? where[i + 1] : '\0';
    if (c == '\0') RejectWhere("caractere nulo.");
    switch (state) {
      case State::kCode:
        if (c == '\'') {
          state = State::kSingleQuoted;
        } else if (c == '"') {
          state = State::kDoubleQuoted;
        } else if (c == '`') {
          state = State::kBackticked;
        } else if (c == ';') {
          RejectWhere("\";\" fora de texto entre aspas.");
        } else if (c == '#' || (c == '/' && next == '*') ||
                   (c == '-' && next == '-' && (i + 2 == n || IsControlOrBlank(where[i + 2])))) {
          RejectWhere("comentário fora de texto entre aspas.");
        } else if (c == '(') {
          ++depth;
        } else if (c == ')') {
          if (depth == 0) RejectWhere("parêntese fechado sem abertura.");
          --depth;
        } else if (ForbiddenKeywordAt(where, i)) {
          RejectWhere("UNION e INTO não são permitidos.");
        }
        break;
      case State::kSingleQuoted:
      case State::kDoubleQuoted: {
        const char quote = state == State::kSingleQuoted ? '\'' : '"';
        if (c == '\\') {
          ++i;  // The escaped character, whatever it is, stays inside.
        } else if (c == quote) {
          if (next == quote) {
            ++i;
          } else {
            state = State::kCode;
          }
        }
        break;
      }
      case State::kBackticked:
        if (c == '`') {
          if (next == '`') {
            ++i;
          } else {
            state = State::kCode;
          }
        }
        break;
    }
  }
  if (state != State::kCode) RejectWhere("aspas sem fechamento.");
  if (depth != 0) RejectWhere("parêntese sem fechamento.");
}

std::string ModelSQLBasic::PrepareSQL(const SqlFilterHeaders& headers, std::string_view sql,
                                      std::string_view alias) {
  if (!headers.is_get) return std::string(sql);

  const std::string prefix = alias.empty() ? std::string() : std::string(alias) + ".";
  std::string condition;
  const auto join = [&condition](std::string_view piece) {
    if (!condition.empty()) condition += " and ";
    condition += piece;
  };

  if (!headers.where.empty()) {
    ValidateWhere(headers.where);
    join(headers.where);
  }
  if (!headers.alterado_apos.empty()) {
    join(prefix + "dtultalteracaoregistro >= " + QuoteSqlLiteral(headers.alterado_apos));
  }
  if (!headers.filial_origem_filter.empty()) {
    const std::string rule = AsciiUpper(headers.filial_origem_filter);
    std::string_view comparison;
    if (rule == "IGNORE") {
      comparison = " <> ";
    } else if (rule == "ONLY") {
      comparison = " = ";
    }
    if (!comparison.empty()) {
      // The branch code goes into the statement as a number, so it must be one.
      bool digits = !headers.filial.empty();
      for (char c : headers.filial) digits = digits && IsDigit(c);
      if (!digits) {
        throw FilterHeaderError(std::string(kFilialHeader),
                                "Cabeçalho x-filial inválido: informe apenas dígitos.");
      }
      join("coalesce(" + prefix + "codfilialorigem, 0)" + std::string(comparison) + headers.filial);
    }
  }

  if (condition.empty()) return std::string(sql);
  std::string result(sql);
  result += HasWhere(sql) ? " and " : " Where ";
  result += condition;
  return result;
}

}  // namespace quorvane::model
