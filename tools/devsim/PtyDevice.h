#pragma once
// A simulated device on a pseudo-terminal. The host opens SlavePath() like a serial
// port. With a baud rate set, bytes are paced in both directions as a real line would
// (10 bit times per byte); a pseudo-terminal alone moves them at once.

#include "SimDevice.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace vantor::devsim {

class PtyDevice {
public:
    // Opens the pseudo-terminal; throws std::runtime_error on failure.
    PtyDevice(SimOptions options, std::uint32_t baud = 0);
    ~PtyDevice();
    PtyDevice(const PtyDevice &) = delete;
    PtyDevice &operator=(const PtyDevice &) = delete;

    const std::string &SlavePath() const { return slavePath_; }

    // Runs until Stop (from any thread or a signal handler).
    void Run();
    void Stop() { stop_ = true; }
    // Run on a thread of its own; the destructor stops and joins it.
    void Start();

    // Access to the device under the loop's lock.
    template <typename F>
    auto With(F &&f)
    {
        std::lock_guard lock(mutex_);
        return f(device_);
    }

private:
    void WriteDue(Clock::time_point now);

    SimDevice device_;
    std::uint32_t baud_;
    int master_ = -1;
    int slave_ = -1; // kept open, so the line stays up while the host is away
    std::string slavePath_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::thread thread_;
    // Paced input: bytes and the time their last bit has arrived.
    std::deque<OutChunk> input_;
    Clock::time_point inputFree_{};
    Clock::time_point outputFree_{};
};

} // namespace vantor::devsim
