// The server process: installs the middleware chain and the routes, listens
// on the configured port and serves until SIGTERM or SIGINT.

#include <pthread.h>

#include <csignal>
#include <exception>
#include <iostream>

#include "app/startup.h"
#include "lib/settings.h"
#include "web/core/web_core.h"
#include "web/core/web_provider.h"

namespace {

using quorvane::web::core::WebCore;
using quorvane::web::core::WebProvider;

}  // namespace

int main() {
  // SIGINT and SIGTERM are taken with sigwait on the main thread; they are
  // blocked before any thread starts so that every thread inherits the mask.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  WebCore& core = WebCore::GetInstance();
  quorvane::app::InstallMiddlewares(core);
  quorvane::app::RegisterControllers(core);

  WebProvider& web = WebProvider::GetInstance();
  web.Port(quorvane::lib::CurrentSettings().port);
  try {
    // Standard input is not read: the server keeps serving when it ends.
    web.Listen(
        [&](WebCore&) {
          int signal_number = 0;
          sigwait(&stop_signals, &signal_number);
        },
        nullptr);
    web.StopListen();  // lets the requests in flight finish
  } catch (const std::exception& e) {
    std::cerr << "quorvane: " << e.what() << std::endl;
    return 1;
  }
  return 0;
}
