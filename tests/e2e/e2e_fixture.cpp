#include "e2e_fixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sstream>
#include <stdexcept>

#include "app/startup.h"
#include "lib/settings.h"

namespace quorvane::e2e {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// A stalled server fails the test instead of hanging it.
constexpr int kSocketTimeoutSeconds = 60;

class Socket {
 public:
  Socket() : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
    if (fd_ < 0) throw std::runtime_error("socket: " + std::string(std::strerror(errno)));
  }
  ~Socket() { ::close(fd_); }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

// Joins the chunks of a chunked body.
std::string Dechunk(std::string_view data) {
  std::string out;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t line_end = data.find("\r\n", pos);
    if (line_end == std::string_view::npos) throw std::runtime_error("bad chunked body");
    const std::size_t size = std::stoul(std::string(data.substr(pos, line_end - pos)), nullptr, 16);
    pos = line_end + 2;
    if (size == 0) return out;
    if (pos + size > data.size()) throw std::runtime_error("truncated chunked body");
    out.append(data.substr(pos, size));
    pos += size + 2;
  }
}

HttpResponse ParseResponse(std::string_view raw) {
  const std::size_t head_end = raw.find("\r\n\r\n");
  if (head_end == std::string_view::npos) {
    throw std::runtime_error("no complete answer head in: " + std::string(raw.substr(0, 200)));
  }
  HttpResponse res;
  std::istringstream head{std::string(raw.substr(0, head_end))};
  std::string line;
  std::getline(head, line);
  if (line.rfind("HTTP/1.", 0) != 0 || line.size() < 12) {
    throw std::runtime_error("bad status line: " + line);
  }
  res.status = std::stoi(line.substr(9, 3));
  while (std::getline(head, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string value = line.substr(colon + 1);
    while (!value.empty() && value.front() == ' ') value.erase(0, 1);
    res.headers.push_back({line.substr(0, colon), value});
  }
  const std::string_view body = raw.substr(head_end + 4);
  res.body =
      EqualsNoCase(res.Header("Transfer-Encoding"), "chunked") ? Dechunk(body) : std::string(body);
  return res;
}

}  // namespace

// ---------------------------------------------------------------- HTTP client

void SetHeader(HttpHeaders& headers, std::string_view name, std::string value) {
  RemoveHeader(headers, name);
  headers.push_back({std::string(name), std::move(value)});
}

void RemoveHeader(HttpHeaders& headers, std::string_view name) {
  std::erase_if(headers, [&](const HttpHeader& h) { return EqualsNoCase(h.name, name); });
}

std::string HttpResponse::Header(std::string_view name) const {
  for (const auto& h : headers) {
    if (EqualsNoCase(h.name, name)) return h.value;
  }
  return {};
}

bool HttpResponse::HasHeader(std::string_view name) const {
  for (const auto& h : headers) {
    if (EqualsNoCase(h.name, name)) return true;
  }
  return false;
}

lib::JsonValue HttpResponse::Json() const {
  auto value = lib::ParseJson(body);
  if (!value) {
    ADD_FAILURE() << "status " << status << ", body is not JSON: " << body.substr(0, 300);
    return lib::JsonValue::Null();
  }
  return std::move(*value);
}

