// The model library: loading configurations and stepping them.
#include "ModelConfigGenerator.h"

#include "model_library/ModelApi.h"

#include <benchmark/benchmark.h>

#include <vector>

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

namespace {

// One signal object with 32 directions that all conflict with each other (odd numbers
// hard, even ones soft), 8 phases, a fixed-time cycle of 120 s and a step-driven one.
bench::ModelConfigShape SteppingShape()
{
    bench::ModelConfigShape shape;
    shape.directions = 32;
    shape.objects = 1;
    shape.directionsPerObject = 32;
    shape.phases = 8;
    shape.cycles = 2;
    shape.stepsPerCycle = 6;
    return shape;
}

const std::string &SteppingConfig()
{
    static const std::string text = bench::GenerateModelConfig(SteppingShape());
    return text;
}

struct Buffers {
    std::vector<std::uint8_t> trig = std::vector<std::uint8_t>(4);
    std::vector<std::uint8_t> states = std::vector<std::uint8_t>(32);
    std::vector<std::uint8_t> perObject = std::vector<std::uint8_t>(1);
    std::vector<std::vector<std::uint8_t>> groups =
        std::vector<std::vector<std::uint8_t>>(32, std::vector<std::uint8_t>(3));
    std::vector<std::uint8_t *> groupPointers;
    std::uint8_t phase = 0;
    Buffers()
    {
        for (auto &group : groups)
            groupPointers.push_back(group.data());
    }
};

void BM_Next32Directions(benchmark::State &state)
{
    const std::string &text = SteppingConfig();
    if (model::Open(text.data(), text.data() + text.size() - 1) != 0) {
        state.SkipWithError("the configuration did not load");
        return;
    }
    Buffers b;
    std::uint32_t second = 0;
    for (auto _ : state) {
        b.trig[0] = static_cast<std::uint8_t>(second++ / 7 % 2);
        model::Next(0, 1, b.trig.data(), &b.phase, b.states.data());
        benchmark::DoNotOptimize(b.states.data());
    }
    model::Close();
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

void BM_NextAll32Directions(benchmark::State &state)
{
    const std::string &text = SteppingConfig();
    if (model::Open(text.data(), text.data() + text.size() - 1) != 0) {
        state.SkipWithError("the configuration did not load");
        return;
    }
    Buffers b;
    std::uint32_t second = 6 * 3600;
    for (auto _ : state) {
        b.trig[0] = static_cast<std::uint8_t>(second / 7 % 2);
        std::uint8_t *o = b.perObject.data();
        model::NextAll(second++, b.trig.data(), o, o, o, o, o, b.states.data(), b.groupPointers.data());
        benchmark::DoNotOptimize(b.states.data());
    }
    model::Close();
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

// What the cycle timeline does for its longest preview: open, 255 cycles of 120 s one
// second at a time (30,600 calls of next), close.
void BM_TimelinePreview255Cycles(benchmark::State &state)
{
    const std::string &text = SteppingConfig();
    Buffers b;
    for (auto _ : state) {
        if (model::Open(text.data(), text.data() + text.size() - 1) != 0) {
            state.SkipWithError("the configuration did not load");
            break;
        }
        for (int second = 0; second < 255 * 120; ++second)
            model::Next(0, 1, b.trig.data(), &b.phase, b.states.data());
        model::Close();
        benchmark::DoNotOptimize(b.states.data());
    }
}

} // namespace

BENCHMARK(BM_Next32Directions);
BENCHMARK(BM_NextAll32Directions);
BENCHMARK(BM_TimelinePreview255Cycles)->Unit(benchmark::kMillisecond);
