// The SQL text builders under hostile values. Whatever a client sends as data
// (JSON member values of an upload, x-alterado-apos, x-schema) must arrive in
// the statement as exactly one string literal that the server reads back as
// the value, and text that a client may send as SQL (x-where, x-key-values,
// x-key-fields, column names, x-filial, paging) must either be refused by the
// checks that guard it or leave the statement's structure as intended: no
// comment, no unterminated quote, no second statement, columns and values
// paired one to one.
//
// Every property compares the builder's text, cut into tokens by a lexer of
// our own (sql_lexer.h, checked against the server in sql_lexer_db_test),
// with the tokens the statement must have, built from the pieces.
//
// The first input byte picks the builder; the rest is read as values
// separated by 0x1f bytes. Seeds: fuzz/corpus/sql_fuzz/.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "database/base.h"
#include "database/dataset.h"
#include "database/errors.h"
#include "database/mysql.h"
#include "database/sql_input.h"
#include "fuzz_check.h"
#include "lib/json.h"
#include "model/model_sql.h"
#include "model/model_sql_basic.h"
#include "sql_lexer.h"

namespace {

using quorvane::database::LibDBMySQL;
using quorvane::database::ReplaceAll;
using quorvane::fuzz::InputReader;
using quorvane::fuzz::LexSql;
using quorvane::fuzz::SqlToken;
using quorvane::lib::JsonValue;
using quorvane::model::SqlFilterHeaders;
using Tokens = std::vector<SqlToken>;

void Append(Tokens& out, const Tokens& more) { out.insert(out.end(), more.begin(), more.end()); }
void Expect(Tokens& out, std::string_view code) { Append(out, LexSql(code)); }
void ExpectString(Tokens& out, std::string value) {
  out.push_back({SqlToken::Kind::kString, std::move(value)});
}

void CheckSame(const Tokens& got, const Tokens& want, std::string_view statement) {
  QV_FUZZ_CHECK(got == want, "statement: " + std::string(statement) +
                                 "\n  got:  " + quorvane::fuzz::DescribeTokens(got) +
                                 "\n  want: " + quorvane::fuzz::DescribeTokens(want));
}

// ------------------------------------------------------------------ literals

void Literals(InputReader& in) {
  const std::string value(in.Rest());
  for (const std::string& literal :
       {quorvane::database::MySQLStr(value), quorvane::model::QuoteSqlLiteral(value)}) {
    CheckSame(LexSql(literal), Tokens{{SqlToken::Kind::kString, value}}, literal);
    // With NO_BACKSLASH_ESCAPES the literal still ends where it should.
    const Tokens plain = LexSql(literal, false);
    QV_FUZZ_CHECK(plain.size() == 1 && plain[0].kind == SqlToken::Kind::kString, literal);
  }
  // The tenant's control row is read with the schema name as a literal.
  const std::string control = quorvane::model::ModelSQLParametro::SelectParametros(value);
  Tokens want = LexSql(quorvane::model::ModelSQLParametro::SelectParametros(""));
  QV_FUZZ_CHECK(!want.empty() && want.back() == (SqlToken{SqlToken::Kind::kString, ""}), control);
  want.back().text = value;
  CheckSame(LexSql(control), want, control);
}

// ------------------------------------------------------------------- filters

using Catalogue = std::function<std::string(const SqlFilterHeaders&)>;

struct CatalogueEntry {
  Catalogue select;
  std::string_view alias;
};

const std::vector<CatalogueEntry>& Catalogues() {
  namespace m = quorvane::model;
  static const std::vector<CatalogueEntry> entries = {
      {m::ModelSQLCidade::SelectCidades, ""},
      {m::ModelSQLFilial::SelectFiliais, ""},  // ends with its own Where
      {[](const SqlFilterHeaders& h) { return m::ModelSQLProduto::SelectProdutos(h, true, true); },
       ""},
      {m::ModelSQLAlteracaoEstoque::SelectAlteracaoEstoqueItens, "aei"},
      {[](const SqlFilterHeaders& h) {
         return m::ModelSQLPrecos::SelectTabelasItens(h, "codfilial = -1");
       },
       ""},
  };
  return entries;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

void Filters(InputReader& in) {
  SqlFilterHeaders headers;
  const std::uint8_t choice = in.Byte();
  headers.is_get = (choice & 0x80) == 0;
  headers.where = std::string(in.Text());
  headers.alterado_apos = std::string(in.Text());
  headers.filial_origem_filter = std::string(in.Text());
  headers.filial = std::string(in.Text());
  const CatalogueEntry& entry = Catalogues()[choice % Catalogues().size()];

  const std::string base = entry.select(SqlFilterHeaders{});
  std::string statement;
  try {
    statement = entry.select(headers);
  } catch (const quorvane::model::FilterHeaderError&) {
    return;  // refused: answered 400
  }
  const Tokens got = LexSql(statement);
  QV_FUZZ_CHECK(quorvane::fuzz::IsClean(got), statement);

  // The tokens the statement must have: the base, then each condition.
  Tokens want = LexSql(base);
  std::vector<Tokens> conditions;
  if (headers.is_get) {
    if (!headers.where.empty()) {
      const Tokens where = LexSql(headers.where);
      // What the x-where check promises: one complete condition.
      QV_FUZZ_CHECK(quorvane::fuzz::IsClean(where), headers.where);
      int depth = 0;
      for (const SqlToken& t : where) {
        if (t.kind == SqlToken::Kind::kPunct && t.text == ";") {
          QV_FUZZ_CHECK(false, "second statement: " + headers.where);
        }
        if (t.kind == SqlToken::Kind::kPunct && t.text == "(") ++depth;
        if (t.kind == SqlToken::Kind::kPunct && t.text == ")") --depth;
        QV_FUZZ_CHECK(depth >= 0, headers.where);
        if (t.kind == SqlToken::Kind::kWord) {
          // A number glued to a keyword ("1union") is read as both.
          std::string_view word = t.text;
          while (!word.empty() &&
                 (std::isdigit(static_cast<unsigned char>(word.front())) || word.front() == '.')) {
            word.remove_prefix(1);
          }
          QV_FUZZ_CHECK(!EqualsNoCase(word, "UNION") && !EqualsNoCase(word, "INTO"), headers.where);
        }
      }
      QV_FUZZ_CHECK(depth == 0, headers.where);
      conditions.push_back(where);
    }
    const std::string prefix = entry.alias.empty() ? "" : std::string(entry.alias) + ".";
    if (!headers.alterado_apos.empty()) {
      Tokens t = LexSql(prefix + "dtultalteracaoregistro >= ");
      ExpectString(t, headers.alterado_apos);  // data: one literal, read back exactly
      conditions.push_back(t);
    }
    const bool ignore = EqualsNoCase(headers.filial_origem_filter, "IGNORE");
    const bool only = EqualsNoCase(headers.filial_origem_filter, "ONLY");
    if (ignore || only) {
      QV_FUZZ_CHECK(!headers.filial.empty(), statement);
      for (const char c : headers.filial) QV_FUZZ_CHECK(c >= '0' && c <= '9', headers.filial);
      Tokens t = LexSql("coalesce(" + prefix + "codfilialorigem, 0)" + (ignore ? " <> " : " = "));
      t.push_back({SqlToken::Kind::kWord, headers.filial});
      conditions.push_back(t);
    }
  }
  for (std::size_t i = 0; i < conditions.size(); ++i) {
    if (i == 0) {
      const std::string upper = [&] {
        std::string u = base;
        for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return u;
      }();
      const bool has_where =
          upper.find("WHERE ") != std::string::npos || upper.find("WHERE\r\n") != std::string::npos;
      Expect(want, has_where ? "and" : "Where");
    } else {
      Expect(want, "and");
    }
    Append(want, conditions[i]);
  }
  CheckSame(got, want, statement);
}

// ------------------------------------------------------------------- uploads

// One member value of an upload, as ExtractFieldsAndValues takes it.
JsonValue MemberValue(InputReader& in) {
  const std::uint8_t kind = in.Byte();
  const std::string_view text = in.Text();  // read for every kind, to stay aligned
  switch (kind % 7) {
    case 0:
      return JsonValue::Null();
    case 1:
      return JsonValue::Boolean(kind & 8);
    case 2: {
      const auto parsed = quorvane::lib::ParseJson(text);
      if (parsed && parsed->IsNumber()) return *parsed;
      return JsonValue::Number(std::to_string(static_cast<int>(text.size()) - 3));
    }
    case 3:
      return JsonValue::MakeArray().Push(JsonValue::String(std::string(text)));
    default:
      return JsonValue::String(std::string(text));
  }
}

// The literal tokens the server must read for `value` in a statement whose
// finishing rules are `stored` (what becomes of a string value's text).
void ExpectValue(Tokens& out, const JsonValue& value,
                 const std::function<std::string(const std::string&)>& stored) {
  switch (value.kind()) {
    case JsonValue::Kind::kNull:
      Expect(out, "null");
      break;
    case JsonValue::Kind::kBoolean:
      ExpectString(out, value.AsBoolean() ? "true" : "false");
      break;
    case JsonValue::Kind::kNumber:
      Expect(out, ReplaceAll(value.AsNumberText(), ",", "."));
      break;
    case JsonValue::Kind::kString:
      ExpectString(out, stored(value.AsString()));
      break;
    default:
      break;
  }
}

// The items of a checked column list. A member name may itself hold several
// columns ("a, b"); the statements pair the list's items with the values one
// by one, whatever member they came from, and stop at the shorter list.
std::vector<std::string> ColumnItems(std::string_view fields) {
  std::vector<std::string> items;
  if (fields.empty()) return items;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = fields.find(',', start);
    std::string_view item =
        fields.substr(start, comma == std::string_view::npos ? fields.npos : comma - start);
    while (!item.empty() && quorvane::fuzz::IsSqlSpace(item.front())) item.remove_prefix(1);
    while (!item.empty() && quorvane::fuzz::IsSqlSpace(item.back())) item.remove_suffix(1);
    items.emplace_back(item);
    if (comma == std::string_view::npos) return items;
    start = comma + 1;
  }
}

// Checks that `tokens` hold only literals, signs and commas (a checked
// x-key-values list).
void CheckOnlyLiterals(const Tokens& tokens, std::string_view source) {
  for (const SqlToken& t : tokens) {
    bool ok = t.kind == SqlToken::Kind::kString;
    if (t.kind == SqlToken::Kind::kPunct) ok = t.text == "," || t.text == "+" || t.text == "-";
    if (t.kind == SqlToken::Kind::kWord) {
      ok = EqualsNoCase(t.text, "NULL") || EqualsNoCase(t.text, "TRUE") ||
           EqualsNoCase(t.text, "FALSE") || std::isdigit(static_cast<unsigned char>(t.text[0])) ||
           t.text[0] == '.';
    }
    QV_FUZZ_CHECK(ok, "not a literal list: " + std::string(source) + "\n  " +
                          quorvane::fuzz::DescribeTokens(tokens));
  }
}

void Uploads(InputReader& in) {
  const std::uint8_t choice = in.Byte();
  JsonValue body = JsonValue::MakeObject();
  const int members = choice % 6;
  for (int i = 0; i < members; ++i) {
    std::string name(in.Text());
    body.Add(std::move(name), MemberValue(in));
  }
  const bool upsert = (choice & 0x40) != 0;
  std::string key_fields(in.Text());
  const std::string key_values(in.Text());
  if (key_fields.empty()) key_fields = "codigo";  // the tenant default

  const LibDBMySQL& dialect = LibDBMySQL::getInstance();
  std::string fields;
  std::string values;
  dialect.ExtractFieldsAndValues(body, fields, values);
  try {
    // The checks DatabaseConnection makes before it builds either statement.
    quorvane::database::CheckColumnList(fields);
    quorvane::database::CheckLiteralList(values, "");
    if (upsert) {
      quorvane::database::CheckColumnList(key_fields);
      quorvane::database::CheckLiteralList(key_values, "");
    }
  } catch (const quorvane::database::InvalidInputError&) {
    return;  // refused: answered 400
  }
  if (upsert && key_values.empty()) return;  // an insert, covered below

  // The scalar members' values, in order, as the statement must hold them.
  std::vector<const JsonValue*> taken;
  for (const auto& member : body.AsObject()) {
    if (member.value.IsArray() || member.value.IsObject()) continue;
    taken.push_back(&member.value);
  }
  const std::vector<std::string> columns = ColumnItems(fields);

  std::string statement;
  Tokens want;
  if (!upsert) {
    statement = dialect.Insert("clientes", fields, values);
    // The insert deletes every backslash; "#virgula#" becomes a comma.
    const auto stored = [](const std::string& v) {
      return ReplaceAll(ReplaceAll(v, "#virgula#", ","), "\\", "");
    };
    Expect(want, "Insert Into clientes (" + stored(fields) + ")\r\nvalues(");
    for (std::size_t i = 0; i < taken.size(); ++i) {
      if (i > 0) Expect(want, ",");
      ExpectValue(want, *taken[i], stored);
    }
    Expect(want, ")");
  } else {
    statement = dialect.UpdateOrInsert("clientes", key_fields, fields, key_values, values);
    // The upsert keeps backslashes, except that backslash-slash becomes a
    // slash; "#virgula#" becomes a comma.
    const auto stored = [](const std::string& v) {
      return ReplaceAll(ReplaceAll(v, "#virgula#", ","), "\\/", "/");
    };
    const auto as_code = [&](const std::string& sql_text) {
      return ReplaceAll(stored(sql_text), "\\", "\\\\");
    };
    const Tokens keys = LexSql(as_code(key_values));
    QV_FUZZ_CHECK(quorvane::fuzz::IsClean(keys), key_values);
    CheckOnlyLiterals(keys, key_values);
    Expect(want, "INSERT INTO clientes (" + as_code(key_fields) + ", " + as_code(fields) +
                     ")\r\nVALUES\r\n(");
    Append(want, keys);
    Expect(want, ",");
    for (std::size_t i = 0; i < taken.size(); ++i) {
      if (i > 0) Expect(want, ",");
      ExpectValue(want, *taken[i], stored);
    }
    Expect(want, ")\r\nON DUPLICATE KEY UPDATE\r\n");
    for (std::size_t i = 0; i < taken.size() && i < columns.size(); ++i) {
      if (i > 0) Expect(want, ",");
      Expect(want, as_code(columns[i]) + " =");
      ExpectValue(want, *taken[i], stored);
    }
  }
  const Tokens got = LexSql(statement);
  QV_FUZZ_CHECK(quorvane::fuzz::IsClean(got), statement);
  CheckSame(got, want, statement);
}

// ------------------------------------------------------------------- updates

void Updates(InputReader& in) {
  const std::uint8_t choice = in.Byte();
  JsonValue body = JsonValue::MakeObject();
  const int members = 1 + choice % 5;
  for (int i = 0; i < members; ++i) {
    std::string name(in.Text());
    body.Add(std::move(name), MemberValue(in));
  }
  const std::string key_value(in.Text());  // a path parameter such as :ID
  const LibDBMySQL& dialect = LibDBMySQL::getInstance();
  std::string fields;
  std::string values;
  dialect.ExtractFieldsAndValues(body, fields, values);
  try {
    quorvane::database::CheckColumnList(fields);
    quorvane::database::CheckLiteralList(key_value, "");
    quorvane::database::CheckLiteralList(values, "");
  } catch (const quorvane::database::InvalidInputError&) {
    return;
  }
  const std::string statement = dialect.Update("clientes", "codigo", fields, key_value, values);
  // The update keeps every backslash; "#virgula#" becomes a comma.
  const auto stored = [](const std::string& v) { return ReplaceAll(v, "#virgula#", ","); };
  const auto as_code = [&](const std::string& sql_text) {
    return ReplaceAll(stored(sql_text), "\\", "\\\\");
  };
  Tokens want;
  Expect(want, "Update clientes Set");
  const std::vector<std::string> columns = ColumnItems(fields);
  std::size_t i = 0;
  for (const auto& member : body.AsObject()) {
    if (member.value.IsArray() || member.value.IsObject()) continue;
    if (i >= columns.size()) break;
    if (i > 0) Expect(want, ",");
    Expect(want, as_code(columns[i++]) + " =");
    ExpectValue(want, member.value, stored);
  }
  Expect(want, "\r\nWhere codigo =");
  const Tokens key = LexSql(as_code(key_value));
  CheckOnlyLiterals(key, key_value);
  Append(want, key);
  const Tokens got = LexSql(statement);
  QV_FUZZ_CHECK(quorvane::fuzz::IsClean(got), statement);
  CheckSame(got, want, statement);
}

// -------------------------------------------------------------------- paging

void Paging(InputReader& in) {
  quorvane::database::PagingParameters paging;
  const std::uint8_t choice = in.Byte();
  if (choice & 1) paging.limit = std::string(in.Text());
  if (choice & 2) paging.page = std::string(in.Text());
  std::string clause;
  try {
    clause = quorvane::database::PagingClause(paging);
  } catch (const quorvane::database::InvalidInputError&) {
    return;
  }
  const Tokens got = LexSql(clause);
  for (const SqlToken& t : got) {
    const bool ok = (t.kind == SqlToken::Kind::kWord &&
                     (t.text == "LIMIT" || t.text == "OFFSET" ||
                      t.text.find_first_not_of("0123456789") == std::string::npos)) ||
                    (t.kind == SqlToken::Kind::kPunct && t.text == "-");
    QV_FUZZ_CHECK(ok, clause);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  InputReader in(data, size);
  switch (in.Byte() % 5) {
    case 0:
      Literals(in);
      break;
    case 1:
      Filters(in);
      break;
    case 2:
      Uploads(in);
      break;
    case 3:
      Updates(in);
      break;
    case 4:
      Paging(in);
      break;
  }
  return 0;
}
