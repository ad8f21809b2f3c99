#include "database/sql_format.h"

#include <cstdio>
#include <string>

#include "database/errors.h"

namespace quorvane::database {
namespace {

struct Directive {
  bool left = false;
  int width = -1;
  int precision = -1;
  char type = 0;
};

[[noreturn]] void Invalid(std::string_view format) {
  throw ConversionError("Format '" + std::string(format) +
                        "' invalid or incompatible with argument");
}

void Pad(std::string& out, std::string text, const Directive& d) {
  const auto width = static_cast<std::size_t>(d.width < 0 ? 0 : d.width);
  if (text.size() >= width) {
    out += text;
  } else if (d.left) {
    out += text;
    out.append(width - text.size(), ' ');
  } else {
    out.append(width - text.size(), ' ');
    out += text;
  }
}

// Formats one number with snprintf; the conversion letter is fixed by us, never
// taken from the caller's text.
template <class T>
std::string PrintNumber(const char* conversion, int precision, T value) {
  char buf[512];
  int n = precision >= 0 ? std::snprintf(buf, sizeof buf, conversion, precision, value)
                         : std::snprintf(buf, sizeof buf, conversion, value);
  if (n < 0) return {};
  if (static_cast<std::size_t>(n) >= sizeof buf) n = sizeof buf - 1;
  return std::string(buf, static_cast<std::size_t>(n));
}

// Keeps precision and width within what the fixed buffer above holds.
constexpr int kMaxWidthOrPrecision = 400;

}  // namespace

std::string FormatSQL(std::string_view format, std::span<const FormatArg> args) {
  std::string out;
  out.reserve(format.size() + 16 * args.size());
  std::size_t next_arg = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c != '%') {
      out += c;
      continue;
    }
    if (++i >= format.size()) Invalid(format);
    if (format[i] == '%') {
      out += '%';
      continue;
    }
    Directive d;
    if (format[i] == '-') {
      d.left = true;
      if (++i >= format.size()) Invalid(format);
    }
    auto read_int = [&](int& into) {
      if (i >= format.size() || format[i] < '0' || format[i] > '9') return false;
      into = 0;
      while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
        into = into * 10 + (format[i] - '0');
        if (into > kMaxWidthOrPrecision) Invalid(format);
        ++i;
      }
      return true;
    };
    read_int(d.width);
    if (i < format.size() && format[i] == '.') {
      ++i;
      if (!read_int(d.precision)) Invalid(format);
    }
    if (i >= format.size()) Invalid(format);
    d.type = format[i];
    if (next_arg >= args.size()) Invalid(format);
    const auto& arg = args[next_arg++].value();
    switch (d.type) {
      case 's':
      case 'S': {
        const auto* text = std::get_if<std::string>(&arg);
        if (!text) Invalid(format);
        std::string value = *text;
        if (d.precision >= 0 && value.size() > static_cast<std::size_t>(d.precision)) {
          value.resize(static_cast<std::size_t>(d.precision));
        }
        Pad(out, std::move(value), d);
        break;
      }
      case 'd':
      case 'D':
      case 'u':
      case 'U': {
        const auto* number = std::get_if<std::int64_t>(&arg);
        if (!number) Invalid(format);
        if ((d.type == 'u' || d.type == 'U') && *number < 0) Invalid(format);
        const long long v = *number;
        Pad(out, PrintNumber(d.precision >= 0 ? "%.*lld" : "%lld", d.precision, v), d);
        break;
      }
      case 'x':
      case 'X': {
        const auto* number = std::get_if<std::int64_t>(&arg);
        if (!number) Invalid(format);
        const auto v = static_cast<unsigned long long>(*number);
        const bool upper = d.type == 'X';
        const char* conv =
            d.precision >= 0 ? (upper ? "%.*llX" : "%.*llx") : (upper ? "%llX" : "%llx");
        Pad(out, PrintNumber(conv, d.precision, v), d);
        break;
      }
      case 'f':
      case 'F':
      case 'e':
      case 'E':
      case 'g':
      case 'G': {
        double v;
        if (const auto* f = std::get_if<double>(&arg)) {
          v = *f;
        } else if (const auto* n = std::get_if<std::int64_t>(&arg)) {
          v = static_cast<double>(*n);
        } else {
          Invalid(format);
        }
        const char lower = static_cast<char>(d.type | 0x20);
        const char* conv = lower == 'f'   ? (d.precision >= 0 ? "%.*f" : "%f")
                           : lower == 'e' ? (d.precision >= 0 ? "%.*E" : "%E")
                                          : (d.precision >= 0 ? "%.*G" : "%G");
        Pad(out, PrintNumber(conv, d.precision, v), d);
        break;
      }
      default:
        Invalid(format);
    }
  }
  return out;
}

}  // namespace quorvane::database
