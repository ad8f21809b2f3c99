#pragma once

#include <functional>

#include "web/core/router_tree.h"
#include "web/core/web_core.h"
#include "web/core/web_provider.h"

namespace quorvane::web::middleware::testing {

// A real provider on an ephemeral port over a tree of its own, so that each
// suite installs exactly the chain it tests.
class ChainServer {
 public:
  // `setup` registers middlewares and routes before the server listens.
  explicit ChainServer(const std::function<void(core::WebCore&)>& setup)
      : core_(tree_), provider_(core_) {
    setup(core_);
    provider_.BindAnyPort();
    provider_.Listen(core::WebProvider::ListenCallback(), core::WebProvider::ListenCallback());
    port_ = provider_.BoundPort();
  }
  ~ChainServer() {
    if (provider_.IsRunning()) provider_.StopListen();
  }
  ChainServer(const ChainServer&) = delete;
  ChainServer& operator=(const ChainServer&) = delete;

  int port() const { return port_; }
  core::WebProvider& provider() { return provider_; }

 private:
  core::WebRouterTree tree_;
  core::WebCore core_;
  core::WebProvider provider_;
  int port_ = 0;
};

}  // namespace quorvane::web::middleware::testing
