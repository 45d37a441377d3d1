#include "app/TimeZones.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTimeZone>

#include <algorithm>
#include <cstdlib>

namespace vantor {

namespace {

std::int32_t StandardOffsetMinutes(const QTimeZone &zone, const QDateTime &now)
{
    return zone.isValid() ? zone.standardTimeOffset(now) / 60 : 0;
}

TimeZoneEntry EntryOf(const QByteArray &id, const QDateTime &now)
{
    const QTimeZone zone(id);
    const std::int32_t offset = StandardOffsetMinutes(zone, now);
    return {TimeZoneDisplayName(offset, QString::fromUtf8(id)), -offset, id};
}

// Zones offered: the Area/City names of the database and plain "UTC". The "UTC+hh:mm"
// ids Qt adds would only repeat their offset as their name.
bool Offered(const QByteArray &id)
{
    return id.contains('/') || id == "UTC";
}

std::vector<TimeZoneEntry> BuildList()
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    std::vector<TimeZoneEntry> list;
    for (const QByteArray &id : QTimeZone::availableTimeZoneIds())
        if (Offered(id))
            list.push_back(EntryOf(id, now));
    const TimeZoneEntry system = SystemTimeZoneEntry();
    if (FindTimeZone(list, system.bias, system.displayName) < 0)
        list.push_back(system);
    std::stable_sort(list.begin(), list.end(), TimeZoneLess);
    return list;
}

} // namespace

QString TimeZoneDisplayName(std::int32_t offsetMinutes, const QString &name)
{
    const int magnitude = std::abs(offsetMinutes);
    return QStringLiteral("(UTC%1%2:%3) %4")
        .arg(offsetMinutes < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(magnitude / 60, 2, 10, QLatin1Char('0'))
        .arg(magnitude % 60, 2, 10, QLatin1Char('0'))
        .arg(name);
}

std::optional<std::int32_t> DisplayNameOffset(const QString &displayName)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^\(UTC(?:([+-])(\d{1,2}):(\d{2}))?\))"));
    const auto match = pattern.match(displayName);
    if (!match.hasMatch())
        return std::nullopt;
    if (match.capturedLength(1) == 0)
        return 0;
    const std::int32_t minutes = match.captured(2).toInt() * 60 + match.captured(3).toInt();
    return match.captured(1) == QLatin1String("-") ? -minutes : minutes;
}

bool TimeZoneLess(const TimeZoneEntry &a, const TimeZoneEntry &b)
{
    const std::int32_t offsetA = DisplayNameOffset(a.displayName).value_or(a.OffsetMinutes());
    const std::int32_t offsetB = DisplayNameOffset(b.displayName).value_or(b.OffsetMinutes());
    if (offsetA != offsetB)
        return offsetA < offsetB;
    return a.displayName < b.displayName;
}

const std::vector<TimeZoneEntry> &TimeZoneList()
{
    static const std::vector<TimeZoneEntry> list = BuildList();
    return list;
}

TimeZoneEntry SystemTimeZoneEntry()
{
    const QTimeZone zone = QTimeZone::systemTimeZone();
    const QByteArray id = zone.isValid() ? zone.id() : QByteArray("UTC");
    const std::int32_t offset = StandardOffsetMinutes(zone, QDateTime::currentDateTimeUtc());
    return {TimeZoneDisplayName(offset, QString::fromUtf8(id)), -offset, id};
}

int FindTimeZone(const std::vector<TimeZoneEntry> &list, std::int32_t bias, const QString &displayName)
{
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].bias == bias && list[i].displayName == displayName)
            return static_cast<int>(i);
    return -1;
}

} // namespace vantor
