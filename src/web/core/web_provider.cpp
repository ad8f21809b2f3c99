#include "web/core/web_provider.h"

#include <array>
#include <boost/asio/dispatch.hpp>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/strand.hpp>
#include <boost/asio/thread_pool.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/error.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/string_body.hpp>
#include <condition_variable>
#include <future>
#include <iostream>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>
#include <vector>

#include "web/core/http_reader.h"
#include "web/core/text_util.h"
#include "web/core/web_module.h"

namespace quorvane::web::core {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

namespace {

// Socket I/O is light next to the route walks; two threads keep reading and
// writing going while the workers wait on the database.
constexpr int kIoThreads = 2;
// After refusing a request we did not read to its end, we read and discard
// what the client still sends for this long before closing, so that the
// client reads our answer instead of a connection reset.
constexpr std::chrono::seconds kLingerTimeout{2};
constexpr std::size_t kMaxLingerBytes = 1024 * 1024;
// Pause after a failed accept (for example, out of file descriptors) so the
// accept loop does not spin.
constexpr std::chrono::milliseconds kAcceptRetryDelay{50};

}  // namespace

class Connection;

class WebProvider::Server {
 public:
  Server(WebRouterTree& tree, std::chrono::milliseconds read_timeout)
      : tree_(tree),
        read_timeout_(read_timeout),
        work_(asio::make_work_guard(ioc_)),
        acceptor_(asio::make_strand(ioc_)),
        retry_timer_(acceptor_.get_executor()),
        workers_(kMaxRequestsInFlight) {}

  ~Server() { Stop(); }

  void Listen(const std::string& host, int port, int backlog) {
    beast::error_code ec;
    asio::ip::address address = asio::ip::make_address(host, ec);
    if (ec) {
      tcp::resolver resolver(ioc_);
      const auto results = resolver.resolve(host, std::to_string(port), ec);
      if (ec || results.empty()) Fail(host, port, ec ? ec.message() : "host not found");
      address = results.begin()->endpoint().address();
    }
    const tcp::endpoint endpoint(address, static_cast<unsigned short>(port));
    acceptor_.open(endpoint.protocol(), ec);
    if (!ec) acceptor_.set_option(asio::socket_base::reuse_address(true), ec);
    if (!ec) acceptor_.bind(endpoint, ec);
    if (!ec) acceptor_.listen(backlog, ec);
    if (ec) Fail(host, port, ec.message());
    bound_port_ = acceptor_.local_endpoint(ec).port();
    Accept();
    for (int i = 0; i < kIoThreads; ++i) io_threads_.emplace_back([this] { ioc_.run(); });
  }

  // Stops accepting, closes connections that wait for their request, waits
  // for the others to be answered, then ends the threads.
  void Stop();

  int bound_port() const { return bound_port_; }
  WebRouterTree& tree() { return tree_; }
  std::chrono::milliseconds read_timeout() const { return read_timeout_; }
  asio::thread_pool& workers() { return workers_; }

  // Takes one of the kMaxRequestsInFlight slots; false when all are taken.
  bool AcquireSlot() {
    std::size_t current = in_flight_.load();
    do {
      if (current >= kMaxRequestsInFlight) return false;
    } while (!in_flight_.compare_exchange_weak(current, current + 1));
    return true;
  }
  void ReleaseSlot() { in_flight_.fetch_sub(1); }

  // Connections register themselves for the whole of their life.
  bool Register(const std::shared_ptr<Connection>& connection);
  void Unregister(Connection* connection);

 private:
  [[noreturn]] static void Fail(const std::string& host, int port, const std::string& why) {
    throw WebProviderError("Cannot listen on " + host + ":" + std::to_string(port) + ": " + why);
  }

  void Accept();

  WebRouterTree& tree_;
  const std::chrono::milliseconds read_timeout_;
  asio::io_context ioc_;
  asio::executor_work_guard<asio::io_context::executor_type> work_;
  tcp::acceptor acceptor_;
  asio::steady_timer retry_timer_;
  asio::thread_pool workers_;
  std::vector<std::thread> io_threads_;
  int bound_port_ = 0;
  std::atomic<std::size_t> in_flight_{0};

  std::mutex mutex_;
  std::condition_variable drained_;
  std::unordered_map<Connection*, std::weak_ptr<Connection>> connections_;
  bool stopping_ = false;
  bool stopped_ = false;
};

// One accepted connection: reads one request, has it answered on a worker
// thread, writes the answer and closes. All socket work runs on the
// connection's strand.
class Connection : public std::enable_shared_from_this<Connection> {
 public:
  Connection(tcp::socket socket, WebProvider::Server& server)
      : stream_(std::move(socket)), server_(server) {}

  ~Connection() { server_.Unregister(this); }

  void Start() {
    parser_.emplace();
    ConfigureRequestParser(*parser_);
    asio::dispatch(stream_.get_executor(), [self = shared_from_this()] { self->Read(); });
  }

