#pragma once
// Scrambling of configuration files (*.vt5).
//
// A file holds the document text XOR-ed with a 16-bit keystream and packed six bits
// per character. Only the first (length mod 65536) bytes are XOR-ed: stored files
// rely on that quirk, so it is kept. Packing is least significant bits first with
// the alphabet below (not Base64's bit order) and has no padding.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantor {

// The key every configuration file is scrambled with.
inline constexpr std::uint16_t kConfigFileKey = 31467;

inline constexpr std::string_view kScrambleAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string ScrambleText(std::string_view text, std::uint16_t key = kConfigFileKey);

struct UnscrambleError {
    std::size_t position = 0; // offset of the offending character in the input
    std::string reason;       // Russian, for messages
};

// The inverse of ScrambleText. Fails on a character outside the alphabet and on a
// final group of a single character (it cannot encode a byte).
std::optional<std::string> UnscrambleText(std::string_view scrambled, std::uint16_t key = kConfigFileKey,
                                          UnscrambleError *error = nullptr);

} // namespace vantor
