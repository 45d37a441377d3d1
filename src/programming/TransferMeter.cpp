#include "programming/TransferMeter.h"

#include <cmath>

namespace vantor::programming {

namespace {

constexpr std::int64_t kKiB = 1024;
constexpr std::int64_t kMiB = 1024 * 1024;

QString Decimal(double value, int decimals)
{
    return QString::number(value, 'f', decimals).replace(QLatin1Char('.'), QLatin1Char(','));
}

} // namespace

void TransferMeter::Reset()
{
    done_ = 0;
    total_ = 0;
    samples_.clear();
}

void TransferMeter::Update(std::int64_t done, std::int64_t total, std::int64_t nowMs)
{
    if (total <= 0) {
        Reset();
        return;
    }
    if (total != total_ || done < done_)
        Reset(); // another transfer (the next block, the write after the read)
    done_ = std::min(done, total);
    total_ = total;
    samples_.push_back({nowMs, done_});
    // Keep one sample at or before the start of the window, so the span covers it.
    while (samples_.size() > 2 && samples_[1].ms <= nowMs - kWindowMs)
        samples_.pop_front();
}

std::optional<double> TransferMeter::BytesPerSecond() const
{
    if (samples_.size() < 2)
        return std::nullopt;
    const Sample &first = samples_.front();
    const Sample &last = samples_.back();
    const std::int64_t span = last.ms - first.ms;
    if (span < kMinimumSpanMs)
        return std::nullopt;
    return double(last.done - first.done) * 1000.0 / double(span);
}

std::optional<std::int64_t> TransferMeter::SecondsLeft() const
{
    const auto speed = BytesPerSecond();
    if (!speed || *speed <= 0)
        return std::nullopt;
    return std::int64_t(std::ceil(double(total_ - done_) / *speed));
}

QString TransferMeter::FormatAmount(std::int64_t bytes, std::int64_t scaleBytes)
{
    if (scaleBytes < kKiB)
        return QStringLiteral("%1 байт").arg(bytes);
    if (scaleBytes < kMiB)
        return Decimal(double(bytes) / kKiB, 1) + QStringLiteral(" КБ");
    return Decimal(double(bytes) / kMiB, 2) + QStringLiteral(" МБ");
}

QString TransferMeter::FormatDuration(std::int64_t seconds)
{
    seconds = std::max<std::int64_t>(0, seconds);
    const std::int64_t h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    if (h > 0)
        return QStringLiteral("%1:%2:%3")
            .arg(h)
            .arg(m, 2, 10, QLatin1Char('0'))
            .arg(s, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(m).arg(s, 2, 10, QLatin1Char('0'));
}

QString TransferMeter::Text() const
{
    if (!Active())
        return {};
    QString text = QStringLiteral("%1 из %2 (%3 %)")
                       .arg(FormatAmount(done_, total_), FormatAmount(total_, total_))
                       .arg(done_ * 100 / total_);
    if (const auto speed = BytesPerSecond()) {
        const auto perSecond = std::int64_t(std::llround(*speed));
        text += QStringLiteral(", %1/с").arg(FormatAmount(perSecond, perSecond));
        if (const auto left = SecondsLeft(); left && done_ < total_)
            text += QStringLiteral(", осталось %1").arg(FormatDuration(*left));
    }
    return text;
}

} // namespace vantor::programming
