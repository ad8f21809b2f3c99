#include "web/middleware/etag.h"

#include <openssl/evp.h>

#include <stdexcept>

namespace quorvane::web::middleware {
namespace {

void TagResponse(core::WebRequest& req, core::WebResponse& res) {
  const lib::JsonValue* content = res.Content();
  if (content == nullptr) return;
  const std::string tag = ContentETag(*content);
  if (req.Headers("If-None-Match") == tag) res.Status(304);
  res.Header("ETag", tag);
}

}  // namespace

std::string Md5Hex(std::string_view bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_md5(), nullptr) != 1) {
    throw std::runtime_error("MD5 digest failed");
  }
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(length * 2);
  for (unsigned int i = 0; i < length; ++i) {
    out.push_back(kHex[digest[i] >> 4]);
    out.push_back(kHex[digest[i] & 0x0F]);
  }
  return out;
}

std::string ContentETag(const lib::JsonValue& content) {
  return Md5Hex(lib::ToPlainAsciiJson(content));
}

void eTag(core::WebRequest& req, core::WebResponse& res, const core::WebNext& next) {
  try {
    next();
  } catch (...) {
    // Refusals are tagged too; the exception then continues outwards.
    TagResponse(req, res);
    throw;
  }
  TagResponse(req, res);
}

}  // namespace quorvane::web::middleware
