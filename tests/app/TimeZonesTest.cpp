// The list of time zones the configuration windows offer.
#include "app/TimeZones.h"
#include "controller/VantorConfig.h"

#include <QTimeZone>

#include <gtest/gtest.h>

#include <algorithm>

using namespace vantor;

namespace {

TEST(TimeZones, DisplayNamesCarryTheSignedOffsetInHoursAndMinutes)
{
    const struct {
        int offset;
        const char *name;
        const char *expected;
    } cases[] = {
        {180, "Europe/Moscow", "(UTC+03:00) Europe/Moscow"},
        {0, "UTC", "(UTC+00:00) UTC"},
        {-210, "America/St_Johns", "(UTC-03:30) America/St_Johns"},
        {345, "Asia/Kathmandu", "(UTC+05:45) Asia/Kathmandu"},
        {-720, "Etc/GMT+12", "(UTC-12:00) Etc/GMT+12"},
    };
    for (const auto &c : cases) {
        const QString name = TimeZoneDisplayName(c.offset, QString::fromUtf8(c.name));
        EXPECT_EQ(name, QString::fromUtf8(c.expected));
        EXPECT_EQ(DisplayNameOffset(name), c.offset) << c.expected;
    }
}

TEST(TimeZones, OffsetIsReadOnlyFromTheStartOfTheName)
{
    EXPECT_EQ(DisplayNameOffset(QStringLiteral("(UTC) Coordinated Universal Time")), 0);
    EXPECT_EQ(DisplayNameOffset(QStringLiteral("(UTC+04:00) Baku")), 240);
    EXPECT_EQ(DisplayNameOffset(QStringLiteral("Moscow (UTC+03:00)")), std::nullopt);
    EXPECT_EQ(DisplayNameOffset(QStringLiteral("(GMT+03:00) Moscow")), std::nullopt);
    EXPECT_EQ(DisplayNameOffset(QString()), std::nullopt);
}

TEST(TimeZones, ListIsSortedByOffsetThenNameAndHoldsThisComputersZone)
{
    const auto &list = TimeZoneList();
    ASSERT_FALSE(list.empty());
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end(), TimeZoneLess));
    for (std::size_t i = 1; i < list.size(); ++i) {
        const int previous = *DisplayNameOffset(list[i - 1].displayName);
        const int current = *DisplayNameOffset(list[i].displayName);
        ASSERT_LE(previous, current) << list[i].displayName.toStdString();
        if (previous == current) {
            ASSERT_LT(list[i - 1].displayName, list[i].displayName);
        }
    }
    for (const TimeZoneEntry &zone : list)
        ASSERT_EQ(DisplayNameOffset(zone.displayName), -zone.bias) << zone.displayName.toStdString();

    const TimeZoneEntry system = SystemTimeZoneEntry();
    EXPECT_GE(FindTimeZone(list, system.bias, system.displayName), 0) << system.displayName.toStdString();
    // A new Vantor-5 configuration names the same zone, so its window finds it.
    const ConfigTimeZone vantorDefault = SystemTimeZone();
    EXPECT_EQ(QString::fromStdString(vantorDefault.displayName), system.displayName);
    EXPECT_EQ(vantorDefault.offsetMinutes, system.OffsetMinutes());
}

TEST(TimeZones, KnownZonesHaveTheirStandardOffsetAsBias)
{
    if (!QTimeZone::isTimeZoneIdAvailable("Europe/Moscow") ||
        !QTimeZone::isTimeZoneIdAvailable("America/New_York"))
        GTEST_SKIP() << "the system's time-zone database lacks Europe/Moscow or America/New_York";
    const auto &list = TimeZoneList();
    // Standard (winter) time, whatever the season: New York is UTC-5 all year here.
    EXPECT_GE(FindTimeZone(list, -180, QStringLiteral("(UTC+03:00) Europe/Moscow")), 0);
    EXPECT_GE(FindTimeZone(list, 300, QStringLiteral("(UTC-05:00) America/New_York")), 0);
    EXPECT_GE(FindTimeZone(list, 0, QStringLiteral("(UTC+00:00) UTC")), 0);
    // Qt's offset-only ids would repeat their offset as their name: not offered.
    EXPECT_TRUE(std::none_of(list.begin(), list.end(), [](const TimeZoneEntry &zone) {
        return zone.zoneId.startsWith("UTC+") || zone.zoneId.startsWith("UTC-");
    }));
}

TEST(TimeZones, FindingNeedsBothBiasAndNameToMatch)
{
    const std::vector<TimeZoneEntry> list = {
        {QStringLiteral("(UTC+03:00) Europe/Moscow"), -180, "Europe/Moscow"},
        {QStringLiteral("(UTC+03:00) Europe/Moscow"), -240, {}},
        {QStringLiteral("(UTC+04:00) Europe/Samara"), -240, "Europe/Samara"},
    };
    EXPECT_EQ(FindTimeZone(list, -180, QStringLiteral("(UTC+03:00) Europe/Moscow")), 0);
    EXPECT_EQ(FindTimeZone(list, -240, QStringLiteral("(UTC+03:00) Europe/Moscow")), 1);
    EXPECT_EQ(FindTimeZone(list, -180, QStringLiteral("(UTC+03:00) europe/moscow")), -1); // case counts
    EXPECT_EQ(FindTimeZone(list, -180, QStringLiteral("(UTC+04:00) Europe/Samara")), -1);
}

} // namespace
