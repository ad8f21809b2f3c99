// The console tracker driven through pipes, with a real provider serving
// requests on an ephemeral port while the console runs.
#include "web/middleware/tracker.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "lib/json.h"
#include "test_support.h"
#include "web/core/router_tree.h"
#include "web/core/web_core.h"
#include "web/core/web_provider.h"
#include "web/middleware/compression.h"
#include "web/middleware/cors.h"
#include "web/middleware/etag.h"
#include "web/middleware/json_body.h"

namespace quorvane::web::middleware {
namespace {

using core::WebNext;
using core::WebRequest;
using core::WebResponse;
using lib::JsonValue;
using testing::Exchange;
using testing::HttpAnswer;
using testing::LogBlocks;
using testing::Request;

constexpr std::string_view kBannerEnd = "Type JORQ to end the API.\r\n";

struct ConsoleOptions {
  std::vector<std::string> args;
  std::string password = std::string(WebTracker::kDefaultPassword);
  bool case_sensitive = false;
};

// A server with the start-up chain (minus validation and tokens) and its
// tracker, whose console reads from `input` and writes into `output`.
class Console {
 public:
  explicit Console(ConsoleOptions options = {}) : core_(tree_), provider_(core_) {
    tracker_ = std::make_unique<WebTracker>(provider_, input_.read_fd(), output_.write_fd());
    core_.Use(tracker_->Middleware());
    core_.Use(Compression(1024));
    core_.Use(core::WebCallbacks{JsonBody("UTF-8")});
    core_.Use(CORS);
    core_.Use(eTag);
    core_.Get("/v1/cidade", [](WebRequest&, WebResponse& res, const WebNext&) {
      res.Send(*lib::ParseJson(R"([{"codigo":1,"nome":"S\u00e3o Paulo"}])"));
    });
    core_.Get("/v1/cidade/:id", [](WebRequest& req, WebResponse& res, const WebNext&) {
      res.Send(JsonValue::MakeObject().Add("id", JsonValue::String(req.Params().at("id"))));
    });
    core_.Post("/v1/cidade", [](WebRequest& req, WebResponse& res, const WebNext&) {
      res.Send(req.BodyObject() ? *req.BodyObject() : JsonValue());
    });
    core_.Get("/v1/other",
              [](WebRequest&, WebResponse& res, const WebNext&) { res.Send("other"); });
    core_.Get("/v1/fail", [](WebRequest&, WebResponse&, const WebNext&) {
      throw std::runtime_error("broken handler");
    });
    tracker_->Arguments(options.args);
    provider_.BindAnyPort();
    console_ = std::thread([this, options] {
      try {
        tracker_->Listen("Quorvane", options.password, options.case_sensitive);
      } catch (const std::exception& e) {
        error_ = e.what();
      }
      finished_ = true;
    });
    if (output_.WaitFor("to end the API.\r\n") == std::string::npos) {
      throw std::runtime_error("no banner: " + output_.Text());
    }
    port_ = provider_.BoundPort();
  }

  ~Console() {
    tracker_->RequestStop();
    console_.join();
  }

