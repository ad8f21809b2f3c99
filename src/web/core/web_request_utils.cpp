#include "web/core/web_request_utils.h"

#include <array>
#include <cstdint>

#include "web/core/text_util.h"

namespace quorvane::web::core {

namespace {

// Upper-cases a-z and the accented lower-case letters of Portuguese (two
// UTF-8 bytes each, U+00E0..U+00FC; the upper-case form is 0x20 below).
std::string FoldForPathCompare(std::string_view text) {
  static constexpr std::array<std::uint8_t, 17> kFolded = {0xE1, 0xE0, 0xE3, 0xE2, 0xE4, 0xE9,
                                                           0xEA, 0xEB, 0xED, 0xEF, 0xF3, 0xF4,
                                                           0xF5, 0xF6, 0xFA, 0xFC, 0xE7};
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b == 0xC3 && i + 1 < text.size()) {
      const auto next = static_cast<unsigned char>(text[i + 1]);
      const std::uint32_t cp = 0xC0 | (next & 0x3F);
      bool fold = (next & 0xC0) == 0x80;
      if (fold) {
        fold = false;
        for (const auto f : kFolded) fold = fold || f == cp;
      }
      out.push_back(text[i]);
      out.push_back(fold ? static_cast<char>(next - 0x20) : text[i + 1]);
      ++i;
      continue;
    }
    out.push_back(text::AsciiUpper(text[i]));
  }
  return out;
}

std::optional<std::string> Base64Decode(std::string_view in) {
  auto value = [](char c) -> int {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
  };
  in = text::Trim(in);
  while (!in.empty() && in.back() == '=') in.remove_suffix(1);
  std::string out;
  std::uint32_t acc = 0;
  int bits = 0;
  for (const char c : in) {
    const int v = value(c);
    if (v < 0) return std::nullopt;
    acc = (acc << 6) | static_cast<std::uint32_t>(v);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out.push_back(static_cast<char>((acc >> bits) & 0xFF));
    }
  }
  return out;
}

}  // namespace

bool WebRequestUtils::isPathInfo(const WebRequest& req, std::span<const std::string_view> paths) {
  const std::string path = req.RawWebRequest().PathInfo();
  const std::string folded = FoldForPathCompare(path);
  for (const std::string_view candidate : paths) {
    if (FoldForPathCompare(candidate) == folded) return true;
  }
  for (const std::string_view candidate : paths) {
    if (candidate.size() >= 2 && candidate.front() == '[' &&
        path.find(candidate.substr(1, candidate.size() - 2)) != std::string::npos) {
      return true;
    }
  }
  return false;
}

std::string WebRequestUtils::Headers(const WebRequest& req) {
  return req.RawWebRequest().AllHeaders();
}

void WebRequestUtils::AddHeader(WebRequest& req, std::string_view name, std::string_view value) {
  req.RawWebRequest().AddHeader(std::string(name), std::string(value));
}

bool WebRequestUtils::DecodeBasicAuthentication(const WebRequest& req, std::string& user,
                                                std::string_view header, std::string& password) {
  std::string value(req.RawWebRequest().Header(header));
  if (value.empty()) return false;
  const auto scheme = text::IFind(value, "basic ");
  if (scheme != std::string::npos) value.erase(scheme, 6);
  const auto decoded = Base64Decode(value);
  if (!decoded) return false;
  // User and password are split at the first colon; the password may hold
  // colons and blanks.
  const auto colon = decoded->find(':');
  if (colon == std::string::npos) return false;
  user = decoded->substr(0, colon);
  password = decoded->substr(colon + 1);
  return true;
}

std::string WebRequestUtils::UserBasicAuthentication(const WebRequest& req,
                                                     std::string_view header) {
  std::string user, password;
  return DecodeBasicAuthentication(req, user, header, password) ? user : std::string();
}

std::string WebRequestUtils::PasswordBasicAuthentication(const WebRequest& req,
                                                         std::string_view header) {
  std::string user, password;
  return DecodeBasicAuthentication(req, user, header, password) ? password : std::string();
}

std::string_view MimeTypesHelper::ToString(MimeType type) {
  switch (type) {
    case MimeType::kMultipartFormData:
      return "multipart/form-data";
    case MimeType::kApplicationXWWWFormUrlEncoded:
      return "application/x-www-form-urlencoded";
    case MimeType::kApplicationJSON:
      return "application/json";
    case MimeType::kApplicationOctetStream:
      return "application/octet-stream";
    case MimeType::kApplicationXML:
      return "application/xml";
    case MimeType::kApplicationJavaScript:
      return "application/javascript";
    case MimeType::kApplicationPDF:
      return "application/pdf";
    case MimeType::kApplicationTypeScript:
      return "application/typescript";
    case MimeType::kApplicationZIP:
      return "application/zip";
    case MimeType::kTextPlain:
      return "text/plain";
    case MimeType::kTextCSS:
      return "text/css";
    case MimeType::kTextCSV:
      return "text/csv";
    case MimeType::kTextHTML:
      return "text/html";
    case MimeType::kImageJPEG:
      return "image/jpeg";
    case MimeType::kImagePNG:
      return "image/png";
    case MimeType::kImageGIF:
      return "image/gif";
  }
  return "application/octet-stream";
}

}  // namespace quorvane::web::core
