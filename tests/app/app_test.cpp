// The server executable seen from outside: it serves on the configured port
// with standard input closed, stops cleanly on SIGTERM and SIGINT, and fails
// with a message and a non-zero code when it cannot bind.

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

// A listening socket on an ephemeral loopback port; closing it frees the port
// for the server under test.
struct Listener {
  Listener() {
    fd = ::socket(AF_INET, SOCK_STREAM, 0);
    int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::listen(fd, 1);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    port = ntohs(addr.sin_port);
  }
  ~Listener() { Close(); }
  void Close() {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
  int fd = -1;
  int port = 0;
};

struct Server {
  pid_t pid = -1;
  std::string stderr_path;
};

// Starts the server with standard input at end of file.
Server Start(int port) {
  Server s;
  s.stderr_path = ::testing::TempDir() + "quorvane_stderr_" + std::to_string(port);
  s.pid = ::fork();
  if (s.pid == 0) {
    const int in = ::open("/dev/null", O_RDONLY);
    const int out = ::open("/dev/null", O_WRONLY);
    const int err = ::open(s.stderr_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    ::setenv("QUORVANE_PORT", std::to_string(port).c_str(), 1);
    ::execl(QV_SERVER_BINARY, QV_SERVER_BINARY, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  return s;
}

// Waits for the process to end; returns its exit status, or -1 on time-out
// (the process is then killed).
int WaitExit(pid_t pid, std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == pid) {
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    std::this_thread::sleep_for(20ms);
  }
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  return -1;
}

// Sends a GET and returns the status of the answer (0: none).
int StatusOf(int port, std::string_view target) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<std::uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    ::close(fd);
    return 0;
  }
  const std::string request = "GET " + std::string(target) + " HTTP/1.1\r\nHost: t\r\n\r\n";
  ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
  std::string reply;
  char buf[4096];
  pollfd p{fd, POLLIN, 0};
  while (::poll(&p, 1, 20000) == 1) {
    const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
    if (n <= 0) break;
    reply.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return reply.starts_with("HTTP/1.1 ") ? std::atoi(reply.c_str() + 9) : 0;
}

int WaitUntilServing(int port) {
  for (int i = 0; i < 100; ++i) {
    if (const int status = StatusOf(port, "/v1/nowhere"); status != 0) return status;
    std::this_thread::sleep_for(100ms);
  }
  return 0;
}

TEST(ServerProcessTest, ServesWithStdinClosedAndStopsOnSignal) {
  for (const int signal_number : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(signal_number);
    Listener free_port;
    const int port = free_port.port;
    free_port.Close();
    const Server server = Start(port);
    ASSERT_GT(server.pid, 0);
    EXPECT_NE(WaitUntilServing(port), 0);
    std::this_thread::sleep_for(300ms);
    EXPECT_NE(StatusOf(port, "/v1/nowhere"), 0);  // still serving after stdin ended
    ::kill(server.pid, signal_number);
    EXPECT_EQ(WaitExit(server.pid, 30s), 0);
    EXPECT_EQ(StatusOf(port, "/v1/nowhere"), 0);  // nothing listens any more
  }
}

TEST(ServerProcessTest, BindFailureExitsNonZeroWithMessage) {
  Listener taken;
  const Server server = Start(taken.port);
  ASSERT_GT(server.pid, 0);
  const int code = WaitExit(server.pid, 30s);
  EXPECT_NE(code, 0);
  EXPECT_NE(code, -1);  // it ended by itself
  std::ifstream err(server.stderr_path);
  std::stringstream text;
  text << err.rdbuf();
  EXPECT_NE(text.str().find(std::to_string(taken.port)), std::string::npos) << text.str();
}

}  // namespace
