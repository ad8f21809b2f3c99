#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "web/middleware/compression.h"

namespace quorvane::web::middleware::testing {

// One answer as a client on the wire sees it.
struct HttpAnswer {
  int status = 0;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;

  bool HasHeader(std::string_view name) const;
  // The first header of that name (any case); empty when absent.
  std::string Header(std::string_view name) const;
};

// Sends `request` (a complete HTTP/1.1 request text) to 127.0.0.1:`port`
// over a fresh connection and reads the answer until the server closes.
// Throws std::runtime_error when the connection fails or the answer does not
// parse.
HttpAnswer Exchange(int port, std::string_view request);

// A request text: method, target, extra header lines ("Name: value") and a
// body (Content-Length is added when the body is not empty).
std::string Request(std::string_view method, std::string_view target,
                    const std::vector<std::string>& headers = {}, std::string_view body = {});

// True when a connection to 127.0.0.1:`port` is refused.
bool ConnectionRefused(int port);

// Inflates a raw deflate stream or a gzip member. Throws on corrupt data.
std::string Decompress(std::string_view data, CompressionKind kind);

// A pipe whose read end is drained by a thread into a text that tests can
// wait on.
class PipeCapture {
 public:
  PipeCapture();
  ~PipeCapture();
  PipeCapture(const PipeCapture&) = delete;
  PipeCapture& operator=(const PipeCapture&) = delete;

  int write_fd() const { return write_fd_; }
  // Closes the write end here (after a child process got its copy).
  void CloseWriteEnd();

  // Everything read so far.
  std::string Text() const;
  // Waits until the text from position `from` on contains `needle`; returns
  // the position just after it, or npos after `timeout`.
  std::size_t WaitFor(std::string_view needle, std::size_t from = 0,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
  // Waits until the writing side closed (the pipe reads EOF).
  bool WaitClosed(std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

 private:
  int read_fd_ = -1;
  int write_fd_ = -1;
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::string text_;
  bool closed_ = false;
  std::thread reader_;
};

// A pipe to write console lines into.
class InputPipe {
 public:
  InputPipe();
  ~InputPipe();
  InputPipe(const InputPipe&) = delete;
  InputPipe& operator=(const InputPipe&) = delete;

  int read_fd() const { return read_fd_; }
  void CloseReadEnd();
  void Type(std::string_view line);  // writes `line` + "\n"
  void Close();                      // end of input

 private:
  int read_fd_ = -1;
  int write_fd_ = -1;
};

// The log blocks of a console output: the text between the two star lines
// of each frame, timestamp line excluded.
std::vector<std::string> LogBlocks(std::string_view output);

}  // namespace quorvane::web::middleware::testing
