#pragma once
// TransferMeter: what a running transfer has done, how fast it goes and how long it
// still needs, for the programmer's status line ("12,0 из 256,0 КБ (4 %), 10,9 КБ/с,
// осталось 0:22").
//
// Fed with the session's progress reports (bytes done, bytes in this transfer) and a
// monotonic clock in milliseconds. A report whose total differs from the previous one,
// or whose count goes back, starts a new transfer; a total of 0 ends it. The speed is
// taken over the last few seconds, so it follows a line that slows down or recovers,
// and is only given once there is enough to measure.

#include <QString>

#include <cstdint>
#include <deque>
#include <optional>

namespace vantor::programming {

class TransferMeter {
public:
    // The window over which the speed is measured.
    static constexpr std::int64_t kWindowMs = 3000;
    // Less than this since the transfer started gives no speed yet.
    static constexpr std::int64_t kMinimumSpanMs = 250;

    void Update(std::int64_t done, std::int64_t total, std::int64_t nowMs);
    void Reset();

    bool Active() const { return total_ > 0; }
    std::int64_t Done() const { return done_; }
    std::int64_t Total() const { return total_; }
    // Bytes per second, or nothing while too little time has passed.
    std::optional<double> BytesPerSecond() const;
    // Whole seconds still needed at the current speed, or nothing without a speed.
    std::optional<std::int64_t> SecondsLeft() const;

    // The status-line text; empty when no transfer runs.
    QString Text() const;

    // "512 байт", "12,5 КБ", "1,25 МБ": sizes in the unit that suits the total.
    static QString FormatAmount(std::int64_t bytes, std::int64_t scaleBytes);
    // "0:07", "12:30", "1:02:03".
    static QString FormatDuration(std::int64_t seconds);

private:
    struct Sample {
        std::int64_t ms;
        std::int64_t done;
    };
    std::int64_t done_ = 0;
    std::int64_t total_ = 0;
    std::deque<Sample> samples_; // oldest first; the first is kept until the window is full
};

} // namespace vantor::programming
