#include "devices/pelmar/MacAddress.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>

namespace vantor {

std::string FormatMacAddress(const MacBytes &bytes)
{
    if (std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; }))
        return {};
    char text[18];
    std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", bytes[0], bytes[1], bytes[2], bytes[3],
                  bytes[4], bytes[5]);
    return text;
}

MacBytes RandomMacBytes(QRandomGenerator &random)
{
    MacBytes bytes;
    for (auto &byte : bytes)
        byte = static_cast<std::uint8_t>(random.bounded(256));
    bytes[0] = static_cast<std::uint8_t>((bytes[0] & ~0x01) | 0x02);
    return bytes;
}

std::string RandomMacAddress()
{
    return FormatMacAddress(RandomMacBytes(*QRandomGenerator::global()));
}

} // namespace vantor
