#include "app/startup.h"

#include "web/middleware/compression.h"
#include "web/middleware/cors.h"
#include "web/middleware/etag.h"
#include "web/middleware/json_body.h"
#include "web/middleware/tracker.h"

namespace quorvane::app {

// JSON answers longer than this many bytes are compressed.
constexpr std::size_t kCompressionThreshold = 1024;

void InstallMiddlewares(web::core::WebCore& core) {
  namespace mw = web::middleware;
  core.Use(mw::WebTracker::Tracker);                         // 1
  core.Use(mw::Compression(kCompressionThreshold));          // 2
  core.Use(web::core::WebCallbacks{mw::JsonBody("UTF-8")});  // 3
  core.Use(mw::CORS);                                        // 4
  // 5 Validate and 6 WebJWT(key, "authorization") go here as they land.
  core.Use(mw::eTag);  // 7
}

void RegisterControllers(web::core::WebCore& core) {
  // Controllers 1-30 are registered here as the controller layer lands.
  (void)core;
}

}  // namespace quorvane::app
