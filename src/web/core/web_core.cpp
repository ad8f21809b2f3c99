#include "web/core/web_core.h"

namespace quorvane::web::core {

namespace {

std::string_view StripSlashes(std::string_view path) {
  while (!path.empty() && path.front() == '/') path.remove_prefix(1);
  while (!path.empty() && path.back() == '/') path.remove_suffix(1);
  return path;
}

}  // namespace

WebCore& WebCore::GetInstance() {
  static WebRouterTree tree;
  static WebCore core(tree);
  return core;
}

WebCore& WebCore::Use(WebCallback callback) {
  tree_->RegisterMiddleware(std::move(callback));
  return *this;
}

WebCore& WebCore::Use(std::string_view path, WebCallback callback) {
  tree_->RegisterMiddleware(path, std::move(callback));
  return *this;
}

WebCore& WebCore::Use(const WebCallbacks& callbacks) {
  for (const auto& c : callbacks) Use(c);
  return *this;
}

WebCore& WebCore::Use(std::string_view path, const WebCallbacks& callbacks) {
  for (const auto& c : callbacks) Use(path, c);
  return *this;
}

WebCore& WebCore::Register(HttpMethod method, std::string_view path, WebCallback callback) {
  tree_->RegisterRoute(method, path, std::move(callback));
  return *this;
}

WebCoreGroup WebCore::Group() { return WebCoreGroup(*this); }

WebCoreRoute WebCore::Route(std::string_view path) {
  return WebCoreRoute(*this, std::string(path));
}

WebCoreGroup& WebCoreGroup::Prefix(std::string_view prefix) {
  const std::string_view stripped = StripSlashes(prefix);
  std::string joined(1 + stripped.size(), '/');
  stripped.copy(joined.data() + 1, stripped.size());
  prefix_ = std::move(joined);
  return *this;
}

std::string WebCoreGroup::Join(std::string_view path) const {
  const std::string_view stripped = StripSlashes(path);
  std::string joined(prefix_.size() + 1 + stripped.size(), '/');
  prefix_.copy(joined.data(), prefix_.size());
  stripped.copy(joined.data() + prefix_.size() + 1, stripped.size());
  return joined;
}

WebCoreGroup& WebCoreGroup::Use(WebCallback callback) {
  core_->Use(Join(""), std::move(callback));
  return *this;
}

WebCoreGroup& WebCoreGroup::Use(WebCallback middleware, WebCallback callback) {
  core_->Use(Join(""), std::move(middleware));
  core_->Use(Join(""), std::move(callback));
  return *this;
}

WebCoreGroup& WebCoreGroup::Use(const WebCallbacks& callbacks) {
  core_->Use(Join(""), callbacks);
  return *this;
}

WebCoreGroup& WebCoreGroup::Use(const WebCallbacks& callbacks, WebCallback callback) {
  core_->Use(Join(""), callbacks);
  core_->Use(Join(""), std::move(callback));
  return *this;
}

WebCoreRoute WebCoreGroup::Route(std::string_view path) { return core_->Route(Join(path)); }

WebCoreRoute& WebCoreRoute::All(WebCallback callback) {
  core_->Use(path_, std::move(callback));
  return *this;
}

WebCoreRoute& WebCoreRoute::All(WebCallback middleware, WebCallback callback) {
  core_->Use(path_, std::move(middleware));
  core_->Use(path_, std::move(callback));
  return *this;
}

WebCoreRoute& WebCoreRoute::All(const WebCallbacks& callbacks) {
  core_->Use(path_, callbacks);
  return *this;
}

WebCoreRoute& WebCoreRoute::All(const WebCallbacks& callbacks, WebCallback callback) {
  core_->Use(path_, callbacks);
  core_->Use(path_, std::move(callback));
  return *this;
}

}  // namespace quorvane::web::core
