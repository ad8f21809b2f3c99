#include "jose/parts.h"

namespace quorvane::jose {

std::vector<std::string_view> SplitCompactSerialization(std::string_view text) {
  std::vector<std::string_view> parts;
  if (text.empty()) return parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t dot = text.find('.', start);
    parts.push_back(text.substr(start, dot - start));
    if (dot == std::string_view::npos) break;
    start = dot + 1;
  }
  return parts;
}

JOSEBytes JoinCompactSerialization(const std::vector<JOSEBytes>& parts) {
  std::string out;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out += '.';
    out += parts[i].View();
  }
  return JOSEBytes(std::move(out));
}

void JOSEParts::Empty() {
  for (JOSEBytes& part : parts_) part.Clear();
}

}  // namespace quorvane::jose
