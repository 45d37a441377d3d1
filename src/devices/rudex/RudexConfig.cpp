#include "devices/rudex/RudexConfig.h"

#include "devices/DocumentValues.h"

#include <algorithm>

namespace vantor::rudex {

using devices::Member;
using devices::Path;

void RudexConfig::Reset()
{
    Enabled = true;
    Name.clear();
    Password.clear();
    DefaultPassword = false;
    Ids.clear();
    for (const std::uint8_t group : {kOwnIdGroup, kAppIdGroup}) {
        auto entry = std::make_unique<TIDObject>();
        entry->Group = group;
        Ids.push_back(std::move(entry));
    }
}

TIDObject *RudexConfig::FindId(std::uint8_t group)
{
    return const_cast<TIDObject *>(std::as_const(*this).FindId(group));
}

const TIDObject *RudexConfig::FindId(std::uint8_t group) const
{
    for (const auto &entry : Ids)
        if (entry->Group == group)
            return entry.get();
    return nullptr;
}

std::uint16_t RudexConfig::IdValue(std::uint8_t group) const
{
    const TIDObject *entry = FindId(group);
    return entry ? entry->Value : 1;
}

json::Json WriteRudexConfig(const RudexConfig &config)
{
    json::Json object = json::Json::object();
    object["en"] = config.Enabled;
    object["name"] = config.Name.toStdString();
    object["id"] = config.IdValue(kOwnIdGroup);
    object["app_id"] = config.IdValue(kAppIdGroup);
    object["psw"] = config.Password.toStdString();
    object["psw_def"] = config.DefaultPassword;
    return object;
}

json::Json GetConfigJson(const RudexConfig &config)
{
    json::Json root = json::Json::object();
    root[kRudexRootKey] = WriteRudexConfig(config);
    return root;
}

namespace {

void ReadId(RudexConfig &config, const json::Json *v, const char *key, std::uint8_t group)
{
    const auto value = devices::ReadInteger(Member(v, key), Path(kRudexRootKey, key));
    if (!value)
        return;
    if (TIDObject *entry = config.FindId(group))
        entry->Value = static_cast<std::uint16_t>(std::clamp<long long>(*value, 0, 65535));
}

} // namespace

bool LoadConfigJson(RudexConfig &config, const json::Json &root, QString *error)
{
    return devices::ReadDeviceMember(root, kRudexRootKey, error, [&config](const json::Json *v) {
        const std::string base = kRudexRootKey;
        // Members the document lacks take their "off" or empty value, except the
        // identifiers, which keep theirs.
        config.Enabled = devices::ReadBool(Member(v, "en"), Path(base, "en")).value_or(false);
        config.Name = devices::ReadText(Member(v, "name"), Path(base, "name")).value_or(QString());
        ReadId(config, v, "id", kOwnIdGroup);
        ReadId(config, v, "app_id", kAppIdGroup);
        config.Password = devices::ReadText(Member(v, "psw"), Path(base, "psw")).value_or(QString());
        config.DefaultPassword =
            devices::ReadBool(Member(v, "psw_def"), Path(base, "psw_def")).value_or(false);
    });
}

} // namespace vantor::rudex
