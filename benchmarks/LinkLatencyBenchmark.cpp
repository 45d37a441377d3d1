// The host's answer latency to a device poll over a pseudo-terminal: from the last byte
// of the poll written by the device to the whole echo read back. Includes the
// pseudo-terminal in both directions, QSerialPort and the packet scanner.
#include "link/Packet.h"
#include "link/pr_dataProvider.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace vantor::link;

static void BM_PollAnswerLatency(benchmark::State &state)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    grantpt(master);
    unlockpt(master);
    const std::string slavePath = ptsname(master);
    const int slave = open(slavePath.c_str(), O_RDWR | O_NOCTTY);
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);

    QThread hostThread;
    hostThread.start();
    QObject context;
    context.moveToThread(&hostThread);
    std::unique_ptr<TDAO> dao;
    QMetaObject::invokeMethod(
        &context,
        [&] {
            dao = std::make_unique<TDAO>(kConnectSerial);
            dao->SetAddress(QString::fromStdString(slavePath));
            dao->OnPacket = [&](const std::uint8_t *p, std::size_t n) { dao->Send(p, n); };
            dao->Connect();
        },
        Qt::BlockingQueuedConnection);

    std::vector<double> samples;
    std::uint8_t buffer[64];
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (write(master, PollPacket(), kPollPacketSize) != ssize_t(kPollPacketSize)) {
            state.SkipWithError("write to the pseudo-terminal failed");
            break;
        }
        std::size_t got = 0;
        while (got < kPollPacketSize) {
            pollfd fd{master, POLLIN, 0};
            if (poll(&fd, 1, 2000) <= 0) {
                state.SkipWithError("no answer within 2 s");
                break;
            }
            const ssize_t n = read(master, buffer, sizeof buffer);
            if (n > 0)
                got += std::size_t(n);
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        samples.push_back(seconds * 1e6);
    }
    QMetaObject::invokeMethod(
        &context, [&] { dao.reset(); }, Qt::BlockingQueuedConnection);
    hostThread.quit();
    hostThread.wait();
    close(slave);
    close(master);
    if (!samples.empty()) {
        std::sort(samples.begin(), samples.end());
        state.counters["median_us"] = samples[samples.size() / 2];
        state.counters["p99_us"] = samples[samples.size() * 99 / 100];
    }
}
BENCHMARK(BM_PollAnswerLatency)->UseManualTime()->Iterations(2000)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
