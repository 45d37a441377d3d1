#include "ToolCommand.h"

#include "app/ConfigScrambler.h"
#include "app/FileIo.h"

#include <cctype>
#include <cstdio>
#include <iostream>
#include <iterator>

namespace vantor::tool {

int BadInput(const std::string &subject, const std::string &what)
{
    std::cerr << "vantor5-tool: " << subject << ": " << what << "\n";
    return kExitBadInput;
}

std::optional<int> ParseArguments(ArgParser &parser, const Args &args, std::size_t minPositionals,
                                  std::size_t maxPositionals)
{
    std::string problem;
    if (!parser.Parse(args))
        problem = parser.Error();
    else if (parser.HelpRequested()) {
        std::cout << parser.HelpText();
        return kExitOk;
    } else if (parser.Positionals().size() < minPositionals)
        problem = "не хватает аргументов";
    else if (parser.Positionals().size() > maxPositionals)
        problem = "лишний аргумент " + parser.Positionals()[maxPositionals];
    if (problem.empty())
        return std::nullopt;
    std::cerr << "vantor5-tool: " << problem << "\n\n" << parser.HelpText();
    return kExitUsage;
}

bool IsScrambledFileName(const std::string &path)
{
    if (path.size() < 4)
        return false;
    std::string suffix = path.substr(path.size() - 4);
    for (auto &ch : suffix)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return suffix == ".vt5";
}

std::optional<std::string> ReadInput(const std::string &path, std::string *error)
{
    if (path == "-") {
        std::string text{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
        return text;
    }
    QString why;
    auto bytes = ReadWholeFile(QString::fromStdString(path), &why);
    if (!bytes && error)
        *error = why.toStdString();
    return bytes;
}

std::optional<std::string> ReadDocumentText(const std::string &path, std::string *error)
{
    auto bytes = ReadInput(path, error);
    if (!bytes || !IsScrambledFileName(path))
        return bytes;
    UnscrambleError why;
    auto text = UnscrambleText(*bytes, kConfigFileKey, &why);
    if (!text && error)
        *error = "не является файлом конфигурации .vt5: " + why.reason + " (позиция " +
                 std::to_string(why.position) + ")";
    return text;
}

std::optional<json::Json> ReadDocument(const std::string &path, std::string *error)
{
    const auto text = ReadDocumentText(path, error);
    if (!text)
        return std::nullopt;
    json::ParseError why;
    auto root = json::ParseObject(*text, &why);
    if (!root && error) {
        *error = "некорректный документ: " + why.reason;
        if (why.offset > 0 || why.line > 1 || why.column > 1)
            *error +=
                " (строка " + std::to_string(why.line) + ", столбец " + std::to_string(why.column) + ")";
    }
    return root;
}

bool WriteOutput(const std::string &path, std::string_view bytes, std::string *error)
{
    if (path.empty()) {
        const bool ok =
            std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0;
        if (!ok && error)
            *error = "не удалось записать в стандартный вывод";
        return ok;
    }
    QString why;
    const bool ok = WriteFileAtomically(QString::fromStdString(path), bytes, &why);
    if (!ok && error)
        *error = why.toStdString();
    return ok;
}

} // namespace vantor::tool
