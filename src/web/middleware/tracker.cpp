#include "web/middleware/tracker.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <exception>
#include <system_error>
#include <utility>

#include "lib/json.h"
#include "web/core/web_core.h"
#include "web/core/web_module.h"
#include "web/core/web_request_utils.h"

namespace quorvane::web::middleware {
namespace {

using core::WebCallbackInterrupted;
using core::WebNext;
using core::WebRequest;
using core::WebResponse;

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kStars = "**************************************************";
// A line longer than this without a line end is cut here; the console never
// needs more, and the buffer must not grow without bound.
constexpr std::size_t kMaxLineBytes = 64 * 1024;

constexpr std::string_view kHelp =
    "*** AVAILABLE TRACKER COMMANDS ***\r\n"
    "\r\n"
    "/?             : Displays available parameters\r\n"
    "-?             : Equivalent to /?\r\n"
    "\r\n"
    "-pi <Path Info>: Filters the path info entered\r\n"
    "-p <Param>     : Filters the param entered\r\n"
    "-q <Query>     : Filters the query entered\r\n"
    "-h <Header>    : Filters the header entered\r\n"
    "\r\n"
    "-clear <Type>  : Clean filters by type\r\n"
    "                 Ex.: -clear -pi\r\n"
    "-clear -all    : Clean all filters\r\n"
    "-clear         : Equivalent to -clear -all\r\n"
    "-c             : Equivalent to -clear\r\n"
    "\r\n"
    "-content       : Displays the content of the requisition\r\n"
    "-nocontent     : Hides the content of the requisition\r\n"
    "-headers       : Displays the headers of the requisition\r\n"
    "-noheaders     : Hides the headers of the requisition\r\n"
    "\r\n"
    "-list <Type>   : Displays all enabled filters by type\r\n"
    "                 Ex.: -list -pi\r\n"
    "-list -all     : Displays all enabled filters\r\n"
    "-list          : Equivalent to -list -all\r\n"
    "-l             : Equivalent to -list\r\n"
    "\r\n"
    "/p             : Pause the Tracker\r\n"
    "\r\n"
    "*** AVAILABLE CODE LINE COMMANDS ***\r\n"
    "\r\n"
    "-track         : Launch API with Tracker active";

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// Blanks and control characters off both ends.
std::string_view Trim(std::string_view text) {
  const auto is_blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

// Request data goes to the operator's terminal: control characters other
// than line breaks and tabs (terminal escape sequences above all) become "?".
std::string Printable(std::string text) {
  for (char& c : text) {
    const auto u = static_cast<unsigned char>(c);
    if ((u < 0x20 && c != '\r' && c != '\n' && c != '\t') || u == 0x7F) c = '?';
  }
  return text;
}

std::string FormatLocal(std::chrono::system_clock::time_point tp, const char* format, bool millis) {
  const std::time_t t = std::chrono::system_clock::to_time_t(tp);
  std::tm tm{};
  localtime_r(&t, &tm);
  char buf[64];
  std::size_t n = std::strftime(buf, sizeof buf, format, &tm);
  std::string out(buf, n);
  if (millis) {
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(tp.time_since_epoch()).count() % 1000;
    char frac[8];
    std::snprintf(frac, sizeof frac, ":%03d", static_cast<int>(ms));
    out += frac;
  }
  return out;
}

std::vector<std::string> SplitBlanks(std::string_view line) {
  std::vector<std::string> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    std::size_t j = i;
    while (j < line.size() && line[j] != ' ' && line[j] != '\t') ++j;
    if (j > i) tokens.emplace_back(line.substr(i, j - i));
    i = j;
  }
  return tokens;
}

std::string Join(const std::vector<std::string>& lines) {
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) out += kCrLf;
    out += lines[i];
  }
  return out;
}

