#include "jose/numeric_date.h"

#include <cstdio>
#include <ctime>
#include <limits>

namespace quorvane::jose {
namespace {

using Wide = __int128;

constexpr std::int64_t kSecondsPerDay = 86400;

// Days since 1970-01-01 to the proleptic Gregorian civil date (H. Hinnant's
// algorithm, widened to 64 bits so that any claim value renders).
void CivilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  if (m <= 2) ++y;
}

std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

// Formats `seconds` (already shifted to the wanted zone) plus the suffix.
std::string Format(std::int64_t seconds, int milliseconds, const std::string& suffix) {
  // Split without multiplying back: days * 86400 would overflow at the
  // extremes of the 64-bit range.
  const std::int64_t days = FloorDiv(seconds, kSecondsPerDay);
  std::int64_t in_day = seconds % kSecondsPerDay;
  if (in_day < 0) in_day += kSecondsPerDay;
  std::int64_t y = 0;
  unsigned m = 0, d = 0;
  CivilFromDays(days, y, m, d);
  char buf[96];
  std::snprintf(buf, sizeof buf, "%04lld-%02u-%02uT%02d:%02d:%02d.%03d", static_cast<long long>(y),
                m, d, static_cast<int>(in_day / 3600), static_cast<int>(in_day / 60 % 60),
                static_cast<int>(in_day % 60), milliseconds);
  return buf + suffix;
}

}  // namespace

JOSENumericDate JOSENumericDate::Create(std::chrono::system_clock::time_point date) {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(date.time_since_epoch());
  const std::int64_t count = ms.count();
  std::int64_t millis = count % 1000;
  if (millis < 0) millis += 1000;
  return FromSeconds(FloorDiv(count, 1000), static_cast<int>(millis));
}

JOSENumericDate JOSENumericDate::FromSeconds(std::int64_t seconds, int milliseconds) {
  JOSENumericDate date;
  date.null_ = false;
  date.seconds_ = seconds;
  date.milliseconds_ = milliseconds;
  return date;
}

JOSENumericDate JOSENumericDate::Now() { return Create(std::chrono::system_clock::now()); }

std::int64_t JOSENumericDate::AsSeconds() const {
  return null_ ? std::numeric_limits<std::int64_t>::min() : seconds_;
}

std::string JOSENumericDate::AsISO8601() const {
  return Format(null_ ? 0 : seconds_, Milliseconds(), "Z");
}

std::string JOSENumericDate::AsLocalISO8601() const {
  const std::int64_t seconds = null_ ? 0 : seconds_;
  std::tm local{};
  const auto t = static_cast<std::time_t>(seconds);
  if (localtime_r(&t, &local) == nullptr || local.tm_gmtoff == 0) return AsISO8601();
  const long offset = local.tm_gmtoff;
  const long magnitude = offset < 0 ? -offset : offset;
  char zone[40];
  std::snprintf(zone, sizeof zone, "%c%02ld:%02ld", offset < 0 ? '-' : '+', magnitude / 3600,
                magnitude / 60 % 60);
  // The shift cannot overflow: localtime_r only succeeds for representable
  // years, far from the 64-bit limits.
  return Format(seconds + offset, Milliseconds(), zone);
}

bool JOSENumericDate::IsAfter(const JOSENumericDate& value, std::int32_t skew_seconds) const {
  return Wide{AsSeconds()} - skew_seconds > Wide{value.AsSeconds()};
}

bool JOSENumericDate::IsBefore(const JOSENumericDate& value, std::int32_t skew_seconds) const {
  return Wide{AsSeconds()} + skew_seconds < Wide{value.AsSeconds()};
}

bool ParseISO8601(std::string_view text, JOSENumericDate& out) {
  std::size_t i = 0;
  auto digits = [&](int count, int& value) {
    value = 0;
    for (int k = 0; k < count; ++k, ++i) {
      if (i >= text.size() || text[i] < '0' || text[i] > '9') return false;
      value = value * 10 + (text[i] - '0');
    }
    return true;
  };
  auto expect = [&](char c) {
    if (i < text.size() && text[i] == c) {
      ++i;
      return true;
    }
    return false;
  };
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millis = 0;
  if (!digits(4, year) || !expect('-') || !digits(2, month) || !expect('-') || !digits(2, day)) {
    return false;
  }
  if (month < 1 || month > 12 || day < 1 || day > 31) return false;
  std::int64_t offset = 0;
  if (i < text.size()) {
    if (!expect('T') && !expect(' ')) return false;
    if (!digits(2, hour) || !expect(':') || !digits(2, minute)) return false;
    if (expect(':')) {
      if (!digits(2, second)) return false;
      if (expect('.') || expect(',')) {
        // Milliseconds: the first three digits count, later ones are dropped.
        int n = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
          if (n < 3) millis = millis * 10 + (text[i] - '0');
          ++n;
          ++i;
        }
        if (n == 0) return false;
        for (; n < 3; ++n) millis *= 10;
      }
    }
    if (hour > 24 || minute > 59 || second > 60) return false;
    if (i < text.size()) {
      if (expect('Z')) {
        // UTC
      } else if (text[i] == '+' || text[i] == '-') {
        const int sign = text[i] == '-' ? -1 : 1;
        ++i;
        int oh = 0, om = 0;
        if (!digits(2, oh)) return false;
        if (i < text.size()) {
          expect(':');
          if (!digits(2, om)) return false;
        }
        if (oh > 23 || om > 59) return false;
        offset = sign * (oh * 3600 + om * 60);
      } else {
        return false;
      }
    }
  }
  if (i != text.size()) return false;
  const std::int64_t days =
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
  out = JOSENumericDate::FromSeconds(
      days * kSecondsPerDay + hour * 3600 + minute * 60 + second - offset, millis);
  return true;
}

}  // namespace quorvane::jose
