#pragma once

#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <typeindex>
#include <utility>
#include <vector>

#include "lib/json.h"
#include "web/core/raw_web.h"
#include "web/core/web_callback.h"

namespace quorvane::web::core {

// Raised by WebRequest::Query when the query string names a field twice; the
// request then fails with status 500.
class DuplicateQueryField : public std::runtime_error {
 public:
  explicit DuplicateQueryField(const std::string& name)
      : std::runtime_error("Duplicates not allowed: query field \"" + name + "\"") {}
};

using WebStringMap = std::map<std::string, std::string, std::less<>>;

// The request that every middleware and handler receives: the raw request
// (not owned; it outlives the wrapper) plus lazily built maps and two slots,
// the parsed body value and the session claims. Belongs to one worker thread
// for its whole life; nothing in it is shared between requests.
class WebRequest {
 public:
  explicit WebRequest(RawRequest& raw) : raw_(&raw) {}

  WebRequest(const WebRequest&) = delete;
  WebRequest& operator=(const WebRequest&) = delete;

  // The request header named `name`, compared without regard to case; empty
  // text when absent.
  std::string Headers(std::string_view name) const;

  // The body as UTF-8 text, decoded by the charset the Content-Type names:
  // UTF-8 by default and for "UTF-8" (and any charset not listed below),
  // Windows-1252 for "ISO-8859-1" and "ANSI", 7-bit ASCII ("?" for every
  // other byte) for "ASCII".
  std::string Body() const;

  // Stores the parsed body value (replacing any previous one).
  WebRequest& Body(lib::JsonValue body);
  // The stored body value; nullptr when none was stored.
  const lib::JsonValue* BodyObject() const { return body_ ? &*body_ : nullptr; }
  lib::JsonValue* BodyObject() { return body_ ? &*body_ : nullptr; }
  void ClearBodyObject() { body_.reset(); }

  // The session (the verified token's claims), attached by the JWT
  // middleware; nullptr when none was attached.
  WebRequest& Session(lib::JsonValue session);
  const lib::JsonValue* Session() const { return session_ ? &*session_ : nullptr; }

  // Query fields, name → value, built on first access: each decoded field is
  // split at its first "="; a field without "=" maps the empty name to the
  // whole field. Throws DuplicateQueryField when a name occurs twice.
  const WebStringMap& Query();
  // Path parameters, filled by the router while it walks the path.
  WebStringMap& Params() { return params_; }
  const WebStringMap& Params() const { return params_; }
  // Form fields (names lower-cased, a later field replaces an earlier one);
  // empty unless the body is a form.
  const WebStringMap& ContentFields();
  // Cookies, name → value. An entry without "=" maps its name to the empty
  // value.
  const WebStringMap& Cookie();

  HttpMethod MethodType() const { return raw_->Method(); }

  // Per-request state of a higher layer, one object per type, created empty
  // on first use and destroyed with the request (for example what the tenant
  // checks read once and the database lease the request's statements share).
  template <class T>
  T& Attachment() {
    for (auto& [type, object] : attachments_) {
      if (type == std::type_index(typeid(T))) return *static_cast<T*>(object.get());
    }
    auto object = std::make_shared<T>();
    T& ref = *object;
    attachments_.emplace_back(std::type_index(typeid(T)), std::move(object));
    return ref;
  }

  // The raw request, for what the wrapper does not expose.
  RawRequest& RawWebRequest() { return *raw_; }
  const RawRequest& RawWebRequest() const { return *raw_; }

 private:
  RawRequest* raw_;
  std::optional<WebStringMap> query_;
  WebStringMap params_;
  std::optional<WebStringMap> content_fields_;
  std::optional<WebStringMap> cookie_;
  std::optional<lib::JsonValue> body_;
  std::optional<lib::JsonValue> session_;
  // Declared last, so destroyed before the body and the maps above.
  std::vector<std::pair<std::type_index, std::shared_ptr<void>>> attachments_;
};

}  // namespace quorvane::web::core
