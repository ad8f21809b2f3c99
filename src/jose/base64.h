#pragma once

#include "jose/bytes.h"

namespace quorvane::jose {

// Base64 (RFC 4648) and its URL-safe form as the compact serialization uses
// them. Decoding is lenient and never fails: characters outside the alphabet
// are skipped and leftover bits are dropped.
class Base64 {
 public:
  // Standard alphabet with "=" padding and a CR LF after every 76th output
  // character (also when the output ends there).
  static JOSEBytes Encode(const JOSEBytes& source);
  // Standard alphabet; every byte outside it ("=", CR, LF, blanks, "-", "_",
  // any byte above 127) is skipped. A final group of 2 or 3 characters gives
  // 1 or 2 bytes; a single leftover character gives none.
  static JOSEBytes Decode(const JOSEBytes& source);
  // URL-safe alphabet ("-" and "_"), no padding, no line breaks.
  static JOSEBytes URLEncode(const JOSEBytes& source);
  // Accepts the URL-safe alphabet with or without padding. Because it
  // decodes leniently, "+" and "/" are accepted too and stray characters are
  // dropped.
  static JOSEBytes URLDecode(const JOSEBytes& source);
};

}  // namespace quorvane::jose
