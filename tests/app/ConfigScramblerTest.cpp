#include "app/ConfigScrambler.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using vantor::kConfigFileKey;
using vantor::ScrambleText;
using vantor::UnscrambleError;
using vantor::UnscrambleText;

namespace {

// Six-bit packing without the keystream, written independently of the codec.
std::string PackOnly(const std::string &bytes)
{
    std::string packed;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t v = 0;
        for (std::size_t k = 0; k < n; ++k)
            v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + k])) << (8 * k);
        for (std::size_t k = 0; k <= n; ++k)
            packed += vantor::kScrambleAlphabet[(v >> (6 * k)) & 63];
    }
    return packed;
}

TEST(ConfigScrambler, HandComputedVectors)
{
    // "A": 0x41 ^ (31467 >> 8 = 0x7A) = 0x3B -> '7', 'A'.
    // "AB": next key 0x4E28, 0x42 ^ 0x4E = 0x0C -> v = 0x0C3B -> '7', 'w', 'A'.
    EXPECT_EQ(ScrambleText("A", kConfigFileKey), "7A");
    EXPECT_EQ(ScrambleText("AB", kConfigFileKey), "7wA");
    EXPECT_EQ(ScrambleText("", kConfigFileKey), "");
}

TEST(ConfigScrambler, GroupSizes)
{
    const struct {
        std::string text;
        std::size_t chars;
    } cases[] = {{"x", 2}, {"xy", 3}, {"xyz", 4}, {"wxyz", 6}, {"vwxyz", 7}, {"uvwxyz", 8}};
    for (const auto &c : cases) {
        const std::string scrambled = ScrambleText(c.text);
        EXPECT_EQ(scrambled.size(), c.chars) << c.text;
        EXPECT_EQ(UnscrambleText(scrambled), c.text);
    }
}

TEST(ConfigScrambler, RandomTextsRoundTripWithAnyKey)
{
    std::mt19937 random(20261211);
    for (int round = 0; round < 300; ++round) {
        std::string text(random() % 400, '\0');
        for (auto &ch : text)
            ch = static_cast<char>(random() & 0xFF);
        const auto key = static_cast<std::uint16_t>(random());
        const std::string scrambled = ScrambleText(text, key);
        EXPECT_EQ(scrambled.find_first_not_of(vantor::kScrambleAlphabet), std::string::npos);
        const auto back = UnscrambleText(scrambled, key);
        ASSERT_TRUE(back);
        EXPECT_EQ(*back, text);
    }
}

TEST(ConfigScrambler, OnlyFirstLengthMod65536BytesAreScrambled)
{
    // 70,000 bytes: 70,000 mod 65,536 = 4,464 bytes are XOR-ed, the rest only packed.
    std::string text(70000, '\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>('a' + i % 26);
    const std::string withKey = ScrambleText(text, kConfigFileKey);
    const std::string otherKey = ScrambleText(text, 12345);
    ASSERT_EQ(withKey.size(), (70000 / 3) * 4 + 2);

    // Byte 4,464 starts group 1,488, i.e. character 5,952: from there on the key
    // plays no part, and the plain packing of the tail is what is stored.
    const std::size_t firstPlainChar = 4464 / 3 * 4;
    EXPECT_EQ(withKey.substr(firstPlainChar), otherKey.substr(firstPlainChar));
    EXPECT_NE(withKey.substr(0, firstPlainChar), otherKey.substr(0, firstPlainChar));
    EXPECT_EQ(withKey.substr(firstPlainChar), PackOnly(text.substr(4464)));

    const auto back = UnscrambleText(withKey, kConfigFileKey);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, text);
}

TEST(ConfigScrambler, RefusesTextsThatAreNotScrambledFiles)
{
    const struct {
        std::string text;
        std::size_t position;
    } cases[] = {
        {"7A*B", 2},                     // '*' is not in the alphabet
        {"7wA\n", 3},                    // nor is a line break
        {"7wA=", 3},                     // nor Base64 padding
        {"ABCDE", 4},                    // a final group of one character encodes no byte
        {"A", 0},     {"7w\xD0\x90", 2}, // non-ASCII
    };
    for (const auto &c : cases) {
        UnscrambleError error;
        EXPECT_FALSE(UnscrambleText(c.text, kConfigFileKey, &error)) << c.text;
        EXPECT_EQ(error.position, c.position) << c.text;
        EXPECT_FALSE(error.reason.empty());
    }
    EXPECT_EQ(UnscrambleText(""), std::string());
}

} // namespace