  // Waits until the console thread returned from Listen.
  bool WaitFinished() {
    for (int i = 0; i < 1000 && !finished_; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return finished_;
  }

  void Type(std::string_view line) { input_.Type(line); }
  // Types `line` and waits for the next tracker prompt line after it.
  void Command(std::string_view line) {
    const std::size_t from = output_.Text().size();
    Type(line);
    ASSERT_NE(output_.WaitFor("TRACKER >\r\n", from), std::string::npos) << output_.Text();
  }
  HttpAnswer Get(std::string_view target, const std::vector<std::string>& headers = {}) {
    return Exchange(port_, Request("GET", target, headers));
  }
  // The blocks written from position `from` on, waiting until one contains
  // `marker`.
  std::vector<std::string> BlocksUntil(std::string_view marker, std::size_t from = 0) {
    EXPECT_NE(output_.WaitFor(marker, from), std::string::npos) << output_.Text();
    return LogBlocks(output_.Text().substr(from));
  }

  testing::PipeCapture& output() { return output_; }
  testing::InputPipe& input() { return input_; }
  WebTracker& tracker() { return *tracker_; }
  int port() const { return port_; }
  const std::string& error() const { return error_; }

 private:
  core::WebRouterTree tree_;
  core::WebCore core_;
  core::WebProvider provider_;
  testing::InputPipe input_;
  testing::PipeCapture output_;
  std::unique_ptr<WebTracker> tracker_;
  std::thread console_;
  std::atomic<bool> finished_{false};
  std::string error_;
  int port_ = 0;
};

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

int CountOf(std::string_view text, std::string_view part) {
  int n = 0;
  for (std::size_t p = text.find(part); p != std::string_view::npos; p = text.find(part, p + 1))
    ++n;
  return n;
}

TEST(TrackerConsoleTest, BannerPromptAndTheStopPasswordInCapitals) {
  Console console;
  const std::string out = console.output().Text();
  const std::regex banner(
      "Quorvane online!\r\nStarted in \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d - Port: " +
      std::to_string(console.port()) + "\r\nType JORQ to end the API.\r\n");
  EXPECT_TRUE(std::regex_search(out, banner)) << out;
  EXPECT_NE(console.output().WaitFor(std::string(kBannerEnd) + ">"), std::string::npos);

  // With the default password a wrong line is ignored without a word.
  console.Type("hello");
  EXPECT_NE(console.output().WaitFor(">>"), std::string::npos) << console.output().Text();
  EXPECT_FALSE(Contains(console.output().Text(), "Incorrect"));
  EXPECT_EQ(console.Get("/v1/cidade").status, 200);

  console.Type("JORQ");
  ASSERT_TRUE(console.WaitFinished());
  EXPECT_EQ(console.error(), "");
  EXPECT_TRUE(testing::ConnectionRefused(console.port()));
}

TEST(TrackerConsoleTest, OtherPasswordsAreAnnouncedAndComparedAsConfigured) {
  const struct {
    std::string_view name;
    bool case_sensitive;
    std::string_view wrong, right;
  } cases[] = {
      {"CaseInsensitive", false, "nope", "SECRET"},
      {"CaseSensitive", true, "secret", "Secret"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Console console({.password = "Secret", .case_sensitive = c.case_sensitive});
    EXPECT_TRUE(Contains(console.output().Text(), "Enter the password to end the API.\r\n"));
    console.Type(c.wrong);
    EXPECT_NE(console.output().WaitFor("Incorrect password! Try again.\r\n"), std::string::npos);
    console.Type(c.right);
    EXPECT_TRUE(console.WaitFinished());
  }
}

TEST(TrackerConsoleTest, TrackArgumentStartsInTheTrackerPromptAndLogsTheFirstRequest) {
  Console console({.args = {"-TRACK"}});
  ASSERT_NE(console.output().WaitFor(std::string(kBannerEnd) + "TRACKER >\r\n"), std::string::npos)
      << console.output().Text();
  console.Get("/v1/cidade");
  const auto blocks = console.BlocksUntil("RESPONSE: 200");
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0].rfind("GET /v1/cidade\r\n", 0), 0u) << blocks[0];
}

TEST(TrackerConsoleTest, ABlockHoldsRequestHeadersStatusAndPlainContent) {
  Console console;
  console.Command("track");
  const std::size_t from = console.output().Text().size();
  console.Get("/v1/cidade?page=2", {"x-filial: 1"});
  console.output().WaitFor("TRACKER >\r\n", from);
  const std::string out = console.output().Text().substr(from);

  // Frame: 50 stars, blank line, [dd/mm/yyyy hh:MM:ss:zzz], blank line, the
  // text, blank line, 50 stars, then the tracker prompt.
  const std::string stars(50, '*');
  const std::regex frame("^" + std::regex_replace(stars, std::regex("\\*"), "\\*") +
                         "\r\n\r\n\\[\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d:\\d{3}\\]\r\n\r\n"
                         "GET /v1/cidade\\?page=2\r\n\r\nHEADERS:\r\n[^]*\r\n\r\n" +
                         std::regex_replace(stars, std::regex("\\*"), "\\*") +
                         "\r\n\r\nTRACKER >\r\n$");
  EXPECT_TRUE(std::regex_match(out, frame)) << out;

  const auto blocks = LogBlocks(out);
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_TRUE(Contains(blocks[0], "\r\nx-filial: 1\r\n")) << blocks[0];
  // Content in the plain form: no \u escapes, non-ASCII reduced to "?".
  EXPECT_TRUE(Contains(blocks[0],
                       "\r\n\r\nRESPONSE: 200 - OK\r\n\r\nCONTENT: \r\n"
                       R"([{"codigo":1,"nome":"S?o Paulo"}])"))
      << blocks[0];
}

TEST(TrackerConsoleTest, DisplaySwitchesBodiesAnd304) {
  Console console;
  console.Command("track -noheaders -nocontent");
  std::size_t from = console.output().Text().size();
  console.Get("/v1/cidade");
  auto blocks = console.BlocksUntil("RESPONSE: 200 - OK", from);
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0], "GET /v1/cidade\r\nRESPONSE: 200 - OK");

