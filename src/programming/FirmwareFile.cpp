#include "programming/FirmwareFile.h"

#include "link/Checksums.h"
#include "link/Packet.h"

namespace vantor::programming {

using link::ReadU16;
using link::ReadU32;

std::uint32_t FirmwareFile::EntryPoint() const
{
    if (!entries.empty())
        return entries.front();
    return blocks.empty() ? 0 : blocks.front().address;
}

std::optional<FirmwareFile> ParseFirmwareFile(std::vector<std::uint8_t> bytes, QString *error)
{
    const QString damaged = QStringLiteral("Файл поврежден или не является файлом прошивки: ");
    auto fail = [&](const QString &text) -> std::optional<FirmwareFile> {
        if (error)
            *error = text;
        return std::nullopt;
    };
    // All positions are computed in 64 bits: offsets and counts come from the file.
    const std::uint64_t size = bytes.size();
    if (size < 3 || Crc16Kermit(bytes.data(), bytes.size() - 2) != ReadU16(bytes.data() + size - 2))
        return fail(damaged + QStringLiteral("file CRC error."));
    if (size <= 18)
        return fail(damaged + QStringLiteral("invalid size (%1)").arg(size));
    if (ReadU32(bytes.data() + 4) != 0x3520CEFAu)
        return fail(damaged + QStringLiteral("invalid signature (%1)")
                                  .arg(QString::fromLatin1(link::HexDump(bytes.data() + 4, 4))));
    FirmwareFile file;
    file.version = ReadU16(bytes.data() + 8);
    if (file.version > 2)
        return fail(QStringLiteral(
            "Файл более новой версии. Для его использования необходимо обновить программатор."));
    if (file.version == 1)
        return fail(QStringLiteral(
            "Версия формата файла 1. Для работы с ним необходимо использовать конфигуратор Vantor."));

    const std::uint64_t blockTable = ReadU32(bytes.data() + 10);
    const std::uint64_t entryTable = ReadU32(bytes.data() + 14);
    if (blockTable >= size)
        return fail(QStringLiteral("Blocks table pointer out of size"));
    // The count itself must lie inside the file too.
    if (blockTable + 4 > size)
        return fail(QStringLiteral("Blocks table out of size"));
    const std::uint64_t blockCount = ReadU32(bytes.data() + blockTable);
    if (blockCount != 0) {
        if (blockTable + 4 + blockCount * 17 >= size)
            return fail(QStringLiteral("Blocks table out of size"));
        for (std::uint64_t i = 0; i < blockCount; ++i) {
            const std::uint8_t *entry = bytes.data() + blockTable + 4 + i * 17;
            FirmwareBlock block;
            block.dataOffset = ReadU32(entry + 1);
            block.address = ReadU32(entry + 5);
            block.size = ReadU32(entry + 9);
            block.crc = ReadU32(entry + 13);
            if (std::uint64_t(block.dataOffset) + block.size >= size)
                return fail(QStringLiteral("Block %1 out of size").arg(i));
            file.blocks.push_back(block);
        }
    }
    if (entryTable >= size)
        return fail(QStringLiteral("Executions table pointer out of size"));
    if (entryTable + 4 > size)
        return fail(QStringLiteral("Executions table out of size"));
    const std::uint64_t entryCount = ReadU32(bytes.data() + entryTable);
    if (entryCount != 0) {
        if (entryTable + 4 + entryCount * 4 >= size)
            return fail(QStringLiteral("Executions table out of size"));
        if (entryCount > 1)
            return fail(QStringLiteral(
                "В файле больше одной точки входа в программу - неизвестно, какую из них записывать."));
        file.entries.push_back(ReadU32(bytes.data() + entryTable + 4));
    }
    file.bytes = std::move(bytes);
    return file;
}

} // namespace vantor::programming
