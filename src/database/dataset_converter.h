#pragma once

#include <optional>
#include <string>

#include "database/result_set.h"
#include "lib/json.h"

namespace quorvane::database {

// Converts the rows of a result set to JSON: one object per row, one member
// per visible column in column order, rendered by the column's kind:
//
//   kText                      string                       null -> null
//   kInteger                   number                       null -> null
//   kAutoInc, kLongWord        number from decimal text     null -> null
//   kLargeInt                  number                       null -> 0
//   kBoolean                   true/false (1/0 when the
//                              column's origin is "Integer") null -> false (0)
//   kFloat                     number (double)              null -> 0
//   kCurrency                  string "0.00##"              null -> null
//   kBCD                       number (double): 10.10 -> 10.1  null -> null
//   kDate                      "YYYY-MM-DD"                 null -> null
//   kTime                      "hh:nn:ss"                   null -> null
//   kDateTime                  "yyyy-mm-dd hh:nn:ss"        null -> null
//   kBlob                      MIME Base64, 76-character lines joined by
//                              CR LF                        null -> ""
//   kDataSet                   origin "JSONObject": the nested set's current
//                              row; "JSONArray": all its rows; otherwise no
//                              member
//   kBytes, kUnknown           ConversionError "Cannot find type for field "name""
//
// Reached as Converter::New().DataSet(result).AsJSONArray(). The converter
// does not own the result set. Not thread-safe; cheap to make.
class DataSetConverter {
 public:
  // Converts `result`, whose current row (for AsJSONObject) is `current_row`.
  DataSetConverter& DataSet(const ResultSet& result, std::size_t current_row = 0);

  // All rows, or nullopt when there are none.
  std::optional<lib::JsonValue> AsJSONArray() const;
  // The current row, or nullopt when there are no rows.
  std::optional<lib::JsonValue> AsJSONObject() const;

 private:
  void RequireDataSet() const;

  const ResultSet* result_ = nullptr;
  std::size_t current_row_ = 0;
};

class Converter {
 public:
  static DataSetConverter New() { return DataSetConverter(); }
};

// `bytes` in Base64 as MIME writes it: lines of 76 characters joined by CR
// LF, no line break after the last.
std::string EncodeBase64Mime(std::string_view bytes);

// The rendering of one column value (the table above). Throws
// ConversionError for unsupported kinds.
lib::JsonValue RenderField(const Column& column, const FieldValue& value);

// A fixed four-decimal amount as "0.00##": at least two, at most four
// decimals, "." as separator. `decimal_text` is the value's decimal text.
std::string FormatCurrency(std::string_view decimal_text);

}  // namespace quorvane::database
