#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "lib/json.h"
#include "web/core/raw_web.h"

namespace quorvane::web::core {

// The response that every middleware and handler fills: the raw response (not
// owned; it outlives the wrapper) plus the content value, a JSON value that
// the JSON middleware writes into the body on the way out.
class WebResponse {
 public:
  // Sets the raw status to 200.
  explicit WebResponse(RawResponse& raw);

  WebResponse(const WebResponse&) = delete;
  WebResponse& operator=(const WebResponse&) = delete;

  // Sets the body text; the content value is left alone.
  WebResponse& Send(std::string_view text);
  // Stores `content` as the content value (any JSON value, null included);
  // the body text is left alone.
  WebResponse& Send(lib::JsonValue content);

  // The content value; nullptr when none is set. A stored JSON null is a
  // value, not nullptr.
  const lib::JsonValue* Content() const { return content_ ? &*content_ : nullptr; }
  lib::JsonValue* Content() { return content_ ? &*content_ : nullptr; }
  // Replaces the content value; nullopt clears it.
  WebResponse& Content(std::optional<lib::JsonValue> content);

  WebResponse& ContentType(std::string_view content_type);
  const std::string& ContentType() const { return raw_->content_type(); }

  WebResponse& Status(int status);
  int Status() const { return raw_->status(); }

  // The body as it stands (text or bytes).
  const std::string& Body() const { return raw_->body(); }

  // Custom headers; an empty value removes the header.
  WebResponse& Header(std::string_view name, std::string_view value);
  std::string_view Header(std::string_view name) const { return raw_->CustomHeader(name); }

  // The raw response, for what the wrapper does not expose (content
  // encoding, body bytes).
  RawResponse& RawWebResponse() { return *raw_; }
  const RawResponse& RawWebResponse() const { return *raw_; }

 private:
  RawResponse* raw_;
  std::optional<lib::JsonValue> content_;
};

}  // namespace quorvane::web::core