  console.Command("-content");
  from = console.output().Text().size();
  Exchange(console.port(),
           Request("POST", "/v1/cidade", {"Content-Type: application/json"}, R"({"nome":"Rio"})"));
  blocks = console.BlocksUntil("CONTENT:", from);
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0],
            "POST /v1/cidade\r\n\r\nBODY:\r\n{\"nome\":\"Rio\"}\r\n\r\nRESPONSE: 200 - OK\r\n\r\n"
            "CONTENT: \r\n{\"nome\":\"Rio\"}");

  // A 304 is logged without its content.
  const std::string tag = console.Get("/v1/cidade").Header("ETag");
  ASSERT_FALSE(tag.empty());
  from = console.output().Text().size();
  EXPECT_EQ(console.Get("/v1/cidade", {"If-None-Match: " + tag}).status, 304);
  blocks = console.BlocksUntil("RESPONSE: 304", from);
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0], "GET /v1/cidade\r\nRESPONSE: 304 - Not Modified");

  // Text answers show their body.
  from = console.output().Text().size();
  console.Get("/v1/other");
  blocks = console.BlocksUntil("CONTENT:", from);
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_TRUE(Contains(blocks[0], "CONTENT: \r\nother")) << blocks[0];
}

TEST(TrackerConsoleTest, AFailingHandlerIsLoggedAndStillAnswered) {
  Console console;
  console.Command("track -nocontent");
  EXPECT_EQ(console.Get("/v1/fail").status, 500);
  const auto blocks = console.BlocksUntil("Exception:");
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_TRUE(Contains(blocks[0], "Exception:\r\nbroken handler")) << blocks[0];
  EXPECT_FALSE(Contains(blocks[0], "RESPONSE:"));
}

struct FilterCase {
  std::string_view name;
  std::string_view command;  // typed at the main prompt
  std::string_view skipped_target;
  std::vector<std::string> skipped_headers;
  std::string_view logged_target;
  std::vector<std::string> logged_headers;
};

class TrackerFilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(TrackerFilterTest, LogsOnlyMatchingRequests) {
  const FilterCase& c = GetParam();
  Console console;
  console.Command(c.command);
  const std::size_t from = console.output().Text().size();
  console.Get(c.skipped_target, c.skipped_headers);
  console.Get(c.logged_target, c.logged_headers);
  const auto blocks = console.BlocksUntil("RESPONSE:", from);
  ASSERT_EQ(blocks.size(), 1u) << console.output().Text();
  EXPECT_EQ(blocks[0].rfind("GET " + std::string(c.logged_target) + "\r\n", 0), 0u) << blocks[0];
}

