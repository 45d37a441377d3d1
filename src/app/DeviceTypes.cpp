#include "app/DeviceTypes.h"

#include <array>

namespace vantor {

namespace {

constexpr std::array<DeviceType, 6> kDeviceTypes = {{
    {kVantorTag, "vantor5", "Vantor-5", "actNewVantor", "Vantor-5", "Vantor-5",
     "Новая конфигурация Vantor - 5", "TfmConfVantor"},
    {kPelmarTag, "revur", "Pelmar-3", "actNewPelmar", "Pelmar-3", "Pelmar-3", "Новая конфигурация Pelmar-3",
     "TfmConfPelmar"},
    {kOrsinTag, "orsin", "Orsin-3", "actNewOrsin", "Orsin-3", "Orsin-3", "Новая конфигурация Orsin-3",
     "TfmConfOrsin"},
    // The Rudex item of the new-configuration menu carries the model number.
    {kRudexTag, "whmeter", "Rudex", "actNewRudex", "Rudex", "Rudex-2", "Новая конфигурация Rudex",
     "TfmConfRudex"},
    {kSolloTag, "sollo", "Sollo-4", "actNewSollo", "Sollo-4", "Sollo-4", "Новая конфигурация Sollo-4",
     "TfmConfSollo"},
    {kNavetTag, "navet", "Navet", "actNewNavet", "Navet", "Navet", "Новая конфигурация Navet",
     "TfmConfNavet"},
}};

} // namespace

std::span<const DeviceType> DeviceTypes()
{
    return kDeviceTypes;
}

const DeviceType *FindDeviceType(DeviceTag tag)
{
    if (tag < kVantorTag || tag > kNavetTag)
        return nullptr;
    return &kDeviceTypes[tag - 1];
}

const DeviceType *FindDeviceTypeByRootKey(std::string_view rootKey)
{
    for (const auto &type : kDeviceTypes)
        if (type.rootKey == rootKey)
            return &type;
    return nullptr;
}

QString DeviceName(DeviceTag tag)
{
    const DeviceType *type = FindDeviceType(tag);
    return type ? QString::fromUtf8(type->name) : QString();
}

std::optional<DeviceTag> FindRootKey(const json::Json &root, DeviceTag startTag)
{
    if (!root.is_object())
        return std::nullopt;
    const DeviceTag first = startTag <= kVantorTag ? kVantorTag : startTag;
    for (DeviceTag tag = first; tag <= kNavetTag; ++tag) {
        const auto member = root.find(std::string(FindDeviceType(tag)->rootKey));
        if (member != root.end())
            return tag;
    }
    return std::nullopt;
}

} // namespace vantor
