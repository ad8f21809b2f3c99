#include "test_support.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace quorvane::web::middleware::testing {
namespace {

bool IEquals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

int Connect(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::runtime_error("socket failed");
  timeval timeout{10, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    const int error = errno;
    ::close(fd);
    errno = error;
    return -1;
  }
  return fd;
}

std::string Dechunk(std::string_view data) {
  std::string out;
  for (;;) {
    const std::size_t eol = data.find("\r\n");
    if (eol == std::string_view::npos) throw std::runtime_error("bad chunk header");
    const std::size_t size = std::stoul(std::string(data.substr(0, eol)), nullptr, 16);
    data.remove_prefix(eol + 2);
    if (size == 0) return out;
    if (data.size() < size + 2) throw std::runtime_error("short chunk");
    out.append(data.substr(0, size));
    data.remove_prefix(size + 2);
  }
}

}  // namespace

bool HttpAnswer::HasHeader(std::string_view name) const {
  for (const auto& [n, v] : headers) {
    if (IEquals(n, name)) return true;
  }
  return false;
}

std::string HttpAnswer::Header(std::string_view name) const {
  for (const auto& [n, v] : headers) {
    if (IEquals(n, name)) return v;
  }
  return {};
}

HttpAnswer Exchange(int port, std::string_view request) {
  const int fd = Connect(port);
  if (fd < 0) throw std::runtime_error(std::string("connect failed: ") + std::strerror(errno));
  std::string_view rest = request;
  while (!rest.empty()) {
    const ssize_t n = ::send(fd, rest.data(), rest.size(), MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EINTR) continue;
      break;  // the server may answer and close before reading everything
    }
    rest.remove_prefix(static_cast<std::size_t>(n));
  }
  std::string raw;
  char buf[16384];
  for (;;) {
    const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
    if (n > 0) {
      raw.append(buf, static_cast<std::size_t>(n));
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      break;
    }
  }
  ::close(fd);

  const std::size_t head_end = raw.find("\r\n\r\n");
  if (raw.compare(0, 5, "HTTP/") != 0 || head_end == std::string::npos) {
    throw std::runtime_error("no HTTP answer: " + raw.substr(0, 200));
  }
  HttpAnswer answer;
  std::string_view head(raw.data(), head_end);
  const std::size_t eol = head.find("\r\n");
  const std::string_view status_line = head.substr(0, eol);
  answer.status = std::stoi(std::string(status_line.substr(status_line.find(' ') + 1, 3)));
  head.remove_prefix(eol == std::string_view::npos ? head.size() : eol + 2);
  while (!head.empty()) {
    const std::size_t end = head.find("\r\n");
    const std::string_view line = head.substr(0, end);
    const std::size_t colon = line.find(':');
    if (colon != std::string_view::npos) {
      std::string_view value = line.substr(colon + 1);
      while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
      answer.headers.emplace_back(std::string(line.substr(0, colon)), std::string(value));
    }
    head.remove_prefix(end == std::string_view::npos ? head.size() : end + 2);
  }
  std::string body = raw.substr(head_end + 4);
  if (IEquals(answer.Header("Transfer-Encoding"), "chunked")) {
    body = Dechunk(body);
  } else if (answer.HasHeader("Content-Length")) {
    body.resize(std::min<std::size_t>(body.size(), std::stoul(answer.Header("Content-Length"))));
  }
  answer.body = std::move(body);
  return answer;
}

std::string Request(std::string_view method, std::string_view target,
                    const std::vector<std::string>& headers, std::string_view body) {
  std::string out;
  out.append(method).append(" ").append(target).append(" HTTP/1.1\r\nHost: 127.0.0.1\r\n");
  for (const std::string& h : headers) out.append(h).append("\r\n");
  if (!body.empty()) out.append("Content-Length: " + std::to_string(body.size()) + "\r\n");
  out.append("\r\n").append(body);
  return out;
}

bool ConnectionRefused(int port) {
  const int fd = Connect(port);
  if (fd >= 0) {
    ::close(fd);
    return false;
  }
  return errno == ECONNREFUSED;
}

