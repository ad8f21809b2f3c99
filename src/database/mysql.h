#pragma once

#include "database/base.h"

namespace quorvane::database {

// The MySQL dialect, the one every request uses. Booleans are 1 and 0.
class LibDBMySQL : public LibDBBase {
 public:
  static const LibDBMySQL& getInstance();
  [[noreturn]] static void Create();

  // A string literal safe in any SQL mode: single quotes and backslashes are
  // both doubled. With backslash escapes on (our sessions always have them)
  // the server reads back exactly `value`; with NO_BACKSLASH_ESCAPES the
  // literal still ends where it should, only backslashes come out doubled.
  // Quoting by doubling the quotes alone is not enough: "\' OR 1=1 #" would
  // end the literal early.
  std::string Str(std::string_view value) const override;
  // 'yyyy.mm.dd', 'hh:nn:ss', 'yyyy-mm-dd hh:nn:ss'.
  std::string DateStr(const DateTime& value) const override;
  std::string TimeStr(const DateTime& value) const override;
  std::string DateTimeStr(const DateTime& value) const override;

  // The generic Update, and then every backslash doubled: its lists come
  // from ExtractFieldsAndValues, where a backslash is a plain character, so
  // it must reach the server escaped (the upsert does the same). Without
  // this a value ending in a backslash would escape its closing quote.
  std::string Update(std::string_view table_name, std::string_view key_field,
                     std::string_view fields, std::string_view key_value,
                     std::string_view values) const override;

  // The upsert, five lines joined by CR LF:
  //   INSERT INTO t (key fields, fields)
  //   VALUES
  //   (key values, values)
  //   ON DUPLICATE KEY UPDATE
  //   f1 = v1, f2 = v2            (ConcatenateFieldsAndValues, keys left out)
  // then, over the whole text: "#virgula#" becomes ","; backslash-slash
  // becomes "/"; every other backslash is doubled (so a stored value keeps
  // its backslashes).
  std::string UpdateOrInsert(std::string_view table_name, std::string_view key_fields,
                             std::string_view fields, std::string_view key_values,
                             std::string_view values) const override;
  using LibDBBase::UpdateOrInsert;

 private:
  LibDBMySQL();
};

// LibDBMySQL::getInstance().Str(value): the literal for client text in a
// MySQL statement ("login = " + MySQLStr(user)).
std::string MySQLStr(std::string_view value);

}  // namespace quorvane::database
