#include "devices/pelmar/PelmarIdSource.h"

#include "devices/pelmar/PelmarConfig.h"

#include <algorithm>
#include <stdexcept>

namespace vantor {
namespace {

bool Shown(const TPelmarIdEntry &entry, int group, const PelmarConfig &config)
{
    return entry.group == group && !entry.IsHeader() &&
           PelmarIdTable::IsVisible(entry, config.ObjectCount(), config.DetectorEnabled);
}

} // namespace

QString PelmarIdSource::GroupCaption(int group) const
{
    return QString::fromStdString(
        PelmarIdTable::Caption({static_cast<std::uint8_t>(group), TPelmarIdEntry::kHeader, 0, 0}));
}

int PelmarIdSource::EntryCount(int group) const
{
    int count = 0;
    for (const TPelmarIdEntry &entry : config_.Ids.Entries())
        count += Shown(entry, group, config_) ? 1 : 0;
    return count;
}

QString PelmarIdSource::EntryCaption(int group, int entry) const
{
    return QString::fromStdString(PelmarIdTable::Caption(config_.Ids.Entries()[Position(group, entry)]));
}

int PelmarIdSource::EntryValue(int group, int entry) const
{
    return config_.Ids.Entries()[Position(group, entry)].value;
}

void PelmarIdSource::SetEntryValue(int group, int entry, int value)
{
    config_.Ids.SetValue(Position(group, entry), static_cast<std::uint16_t>(std::clamp(value, 0, 65535)));
}

std::optional<int> PelmarIdSource::ObjectOfEntry(int group, int entry) const
{
    const TPelmarIdEntry &e = config_.Ids.Entries()[Position(group, entry)];
    if (e.group == TPelmarIdEntry::kOwn && e.kind == TPelmarIdEntry::kObject)
        return e.index;
    return std::nullopt;
}

int PelmarIdSource::EntryOfObject(int objectIndex) const
{
    return objectIndex + 1; // after the device's own entry
}

std::size_t PelmarIdSource::Position(int group, int entry) const
{
    const auto &entries = config_.Ids.Entries();
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (Shown(entries[i], group, config_) && entry-- == 0)
            return i;
    throw std::out_of_range("PelmarIdSource: no such identifier row");
}

} // namespace vantor
