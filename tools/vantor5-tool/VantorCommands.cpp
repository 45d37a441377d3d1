// new, roundtrip: documents made by the configurator's own writers and readers (Vantor-5
// here, Pelmar-3 through PelmarCommands, Rudex, Navet and Orsin-3 through DeviceDocuments).

#include "Commands.h"
#include "DeviceDocuments.h"

#include "app/ConfigScrambler.h"
#include "app/DeviceTypes.h"
#include "controller/ConfigDocument.h"
#include "controller/VantorConfig.h"
#include "models/VantorModels.h"

#include <QCoreApplication>

namespace vantor::tool {
namespace {

// The block models beside the program; failures are reported but do not stop the tool.
void LoadBlockModels()
{
    if (!VantorModels().empty())
        return;
    LoadModelPlugins(QCoreApplication::applicationDirPath(), [](const PluginLoadError &error) {
        std::cerr << "vantor5-tool: предупреждение: "
                  << error.Text().replace(QStringLiteral("\r\n"), QStringLiteral(" ")).toStdString() << "\n";
    });
}

int Emit(const ArgParser &parser, const json::Json &root)
{
    const std::string out = parser.Value("--output");
    std::string text =
        json::Render(root, parser.Has("--indented") ? json::Layout::Indented : json::Layout::Compact);
    if (IsScrambledFileName(out))
        text =
            ScrambleText(json::RenderIndented(root), kConfigFileKey); // files always hold the indented layout
    std::string error;
    if (!WriteOutput(out, text, &error))
        return BadInput(out.empty() ? "stdout" : out, error);
    return kExitOk;
}

std::optional<QDate> ParseDate(const std::string &text)
{
    const QDate date = QDate::fromString(QString::fromStdString(text), QStringLiteral("dd-MM-yyyy"));
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

} // namespace

int RunNew(const Args &args)
{
    ArgParser parser("new vantor5|pelmar|rudex|navet|orsin [--indented] [-o OUT]",
                     "Выводит документ новой, пустой конфигурации устройства (как после «Новая\n"
                     "конфигурация» в конфигураторе): компактный вид, --indented — многострочный.\n"
                     "Если OUT оканчивается на .vt5, записывается файл конфигурации.");
    parser.AddFlag("--indented", "многострочный вид с табуляцией");
    parser.AddOption("-o|--output", "OUT", "куда записать документ (по умолчанию стандартный вывод)");
    if (auto exit = ParseArguments(parser, args, 1, 1))
        return *exit;
    const std::string &device = parser.Positionals()[0];
    if (device == "pelmar" || device == "revur")
        return Emit(parser, NewPelmarDocument());
    if (device == kVantorRootKey) {
        TVantorConfig config;
        return Emit(parser, GetConfigJson(config));
    }
    if (const auto tag = DeviceOfName(device))
        return Emit(parser, *NewDeviceDocument(*tag));
    std::cerr << "vantor5-tool: неизвестный тип устройства: " << device << " (известны: vantor5, pelmar, "
              << DeviceNames() << ")\n";
    return kExitUsage;
}

int RunRoundtrip(const Args &args)
{
    ArgParser parser("roundtrip DOC [--indented] [--date ДД-ММ-ГГГГ] [-o OUT]",
                     "Читает конфигурацию устройства из документа (.json или .vt5) так, как её\n"
                     "читает конфигуратор при открытии файла (первый из членов \"vantor5\", \"revur\",\n"
                     "\"orsin\", \"whmeter\", \"navet\"), и выводит то, что из прочитанного\n"
                     "записывает конфигуратор. Модели блоков Vantor-5 берутся из подключаемых\n"
                     "модулей рядом с программой.");
    parser.AddFlag("--indented", "многострочный вид с табуляцией (по умолчанию компактный)");
    parser.AddOption("--date", "ДД-ММ-ГГГГ", "дата записи в \"date\" (по умолчанию сегодня)");
    parser.AddOption("-o|--output", "OUT", "куда записать документ (по умолчанию стандартный вывод)");
    if (auto exit = ParseArguments(parser, args, 1, 1))
        return *exit;
    QDate date = QDate::currentDate();
    if (parser.Has("--date")) {
        const auto parsed = ParseDate(parser.Value("--date"));
        if (!parsed) {
            std::cerr << "vantor5-tool: --date ожидает дату вида ДД-ММ-ГГГГ, получено: "
                      << parser.Value("--date") << "\n";
            return kExitUsage;
        }
        date = *parsed;
    }
    const std::string &in = parser.Positionals()[0];
    std::string error;
    const auto root = ReadDocument(in, &error);
    if (!root)
        return BadInput(in, error);
    const auto tag = FindRootKey(*root, kNoDevice);
    if (tag == kPelmarTag) {
        const auto written = RoundtripPelmar(*root, &error);
        return written ? Emit(parser, *written) : BadInput(in, error);
    }
    if (tag && *tag != kVantorTag) {
        const auto written = RoundtripDeviceDocument(*tag, *root, &error);
        return written ? Emit(parser, *written) : BadInput(in, error);
    }
    LoadBlockModels();
    TVantorConfig config;
    std::vector<std::string> warnings;
    if (!LoadConfigJson(config, *root, &error, &warnings))
        return BadInput(in, error);
    for (const std::string &warning : warnings)
        std::cerr << "vantor5-tool: " << in << ": предупреждение: " << warning << "\n";
    return Emit(parser, GetConfigJson(config, date));
}

} // namespace vantor::tool
