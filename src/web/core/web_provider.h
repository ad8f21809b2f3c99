#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "web/core/web_core.h"

namespace quorvane::web::core {

// At most this many requests are processed at once; the next one is refused
// with status 500 and kTooManyRequestsMessage. Sized for the database: every
// request in flight may hold a database connection.
inline constexpr std::size_t kMaxRequestsInFlight = 32;
inline constexpr std::string_view kTooManyRequestsMessage =
    "Maximum number of concurrent connections exceeded.  Please try again later";
// Port used when none (or one below 1) is set.
inline constexpr int kDefaultPort = 9000;
// Listen backlog: connections the kernel queues before we accept them.
inline constexpr int kDefaultListenQueue = 15;
// Largest request head (request line and headers) we read. Real clients send
// a few hundred bytes; a bigger head is an attack or a broken client (431).
inline constexpr std::size_t kMaxHeaderBytes = 64 * 1024;
// Largest request body. The biggest uploads (price tables of a branch) stay
// well below this; anything larger is refused before it is buffered (413).
inline constexpr std::size_t kMaxBodyBytes = 32 * 1024 * 1024;
// A client that sends nothing for this long while its request is incomplete
// is disconnected, so that slow clients cannot hold connections open.
inline constexpr std::chrono::seconds kDefaultReadTimeout{30};
// A client that does not take its answer within this time is cut off, for the
// same reason.
inline constexpr std::chrono::seconds kWriteTimeout{30};

// Raised when stopping a provider that is not listening.
class WebProviderError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The HTTP provider: binds the address and port, accepts connections, parses
// requests, runs each one through the route tree on a worker thread and
// writes the answer. One request per connection (Connection: close).
//
//   WebProvider& web = WebProvider::GetInstance();
//   web.Port(9001);
//   web.Listen([](WebCore&) { /* serving now; block here or return */ }, nullptr);
class WebProvider {
 public:
  using ListenCallback = std::function<void(WebCore&)>;

  // A provider serving `core`'s tree.
  explicit WebProvider(WebCore& core);
  ~WebProvider();  // stops listening
  WebProvider(const WebProvider&) = delete;
  WebProvider& operator=(const WebProvider&) = delete;

  // The process-wide provider over WebCore::GetInstance().
  static WebProvider& GetInstance();

  // 0 or less means kDefaultPort.
  WebProvider& Port(int port);
  int Port() const { return port_; }
  // Empty means "0.0.0.0" (all interfaces); blanks around it are trimmed.
  WebProvider& Host(std::string host);
  const std::string& Host() const { return host_; }
  // 0 means kDefaultListenQueue.
  WebProvider& ListenQueue(int backlog);
  // Idle time allowed while a request is being received (kDefaultReadTimeout).
  WebProvider& ReadTimeout(std::chrono::milliseconds timeout);

  // Binds and starts serving, then calls the on-listen callback (if any) on
  // the calling thread and returns when it returns. Throws on bind failure
  // (for example, the port is in use). Port 0 given through BindAnyPort()
  // binds an ephemeral port; BoundPort() tells which.
  void Listen();
  void Listen(int port, std::string host, ListenCallback on_listen, ListenCallback on_stop_listen);
  void Listen(int port, ListenCallback on_listen, ListenCallback on_stop_listen);
  void Listen(std::string host, ListenCallback on_listen, ListenCallback on_stop_listen);
  void Listen(ListenCallback on_listen, ListenCallback on_stop_listen);

  // Stops accepting, closes connections still waiting for their request, lets
  // requests in flight finish, then calls the on-stop-listen callback. Throws
  // WebProviderError("Server not listening") when the provider never
  // listened; stopping again is a no-op. Never call it from a callback of the
  // tree it serves (it would wait for itself).
  void StopListen();
  void Stop() { StopListen(); }

  // Listens with an on-listen callback that prints where it serves and waits
  // for Enter on standard input, then stops.
  void Start();

  bool IsRunning() const;

  // Makes the next Listen bind an ephemeral port (tests).
  WebProvider& BindAnyPort();
  // The port actually bound; 0 when not listening.
  int BoundPort() const;

  WebCore& Core() { return *core_; }

  class Server;

 private:
  WebCore* core_;
  int port_ = 0;
  bool any_port_ = false;
  std::string host_;
  int listen_queue_ = 0;
  std::chrono::milliseconds read_timeout_ = kDefaultReadTimeout;
  ListenCallback on_listen_;
  ListenCallback on_stop_listen_;
  std::unique_ptr<Server> server_;
  bool listened_ = false;
  std::atomic<bool> running_{false};
};

}  // namespace quorvane::web::core
