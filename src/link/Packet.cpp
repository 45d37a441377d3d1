#include "link/Packet.h"

#include "link/Checksums.h"

namespace vantor::link {

const std::uint8_t *PollPacket()
{
    static const std::uint8_t poll[kPollPacketSize] = {0x5A, 0xA5, 0x55, 0xAA, 0x01,
                                                       0x00, 0x00, 0x00, 0x00, 0xB6};
    return poll;
}

std::size_t FramePacket(std::uint8_t *buffer, std::uint8_t command, std::size_t payloadLength)
{
    WriteU32(buffer, kPacketMagic);
    WriteU32(buffer + 4, std::uint32_t(payloadLength + 1));
    buffer[8] = command;
    const std::size_t crcAt = kPacketHeaderSize + payloadLength;
    buffer[crcAt] = Crc8(buffer, crcAt);
    return payloadLength + kPacketOverhead;
}

std::vector<std::uint8_t> MakePacket(std::uint8_t command, const std::vector<std::uint8_t> &payload)
{
    std::vector<std::uint8_t> packet(payload.size() + kPacketOverhead);
    std::copy(payload.begin(), payload.end(), packet.begin() + kPacketHeaderSize);
    FramePacket(packet.data(), command, payload.size());
    return packet;
}

std::string HexDump(const std::uint8_t *bytes, std::size_t length)
{
    static const char digits[] = "0123456789abcdef";
    std::string text(length * 3, ' ');
    for (std::size_t i = 0; i < length; ++i) {
        text[i * 3] = digits[bytes[i] >> 4];
        text[i * 3 + 1] = digits[bytes[i] & 15];
    }
    return text;
}

} // namespace vantor::link
