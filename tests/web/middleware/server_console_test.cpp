// The real server binary with its console on pipes: what an operator, a
// service manager or CI sees.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "test_support.h"

extern char** environ;

namespace quorvane::web::middleware {
namespace {

using testing::Exchange;
using testing::Request;

int FreePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    ::close(fd);
    throw std::runtime_error("no free port");
  }
  ::close(fd);
  return ntohs(addr.sin_port);
}

// The server binary on a free port, its standard input and output on pipes.
class ServerProcess {
 public:
  explicit ServerProcess(std::vector<std::string> args = {}, int port = FreePort()) : port_(port) {
    std::vector<std::string> env_text = {"QUORVANE_PORT=" + std::to_string(port_)};
    for (char** e = environ; *e != nullptr; ++e) {
      if (std::strncmp(*e, "QUORVANE_PORT=", 14) != 0) env_text.emplace_back(*e);
    }
    args.insert(args.begin(), QV_SERVER_BINARY);
    std::vector<char*> argv, envp;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : env_text) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input_.read_fd(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output_.write_fd(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output_.write_fd(), STDERR_FILENO);
    const int rc =
        posix_spawn(&pid_, QV_SERVER_BINARY, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) throw std::runtime_error("cannot start the server binary");
    input_.CloseReadEnd();
    output_.CloseWriteEnd();
  }

  ~ServerProcess() {
    if (!status_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }

  // The exit code once the process ended by itself; nullopt when it did
  // not end within the time or was killed by a signal.
  std::optional<int> WaitExit(std::chrono::seconds timeout = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!status_ && std::chrono::steady_clock::now() < deadline) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = status;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!status_ || !WIFEXITED(*status_)) return std::nullopt;
    return WEXITSTATUS(*status_);
  }

  bool WaitBanner() { return output_.WaitFor("to end the API.\r\n") != std::string::npos; }
  void Signal(int sig) { ::kill(pid_, sig); }
  int port() const { return port_; }
  testing::InputPipe& input() { return input_; }
  testing::PipeCapture& output() { return output_; }

 private:
  int port_;
  pid_t pid_ = -1;
  std::optional<int> status_;
  testing::InputPipe input_;
  testing::PipeCapture output_;
};

TEST(ServerConsoleTest, BannerThenTheStopPasswordInCapitalsEndsWithCodeZero) {
  ServerProcess server;
  ASSERT_TRUE(server.WaitBanner()) << server.output().Text();
  EXPECT_EQ(server.output().Text().rfind("Quorvane online!\r\nStarted in ", 0), 0u)
      << server.output().Text();
  EXPECT_NE(server.output().Text().find(" - Port: " + std::to_string(server.port()) +
                                        "\r\nType JORQ to end the API.\r\n"),
            std::string::npos);
  EXPECT_EQ(Exchange(server.port(), Request("GET", "/status")).status, 200);
  server.input().Type("something else");
  server.input().Type("JORQ");
  EXPECT_EQ(server.WaitExit(), 0);
  EXPECT_TRUE(testing::ConnectionRefused(server.port()));
}

TEST(ServerConsoleTest, TrackArgumentLogsFromTheFirstRequest) {
  ServerProcess server({"-Track"});
  ASSERT_NE(server.output().WaitFor("to end the API.\r\nTRACKER >\r\n"), std::string::npos)
      << server.output().Text();
  const testing::HttpAnswer status = Exchange(server.port(), Request("GET", "/status"));
  ASSERT_NE(server.output().WaitFor("RESPONSE: 200 - OK"), std::string::npos);
  const auto blocks = testing::LogBlocks(server.output().Text());
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0].rfind("GET /status\r\n", 0), 0u) << blocks[0];
  EXPECT_NE(blocks[0].find("CONTENT: \r\n" + status.body), std::string::npos) << blocks[0];
  server.input().Type("");  // back to the main prompt
  server.input().Type("jorq");
  EXPECT_EQ(server.WaitExit(), 0);
}

TEST(ServerConsoleTest, AfterTheInputEndsOnlyASignalStopsTheServer) {
  for (const int sig : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(strsignal(sig));
    ServerProcess server;
    ASSERT_TRUE(server.WaitBanner());
    server.input().Close();
    ASSERT_NE(server.output().WaitFor("Console input closed"), std::string::npos);
    EXPECT_FALSE(server.WaitExit(std::chrono::seconds(1)));
    EXPECT_EQ(Exchange(server.port(), Request("GET", "/status")).status, 200);
    server.Signal(sig);
    EXPECT_EQ(server.WaitExit(), 0);
  }
}

TEST(ServerConsoleTest, APortInUseEndsWithAnErrorAndNoBanner) {
  ServerProcess first;
  ASSERT_TRUE(first.WaitBanner());
  ServerProcess second({}, first.port());
  const std::optional<int> code = second.WaitExit();
  ASSERT_TRUE(code);
  EXPECT_NE(*code, 0);
  EXPECT_EQ(second.output().Text().find("online!"), std::string::npos);
  EXPECT_NE(second.output().Text().find("quorvane: "), std::string::npos) << second.output().Text();
  first.input().Type("jorq");
  EXPECT_EQ(first.WaitExit(), 0);
}

}  // namespace
}  // namespace quorvane::web::middleware
