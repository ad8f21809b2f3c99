#include "web/core/web_response.h"

namespace quorvane::web::core {

WebResponse::WebResponse(RawResponse& raw) : raw_(&raw) { raw_->set_status(200); }

WebResponse& WebResponse::Send(std::string_view text) {
  raw_->SetBodyText(std::string(text));
  return *this;
}

WebResponse& WebResponse::Send(lib::JsonValue content) {
  content_ = std::move(content);
  return *this;
}

WebResponse& WebResponse::Content(std::optional<lib::JsonValue> content) {
  content_ = std::move(content);
  return *this;
}

WebResponse& WebResponse::ContentType(std::string_view content_type) {
  raw_->set_content_type(std::string(content_type));
  return *this;
}

WebResponse& WebResponse::Status(int status) {
  raw_->set_status(status);
  return *this;
}

WebResponse& WebResponse::Header(std::string_view name, std::string_view value) {
  raw_->SetCustomHeader(name, value);
  return *this;
}

}  // namespace quorvane::web::core