  // Closes the connection if it is still waiting for its request (stop).
  void CloseIfReading() {
    asio::post(stream_.get_executor(), [self = shared_from_this()] {
      if (self->reading_) {
        beast::error_code ec;
        self->stream_.socket().shutdown(tcp::socket::shutdown_both, ec);
        self->stream_.close();
      }
    });
  }

 private:
  void Read() {
    stream_.expires_after(server_.read_timeout());
    http::async_read_some(
        stream_, buffer_, *parser_,
        [self = shared_from_this()](beast::error_code ec, std::size_t) { self->OnRead(ec); });
  }

  void OnRead(beast::error_code ec) {
    if (ec == beast::error::timeout) {
      // The stream has closed the socket already; a client that stalls
      // mid-request gets no answer, as it is not reading one anyway.
      return Close();
    }
    if (ec == http::error::header_limit) {
      return Refuse(431, "The request header section is too large.");
    }
    if (ec == http::error::body_limit) {
      return Refuse(413, "The request body is too large.");
    }
    if (ec == http::error::end_of_stream || ec == http::error::partial_message) {
      return Close();  // the client went away before completing its request
    }
    if (ec && ec.category() == beast::http::make_error_code(http::error::bad_target).category()) {
      return Refuse(400, "The request is malformed (" + ec.message() + ").");
    }
    if (ec) return Close();  // reset, aborted by stop, ...

    if (parser_->is_header_done() && !continue_sent_ && !parser_->is_done()) {
      continue_sent_ = true;
      const auto expect = parser_->get()[http::field::expect];
      if (text::IEquals(expect, "100-continue")) {
        static constexpr std::string_view kContinue = "HTTP/1.1 100 Continue\r\n\r\n";
        stream_.expires_after(kWriteTimeout);
        return asio::async_write(
            stream_, asio::buffer(kContinue.data(), kContinue.size()),
            [self = shared_from_this()](beast::error_code write_ec, std::size_t) {
              if (write_ec) return self->Close();
              self->Read();
            });
      }
    }
    if (!parser_->is_done()) return Read();
    OnRequest();
  }

  void OnRequest() {
    reading_ = false;
    stream_.expires_never();
    ToRawRequest(parser_->get(), raw_req_);
    beast::error_code ec;
    const auto remote = stream_.socket().remote_endpoint(ec);
    if (!ec) raw_req_.remote_address = remote.address().to_string();
    parser_.reset();

    if (!server_.AcquireSlot()) {
      raw_res_.set_status(500);
      raw_res_.SetBodyText(std::string(kTooManyRequestsMessage));
      return Write();
    }
    asio::post(server_.workers(), [self = shared_from_this()] {
      HandlerAction(self->server_.tree(), self->raw_req_, self->raw_res_);
      self->server_.ReleaseSlot();
      asio::post(self->stream_.get_executor(), [self] { self->Write(); });
    });
  }

  // Answers a request that could not be read, then closes.
  void Refuse(int status, std::string message) {
    reading_ = false;
    drain_before_close_ = true;
    SetErrorPage(raw_res_, status, message, raw_req_.raw_path);
    if (parser_ && parser_->is_header_done()) {
      raw_req_.SetTarget(parser_->get().target());
      SetErrorPage(raw_res_, status, message, raw_req_.PathInfo());
    }
    Write();
  }

  void Write() {
    out_ = SerializeResponse(raw_res_, raw_req_.method == "HEAD", raw_req_.PathInfo());
    stream_.expires_after(kWriteTimeout);
    asio::async_write(stream_, asio::buffer(out_),
                      [self = shared_from_this()](beast::error_code ec, std::size_t) {
                        self->raw_res_.set_sent(!ec);
                        if (ec) return self->Close();
                        self->Shutdown();
                      });
  }

  void Shutdown() {
    beast::error_code ec;
    stream_.socket().shutdown(tcp::socket::shutdown_send, ec);
    if (ec || !drain_before_close_) return Close();
    Drain();
  }

  void Drain() {
    stream_.expires_after(kLingerTimeout);
    stream_.async_read_some(asio::buffer(discard_),
                            [self = shared_from_this()](beast::error_code ec, std::size_t n) {
                              self->drained_ += n;
                              if (ec || self->drained_ > kMaxLingerBytes) return self->Close();
                              self->Drain();
                            });
  }

  void Close() {
    beast::error_code ec;
    stream_.socket().close(ec);
  }

