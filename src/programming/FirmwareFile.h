#pragma once
// Firmware files (.mff): signature, format version, a table of memory blocks and an
// entry point, with a CRC-16/KERMIT trailer. Validated completely before anything is
// sent to a device.

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace vantor::programming {

struct FirmwareBlock {
    std::uint32_t dataOffset = 0; // in the file
    std::uint32_t address = 0;    // in the device
    std::uint32_t size = 0;
    std::uint32_t crc = 0; // CRC-32 of the data, sent for verification as stored
};

struct FirmwareFile {
    std::vector<std::uint8_t> bytes;
    std::uint16_t version = 0;
    std::vector<FirmwareBlock> blocks;
    std::vector<std::uint32_t> entries; // 0 or 1 entry addresses

    // The entry point to send: the table's, otherwise the first block's address.
    std::uint32_t EntryPoint() const;
};

// Checks in order: trailer CRC, size, signature, version, block table, entry table.
// On failure *error holds the message for the status line and the error box.
std::optional<FirmwareFile> ParseFirmwareFile(std::vector<std::uint8_t> bytes, QString *error);

} // namespace vantor::programming