std::string Decompress(std::string_view data, CompressionKind kind) {
  z_stream s{};
  if (inflateInit2(&s, kind == CompressionKind::kDeflate ? -15 : 31) != Z_OK) {
    throw std::runtime_error("inflateInit2 failed");
  }
  std::string out;
  s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  s.avail_in = static_cast<uInt>(data.size());
  char buf[16384];
  int rc = Z_OK;
  while (rc != Z_STREAM_END) {
    s.next_out = reinterpret_cast<Bytef*>(buf);
    s.avail_out = sizeof buf;
    rc = inflate(&s, Z_NO_FLUSH);
    if (rc != Z_OK && rc != Z_STREAM_END) {
      inflateEnd(&s);
      throw std::runtime_error("corrupt compressed data");
    }
    out.append(buf, sizeof buf - s.avail_out);
    if (rc == Z_OK && s.avail_in == 0 && s.avail_out != 0) {
      inflateEnd(&s);
      throw std::runtime_error("truncated compressed data");
    }
  }
  const bool trailing = s.avail_in != 0;
  inflateEnd(&s);
  if (trailing) throw std::runtime_error("bytes after the compressed stream");
  return out;
}

PipeCapture::PipeCapture() {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  read_fd_ = fds[0];
  write_fd_ = fds[1];
  reader_ = std::thread([this] {
    char buf[4096];
    for (;;) {
      const ssize_t n = ::read(read_fd_, buf, sizeof buf);
      if (n < 0 && errno == EINTR) continue;
      std::lock_guard lock(mutex_);
      if (n <= 0) {
        closed_ = true;
        changed_.notify_all();
        return;
      }
      text_.append(buf, static_cast<std::size_t>(n));
      changed_.notify_all();
    }
  });
}

PipeCapture::~PipeCapture() {
  CloseWriteEnd();
  reader_.join();
  ::close(read_fd_);
}

void PipeCapture::CloseWriteEnd() {
  if (write_fd_ >= 0) ::close(write_fd_);
  write_fd_ = -1;
}

std::string PipeCapture::Text() const {
  std::lock_guard lock(mutex_);
  return text_;
}

std::size_t PipeCapture::WaitFor(std::string_view needle, std::size_t from,
                                 std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  std::size_t found = std::string::npos;
  changed_.wait_for(lock, timeout, [&] {
    found = from <= text_.size() ? text_.find(needle, from) : std::string::npos;
    return found != std::string::npos || closed_;
  });
  if (found == std::string::npos) found = text_.find(needle, std::min(from, text_.size()));
  return found == std::string::npos ? found : found + needle.size();
}

bool PipeCapture::WaitClosed(std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return closed_; });
}

InputPipe::InputPipe() {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  read_fd_ = fds[0];
  write_fd_ = fds[1];
}

InputPipe::~InputPipe() {
  Close();
  CloseReadEnd();
}

void InputPipe::CloseReadEnd() {
  if (read_fd_ >= 0) ::close(read_fd_);
  read_fd_ = -1;
}

void InputPipe::Type(std::string_view line) {
  std::string text(line);
  text += "\n";
  std::string_view rest = text;
  while (!rest.empty()) {
    const ssize_t n = ::write(write_fd_, rest.data(), rest.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error("console pipe write failed");
    }
    rest.remove_prefix(static_cast<std::size_t>(n));
  }
}

void InputPipe::Close() {
  if (write_fd_ >= 0) ::close(write_fd_);
  write_fd_ = -1;
}

std::vector<std::string> LogBlocks(std::string_view output) {
  static constexpr std::string_view kStars = "**************************************************";
  std::vector<std::string> blocks;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t open = output.find(kStars, pos);
    if (open == std::string_view::npos) return blocks;
    const std::size_t close = output.find(kStars, open + kStars.size());
    if (close == std::string_view::npos) return blocks;
    // "\r\n\r\n[timestamp]\r\n\r\n" text "\r\n\r\n"
    std::string_view inner = output.substr(open + kStars.size(), close - open - kStars.size());
    const std::size_t stamp_end = inner.find("]\r\n\r\n");
    if (stamp_end != std::string_view::npos) inner.remove_prefix(stamp_end + 5);
    if (inner.size() >= 4 && inner.substr(inner.size() - 4) == "\r\n\r\n") {
      inner.remove_suffix(4);
    }
    blocks.emplace_back(inner);
    pos = close + kStars.size();
  }
}

}  // namespace quorvane::web::middleware::testing