const FilterCase kFilterCases[] = {
    {"PathAnyCase", "track -pi /v1/cidade", "/v1/other", {}, "/V1/Cidade", {}},
    {"PathWithQuery", "track -pi /v1/cidade", "/v1/cidade/1", {}, "/v1/cidade?page=1", {}},
    {"Query", "track -q page=2", "/v1/cidade?page=3", {}, "/v1/cidade?page=2", {}},
    {"QueryMissing", "track -q page=2", "/v1/cidade", {}, "/v1/cidade?limit=5&page=2", {}},
    {"Header",
     "track -h x-filial=1",
     "/v1/cidade",
     {"x-filial: 01"},
     "/v1/cidade",
     {"X-Filial: 1"}},
    // Filter values are lower-cased with the command line and compared
    // exactly.
    {"HeaderValueCase",
     "track -h x-schema=Loja",
     "/v1/cidade",
     {"x-schema: Loja"},
     "/v1/cidade",
     {"x-schema: loja"}},
    {"DuplicateQueryIsNoMatch", "track -q a=1", "/v1/cidade?a=1&a=1", {}, "/v1/cidade?a=1", {}},
    {"AllMustHold",
     "track -pi /v1/cidade -q page=2",
     "/v1/other?page=2",
     {},
     "/v1/cidade?page=2",
     {}},
};
INSTANTIATE_TEST_SUITE_P(Table, TrackerFilterTest, ::testing::ValuesIn(kFilterCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TrackerConsoleTest, AParamFilterHoldsEverythingBackUntilCleared) {
  Console console;
  console.Command("track -p id=1");
  const std::size_t from = console.output().Text().size();
  EXPECT_EQ(console.Get("/v1/cidade/1").status, 200);
  console.Command("-c");
  console.Get("/v1/cidade/2");
  const auto blocks = console.BlocksUntil("RESPONSE:", from);
  ASSERT_EQ(blocks.size(), 1u) << console.output().Text();
  EXPECT_EQ(blocks[0].rfind("GET /v1/cidade/2\r\n", 0), 0u);
}

TEST(TrackerConsoleTest, HelpAndFilterListingWordForWord) {
  Console console;
  console.Command("track /?");
  auto blocks = LogBlocks(console.output().Text());
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0],
            "*** AVAILABLE TRACKER COMMANDS ***\r\n\r\n"
            "/?             : Displays available parameters\r\n"
            "-?             : Equivalent to /?\r\n\r\n"
            "-pi <Path Info>: Filters the path info entered\r\n"
            "-p <Param>     : Filters the param entered\r\n"
            "-q <Query>     : Filters the query entered\r\n"
            "-h <Header>    : Filters the header entered\r\n\r\n"
            "-clear <Type>  : Clean filters by type\r\n"
            "                 Ex.: -clear -pi\r\n"
            "-clear -all    : Clean all filters\r\n"
            "-clear         : Equivalent to -clear -all\r\n"
            "-c             : Equivalent to -clear\r\n\r\n"
            "-content       : Displays the content of the requisition\r\n"
            "-nocontent     : Hides the content of the requisition\r\n"
            "-headers       : Displays the headers of the requisition\r\n"
            "-noheaders     : Hides the headers of the requisition\r\n\r\n"
            "-list <Type>   : Displays all enabled filters by type\r\n"
            "                 Ex.: -list -pi\r\n"
            "-list -all     : Displays all enabled filters\r\n"
            "-list          : Equivalent to -list -all\r\n"
            "-l             : Equivalent to -list\r\n\r\n"
            "/p             : Pause the Tracker\r\n\r\n"
            "*** AVAILABLE CODE LINE COMMANDS ***\r\n\r\n"
            "-track         : Launch API with Tracker active");

  const struct {
    std::string_view name, command, listing;
  } cases[] = {
      {"Nothing", "-list", "No filters defined"},
      {"All", "-pi /v1/CIDADE -p id=1 -q page=2 -h x-filial=1 -q limit=5 -l",
       "Path info:\r\n/v1/cidade\r\n\r\nParam:\r\nid=1\r\n\r\nQuery\r\nlimit=5\r\npage=2\r\n\r\n"
       "Header:\r\nx-filial=1"},
      {"ByType", "-l -q", "Query\r\nlimit=5\r\npage=2"},
      {"IncompleteFiltersIgnored", "-c -q\n-p =1 -h x= -l -p", "Param:\r\nid=1"},
      {"ClearByTypes", "-c -p -h\n-list", "Path info:\r\n/v1/cidade"},
      {"PausedAndFile", "/p >log.txt -l -all",
       "==> ATTENTION! The tracker is PAUSED.\r\n\r\nSaving to file \"log.txt\"\r\n\r\n"
       "Path info:\r\n/v1/cidade"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // One command line may stand for two typed lines ("\n").
    std::string_view rest = c.command;
    for (std::size_t nl; (nl = rest.find('\n')) != std::string_view::npos;
         rest.remove_prefix(nl + 1)) {
      console.Command(rest.substr(0, nl));
    }
    console.Command(rest);
    blocks = LogBlocks(console.output().Text());
    ASSERT_FALSE(blocks.empty());
    EXPECT_EQ(blocks.back(), "*** ENABLED TRACKER FILTERS ***\r\n\r\n" + std::string(c.listing));
  }
  console.Command(">");  // no file left behind
}

