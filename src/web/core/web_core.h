#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "web/core/router_tree.h"
#include "web/core/web_callback.h"

namespace quorvane::web::core {

class WebCoreGroup;
class WebCoreRoute;

using WebCallbacks = std::vector<WebCallback>;

// The registry through which start-up and the controllers attach middleware
// and handlers to a route tree. Every operation returns the core so calls
// chain:
//
//   WebCore::GetInstance().Use(Tracker()).Use(Compression(1024));
//   WebCore::GetInstance().Group().Prefix("/v1/filial").Get("/", List).Get("/:ID", One);
//
// Register before the provider starts listening.
class WebCore {
 public:
  // A core over its own tree (tests, benchmarks, a second server).
  explicit WebCore(WebRouterTree& tree) : tree_(&tree) {}

  // The process-wide core over the process-wide tree, created on first use.
  static WebCore& GetInstance();

  WebRouterTree& Router() { return *tree_; }

  // Middleware: on the root, or on the node of `path`; list forms register
  // each element in list order.
  WebCore& Use(WebCallback callback);
  WebCore& Use(std::string_view path, WebCallback callback);
  WebCore& Use(const WebCallbacks& callbacks);
  WebCore& Use(std::string_view path, const WebCallbacks& callbacks);

  // Handlers. The shapes with a middleware or a list register each callback
  // as a handler of the path and method, in the order given; a "middleware"
  // given here is simply the first handler.
  WebCore& Register(HttpMethod method, std::string_view path, WebCallback callback);

#define QV_WEB_CORE_METHOD(Name, Code)                                                        \
  WebCore& Name(std::string_view path, WebCallback callback) {                                \
    return Register(Code, path, std::move(callback));                                         \
  }                                                                                           \
  WebCore& Name(std::string_view path, WebCallback middleware, WebCallback callback) {        \
    Register(Code, path, std::move(middleware));                                              \
    return Register(Code, path, std::move(callback));                                         \
  }                                                                                           \
  WebCore& Name(std::string_view path, const WebCallbacks& callbacks) {                       \
    for (const auto& c : callbacks) Register(Code, path, c);                                  \
    return *this;                                                                             \
  }                                                                                           \
  WebCore& Name(std::string_view path, const WebCallbacks& callbacks, WebCallback callback) { \
    Name(path, callbacks);                                                                    \
    return Register(Code, path, std::move(callback));                                         \
  }
  QV_WEB_CORE_METHOD(Get, HttpMethod::kGet)
  QV_WEB_CORE_METHOD(Put, HttpMethod::kPut)
  QV_WEB_CORE_METHOD(Post, HttpMethod::kPost)
  QV_WEB_CORE_METHOD(Patch, HttpMethod::kPatch)
  QV_WEB_CORE_METHOD(Head, HttpMethod::kHead)
  QV_WEB_CORE_METHOD(Delete, HttpMethod::kDelete)
#undef QV_WEB_CORE_METHOD

  // A group with an empty prefix.
  WebCoreGroup Group();
  // A route builder for `path`.
  WebCoreRoute Route(std::string_view path);

 private:
  WebRouterTree* tree_;
};

// Registers paths under a common prefix. A small value: keep it, or chain on
// the temporary. `Prefix("/v1/filial").Get("/", h)` registers /v1/filial.
class WebCoreGroup {
 public:
  explicit WebCoreGroup(WebCore& core) : core_(&core) {}

  // Replaces the prefix by "/" + `prefix` without leading/trailing "/".
  WebCoreGroup& Prefix(std::string_view prefix);
  const std::string& prefix() const { return prefix_; }

  // Middleware on the group's own node, in the order given.
  WebCoreGroup& Use(WebCallback callback);
  WebCoreGroup& Use(WebCallback middleware, WebCallback callback);
  WebCoreGroup& Use(const WebCallbacks& callbacks);
  WebCoreGroup& Use(const WebCallbacks& callbacks, WebCallback callback);

#define QV_WEB_GROUP_METHOD(Name)                                                                  \
  WebCoreGroup& Name(std::string_view path, WebCallback callback) {                                \
    core_->Name(Join(path), std::move(callback));                                                  \
    return *this;                                                                                  \
  }                                                                                                \
  WebCoreGroup& Name(std::string_view path, WebCallback middleware, WebCallback callback) {        \
    core_->Name(Join(path), std::move(middleware), std::move(callback));                           \
    return *this;                                                                                  \
  }                                                                                                \
  WebCoreGroup& Name(std::string_view path, const WebCallbacks& callbacks) {                       \
    core_->Name(Join(path), callbacks);                                                            \
    return *this;                                                                                  \
  }                                                                                                \
  WebCoreGroup& Name(std::string_view path, const WebCallbacks& callbacks, WebCallback callback) { \
    core_->Name(Join(path), callbacks, std::move(callback));                                       \
    return *this;                                                                                  \
  }
  QV_WEB_GROUP_METHOD(Get)
  QV_WEB_GROUP_METHOD(Put)
  QV_WEB_GROUP_METHOD(Post)
  QV_WEB_GROUP_METHOD(Patch)
  QV_WEB_GROUP_METHOD(Head)
  QV_WEB_GROUP_METHOD(Delete)
#undef QV_WEB_GROUP_METHOD

  // A route builder for the joined path.
  WebCoreRoute Route(std::string_view path);
  WebCore& End() { return *core_; }

  // prefix + "/" + `path` without leading/trailing "/".
  std::string Join(std::string_view path) const;

 private:
  WebCore* core_;
  std::string prefix_;
};

// Registers several methods on one path.
class WebCoreRoute {
 public:
  WebCoreRoute(WebCore& core, std::string path) : core_(&core), path_(std::move(path)) {}

  WebCoreRoute& This() { return *this; }
  const std::string& path() const { return path_; }

  // Middleware on the route's path.
  WebCoreRoute& All(WebCallback callback);
  WebCoreRoute& All(WebCallback middleware, WebCallback callback);
  WebCoreRoute& All(const WebCallbacks& callbacks);
  WebCoreRoute& All(const WebCallbacks& callbacks, WebCallback callback);

#define QV_WEB_ROUTE_METHOD(Name)                                           \
  WebCoreRoute& Name(WebCallback callback) {                                \
    core_->Name(path_, std::move(callback));                                \
    return *this;                                                           \
  }                                                                         \
  WebCoreRoute& Name(WebCallback middleware, WebCallback callback) {        \
    core_->Name(path_, std::move(middleware), std::move(callback));         \
    return *this;                                                           \
  }                                                                         \
  WebCoreRoute& Name(const WebCallbacks& callbacks) {                       \
    core_->Name(path_, callbacks);                                          \
    return *this;                                                           \
  }                                                                         \
  WebCoreRoute& Name(const WebCallbacks& callbacks, WebCallback callback) { \
    core_->Name(path_, callbacks, std::move(callback));                     \
    return *this;                                                           \
  }
  QV_WEB_ROUTE_METHOD(Get)
  QV_WEB_ROUTE_METHOD(Put)
  QV_WEB_ROUTE_METHOD(Post)
  QV_WEB_ROUTE_METHOD(Patch)
  QV_WEB_ROUTE_METHOD(Head)
  QV_WEB_ROUTE_METHOD(Delete)
#undef QV_WEB_ROUTE_METHOD

  WebCore& End() { return *core_; }

 private:
  WebCore* core_;
  std::string path_;
};

}  // namespace quorvane::web::core
