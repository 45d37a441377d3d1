// The amount, speed and time left of a running transfer, as the status line shows them.
#include "programming/TransferMeter.h"

#include <gtest/gtest.h>

using vantor::programming::TransferMeter;

TEST(TransferMeter, AmountsTakeTheUnitOfTheTotal)
{
    const struct {
        std::int64_t bytes, scale;
        const char *text;
    } cases[] = {
        {0, 0, "0 байт"},
        {512, 1000, "512 байт"},
        {512, 1024, "0,5 КБ"},
        {262152, 262152, "256,0 КБ"},
        {1048576, 1048576, "1,00 МБ"},
        {1310720, 3145728, "1,25 МБ"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TransferMeter::FormatAmount(c.bytes, c.scale), QString::fromUtf8(c.text)) << c.bytes;
}

TEST(TransferMeter, Durations)
{
    EXPECT_EQ(TransferMeter::FormatDuration(0), QStringLiteral("0:00"));
    EXPECT_EQ(TransferMeter::FormatDuration(7), QStringLiteral("0:07"));
    EXPECT_EQ(TransferMeter::FormatDuration(750), QStringLiteral("12:30"));
    EXPECT_EQ(TransferMeter::FormatDuration(3723), QStringLiteral("1:02:03"));
    EXPECT_EQ(TransferMeter::FormatDuration(-5), QStringLiteral("0:00"));
}

TEST(TransferMeter, SpeedAndTimeLeftComeOnceThereIsEnoughToMeasure)
{
    TransferMeter meter;
    EXPECT_TRUE(meter.Text().isEmpty());
    meter.Update(1024, 10240, 1000);
    EXPECT_EQ(meter.Text(), QStringLiteral("1,0 КБ из 10,0 КБ (10 %)")); // one report: no speed yet
    meter.Update(2048, 10240, 1100);
    EXPECT_FALSE(meter.BytesPerSecond()) << "100 ms is too short to tell";
    meter.Update(3072, 10240, 2000); // 2 KiB in 1 s
    ASSERT_TRUE(meter.BytesPerSecond());
    EXPECT_DOUBLE_EQ(*meter.BytesPerSecond(), 2048.0);
    EXPECT_EQ(meter.SecondsLeft(), 4); // 7 KiB left at 2 KiB/s, rounded up
    EXPECT_EQ(meter.Text(), QStringLiteral("3,0 КБ из 10,0 КБ (30 %), 2,0 КБ/с, осталось 0:04"));
    meter.Update(10240, 10240, 3000);
    EXPECT_EQ(meter.Text(), QStringLiteral("10,0 КБ из 10,0 КБ (100 %), 4,5 КБ/с"));
}

TEST(TransferMeter, TheSpeedFollowsTheLastSecondsOnly)
{
    TransferMeter meter;
    // 10 s at 1000 B/s, then 1 s of 10000 B/s: the window sees mostly the fast part.
    std::int64_t done = 0, t = 0;
    for (; t <= 10000; t += 500, done += 500)
        meter.Update(done, 1'000'000, t);
    EXPECT_NEAR(*meter.BytesPerSecond(), 1000.0, 1.0);
    for (int i = 0; i < 8; ++i) {
        t += 500;
        done += 5000;
        meter.Update(done, 1'000'000, t);
    }
    EXPECT_NEAR(*meter.BytesPerSecond(), 10000.0, 1.0);
}

TEST(TransferMeter, AnotherTotalOrAStepBackStartsAFreshTransferAndZeroEndsIt)
{
    TransferMeter meter;
    meter.Update(1000, 4000, 0);
    meter.Update(3000, 4000, 1000);
    ASSERT_TRUE(meter.BytesPerSecond());
    meter.Update(100, 4000, 1100); // the next block of the same size
    EXPECT_FALSE(meter.BytesPerSecond());
    EXPECT_EQ(meter.Done(), 100);
    meter.Update(300, 9000, 1200); // the write after the read
    EXPECT_EQ(meter.Total(), 9000);
    EXPECT_FALSE(meter.BytesPerSecond());
    meter.Update(0, 0, 1300);
    EXPECT_FALSE(meter.Active());
    EXPECT_TRUE(meter.Text().isEmpty());
    // A device claiming more than the total is shown as done, never above 100 %.
    meter.Update(5000, 4000, 1400);
    EXPECT_EQ(meter.Text(), QStringLiteral("3,9 КБ из 3,9 КБ (100 %)"));
}
