#include "jose/utils.h"

#include <algorithm>
#include <filesystem>

namespace quorvane::jose {

void JOSEUtils::ArrayPush(const std::vector<std::uint8_t>& source, std::vector<std::uint8_t>& dest,
                          std::size_t count) {
  const std::size_t n = std::min(count, source.size());
  dest.insert(dest.end(), source.begin(), source.begin() + static_cast<std::ptrdiff_t>(n));
}

std::string JOSEUtils::BinToSingleHex(const std::uint8_t* buffer, std::size_t length) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out(length, '0');
  for (std::size_t i = 0; i < length; ++i) out[i] = kHex[buffer[i] & 0x0F];
  return out;
}

std::string JOSEUtils::DirectoryUp(const std::string& directory, int level) {
  std::filesystem::path path(directory);
  // A trailing separator names the same directory.
  if (!path.has_filename()) path = path.parent_path();
  for (int i = 0; i < level; ++i) path = path.parent_path();
  return path.string();
}

}  // namespace quorvane::jose
