#include "jose/bytes.h"

#include <openssl/rand.h>

#include <algorithm>
#include <stdexcept>

namespace quorvane::jose {

bool JOSEBytes::Contains(std::uint8_t byte) const {
  return payload_.find(static_cast<char>(byte)) != std::string::npos;
}

bool JOSEBytes::Contains(const JOSEBytes& run) const {
  if (run.IsEmpty() || run.Size() > Size()) return false;
  return payload_.find(run.payload_) != std::string::npos;
}

JOSEBytes JOSEBytes::RandomBytes(std::size_t count) {
  // Random bytes become token ids; a clock-seeded generator would make them
  // guessable, so they come from the CSPRNG with the full byte range.
  constexpr std::size_t kChunk = 1 << 20;  // RAND_bytes takes an int length
  std::vector<std::uint8_t> bytes(count);
  for (std::size_t done = 0; done < count; done += kChunk) {
    const auto n = static_cast<int>(std::min(kChunk, count - done));
    if (RAND_bytes(bytes.data() + done, n) != 1) {
      throw std::runtime_error("Random source unavailable");
    }
  }
  return JOSEBytes(bytes);
}

}  // namespace quorvane::jose
