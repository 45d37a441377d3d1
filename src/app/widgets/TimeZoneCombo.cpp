#include "app/widgets/TimeZoneCombo.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace vantor::widgets {

namespace {

TimeZoneEntry EntryAt(const QComboBox &combo, int index)
{
    return {combo.itemText(index), combo.itemData(index, kTimeZoneBiasRole).toInt(),
            combo.itemData(index, kTimeZoneIdRole).toByteArray()};
}

void InsertEntry(QComboBox &combo, int index, const TimeZoneEntry &zone)
{
    combo.insertItem(index, zone.displayName);
    combo.setItemData(index, zone.bias, kTimeZoneBiasRole);
    combo.setItemData(index, zone.zoneId, kTimeZoneIdRole);
    combo.setItemData(index, zone.displayName, Qt::ToolTipRole);
}

} // namespace

void LoadTimeZones(QComboBox &combo)
{
    const auto &list = TimeZoneList();
    {
        const QSignalBlocker blocker(combo);
        combo.clear();
        for (const TimeZoneEntry &zone : list)
            InsertEntry(combo, combo.count(), zone);
    }
    combo.setMaxVisibleItems(20);
    SelectTimeZone(combo, SystemTimeZoneEntry());
}

int SelectTimeZone(QComboBox &combo, const TimeZoneEntry &zone)
{
    for (int i = 0; i < combo.count(); ++i) {
        if (combo.itemData(i, kTimeZoneBiasRole).toInt() == zone.bias &&
            combo.itemText(i) == zone.displayName) {
            combo.setCurrentIndex(i);
            return i;
        }
    }
    int position = 0;
    while (position < combo.count() && TimeZoneLess(EntryAt(combo, position), zone))
        ++position;
    InsertEntry(combo, position, zone);
    combo.setCurrentIndex(position);
    return position;
}

std::optional<TimeZoneEntry> SelectedTimeZone(const QComboBox &combo)
{
    const int index = combo.currentIndex();
    if (index < 0)
        return std::nullopt;
    return EntryAt(combo, index);
}

} // namespace vantor::widgets
