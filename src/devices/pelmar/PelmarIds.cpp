#include "devices/pelmar/PelmarIds.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <utility>

namespace vantor {
namespace {

using E = TPelmarIdEntry;

// Own entries start after the group header and the device entry.
constexpr std::size_t kFirstObjectPosition = 2;

} // namespace

void PelmarIdTable::Reset()
{
    entries_ = {
        {E::kOwn, E::kHeader, 0, 0},
        {E::kOwn, E::kDevice, 0, kDefaultDeviceId},
        {E::kOwn, E::kDetector, 0, kDefaultDetectorId},
        {E::kApplication, E::kHeader, 0, 0},
        {E::kApplication, E::kObject, 0, kDefaultAppObjectsId},
        {E::kApplication, E::kDetector, 0, kDefaultAppDetectorId},
    };
    objectCount_ = 0;
}

void PelmarIdTable::SetObjectCount(int count)
{
    count = std::clamp(count, 0, kMaxObjects);
    while (objectCount_ < count) {
        const auto index = static_cast<std::uint8_t>(objectCount_);
        entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(kFirstObjectPosition + objectCount_),
                        {E::kOwn, E::kObject, index, static_cast<std::uint16_t>(index + 1)});
        ++objectCount_;
    }
    while (objectCount_ > count) {
        --objectCount_;
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(kFirstObjectPosition + objectCount_));
    }
}

void PelmarIdTable::SetValue(std::size_t position, std::uint16_t value)
{
    if (position < entries_.size() && !entries_[position].IsHeader())
        entries_[position].value = value;
}

bool PelmarIdTable::IsVisible(const TPelmarIdEntry &entry, int objectCount, bool detectorEnabled)
{
    if (entry.group != E::kApplication)
        return true;
    switch (entry.kind) {
    case E::kObject: return objectCount > 0;
    case E::kDetector: return detectorEnabled;
    default: return true;
    }
}

std::string PelmarIdTable::Caption(const TPelmarIdEntry &entry)
{
    switch (entry.kind) {
    case E::kHeader: return entry.group == E::kOwn ? "Собственный ID" : "ID приложения";
    case E::kDevice: return "Pelmar";
    case E::kObject: return entry.group == E::kOwn ? "СО " + std::to_string(entry.index + 1) : "СО";
    case E::kDetector: return "КД";
    default: return {};
    }
}

std::string PelmarIdTable::HexText(std::uint16_t value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%.2X", static_cast<unsigned>(value));
    return text;
}

TPelmarIdEntry &PelmarIdTable::Find(std::uint8_t group, std::uint8_t kind)
{
    return const_cast<TPelmarIdEntry &>(std::as_const(*this).Find(group, kind));
}

const TPelmarIdEntry &PelmarIdTable::Find(std::uint8_t group, std::uint8_t kind) const
{
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const E &entry) { return entry.group == group && entry.kind == kind; });
    return *it; // the shape always holds each of these entries
}

std::size_t PelmarIdTable::ObjectPosition(int index) const
{
    if (index < 0 || index >= objectCount_)
        throw std::out_of_range("PelmarIdTable: no traffic-light object " + std::to_string(index));
    return kFirstObjectPosition + static_cast<std::size_t>(index);
}

} // namespace vantor
