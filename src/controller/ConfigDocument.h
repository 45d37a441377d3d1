#pragma once
// The Vantor-5 configuration document: a JSON object whose member "vantor5" holds the
// whole configuration. The writer builds it from a TVantorConfig (rebuilding the
// derived tables on the way); the reader rebuilds a TVantorConfig from it, leniently:
// absent members keep their defaults, references to positions that do not exist are
// ignored, and malformed values never fail the read.

#include "json/JsonText.h"

#include <QDate>

#include <optional>
#include <string>
#include <vector>

namespace vantor {

class TVantorConfig;

inline constexpr const char *kVantorRootKey = "vantor5";
inline constexpr const char *kBadConfigurationText = "Некорректная конфигурация";

// The "vantor5" object. `date` is written as "dd-mm-yyyy". Changes nothing in the
// model except the derived tables and the start seconds of coordinated cycle steps.
json::Json WriteVantorConfig(TVantorConfig &config, const QDate &date = QDate::currentDate());

// The whole document: {"vantor5": {...}}.
json::Json GetConfigJson(TVantorConfig &config, const QDate &date = QDate::currentDate());

// Replaces the configuration with the one in root["vantor5"]. Without that object
// the configuration is left untouched, *error becomes "Некорректная конфигурация"
// and the result is false. Block models are looked up in the plug-in registry.
// Parts of the document that could not be taken over (a block whose model is not
// installed, a signal group of an undescribed type) are skipped; each adds a Russian
// sentence to *warnings, so that the user learns before saving drops them for good.
bool LoadConfigJson(TVantorConfig &config, const json::Json &root, std::string *error = nullptr,
                    std::vector<std::string> *warnings = nullptr);

// The compact text of root["vantor5"], as the model library receives it; nothing when
// the member is missing or not an object.
std::optional<std::string> VantorModelText(const json::Json &root);

} // namespace vantor
