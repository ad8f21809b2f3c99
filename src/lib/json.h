#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quorvane::lib {

struct JsonMember;

// One JSON value: null, true, false, a number, a string, an array or an
// object. Objects keep their members in insertion order (duplicates are kept
// as given). A number is held as the text it was created from, so that a
// decimal read from the database is written out exactly as it was rendered.
//
// Values are regular types: copyable, movable, comparable. A value owns its
// children.
class JsonValue {
 public:
  enum class Kind { kNull, kBoolean, kNumber, kString, kArray, kObject };

  struct NumberText {
    std::string text;
    friend bool operator==(const NumberText&, const NumberText&) = default;
  };
  using Array = std::vector<JsonValue>;
  using Object = std::vector<JsonMember>;

  JsonValue();  // null
  // Declared here and defaulted below JsonMember, which must be complete
  // before the storage can be copied or destroyed.
  ~JsonValue();
  JsonValue(const JsonValue& other);
  JsonValue(JsonValue&& other) noexcept;
  JsonValue& operator=(const JsonValue& other);
  JsonValue& operator=(JsonValue&& other) noexcept;

  static JsonValue Null() { return JsonValue(); }
  static JsonValue Boolean(bool value);
  static JsonValue Integer(std::int64_t value);
  static JsonValue Unsigned(std::uint64_t value);
  // A floating-point number in the server's float form (see FormatJsonDouble).
  static JsonValue Double(double value);
  // A number from its text, taken as it is; the caller vouches that `text` is
  // a valid JSON number.
  static JsonValue Number(std::string text);
  static JsonValue String(std::string value);
  static JsonValue MakeArray();
  static JsonValue MakeObject();

  Kind kind() const;
  bool IsNull() const { return kind() == Kind::kNull; }
  bool IsBoolean() const { return kind() == Kind::kBoolean; }
  bool IsNumber() const { return kind() == Kind::kNumber; }
  bool IsString() const { return kind() == Kind::kString; }
  bool IsArray() const { return kind() == Kind::kArray; }
  bool IsObject() const { return kind() == Kind::kObject; }

  // Accessors; each asserts the kind in debug builds and throws
  // std::bad_variant_access on a kind mismatch.
  bool AsBoolean() const;
  const std::string& AsNumberText() const;
  const std::string& AsString() const;
  const Array& AsArray() const;
  Array& AsArray();
  const Object& AsObject() const;
  Object& AsObject();

  // Text of a string or number; "true"/"false"/"null" for those; the compact
  // JSON text for arrays and objects. Used where a value is written into SQL
  // or compared as text.
  std::string ToText() const;

  // Object helpers. `Add` appends a member (no duplicate check) and returns
  // the object; `Find` returns the first member of that exact name.
  JsonValue& Add(std::string name, JsonValue value);
  const JsonValue* Find(std::string_view name) const;
  JsonValue* Find(std::string_view name);

  // Array helper: appends and returns the array.
  JsonValue& Push(JsonValue value);

  // Number of members or elements; 0 for scalars.
  std::size_t size() const;

  friend bool operator==(const JsonValue& a, const JsonValue& b);

 private:
  using Storage = std::variant<std::monostate, bool, NumberText, std::string, Array, Object>;
  explicit JsonValue(Storage storage);
  Storage storage_;
};

struct JsonMember {
  std::string name;
  JsonValue value;
  friend bool operator==(const JsonMember&, const JsonMember&) = default;
};

inline JsonValue::JsonValue() = default;
inline JsonValue::JsonValue(Storage storage) : storage_(std::move(storage)) {}
inline JsonValue::~JsonValue() = default;
inline JsonValue::JsonValue(const JsonValue& other) = default;
inline JsonValue::JsonValue(JsonValue&& other) noexcept = default;
inline JsonValue& JsonValue::operator=(const JsonValue& other) = default;
inline JsonValue& JsonValue::operator=(JsonValue&& other) noexcept = default;

// Parses UTF-8 JSON text (one value, surrounding white space allowed).
// Numbers keep their text. Returns nullopt on any syntax error, on invalid
// UTF-8 and on nesting deeper than kMaxJsonDepth.
std::optional<JsonValue> ParseJson(std::string_view text);

// Deep enough for any document the branch systems send; bounds the recursion
// of the writers and of the value's destructor.
inline constexpr int kMaxJsonDepth = 512;

// The compact serialisation of every response body: no blanks, members in
// order, strings with \b \t \n \f \r \" \/ \\ and every other character below
// 32 or above 127 as \u plus four upper-case hex digits of its UTF-16 code
// units. The result is pure 7-bit ASCII. Invalid UTF-8 inside a string is
// written as U+FFFD.
std::string ToJson(const JsonValue& value);
void AppendJson(std::string& out, const JsonValue& value);

// The "plain" form: compact like ToJson but without \u escapes, reduced to
// 7-bit ASCII: every UTF-16 code unit outside ASCII becomes "?". Used for
// ETags and the console log.
std::string ToPlainAsciiJson(const JsonValue& value);

// The float form: shortest text with at most 15 significant digits, "." as
// separator, no trailing zeros; fixed notation when 1E-4 <= |v| < 1E15,
// otherwise mantissa "E" exponent (1E15, 1.5E-7); zero is "0". Non-finite
// values have no JSON form and are written as "0".
std::string FormatJsonDouble(double value);

// Replaces every character outside 7-bit ASCII by "?" (one per UTF-16 code
// unit, as the reduction of the plain JSON form does).
std::string ReduceToAscii(std::string_view utf8);

}  // namespace quorvane::lib
