#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "web/core/web_callback.h"

namespace quorvane::web::core {

struct HttpHeader {
  std::string name;
  std::string value;
};

// The request as the HTTP layer received it. A plain value type: the provider
// fills one per request, and tests or fuzzers build one without any socket.
//
//   RawRequest raw;
//   raw.method = "GET";
//   raw.SetTarget("/v1/produto?limit=500&page=2");
//   raw.AddHeader("x-schema", "loja1");
struct RawRequest {
  // Upper-case method text, after any override of a POST (see
  // ApplyMethodOverride).
  std::string method = "GET";
  // The request target's path before "?", not decoded.
  std::string raw_path = "/";
  // The text after "?", not decoded; empty when there is none.
  std::string query_string;
  // Headers in arrival order; names keep their case.
  std::vector<HttpHeader> headers;
  // The complete body as bytes.
  std::string body;
  // The peer's IP address, as text ("127.0.0.1").
  std::string remote_address;
  // "HTTP/1.1" or "HTTP/1.0".
  std::string protocol_version = "HTTP/1.1";

  // Splits a request target into raw_path and query_string.
  void SetTarget(std::string_view target);

  // The method code of `method`.
  HttpMethod Method() const { return MethodFromText(method); }

  // For a POST, the value of "X-HTTP-Method-Override", "X-HTTP-Method" or
  // "X-METHOD-OVERRIDE" (first one present, upper-cased) replaces the method.
  // Other methods are left alone.
  void ApplyMethodOverride();

  // The raw path percent-decoded ("%XX" becomes the byte XX). A malformed
  // escape is kept as written.
  std::string PathInfo() const;

  // The query string split at "&", each field percent-decoded ("+" is a
  // space). Empty fields are dropped.
  std::vector<std::string> QueryFields() const;

  // The first header of that name, compared without regard to case; empty
  // when absent.
  std::string_view Header(std::string_view name) const;
  void AddHeader(std::string name, std::string value);
  // All headers, "Name: value" lines separated by CR LF.
  std::string AllHeaders() const;

  std::string_view ContentType() const { return Header("Content-Type"); }

  // The form fields of an application/x-www-form-urlencoded or a
  // multipart/form-data body (name and value, in body order); empty for any
  // other content type. File parts of a multipart body are included with the
  // file's bytes as value.
  std::vector<std::pair<std::string, std::string>> FormFields() const;

  // The "name=value" entries of every Cookie header, in order, trimmed.
  std::vector<std::string> CookieEntries() const;
};

// The response as the HTTP layer will write it.
class RawResponse {
 public:
  int status() const { return status_; }
  void set_status(int status) { status_ = status; }

  // The body as text (UTF-8). When written, it is encoded in the charset that
  // the content type names.
  void SetBodyText(std::string text);
  // The body as bytes written as they are (for example compressed bytes).
  void SetBodyBytes(std::string bytes);
  // The body, text or bytes.
  const std::string& body() const { return body_; }
  // True when the body was set as bytes rather than text.
  bool body_is_bytes() const { return body_is_bytes_; }

  // Empty means: the writer's default ("text/html; charset=utf-8").
  const std::string& content_type() const { return content_type_; }
  void set_content_type(std::string content_type) { content_type_ = std::move(content_type); }

  const std::string& content_encoding() const { return content_encoding_; }
  void set_content_encoding(std::string encoding) { content_encoding_ = std::move(encoding); }

  // Custom headers, names compared without regard to case. Setting an empty
  // value removes the header; setting an existing name replaces its value.
  void SetCustomHeader(std::string_view name, std::string_view value);
  // Empty when not set.
  std::string_view CustomHeader(std::string_view name) const;
  const std::vector<HttpHeader>& custom_headers() const { return custom_headers_; }

  // Set by the HTTP layer once the response has gone out.
  bool sent() const { return sent_; }
  void set_sent(bool sent) { sent_ = sent; }

 private:
  int status_ = 200;
  std::string body_;
  bool body_is_bytes_ = false;
  std::string content_type_;
  std::string content_encoding_;
  std::vector<HttpHeader> custom_headers_;
  bool sent_ = false;
};

}  // namespace quorvane::web::core
