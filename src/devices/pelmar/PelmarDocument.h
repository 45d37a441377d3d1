#pragma once
// The Pelmar-3 configuration document: a JSON object whose member "revur" holds the
// whole configuration.
//
// The reader applies the document onto the configuration as the window shows it:
// the traffic-light objects and the identifier table start afresh, members that are
// absent leave the current value except where a rule says otherwise (a missing
// "gprs", "eth", "det" or "web" switches that part off; a missing "so" means no
// objects). A member that cannot be read (a port that is not a number, an address
// part that is not a number 0..255, a direction number beyond the list, a login that
// is not Base64, more than 255 objects) stops the read with a message naming it;
// what was read up to there stays.

#include "json/JsonText.h"

#include <string>

namespace vantor {

class PelmarConfig;

inline constexpr const char *kPelmarRootKey = "revur";

// The "revur" object.
json::Json WritePelmarConfig(const PelmarConfig &config);

// The whole document: {"revur": {...}}.
json::Json GetConfigJson(const PelmarConfig &config);

// Reads root["revur"] into config. Without that object the configuration is left
// untouched and *error is "Некорректная конфигурация"; a member that cannot be read
// gives false with *error naming it (Russian, for the user).
bool LoadConfigJson(PelmarConfig &config, const json::Json &root, std::string *error = nullptr);

} // namespace vantor
