#include "web/core/http_reader.h"

#include <cstdint>
#include <utility>

#include "web/core/text_util.h"
#include "web/core/web_provider.h"

namespace quorvane::web::core {

void ConfigureRequestParser(RequestParser& parser) {
  parser.header_limit(static_cast<std::uint32_t>(kMaxHeaderBytes));
  parser.body_limit(kMaxBodyBytes);
}

void ToRawRequest(RequestParser::value_type& message, RawRequest& raw) {
  raw.method = text::ToUpperAscii(message.method_string());
  raw.SetTarget(message.target());
  raw.protocol_version = message.version() == 10 ? "HTTP/1.0" : "HTTP/1.1";
  raw.headers.reserve(16);
  for (const auto& field : message) {
    raw.headers.push_back({std::string(field.name_string()), std::string(field.value())});
  }
  raw.body = std::move(message.body());
  raw.ApplyMethodOverride();
}

}  // namespace quorvane::web::core
