// End-to-end tests of the HTTP provider over real sockets on an ephemeral
// port.

#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "web/core/web_core.h"
#include "web/core/web_provider.h"

namespace quorvane::web::core {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

int Connect(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<std::uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

void SendAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n <= 0) return;  // the server may close early (refusals); the answer tells
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

// Reads until the server closes the connection or `timeout` passes.
std::string ReadAll(int fd, std::chrono::milliseconds timeout = 20s) {
  std::string out;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  char buf[16384];
  while (true) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left <= 0ms) break;
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
    if (n <= 0) break;
    out.append(buf, static_cast<std::size_t>(n));
  }
  return out;
}

struct Reply {
  int status = 0;
  std::string head;
  std::string body;
  bool closed = false;  // the exchange ended because the server closed
};

Reply Parse(const std::string& bytes) {
  Reply r;
  if (bytes.size() > 12 && bytes.starts_with("HTTP/1.1 ")) r.status = std::stoi(bytes.substr(9, 3));
  const auto end = bytes.find("\r\n\r\n");
  r.head = bytes.substr(0, end == std::string::npos ? bytes.size() : end + 2);
  if (end != std::string::npos) r.body = bytes.substr(end + 4);
  return r;
}

Reply Exchange(int port, std::string_view request) {
  const int fd = Connect(port);
  if (fd < 0) return {};
  SendAll(fd, request);
  Reply r = Parse(ReadAll(fd));
  ::close(fd);
  return r;
}

std::string Get(std::string_view target, std::string_view extra_headers = "") {
  return "GET " + std::string(target) + " HTTP/1.1\r\nHost: t\r\n" + std::string(extra_headers) +
         "\r\n";
}

class HttpProviderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    core_.Get("/hello", [](WebRequest&, WebResponse& res, const WebNext&) { res.Send("hi"); });
    core_.Get("/echo/:word", [](WebRequest& req, WebResponse& res, const WebNext&) {
      res.Send(req.Params().at("word") + "|" + req.RawWebRequest().remote_address + "|" +
               req.RawWebRequest().protocol_version + "|" + req.Query().begin()->second);
    });
    core_.Get("/auth", [](WebRequest& req, WebResponse& res, const WebNext&) {
      res.Send("auth=" + req.Headers("authorization"));
    });
    core_.Post("/body", [](WebRequest& req, WebResponse& res, const WebNext&) {
      res.Send("len=" + std::to_string(req.Body().size()) + " head=" + req.Body().substr(0, 10));
    });
    for (auto [method, name] : {std::pair{HttpMethod::kDelete, "DELETE"},
                                {HttpMethod::kPut, "PUT"},
                                {HttpMethod::kPost, "POST"}}) {
      core_.Register(method, "/method",
                     [name](WebRequest&, WebResponse& res, const WebNext&) { res.Send(name); });
    }
    core_.Get("/nocontent", [](WebRequest&, WebResponse& res, const WebNext&) {
      res.Send("ignored").Status(204);
    });
    core_.Get("/empty", [](WebRequest&, WebResponse& res, const WebNext&) { res.Status(403); });
    core_.Get("/fail", [](WebRequest&, WebResponse&, const WebNext&) {
      throw std::runtime_error("lost connection to the database");
    });
    web_.BindAnyPort().Host("127.0.0.1");
  }

  void TearDown() override {
    if (web_.IsRunning()) web_.StopListen();
  }

  int Listen() {
    web_.Listen(nullptr, nullptr);
    return web_.BoundPort();
  }

  WebRouterTree tree_;
  WebCore core_{tree_};
  WebProvider web_{core_};
};

TEST_F(HttpProviderTest, AnswersAndClosesTheConnection) {
  const int port = Listen();
  const Reply r = Exchange(port, Get("/hello"));
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.body, "hi");
  EXPECT_THAT(r.head, HasSubstr("Connection: close\r\n"));
  EXPECT_THAT(r.head, HasSubstr("Content-Type: text/html; charset=utf-8\r\n"));
}

TEST_F(HttpProviderTest, RequestDetailsReachTheHandler) {
  const int port = Listen();
  const Reply r = Exchange(port, "GET /echo/a%20b?q=x+y HTTP/1.0\r\n\r\n");
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.body, "a b|127.0.0.1|HTTP/1.0|x y");
}

TEST_F(HttpProviderTest, UnknownPathIs404) {
  const int port = Listen();
  const Reply r = Exchange(port, Get("/nowhere"));
  EXPECT_EQ(r.status, 404);
  EXPECT_EQ(r.body, "Not Found");
}

