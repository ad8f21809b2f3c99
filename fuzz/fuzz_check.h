#pragma once

// Property checks of the fuzz entry points. A broken property is a finding
// like a crash: it prints what failed and aborts, so that libFuzzer keeps the
// input (and the corpus replay of the normal builds fails on it).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace quorvane::fuzz {

[[noreturn]] inline void CheckFailed(const char* expr, const char* file, int line,
                                     std::string_view detail) {
  std::fprintf(stderr, "%s:%d: property failed: %s\n", file, line, expr);
  if (!detail.empty()) {
    std::fprintf(stderr, "  detail: %.*s\n", static_cast<int>(detail.size()), detail.data());
  }
  std::abort();
}

// Reads the fuzz input as a sequence of choices: bytes, small numbers and
// strings, each string running up to a separator byte or the end. Running
// out of input gives zeros and empty strings, so every input is usable.
class InputReader {
 public:
  InputReader(const std::uint8_t* data, std::size_t size)
      : text_(reinterpret_cast<const char*>(data), size) {}

  bool empty() const { return text_.empty(); }

  std::uint8_t Byte() {
    if (text_.empty()) return 0;
    const auto b = static_cast<std::uint8_t>(text_.front());
    text_.remove_prefix(1);
    return b;
  }

  // Up to (not including) the next byte `separator`, which is consumed.
  std::string_view Text(char separator = '\x1f') {
    const std::size_t end = text_.find(separator);
    const std::string_view piece = text_.substr(0, end);
    text_.remove_prefix(end == std::string_view::npos ? text_.size() : end + 1);
    return piece;
  }

  // Everything that is left.
  std::string_view Rest() {
    const std::string_view rest = text_;
    text_ = {};
    return rest;
  }

 private:
  std::string_view text_;
};

}  // namespace quorvane::fuzz

#define QV_FUZZ_CHECK(cond, detail)                                                  \
  do {                                                                               \
    if (!(cond)) ::quorvane::fuzz::CheckFailed(#cond, __FILE__, __LINE__, (detail)); \
  } while (false)
