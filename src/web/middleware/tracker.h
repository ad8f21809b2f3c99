#pragma once

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "web/core/web_callback.h"
#include "web/core/web_provider.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"

namespace quorvane::web::middleware {

// What the operator chose at the tracker prompt. Workers read a snapshot;
// the console replaces it whole, so a reader never sees half a change.
struct TrackerSettings {
  bool track = false;    // request logging on
  bool content = false;  // response content shown in log entries
  bool headers = false;  // request headers shown in log entries
  std::string file;      // log file; empty: none
  std::vector<std::string> path_info;
  std::map<std::string, std::string> param;
  std::map<std::string, std::string> query;
  std::map<std::string, std::string> header;
};

// The operator console. Once the server listens it owns the main thread: it
// prints a banner, reads commands, lets the operator switch on a live log of
// requests and responses (with filters, detail switches and an optional log
// file), and stops the server when the operator types the stop password.
//
// The process has one tracker (GetInstance, on standard input and output, over
// the process-wide provider); tests make their own on pipes.
//
// Thread-safety: the console runs on one thread; the middleware and the
// status page run on any number of worker threads at once. Log blocks are
// written whole, never interleaved, on the output and in the log file.
class WebTracker {
 public:
  static constexpr std::string_view kDefaultPassword = "jorq";

  // A tracker for `provider`, reading commands from the file descriptor
  // `input` and writing to `output` (neither is closed by the tracker).
  WebTracker(core::WebProvider& provider, int input, int output);
  ~WebTracker();
  WebTracker(const WebTracker&) = delete;
  WebTracker& operator=(const WebTracker&) = delete;

  // The process-wide tracker: standard input and output, the process-wide
  // provider.
  static WebTracker& GetInstance();

  // The process-wide tracker's logging middleware and status page.
  static void Tracker(core::WebRequest& req, core::WebResponse& res, const core::WebNext& next);
  static void Status(core::WebRequest& req, core::WebResponse& res, const core::WebNext& next);

  // The command line after the program name; a first argument "-track" (any
  // case) starts the console in the tracker prompt.
  void Arguments(std::vector<std::string> args);

  // Registers GET /status on the provider's tree, starts the provider and runs
  // the console on the calling thread. Returns once the operator typed the
  // stop password or a stop was requested, after the provider has stopped.
  // Throws when the provider cannot listen (no banner is printed then).
  //
  // When the input ends (a service manager, CI), the console stops reading
  // and the server goes on serving until RequestStop (SIGINT, SIGTERM).
  void Listen();  // title: the program's file name
  void Listen(std::string name_api);
  void Listen(std::string name_api, std::string password, bool case_sensitive);

  // Ends the console loop from any thread or from a signal handler
  // (async-signal-safe). Listen installs it for SIGINT and SIGTERM.
  void RequestStop() noexcept;

  // The logging middleware and the status page of this tracker.
  void Log(core::WebRequest& req, core::WebResponse& res, const core::WebNext& next);
  void StatusPage(core::WebRequest& req, core::WebResponse& res, const core::WebNext& next);
  core::WebCallback Middleware();

  // "Started in yyyy-mm-dd hh:MM:ss - Port: N".
  std::string StartedStr() const;
  std::chrono::system_clock::time_point Started() const;

  // Runs one command line as typed at the tracker prompt (tests, the loop).
  void Command(std::string_view line);
  std::shared_ptr<const TrackerSettings> Settings() const;

 private:
  class ConsoleInput;

  void Console(bool auto_track);
  // False when the console was stopped while in the tracker prompt.
  bool Track(std::string_view initial);
  std::optional<std::string> ReadConsoleLine();
  void PrintBanner();
  void PrintHelp();
  void ListParams(std::string_view type);
  void ClearFilters(std::string_view type);
  bool Matches(const TrackerSettings& s, core::WebRequest& req) const;
  // Frames `text` and writes it whole; request logs end with the tracker
  // prompt. `to_file`: also append the block to the log file `file`.
  void PrintOnShell(std::string_view text, bool with_prompt, bool to_file, const std::string& file);
  void WriteOut(std::string_view text);        // takes the output lock
  void WriteOutLocked(std::string_view text);  // output lock held
  template <class F>
  void Update(F&& change);

  core::WebProvider* provider_;
  int output_;
  std::unique_ptr<ConsoleInput> input_;
  // Console thread only.
  std::string password_;
  bool case_sensitive_ = false;
  bool status_registered_ = false;

  mutable std::mutex state_mutex_;  // guards the fields below
  std::shared_ptr<const TrackerSettings> settings_;
  std::string name_api_;
  std::chrono::system_clock::time_point started_;
  int port_ = 0;
  std::vector<std::string> args_;

  std::mutex output_mutex_;  // one block at a time, output and file
  std::string failed_file_;  // log file last reported as failing
};

}  // namespace quorvane::web::middleware
