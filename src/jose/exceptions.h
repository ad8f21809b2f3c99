#pragma once

#include <stdexcept>
#include <string>

namespace quorvane::jose {

// The library's general error: malformed compact tokens, unknown or
// unsupported algorithms, unfit keys, refused signatures.
class JOSEException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Raised by the typed JSONUtils readers when a member holds a value of
// another kind than the one asked for.
class JSONConversionException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Failures of the OpenSSL-backed RSA and certificate operations.
class SignException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A JSON value of the wrong kind where an object was required (a header or
// claims segment that decodes to an array, a string, a number...).
class InvalidCastException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A token whose signature checked out but whose claims did not; the message
// lists every claim problem, one per line.
class InvalidJWTException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace quorvane::jose
