#include "devices/navet/NavetConfig.h"

#include "devices/DocumentValues.h"

#include <algorithm>
#include <optional>

namespace vantor::navet {

using devices::Item;
using devices::Member;
using devices::Path;

QString DefaultName()
{
    return QStringLiteral("Новая конфигурация");
}

json::Json WriteNavetConfig(const NavetConfig &config)
{
    json::Json object = json::Json::object();
    object["n"] = config.Name.toStdString();
    object["ver"] = 1;
    object["id"] = config.Id;
    object["geo"] = {{"tz", config.TimeZone.OffsetMinutes()},
                     {"tzname", config.TimeZone.displayName.toStdString()}};
    object["is_reverse"] = {{"value", config.Type}};
    object["cycle"] = {{"ph", json::Json(config.Phases)}};
    object["bright"] = {
        {"currents", json::Json::array({config.Currents[kRedCurrent], config.Currents[kGreenCurrent], 0,
                                        config.Currents[kYellowCurrent]})}};
    object["is_master"] = {{"value", config.MasterRole}};
    return object;
}

json::Json GetConfigJson(const NavetConfig &config)
{
    json::Json root = json::Json::object();
    root[kNavetRootKey] = WriteNavetConfig(config);
    return root;
}

namespace {

// Slots of "bright"."currents" by colour: red, green, (unused), yellow.
constexpr std::array<std::size_t, 3> kCurrentSlots = {0, 1, 3};

// "value" of a choice object ({"value": 1}); 0 when the object has none. The index
// is brought into the choices 0..1.
std::optional<int> ReadChoice(const json::Json *v, const char *key)
{
    const std::string path = Path(kNavetRootKey, key);
    const json::Json *object = devices::ReadObject(Member(v, key), path);
    if (!object)
        return std::nullopt;
    const long long value = devices::ReadInteger(Member(object, "value"), Path(path, "value")).value_or(0);
    return static_cast<int>(std::clamp<long long>(value, 0, 1));
}

void Read(NavetConfig &config, const json::Json *v)
{
    const std::string base = kNavetRootKey;
    config.Name = devices::ReadText(Member(v, "n"), Path(base, "n")).value_or(DefaultName());
    config.Id = devices::ReadInteger(Member(v, "id"), Path(base, "id")).value_or(0);

    if (const json::Json *geo = devices::ReadObject(Member(v, "geo"), Path(base, "geo"))) {
        const json::Json *tz = Member(geo, "tz");
        const json::Json *tzName = Member(geo, "tzname");
        if (tz && tzName) {
            const long long offset = *devices::ReadInteger(tz, Path(base, "geo.tz"));
            const QString name = *devices::ReadText(tzName, Path(base, "geo.tzname"));
            const auto minutes =
                static_cast<std::int32_t>(std::clamp<long long>(offset, -(1LL << 30), 1LL << 30));
            config.TimeZone = {name, -minutes, {}};
        }
    }

    if (const auto type = ReadChoice(v, "is_reverse"))
        config.Type = *type;
    // The role is written as "is_master"; "role" is the older name of the member.
    if (const auto role = ReadChoice(v, Member(v, "is_master") ? "is_master" : "role"))
        config.MasterRole = *role;

    if (const json::Json *cycle = devices::ReadObject(Member(v, "cycle"), Path(base, "cycle"))) {
        const std::string path = Path(base, "cycle.ph");
        if (const json::Json *phases = devices::ReadArray(Member(cycle, "ph"), path)) {
            const std::size_t count = std::min(phases->size(), config.Phases.size());
            for (std::size_t i = 0; i < count; ++i)
                if (const auto value = devices::ReadInteger(&(*phases)[i], Item(path, i)))
                    config.Phases[i] = *value;
        }
    }

    if (const json::Json *bright = devices::ReadObject(Member(v, "bright"), Path(base, "bright"))) {
        const std::string path = Path(base, "bright.currents");
        if (const json::Json *currents = devices::ReadArray(Member(bright, "currents"), path)) {
            for (std::size_t colour = 0; colour < kCurrentSlots.size(); ++colour) {
                const std::size_t slot = kCurrentSlots[colour];
                if (slot < currents->size())
                    if (const auto value = devices::ReadInteger(&(*currents)[slot], Item(path, slot)))
                        config.Currents[colour] = *value;
            }
        }
    }
}

} // namespace

bool LoadConfigJson(NavetConfig &config, const json::Json &root, QString *error)
{
    return devices::ReadDeviceMember(root, kNavetRootKey, error,
                                     [&config](const json::Json *v) { Read(config, v); });
}

} // namespace vantor::navet
