#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace quorvane::model {

// The request headers that narrow a download, taken from the request by the
// caller. Branch systems synchronise incrementally and per branch with them:
//   where                 x-where: a condition of their own, SQL text
//   alterado_apos         x-alterado-apos: rows changed at or after this time
//   filial_origem_filter  x-filial-origem-filter: "IGNORE" leaves out the
//                         branch's own uploads, "ONLY" keeps only them
//   filial                x-filial: the requesting branch's code
// An absent header is an empty string.
struct SqlFilterHeaders {
  // Only a GET is narrowed; any other method keeps the statement as it is.
  bool is_get = true;
  std::string where;
  std::string alterado_apos;
  std::string filial_origem_filter;
  std::string filial;
};

// A filter header that cannot go into a statement. The data service answers
// it with 400 and what(), which is written for the client (Portuguese).
class FilterHeaderError : public std::invalid_argument {
 public:
  FilterHeaderError(std::string header, const std::string& message)
      : std::invalid_argument(message), header_(std::move(header)) {}

  // The offending header's name, e.g. "x-filial".
  const std::string& header() const noexcept { return header_; }

 private:
  std::string header_;
};

// `value` as an SQL string literal that is safe on a server that treats the
// backslash as an escape character (the default): enclosed in single quotes,
// every single quote and every backslash doubled. The database reads back
// exactly `value`.
std::string QuoteSqlLiteral(std::string_view value);

// Base of the entity query catalogue: appends the download filters of the
// request headers to an entity's SELECT.
class ModelSQLBasic {
 public:
  // Returns `sql` followed by the conditions that `headers` ask for, joined
  // with " and ": x-where as given, then
  //   <alias.>dtultalteracaoregistro >= '<x-alterado-apos>'
  //   coalesce(<alias.>codfilialorigem, 0) <> <x-filial>     (IGNORE)
  //   coalesce(<alias.>codfilialorigem, 0) = <x-filial>      (ONLY)
  // introduced by " and " when `sql` already has a WHERE (the word followed
  // by a blank or a line break, in any letter case, anywhere in the text),
  // else by " Where ". No parentheses are added, so "and" binds tighter than
  // an "or" inside x-where. `sql` must end with its FROM or WHERE clause.
  //
  // `alias` qualifies the two generated columns for statements that join
  // tables; empty for single-table statements.
  //
  // Without a GET, or without any filter header, returns `sql` unchanged.
  //
  // Throws FilterHeaderError when
  //  - x-filial is not a non-empty string of decimal digits while an
  //    IGNORE/ONLY rule needs it;
  //  - x-where is not one complete condition: outside quoted text it holds a
  //    ";" (a second statement), a comment ("#", "-- ", "/*"), the word UNION
  //    or INTO, a parenthesis without its partner, or a quote left open.
  //    Inside quoted text anything goes.
  static std::string PrepareSQL(const SqlFilterHeaders& headers, std::string_view sql,
                                std::string_view alias = {});

  // The check PrepareSQL makes on x-where; throws FilterHeaderError.
  static void ValidateWhere(std::string_view where);
};

}  // namespace quorvane::model