// Appends `text` to `file`, creating it when absent. Returns 0 or an errno.
int AppendToFile(const std::string& file, std::string_view text) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return errno;
  int error = 0;
  while (!text.empty()) {
    const ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      break;
    }
    text.remove_prefix(static_cast<std::size_t>(n));
  }
  if (::close(fd) != 0 && error == 0 && errno != EINTR) error = errno;
  return error;
}

// Where SIGINT and SIGTERM wake the console of the listening tracker; -1 when
// none listens.
std::atomic<int> g_signal_wake_fd{-1};

extern "C" void OnStopSignal(int) {
  const int saved = errno;
  const int fd = g_signal_wake_fd.load();
  if (fd >= 0) {
    const char byte = 's';
    [[maybe_unused]] const ssize_t n = ::write(fd, &byte, 1);
  }
  errno = saved;
}

// Routes SIGINT and SIGTERM to a console for as long as it listens.
class StopSignals {
 public:
  explicit StopSignals(int wake_fd) {
    g_signal_wake_fd.store(wake_fd);
    struct sigaction sa {};
    sa.sa_handler = OnStopSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = 0;  // no SA_RESTART: a blocked poll returns at once
    sigaction(SIGINT, &sa, &old_int_);
    sigaction(SIGTERM, &sa, &old_term_);
    // Writing to a closed standard output must not end the server.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, nullptr);
  }
  ~StopSignals() {
    sigaction(SIGINT, &old_int_, nullptr);
    sigaction(SIGTERM, &old_term_, nullptr);
    g_signal_wake_fd.store(-1);
  }
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

 private:
  struct sigaction old_int_ {};
  struct sigaction old_term_ {};
};

}  // namespace

// Lines from the console input, and a wake-up pipe through which a stop
// request (a signal, another thread) ends the wait for the next line.
class WebTracker::ConsoleInput {
 public:
  explicit ConsoleInput(int fd) : fd_(fd) {
    if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) {
      throw std::system_error(errno, std::generic_category(), "console wake-up pipe");
    }
  }
  ~ConsoleInput() {
    ::close(wake_[0]);
    ::close(wake_[1]);
  }
  ConsoleInput(const ConsoleInput&) = delete;
  ConsoleInput& operator=(const ConsoleInput&) = delete;

  int wake_fd() const { return wake_[1]; }

  void Stop() noexcept {
    stop_.store(true);
    const char byte = 's';
    [[maybe_unused]] const ssize_t n = ::write(wake_[1], &byte, 1);
  }

  // Forgets an earlier stop request (a new Listen).
  void Reset() {
    char buf[64];
    while (::read(wake_[0], buf, sizeof buf) > 0) {
    }
    stop_.store(false);
  }

  // The next line without its line end (LF or CR LF); nullopt once a stop was
  // requested. After the input ended, calls `on_end` once and waits for the
  // stop without spinning.
  template <class OnEnd>
  std::optional<std::string> ReadLine(OnEnd&& on_end) {
    for (;;) {
      if (stop_.load()) return std::nullopt;
      if (std::optional<std::string> line = TakeLine()) return line;
      if (eof_ && !end_reported_) {
        end_reported_ = true;
        on_end();
      }
      pollfd fds[2] = {{wake_[0], POLLIN, 0}, {fd_, POLLIN, 0}};
      const int n = ::poll(fds, eof_ ? 1 : 2, -1);
      if (n < 0) {
        if (errno != EINTR) ::usleep(100 * 1000);  // resource shortage: retry gently
        continue;
      }
      if (fds[0].revents != 0) {
        stop_.store(true);
        continue;
      }
      if (!eof_ && fds[1].revents != 0) ReadMore();
    }
  }

 private:
  std::optional<std::string> TakeLine() {
    std::size_t end = buffer_.find('\n');
    std::size_t skip = 1;
    if (end == std::string::npos) {
      if (buffer_.size() >= kMaxLineBytes) {
        end = kMaxLineBytes;
        skip = 0;
      } else if (eof_ && !buffer_.empty()) {
        end = buffer_.size();
        skip = 0;
      } else {
        return std::nullopt;
      }
    }
    std::string line = buffer_.substr(0, end);
    buffer_.erase(0, end + skip);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }

  void ReadMore() {
    char buf[4096];
    const ssize_t n = ::read(fd_, buf, sizeof buf);
    if (n > 0) {
      buffer_.append(buf, static_cast<std::size_t>(n));
    } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
      eof_ = true;
    }
  }

  int fd_;
  int wake_[2] = {-1, -1};
  std::string buffer_;
  bool eof_ = false;
  bool end_reported_ = false;
  std::atomic<bool> stop_{false};
};

