#pragma once
// Configuration files (*.vt5): the indented document, scrambled with kConfigFileKey.

#include "json/JsonText.h"

#include <QString>

#include <optional>
#include <string>

namespace vantor {

// The document text stored in a .vt5 file, unscrambled but not parsed.
std::optional<std::string> ReadConfigFileText(const QString &path, QString *error = nullptr);

// The root object stored in a .vt5 file; nothing when the file cannot be read,
// is not a scrambled file, or does not hold a JSON object.
std::optional<json::Json> ReadConfigFile(const QString &path, QString *error = nullptr);

// Renders the indented layout, scrambles it and replaces the file atomically.
bool WriteConfigFile(const QString &path, const json::Json &root, QString *error = nullptr);

} // namespace vantor
