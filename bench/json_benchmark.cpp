#include "lib/json.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using quorvane::lib::JsonValue;

// A result page of `rows` registry rows with 20 columns of mixed kinds, the
// shape of a typical GET answer.
JsonValue MakePage(int rows) {
  JsonValue page = JsonValue::MakeArray();
  for (int r = 0; r < rows; ++r) {
    JsonValue row = JsonValue::MakeObject();
    row.Add("codigo", JsonValue::Integer(r));
    for (int c = 0; c < 12; ++c) {
      row.Add("texto" + std::to_string(c), JsonValue::String("S\xC3\xA3o Paulo / SP"));
    }
    for (int c = 0; c < 6; ++c) row.Add("valor" + std::to_string(c), JsonValue::Double(r * 1.25));
    row.Add("dtultalteracaoregistro", JsonValue::String("2026-12-10 11:14:46"));
    page.Push(std::move(row));
  }
  return page;
}

// Serialising one page, as the JSON middleware does for every answer.
void BM_ToJson(benchmark::State& state) {
  const JsonValue page = MakePage(static_cast<int>(state.range(0)));
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::string text = quorvane::lib::ToJson(page);
    bytes = text.size();
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_ToJson)->Arg(30)->Arg(500);

// Parsing an upload body of the same shape.
void BM_ParseJson(benchmark::State& state) {
  const std::string text = quorvane::lib::ToJson(MakePage(static_cast<int>(state.range(0))));
  for (auto _ : state) benchmark::DoNotOptimize(quorvane::lib::ParseJson(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseJson)->Arg(30)->Arg(500);

}  // namespace