TEST_F(HttpProviderTest, MethodOverrideHeadersOnPost) {
  const int port = Listen();
  struct Case {
    std::string_view request_method, header, want;
  };
  for (const Case& c :
       {Case{"POST", "X-HTTP-Method-Override: delete", "DELETE"},
        Case{"POST", "X-HTTP-Method: PUT", "PUT"},
        Case{"POST", "x-method-override: Delete", "DELETE"}, Case{"POST", "", "POST"},
        Case{"PUT", "X-HTTP-Method-Override: DELETE", "PUT"}}) {
    SCOPED_TRACE(c.header);
    const std::string request = std::string(c.request_method) +
                                " /method HTTP/1.1\r\nHost: t\r\nContent-Length: 0\r\n" +
                                (c.header.empty() ? "" : std::string(c.header) + "\r\n") + "\r\n";
    const Reply r = Exchange(port, request);
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(r.body, c.want);
  }
}

TEST_F(HttpProviderTest, EveryAuthorizationSchemePassesThrough) {
  const int port = Listen();
  for (std::string_view value : {"Basic dXNlcjpwYXNz", "Bearer eyJ.abc.def", "Negotiate YIIx",
                                 "Digest username=\"u\"", "whatever"}) {
    SCOPED_TRACE(value);
    const Reply r = Exchange(port, Get("/auth", "Authorization: " + std::string(value) + "\r\n"));
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(r.body, "auth=" + std::string(value));
  }
}

TEST_F(HttpProviderTest, NoBodyFor204AndHead) {
  const int port = Listen();
  Reply r = Exchange(port, Get("/nocontent"));
  EXPECT_EQ(r.status, 204);
  EXPECT_EQ(r.body, "");
  r = Exchange(port, "HEAD /hello HTTP/1.1\r\nHost: t\r\n\r\n");
  EXPECT_EQ(r.status, 404);  // no HEAD route: the walk answers 404, without a body
  EXPECT_EQ(r.body, "");
  EXPECT_THAT(r.head, HasSubstr("Content-Length: 0\r\n"));
}

TEST_F(HttpProviderTest, EmptyBodyGetsAnHtmlPage) {
  const int port = Listen();
  const Reply r = Exchange(port, Get("/empty"));
  EXPECT_EQ(r.status, 403);
  EXPECT_THAT(r.body, HasSubstr("403 Forbidden"));
}

TEST_F(HttpProviderTest, HandlerErrorGivesErrorPageWithMessageAndPath) {
  const int port = Listen();
  const Reply r = Exchange(port, Get("/fail"));
  EXPECT_EQ(r.status, 500);
  EXPECT_THAT(r.body, HasSubstr("lost connection to the database"));
  EXPECT_THAT(r.body, HasSubstr("/fail"));
}

TEST_F(HttpProviderTest, MalformedParameterIsBadRequest) {
  const int port = Listen();
  EXPECT_EQ(Exchange(port, Get("/echo/%ZZ?q=1")).status, 400);
}

struct BadRequestCase {
  std::string_view name;
  std::string request;
  int status;
};

class HttpBadRequestTest : public HttpProviderTest,
                           public ::testing::WithParamInterface<BadRequestCase> {};

