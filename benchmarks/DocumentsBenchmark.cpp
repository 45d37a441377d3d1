// Encode, decode, parse and render a configuration document of about 1 MB.
#include "app/ConfigScrambler.h"
#include "json/JsonText.h"

#include <benchmark/benchmark.h>

using namespace vantor;

namespace {

const json::Json &LargeDocument()
{
    static const json::Json doc = [] {
        json::Json items = json::Json::array();
        for (int i = 0; json::RenderIndented(items).size() < 1'000'000; ++i) {
            for (int k = 0; k < 100; ++k, ++i) {
                items.push_back({{"i", i},
                                 {"n", "Направление " + std::to_string(i)},
                                 {"t", {5, 3, 2.5, 0.125}},
                                 {"en", i % 2 == 0},
                                 {"x", {{"tz", 180}, {"tzname", "(UTC+03:00) Europe/Moscow"}}}});
            }
        }
        return json::Json{{"vantor5", {{"dirs", items}}}};
    }();
    return doc;
}

void BM_RenderCompact(benchmark::State &state)
{
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = json::RenderCompact(LargeDocument());
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void BM_RenderIndented(benchmark::State &state)
{
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = json::RenderIndented(LargeDocument());
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void BM_Parse(benchmark::State &state)
{
    const std::string text = json::RenderIndented(LargeDocument());
    for (auto _ : state)
        benchmark::DoNotOptimize(json::Parse(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_Scramble(benchmark::State &state)
{
    const std::string text = json::RenderIndented(LargeDocument());
    for (auto _ : state)
        benchmark::DoNotOptimize(ScrambleText(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_Unscramble(benchmark::State &state)
{
    const std::string text = json::RenderIndented(LargeDocument());
    const std::string scrambled = ScrambleText(text);
    for (auto _ : state)
        benchmark::DoNotOptimize(UnscrambleText(scrambled));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

BENCHMARK(BM_RenderCompact)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderIndented)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scramble)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Unscramble)->Unit(benchmark::kMillisecond);

} // namespace
