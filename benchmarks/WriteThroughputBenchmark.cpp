// Write throughput of a 256 KiB configuration image against the simulated device pacing
// 115200 baud on a pseudo-terminal. The wire limit follows from the poll rule: every
// chunk costs the request (pack + 18 bytes), the answer (19) and the next poll (10), one
// after the other, at 10 bit times per byte. The host's share is what is left.
#include "programming/pr_collector.h"

#include "PtyDevice.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>

using namespace vantor;
using namespace vantor::programming;

static void BM_WriteConfiguration256K(benchmark::State &state)
{
    const auto pack = std::uint32_t(state.range(0));
    constexpr std::uint32_t kBaud = 115200;
    constexpr std::uint32_t kSize = 256 * 1024;
    devsim::SimOptions options;
    options.packSize = pack;
    options.replyTimeoutMs = 200;
    devsim::PtyDevice device(options, kBaud);
    device.Start();

    TTaskCollector collector;
    collector.SetPortName(QString::fromStdString(device.SlavePath()));
    collector.SetPackSize(pack);
    collector.Connect();
    {
        // The clock starts once the device polls: the time to its first poll is no transfer.
        QEventLoop wait;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, &wait, [&] {
            if (collector.State() == link::kStateConnected)
                wait.quit();
        });
        tick.start(1);
        wait.exec();
    }
    auto data = std::make_shared<const Bytes>(kSize, 0x42);
    double seconds = 0;
    for (auto _ : state) {
        bool done = false;
        QElapsedTimer clock;
        clock.start();
        collector.AddTask(
            std::make_unique<TWriteTask>(7, QStringLiteral("Запись конфигурации"), 0, data, 0, kSize, pack),
            [&](TProgTask &, std::uint8_t s, QString &) {
                if (s == kTaskDone || s == kTaskFailed)
                    done = true;
            });
        QEventLoop loop;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
            if (done)
                loop.quit();
        });
        tick.start(1);
        loop.exec();
        seconds = clock.nsecsElapsed() / 1e9;
        state.SetIterationTime(seconds);
        if (collector.LastResult() != kTaskDone)
            state.SkipWithError("the write failed");
    }
    const double perChunk = double(pack + 18 + 19 + 10) * 10 / kBaud;
    const double limit = pack / perChunk;
    const double measured = kSize / seconds;
    state.counters["bytes_per_s"] = measured;
    state.counters["wire_limit_bytes_per_s"] = limit;
    state.counters["ratio_to_limit"] = measured / limit;
    state.counters["host_share"] = 1 - measured / limit;
}
BENCHMARK(BM_WriteConfiguration256K)
    ->Arg(1024)
    ->Arg(4096)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