TEST_P(HttpBadRequestTest, IsRefusedWithAClearStatus) {
  const int port = Listen();
  const Reply r = Exchange(port, GetParam().request);
  EXPECT_EQ(r.status, GetParam().status);
  EXPECT_THAT(r.head, HasSubstr("Connection: close"));
  // The server still serves afterwards.
  EXPECT_EQ(Exchange(port, Get("/hello")).status, 200);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HttpBadRequestTest,
    ::testing::Values(
        BadRequestCase{"GarbageRequestLine", "HELLO\r\n\r\n", 400},
        BadRequestCase{"MissingVersion", "GET /hello\r\n\r\n", 400},
        BadRequestCase{"BadVersion", "GET /hello HTTP/9.x\r\n\r\n", 400},
        BadRequestCase{"HeaderWithoutColon", "GET /hello HTTP/1.1\r\nHost t\r\n\r\n", 400},
        BadRequestCase{"SpaceInHeaderName", "GET /hello HTTP/1.1\r\nHo st: t\r\n\r\n", 400},
        BadRequestCase{"HeaderTooLarge",
                       "GET /hello HTTP/1.1\r\nX-Big: " + std::string(65 * 1024, 'a') + "\r\n\r\n",
                       431},
        BadRequestCase{"ManyHeadersTooLarge",
                       [] {
                         std::string r = "GET /hello HTTP/1.1\r\n";
                         for (int i = 0; i < 2000; ++i)
                           r += "X-H" + std::to_string(i) + ": " + std::string(40, 'v') + "\r\n";
                         return r + "\r\n";
                       }(),
                       431},
        BadRequestCase{"BodyTooLarge",
                       "POST /body HTTP/1.1\r\nHost: t\r\nContent-Length: 33554433\r\n\r\nabc",
                       413},
        BadRequestCase{"ChunkedBodyTooLarge",
                       [] {
                         std::string r =
                             "POST /body HTTP/1.1\r\nHost: t\r\nTransfer-Encoding: chunked\r\n\r\n";
                         const std::string chunk(1024 * 1024, 'x');
                         for (int i = 0; i < 33; ++i) r += "100000\r\n" + chunk + "\r\n";
                         return r + "0\r\n\r\n";
                       }(),
                       413},
        BadRequestCase{"LengthAndChunked",
                       "POST /body HTTP/1.1\r\nHost: t\r\nContent-Length: 3\r\n"
                       "Transfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n",
                       400},
        BadRequestCase{"ChunkedAndLength",
                       "POST /body HTTP/1.1\r\nHost: t\r\nTransfer-Encoding: chunked\r\n"
                       "Content-Length: 3\r\n\r\n3\r\nabc\r\n0\r\n\r\n",
                       400},
        BadRequestCase{"ConflictingLengths",
                       "POST /body HTTP/1.1\r\nHost: t\r\nContent-Length: 3\r\n"
                       "Content-Length: 4\r\n\r\nabcd",
                       400},
        BadRequestCase{"NegativeLength",
                       "POST /body HTTP/1.1\r\nHost: t\r\nContent-Length: -1\r\n\r\n", 400},
        BadRequestCase{"BadChunkSize",
                       "POST /body HTTP/1.1\r\nHost: t\r\nTransfer-Encoding: chunked\r\n\r\n"
                       "zz\r\nabc\r\n0\r\n\r\n",
                       400}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HttpProviderTest, BodiesByLengthAndChunked) {
  const int port = Listen();
  Reply r = Exchange(port, "POST /body HTTP/1.1\r\nHost: t\r\nContent-Length: 5\r\n\r\nhello");
  EXPECT_EQ(r.body, "len=5 head=hello");
  r = Exchange(port,
               "POST /body HTTP/1.1\r\nHost: t\r\nTransfer-Encoding: chunked\r\n\r\n"
               "3\r\nabc\r\n4\r\ndefg\r\n0\r\n\r\n");
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.body, "len=7 head=abcdefg");
  const std::string big(4 * 1024 * 1024, 'z');
  r = Exchange(port, "POST /body HTTP/1.1\r\nHost: t\r\nContent-Length: " +
                         std::to_string(big.size()) + "\r\n\r\n" + big);
  EXPECT_EQ(r.body, "len=4194304 head=zzzzzzzzzz");
}

TEST_F(HttpProviderTest, ExpectContinueGetsAnInterimAnswer) {
  const int port = Listen();
  const int fd = Connect(port);
  ASSERT_GE(fd, 0);
  SendAll(fd,
          "POST /body HTTP/1.1\r\nHost: t\r\nContent-Length: 3\r\nExpect: 100-continue\r\n\r\n");
  char buf[64];
  pollfd p{fd, POLLIN, 0};
  ASSERT_EQ(::poll(&p, 1, 5000), 1);
  const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
  ASSERT_GT(n, 0);
  EXPECT_EQ(std::string(buf, static_cast<std::size_t>(n)), "HTTP/1.1 100 Continue\r\n\r\n");
  SendAll(fd, "abc");
  const Reply r = Parse(ReadAll(fd));
  ::close(fd);
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.body, "len=3 head=abc");
}

TEST_F(HttpProviderTest, StalledClientIsCutOff) {
  web_.ReadTimeout(300ms);
  const int port = Listen();
  for (std::string_view partial :
       {std::string_view(""), std::string_view("GET /hello HTTP/1.1\r\nHost:"),
        std::string_view("POST /body HTTP/1.1\r\nContent-Length: 10\r\n\r\nabc")}) {
    SCOPED_TRACE(partial);
    const int fd = Connect(port);
    ASSERT_GE(fd, 0);
    SendAll(fd, partial);
    const auto start = std::chrono::steady_clock::now();
    const std::string bytes = ReadAll(fd, 10s);
    const auto waited = std::chrono::steady_clock::now() - start;
    ::close(fd);
    EXPECT_GE(waited, 250ms);  // the timeout is idle time, not zero
    EXPECT_LT(waited, 5s);     // cut off, not left hanging
    EXPECT_EQ(bytes, "");
  }
}

TEST_F(HttpProviderTest, SlowButSteadyClientIsServed) {
  web_.ReadTimeout(300ms);
  const int port = Listen();
  const int fd = Connect(port);
  ASSERT_GE(fd, 0);
  SendAll(fd, "POST /body HTTP/1.1\r\nHost: t\r\nContent-Length: 6\r\n\r\n");
  for (std::string_view piece : {"ab", "cd", "ef"}) {
    std::this_thread::sleep_for(150ms);  // 450 ms in all, never 300 ms idle
    SendAll(fd, piece);
  }
  const Reply r = Parse(ReadAll(fd));
  ::close(fd);
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.body, "len=6 head=abcdef");
}

