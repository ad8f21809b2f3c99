#pragma once

#include <string>
#include <string_view>

#include "database/base.h"
#include "database/result_set.h"

namespace quorvane::database {

// Single typed values written as literals of a dialect. DataBaseType picks
// the dialect singleton; kUnknown gives an empty literal. No request path
// uses these; they serve tools and future callers. Conversions that cannot
// be made (a text that is no number where a number is asked for, a text that
// is no date) throw ConversionError.
class LibDataFormat {
 public:
  // The dialect instance, or null for kUnknown.
  static const LibDBBase* Dialect(DataBaseType data_base_type);

  static std::string FormatFieldStringSQL(std::string_view value, DataBaseType data_base_type);
  static std::string FormatFieldIntegerSQL(std::int64_t value, DataBaseType data_base_type);
  static std::string FormatFieldFloatSQL(double value, DataBaseType data_base_type);
  // The dialect's date / time / date-time form when the value is a date
  // after day zero, a number greater than zero (days since 1899-12-30) or a
  // text (read with DateTime::Parse); `return_null` otherwise.
  static std::string FormatFieldDateSQL(const SqlValue& value, DataBaseType data_base_type,
                                        std::string_view return_null = "NULL");
  static std::string FormatFieldTimeSQL(const SqlValue& value, DataBaseType data_base_type,
                                        std::string_view return_null = "NULL");
  static std::string FormatFieldDateTimeSQL(const SqlValue& value, DataBaseType data_base_type,
                                            std::string_view return_null = "NULL");
  static std::string FormatFieldBooleanSQL(const SqlValue& value, DataBaseType data_base_type,
                                           std::string_view return_null = "NULL");
  // "NULL" for a null value; otherwise by the column kind: text and blob as
  // string, boolean, float/currency/BCD as float, date/time/date-time, and
  // every other kind as integer.
  static std::string FormatFieldValueSQL(const Column& column, const FieldValue& value,
                                         DataBaseType data_base_type);
  // `return_null` for null or for a text that reads "NULL" (trimmed, any
  // case); otherwise by `field_type`.
  static std::string FormatFieldVariantSQL(const SqlValue& value, FieldDataType field_type,
                                           std::string_view return_null,
                                           DataBaseType data_base_type);
  // "I","S" integer; "V","B","C" text; "F","DP","N","DE" float; "D" date;
  // "T" time; "DT","TS" date-time; "L","BOOL" boolean (any case); else null.
  static FieldDataType StrToFieldDataType(std::string_view field_type);
};

}  // namespace quorvane::database
