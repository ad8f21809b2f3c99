#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "lib/json.h"

namespace quorvane::database {

enum class DataBaseType { kUnknown = 0, kFirebird = 1, kMySQL = 2 };

enum class FieldDataType {
  kNull = 0,
  kText = 1,
  kFloat = 2,
  kDate = 3,
  kTime = 4,
  kDateTime = 5,
  kBoolean = 6,
  kInteger = 7,
};

// A calendar date and time of day, to the second.
struct DateTime {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;

  // Days since 1899-12-30, the time of day as the fraction (so "greater than
  // zero" means after that day, as date values are usually tested).
  double ToSerial() const;
  static DateTime FromSerial(double days);
  // "yyyy-mm-dd", "yyyy-mm-dd hh:nn:ss", "dd/mm/yyyy" or "dd/mm/yyyy
  // hh:nn:ss" (an optional ".fraction" after the seconds is dropped);
  // "hh:nn:ss" alone is a time on day zero. nullopt for anything else.
  static std::optional<DateTime> Parse(std::string_view text);

  friend bool operator==(const DateTime&, const DateTime&) = default;
};

// A loosely typed value to write as a literal: null, boolean, integer,
// floating point, text or date-time.
using SqlValue = std::variant<std::monostate, bool, std::int64_t, double, std::string, DateTime>;

// Base of the dialect classes: each has exactly one instance, reached with
// getInstance and destroyed at exit; Create always fails.
class Singleton {
 public:
  virtual ~Singleton() = default;
  Singleton(const Singleton&) = delete;
  Singleton& operator=(const Singleton&) = delete;

 protected:
  Singleton() = default;
  // Throws SingletonError: "Não é possível instanciar essa classe através do
  // método Create.\r\n\r\nUtilize <class>.getInstance para acessar os
  // métodos dessa classe."
  [[noreturn]] static void RefuseCreate(std::string_view class_name);
};

// The generic SQL dialect: literal forms and write statements as text. The
// instances hold only constants, so any number of threads may use them.
//
// Two forms of string literal exist on purpose:
//  - Str is a literal ready to stand in a statement. Use it for every text
//    that comes from a client (the MySQL form is safe whatever the session's
//    SQL mode).
//  - ExtractFieldsAndValues writes strings with their single quotes doubled
//    and backslashes left as they are. Its lists are meant for Insert, Update
//    and UpdateOrInsert, whose finishing rules decide what a backslash
//    becomes (see each of them).
class LibDBBase : public Singleton {
 public:
  static const LibDBBase& getInstance();
  [[noreturn]] static void Create();

  const SqlValue& boolean_true() const { return boolean_true_; }
  const SqlValue& boolean_false() const { return boolean_false_; }
  FieldDataType boolean_type() const { return boolean_type_; }
  const SqlValue& value_null() const { return value_null_; }
  FieldDataType value_null_type() const { return value_null_type_; }
  DataBaseType data_base_type() const { return data_base_type_; }

  // Literal forms. The generic date and time forms are unquoted
  // "yyyy-mm-dd", "hh:nn:ss" and "yyyy-mm-dd hh:nn:ss".
  virtual std::string Str(std::string_view value) const;
  virtual std::string DateStr(const DateTime& value) const;
  virtual std::string TimeStr(const DateTime& value) const;
  virtual std::string DateTimeStr(const DateTime& value) const;
  virtual std::string FloatStr(double value) const;
  // Integer 1, true, or text "TRUE"/"S"/"1" (any case) give the dialect's
  // true value, other integers, booleans and texts its false value, written
  // as a literal of the dialect's boolean type; any other value gives NULL.
  virtual std::string BooleanStr(const SqlValue& value) const;

  // "Insert Into t (fields)\r\nvalues(values)"; then every "#virgula#"
  // becomes "," and every backslash is deleted.
  virtual std::string Insert(std::string_view table_name, std::string_view fields,
                             std::string_view values) const;
  // "Update t Set f1 = v1, ...\r\nWhere key = value"; then every "#virgula#"
  // becomes ",".
  virtual std::string Update(std::string_view table_name, std::string_view key_field,
                             std::string_view fields, std::string_view key_value,
                             std::string_view values) const;
  // "Update or Insert Into t (keys, fields)\r\nvalues\r\n(keys, values)";
  // then every "#virgula#" becomes ",".
  virtual std::string UpdateOrInsert(std::string_view table_name, std::string_view key_fields,
                                     std::string_view fields, std::string_view key_values,
                                     std::string_view values) const;
  // The lists of `json` (ExtractFieldsAndValues), then the form above.
  virtual std::string UpdateOrInsert(const lib::JsonValue& json, std::string_view table_name,
                                     std::string_view key_fields,
                                     std::string_view key_values) const;

  // The scalar members of an object as a column list and a value list
  // ("a, b" and "'x', 2.5"). Objects and arrays are skipped; member names
  // lose their double quotes; strings become quoted with single quotes
  // doubled, true/false the strings 'true'/'false', numbers their text with
  // "," as ".", null the word null. Both lists are empty when nothing is
  // taken (or when `json` is not an object).
  void ExtractFieldsAndValues(const lib::JsonValue& json, std::string& fields,
                              std::string& values) const;

 protected:
  LibDBBase(SqlValue boolean_true, SqlValue boolean_false, FieldDataType boolean_type,
            DataBaseType data_base_type);
  LibDBBase();

  // The literal of the dialect's boolean value (true_value or false_value).
  std::string BooleanLiteral(const SqlValue& chosen) const;

 private:
  SqlValue boolean_true_;
  SqlValue boolean_false_;
  FieldDataType boolean_type_;
  SqlValue value_null_ = std::string("NULL");
  FieldDataType value_null_type_ = FieldDataType::kNull;
  DataBaseType data_base_type_;
};

// Every occurrence of `from` in `text` replaced by `to`, left to right,
// without rescanning inserted text.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

namespace detail {
// `text` between single quotes, each single quote inside doubled. Not a safe
// MySQL literal on its own (a backslash still escapes there): the dialects
// build on it.
std::string QuoteDoubled(std::string_view text);
}  // namespace detail

}  // namespace quorvane::database
