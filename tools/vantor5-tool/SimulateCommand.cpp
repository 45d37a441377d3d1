// simulate: runs a Vantor-5 configuration through the controller model library
// (libvantor_model.so, bound like the configurator binds it) and prints what the
// controller shows, second by second.

#include "Commands.h"

#include "controller/ConfigDocument.h"
#include "models/ModelLibrary.h"

#include <QCoreApplication>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <sstream>

namespace vantor::tool {
namespace {

constexpr int kMaxSeconds = 10'000'000;

// One character per signal state, and what it means.
char StateSymbol(std::uint8_t state)
{
    switch (state) {
    case 0: return '.';
    case 1: return 'R';
    case 2: return 'G';
    case 3: return 'g';
    case 4: return 'F';
    case 5: return 'Y';
    case 6: return 'U';
    case 253: return 'A';
    case 254: return 'W';
    case 255: return '-';
    default: return '?';
    }
}

constexpr const char *kLegend =
    "Обозначения: R красный, G зелёный, g зелёный при конфликте, F зелёный мигающий, Y жёлтый,\n"
    "U красный с жёлтым, A все красные (КК), W жёлтый мигающий (ЖМ), - выключен (ОС), . нет сигнала,\n"
    "? другое значение.\n";

std::optional<long long> ParseInteger(const std::string &text, long long low, long long high)
{
    long long value = 0;
    const char *end = text.data() + text.size();
    const auto [rest, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || rest != end || value < low || value > high)
        return std::nullopt;
    return value;
}

// "--triggers 1,3,2@10-20,4@7": trigger numbers (1-based) active in every second, or
// only in a range of seconds (counted from 0) or a single second.
struct TriggerRule {
    long long trigger = 0;
    long long from = 0;
    long long to = kMaxSeconds;
};

std::optional<std::vector<TriggerRule>> ParseTriggers(const std::string &text, std::string *error)
{
    std::vector<TriggerRule> rules;
    std::stringstream list(text);
    for (std::string item; std::getline(list, item, ',');) {
        TriggerRule rule;
        const auto at = item.find('@');
        const auto number = ParseInteger(item.substr(0, at), 1, 1'000'000);
        bool ok = number.has_value();
        if (ok)
            rule.trigger = *number;
        if (ok && at != std::string::npos) {
            const std::string span = item.substr(at + 1);
            const auto dash = span.find('-');
            const auto from = ParseInteger(span.substr(0, dash), 0, kMaxSeconds);
            const auto to =
                dash == std::string::npos ? from : ParseInteger(span.substr(dash + 1), 0, kMaxSeconds);
            ok = from && to && *from <= *to;
            if (ok)
                rule.from = *from, rule.to = *to;
        }
        if (!ok) {
            *error = "неверное описание триггеров «" + item +
                     "»: нужен номер триггера, например 2, или номер и секунды, например 2@10-20";
            return std::nullopt;
        }
        rules.push_back(rule);
    }
    return rules;
}

void ApplyTriggers(const std::vector<TriggerRule> &rules, long long second, std::vector<std::uint8_t> &inputs)
{
    std::fill(inputs.begin(), inputs.end(), std::uint8_t{0});
    for (const auto &rule : rules)
        if (second >= rule.from && second <= rule.to && rule.trigger <= static_cast<long long>(inputs.size()))
            inputs[static_cast<std::size_t>(rule.trigger - 1)] = 1;
}

// "HH:MM[:SS]" or a number of seconds.
std::optional<std::uint32_t> ParseTime(const std::string &text)
{
    if (const auto seconds = ParseInteger(text, 0, 0xFFFFFFFFLL))
        return static_cast<std::uint32_t>(*seconds);
    int hours = 0, minutes = 0, seconds = 0;
    char tail = 0;
    const int fields = std::sscanf(text.c_str(), "%d:%d:%d%c", &hours, &minutes, &seconds, &tail);
    if ((fields != 2 && fields != 3) || hours < 0 || hours > 23 || minutes < 0 || minutes > 59 ||
        seconds < 0 || seconds > 59)
        return std::nullopt;
    return static_cast<std::uint32_t>(hours * 3600 + minutes * 60 + seconds);
}

std::string Clock(std::uint32_t time)
{
    char text[16];
    const std::uint32_t second = time % 86400;
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", second / 3600, second / 60 % 60, second % 60);
    return text;
}

// What the tool needs to know about the configuration to size the library's buffers
// and label its columns; read from the document as the configurator wrote it.
struct Layout {
    std::size_t triggers = 0;
    std::size_t directions = 0;
    std::vector<std::string> objectNames;
    std::vector<std::vector<long long>> objectDirections; // empty for objects the model leaves empty
    std::vector<std::size_t> groupOutputs;
};

std::size_t ArraySize(const json::Json &object, const char *key)
{
    const auto it = object.find(key);
    return it != object.end() && it->is_array() ? it->size() : 0;
}

Layout ReadLayout(const json::Json &config)
{
    Layout layout;
    layout.triggers = ArraySize(config, "triggers");
    if (const auto dirs = config.find("dirs"); dirs != config.end() && dirs->is_object())
        layout.directions = ArraySize(*dirs, "at");
    if (const auto sos = config.find("sos"); sos != config.end() && sos->is_array()) {
        for (const auto &object : *sos) {
            std::vector<long long> directions;
            std::string name;
            if (object.is_object()) {
                if (const auto n = object.find("n"); n != object.end() && n->is_string())
                    name = n->get<std::string>();
                const auto en = object.find("en");
                const bool enabled = en == object.end() || !en->is_boolean() || en->get<bool>();
                const auto dirs = object.find("dirs");
                if (enabled && dirs != object.end() && dirs->is_array())
                    for (const auto &number : *dirs)
                        directions.push_back(number.is_number() ? number.get<long long>() : 0);
            }
            layout.objectNames.push_back(name);
            layout.objectDirections.push_back(std::move(directions));
        }
    }
    std::vector<std::size_t> typeOutputs;
    if (const auto types = config.find("sig_group_types"); types != config.end() && types->is_array())
        for (const auto &type : *types)
            typeOutputs.push_back(type.is_object() ? ArraySize(type, "out") : 0);
    if (const auto groups = config.find("sig_groups"); groups != config.end() && groups->is_array()) {
        for (const auto &group : *groups) {
            long long ti = 0;
            if (group.is_object())
                if (const auto it = group.find("ti"); it != group.end() && it->is_number())
                    ti = it->get<long long>();
            layout.groupOutputs.push_back(ti >= 1 && ti <= static_cast<long long>(typeOutputs.size())
                                              ? typeOutputs[static_cast<std::size_t>(ti - 1)]
                                              : 0);
        }
    }
    return layout;
}

// The "vantor5" object of a document, or a document that is that object itself.
std::optional<std::string> ModelText(const json::Json &root)
{
    if (auto text = VantorModelText(root))
        return text;
    static const char *const kModelKeys[] = {"ver", "promtacts",       "triggers",  "dirs",
                                             "sos", "sig_group_types", "sig_groups"};
    for (const char *key : kModelKeys)
        if (root.contains(key))
            return json::RenderCompact(root);
    return std::nullopt;
}

std::string RequestText(long long request)
{
    if (request == 0)
        return "автоматический режим";
    if (request == -1)
        return "выключение (фаза 15)";
    if (request == -3)
        return "все красные (фаза 13)";
    if (request < 0)
        return "жёлтое мигание (фаза 14)";
    return "цикл " + std::to_string(request);
}

int RunPreview(const ModelLibrary &library, const Layout &layout, const std::string &document,
               long long object, long long request, long long seconds, const std::vector<TriggerRule> &rules,
               bool csv)
{
    if (object > static_cast<long long>(layout.objectDirections.size()))
        return BadInput(document, "в конфигурации нет светофорного объекта " + std::to_string(object) +
                                      " (объектов: " + std::to_string(layout.objectDirections.size()) + ")");
    const auto &directions = layout.objectDirections[static_cast<std::size_t>(object - 1)];
    std::vector<std::uint8_t> inputs(layout.triggers);
    std::vector<std::uint8_t> states(std::max<std::size_t>(directions.size(), 1));
    std::ostringstream out;
    if (csv) {
        out << "second,phase";
        for (const long long number : directions)
            out << ",dir" << number;
        out << "\n";
    } else {
        const std::string &name = layout.objectNames[static_cast<std::size_t>(object - 1)];
        out << "Объект " << object << (name.empty() ? "" : " «" + name + "»") << ", " << RequestText(request)
            << ", " << seconds << " с.\n";
        out << "Направления объекта по порядку:";
        for (const long long number : directions)
            out << " " << number;
        out << (directions.empty() ? " нет" : "") << "\n" << kLegend << "\n  сек  фаза  состояния\n";
    }
    for (long long second = 0; second < seconds; ++second) {
        ApplyTriggers(rules, second, inputs);
        std::fill(states.begin(), states.end(), std::uint8_t{0xEE});
        std::uint8_t phase = 0;
        const std::int32_t status =
            library.Next(static_cast<std::int32_t>(object - 1), static_cast<std::int32_t>(request),
                         inputs.data(), &phase, states.data());
        if (status == VANTOR_MODEL_BAD_SIGNAL_OBJECT)
            return BadInput(document, "модель не знает светофорного объекта " + std::to_string(object));
        if (status != VANTOR_MODEL_OK)
            return BadInput(document,
                            "шаг модели не выполнен: " + ModelLibrary::StatusText(status).toStdString() +
                                " (код " + std::to_string(status) + ")");
        if (csv) {
            out << second << "," << int(phase);
            for (std::size_t k = 0; k < directions.size(); ++k)
                out << "," << int(states[k]);
            out << "\n";
        } else {
            char head[32];
            std::snprintf(head, sizeof head, "%5lld  %4d  ", second, int(phase));
            out << head;
            for (std::size_t k = 0; k < directions.size(); ++k)
                out << StateSymbol(states[k]);
            out << "\n";
        }
    }
    std::string error;
    if (!WriteOutput({}, out.str(), &error))
        return BadInput("stdout", error);
    return kExitOk;
}

int RunWhole(const ModelLibrary &library, const Layout &layout, std::uint32_t start, long long seconds,
             const std::vector<TriggerRule> &rules, bool csv)
{
    const std::size_t objects = layout.objectDirections.size();
    std::vector<std::uint8_t> inputs(layout.triggers);
    std::vector<std::uint8_t> phase(std::max<std::size_t>(objects, 1)), cycle(phase.size()),
        day(phase.size()), week(phase.size()), year(phase.size());
    std::vector<std::uint8_t> states(std::max<std::size_t>(layout.directions, 1));
    std::vector<std::vector<std::uint8_t>> groups;
    std::vector<std::uint8_t *> groupBuffers;
    for (const std::size_t outputs : layout.groupOutputs) {
        groups.emplace_back(std::max<std::size_t>(outputs, 1));
        groupBuffers.push_back(groups.back().data());
    }
    std::ostringstream out;
    if (csv) {
        out << "second,time";
        for (std::size_t i = 1; i <= objects; ++i)
            out << ",so" << i << "_phase,so" << i << "_cycle,so" << i << "_day,so" << i << "_week,so" << i
                << "_year";
        for (std::size_t d = 1; d <= layout.directions; ++d)
            out << ",dir" << d;
        for (std::size_t g = 0; g < layout.groupOutputs.size(); ++g)
            for (std::size_t k = 1; k <= layout.groupOutputs[g]; ++k)
                out << ",sg" << g + 1 << "_" << k;
        out << "\n";
    } else {
        out << "Весь контроллер в автоматическом режиме с " << Clock(start) << " (" << start << " с), "
            << seconds << " с. Неделя всегда с понедельника, год с 1 января.\n"
            << "Объекты: фаза/цикл/суточный/недельный/годовой план; направления 1.." << layout.directions
            << "; выходы сигнальных групп.\n"
            << kLegend << "\n";
    }
    for (long long second = 0; second < seconds; ++second) {
        const auto time = static_cast<std::uint32_t>(start + static_cast<std::uint64_t>(second));
        ApplyTriggers(rules, second, inputs);
        const std::int32_t status =
            library.NextAll(time, inputs.data(), phase.data(), cycle.data(), day.data(), week.data(),
                            year.data(), states.data(), groupBuffers.data());
        if (status != VANTOR_MODEL_OK)
            return BadInput("model",
                            "шаг модели не выполнен: " + ModelLibrary::StatusText(status).toStdString());
        if (csv) {
            out << second << "," << Clock(time);
            for (std::size_t i = 0; i < objects; ++i)
                out << "," << int(phase[i]) << "," << int(cycle[i]) << "," << int(day[i]) << ","
                    << int(week[i]) << "," << int(year[i]);
            for (std::size_t d = 0; d < layout.directions; ++d)
                out << "," << int(states[d]);
            for (std::size_t g = 0; g < groups.size(); ++g)
                for (std::size_t k = 0; k < layout.groupOutputs[g]; ++k)
                    out << "," << int(groups[g][k]);
            out << "\n";
            continue;
        }
        out << Clock(time);
        for (std::size_t i = 0; i < objects; ++i)
            out << "  " << i + 1 << ":" << int(phase[i]) << "/" << int(cycle[i]) << "/" << int(day[i]) << "/"
                << int(week[i]) << "/" << int(year[i]);
        out << "  |  ";
        for (std::size_t d = 0; d < layout.directions; ++d)
            out << StateSymbol(states[d]);
        out << "  |";
        for (std::size_t g = 0; g < groups.size(); ++g) {
            out << " ";
            for (std::size_t k = 0; k < layout.groupOutputs[g]; ++k)
                out << int(groups[g][k]);
            if (layout.groupOutputs[g] == 0)
                out << "-";
        }
        out << "\n";
    }
    std::string error;
    if (!WriteOutput({}, out.str(), &error))
        return BadInput("stdout", error);
    return kExitOk;
}

} // namespace

int RunSimulate(const Args &args)
{
    ArgParser parser(
        "simulate DOC [--object N] [--request R] [--seconds S] [--triggers LIST] [--all [--time T]] [--csv]",
        "Прогоняет конфигурацию Vantor-5 через модель контроллера (libvantor_model.so) и выводит\n"
        "по строке на секунду: номер секунды, фазу объекта и состояние каждого его направления\n"
        "(как временная диаграмма цикла в конфигураторе). С --all шагает весь контроллер в\n"
        "автоматическом режиме и выводит фазы и планы всех объектов, состояния всех направлений и\n"
        "выходы сигнальных групп. DOC — файл .vt5 или .json: документ с членом «vantor5» или сам\n"
        "объект «vantor5»; модели передаётся его компактный текст, как это делает конфигуратор.");
    parser.AddOption("--object", "N", "номер светофорного объекта, с 1 (по умолчанию 1)");
    parser.AddOption("--request", "R",
                     "0 — своя программа объекта (по умолчанию), номер цикла, -1 выключение, -2 жёлтое\n"
                     "мигание, -3 все красные");
    parser.AddOption("--seconds", "S", "сколько секунд моделировать (по умолчанию 60)");
    parser.AddOption("--triggers", "LIST",
                     "активные триггеры: номера через запятую, с секундами — 2@10-20 или 2@7");
    parser.AddFlag("--all", "весь контроллер в автоматическом режиме (nextAll)");
    parser.AddOption("--time", "T", "с --all: время начала, ЧЧ:ММ[:СС] или число секунд (по умолчанию 0)");
    parser.AddFlag("--csv", "вывод в виде CSV с числовыми кодами состояний");
    parser.AddOption("--library", "PATH",
                     "библиотека модели (по умолчанию libvantor_model.so рядом с программой)");
    if (auto exit = ParseArguments(parser, args, 1, 1))
        return *exit;

    const auto usage = [](const std::string &problem) {
        std::cerr << "vantor5-tool: " << problem << "\n";
        return kExitUsage;
    };
    const auto object = ParseInteger(parser.Value("--object", "1"), 1, 255);
    if (!object)
        return usage("--object: нужен номер объекта от 1 до 255");
    const auto request = ParseInteger(parser.Value("--request", "0"), -128, 255);
    if (!request)
        return usage("--request: нужно число от -128 до 255");
    const auto seconds = ParseInteger(parser.Value("--seconds", "60"), 1, kMaxSeconds);
    if (!seconds)
        return usage("--seconds: нужно число от 1 до " + std::to_string(kMaxSeconds));
    const auto start = ParseTime(parser.Value("--time", "0"));
    if (!start)
        return usage("--time: нужно время ЧЧ:ММ[:СС] или число секунд");
    if (parser.Has("--all") && (parser.Has("--object") || parser.Has("--request")))
        return usage("--all моделирует все объекты в автоматическом режиме: --object и --request не нужны");
    if (!parser.Has("--all") && parser.Has("--time"))
        return usage("--time задаётся только вместе с --all");
    std::string error;
    const auto rules = ParseTriggers(parser.Value("--triggers"), &error);
    if (!rules)
        return usage(error);

    const std::string &document = parser.Positionals()[0];
    const auto root = ReadDocument(document, &error);
    if (!root)
        return BadInput(document, error);
    const auto text = ModelText(*root);
    if (!text)
        return BadInput(document, "в документе нет конфигурации «vantor5»");
    const auto parsedConfig = json::ParseObject(*text);
    const Layout layout = ReadLayout(parsedConfig ? *parsedConfig : json::Json::object());

    ModelLibrary library(parser.Has("--library") ? QString::fromStdString(parser.Value("--library"))
                                                 : ModelLibrary::DefaultPath());
    if (!library.Load())
        return BadInput("model", library.ErrorString().toStdString());
    const std::int32_t status = library.Open(*text);
    int exit = kExitOk;
    if (status != VANTOR_MODEL_OK)
        exit = BadInput(
            document, "модель не загрузила конфигурацию: " + ModelLibrary::StatusText(status).toStdString() +
                          " (код " + std::to_string(status) + ")");
    else if (parser.Has("--all"))
        exit = RunWhole(library, layout, *start, *seconds, *rules, parser.Has("--csv"));
    else
        exit =
            RunPreview(library, layout, document, *object, *request, *seconds, *rules, parser.Has("--csv"));
    library.Close(); // in every case, as the configurator does
    return exit;
}

} // namespace vantor::tool
