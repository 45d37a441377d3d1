#pragma once
// The three checksums of the device link.
//   Crc8        - every packet (polynomial 0x07, initial 0, not reflected, no final XOR)
//   Crc32       - configuration images, firmware blocks, sound files (reflected
//                 0xEDB88320 but initial 0 and no final XOR: not the usual CRC-32)
//   Crc16Kermit - firmware files (reflected 0x8408, initial 0, no final XOR)
// Each takes the register to continue from, so long data can be summed in pieces.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vantor {

std::uint8_t Crc8(const void *data, std::size_t length, std::uint8_t crc = 0);
std::uint32_t Crc32(const void *data, std::size_t length, std::uint32_t crc = 0);
std::uint16_t Crc16Kermit(const void *data, std::size_t length, std::uint16_t crc = 0);

inline std::uint8_t Crc8(std::string_view bytes)
{
    return Crc8(bytes.data(), bytes.size());
}
inline std::uint32_t Crc32(std::string_view bytes)
{
    return Crc32(bytes.data(), bytes.size());
}
inline std::uint16_t Crc16Kermit(std::string_view bytes)
{
    return Crc16Kermit(bytes.data(), bytes.size());
}

} // namespace vantor
