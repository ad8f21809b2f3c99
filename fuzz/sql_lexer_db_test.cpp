// The fuzz lexer (sql_lexer.h) decides what the SQL builders' properties
// mean, so its model of the server must be right. Checked here against the
// test MariaDB itself: the value the server reads from a literal, and which
// bytes after "--" start a comment.

#include <gtest/gtest.h>
#include <mysql.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "database/mysql.h"
#include "lib/settings.h"
#include "model/model_sql_basic.h"
#include "sql_lexer.h"

namespace quorvane::fuzz {
namespace {

std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

class Server {
 public:
  Server() : conn_(mysql_init(nullptr)) {
    const auto& s = lib::CurrentSettings();
    if (!mysql_real_connect(conn_.get(), s.db_host.c_str(), s.db_user.c_str(),
                            s.db_password.c_str(), nullptr, static_cast<unsigned>(s.db_port),
                            nullptr, 0)) {
      ADD_FAILURE() << "cannot connect: " << mysql_error(conn_.get());
    }
    mysql_set_character_set(conn_.get(), "utf8");
  }

  // The first row of `sql` (NULL as "NULL"), or nullopt with the error.
  std::optional<std::vector<std::string>> Row(std::string_view sql, std::string* error = nullptr) {
    if (mysql_real_query(conn_.get(), sql.data(), sql.size()) != 0) {
      if (error) *error = mysql_error(conn_.get());
      return std::nullopt;
    }
    MYSQL_RES* result = mysql_store_result(conn_.get());
    if (result == nullptr) return std::vector<std::string>{};
    std::vector<std::string> row;
    if (MYSQL_ROW r = mysql_fetch_row(result)) {
      const unsigned long* lengths = mysql_fetch_lengths(result);
      for (unsigned i = 0; i < mysql_num_fields(result); ++i) {
        row.emplace_back(r[i] ? std::string(r[i], lengths[i]) : std::string("NULL"));
      }
    }
    mysql_free_result(result);
    return row;
  }

 private:
  struct Close {
    void operator()(MYSQL* m) const noexcept { mysql_close(m); }
  };
  std::unique_ptr<MYSQL, Close> conn_;
};

// Values that stress quoting, and the literal values of the seed corpus of
// the SQL fuzz target (its first byte 0 selects the literal builders).
std::vector<std::string> LiteralValues() {
  std::vector<std::string> values = {
      "",
      "plain",
      "O'Brien",
      "''",
      "\\",
      "a\\",
      "\\'",
      "\\' OR 1=1 #",
      "\\\\'",
      "x\\%y\\_z",
      "#virgula#",
      std::string("nul\0byte", 8),
      "\x1a",
      "tab\there",
      "line\nbreak",
      "\"double\"",
      "`tick`",
      "-- comment",
      "/* c */",
      "\xc3\xa7\xc3\xa3o",
      "\xff\xfe invalid utf-8",
      "\xc3'",
  };
  const std::filesystem::path corpus =
      std::filesystem::path(QV_SOURCE_DIR) / "fuzz/corpus/sql_fuzz";
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!bytes.empty() && static_cast<unsigned char>(bytes[0]) % 5 == 0)
      values.push_back(bytes.substr(1));
  }
  return values;
}

TEST(SqlLexerAgainstServer, LiteralsOfTheBuildersReadBackExactly) {
  Server server;
  for (const std::string& value : LiteralValues()) {
    SCOPED_TRACE(Hex(value));
    for (const std::string& literal : {database::MySQLStr(value), model::QuoteSqlLiteral(value)}) {
      const auto tokens = LexSql(literal);
      ASSERT_EQ(tokens.size(), 1u);
      EXPECT_EQ(tokens[0].text, value);  // the lexer's reading
      // The server's reading; _binary keeps invalid UTF-8 as it is.
      const auto row = server.Row("SELECT HEX(_binary " + literal + ")");
      ASSERT_TRUE(row && row->size() == 1);
      EXPECT_EQ((*row)[0], Hex(value));
    }
  }
}

TEST(SqlLexerAgainstServer, EscapesAndDoubledQuotesDecodeAsTheServerReadsThem) {
  Server server;
  const std::string_view literals[] = {
      "'it''s'",  "'a\\'b'", "\"dq\"\"x\"", "'\\0'",       "'\\Z'", "'\\%'", "'\\_'",
      "'\\q\\n'", "'\\\\'",  "\"a\\\"b\"",  "'\\b\\r\\t'", "'\"'",  "\"'\""};
  for (const std::string_view literal : literals) {
    SCOPED_TRACE(literal);
    const auto tokens = LexSql(literal);
    ASSERT_EQ(tokens.size(), 1u);
    ASSERT_EQ(tokens[0].kind, SqlToken::Kind::kString);
    const auto row = server.Row("SELECT HEX(_binary " + std::string(literal) + ")");
    ASSERT_TRUE(row && row->size() == 1);
    EXPECT_EQ((*row)[0], Hex(tokens[0].text));
  }
}

TEST(SqlLexerAgainstServer, LineCommentsStartWhereTheServerStartsThem) {
  Server server;
  // What follows "SELECT 1 " and comes before ", 2": a comment that runs to
  // the end of the line leaves one column.
  std::vector<std::string> tails = {"--",  "-- x", "--\t", "--\x01", "--\x0b", "--\x1f", "--\x7f",
                                    "--x", "--+",  "#",    "# x",    "-\x7f-", "- -"};
  for (int c = 0; c < 0x80; c += 7) tails.push_back(std::string("--") + static_cast<char>(c));
  for (const std::string& tail : tails) {
    SCOPED_TRACE(Hex(tail));
    const std::string sql = "SELECT 1 " + tail + ", 2";
    std::string error;
    const auto row = server.Row(sql, &error);
    const bool server_comment = row && row->size() == 1;
    bool lexer_comment = false;
    for (const SqlToken& t : LexSql(sql)) lexer_comment |= t.kind == SqlToken::Kind::kComment;
    // The lexer may see a comment where the server refuses the statement
    // (a NUL byte), never miss one the server skips.
    if (server_comment) {
      EXPECT_TRUE(lexer_comment);
    } else if (lexer_comment) {
      EXPECT_FALSE(row.has_value()) << "server read it as code";
    }
  }
}

}  // namespace
}  // namespace quorvane::fuzz
