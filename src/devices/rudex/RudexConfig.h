#pragma once
// The Rudex meter-reader configuration and its "whmeter" document.
//
// Small: an enable switch, a name, an access password (or the device's default
// one) and two 16-bit identifiers, the device's own and the application's. The
// identifiers are entries of a list, one per group, as the window's table shows them.

#include "json/JsonText.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace vantor::rudex {

inline constexpr const char *kRudexRootKey = "whmeter";

enum IdGroup : std::uint8_t {
    kOwnIdGroup = 0, // "Собственный ID", written as "id"
    kAppIdGroup = 1, // "ID приложения", written as "app_id"
};

// One identifier of the table.
struct TIDObject {
    std::uint16_t Value = 1;
    QString Caption = QStringLiteral("Rudex");
    std::uint8_t Kind = 0;
    std::uint8_t Group = kOwnIdGroup;
};

class RudexConfig {
public:
    RudexConfig() { Reset(); }

    // A new configuration: enabled, no name or password, default password off, both
    // identifiers 1.
    void Reset();

    // The entry of a group; null when the list has none.
    TIDObject *FindId(std::uint8_t group);
    const TIDObject *FindId(std::uint8_t group) const;
    // Its value; 1 when the group has no entry.
    std::uint16_t IdValue(std::uint8_t group) const;

    bool Enabled = true;
    QString Name;
    QString Password;
    bool DefaultPassword = false;
    std::vector<std::unique_ptr<TIDObject>> Ids; // owned; one per group after Reset
};

// The "whmeter" object and the whole document {"whmeter": {...}}.
json::Json WriteRudexConfig(const RudexConfig &config);
json::Json GetConfigJson(const RudexConfig &config);

// Reads root["whmeter"] into the configuration without resetting it first: an
// identifier the document lacks keeps its value. False with *error set when the
// member is missing ("Некорректная конфигурация"; nothing changes) or holds a value
// that cannot be used (what was read before it stays).
bool LoadConfigJson(RudexConfig &config, const json::Json &root, QString *error = nullptr);

} // namespace vantor::rudex
