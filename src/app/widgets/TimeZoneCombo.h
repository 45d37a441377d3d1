#pragma once
// The time-zone drop-down of the configuration windows ("Часовой пояс :").
//
// Each item's text is the zone's display name; its data holds the bias
// (kTimeZoneBiasRole) and the zone's id. Documents carry "tz" (minutes east of UTC,
// the negated bias) and "tzname" (the display name); selecting by them picks the
// first item where both match. A zone that this computer does not know is added to
// the list, in sort order, and selected, so opening and saving a document never
// changes its zone.

#include "app/TimeZones.h"

#include <optional>

class QComboBox;

namespace vantor::widgets {

inline constexpr int kTimeZoneBiasRole = Qt::UserRole + 1;
inline constexpr int kTimeZoneIdRole = Qt::UserRole + 2;

// Fills the list with this computer's zones (TimeZoneList) and selects its own zone.
void LoadTimeZones(QComboBox &combo);

// Selects the zone, adding it when no item has both this bias and this name.
// Returns the index of the selected item.
int SelectTimeZone(QComboBox &combo, const TimeZoneEntry &zone);

// The same for a document's "tz" (minutes east of UTC) and "tzname".
inline int SelectTimeZone(QComboBox &combo, std::int32_t tz, const QString &tzname)
{
    return SelectTimeZone(combo, TimeZoneEntry{tzname, -tz, {}});
}

// The selected zone; nothing when no item is selected.
std::optional<TimeZoneEntry> SelectedTimeZone(const QComboBox &combo);

} // namespace vantor::widgets
