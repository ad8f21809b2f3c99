#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "web/core/web_callback.h"

namespace quorvane::web::middleware {

// Content codings, in order of preference.
enum class CompressionKind { kDeflate, kGzip };

// "deflate" or "gzip".
std::string_view CompressionKindName(CompressionKind kind);

// The coding chosen for an Accept-Encoding value: deflate whenever the text
// names it anywhere (any case), else gzip when it names that, else none.
// Quality values and order are not weighed: branch systems accept both.
std::optional<CompressionKind> ChooseCompression(std::string_view accept_encoding);

// Compresses `data` at the maximum level: raw deflate (no zlib header or
// trailer) or a gzip member. Throws std::runtime_error if zlib fails.
std::string Compress(std::string_view data, CompressionKind kind);

// The compression middleware. After the rest of the chain, and only when it
// ended normally: a JSON answer whose serialised text is longer than
// `threshold` bytes is compressed with the coding the client accepts, and the
// Content-Encoding says which. Answers that ended the chain early (refusals,
// errors) are never compressed. The JSON content type stays as it is.
//
// Thread-safe: the threshold is captured by the returned callback.
core::WebCallback Compression(std::size_t threshold);

}  // namespace quorvane::web::middleware
