#include "devices/pelmar/WebLogin.h"

#include <QByteArray>

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace vantor {
namespace {

// Length of the UTF-8 sequence that starts with this byte (1 for a stray byte).
std::size_t SequenceLength(unsigned char lead)
{
    if (lead >= 0xF0 && lead < 0xF8)
        return 4;
    if (lead >= 0xE0)
        return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

struct Conversion {
    std::string text;
    bool lossless = true;
};

// Converts with iconv; whatever the target lacks (or the source does not encode)
// becomes '?': one UTF-8 sequence or one byte at a time.
Conversion Convert(const char *to, const char *from, std::string_view input, bool utf8Input)
{
    const iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    Conversion result;
    result.text.resize(input.size() * 4 + 4);
    char *in = const_cast<char *>(input.data());
    std::size_t inLeft = input.size();
    char *out = result.text.data();
    std::size_t outLeft = result.text.size();
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1))
            break;
        if (errno != EILSEQ && errno != EINVAL)
            break; // E2BIG cannot happen: four output bytes per input byte suffice
        const std::size_t skip =
            std::min(inLeft, utf8Input ? SequenceLength(static_cast<unsigned char>(*in)) : std::size_t{1});
        in += skip;
        inLeft -= skip;
        *out++ = '?';
        --outLeft;
        result.lossless = false;
    }
    iconv_close(cd);
    result.text.resize(result.text.size() - outLeft);
    return result;
}

} // namespace

std::string Utf8ToWindows1251(std::string_view utf8)
{
    return Convert("WINDOWS-1251", "UTF-8", utf8, true).text;
}

std::string Windows1251ToUtf8(std::string_view bytes)
{
    return Convert("UTF-8", "WINDOWS-1251", bytes, false).text;
}

bool IsWindows1251Text(std::string_view utf8)
{
    return Convert("WINDOWS-1251", "UTF-8", utf8, true).lossless;
}

std::string EncodeWebLogin(std::string_view user, std::string_view password)
{
    std::string plain(user);
    plain += ':';
    plain += password;
    const std::string bytes = Utf8ToWindows1251(plain);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())).toBase64().toStdString();
}

DecodedWebLogin DecodeWebLogin(std::string_view stored)
{
    DecodedWebLogin result;
    const QByteArray trimmed = QByteArray(stored.data(), static_cast<qsizetype>(stored.size())).trimmed();
    if (trimmed.isEmpty())
        return result;
    const auto decoded = QByteArray::fromBase64Encoding(trimmed, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded) {
        result.status = DecodedWebLogin::kInvalid;
        return result;
    }
    const std::string text = Windows1251ToUtf8(decoded.decoded.toStdString());
    const auto colon = text.find(':');
    if (colon == std::string::npos) {
        result.status = DecodedWebLogin::kNoColon;
        return result;
    }
    result.status = DecodedWebLogin::kOk;
    result.user = text.substr(0, colon);
    result.password = text.substr(colon + 1);
    return result;
}

} // namespace vantor
