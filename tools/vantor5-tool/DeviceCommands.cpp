// device read / write / write-file / flash: programming sessions without a display.

#include "Commands.h"

#include "app/FileIo.h"
#include "link/Comm32.h"
#include "programming/ConfigImage.h"
#include "programming/ProgSession.h"
#include "json/JsonText.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <iostream>

#include <unistd.h>

namespace vantor::tool {
namespace {

using programming::Outcome;
using programming::ProgOptions;
using programming::Question;
using programming::TProgSession;

void AddConnectionOptions(ArgParser &parser)
{
    parser.AddOption("--port", "P", "последовательный порт: имя (ttyUSB0) или путь (/tmp/vantor-sim)");
    parser.AddOption("--serial", "N", "подключиться к устройству с серийным номером N (0..65535)");
    parser.AddOption("--tries", "N", "число попыток подключения (по умолчанию 5)");
    parser.AddOption("--delay", "MS", "пауза между попытками, мс (по умолчанию 1000)");
    parser.AddOption("--log", "FILE", "записать журнал обмена в файл (строки \"[мс] текст\")");
    parser.AddFlag("--yes", "отвечать \"Да\" на вопросы (продолжить, повторить запись, заменить файл)");
    parser.AddFlag("--no", "отвечать \"Нет\" на вопросы (так и без параметров)");
    parser.AddFlag("--quiet", "не печатать сообщения о ходе работы");
    parser.AddOption(
        "--stall", "S",
        "прервать, если устройство S секунд не продвигает операцию (по умолчанию 60; 0 - ждать всегда)");
}

std::optional<int> ParseNumber(const ArgParser &parser, const std::string &key, int low, int high,
                               int fallback, int *out)
{
    if (!parser.Has(key)) {
        *out = fallback;
        return std::nullopt;
    }
    bool ok = false;
    const int value = QString::fromStdString(parser.Value(key)).toInt(&ok);
    if (!ok || value < low || value > high) {
        std::cerr << "vantor5-tool: " << key << ": ожидается число от " << low << " до " << high << "\n";
        return kExitUsage;
    }
    *out = value;
    return std::nullopt;
}

// Runs one operation: connect, wait for the session, run the command, disconnect.
class DeviceRun {
public:
    DeviceRun(const ArgParser &parser, int tag, int mode, std::string input)
        : parser_(parser), tag_(tag), mode_(mode), input_(std::move(input))
    {}

    QString soundBaseDir;
    QString firmwarePath;
    QString soundOutputDir;

