#pragma once

#include <cstdint>
#include <memory>
#include <shared_mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "web/core/web_callback.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"

namespace quorvane::web::core {

// Raised when a path parameter is not validly percent-encoded; the request is
// answered 400 Bad Request.
class InvalidPathEncoding : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// The route tree: middleware and handlers per path segment, and the
// dispatcher that walks one request through them.
//
// Paths are split at "/": the first piece (empty for a leading "/") stands
// for the root, later empty pieces are dropped, so /v1/cidade, /v1/cidade/
// and /v1//cidade are the same path. Segments compare exactly (no case
// folding, no decoding). A segment ":name" is a parameter; a literal child
// always beats a parameter child, and between parameters the first
// registered one that can complete the path for the method wins.
//
// Thread-safety: any number of Execute calls run at once. Registration may
// happen while requests are served (it waits for the walks in progress), but
// never from inside a callback of the same tree.
// One registered handler as a walk of the tree finds it.
struct RegisteredRoute {
  HttpMethod method;
  // The node's path: "/" + its segments joined by "/" ("/" for the root,
  // "/v1/negativado/:ID" for a parameter).
  std::string path;
  // The handler's place among all handler registrations of the tree,
  // counting from 0.
  std::uint64_t sequence;

  friend bool operator==(const RegisteredRoute&, const RegisteredRoute&) = default;
};

class WebRouterTree {
 public:
  WebRouterTree();
  ~WebRouterTree();
  WebRouterTree(const WebRouterTree&) = delete;
  WebRouterTree& operator=(const WebRouterTree&) = delete;

  // A handler for `method` at `path` (normalised: "/" + path without its
  // leading and trailing slashes). Handlers of one path and method run in
  // registration order.
  void RegisterRoute(HttpMethod method, std::string_view path, WebCallback callback);
  // Middleware on the root: runs for every request.
  void RegisterMiddleware(WebCallback middleware);
  // Middleware on the node of `path`: runs for requests that pass that node.
  void RegisterMiddleware(std::string_view path, WebCallback middleware);

  // Runs the request through the tree. Returns whether a route was found;
  // when none was, the response is 404 "Not Found". A handler's exception
  // other than WebCallbackInterrupted makes the response 500 "Internal
  // Application Error"; every exception leaves Execute to the caller.
  bool Execute(WebRequest& req, WebResponse& res);

  // Walks the whole tree and lists every handler, one entry per handler (a
  // path and method with two handlers appear twice), in registration order.
  // Middleware is not listed. For diagnostics and for the tests that check
  // what start-up registered.
  std::vector<RegisteredRoute> Routes() const;

  struct Node;

 private:
  std::unique_ptr<Node> root_;
  std::uint64_t registrations_ = 0;
  mutable std::shared_mutex mutex_;
};

// "/" + `path` without its leading and trailing "/" characters.
std::string NormalizeRoutePath(std::string_view path);

// Decodes a path parameter: "%XX" → byte XX, "%%" → "%", "+" → space.
// Throws InvalidPathEncoding on a malformed escape or when the result is
// not valid UTF-8.
std::string DecodeParam(std::string_view text);

}  // namespace quorvane::web::core
