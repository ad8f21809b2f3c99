#include "app/startup.h"

namespace quorvane::app {

void InstallMiddlewares(web::core::WebCore& core) {
  // Positions 1-7 are added here as the middleware layer lands.
  (void)core;
}

void RegisterControllers(web::core::WebCore& core) {
  // Controllers 1-30 are registered here as the controller layer lands.
  (void)core;
}

}  // namespace quorvane::app