    // The exit code; *result gets the work stream of a read.
    int Run(std::string *result)
    {
        if (parser_.Has("--yes") && parser_.Has("--no")) {
            std::cerr << "vantor5-tool: --yes и --no вместе не допускаются\n";
            return kExitUsage;
        }
        if (!parser_.Has("--port")) {
            std::cerr << "vantor5-tool: нужен параметр --port\n";
            return kExitUsage;
        }
        ProgOptions options;
        options.port = QString::fromStdString(parser_.Value("--port"));
        if (auto exit = ParseNumber(parser_, "--tries", 1, 100, 5, &options.comConnectTryCount))
            return *exit;
        if (auto exit = ParseNumber(parser_, "--delay", 0, 60000, 1000, &options.comIntervalDelay))
            return *exit;
        int serial = -1;
        if (auto exit = ParseNumber(parser_, "--serial", 0, 65535, -1, &serial))
            return *exit;
        if (serial >= 0)
            options.selectSerial = std::uint16_t(serial);
        options.soundBaseDir = soundBaseDir;
        options.logTraffic = parser_.Has("--log");
        int stallSeconds = 60;
        if (auto exit = ParseNumber(parser_, "--stall", 0, 86400, 60, &stallSeconds))
            return *exit;

        QFile log;
        if (parser_.Has("--log")) {
            log.setFileName(QString::fromStdString(parser_.Value("--log")));
            if (!log.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
                return BadInput(parser_.Value("--log"), log.errorString().toStdString());
        }
        const bool quiet = parser_.Has("--quiet");
        const bool yes = parser_.Has("--yes");
        const bool bar = isatty(STDERR_FILENO) && !quiet;

        TProgSession session(tag_, mode_, input_, options);
        std::optional<Outcome> outcome;
        QElapsedTimer transfer;
        session.OnLog = [&](qint64 ms, const QString &text) {
            if (log.isOpen())
                log.write(QStringLiteral("[%1] %2\n").arg(ms).arg(text).toUtf8());
        };
        QElapsedTimer activity; // the last sign that the operation moves on
        activity.start();
        session.OnStatus = [&](const QString &text) {
            activity.restart();
            if (quiet)
                return;
            if (bar)
                std::cerr << "\r\033[K";
            std::cerr << text.toStdString() << "\n";
        };
        session.OnProgress = [&](qint64 done, qint64 total) {
            activity.restart();
            if (!bar)
                return;
            if (total <= 0) {
                std::cerr << "\r\033[K" << std::flush;
                transfer.invalidate();
                return;
            }
            if (!transfer.isValid())
                transfer.start();
            const int width = 30;
            const int filled = int(width * done / total);
            const double seconds = std::max<qint64>(1, transfer.elapsed()) / 1000.0;
            char line[160];
            std::snprintf(line, sizeof line, "\r[%s%s] %lld из %lld байт, %.1f КБ/с",
                          std::string(std::size_t(filled), '#').c_str(),
                          std::string(std::size_t(width - filled), ' ').c_str(), static_cast<long long>(done),
                          static_cast<long long>(total), done / seconds / 1024.0);
            std::cerr << line << std::flush;
        };
        session.Ask = [&](Question, const QString &text) {
            if (!quiet)
                std::cerr << QString(text).replace(QStringLiteral("\r\n"), QStringLiteral(" ")).toStdString()
                          << (yes ? " - Да\n" : " - Нет\n");
            return yes;
        };
        session.OnError = [&](const QString &text) {
            std::cerr << "vantor5-tool: "
                      << QString(text).replace(QStringLiteral("\r\n"), QStringLiteral(" ")).toStdString()
                      << "\n";
        };
        session.ChooseFirmwareFile = [&](const QString &) { return firmwarePath; };
        session.ChooseSoundSavePath = [&](int index, const QString &name) {
            const QString target =
                QDir(soundOutputDir.isEmpty() ? QDir::currentPath() : soundOutputDir).filePath(name);
            if (QFileInfo::exists(target) && !yes) {
                std::cerr << "vantor5-tool: звуковой файл " << index + 1
                          << " не сохранён: " << target.toStdString() << " уже есть (--yes заменяет)\n";
                return QString();
            }
            if (!quiet)
                std::cerr << "Звуковой файл " << index + 1 << " сохранён в " << target.toStdString() << "\n";
            return target;
        };
        session.OnFinished = [&](const Outcome &o) { outcome = o; };

        session.Connect();
        if (session.ConnectionState() != link::kStateConnected)
            return Fail("не удалось подключиться к " + options.port.toStdString());
        if (!WaitUntil([&] {
                return session.CanRunCommand() || session.IsSessionFailed() ||
                       session.ConnectionState() == link::kStateDisconnected;
            }) ||
            !session.CanRunCommand())
            return Fail("сеанс с устройством не установлен");
        session.RunCommand();
        activity.restart();
        // A device may keep polling without ever answering a command: that is no progress.
        const auto stalled = [&] {
            return stallSeconds > 0 && activity.elapsed() > qint64(stallSeconds) * 1000;
        };
        WaitUntil([&] { return outcome.has_value() || stalled(); });
        if (!outcome && stalled()) {
            session.Disconnect();
            return Fail("устройство не продвигает операцию " + std::to_string(stallSeconds) + " с: прервано");
        }
        session.Disconnect();
        if (bar)
            std::cerr << "\r\033[K";
        if (!outcome)
            return Fail("операция не завершилась");
        if (!outcome->ok)
            return Fail(outcome->message.isEmpty() ? std::string("операция не выполнена")
                                                   : outcome->message.toStdString());
        if (result)
            *result = session.WorkStream();
        return kExitOk;
    }

private:
    static int Fail(const std::string &what)
    {
        std::cerr << "vantor5-tool: " << what << "\n";
        return kExitBadInput;
    }

    // Runs the event loop until the condition holds; false when the connection is gone
    // for good (no reconnect in sight) is left to the caller's condition.
    template <typename Condition>
    static bool WaitUntil(Condition condition)
    {
        QEventLoop loop;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
            if (condition())
                loop.quit();
        });
        tick.start(10);
        if (!condition())
            loop.exec();
        return condition();
    }

