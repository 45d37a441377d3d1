// new and roundtrip for the Rudex, Navet and Orsin-3 documents.
#include "DeviceDocuments.h"

#include "devices/navet/NavetConfig.h"
#include "devices/orsin/OrsinConfig.h"
#include "devices/rudex/RudexConfig.h"

namespace vantor::tool {

namespace {

struct Handled {
    const char *name;
    DeviceTag tag;
};
constexpr Handled kHandled[] = {{"rudex", kRudexTag}, {"navet", kNavetTag}, {"orsin", kOrsinTag}};

template <class Config>
std::optional<json::Json> Roundtrip(const json::Json &root, std::string *error)
{
    Config config;
    QString message;
    if (!LoadConfigJson(config, root, &message)) {
        *error = message.toStdString();
        return std::nullopt;
    }
    return GetConfigJson(config);
}

} // namespace

std::optional<DeviceTag> DeviceOfName(const std::string &name)
{
    for (const Handled &device : kHandled)
        if (name == device.name)
            return device.tag;
    return std::nullopt;
}

std::string DeviceNames()
{
    std::string names;
    for (const Handled &device : kHandled)
        names += (names.empty() ? "" : ", ") + std::string(device.name);
    return names;
}

std::optional<json::Json> NewDeviceDocument(DeviceTag tag)
{
    switch (tag) {
    case kRudexTag: return rudex::GetConfigJson(rudex::RudexConfig());
    case kNavetTag: return navet::GetConfigJson(navet::NavetConfig());
    case kOrsinTag: return orsin::GetConfigJson(orsin::TDevice());
    default: return std::nullopt;
    }
}

std::optional<json::Json> RoundtripDeviceDocument(DeviceTag tag, const json::Json &root, std::string *error)
{
    switch (tag) {
    case kRudexTag: return Roundtrip<rudex::RudexConfig>(root, error);
    case kNavetTag: return Roundtrip<navet::NavetConfig>(root, error);
    case kOrsinTag: return Roundtrip<orsin::TDevice>(root, error);
    default:
        *error =
            std::string("документы ") + DeviceName(tag).toStdString() + " этой командой не обрабатываются";
        return std::nullopt;
    }
}

} // namespace vantor::tool
