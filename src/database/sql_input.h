#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvane::database {

// Checks of client text that is written into statements as SQL rather than
// as a literal we quote ourselves: column names (body members, x-key-fields),
// key values (x-key-values, path IDs), paging parameters. Each check throws
// InvalidInputError with a Portuguese message for the client and never
// changes the text it accepts.

// A column list "a, b, c": every item, trimmed, is an unquoted identifier
// (letters, digits, "_", "$", bytes of non-ASCII UTF-8 characters) or a
// backtick-quoted one without commas, quotes or backslashes (`desc`). An
// empty list passes (the database then refuses the statement). Throws
// "Nome de coluna inválido: <item>".
void CheckColumnList(std::string_view fields);

// A value list "1, 'a''b', null, -2.5e3": every item a number, a string in
// single quotes (quotes inside doubled; a backslash is an ordinary
// character, as the write statements escape it), NULL, TRUE or FALSE. An
// empty list passes. Throws `message_prefix` followed by the whole list.
void CheckLiteralList(std::string_view values, std::string_view message_prefix);

// The query parameters that page a list.
struct PagingParameters {
  std::optional<std::string> limit;  // nullopt: not in the query
  std::optional<std::string> page;
};

// The paging clause for `paging`: "" without limit; "LIMIT <limit>" with
// limit alone (limit written as received); "LIMIT <limit> OFFSET
// <limit * (page - 1)>" with both. limit must be decimal digits within the
// 32-bit range ("Parâmetro limit inválido: <value>"); page a decimal 32-bit
// integer, sign allowed ("Parâmetro page inválido: <value>"). A page of 0 or
// less gives a negative offset, which the database refuses.
std::string PagingClause(const PagingParameters& paging);

}  // namespace quorvane::database
