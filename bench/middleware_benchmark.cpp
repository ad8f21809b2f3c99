// The cost the middleware chain adds to one JSON answer, without sockets:
// tag, serialise, compress; and the tracker with logging off and on.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "lib/json.h"
#include "web/core/raw_web.h"
#include "web/core/router_tree.h"
#include "web/core/web_core.h"
#include "web/core/web_provider.h"
#include "web/core/web_request.h"
#include "web/core/web_response.h"
#include "web/middleware/compression.h"
#include "web/middleware/etag.h"
#include "web/middleware/json_body.h"
#include "web/middleware/tracker.h"

namespace {

using quorvane::lib::JsonValue;
using quorvane::web::core::RawRequest;
using quorvane::web::core::RawResponse;
using quorvane::web::core::WebCallback;
using quorvane::web::core::WebRequest;
using quorvane::web::core::WebResponse;
namespace mw = quorvane::web::middleware;

// A result page of `rows` registry rows, the shape of a typical GET answer.
JsonValue MakePage(int rows) {
  JsonValue page = JsonValue::MakeArray();
  for (int r = 0; r < rows; ++r) {
    JsonValue row = JsonValue::MakeObject();
    row.Add("codigo", JsonValue::Integer(r));
    for (int c = 0; c < 12; ++c) {
      row.Add("texto" + std::to_string(c), JsonValue::String("S\xC3\xA3o Paulo / SP"));
    }
    for (int c = 0; c < 6; ++c) row.Add("valor" + std::to_string(c), JsonValue::Double(r * 1.25));
    page.Push(std::move(row));
  }
  return page;
}

// Compression(1024) -> JsonBody -> eTag around a handler that answers a
// page, as the start-up chain runs it (minus validation and tokens).
void BM_JsonAnswerChain(benchmark::State& state) {
  const JsonValue page = MakePage(static_cast<int>(state.range(0)));
  const std::string encoding = state.range(1) == 0 ? "" : state.range(1) == 1 ? "gzip" : "deflate";
  const WebCallback compression = mw::Compression(1024);
  const WebCallback json_body = mw::JsonBody();
  RawRequest raw_req;
  if (!encoding.empty()) raw_req.AddHeader("Accept-Encoding", encoding);
  std::size_t bytes = 0;
  for (auto _ : state) {
    RawResponse raw_res;
    WebRequest req(raw_req);
    WebResponse res(raw_res);
    compression(req, res,
                [&] { json_body(req, res, [&] { mw::eTag(req, res, [&] { res.Send(page); }); }); });
    bytes = raw_res.body().size();
    benchmark::DoNotOptimize(raw_res);
  }
  state.counters["body_bytes"] = static_cast<double>(bytes);
  state.SetLabel(encoding.empty() ? "identity" : encoding);
}
BENCHMARK(BM_JsonAnswerChain)->ArgsProduct({{30, 500}, {0, 1, 2}})->Unit(benchmark::kMicrosecond);

void BM_ContentETag(benchmark::State& state) {
  const JsonValue page = MakePage(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(mw::ContentETag(page));
}
BENCHMARK(BM_ContentETag)->Arg(30)->Arg(500)->Unit(benchmark::kMicrosecond);

// The tracker in front of a trivial handler: logging off costs a snapshot;
// logging on formats and writes a block (here to /dev/null).
void BM_Tracker(benchmark::State& state) {
  const bool logging = state.range(0) != 0;
  quorvane::web::core::WebRouterTree tree;
  quorvane::web::core::WebCore core(tree);
  quorvane::web::core::WebProvider provider(core);
  const int null_fd = ::open("/dev/null", O_RDWR | O_CLOEXEC);
  {
    mw::WebTracker tracker(provider, null_fd, null_fd);
    if (logging) tracker.Command("/p -content -headers");
    const JsonValue page = MakePage(30);
    RawRequest raw_req;
    raw_req.SetTarget("/v1/cidade?page=2");
    raw_req.AddHeader("x-filial", "1");
    for (auto _ : state) {
      RawResponse raw_res;
      WebRequest req(raw_req);
      WebResponse res(raw_res);
      tracker.Log(req, res, [&] { res.Send(page); });
      benchmark::DoNotOptimize(raw_res);
    }
    state.SetLabel(logging ? "logging" : "off");
  }
  ::close(null_fd);
}
BENCHMARK(BM_Tracker)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
