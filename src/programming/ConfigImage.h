#pragma once
// The configuration image a device stores (u32 N, N bytes of compact JSON, u32 CRC-32
// of the text) and the merges of a write: one device type's member (mode 1) or every
// member of a file (mode 3) replace the same-named members of the device's document.

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantor::programming {

// Root key of a device type tag 1..6 ("vantor5" ... "navet"); empty for other tags.
QString RootKeyForTag(int tag);
// Tag of a root key or of a number "1".."6"; 0 when unknown.
int TagForName(const QString &name);

std::vector<std::uint8_t> BuildImage(const std::string &jsonText);
// True when the image's stored CRC-32 matches its text.
bool ImageCrcMatches(const std::vector<std::uint8_t> &image);
// The text between N and the CRC.
std::string ImageText(const std::vector<std::uint8_t> &image);

// Mode 1: the device's document with `key` replaced by the input's member of that key.
// Nothing when either is not an object or the input lacks the member (then the input
// is written unchanged).
std::optional<std::string> MergeMember(const std::string &deviceText, const std::string &inputText,
                                       const QString &key);
// Mode 3: every member of the input replaces (or joins) the device's member.
std::optional<std::string> MergeAllMembers(const std::string &deviceText, const std::string &inputText);

} // namespace vantor::programming
