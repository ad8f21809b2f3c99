#pragma once

// A lexer of MariaDB statement text, written for the fuzz properties of the
// SQL builders and kept independent of the code it checks. It knows what
// decides where a piece of data ends: string literals in single or double
// quotes (a doubled quote is a quote; with backslash escapes on, which is the
// server's default, a backslash takes the next byte with it), backticked
// identifiers (a doubled backtick is a backtick), and the three comment forms
// ("#" and "--" plus a blank or control character, both to the end of the
// line; "/*" to "*/", executable "/*!" forms included). Everything else is
// split into words (letters, digits, "_", "$", "." and non-ASCII bytes) and
// single punctuation bytes; white space separates tokens.

#include <string>
#include <string_view>
#include <vector>

namespace quorvane::fuzz {

struct SqlToken {
  enum class Kind {
    kWord,          // keyword, identifier or number; text as written
    kString,        // quoted string; text is the value the server reads
    kIdentifier,    // backticked identifier; text is the name
    kPunct,         // one byte of punctuation
    kComment,       // any comment; text as written
    kUnterminated,  // a string, identifier or comment without its end
  };
  Kind kind;
  std::string text;

  friend bool operator==(const SqlToken&, const SqlToken&) = default;
};

inline bool IsSqlSpace(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The bytes after "--" that make it a comment: blanks and control characters
// (the server's own rule; verified against MariaDB 10.11, DEL included).
inline bool StartsDashComment(std::string_view sql, std::size_t i) {
  if (i + 1 >= sql.size() || sql[i] != '-' || sql[i + 1] != '-') return false;
  if (i + 2 == sql.size()) return true;
  const auto c = static_cast<unsigned char>(sql[i + 2]);
  return c <= 0x20 || c == 0x7f;
}

inline bool IsSqlWordByte(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '$' || c == '.' || c >= 0x80;
}

// The value of one escape sequence "\c" as the server reads it.
inline void AppendEscaped(std::string& out, char c) {
  switch (c) {
    case '0':
      out += '\0';
      break;
    case 'b':
      out += '\b';
      break;
    case 'n':
      out += '\n';
      break;
    case 'r':
      out += '\r';
      break;
    case 't':
      out += '\t';
      break;
    case 'Z':
      out += '\x1a';
      break;
    case '%':
      out += "\\%";
      break;  // kept for LIKE patterns
    case '_':
      out += "\\_";
      break;
    default:
      out += c;
      break;
  }
}

inline std::vector<SqlToken> LexSql(std::string_view sql, bool backslash_escapes = true) {
  std::vector<SqlToken> tokens;
  std::size_t i = 0;
  const std::size_t n = sql.size();
  while (i < n) {
    const auto c = static_cast<unsigned char>(sql[i]);
    if (IsSqlSpace(c)) {
      ++i;
      continue;
    }
    if (c == '#' || StartsDashComment(sql, i)) {
      const std::size_t end = sql.find('\n', i);
      const std::size_t stop = end == std::string_view::npos ? n : end;
      tokens.push_back({SqlToken::Kind::kComment, std::string(sql.substr(i, stop - i))});
      i = stop;
      continue;
    }
    if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
      const std::size_t end = sql.find("*/", i + 2);
      if (end == std::string_view::npos) {
        tokens.push_back({SqlToken::Kind::kUnterminated, std::string(sql.substr(i))});
        break;
      }
      tokens.push_back({SqlToken::Kind::kComment, std::string(sql.substr(i, end + 2 - i))});
      i = end + 2;
      continue;
    }
    if (c == '\'' || c == '"' || c == '`') {
      const char quote = static_cast<char>(c);
      std::string value;
      std::size_t j = i + 1;
      bool closed = false;
      while (j < n) {
        const char d = sql[j];
        if (d == '\\' && quote != '`' && backslash_escapes) {
          if (j + 1 >= n) {
            j = n;
            break;
          }
          AppendEscaped(value, sql[j + 1]);
          j += 2;
          continue;
        }
        if (d == quote) {
          if (j + 1 < n && sql[j + 1] == quote) {
            value += quote;
            j += 2;
            continue;
          }
          closed = true;
          ++j;
          break;
        }
        value += d;
        ++j;
      }
      if (!closed) {
        tokens.push_back({SqlToken::Kind::kUnterminated, std::string(sql.substr(i))});
        break;
      }
      tokens.push_back(
          {quote == '`' ? SqlToken::Kind::kIdentifier : SqlToken::Kind::kString, std::move(value)});
      i = j;
      continue;
    }
    if (IsSqlWordByte(c)) {
      std::size_t j = i;
      while (j < n && IsSqlWordByte(static_cast<unsigned char>(sql[j]))) ++j;
      tokens.push_back({SqlToken::Kind::kWord, std::string(sql.substr(i, j - i))});
      i = j;
      continue;
    }
    tokens.push_back({SqlToken::Kind::kPunct, std::string(1, static_cast<char>(c))});
    ++i;
  }
  return tokens;
}

// Whether every token is code or data, none a comment or unterminated.
inline bool IsClean(const std::vector<SqlToken>& tokens) {
  for (const SqlToken& t : tokens) {
    if (t.kind == SqlToken::Kind::kComment || t.kind == SqlToken::Kind::kUnterminated) return false;
  }
  return true;
}

inline std::string DescribeTokens(const std::vector<SqlToken>& tokens) {
  static constexpr const char* kNames[] = {"W", "S", "I", "P", "C", "U"};
  std::string out;
  for (const SqlToken& t : tokens) {
    out += kNames[static_cast<int>(t.kind)];
    out += '<';
    for (const char c : t.text) {
      const auto b = static_cast<unsigned char>(c);
      if (b < 0x20 || b >= 0x7f) {
        static constexpr char kHex[] = "0123456789abcdef";
        out += "\\x";
        out += kHex[b >> 4];
        out += kHex[b & 15];
      } else {
        out += c;
      }
    }
    out += "> ";
  }
  return out;
}

}  // namespace quorvane::fuzz