HttpResponse SendHttp(int port, const HttpRequest& request) {
  Socket sock;
  timeval tv{};
  tv.tv_sec = kSocketTimeoutSeconds;
  ::setsockopt(sock.fd(), SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  ::setsockopt(sock.fd(), SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<std::uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(sock.fd(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    throw std::runtime_error("connect to port " + std::to_string(port) + ": " +
                             std::strerror(errno));
  }

  std::string text = request.method + " " + request.target + " HTTP/1.1\r\n";
  text += "Host: 127.0.0.1:" + std::to_string(port) + "\r\n";
  for (const auto& h : request.headers) text += h.name + ": " + h.value + "\r\n";
  if (!request.body.empty()) {
    text += "Content-Length: " + std::to_string(request.body.size()) + "\r\n";
  }
  text += "Connection: close\r\n\r\n";
  text += request.body;

  std::size_t sent = 0;
  while (sent < text.size()) {
    const ssize_t n = ::send(sock.fd(), text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) {
      if (n < 0 && errno == EINTR) continue;
      throw std::runtime_error("send: " + std::string(std::strerror(errno)));
    }
    sent += static_cast<std::size_t>(n);
  }

  std::string raw;
  char buffer[16384];
  for (;;) {
    const ssize_t n = ::recv(sock.fd(), buffer, sizeof buffer, 0);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      // A reset after a complete answer still leaves the answer readable.
      if (errno == ECONNRESET && raw.find("\r\n\r\n") != std::string::npos) break;
      throw std::runtime_error("recv: " + std::string(std::strerror(errno)));
    }
    raw.append(buffer, static_cast<std::size_t>(n));
  }
  return ParseResponse(raw);
}

// --------------------------------------------------------------- test MariaDB

std::optional<std::string> TestDb::Value(std::string_view sql) {
  const auto rows = Rows(sql);
  if (rows.size() != 1 || rows[0].empty()) {
    throw std::runtime_error(std::to_string(rows.size()) +
                             " rows, expected one, from: " + std::string(sql));
  }
  return rows[0][0];
}

std::int64_t TestDb::Count(std::string_view table, std::string_view where) {
  std::string sql = "SELECT COUNT(*) FROM " + std::string(table);
  if (!where.empty()) sql += " WHERE " + std::string(where);
  return std::stoll(Value(sql).value());
}

std::string SqlText(std::string_view value) {
  std::string out = "'";
  for (const char c : value) {
    if (c == '\'' || c == '\\') out += c;
    out += c;
  }
  return out + "'";
}

namespace {

// `name` as a backtick-quoted identifier.
std::string SqlIdentifier(std::string_view name) {
  std::string out = "`";
  for (const char c : name) {
    out += c;
    if (c == '`') out += '`';
  }
  return out + "`";
}

}  // namespace

std::string UniqueName(std::string_view stem) {
  return std::string(stem) + "_" + std::to_string(::getpid());
}

FixtureTenant::FixtureTenant(std::string name, std::string login, std::string password)
    : name_(std::move(name)), login_(std::move(login)), password_(std::move(password)) {
  control_ = std::make_unique<TestDb>();
  // As load-db.sh: the control schema may not exist yet on a fresh server.
  control_->Exec("CREATE DATABASE IF NOT EXISTS _stru CHARACTER SET utf8mb4");
  control_->Exec("USE _stru");
  control_->ExecFile(SourcePath("db/stru.sql"));

  control_->Exec("DROP DATABASE IF EXISTS " + SqlIdentifier(name_));
  control_->Exec("CREATE DATABASE " + SqlIdentifier(name_) + " CHARACTER SET utf8mb4");
  control_->Exec("DELETE FROM _schemas WHERE name_schema = " + SqlText(name_));
  control_->Exec(
      "INSERT INTO _schemas (name_schema, manutencao, sincronizar_tributacao, "
      "sincronizar_inativo, igualar_precos) VALUES (" +
      SqlText(name_) + ", 0, 0, 0, 0)");

  db_ = std::make_unique<TestDb>(name_);
  db_->ExecFile(SourcePath("db/tenant.sql"));
  db_->Exec("INSERT INTO login (login, senha, ativo) VALUES (" + SqlText(login_) + ", " +
            SqlText(password_) + ", 1)");
}

FixtureTenant::~FixtureTenant() {
  try {
    db_.reset();
    control_->Exec("DROP DATABASE IF EXISTS " + SqlIdentifier(name_));
    control_->Exec("DELETE FROM _stru._schemas WHERE name_schema = " + SqlText(name_));
  } catch (const std::exception& e) {
    ADD_FAILURE() << "dropping tenant " << name_ << ": " << e.what();
  }
}

void FixtureTenant::SetControl(std::string_view column, std::optional<int> value) {
  control_->Exec("UPDATE _stru._schemas SET " + std::string(column) + " = " +
                 (value ? std::to_string(*value) : std::string("NULL")) +
                 " WHERE name_schema = " + SqlText(name_));
}

std::optional<int> FixtureTenant::Control(std::string_view column) {
  const auto value = control_->Value("SELECT " + std::string(column) +
                                     " FROM _stru._schemas WHERE name_schema = " + SqlText(name_));
  if (!value) return std::nullopt;
  return std::stoi(*value);
}

// --------------------------------------------------------------------- server

E2EServer::E2EServer(const std::function<void(web::core::WebCore&)>& extra)
    : core_(tree_), provider_(core_) {
  app::InstallMiddlewares(core_);
  app::RegisterControllers(core_);
  if (extra) extra(core_);
  provider_.BindAnyPort();
  provider_.Listen(web::core::WebProvider::ListenCallback(),
                   web::core::WebProvider::ListenCallback());
  port_ = provider_.BoundPort();
}

E2EServer::~E2EServer() {
  if (provider_.IsRunning()) provider_.StopListen();
}

std::string MintToken(const tools::TokenClaims& claims) {
  return tools::MintToken(lib::CurrentSettings().jwt_key, claims);
}

// ---------------------------------------------------------------------- client

namespace {

// One token for all requests of the binary: signing is not what is tested.
const std::string& SharedToken() {
  static const std::string token = MintToken();
  return token;
}

}  // namespace

HttpHeaders Client::TenantHeaders(std::string filial) const {
  return {{"x-schema", tenant_->name()},
          {"x-filial", std::move(filial)},
          {"x-user", tenant_->login()},
          {"x-pass", tenant_->password()},
          {"Authorization", "Bearer " + SharedToken()}};
}

HttpResponse Client::Send(std::string_view method, std::string_view target,
                          const HttpHeaders& headers, std::string body) const {
  HttpRequest request{std::string(method), std::string(target), TenantHeaders(), std::move(body)};
  for (const auto& h : headers) SetHeader(request.headers, h.name, h.value);
  return SendRaw(request);
}

HttpResponse Client::Get(std::string_view target, const HttpHeaders& headers) const {
  return Send("GET", target, headers);
}

HttpResponse Client::Post(std::string_view target, std::string body,
                          const HttpHeaders& headers) const {
  HttpHeaders all{{"Content-Type", "application/json"}};
  for (const auto& h : headers) SetHeader(all, h.name, h.value);
  return Send("POST", target, all, std::move(body));
}

HttpResponse Client::Put(std::string_view target, const HttpHeaders& headers,
                         std::string body) const {
  return Send("PUT", target, headers, std::move(body));
}

HttpResponse Client::SendRaw(const HttpRequest& request) const {
  return SendHttp(server_->port(), request);
}

// ------------------------------------------------------------- test base class

namespace {

struct Shared {
  std::mutex mutex;
  std::unique_ptr<FixtureTenant> tenant;
  std::unique_ptr<E2EServer> server;
  std::unique_ptr<Client> client;
};

Shared& TheShared() {
  static Shared shared;
  return shared;
}

// Stops the shared server and drops the shared tenant after the last test,
// while gtest can still report a failure.
class SharedTeardown : public ::testing::Environment {
 public:
  void TearDown() override {
    Shared& s = TheShared();
    std::lock_guard lock(s.mutex);
    s.client.reset();
    s.server.reset();
    s.tenant.reset();
  }
};

[[maybe_unused]] ::testing::Environment* const kSharedTeardown =
    ::testing::AddGlobalTestEnvironment(new SharedTeardown);

}  // namespace

E2EServer& E2ETest::server() {
  Shared& s = TheShared();
  std::lock_guard lock(s.mutex);
  if (!s.server) s.server = std::make_unique<E2EServer>();
  return *s.server;
}

FixtureTenant& E2ETest::tenant() {
  Shared& s = TheShared();
  std::lock_guard lock(s.mutex);
  if (!s.tenant) s.tenant = std::make_unique<FixtureTenant>(UniqueName("qv_e2e"));
  return *s.tenant;
}

const Client& E2ETest::client() {
  E2EServer& srv = server();
  FixtureTenant& tn = tenant();
  Shared& s = TheShared();
  std::lock_guard lock(s.mutex);
  if (!s.client) s.client = std::make_unique<Client>(srv, tn);
  return *s.client;
}

}  // namespace quorvane::e2e