WebTracker::WebTracker(core::WebProvider& provider, int input, int output)
    : provider_(&provider),
      output_(output),
      input_(std::make_unique<ConsoleInput>(input)),
      settings_(std::make_shared<const TrackerSettings>()),
      started_(std::chrono::system_clock::now()) {}

WebTracker::~WebTracker() = default;

WebTracker& WebTracker::GetInstance() {
  static WebTracker tracker(core::WebProvider::GetInstance(), STDIN_FILENO, STDOUT_FILENO);
  return tracker;
}

void WebTracker::Tracker(WebRequest& req, WebResponse& res, const WebNext& next) {
  GetInstance().Log(req, res, next);
}

void WebTracker::Status(WebRequest& req, WebResponse& res, const WebNext& next) {
  GetInstance().StatusPage(req, res, next);
}

void WebTracker::Arguments(std::vector<std::string> args) {
  std::lock_guard lock(state_mutex_);
  args_ = std::move(args);
}

core::WebCallback WebTracker::Middleware() {
  return [this](WebRequest& req, WebResponse& res, const WebNext& next) { Log(req, res, next); };
}

std::shared_ptr<const TrackerSettings> WebTracker::Settings() const {
  std::lock_guard lock(state_mutex_);
  return settings_;
}

template <class F>
void WebTracker::Update(F&& change) {
  std::lock_guard lock(state_mutex_);
  auto next = std::make_shared<TrackerSettings>(*settings_);
  change(*next);
  settings_ = std::move(next);
}

std::chrono::system_clock::time_point WebTracker::Started() const {
  std::lock_guard lock(state_mutex_);
  return started_;
}

std::string WebTracker::StartedStr() const {
  std::lock_guard lock(state_mutex_);
  int port = port_;
  if (port <= 0) port = provider_->Port() > 0 ? provider_->Port() : core::kDefaultPort;
  return "Started in " + FormatLocal(started_, "%Y-%m-%d %H:%M:%S", false) +
         " - Port: " + std::to_string(port);
}

void WebTracker::StatusPage(WebRequest&, WebResponse& res, const WebNext&) {
  std::string name;
  {
    std::lock_guard lock(state_mutex_);
    name = name_api_;
  }
  res.Send("<h1>" + name + " " + Lower(StartedStr()) + "</h1>");
}

void WebTracker::RequestStop() noexcept { input_->Stop(); }

void WebTracker::Listen() { Listen(program_invocation_short_name); }

void WebTracker::Listen(std::string name_api) {
  Listen(std::move(name_api), std::string(kDefaultPassword), false);
}

void WebTracker::Listen(std::string name_api, std::string password, bool case_sensitive) {
  bool auto_track = false;
  {
    std::lock_guard lock(state_mutex_);
    name_api_ = std::move(name_api);
    auto_track = !args_.empty() && Lower(args_.front()) == "-track";
  }
  password_ = std::move(password);
  case_sensitive_ = case_sensitive;
  input_->Reset();

  // Registered before listening, so that no request walks the tree while it
  // changes. The validation middleware answers /status before any route is
  // looked up; the route serves chains without it.
  if (!status_registered_) {
    provider_->Core().Group().Get("/status",
                                  [this](WebRequest& req, WebResponse& res, const WebNext& next) {
                                    StatusPage(req, res, next);
                                  });
    status_registered_ = true;
  }

  StopSignals signals(input_->wake_fd());
  bool listening = false;
  try {
    provider_->Listen(
        [&](core::WebCore&) {
          listening = true;
          {
            std::lock_guard lock(state_mutex_);
            started_ = std::chrono::system_clock::now();
            const int bound = provider_->BoundPort();
            port_ = bound > 0 ? bound : provider_->Port();
          }
          PrintBanner();
          Console(auto_track);
        },
        nullptr);
  } catch (...) {
    if (listening) {
      try {
        provider_->StopListen();
      } catch (...) {
      }
    }
    throw;
  }
  provider_->StopListen();
}

