// The JSON value type under hostile text: parse, serialise, parse again.
// Properties: the serialisation is pure 7-bit ASCII; it parses back to a
// value equal to the first one (parse(serialise(v)) == v); serialising that
// value again gives the same text; the plain ASCII form (ETags, console log)
// is ASCII as well. Besides, the first eight bytes read as a double must
// get a float form that is a JSON number close to the value.
//
// Seeds: fuzz/corpus/json_fuzz/, one JSON text per file.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "lib/json.h"

namespace {

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) > 127) return false;
  }
  return true;
}

// The float form of the first eight input bytes read as a double: a JSON
// number within 15 significant digits of the value.
void CheckFloatForm(const std::uint8_t* data, std::size_t size) {
  if (size < sizeof(double)) return;
  double value;
  std::memcpy(&value, data, sizeof value);
  const std::string text = quorvane::lib::FormatJsonDouble(value);
  const auto parsed = quorvane::lib::ParseJson(text);
  QV_FUZZ_CHECK(parsed && parsed->IsNumber(), text);
  if (!std::isfinite(value)) return;
  // Read back in extended precision: rounding to 15 digits may step just
  // past the largest double (1.79769313486232E308), which is the float form
  // of the largest values and not a fault of it.
  const long double back = std::strtold(text.c_str(), nullptr);
  QV_FUZZ_CHECK(std::fabs(back - value) <= std::fabs(static_cast<long double>(value)) * 1e-14L,
                text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using quorvane::lib::JsonValue;
  CheckFloatForm(data, size);
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<JsonValue> value = quorvane::lib::ParseJson(text);
  if (!value) return 0;

  const std::string serialised = quorvane::lib::ToJson(*value);
  QV_FUZZ_CHECK(IsAscii(serialised), serialised);
  const std::optional<JsonValue> again = quorvane::lib::ParseJson(serialised);
  QV_FUZZ_CHECK(again.has_value(), serialised);
  QV_FUZZ_CHECK(*again == *value, std::string(text) + "\n -> " + serialised);
  QV_FUZZ_CHECK(quorvane::lib::ToJson(*again) == serialised, serialised);

  const std::string plain = quorvane::lib::ToPlainAsciiJson(*value);
  QV_FUZZ_CHECK(IsAscii(plain), plain);
  (void)value->ToText();
  return 0;
}
