#include "app/ConfigFile.h"

#include "app/ConfigScrambler.h"
#include "app/FileIo.h"

namespace vantor {

std::optional<std::string> ReadConfigFileText(const QString &path, QString *error)
{
    const auto scrambled = ReadWholeFile(path, error);
    if (!scrambled)
        return std::nullopt;
    UnscrambleError why;
    auto text = UnscrambleText(*scrambled, kConfigFileKey, &why);
    if (!text && error) {
        *error = QStringLiteral("Файл «%1» не является файлом конфигурации: %2 (позиция %3)")
                     .arg(path, QString::fromStdString(why.reason))
                     .arg(why.position);
    }
    return text;
}

std::optional<json::Json> ReadConfigFile(const QString &path, QString *error)
{
    const auto text = ReadConfigFileText(path, error);
    if (!text)
        return std::nullopt;
    json::ParseError why;
    auto root = json::ParseObject(*text, &why);
    if (!root && error) {
        *error = QStringLiteral("Файл «%1» содержит некорректный документ: %2 (строка %3, столбец %4)")
                     .arg(path, QString::fromStdString(why.reason))
                     .arg(why.line)
                     .arg(why.column);
    }
    return root;
}

bool WriteConfigFile(const QString &path, const json::Json &root, QString *error)
{
    return WriteFileAtomically(path, ScrambleText(json::RenderIndented(root), kConfigFileKey), error);
}

} // namespace vantor
