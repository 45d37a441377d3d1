#pragma once
// The framed packet of the device link (both directions, integers little-endian):
//
//   offset 0  u32 magic 0xAA55A55A (bytes 5A A5 55 AA)
//   offset 4  u32 LEN = 1 + payload length
//   offset 8  u8  command code
//   offset 9  payload (LEN - 1 bytes)
//   offset 8 + LEN  u8 CRC-8 of every byte before it
//
// A packet is payload length + 10 bytes long. The device polls with command 0 and an
// empty payload; the host answers each poll with an echo or with its current request.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vantor::link {

inline constexpr std::uint32_t kPacketMagic = 0xAA55A55Au;
inline constexpr std::size_t kPacketHeaderSize = 9;      // magic, LEN, command
inline constexpr std::size_t kPacketOverhead = 10;       // header and CRC-8
inline constexpr std::size_t kMaxPacketSize = 33801;     // largest total the scanner accepts
inline constexpr std::size_t kReceiveBufferSize = 33792; // 0x8400: largest packet that can arrive
inline constexpr std::uint8_t kPollCommand = 0;
inline constexpr std::size_t kPollPacketSize = 10;

// The poll packet: 5A A5 55 AA 01 00 00 00 00 B6.
const std::uint8_t *PollPacket();

// Writes magic, LEN, command and CRC-8 around a payload that is already at
// buffer + 9. Returns the total packet length (payload length + 10).
std::size_t FramePacket(std::uint8_t *buffer, std::uint8_t command, std::size_t payloadLength);

// A whole packet as a new byte vector.
std::vector<std::uint8_t> MakePacket(std::uint8_t command, const std::vector<std::uint8_t> &payload);

// Every byte as two lower-case hex digits followed by a space: "5a a5 55 aa ".
std::string HexDump(const std::uint8_t *bytes, std::size_t length);

// Little-endian field access for payloads.
inline std::uint32_t ReadU32(const std::uint8_t *p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
inline std::uint16_t ReadU16(const std::uint8_t *p)
{
    return std::uint16_t(p[0] | p[1] << 8);
}
inline void WriteU32(std::uint8_t *p, std::uint32_t v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}
inline void WriteU16(std::uint8_t *p, std::uint16_t v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
inline void AppendU32(std::vector<std::uint8_t> &out, std::uint32_t v)
{
    const std::size_t at = out.size();
    out.resize(at + 4);
    WriteU32(out.data() + at, v);
}

} // namespace vantor::link
