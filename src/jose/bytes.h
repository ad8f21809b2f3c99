#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::jose {

// A byte string with value semantics: the currency of the JOSE library. Keys,
// encoded segments, signatures and signing inputs are all JOSEBytes. Text
// converts to its UTF-8 bytes (C++ strings already hold UTF-8, so text and
// bytes convert one to one, with no byte-order mark).
class JOSEBytes {
 public:
  JOSEBytes() = default;
  JOSEBytes(std::string_view text) : payload_(text) {}        // NOLINT: implicit by design
  JOSEBytes(const char* text) : payload_(text) {}             // NOLINT
  JOSEBytes(std::string text) : payload_(std::move(text)) {}  // NOLINT
  JOSEBytes(std::span<const std::uint8_t> bytes)              // NOLINT
      : payload_(reinterpret_cast<const char*>(bytes.data()), bytes.size()) {}
  JOSEBytes(const std::vector<std::uint8_t>& bytes)  // NOLINT
      : JOSEBytes(std::span<const std::uint8_t>(bytes)) {}

  // The bytes as text (UTF-8) and as a raw byte array.
  const std::string& ToString() const { return payload_; }
  std::string_view View() const { return payload_; }
  std::vector<std::uint8_t> ToBytes() const {
    return std::vector<std::uint8_t>(Data(), Data() + payload_.size());
  }
  const std::uint8_t* Data() const {
    return reinterpret_cast<const std::uint8_t*>(payload_.data());
  }

  void Empty() { payload_.clear(); }
  void Clear() { payload_.clear(); }
  bool IsEmpty() const { return payload_.empty(); }
  std::size_t Size() const { return payload_.size(); }

  bool Contains(std::uint8_t byte) const;
  // True when `run` occurs as a contiguous sequence inside the value. An
  // empty run, or one longer than the value, is never contained.
  bool Contains(const JOSEBytes& run) const;
  bool Contains(std::span<const std::uint8_t> run) const { return Contains(JOSEBytes(run)); }

  JOSEBytes& operator+=(const JOSEBytes& other) {
    payload_ += other.payload_;
    return *this;
  }
  JOSEBytes& operator+=(std::uint8_t byte) {
    payload_.push_back(static_cast<char>(byte));
    return *this;
  }

  friend bool operator==(const JOSEBytes& a, const JOSEBytes& b) {
    return a.payload_ == b.payload_;
  }
  friend JOSEBytes operator+(JOSEBytes a, const JOSEBytes& b) { return a += b; }
  friend JOSEBytes operator+(JOSEBytes a, std::uint8_t byte) { return a += byte; }

  // `count` bytes from the operating system's cryptographic random source.
  static JOSEBytes RandomBytes(std::size_t count);

 private:
  std::string payload_;
};

}  // namespace quorvane::jose
