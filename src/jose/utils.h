#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quorvane::jose {

// Small helpers kept for the library's users; the token-checking path uses
// none of them.
class JOSEUtils {
 public:
  // Appends the first `count` bytes of `source` to `dest`; `count` larger
  // than `source` appends all of it.
  static void ArrayPush(const std::vector<std::uint8_t>& source, std::vector<std::uint8_t>& dest,
                        std::size_t count);
  // One upper-case hexadecimal digit per byte, taken from its low four bits.
  static std::string BinToSingleHex(const std::uint8_t* buffer, std::size_t length);
  static std::string BinToSingleHex(const std::vector<std::uint8_t>& bytes) {
    return BinToSingleHex(bytes.data(), bytes.size());
  }
  // The directory `level` levels above `directory`.
  static std::string DirectoryUp(const std::string& directory, int level);
};

}  // namespace quorvane::jose