void WebTracker::PrintBanner() {
  std::string name;
  {
    std::lock_guard lock(state_mutex_);
    name = name_api_;
  }
  std::string banner = name + " online!" + std::string(kCrLf) + StartedStr() + std::string(kCrLf);
  if (Lower(password_) == kDefaultPassword) {
    std::string upper(kDefaultPassword);
    for (char& c : upper) c = static_cast<char>(c - 'a' + 'A');
    banner += "Type " + upper + " to end the API.";
  } else {
    banner += "Enter the password to end the API.";
  }
  banner += kCrLf;
  WriteOut(banner);
}

void WebTracker::Console(bool auto_track) {
  const std::string password = case_sensitive_ ? password_ : Lower(password_);
  const bool default_password = Lower(password_) == kDefaultPassword;
  for (;;) {
    std::string line;
    if (auto_track) {
      line = "track";
      auto_track = false;
    } else {
      WriteOut(">");
      std::optional<std::string> read = ReadConsoleLine();
      if (!read) return;
      line = std::move(*read);
    }
    if (!case_sensitive_) line = Lower(line);
    if (Lower(std::string_view(line).substr(0, 5)) == "track") {
      if (!Track(line.size() > 6 ? std::string_view(line).substr(6) : std::string_view())) return;
    } else if (line == password) {
      return;
    } else if (!default_password) {
      WriteOut("Incorrect password! Try again.\r\n");
    }
  }
}

std::optional<std::string> WebTracker::ReadConsoleLine() {
  return input_->ReadLine([this] {
    WriteOut("\r\nConsole input closed: the server goes on serving until SIGINT or SIGTERM.\r\n");
  });
}

bool WebTracker::Track(std::string_view initial) {
  Update([](TrackerSettings& s) {
    s.track = true;
    s.content = true;
    s.headers = true;
    s.path_info.clear();
    s.param.clear();
    s.query.clear();
    s.header.clear();
  });
  Command(initial);
  for (;;) {
    WriteOut("TRACKER >\r\n");
    std::optional<std::string> line = ReadConsoleLine();
    if (!line) return false;
    if (line->empty()) break;
    Command(*line);
  }
  PrintBanner();
  Update([](TrackerSettings& s) { s.track = false; });
  return true;
}

void WebTracker::Command(std::string_view line) {
  const std::vector<std::string> tokens = SplitBlanks(Lower(line));
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const std::string& t = tokens[i];
    const std::string next = i + 1 < tokens.size() ? tokens[i + 1] : std::string();
    if (t.front() == '>') {
      Update([file = t.substr(1)](TrackerSettings& s) { s.file = file; });
      continue;
    }
    if (!next.empty()) {
      if (t == "-pi") {
        Update([&next](TrackerSettings& s) {
          if (std::find(s.path_info.begin(), s.path_info.end(), next) == s.path_info.end()) {
            s.path_info.push_back(next);
          }
        });
        continue;
      }
      const std::size_t eq = next.find('=');
      if (eq != std::string::npos && eq > 0 && eq + 1 < next.size() &&
          (t == "-p" || t == "-q" || t == "-h")) {
        Update([&](TrackerSettings& s) {
          auto& filters = t == "-p" ? s.param : t == "-q" ? s.query : s.header;
          filters[next.substr(0, eq)] = next.substr(eq + 1);
        });
        continue;
      }
    }
    if (t == "/?" || t == "-?") {
      PrintHelp();
    } else if (t == "-headers" || t == "-noheaders") {
      Update([on = t == "-headers"](TrackerSettings& s) { s.headers = on; });
    } else if (t == "-content" || t == "-nocontent") {
      Update([on = t == "-content"](TrackerSettings& s) { s.content = on; });
    } else if (t == "/p") {
      Update([](TrackerSettings& s) { s.track = !s.track; });
      const auto s = Settings();
      PrintOnShell(s->track ? "TRACK STARTED" : "TRACK PAUSED", false, true, s->file);
    } else if (t == "-clear" || t == "-c") {
      if (next.empty()) {
        ClearFilters("");
      } else {
        for (std::size_t j = i + 1; j < tokens.size(); ++j) ClearFilters(tokens[j]);
      }
      return;
    } else if (t == "-list" || t == "-l") {
      ListParams(next);
    }
  }
}