TEST_F(HttpProviderTest, AtMost32RequestsInFlight) {
  std::mutex mutex;
  std::condition_variable changed;
  int entered = 0;
  bool release = false;
  core_.Get("/block", [&](WebRequest&, WebResponse& res, const WebNext&) {
    std::unique_lock lock(mutex);
    ++entered;
    changed.notify_all();
    changed.wait(lock, [&] { return release; });
    res.Send("done");
  });
  const int port = Listen();
  std::vector<std::future<Reply>> blocked;
  for (std::size_t i = 0; i < kMaxRequestsInFlight; ++i) {
    blocked.push_back(
        std::async(std::launch::async, [port] { return Exchange(port, Get("/block")); }));
  }
  {
    std::unique_lock lock(mutex);
    ASSERT_TRUE(changed.wait_for(
        lock, 20s, [&] { return entered == static_cast<int>(kMaxRequestsInFlight); }));
  }
  const Reply refused = Exchange(port, Get("/hello"));
  EXPECT_EQ(refused.status, 500);
  EXPECT_EQ(refused.body,
            "Maximum number of concurrent connections exceeded.  Please try again later");
  {
    std::lock_guard lock(mutex);
    release = true;
  }
  changed.notify_all();
  for (auto& f : blocked) {
    const Reply r = f.get();
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(r.body, "done");
  }
  EXPECT_EQ(Exchange(port, Get("/hello")).status, 200);  // slots are given back
}

TEST(HttpProviderLifecycleTest, ListenStopAndCallbacks) {
  WebRouterTree tree;
  WebCore core(tree);
  WebProvider web(core);
  EXPECT_FALSE(web.IsRunning());
  try {
    web.StopListen();
    ADD_FAILURE() << "stop before listen must fail";
  } catch (const WebProviderError& e) {
    EXPECT_STREQ(e.what(), "Server not listening");
  }

  std::vector<std::string> calls;
  int port = 0;
  web.BindAnyPort().Host("  127.0.0.1 ");
  EXPECT_EQ(web.Host(), "127.0.0.1");
  web.Listen(
      [&](WebCore& c) {
        calls.push_back("listen");
        EXPECT_EQ(&c, &core);
        EXPECT_TRUE(web.IsRunning());
        port = web.BoundPort();
      },
      [&](WebCore& c) {
        calls.push_back("stop");
        EXPECT_EQ(&c, &core);
      });
  ASSERT_GT(port, 0);
  const int fd = Connect(port);
  EXPECT_GE(fd, 0);
  ::close(fd);
  web.StopListen();
  EXPECT_FALSE(web.IsRunning());
  EXPECT_EQ(calls, (std::vector<std::string>{"listen", "stop"}));
  EXPECT_EQ(Connect(port), -1);  // refused at connection level
  EXPECT_NO_THROW(web.StopListen());
}

TEST(HttpProviderLifecycleTest, BindFailurePropagates) {
  WebRouterTree tree;
  WebCore core(tree);
  WebProvider first(core);
  first.BindAnyPort().Host("127.0.0.1").Listen(nullptr, nullptr);
  WebProvider second(core);
  bool called = false;
  EXPECT_THROW(second.Listen(
                   first.BoundPort(), "127.0.0.1", [&](WebCore&) { called = true; }, nullptr),
               WebProviderError);
  EXPECT_FALSE(called);
  EXPECT_FALSE(second.IsRunning());
  first.StopListen();
}

TEST(HttpProviderLifecycleTest, StopLetsRequestsInFlightFinish) {
  WebRouterTree tree;
  WebCore core(tree);
  std::promise<void> entered;
  std::promise<void> release;
  auto release_future = release.get_future().share();
  core.Get("/slow", [&](WebRequest&, WebResponse& res, const WebNext&) {
    entered.set_value();
    release_future.wait();
    res.Send("finished");
  });
  WebProvider web(core);
  web.BindAnyPort().Host("127.0.0.1").Listen(nullptr, nullptr);
  const int port = web.BoundPort();
  auto slow = std::async(std::launch::async, [port] { return Exchange(port, Get("/slow")); });
  // A connection that never sends its request is closed by the stop.
  const int idle = Connect(port);
  ASSERT_GE(idle, 0);
  entered.get_future().wait();
  auto stopping = std::async(std::launch::async, [&] { web.StopListen(); });
  EXPECT_EQ(stopping.wait_for(200ms), std::future_status::timeout);
  release.set_value();
  const Reply r = slow.get();
  stopping.get();
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.body, "finished");
  EXPECT_EQ(ReadAll(idle, 5s), "");
  ::close(idle);
}

}  // namespace
}  // namespace quorvane::web::core
