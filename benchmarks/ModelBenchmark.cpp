// The model library: loading configurations.
#include "ModelConfigGenerator.h"

#include "model_library/ModelApi.h"

#include <benchmark/benchmark.h>

using namespace vantor;

namespace {

void LoadAndClose(benchmark::State &state, const std::string &text)
{
    for (auto _ : state) {
        const std::int32_t status = model::Open(text.data(), text.data() + text.size() - 1);
        if (status != 0) {
            state.SkipWithError("the configuration did not load");
            break;
        }
        model::Close();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["bytes"] = static_cast<double>(text.size());
}

// 255 directions with 254 conflicts each, 255 transition programs, 32 objects with
// 64 phases and 64 cycles (about 1.5 MB of compact text).
void BM_LoadMaximalConfiguration(benchmark::State &state)
{
    static const std::string text = bench::GenerateModelConfig(bench::MaximalShape());
    LoadAndClose(state, text);
}

void BM_LoadSmallConfiguration(benchmark::State &state)
{
    static const std::string text = bench::GenerateModelConfig(bench::ModelConfigShape{});
    LoadAndClose(state, text);
}

} // namespace

BENCHMARK(BM_LoadMaximalConfiguration)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSmallConfiguration)->Unit(benchmark::kMicrosecond);