  beast::tcp_stream stream_;
  WebProvider::Server& server_;
  beast::flat_buffer buffer_;
  std::optional<RequestParser> parser_;
  RawRequest raw_req_;
  RawResponse raw_res_;
  std::string out_;
  bool reading_ = true;
  bool continue_sent_ = false;
  bool drain_before_close_ = false;
  std::size_t drained_ = 0;
  std::array<char, 8192> discard_{};
};

bool WebProvider::Server::Register(const std::shared_ptr<Connection>& connection) {
  std::lock_guard lock(mutex_);
  if (stopping_) return false;
  connections_.emplace(connection.get(), connection);
  return true;
}

void WebProvider::Server::Unregister(Connection* connection) {
  std::lock_guard lock(mutex_);
  connections_.erase(connection);
  if (connections_.empty()) drained_.notify_all();
}

void WebProvider::Server::Accept() {
  acceptor_.async_accept(asio::make_strand(ioc_), [this](beast::error_code ec, tcp::socket socket) {
    if (ec == asio::error::operation_aborted || !acceptor_.is_open()) return;
    if (ec) {
      retry_timer_.expires_after(kAcceptRetryDelay);
      retry_timer_.async_wait([this](beast::error_code wait_ec) {
        if (!wait_ec && acceptor_.is_open()) Accept();
      });
      return;
    }
    auto connection = std::make_shared<Connection>(std::move(socket), *this);
    if (Register(connection)) connection->Start();
    Accept();
  });
}

void WebProvider::Server::Stop() {
  std::vector<std::shared_ptr<Connection>> open;
  {
    std::lock_guard lock(mutex_);
    if (stopped_) return;
    stopping_ = true;
    for (auto& [ptr, weak] : connections_) {
      if (auto c = weak.lock()) open.push_back(std::move(c));
    }
  }
  if (io_threads_.empty()) {
    // Listen failed before any thread started: nothing runs on the strand.
    beast::error_code ec;
    acceptor_.close(ec);
  } else {
    std::promise<void> closed;
    asio::post(acceptor_.get_executor(), [this, &closed] {
      beast::error_code ec;
      acceptor_.close(ec);
      retry_timer_.cancel();
      closed.set_value();
    });
    closed.get_future().wait();
  }
  for (auto& c : open) c->CloseIfReading();
  open.clear();
  {
    std::unique_lock lock(mutex_);
    drained_.wait(lock, [this] { return connections_.empty(); });
    stopped_ = true;
  }
  work_.reset();
  ioc_.stop();
  for (auto& t : io_threads_) t.join();
  io_threads_.clear();
  workers_.join();
}

WebProvider::WebProvider(WebCore& core) : core_(&core) {}

WebProvider::~WebProvider() {
  if (server_) server_->Stop();
}

WebProvider& WebProvider::GetInstance() {
  static WebProvider provider(WebCore::GetInstance());
  return provider;
}

WebProvider& WebProvider::Port(int port) {
  port_ = port;
  any_port_ = false;
  return *this;
}

WebProvider& WebProvider::Host(std::string host) {
  host_ = std::string(text::Trim(host));
  return *this;
}

WebProvider& WebProvider::ListenQueue(int backlog) {
  listen_queue_ = backlog;
  return *this;
}

WebProvider& WebProvider::ReadTimeout(std::chrono::milliseconds timeout) {
  read_timeout_ = timeout;
  return *this;
}

WebProvider& WebProvider::BindAnyPort() {
  any_port_ = true;
  return *this;
}

int WebProvider::BoundPort() const { return server_ ? server_->bound_port() : 0; }

bool WebProvider::IsRunning() const { return running_; }

void WebProvider::Listen() {
  if (running_) throw WebProviderError("Server already listening");
  const int port = any_port_ ? 0 : (port_ <= 0 ? kDefaultPort : port_);
  const std::string host = host_.empty() ? std::string("0.0.0.0") : host_;
  const int backlog = listen_queue_ <= 0 ? kDefaultListenQueue : listen_queue_;
  auto server = std::make_unique<Server>(core_->Router(), read_timeout_);
  server->Listen(host, port, backlog);
  server_ = std::move(server);
  listened_ = true;
  running_ = true;
  if (on_listen_) on_listen_(*core_);
}

void WebProvider::Listen(int port, std::string host, ListenCallback on_listen,
                         ListenCallback on_stop_listen) {
  Port(port);
  Host(std::move(host));
  Listen(std::move(on_listen), std::move(on_stop_listen));
}

void WebProvider::Listen(int port, ListenCallback on_listen, ListenCallback on_stop_listen) {
  Port(port);
  Listen(std::move(on_listen), std::move(on_stop_listen));
}

void WebProvider::Listen(std::string host, ListenCallback on_listen,
                         ListenCallback on_stop_listen) {
  Host(std::move(host));
  Listen(std::move(on_listen), std::move(on_stop_listen));
}

void WebProvider::Listen(ListenCallback on_listen, ListenCallback on_stop_listen) {
  on_listen_ = std::move(on_listen);
  on_stop_listen_ = std::move(on_stop_listen);
  Listen();
}

void WebProvider::StopListen() {
  if (!listened_) throw WebProviderError("Server not listening");
  if (!server_) return;
  server_->Stop();
  server_.reset();
  if (on_stop_listen_) on_stop_listen_(*core_);
  running_ = false;
}

void WebProvider::Start() {
  Listen(
      [this](WebCore&) {
        // The wording is the one operators and their scripts know.
        std::cout << "Server is runing on " << (host_.empty() ? "0.0.0.0" : host_) << ":"
                  << BoundPort() << std::endl;
        std::cout << "Press return to stop ..." << std::flush;
        std::string line;
        std::getline(std::cin, line);
        StopListen();
      },
      on_stop_listen_);
}

}  // namespace quorvane::web::core
