#pragma once

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quorvane::database {

// One argument of a printf-like statement text. Holds an integer, a floating
// point number or a text; the directive that consumes it must fit its kind.
class FormatArg {
 public:
  template <std::integral T>
  requires(!std::same_as<T, bool> && !std::same_as<T, char>) FormatArg(T value)
      : value_(static_cast<std::int64_t>(value)) {}
  FormatArg(double value) : value_(value) {}
  FormatArg(const char* value) : value_(std::string(value)) {}
  FormatArg(std::string_view value) : value_(std::string(value)) {}
  FormatArg(std::string value) : value_(std::move(value)) {}

  const std::variant<std::int64_t, double, std::string>& value() const { return value_; }

 private:
  std::variant<std::int64_t, double, std::string> value_;
};

using FormatArgs = std::vector<FormatArg>;

// Expands `format` with `args`, checking every directive against its
// argument instead of trusting the caller as printf does:
//   %s text; %d integer; %u non-negative integer; %x %X integer in hex;
//   %f %e %g floating point (an integer argument is accepted); %% a "%".
// A directive may carry "-" (left-justify), a width and ".precision"
// ("%5d", "%-10s", "%.2f"; for %s the precision cuts the text). Arguments
// left over are ignored.
// Throws ConversionError on an unknown directive, a missing argument or an
// argument of the wrong kind.
// The expansion inserts arguments as they are: it quotes nothing. Text from
// clients must go through a dialect's Str before it becomes an argument.
std::string FormatSQL(std::string_view format, std::span<const FormatArg> args);

}  // namespace quorvane::database
