// Many requests at once through the server's whole chain (tenant checks,
// token, handlers, database), as the ThreadSanitizer build must see them:
//   - exactly 32 requests inside handlers at the same time, and the 33rd
//     refused with the over-limit answer while they are;
//   - 64 clients mixing reads and writes, so that requests queue for the
//     connection pool, with every acknowledged write in the database after;
//   - the operator console changing the log filters while the requests are
//     being logged, with every log entry written whole.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "e2e_fixture.h"
#include "model/model_database.h"
#include "web/core/web_provider.h"
#include "web/middleware/tracker.h"

namespace quorvane::e2e {
namespace {

using namespace std::chrono_literals;
using web::core::WebNext;
using web::core::WebRequest;
using web::core::WebResponse;

// Holds requests inside their handler until `expected` have arrived, so that
// that many are in flight at once; the test then opens it.
class Gate {
 public:
  void Arrive() {
    std::unique_lock lock(mutex_);
    ++inside_;
    changed_.notify_all();
    changed_.wait_for(lock, 30s, [this] { return open_; });
  }
  bool WaitInside(int expected) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, 30s, [&] { return inside_ >= expected; });
  }
  void Open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int inside_ = 0;
  bool open_ = false;
};

Gate& HoldGate() {
  static Gate gate;
  return gate;
}

class ConcurrencyTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    tenant_ = new FixtureTenant(UniqueName("qv_rel"));
    server_ = new E2EServer([](web::core::WebCore& core) {
      // Behind the whole chain: waits at the gate, then reads the tenant's
      // cities with a pooled connection, as any download does.
      core.Get("/v1/probe/hold", [](WebRequest& req, WebResponse& res, const WebNext&) {
        HoldGate().Arrive();
        model::ModelDatabase::ExecuteGet(req, res, "Select codigo, cidade From cidades");
      });
    });
    client_ = new Client(*server_, *tenant_);
    tenant_->db().Exec("INSERT INTO cidades (codigo, cidade, estado) VALUES (1, 'Base', 'SP')");
  }
  static void TearDownTestSuite() {
    delete client_;
    delete server_;
    delete tenant_;
  }

  static FixtureTenant* tenant_;
  static E2EServer* server_;
  static Client* client_;
};

FixtureTenant* ConcurrencyTest::tenant_ = nullptr;
E2EServer* ConcurrencyTest::server_ = nullptr;
Client* ConcurrencyTest::client_ = nullptr;

bool IsOverLimit(const HttpResponse& res) {
  return res.status == 500 &&
         res.body.find(web::core::kTooManyRequestsMessage) != std::string::npos;
}

TEST_F(ConcurrencyTest, ThirtyTwoRequestsRunAtOnceAndTheNextIsRefused) {
  constexpr int kInFlight = static_cast<int>(web::core::kMaxRequestsInFlight);
  std::vector<HttpResponse> answers(kInFlight);
  std::vector<std::thread> clients;
  for (int i = 0; i < kInFlight; ++i) {
    clients.emplace_back([&, i] { answers[i] = client_->Get("/v1/probe/hold"); });
  }
  const bool all_inside = HoldGate().WaitInside(kInFlight);
  HttpResponse refused;
  if (all_inside) refused = client_->Get("/v1/cidade");
  HoldGate().Open();
  for (auto& c : clients) c.join();

  ASSERT_TRUE(all_inside) << "the requests never were all in flight";
  EXPECT_TRUE(IsOverLimit(refused)) << refused.status << " " << refused.body;
  for (const HttpResponse& res : answers) {
    ASSERT_EQ(res.status, 200) << res.body;
    EXPECT_EQ(res.body, R"([{"codigo":1,"cidade":"Base"}])");
  }
  // The slots are all free again.
  EXPECT_EQ(client_->Get("/v1/cidade?limit=1").status, 200);
}

