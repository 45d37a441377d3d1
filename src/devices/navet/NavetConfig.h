#pragma once
// The Navet signal-head module configuration and its "navet" document.
//
// A name, a hidden identifier, the time zone of the module's clock, the kind of
// signal it drives and whether it leads or follows, the lamp currents per colour and
// the durations of its four phases.

#include "app/TimeZones.h"
#include "json/JsonText.h"

#include <QString>

#include <array>
#include <cstdint>

namespace vantor::navet {

inline constexpr const char *kNavetRootKey = "navet";

// The name of a new configuration, and of one whose document has none.
QString DefaultName();

enum SignalType : int { kVehicleSignal = 0, kReversibleSignal = 1 }; // "Транспортный", "Реверсивный"
enum Role : int { kFollower = 0, kLeader = 1 };                      // "Ведомый", "Ведущий"

enum CurrentColour : int { kRedCurrent = 0, kGreenCurrent = 1, kYellowCurrent = 2 };

struct NavetConfig {
    QString Name = DefaultName();
    std::int64_t Id = 0;
    TimeZoneEntry TimeZone = SystemTimeZoneEntry();
    int Type = kReversibleSignal;
    int MasterRole = kLeader;
    std::array<std::int64_t, 3> Currents{}; // mA: red, green, yellow
    std::array<std::int64_t, 4> Phases{};   // s, phases 1 to 4
};

// The "navet" object and the whole document {"navet": {...}}. The currents are
// written as [red, green, 0, yellow]: the device keeps a slot for a fourth colour.
json::Json WriteNavetConfig(const NavetConfig &config);
json::Json GetConfigJson(const NavetConfig &config);

// Reads root["navet"] into the configuration. Absent members keep their values,
// except the name ("Новая конфигурация") and the identifier (0). The zone is taken
// when both "tz" and "tzname" are there; the role from "is_master" (what is
// written), or from "role" in documents that have only that. Arrays fill as many
// cells as they have elements. False with *error set when the member is missing
// ("Некорректная конфигурация"; nothing changes) or holds a value that cannot be
// used (what was read before it stays).
bool LoadConfigJson(NavetConfig &config, const json::Json &root, QString *error = nullptr);

} // namespace vantor::navet