void WebTracker::ClearFilters(std::string_view type) {
  const bool all = type.empty() || type == "-all";
  Update([&](TrackerSettings& s) {
    if (all || type == "-pi") s.path_info.clear();
    if (all || type == "-p") s.param.clear();
    if (all || type == "-q") s.query.clear();
    if (all || type == "-h") s.header.clear();
  });
}

void WebTracker::ListParams(std::string_view type) {
  const auto s = Settings();
  const bool all = type.empty() || type == "-all";
  std::vector<std::string> lines;
  if (!s->track) {
    lines.emplace_back();
    lines.emplace_back(" ==> ATTENTION! The tracker is PAUSED.");
  }
  if (!s->file.empty()) {
    lines.emplace_back();
    lines.push_back("Saving to file \"" + s->file + "\"");
  }
  if ((all || type == "-pi") && !s->path_info.empty()) {
    lines.emplace_back();
    lines.emplace_back("Path info:");
    lines.insert(lines.end(), s->path_info.begin(), s->path_info.end());
  }
  const auto pairs = [&lines](std::string_view title, const std::map<std::string, std::string>& m) {
    lines.emplace_back();
    lines.emplace_back(title);
    for (const auto& [name, value] : m) lines.push_back(name + "=" + value);
  };
  if ((all || type == "-p") && !s->param.empty()) pairs("Param:", s->param);
  if ((all || type == "-q") && !s->query.empty()) pairs("Query", s->query);
  if ((all || type == "-h") && !s->header.empty()) pairs("Header:", s->header);
  std::string text(Trim(Join(lines)));
  if (text.empty()) text = "No filters defined";
  PrintOnShell("*** ENABLED TRACKER FILTERS ***\r\n\r\n" + text, false, false, {});
}

void WebTracker::PrintHelp() { PrintOnShell(kHelp, false, false, {}); }

bool WebTracker::Matches(const TrackerSettings& s, WebRequest& req) const {
  if (!s.path_info.empty()) {
    const std::string path = Lower(req.RawWebRequest().PathInfo());
    if (std::find(s.path_info.begin(), s.path_info.end(), path) == s.path_info.end()) return false;
  }
  // Path parameters are filled by the router, after this middleware ran; a
  // parameter filter therefore holds back every request, as the help says.
  for (const auto& [name, value] : s.param) {
    const auto it = req.Params().find(name);
    if (it == req.Params().end() || it->second != value) return false;
  }
  if (!s.query.empty()) {
    const core::WebStringMap* query = nullptr;
    try {
      query = &req.Query();
    } catch (const std::exception&) {
      return false;  // a query naming a field twice has no map to compare
    }
    for (const auto& [name, value] : s.query) {
      const auto it = query->find(name);
      if (it == query->end() || it->second != value) return false;
    }
  }
  for (const auto& [name, value] : s.header) {
    if (req.Headers(name) != value) return false;
  }
  return true;
}

