#include "database/result_set.h"

#include <algorithm>
#include <cctype>

namespace quorvane::database {

std::optional<std::size_t> ResultSet::FindColumn(std::string_view name) const {
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    const std::string& c = columns_[i].name;
    if (c.size() == name.size() && std::equal(c.begin(), c.end(), name.begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) ==
                 std::tolower(static_cast<unsigned char>(b));
        })) {
      return i;
    }
  }
  return std::nullopt;
}

}  // namespace quorvane::database
