#pragma once
// MAC address texts of the Pelmar-3 Ethernet settings: six bytes as two upper-case
// hexadecimal digits each, joined by "-" ("02-1A-2B-3C-4D-5E").

#include <array>
#include <cstdint>
#include <string>

class QRandomGenerator;

namespace vantor {

using MacBytes = std::array<std::uint8_t, 6>;

// The text of the bytes; empty when all six are zero (no address).
std::string FormatMacAddress(const MacBytes &bytes);

// Six random bytes made a locally administered unicast address: bit 0 of the first
// byte cleared (unicast), bit 1 set (locally administered).
MacBytes RandomMacBytes(QRandomGenerator &random);
std::string RandomMacAddress(); // from the global generator

} // namespace vantor