    const ArgParser &parser_;
    int tag_;
    int mode_;
    std::string input_;
};

int TypeTag(const ArgParser &parser, bool required, int *tag)
{
    *tag = 0;
    if (!parser.Has("--type")) {
        if (!required)
            return kExitOk;
        std::cerr << "vantor5-tool: нужен параметр --type\n";
        return kExitUsage;
    }
    *tag = programming::TagForName(QString::fromStdString(parser.Value("--type")));
    if (*tag == 0) {
        std::cerr << "vantor5-tool: --type: неизвестный тип устройства " << parser.Value("--type")
                  << " (vantor5, revur, orsin, whmeter, sollo, navet или 1..6)\n";
        return kExitUsage;
    }
    return kExitOk;
}

int RunRead(const Args &args)
{
    ArgParser parser("device read --port P [--type TYPE] [-o OUT.json]",
                     "Читает конфигурацию из устройства и выводит текст JSON. С --type проверяет, что в ней\n"
                     "есть раздел этого типа; для sollo недостающие звуковые файлы читаются из устройства\n"
                     "и сохраняются рядом с OUT (или в текущей папке).");
    AddConnectionOptions(parser);
    parser.AddOption("--type", "TYPE",
                     "тип устройства: vantor5, revur, orsin, whmeter, sollo, navet или 1..6");
    parser.AddOption("-o|--output", "OUT", "куда записать текст (по умолчанию стандартный вывод)");
    if (auto exit = ParseArguments(parser, args, 0, 0))
        return *exit;
    int tag = 0;
    if (int exit = TypeTag(parser, false, &tag))
        return exit;
    DeviceRun run(parser, tag, programming::kModeRead, {});
    const std::string out = parser.Value("--output");
    if (!out.empty())
        run.soundOutputDir = QFileInfo(QString::fromStdString(out)).absolutePath();
    std::string text;
    if (int exit = run.Run(&text))
        return exit;
    if (tag != 0) {
        const auto root = json::ParseObject(text);
        const std::string key = programming::RootKeyForTag(tag).toStdString();
        if (!root || !root->contains(key))
            return BadInput(parser.Value("--port"), "в конфигурации устройства нет раздела \"" + key + "\"");
    }
    std::string error;
    if (!WriteOutput(out, text, &error))
        return BadInput(out.empty() ? "stdout" : out, error);
    return kExitOk;
}

int RunWrite(const Args &args)
{
    ArgParser parser("device write --port P --type TYPE DOC",
                     "Записывает в устройство раздел TYPE документа DOC (.vt5 или .json); остальные разделы\n"
                     "конфигурации устройства сохраняются. Для sollo сначала записываются звуковые файлы\n"
                     "(относительные пути - от папки DOC).");
    AddConnectionOptions(parser);
    parser.AddOption("--type", "TYPE",
                     "тип устройства: vantor5, revur, orsin, whmeter, sollo, navet или 1..6");
    if (auto exit = ParseArguments(parser, args, 1, 1))
        return *exit;
    int tag = 0;
    if (int exit = TypeTag(parser, true, &tag))
        return exit;
    const std::string &path = parser.Positionals()[0];
    std::string error;
    const auto document = ReadDocument(path, &error);
    if (!document)
        return BadInput(path, error);
    const std::string key = programming::RootKeyForTag(tag).toStdString();
    if (!document->contains(key))
        return BadInput(path, "в документе нет раздела \"" + key + "\"");
    json::Json member = json::Json::object();
    member[key] = (*document)[key];
    DeviceRun run(parser, tag, programming::kModeWrite, json::RenderCompact(member));
    run.soundBaseDir = QFileInfo(QString::fromStdString(path)).absolutePath();
    return run.Run(nullptr);
}

int RunWriteFile(const Args &args)
{
    ArgParser parser("device write-file --port P FILE.json",
                     "Записывает в устройство все разделы документа FILE.json; прочие разделы конфигурации\n"
                     "устройства сохраняются.");
    AddConnectionOptions(parser);
    if (auto exit = ParseArguments(parser, args, 1, 1))
        return *exit;
    const std::string &path = parser.Positionals()[0];
    std::string error;
    const auto bytes = ReadInput(path, &error);
    if (!bytes)
        return BadInput(path, error);
    DeviceRun run(parser, 0, programming::kModeWriteFile, *bytes);
    return run.Run(nullptr);
}

int RunFlash(const Args &args)
{
    ArgParser parser("device flash --port P FILE.mff",
                     "Обновляет прошивку устройства (устройство должно быть в режиме загрузчика).");
    AddConnectionOptions(parser);
    if (auto exit = ParseArguments(parser, args, 1, 1))
        return *exit;
    DeviceRun run(parser, 0, programming::kModeFirmware, {});
    run.firmwarePath = QString::fromStdString(parser.Positionals()[0]);
    if (!QFileInfo(run.firmwarePath).isFile())
        return BadInput(parser.Positionals()[0], "файл не найден");
    return run.Run(nullptr);
}

} // namespace

int RunDevice(const Args &args)
{
    static const struct {
        const char *name;
        int (*run)(const Args &);
    } commands[] = {
        {"read", RunRead}, {"write", RunWrite}, {"write-file", RunWriteFile}, {"flash", RunFlash}};
    const std::string name = args.empty() ? std::string() : args[0];
    for (const auto &command : commands)
        if (name == command.name)
            return command.run(Args(args.begin() + 1, args.end()));
    std::ostream &out = (name == "--help" || name == "-h") ? std::cout : std::cerr;
    if (!name.empty() && &out == &std::cerr)
        out << "vantor5-tool: неизвестная команда device " << name << "\n\n";
    out << "Использование: vantor5-tool device КОМАНДА --port P [ПАРАМЕТРЫ]\n\n"
           "  read        прочитать конфигурацию из устройства\n"
           "  write       записать раздел документа в устройство\n"
           "  write-file  записать все разделы документа JSON в устройство\n"
           "  flash       обновить прошивку\n\n"
           "Справка по команде: vantor5-tool device КОМАНДА --help\n"
           "Код выхода 0 только когда операция действительно выполнена.\n";
    return &out == &std::cout ? kExitOk : kExitUsage;
}

} // namespace vantor::tool