void WebTracker::Log(WebRequest& req, WebResponse& res, const WebNext& next) {
  const std::shared_ptr<const TrackerSettings> s = Settings();
  if (!s->track || !Matches(*s, req)) {
    next();
    return;
  }

  bool interrupted = false;
  std::exception_ptr error;
  std::vector<std::string> lines;
  // Runs one step; the interruption is noted and swallowed, any other error
  // is written into the entry and kept to be raised again once it is out.
  const auto guarded = [&](auto&& step) {
    try {
      step();
      return true;
    } catch (const WebCallbackInterrupted&) {
      interrupted = true;
      return true;
    } catch (const std::exception& e) {
      lines.push_back(std::string(kCrLf) + "Exception:" + std::string(kCrLf) + e.what());
    } catch (...) {
      lines.push_back(std::string(kCrLf) + "Exception:" + std::string(kCrLf) + "unknown error");
    }
    error = std::current_exception();
    return false;
  };

  const auto request_part = [&] {
    const core::RawRequest& raw = req.RawWebRequest();
    std::string first = raw.method + " " + raw.PathInfo();
    // The query fields, not the query map: reading the map can fail, and
    // logging must not change the answer.
    if (!raw.QueryFields().empty()) first += "?" + raw.query_string;
    lines.emplace_back(Trim(first));
    const std::string body = req.Body();
    if (!body.empty() && body != raw.query_string) {
      lines.insert(lines.end(), {"", "BODY:", body, ""});
    }
    if (s->headers) {
      const std::string headers = core::WebRequestUtils::Headers(req);
      if (!headers.empty()) lines.insert(lines.end(), {"", "HEADERS:", headers, ""});
    }
  };
  const auto response_part = [&] {
    const int status = res.Status();
    lines.push_back("RESPONSE: " + std::to_string(status) + " - " +
                    std::string(core::ReasonPhrase(status)));
    if (!s->content || status == 304) return;
    std::string content;
    if (const lib::JsonValue* value = res.Content()) {
      content = lib::ToPlainAsciiJson(*value);
    } else if (res.RawWebResponse().body_is_bytes()) {
      content = "The returned content is a binary file.";
    } else {
      content = res.Body();
    }
    if (!content.empty()) {
      lines.emplace_back();
      lines.push_back("CONTENT: " + std::string(kCrLf) + content);
    }
  };

  if (guarded(request_part) && guarded(next)) guarded(response_part);
  PrintOnShell(Printable(Join(lines)), true, true, s->file);
  if (error) std::rethrow_exception(error);
  if (interrupted) throw WebCallbackInterrupted();
}

void WebTracker::PrintOnShell(std::string_view text, bool with_prompt, bool to_file,
                              const std::string& file) {
  std::string framed;
  framed.reserve(text.size() + 160);
  framed += kStars;
  framed += "\r\n\r\n[";
  framed += FormatLocal(std::chrono::system_clock::now(), "%d/%m/%Y %H:%M:%S", true);
  framed += "]\r\n\r\n";
  framed += Trim(text);
  framed += "\r\n\r\n";
  framed += kStars;

  std::lock_guard lock(output_mutex_);
  WriteOutLocked(framed);
  WriteOutLocked(with_prompt ? "\r\n\r\nTRACKER >\r\n" : "\r\n");
  if (!to_file || file.empty()) return;
  const int error = AppendToFile(file, framed + std::string(kCrLf));
  if (error == 0) {
    failed_file_.clear();
  } else if (failed_file_ != file) {
    // Said once per file, not once per request; the log goes on on screen.
    failed_file_ = file;
    WriteOutLocked("Warning: cannot write the log file \"" + file + "\": " + std::strerror(error) +
                   "; logging to the console only.\r\n");
  }
}

void WebTracker::WriteOut(std::string_view text) {
  std::lock_guard lock(output_mutex_);
  WriteOutLocked(text);
}

void WebTracker::WriteOutLocked(std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(output_, text.data(), text.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return;  // a closed console must not stop the server
    }
    text.remove_prefix(static_cast<std::size_t>(n));
  }
}

}  // namespace quorvane::web::middleware
