// The whole-text commands on a 10 MB page, the size where a user notices.
// Goals: entity conversion well under a second; the code check, stripping
// codes and upper-casing codes each under 100 ms.
#include "markup/code_check.h"
#include "markup/code_cleanup.h"
#include "markup/entities.h"
#include "page.h"

#include <benchmark/benchmark.h>

#include <string>

using bench_page::page;
using bench_page::pageLines;

namespace {

const std::string& encodedPage() {
  static const std::string text = morvel::encodeEntities(page());
  return text;
}

template <typename Convert>
void run(benchmark::State& state, const std::string& input, Convert convert) {
  for (auto _ : state) {
    auto result = convert(input);
    benchmark::DoNotOptimize(result);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(input.size()));
  state.counters["lines"] = static_cast<double>(pageLines());
}

void BM_EncodeEntities(benchmark::State& state) {
  run(state, page(), [](const std::string& t) { return morvel::encodeEntities(t); });
}
void BM_DecodeEntities(benchmark::State& state) {
  if (morvel::decodeEntities(encodedPage()) != page()) state.SkipWithError("decoding lost text");
  run(state, encodedPage(), [](const std::string& t) { return morvel::decodeEntities(t); });
}
void BM_CheckHtmlCode(benchmark::State& state) {
  run(state, page(), [](const std::string& t) { return morvel::checkHtmlCode(t); });
}
void BM_StripCodes(benchmark::State& state) {
  run(state, page(), [](const std::string& t) { return morvel::stripCodes(t); });
}
void BM_CodesToUpperCase(benchmark::State& state) {
  run(state, page(), [](const std::string& t) { return morvel::codesToUpperCase(t); });
}

BENCHMARK(BM_EncodeEntities)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeEntities)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckHtmlCode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StripCodes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CodesToUpperCase)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
