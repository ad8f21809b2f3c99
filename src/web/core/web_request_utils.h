#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "web/core/web_request.h"

namespace quorvane::web::core {

// Stateless request helpers.
class WebRequestUtils {
 public:
  // True when the request's path information equals one of `paths`, letters
  // compared without regard to case (a-z and the accented letters of
  // Portuguese fold to upper case), or when it contains the text of a
  // bracketed entry: "[/manutencao]" matches any path containing
  // "/manutencao" (case-sensitively).
  static bool isPathInfo(const WebRequest& req, std::span<const std::string_view> paths);
  static bool isPathInfo(const WebRequest& req, std::initializer_list<std::string_view> paths) {
    return isPathInfo(req, std::span<const std::string_view>(paths.begin(), paths.size()));
  }

  // All request headers, "Name: value" lines separated by CR LF.
  static std::string Headers(const WebRequest& req);
  // Adds a header to the raw request; later Headers(name) lookups see it.
  static void AddHeader(WebRequest& req, std::string_view name, std::string_view value);

  // Reads Basic credentials from the header named `header`. False when the
  // header is empty or does not decode to a user and a password.
  static bool DecodeBasicAuthentication(const WebRequest& req, std::string& user,
                                        std::string_view header, std::string& password);
  // The user or password of DecodeBasicAuthentication; empty when it fails.
  static std::string UserBasicAuthentication(const WebRequest& req, std::string_view header);
  static std::string PasswordBasicAuthentication(const WebRequest& req, std::string_view header);
};

// MIME kinds and their texts.
enum class MimeType {
  kMultipartFormData,
  kApplicationXWWWFormUrlEncoded,
  kApplicationJSON,
  kApplicationOctetStream,
  kApplicationXML,
  kApplicationJavaScript,
  kApplicationPDF,
  kApplicationTypeScript,
  kApplicationZIP,
  kTextPlain,
  kTextCSS,
  kTextCSV,
  kTextHTML,
  kImageJPEG,
  kImagePNG,
  kImageGIF,
};

class MimeTypesHelper {
 public:
  static std::string_view ToString(MimeType type);
};

}  // namespace quorvane::web::core
