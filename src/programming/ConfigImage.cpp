#include "programming/ConfigImage.h"

#include "link/Checksums.h"
#include "link/Packet.h"
#include "json/JsonText.h"

namespace vantor::programming {
namespace {

const char *const kRootKeys[] = {"vantor5", "revur", "orsin", "whmeter", "sollo", "navet"};

} // namespace

QString RootKeyForTag(int tag)
{
    if (tag < 1 || tag > 6)
        return {};
    return QString::fromLatin1(kRootKeys[tag - 1]);
}

int TagForName(const QString &name)
{
    for (int tag = 1; tag <= 6; ++tag)
        if (name == QLatin1String(kRootKeys[tag - 1]) || name == QString::number(tag))
            return tag;
    return 0;
}

std::vector<std::uint8_t> BuildImage(const std::string &jsonText)
{
    std::vector<std::uint8_t> image;
    image.reserve(jsonText.size() + 8);
    link::AppendU32(image, std::uint32_t(jsonText.size()));
    image.insert(image.end(), jsonText.begin(), jsonText.end());
    link::AppendU32(image, Crc32(jsonText.data(), jsonText.size()));
    return image;
}

bool ImageCrcMatches(const std::vector<std::uint8_t> &image)
{
    if (image.size() < 8)
        return false;
    return link::ReadU32(image.data() + image.size() - 4) == Crc32(image.data() + 4, image.size() - 8);
}

std::string ImageText(const std::vector<std::uint8_t> &image)
{
    if (image.size() < 8)
        return {};
    return std::string(image.begin() + 4, image.end() - 4);
}

std::optional<std::string> MergeMember(const std::string &deviceText, const std::string &inputText,
                                       const QString &key)
{
    if (deviceText.empty())
        return std::nullopt;
    auto device = json::ParseObject(deviceText);
    auto input = json::ParseObject(inputText);
    const std::string name = key.toStdString();
    if (!device || !input || !input->contains(name))
        return std::nullopt;
    device->erase(name);
    (*device)[name] = (*input)[name];
    return json::RenderCompact(*device);
}

std::optional<std::string> MergeAllMembers(const std::string &deviceText, const std::string &inputText)
{
    auto device = json::ParseObject(deviceText);
    auto input = json::ParseObject(inputText);
    if (!device || !input)
        return std::nullopt;
    for (auto it = input->begin(); it != input->end(); ++it) {
        device->erase(it.key());
        (*device)[it.key()] = it.value();
    }
    return json::RenderCompact(*device);
}

} // namespace vantor::programming
