// vantor5-tool: converts and checks configuration documents without a display.

#include "Commands.h"

#include <QCoreApplication>

#include <cstring>
#include <iostream>

namespace vantor::tool {

const std::vector<ToolCommand> &AllCommands()
{
    static const std::vector<ToolCommand> commands = {
        {"decode", "расшифровать файл .vt5 в текст JSON", RunDecode},
        {"encode", "зашифровать документ JSON в файл .vt5", RunEncode},
        {"format", "переписать документ в компактном или многострочном виде", RunFormat},
        {"device", "прочитать, записать конфигурацию или обновить прошивку устройства", RunDevice},
        {"new", "документ новой, пустой конфигурации устройства", RunNew},
        {"roundtrip", "прочитать и снова записать конфигурацию устройства, как это делает конфигуратор",
         RunRoundtrip},
        {"simulate", "прогнать конфигурацию Vantor-5 через модель контроллера по секундам", RunSimulate},
    };
    return commands;
}

namespace {

void PrintOverview(std::ostream &out)
{
    out << "Использование: vantor5-tool КОМАНДА [ПАРАМЕТРЫ]\n\n"
           "Спутник конфигуратора Vantor-5 для командной строки.\n\nКоманды:\n";
    for (const auto &command : AllCommands()) {
        std::string name = command.name;
        name.resize(std::max<std::size_t>(name.size(), 12), ' ');
        out << "  " << name << "  " << command.summary << "\n";
    }
    out << "\nСправка по команде: vantor5-tool КОМАНДА --help\n"
           "Код выхода: 0 успех, 1 ошибка во входных данных, 2 ошибка в командной строке.\n";
}

} // namespace
} // namespace vantor::tool

int main(int argc, char *argv[])
{
    using namespace vantor::tool;
    QCoreApplication app(argc, argv); // device commands need the event loop
    if (argc < 2) {
        PrintOverview(std::cerr);
        return kExitUsage;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintOverview(std::cout);
        return kExitOk;
    }
    for (const auto &command : AllCommands())
        if (name == command.name)
            return command.run(Args(argv + 2, argv + argc));
    std::cerr << "vantor5-tool: неизвестная команда " << name << "\n\n";
    PrintOverview(std::cerr);
    return kExitUsage;
}