TEST_F(ConcurrencyTest, ManyClientsReadAndWriteThroughThePool) {
  constexpr int kClients = 64;
  constexpr int kRounds = 6;
  constexpr int kFirstCode = 1000;
  std::atomic<int> acknowledged{0};
  std::atomic<int> refused_over_limit{0};
  std::mutex failures_mutex;
  std::vector<std::string> failures;
  const auto fail = [&](std::string what) {
    std::lock_guard lock(failures_mutex);
    failures.push_back(std::move(what));
  };
  std::vector<std::thread> clients;
  for (int c = 0; c < kClients; ++c) {
    clients.emplace_back([&, c] {
      for (int r = 0; r < kRounds; ++r) {
        const int code = kFirstCode + c * kRounds + r;
        const bool write = (c + r) % 2 == 0;
        // The over-limit answer is the server protecting itself; a client
        // tries again, as branch systems do.
        for (int attempt = 0; attempt < 50; ++attempt) {
          const HttpResponse res =
              write ? client_->Post("/v1/cidade", R"({"codigo":)" + std::to_string(code) +
                                                      R"(,"cidade":"Cidade )" +
                                                      std::to_string(code) + R"(","estado":"RS"})")
                    : client_->Get("/v1/cidade?limit=20&page=" + std::to_string(1 + r));
          if (IsOverLimit(res)) {
            ++refused_over_limit;
            std::this_thread::sleep_for(5ms);
            continue;
          }
          if (write && (res.status == 200 || res.status == 204)) {
            ++acknowledged;
          } else if (!write && (res.status == 200 || res.status == 422)) {
            // rows, or none yet on a later page
          } else {
            fail(std::to_string(res.status) + " " + res.body);
          }
          break;
        }
      }
    });
  }
  for (auto& c : clients) c.join();
  EXPECT_TRUE(failures.empty()) << failures.size() << " failed, first: " << failures.front();
  const int writes = kClients * kRounds / 2;
  EXPECT_EQ(acknowledged.load(), writes);
  EXPECT_EQ(tenant_->db().Count("cidades", "codigo >= " + std::to_string(kFirstCode)),
            acknowledged.load());
  RecordProperty("over_limit_refusals", refused_over_limit.load());
}

// Splits a log at its frame lines.
std::vector<std::string> Blocks(const std::string& log) {
  std::vector<std::string> blocks;
  const std::string stars(50, '*');
  std::size_t pos = log.find(stars);
  while (pos != std::string::npos) {
    const std::size_t next = log.find(stars, pos + stars.size());
    blocks.push_back(log.substr(pos + stars.size(), next == std::string::npos
                                                        ? std::string::npos
                                                        : next - pos - stars.size()));
    pos = next;
  }
  return blocks;
}

int CountOf(const std::string& text, std::string_view what) {
  int n = 0;
  for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

TEST_F(ConcurrencyTest, ConsoleChangesFiltersWhileRequestsAreLogged) {
  using web::middleware::WebTracker;
  WebTracker& tracker = WebTracker::GetInstance();  // the one the chain logs to
  const std::filesystem::path log =
      std::filesystem::temp_directory_path() / (UniqueName("qv_rel_track") + ".log");
  std::filesystem::remove(log);
  tracker.Command(">" + log.string());
  tracker.Command("-content -headers");
  if (!tracker.Settings()->track) tracker.Command("/p");
  ASSERT_TRUE(tracker.Settings()->track);

  std::atomic<bool> done{false};
  std::atomic<int> commands{0};
  std::thread operator_thread([&] {
    const char* lines[] = {"-nocontent",
                           "-content -h x-filial=2",
                           "-c",
                           "-noheaders",
                           "-pi /v1/cidade",
                           "-q limit=3",
                           "-l",
                           "-headers",
                           "-clear -pi",
                           "-h x-filial=1",
                           "-c -all"};
    for (int i = 0; !done; ++i) {
      tracker.Command(lines[i % std::size(lines)]);
      ++commands;
      std::this_thread::sleep_for(1ms);
    }
  });
  constexpr int kClients = 32;
  constexpr int kRounds = 4;
  std::atomic<int> answered{0};
  std::vector<std::thread> clients;
  for (int c = 0; c < kClients; ++c) {
    clients.emplace_back([&, c] {
      for (int r = 0; r < kRounds; ++r) {
        HttpHeaders headers;
        SetHeader(headers, "x-filial", std::to_string(1 + (c + r) % 2));
        for (int attempt = 0; attempt < 50; ++attempt) {
          const HttpResponse res = client_->Get("/v1/cidade?limit=3", headers);
          if (IsOverLimit(res)) {
            std::this_thread::sleep_for(5ms);
            continue;
          }
          if (res.status == 200) ++answered;
          break;
        }
      }
    });
  }
  for (auto& c : clients) c.join();
  done = true;
  operator_thread.join();
  if (tracker.Settings()->track) tracker.Command("/p");
  tracker.Command("-c");
  tracker.Command(">");

  EXPECT_EQ(answered.load(), kClients * kRounds);
  EXPECT_GT(commands.load(), 0);
  std::ifstream in(log, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  int entries = 0;
  for (const std::string& block : Blocks(text)) {
    if (block.find("GET ") == std::string::npos) continue;  // pause messages
    ++entries;
    EXPECT_EQ(CountOf(block, "GET /v1/cidade"), 1) << block;
    EXPECT_EQ(CountOf(block, "RESPONSE: 200 - OK"), 1) << block;
  }
  EXPECT_GT(entries, 0) << "nothing was logged";
  EXPECT_LE(entries, kClients * kRounds);
  std::filesystem::remove(log);
}

}  // namespace
}  // namespace quorvane::e2e
