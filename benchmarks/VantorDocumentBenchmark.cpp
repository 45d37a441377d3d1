// Writing and reading a large Vantor-5 configuration (64 groups, 8 blocks of 32
// outputs, 8 objects of 32 phases and 16 cycles): model -> document text and back.
#include "ExampleConfigs.h"

#include "controller/ConfigDocument.h"
#include "controller/VantorConfig.h"
#include "models/VantorModels.h"

#include <benchmark/benchmark.h>

using namespace vantor;

namespace {

const TVantorModel &BlockModel()
{
    static const TVantorModel *model = [] {
        auto built = std::make_unique<TVantorModel>();
        built->InternalId = 18;
        built->Description = built->DisplayName = "Универсальный силовой блок";
        for (int i = 0; i < 32; ++i)
            built->AddOutput(std::to_string(i + 1), 0x0f);
        return RegisterModel(std::move(built));
    }();
    return *model;
}

TVantorConfig &LargeConfig()
{
    static TVantorConfig config;
    static const bool built = [] {
        BuildLargeConfig(config, BlockModel());
        return true;
    }();
    (void)built;
    return config;
}

void BM_WriteLargeConfiguration(benchmark::State &state)
{
    TVantorConfig &config = LargeConfig();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = json::RenderCompact(GetConfigJson(config, kExampleDate));
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["document_bytes"] = static_cast<double>(bytes);
}

void BM_ReadLargeConfiguration(benchmark::State &state)
{
    const std::string text = json::RenderCompact(GetConfigJson(LargeConfig(), kExampleDate));
    TVantorConfig target;
    for (auto _ : state) {
        const auto root = json::Parse(text);
        std::string error;
        if (!LoadConfigJson(target, *root, &error))
            state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(target.Groups.Count());
    }
}

} // namespace

BENCHMARK(BM_WriteLargeConfiguration)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLargeConfiguration)->Unit(benchmark::kMillisecond);
