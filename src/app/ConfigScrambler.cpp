#include "app/ConfigScrambler.h"

#include <algorithm>
#include <array>

namespace vantor {
namespace {

// Keystream step; the state always advances with the scrambled byte.
inline std::uint16_t NextKey(std::uint16_t key, std::uint8_t scrambled)
{
    return static_cast<std::uint16_t>((scrambled + key) * 30300u + 34944u);
}

constexpr std::array<std::int8_t, 256> MakeAlphabetIndex()
{
    std::array<std::int8_t, 256> index{};
    for (auto &entry : index)
        entry = -1;
    for (std::size_t i = 0; i < kScrambleAlphabet.size(); ++i)
        index[static_cast<unsigned char>(kScrambleAlphabet[i])] = static_cast<std::int8_t>(i);
    return index;
}

constexpr auto kAlphabetIndex = MakeAlphabetIndex();

std::size_t ScrambledLength(std::size_t n)
{
    return n % 65536;
}

} // namespace

std::string ScrambleText(std::string_view text, std::uint16_t key)
{
    const std::size_t n = text.size();
    const std::size_t scrambled = ScrambledLength(n);

    std::string out;
    out.reserve((n / 3) * 4 + 4);
    std::uint32_t group = 0;
    int groupBytes = 0;
    for (std::size_t i = 0; i < n; ++i) {
        auto byte = static_cast<std::uint8_t>(text[i]);
        if (i < scrambled) {
            byte = static_cast<std::uint8_t>(byte ^ (key >> 8));
            key = NextKey(key, byte);
        }
        group |= static_cast<std::uint32_t>(byte) << (8 * groupBytes);
        if (++groupBytes == 3) {
            for (int shift = 0; shift < 24; shift += 6)
                out += kScrambleAlphabet[(group >> shift) & 63];
            group = 0;
            groupBytes = 0;
        }
    }
    // 1 byte -> 2 characters, 2 bytes -> 3 characters.
    for (int k = 0; groupBytes > 0 && k <= groupBytes; ++k)
        out += kScrambleAlphabet[(group >> (6 * k)) & 63];
    return out;
}

std::optional<std::string> UnscrambleText(std::string_view scrambled, std::uint16_t key,
                                          UnscrambleError *error)
{
    auto fail = [&](std::size_t position, const char *reason) -> std::optional<std::string> {
        if (error)
            *error = UnscrambleError{position, reason};
        return std::nullopt;
    };
    if (scrambled.size() % 4 == 1)
        return fail(scrambled.size() - 1, "файл обрезан: последняя группа из одного символа");

    std::string out;
    out.reserve(scrambled.size() / 4 * 3 + 2);
    for (std::size_t start = 0; start < scrambled.size(); start += 4) {
        const std::size_t count = std::min<std::size_t>(4, scrambled.size() - start);
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < count; ++k) {
            const auto value = kAlphabetIndex[static_cast<unsigned char>(scrambled[start + k])];
            if (value < 0)
                return fail(start + k, "недопустимый символ");
            group |= static_cast<std::uint32_t>(value) << (6 * k);
        }
        for (std::size_t k = 0; k + 1 < count; ++k)
            out += static_cast<char>((group >> (8 * k)) & 0xFF);
    }

    const std::size_t toUnscramble = ScrambledLength(out.size());
    for (std::size_t i = 0; i < toUnscramble; ++i) {
        const auto byte = static_cast<std::uint8_t>(out[i]);
        out[i] = static_cast<char>(byte ^ (key >> 8));
        key = NextKey(key, byte);
    }
    return out;
}

} // namespace vantor
