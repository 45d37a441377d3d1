#include "programming/SoundFiles.h"

#include "link/Packet.h"
#include "json/JsonText.h"

#include <QDir>
#include <QFileInfo>

namespace vantor::programming {
namespace {

json::Json *FilesArray(json::Json &root)
{
    if (!root.is_object() || !root.contains("sollo") || !root["sollo"].is_object())
        return nullptr;
    json::Json &sollo = root["sollo"];
    if (!sollo.contains("files") || !sollo["files"].is_array())
        return nullptr;
    return &sollo["files"];
}

} // namespace

std::optional<std::vector<QString>> SoundPaths(const std::string &documentText)
{
    auto root = json::ParseObject(documentText);
    if (!root)
        return std::nullopt;
    std::vector<QString> paths;
    if (json::Json *files = FilesArray(*root)) {
        for (const json::Json &element : *files) {
            if (!element.is_object() || !element.contains("file"))
                continue;
            const json::Json &file = element["file"];
            paths.push_back(file.is_string() ? QString::fromStdString(file.get<std::string>()) : QString());
        }
    }
    return paths;
}

QString ResolveSoundPath(const QString &path, const QString &baseDir)
{
    if (path.isEmpty() || QFileInfo(path).isAbsolute() || baseDir.isEmpty())
        return path;
    return QDir(baseDir).filePath(path);
}

std::uint32_t SoundRecordSize(std::uint32_t fileSize)
{
    return 4 + (fileSize + 3) / 4 * 4;
}

std::vector<std::uint8_t> BuildSoundArea(const std::vector<TFileObj> &files, std::size_t first)
{
    std::vector<std::uint8_t> area;
    for (std::size_t i = first; i < files.size(); ++i) {
        link::AppendU32(area, files[i].size + 4);
        area.insert(area.end(), files[i].contents.begin(), files[i].contents.end());
        area.resize((area.size() + 3) / 4 * 4, 0xFF);
    }
    link::AppendU32(area, 0xFFFFFFFFu);
    return area;
}

std::string WriteSoundPaths(const std::string &documentText, const std::vector<QString> &paths)
{
    auto root = json::ParseObject(documentText);
    if (!root)
        return documentText;
    if (json::Json *files = FilesArray(*root)) {
        std::size_t i = 0;
        for (json::Json &element : *files) {
            if (!element.is_object() || !element.contains("file"))
                continue;
            if (i < paths.size())
                element["file"] = paths[i].toStdString();
            ++i;
        }
    }
    return json::RenderCompact(*root);
}

} // namespace vantor::programming
