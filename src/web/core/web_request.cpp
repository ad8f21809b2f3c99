#include "web/core/web_request.h"

#include "web/core/text_util.h"

namespace quorvane::web::core {

std::string WebRequest::Headers(std::string_view name) const {
  return std::string(raw_->Header(name));
}

std::string WebRequest::Body() const {
  const std::string type = text::ToUpperAscii(raw_->ContentType());
  if (type.find("CHARSET") == std::string::npos || type.find("UTF-8") != std::string::npos) {
    return raw_->body;
  }
  if (type.find("ISO-8859-1") != std::string::npos || type.find("ANSI") != std::string::npos) {
    return text::Cp1252ToUtf8(raw_->body);
  }
  if (type.find("ASCII") != std::string::npos) return text::ToAscii7(raw_->body);
  return raw_->body;
}

WebRequest& WebRequest::Body(lib::JsonValue body) {
  body_ = std::move(body);
  return *this;
}

WebRequest& WebRequest::Session(lib::JsonValue session) {
  session_ = std::move(session);
  return *this;
}

const WebStringMap& WebRequest::Query() {
  if (query_) return *query_;
  WebStringMap map;
  for (const std::string& field : raw_->QueryFields()) {
    const auto eq = field.find('=');
    std::string name = eq == std::string::npos ? std::string() : field.substr(0, eq);
    std::string value = eq == std::string::npos ? field : field.substr(eq + 1);
    if (map.contains(name)) throw DuplicateQueryField(name);
    map.emplace(std::move(name), std::move(value));
  }
  query_ = std::move(map);
  return *query_;
}

const WebStringMap& WebRequest::ContentFields() {
  if (content_fields_) return *content_fields_;
  WebStringMap map;
  for (auto& [name, value] : raw_->FormFields()) {
    map.insert_or_assign(text::ToLowerAscii(name), std::move(value));
  }
  content_fields_ = std::move(map);
  return *content_fields_;
}

const WebStringMap& WebRequest::Cookie() {
  if (cookie_) return *cookie_;
  WebStringMap map;
  for (const std::string& entry : raw_->CookieEntries()) {
    const auto eq = entry.find('=');
    // The first cookie of a name wins: clients send the most specific one
    // first.
    if (eq == std::string::npos) {
      map.emplace(entry, std::string());
    } else {
      map.emplace(entry.substr(0, eq), entry.substr(eq + 1));
    }
  }
  cookie_ = std::move(map);
  return *cookie_;
}

}  // namespace quorvane::web::core
