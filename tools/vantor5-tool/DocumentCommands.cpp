// decode, encode, format: converting documents between .vt5 files and JSON text.

#include "Commands.h"

#include "app/ConfigScrambler.h"

namespace vantor::tool {
namespace {

int WriteOrFail(const std::string &path, std::string_view bytes)
{
    std::string error;
    if (!WriteOutput(path, bytes, &error))
        return BadInput(path.empty() ? "stdout" : path, error);
    return kExitOk;
}

} // namespace

int RunDecode(const Args &args)
{
    ArgParser parser("decode IN.vt5 [-o OUT]",
                     "Расшифровывает файл конфигурации и выводит хранимый в нём текст JSON без изменений.");
    parser.AddOption("-o|--output", "OUT", "куда записать текст (по умолчанию стандартный вывод)");
    if (auto exit = ParseArguments(parser, args, 1, 1))
        return *exit;
    const std::string &in = parser.Positionals()[0];
    std::string error;
    const auto bytes = ReadInput(in, &error);
    if (!bytes)
        return BadInput(in, error);
    UnscrambleError why;
    const auto text = UnscrambleText(*bytes, kConfigFileKey, &why);
    if (!text)
        return BadInput(in, "не является файлом конфигурации .vt5: " + why.reason + " (позиция " +
                                std::to_string(why.position) + ")");
    return WriteOrFail(parser.Value("--output"), *text);
}

int RunEncode(const Args &args)
{
    ArgParser parser("encode IN.json [-o OUT.vt5]",
                     "Проверяет документ JSON, записывает его в многострочном виде и шифрует как файл\n"
                     "конфигурации .vt5.");
    parser.AddOption("-o|--output", "OUT", "куда записать файл (по умолчанию стандартный вывод)");
    if (auto exit = ParseArguments(parser, args, 1, 1))
        return *exit;
    const std::string &in = parser.Positionals()[0];
    std::string error;
    const auto bytes = ReadInput(in, &error);
    if (!bytes)
        return BadInput(in, error);
    json::ParseError why;
    const auto root = json::ParseObject(*bytes, &why);
    if (!root)
        return BadInput(in, "некорректный документ: " + why.reason + " (строка " + std::to_string(why.line) +
                                ", столбец " + std::to_string(why.column) + ")");
    return WriteOrFail(parser.Value("--output"), ScrambleText(json::RenderIndented(*root), kConfigFileKey));
}

int RunFormat(const Args &args)
{
    ArgParser parser("format IN [--compact|--indented] [-o OUT]",
                     "Перезаписывает документ (.json или .vt5) в компактном или многострочном виде.\n"
                     "Если OUT оканчивается на .vt5, результат шифруется.");
    parser.AddFlag("--compact", "компактный вид, без пробелов и переводов строк");
    parser.AddFlag("--indented", "многострочный вид с табуляцией (по умолчанию)");
    parser.AddOption("-o|--output", "OUT", "куда записать результат (по умолчанию стандартный вывод)");
    if (auto exit = ParseArguments(parser, args, 1, 1))
        return *exit;
    if (parser.Has("--compact") && parser.Has("--indented")) {
        std::cerr << "vantor5-tool: --compact и --indented вместе не допускаются\n";
        return kExitUsage;
    }
    const std::string &in = parser.Positionals()[0];
    std::string error;
    const auto root = ReadDocument(in, &error);
    if (!root)
        return BadInput(in, error);
    const std::string out = parser.Value("--output");
    std::string text =
        json::Render(*root, parser.Has("--compact") ? json::Layout::Compact : json::Layout::Indented);
    if (IsScrambledFileName(out))
        text = ScrambleText(text, kConfigFileKey);
    return WriteOrFail(out, text);
}

} // namespace vantor::tool
