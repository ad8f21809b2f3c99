#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace quorvane::jose {

// One instant, or the null date. Claims carry whole Unix seconds; the
// current time carries milliseconds, which only the ISO 8601 text shows.
// The null date stands for an absent date (or an "exp" of 0) and compares
// earlier than every real instant.
class JOSENumericDate {
 public:
  JOSENumericDate() = default;  // the null date

  static JOSENumericDate Create(std::chrono::system_clock::time_point date);
  static JOSENumericDate FromSeconds(std::int64_t seconds, int milliseconds = 0);
  static JOSENumericDate Now();

  bool IsNull() const { return null_; }
  // Whole seconds since 1970-01-01T00:00:00Z, fractions dropped; the null
  // date gives the smallest 64-bit value.
  std::int64_t AsSeconds() const;
  int Milliseconds() const { return null_ ? 0 : milliseconds_; }
  // UTC, extended form with milliseconds and "Z": 2021-06-30T14:05:09.000Z.
  // The null date is written as the Unix epoch.
  std::string AsISO8601() const;
  // The same instant in the process's local time with its UTC offset
  // (2021-06-30T11:05:09.000-03:00; "Z" when the offset is zero).
  std::string AsLocalISO8601() const;

  // AsSeconds() - skew > value.AsSeconds(), computed without overflow.
  bool IsAfter(const JOSENumericDate& value, std::int32_t skew_seconds) const;
  // AsSeconds() + skew < value.AsSeconds(), computed without overflow.
  bool IsBefore(const JOSENumericDate& value, std::int32_t skew_seconds) const;

  friend bool operator==(const JOSENumericDate&, const JOSENumericDate&) = default;

 private:
  bool null_ = true;
  std::int64_t seconds_ = 0;
  int milliseconds_ = 0;  // 0..999, added to seconds_
};

// Parses ISO 8601 date-time text (YYYY-MM-DD, optionally followed by "T" or
// a blank, hh:mm[:ss[.fff]] and a zone "Z" or ±hh[:mm]; no zone means UTC).
// Returns false on anything else.
bool ParseISO8601(std::string_view text, JOSENumericDate& out);

}  // namespace quorvane::jose
