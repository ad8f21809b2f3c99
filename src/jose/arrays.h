#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvane::jose {

// A growable array with value semantics; the library uses it for lists of
// text (expected audiences and issuers).
template <class T>
class JOSEArray {
 public:
  JOSEArray() = default;
  JOSEArray(std::vector<T> items) : payload_(std::move(items)) {}  // NOLINT: implicit by design
  JOSEArray(std::initializer_list<T> items) : payload_(items) {}

  static JOSEArray Create() { return JOSEArray(); }
  static JOSEArray Empty() { return JOSEArray(); }

  const std::vector<T>& Items() const { return payload_; }
  operator const std::vector<T>&() const { return payload_; }  // NOLINT
  std::size_t Size() const { return payload_.size(); }
  bool IsEmpty() const { return payload_.empty(); }
  const T& operator[](std::size_t i) const { return payload_.at(i); }

  // Appends at the end; returns the new count.
  std::size_t Push(T item) {
    payload_.push_back(std::move(item));
    return payload_.size();
  }
  // Removes and returns the last element; fails on an empty array.
  T Pop() {
    if (payload_.empty()) throw std::out_of_range("Error Message");
    T last = std::move(payload_.back());
    payload_.pop_back();
    return last;
  }
  // Removes and returns the first element; fails on an empty array.
  T Shift() {
    if (payload_.empty()) throw std::out_of_range("Error Message");
    T first = std::move(payload_.front());
    payload_.erase(payload_.begin());
    return first;
  }
  // Resizes; new elements are empty. A negative size fails.
  void SetSize(long long size) {
    if (size < 0) throw std::out_of_range("Error Message");
    payload_.resize(static_cast<std::size_t>(size));
  }
  void Join(const JOSEArray& other) {
    payload_.insert(payload_.end(), other.payload_.begin(), other.payload_.end());
  }
  bool Contains(const T& item) const {
    for (const T& x : payload_) {
      if (x == item) return true;
    }
    return false;
  }

  // The elements joined with "," and stripped of every trailing ",".
  std::string ToString() const requires std::is_convertible_v<T, std::string_view> {
    std::string out;
    for (const T& x : payload_) {
      out += x;
      out += ',';
    }
    while (!out.empty() && out.back() == ',') out.pop_back();
    return out;
  }
  // With two or more elements: `prefix` followed by ToString; else ToString.
  std::string ToStringPluralForm(
      std::string_view prefix) const requires std::is_convertible_v<T, std::string_view> {
    if (payload_.size() >= 2) return std::string(prefix) + ToString();
    return ToString();
  }

  friend JOSEArray operator+(JOSEArray a, const T& item) {
    a.Push(item);
    return a;
  }
  // The text is appended at the end also when it stands on the left.
  friend JOSEArray operator+(const T& item, JOSEArray a) {
    a.Push(item);
    return a;
  }
  friend JOSEArray operator+(JOSEArray a, const JOSEArray& b) {
    a.Join(b);
    return a;
  }
  friend bool operator==(const JOSEArray&, const JOSEArray&) = default;

 private:
  std::vector<T> payload_;
};

using JOSEStringArray = JOSEArray<std::string>;

}  // namespace quorvane::jose
