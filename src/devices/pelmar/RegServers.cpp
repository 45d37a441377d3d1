#include "devices/pelmar/RegServers.h"

#include <charconv>

namespace vantor {
namespace {

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<std::uint8_t> AddressByte(std::string_view part)
{
    part = Trimmed(part);
    unsigned value = 0;
    const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
    if (part.empty() || error != std::errc() || end != part.data() + part.size() || value > 255)
        return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

} // namespace

TRegServerList DefaultRegServers()
{
    // Documentation addresses and names: the real servers are the operator's to set.
    return {
        {0xC000020AU, TRegServer::kDefaultPort, "reg1.example.net/cgi-bin/svc.cgi"}, // 192.0.2.10
        {0xC0000214U, TRegServer::kDefaultPort, "reg2.example.net/cgi-bin/svc.cgi"}, // 192.0.2.20
    };
}

std::string FormatIPv4(std::uint32_t address)
{
    return std::to_string(address >> 24) + '.' + std::to_string((address >> 16) & 0xFF) + '.' +
           std::to_string((address >> 8) & 0xFF) + '.' + std::to_string(address & 0xFF);
}

IPv4Text ParseIPv4(std::string_view text)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const auto dot = text.find('.', start);
        parts.push_back(
            text.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start));
        if (dot == std::string_view::npos)
            break;
        start = dot + 1;
    }
    IPv4Text result;
    if (parts.size() != 4)
        return result;
    for (const std::string_view part : parts) {
        const auto byte = AddressByte(part);
        if (!byte) {
            result.address = 0;
            result.badPart = std::string(part);
            return result;
        }
        result.address = (result.address << 8) | *byte;
    }
    return result;
}

} // namespace vantor
