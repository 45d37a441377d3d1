#pragma once
// This computer's list of time zones, as the configuration windows offer it.
//
// Documents name a zone by two members: "tz", minutes east of UTC, and "tzname", the
// display name "(UTC+hh:mm) Area/City". An entry here carries the display name and
// the bias, which is the negated offset (UTC = local time + bias), so "tz" = −bias.
// Offsets are standard (winter) offsets taken today; summer time is the device's
// business. The list holds every Area/City zone of the system's time-zone database
// and "UTC", sorted by offset and then by display name; this computer's own zone is
// always in it.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace vantor {

struct TimeZoneEntry {
    QString displayName;  // "(UTC+03:00) Europe/Moscow"
    std::int32_t bias{0}; // minutes, UTC = local time + bias (Moscow: −180)
    QByteArray zoneId;    // "Europe/Moscow"; empty for a zone known only from a document

    // Minutes east of UTC, as documents store it ("tz").
    std::int32_t OffsetMinutes() const { return -bias; }

    friend bool operator==(const TimeZoneEntry &, const TimeZoneEntry &) = default;
};

// "(UTC+hh:mm) <name>" for an offset in minutes east of UTC ("(UTC-03:30) America/St_Johns").
QString TimeZoneDisplayName(std::int32_t offsetMinutes, const QString &name);

// The UTC offset written at the start of a display name, in minutes east of UTC;
// nothing when the name does not start with "(UTC", a sign, hh:mm and ")".
// "(UTC)" alone counts as 0.
std::optional<std::int32_t> DisplayNameOffset(const QString &displayName);

// Sort order of the list: by the offset at the start of the display name (entries
// without one go by their bias), then by display name.
bool TimeZoneLess(const TimeZoneEntry &a, const TimeZoneEntry &b);

// The zones of this computer, sorted. Built once per run (it takes some
// milliseconds) and shared by every window.
const std::vector<TimeZoneEntry> &TimeZoneList();

// This computer's zone, formatted as in the list (it is always one of its entries).
TimeZoneEntry SystemTimeZoneEntry();

// The first entry whose bias and display name both match exactly; -1 when none.
int FindTimeZone(const std::vector<TimeZoneEntry> &list, std::int32_t bias, const QString &displayName);

} // namespace vantor
