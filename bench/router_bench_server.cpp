// A server with one trivial route (GET /ping → "pong") for load tests of the
// HTTP provider alone. Prints the bound port on its first line and serves
// until SIGINT or SIGTERM.
//
//   router_bench_server [port]     (port 0 or none: an ephemeral port)

#include <pthread.h>

#include <csignal>
#include <cstdlib>
#include <iostream>

#include "web/core/web_core.h"
#include "web/core/web_provider.h"

int main(int argc, char** argv) {
  using namespace quorvane::web::core;
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

  WebRouterTree tree;
  WebCore core(tree);
  core.Get("/ping", [](WebRequest&, WebResponse& res, const WebNext&) {
    res.Send("pong").ContentType("text/plain");
  });
  WebProvider web(core);
  const int port = argc > 1 ? std::atoi(argv[1]) : 0;
  if (port > 0) {
    web.Port(port);
  } else {
    web.BindAnyPort();
  }
  web.Host("127.0.0.1");
  web.Listen(
      [&](WebCore&) {
        std::cout << web.BoundPort() << std::endl;
        int signal_number = 0;
        sigwait(&stop_signals, &signal_number);
      },
      nullptr);
  web.StopListen();
  return 0;
}
