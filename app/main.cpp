// The server process: installs the middleware chain and the routes, listens
// on the configured port and hands the main thread to the operator console,
// which serves until the stop password, SIGTERM or SIGINT.

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "app/startup.h"
#include "lib/settings.h"
#include "web/core/web_core.h"
#include "web/core/web_provider.h"
#include "web/middleware/tracker.h"

namespace {

using quorvane::web::core::WebCore;
using quorvane::web::core::WebProvider;
using quorvane::web::middleware::WebTracker;

}  // namespace

int main(int argc, char** argv) {
  WebCore& core = WebCore::GetInstance();
  quorvane::app::InstallMiddlewares(core);
  quorvane::app::RegisterControllers(core);

  WebProvider::GetInstance().Port(quorvane::lib::CurrentSettings().port);
  WebTracker& tracker = WebTracker::GetInstance();
  tracker.Arguments(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
  try {
    // Returns after the stop password or SIGINT/SIGTERM, once the provider
    // has stopped and the requests in flight have finished. SIGPIPE is
    // ignored from here on. When standard input ends, the server goes on
    // serving until a signal.
    tracker.Listen("Quorvane");
  } catch (const std::exception& e) {
    std::cerr << "quorvane: " << e.what() << std::endl;
    return 1;
  }
  return 0;
}
