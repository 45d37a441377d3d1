#pragma once
// Whole-file reading and crash-safe writing. Every save of the program goes through
// WriteFileAtomically: the bytes go to a temporary file beside the target, which then
// replaces the target, so a failure never leaves a half-written or lost file.

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace vantor {

std::optional<std::string> ReadWholeFile(const QString &path, QString *error = nullptr);

bool WriteFileAtomically(const QString &path, std::string_view bytes, QString *error = nullptr);

} // namespace vantor
