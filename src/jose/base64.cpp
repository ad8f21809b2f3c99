#include "jose/base64.h"

#include <array>
#include <string>

namespace quorvane::jose {
namespace {

constexpr char kStandard[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kUrlSafe[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

// MIME line length of the standard encoding.
constexpr std::size_t kLineLength = 76;

constexpr std::array<int, 256> MakeDecodeTable(const char* alphabet) {
  std::array<int, 256> table{};
  for (int& v : table) v = -1;
  for (int i = 0; i < 64; ++i) table[static_cast<unsigned char>(alphabet[i])] = i;
  return table;
}
constexpr auto kStandardDecode = MakeDecodeTable(kStandard);
constexpr auto kUrlSafeDecode = MakeDecodeTable(kUrlSafe);

// Encodes without padding or line breaks when `pad` is false.
std::string EncodeWith(std::string_view in, const char* alphabet, bool pad) {
  std::string out;
  out.reserve((in.size() + 2) / 3 * 4);
  const auto* p = reinterpret_cast<const unsigned char*>(in.data());
  std::size_t i = 0;
  for (; i + 3 <= in.size(); i += 3) {
    const unsigned v = (p[i] << 16) | (p[i + 1] << 8) | p[i + 2];
    out += alphabet[(v >> 18) & 63];
    out += alphabet[(v >> 12) & 63];
    out += alphabet[(v >> 6) & 63];
    out += alphabet[v & 63];
  }
  const std::size_t rest = in.size() - i;
  if (rest == 1) {
    const unsigned v = p[i] << 16;
    out += alphabet[(v >> 18) & 63];
    out += alphabet[(v >> 12) & 63];
    if (pad) out += "==";
  } else if (rest == 2) {
    const unsigned v = (p[i] << 16) | (p[i + 1] << 8);
    out += alphabet[(v >> 18) & 63];
    out += alphabet[(v >> 12) & 63];
    out += alphabet[(v >> 6) & 63];
    if (pad) out += '=';
  }
  return out;
}

// Decodes every character that `table` knows and skips all others.
std::string DecodeWith(std::string_view in, const std::array<int, 256>& table) {
  std::string out;
  out.reserve(in.size() / 4 * 3 + 2);
  unsigned bits = 0;
  int nbits = 0;
  for (const char c : in) {
    const int v = table[static_cast<unsigned char>(c)];
    if (v < 0) continue;
    bits = ((bits << 6) | static_cast<unsigned>(v)) & 0x3FFF;  // at most 14 live bits
    nbits += 6;
    if (nbits >= 8) {
      nbits -= 8;
      out += static_cast<char>((bits >> nbits) & 0xFF);
    }
  }
  return out;
}

}  // namespace

JOSEBytes Base64::Encode(const JOSEBytes& source) {
  const std::string flat = EncodeWith(source.View(), kStandard, /*pad=*/true);
  std::string out;
  out.reserve(flat.size() + flat.size() / kLineLength * 2);
  for (std::size_t i = 0; i < flat.size(); i += kLineLength) {
    const std::size_t n = std::min(kLineLength, flat.size() - i);
    out.append(flat, i, n);
    if (n == kLineLength) out += "\r\n";
  }
  return JOSEBytes(std::move(out));
}

JOSEBytes Base64::Decode(const JOSEBytes& source) {
  return JOSEBytes(DecodeWith(source.View(), kStandardDecode));
}

JOSEBytes Base64::URLEncode(const JOSEBytes& source) {
  return JOSEBytes(EncodeWith(source.View(), kUrlSafe, /*pad=*/false));
}

JOSEBytes Base64::URLDecode(const JOSEBytes& source) {
  // Padding is optional and "-"/"_" map to "+"/"/"; the lenient decoder
  // skips "=" anyway, so mapping both alphabets onto one table is the same
  // as padding, translating and decoding.
  static constexpr auto kBoth = [] {
    auto table = kStandardDecode;
    table['-'] = kUrlSafeDecode['-'];
    table['_'] = kUrlSafeDecode['_'];
    return table;
  }();
  return JOSEBytes(DecodeWith(source.View(), kBoth));
}

}  // namespace quorvane::jose
