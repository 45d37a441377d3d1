#pragma once
// Registration servers of the Pelmar-3 (TRegServer) and the IPv4 address text the
// device documents use ("%d.%d.%d.%d", most significant byte first).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantor {

struct TRegServer {
    static constexpr std::uint16_t kDefaultPort = 80;
    static constexpr int kMaxUrlLength = 255;

    std::uint32_t ip = 0; // most significant byte = first part of the text
    std::uint16_t port = kDefaultPort;
    std::string url; // request URL without scheme: host followed by a path

    bool operator==(const TRegServer &) const = default;
};

using TRegServerList = std::vector<TRegServer>;

// The two registration servers every list starts with, and gets back with "Default".
TRegServerList DefaultRegServers();

// The row "+" adds: 0.0.0.0, port 80, no URL.
inline TRegServer NewRegServer()
{
    return {};
}

std::string FormatIPv4(std::uint32_t address);

// The outcome of reading an address text.
struct IPv4Text {
    std::uint32_t address = 0;
    // The first part that is not a number 0..255, when there are four parts; a text
    // with any other number of parts is 0.0.0.0 and has no bad part.
    std::optional<std::string> badPart;
};
IPv4Text ParseIPv4(std::string_view text);

} // namespace vantor
