#pragma once

#include "database/base.h"

namespace quorvane::database {

// The Firebird dialect. No request selects it and the server has no Firebird
// driver, so its statements can be built and inspected but not run.
// Booleans are 'S' and 'N'. Firebird has no backslash escapes: doubling the
// single quotes makes a literal safe.
class LibDBFirebird : public LibDBBase {
 public:
  static const LibDBFirebird& getInstance();
  [[noreturn]] static void Create();

  // Line feeds removed; quoted; each carriage return inside becomes
  // '||ascii_char(13)||ascii_char(10)||' (close, CR LF, reopen).
  std::string Str(std::string_view value) const override;
  // 'mm/dd/yyyy', 'hh:nn:ss', 'mm/dd/yyyy hh:nn:ss'.
  std::string DateStr(const DateTime& value) const override;
  std::string TimeStr(const DateTime& value) const override;
  std::string DateTimeStr(const DateTime& value) const override;

  // The generic insert with "\r\nReturning <field>" appended.
  std::string Insert(std::string_view table_name, std::string_view fields, std::string_view values,
                     std::string_view returning_field) const;
  using LibDBBase::Insert;

 private:
  LibDBFirebird();
};

}  // namespace quorvane::database
