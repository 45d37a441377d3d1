#include "link/Checksums.h"

#include <gtest/gtest.h>

#include <string>

using namespace vantor;

namespace {

TEST(Checksums, CheckValues)
{
    EXPECT_EQ(Crc8("123456789"), 0xF4);
    EXPECT_EQ(Crc32("123456789"), 0x2DFD2D88u);
    EXPECT_EQ(Crc32("abc"), 0xCA6598D0u);
    EXPECT_EQ(Crc16Kermit("123456789"), 0x2189);
    EXPECT_EQ(Crc8(""), 0);
    EXPECT_EQ(Crc32(""), 0u);
}

TEST(Checksums, PollHeaderCrc8)
{
    const unsigned char header[] = {0x5A, 0xA5, 0x55, 0xAA, 0x01, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(Crc8(header, sizeof header), 0xB6);
}

TEST(Checksums, ContinueAcrossPieces)
{
    const std::string text = "The quick brown fox jumps over the lazy dog";
    for (std::size_t split = 0; split <= text.size(); split += 7) {
        const std::string a = text.substr(0, split), b = text.substr(split);
        EXPECT_EQ(Crc8(b.data(), b.size(), Crc8(a)), Crc8(text));
        EXPECT_EQ(Crc32(b.data(), b.size(), Crc32(a)), Crc32(text));
        EXPECT_EQ(Crc16Kermit(b.data(), b.size(), Crc16Kermit(a)), Crc16Kermit(text));
    }
}

} // namespace
