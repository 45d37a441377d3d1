#include "link/Checksums.h"

#include <array>

namespace vantor {
namespace {

constexpr std::array<std::uint8_t, 256> MakeCrc8Table()
{
    std::array<std::uint8_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned crc = i;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x80) ? ((crc << 1) ^ 0x07) : (crc << 1);
        table[i] = static_cast<std::uint8_t>(crc);
    }
    return table;
}

template <typename T>
constexpr std::array<T, 256> MakeReflectedTable(T polynomial)
{
    std::array<T, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        T crc = static_cast<T>(i);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<T>((crc >> 1) ^ polynomial) : static_cast<T>(crc >> 1);
        table[i] = crc;
    }
    return table;
}

constexpr auto kCrc8Table = MakeCrc8Table();
constexpr auto kCrc32Table = MakeReflectedTable<std::uint32_t>(0xEDB88320u);
constexpr auto kCrc16KermitTable = MakeReflectedTable<std::uint16_t>(0x8408u);

} // namespace

std::uint8_t Crc8(const void *data, std::size_t length, std::uint8_t crc)
{
    const auto *bytes = static_cast<const std::uint8_t *>(data);
    for (std::size_t i = 0; i < length; ++i)
        crc = kCrc8Table[crc ^ bytes[i]];
    return crc;
}

std::uint32_t Crc32(const void *data, std::size_t length, std::uint32_t crc)
{
    const auto *bytes = static_cast<const std::uint8_t *>(data);
    for (std::size_t i = 0; i < length; ++i)
        crc = kCrc32Table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return crc;
}

std::uint16_t Crc16Kermit(const void *data, std::size_t length, std::uint16_t crc)
{
    const auto *bytes = static_cast<const std::uint8_t *>(data);
    for (std::size_t i = 0; i < length; ++i)
        crc = static_cast<std::uint16_t>((crc >> 8) ^ kCrc16KermitTable[(crc ^ bytes[i]) & 0xFF]);
    return crc;
}

} // namespace vantor
