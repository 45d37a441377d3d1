#include "PtyDevice.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace vantor::devsim {
namespace {

std::chrono::nanoseconds ByteTime(std::uint32_t baud, std::size_t bytes)
{
    if (baud == 0)
        return {};
    return std::chrono::nanoseconds(std::int64_t(bytes) * 10 * 1000000000LL / baud);
}

} // namespace

PtyDevice::PtyDevice(SimOptions options, std::uint32_t baud) : device_(std::move(options)), baud_(baud)
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
        throw std::runtime_error(std::string("pseudo-terminal: ") + std::strerror(errno));
    const char *name = ::ptsname(master_);
    if (!name)
        throw std::runtime_error("pseudo-terminal without a slave name");
    slavePath_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY);
    if (slave_ < 0)
        throw std::runtime_error(std::string("pseudo-terminal slave: ") + std::strerror(errno));
    termios raw{};
    ::tcgetattr(slave_, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave_, TCSANOW, &raw);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PtyDevice::~PtyDevice()
{
    Stop();
    if (thread_.joinable())
        thread_.join();
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
}

void PtyDevice::Start()
{
    thread_ = std::thread([this] { Run(); });
}

void PtyDevice::WriteDue(Clock::time_point now)
{
    // With pacing the line may run at most 1 ms ahead of real time.
    constexpr auto kAhead = std::chrono::milliseconds(1);
    auto &out = device_.Outgoing();
    while (!out.empty() && out.front().notBefore <= now) {
        OutChunk &chunk = out.front();
        std::size_t n = chunk.bytes.size();
        if (baud_ != 0) {
            // The line was idle only if these bytes were queued after it fell silent; a
            // late wake-up catches up instead of losing line time.
            if (outputFree_ < chunk.notBefore)
                outputFree_ = chunk.notBefore;
            if (outputFree_ >= now + kAhead)
                return;
            const auto room = std::size_t((now + kAhead - outputFree_) / ByteTime(baud_, 1));
            n = std::min(n, std::max<std::size_t>(room, 1));
        }
        const ssize_t written = ::write(master_, chunk.bytes.data(), n);
        if (written <= 0)
            return; // the pseudo-terminal is full; try again later
        outputFree_ += ByteTime(baud_, std::size_t(written));
        chunk.bytes.erase(chunk.bytes.begin(), chunk.bytes.begin() + written);
        if (chunk.bytes.empty())
            out.pop_front();
    }
}

void PtyDevice::Run()
{
    std::uint8_t buffer[4096];
    while (!stop_) {
        Clock::time_point wake;
        {
            std::lock_guard lock(mutex_);
            const auto now = Clock::now();
            // Paced input whose last bit has arrived goes to the device.
            while (!input_.empty() && input_.front().notBefore <= now) {
                device_.Receive(input_.front().bytes.data(), input_.front().bytes.size(), now);
                input_.pop_front();
            }
            // While a request is still arriving over the paced line the device waits for it.
            if (input_.empty())
                device_.Advance(now);
            WriteDue(now);
            wake = device_.NextEvent();
            if (!device_.Outgoing().empty())
                wake = std::min(wake, std::max(device_.Outgoing().front().notBefore,
                                               outputFree_ - std::chrono::milliseconds(1)));
            if (!input_.empty())
                wake = std::min(wake, input_.front().notBefore);
        }
        const auto now = Clock::now();
        int timeoutMs = 0;
        if (wake > now)
            timeoutMs = int(std::chrono::duration_cast<std::chrono::milliseconds>(wake - now).count()) + 1;
        timeoutMs = std::min(timeoutMs, 50); // notice Stop promptly
        pollfd fd{master_, POLLIN, 0};
        const int ready = ::poll(&fd, 1, timeoutMs);
        if (ready > 0 && (fd.revents & POLLIN)) {
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n > 0) {
                std::lock_guard lock(mutex_);
                const auto at = Clock::now();
                if (baud_ == 0) {
                    device_.Receive(buffer, std::size_t(n), at);
                } else {
                    inputFree_ = std::max(inputFree_, at) + ByteTime(baud_, std::size_t(n));
                    input_.push_back({Bytes(buffer, buffer + n), inputFree_});
                }
            }
        }
    }
}

} // namespace vantor::devsim