class TempDir {
 public:
  TempDir() {
    // Lower case only: the console lower-cases what the operator types.
    static std::atomic<int> counter{0};
    path_ = "/tmp/qv_tracker_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
    ::mkdir(path_.c_str(), 0700);
  }
  ~TempDir() { std::filesystem::remove_all(path_); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(TrackerConsoleTest, LogFileGetsRequestEntriesAndPauseMessagesOnly) {
  TempDir dir;
  const std::string file = dir.path() + "/log.txt";
  Console console;
  console.Command("track -nocontent >" + file);
  console.Get("/v1/cidade?n=first");
  console.BlocksUntil("RESPONSE:");
  console.Command("/?");
  console.Command("-l");
  console.Command("/p");
  console.Get("/v1/cidade?n=paused");
  console.Command("/p");
  console.Get("/v1/cidade?n=second");
  console.BlocksUntil("GET /v1/cidade?n=second");
  console.output().WaitFor("RESPONSE:", console.output().Text().find("n=second"));
  console.Command(">");  // stop writing the file
  console.Get("/v1/cidade?n=after");
  console.BlocksUntil("GET /v1/cidade?n=after");
  console.output().WaitFor("RESPONSE:", console.output().Text().find("n=after"));

  const std::string text = ReadFile(file);
  const auto blocks = LogBlocks(text);
  ASSERT_EQ(blocks.size(), 4u) << text;
  EXPECT_EQ(blocks[0].rfind("GET /v1/cidade?n=first\r\n", 0), 0u);
  EXPECT_EQ(blocks[1], "TRACK PAUSED");
  EXPECT_EQ(blocks[2], "TRACK STARTED");
  EXPECT_EQ(blocks[3].rfind("GET /v1/cidade?n=second\r\n", 0), 0u);
  // Each block is one line of its own, without the prompt.
  EXPECT_FALSE(Contains(text, "TRACKER >"));
  EXPECT_EQ(text.substr(text.size() - 52), std::string(50, '*') + "\r\n");
  EXPECT_FALSE(Contains(console.output().Text(), "n=paused"));
}

TEST(TrackerConsoleTest, AnUnwritableLogFileWarnsOnceAndLogsOnScreen) {
  Console console;
  console.Command("track -nocontent >/nonexistent_dir_qv/log.txt");
  for (const char* n : {"a", "b"}) {
    EXPECT_EQ(console.Get(std::string("/v1/cidade?n=") + n).status, 200);
    console.BlocksUntil(std::string("GET /v1/cidade?n=") + n);
  }
  console.output().WaitFor("Warning", 0);
  console.Command("-l");
  const std::string out = console.output().Text();
  EXPECT_EQ(CountOf(out, "Warning: cannot write the log file \"/nonexistent_dir_qv/log.txt\": "), 1)
      << out;
  EXPECT_EQ(CountOf(out, "RESPONSE: 200"), 2);
}

TEST(TrackerConsoleTest, AnEmptyLineLeavesTheTrackerPromptAndStopsLogging) {
  Console console;
  console.Command("track");
  const std::size_t from = console.output().Text().size();
  console.Type("");
  ASSERT_NE(console.output().WaitFor(std::string(kBannerEnd) + ">", from), std::string::npos);
  console.Get("/v1/cidade?n=silent");
  console.Command("track");
  console.Get("/v1/cidade?n=loud");
  const auto blocks = console.BlocksUntil("RESPONSE:", from);
  ASSERT_EQ(blocks.size(), 1u) << console.output().Text();
  EXPECT_EQ(blocks[0].rfind("GET /v1/cidade?n=loud", 0), 0u);
}

TEST(TrackerConsoleTest, StatusPageNamesTitleStartAndPort) {
  Console console;
  const HttpAnswer a = console.Get("/status");
  EXPECT_EQ(a.status, 200);
  const std::regex page(
      "<h1>Quorvane started in \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d - port: " +
      std::to_string(console.port()) + "</h1>");
  EXPECT_TRUE(std::regex_match(a.body, page)) << a.body;
  EXPECT_EQ(console.tracker().StartedStr().rfind("Started in ", 0), 0u);
}

TEST(TrackerConsoleTest, ClosedInputKeepsServingUntilAStopIsRequested) {
  Console console({.args = {"-track"}});
  console.input().Close();
  ASSERT_NE(console.output().WaitFor("Console input closed"), std::string::npos);
  // Logging stays as it was: the operator asked for it on the command line.
  EXPECT_EQ(console.Get("/v1/cidade").status, 200);
  console.BlocksUntil("RESPONSE: 200");
  console.tracker().RequestStop();
  EXPECT_TRUE(console.WaitFinished());
  EXPECT_TRUE(testing::ConnectionRefused(console.port()));
}

TEST(TrackerConsoleTest, BlocksStayWholeWhileTheConsoleChangesSettings) {
  Console console;
  console.Command("track");
  std::atomic<bool> done{false};
  std::thread operator_thread([&] {
    const char* commands[] = {"-nocontent", "-content -h x-z=1", "-c", "-noheaders", "-headers"};
    for (int i = 0; !done; ++i) console.Command(commands[i % 5]);
  });
  std::vector<std::thread> clients;
  for (int t = 0; t < 4; ++t) {
    clients.emplace_back([&, t] {
      for (int i = 0; i < 15; ++i) {
        console.Get("/v1/cidade?t=" + std::to_string(t), {"x-z: 1"});
      }
    });
  }
  for (auto& c : clients) c.join();
  done = true;
  operator_thread.join();
  console.Command("-l");
  for (const std::string& block : LogBlocks(console.output().Text())) {
    if (block.rfind("GET ", 0) != 0) continue;
    EXPECT_EQ(CountOf(block, "GET "), 1) << block;
    EXPECT_EQ(CountOf(block, "RESPONSE: 200 - OK"), 1) << block;
  }
  EXPECT_EQ(CountOf(console.output().Text(), "\r\nRESPONSE: 200 - OK"), 60);
}

}  // namespace
}  // namespace quorvane::web::middleware
