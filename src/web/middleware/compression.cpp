#include "web/middleware/compression.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>

#include "lib/json.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"
#include "web/middleware/json_text_handoff.h"

namespace quorvane::web::middleware {
namespace {

using core::WebNext;
using core::WebRequest;
using core::WebResponse;

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string_view TrimBlanks(std::string_view text) {
  const auto is_blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

// deflate end and its z_stream, released on every path.
class Deflater {
 public:
  explicit Deflater(int window_bits) {
    if (deflateInit2(&stream_, Z_BEST_COMPRESSION, Z_DEFLATED, window_bits, 8,
                     Z_DEFAULT_STRATEGY) != Z_OK) {
      throw std::runtime_error("deflateInit2 failed");
    }
  }
  ~Deflater() { deflateEnd(&stream_); }
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;

  z_stream& stream() { return stream_; }

 private:
  z_stream stream_{};
};

}  // namespace

std::string_view CompressionKindName(CompressionKind kind) {
  switch (kind) {
    case CompressionKind::kDeflate:
      return "deflate";
    case CompressionKind::kGzip:
      return "gzip";
  }
  return "deflate";
}

std::optional<CompressionKind> ChooseCompression(std::string_view accept_encoding) {
  const std::string value = Lower(TrimBlanks(accept_encoding));
  if (value.empty()) return std::nullopt;
  if (value.find("deflate") != std::string::npos) return CompressionKind::kDeflate;
  if (value.find("gzip") != std::string::npos) return CompressionKind::kGzip;
  return std::nullopt;
}

std::string Compress(std::string_view data, CompressionKind kind) {
  // -15: raw deflate, no zlib wrapper; 15 + 16: gzip wrapper.
  Deflater deflater(kind == CompressionKind::kDeflate ? -15 : 31);
  z_stream& s = deflater.stream();
  std::string out(deflateBound(&s, static_cast<uLong>(data.size())), '\0');
  s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  s.avail_in = static_cast<uInt>(data.size());
  s.next_out = reinterpret_cast<Bytef*>(out.data());
  s.avail_out = static_cast<uInt>(out.size());
  // deflateBound guarantees a single call with Z_FINISH completes.
  if (deflate(&s, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate failed");
  out.resize(s.total_out);
  return out;
}

core::WebCallback Compression(std::size_t threshold) {
  return [threshold](WebRequest& req, WebResponse& res, const WebNext& next) {
    internal::OpenJsonTextNote(req);
    // An exception here (an early answer or an error) passes through
    // untouched: such answers are never compressed.
    next();

    const lib::JsonValue* content = res.Content();
    if (content == nullptr) return;
    const std::optional<CompressionKind> kind = ChooseCompression(req.Headers("accept-encoding"));
    if (!kind) return;

    core::RawResponse& raw = res.RawWebResponse();
    // The JSON middleware inside has normally written exactly this text into
    // the body already; serialise only when it has not.
    std::string text;
    const std::string* json = &raw.body();
    if (!internal::BodyHoldsJsonOf(req, res)) {
      text = lib::ToJson(*content);
      json = &text;
    }
    // zlib counts in uInt; bodies that large never come from this server.
    if (json->size() <= threshold || json->size() > std::numeric_limits<uInt>::max()) {
      if (json == &text) raw.SetBodyText(std::move(text));
      return;
    }
    raw.SetBodyBytes(Compress(*json, *kind));
    raw.set_content_encoding(std::string(CompressionKindName(*kind)));
  };
}

}  // namespace quorvane::web::middleware
