// vantor5-devsim: a Vantor-5 family device on a pseudo-terminal, for trying the
// configurator and vantor5-tool without hardware and for the tests.

#include "PtyDevice.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include <unistd.h>

using namespace vantor::devsim;

namespace {

PtyDevice *g_device = nullptr;

void OnSignal(int)
{
    if (g_device)
        g_device->Stop();
}

const char kUsage[] =
    "Использование: vantor5-devsim [ПАРАМЕТРЫ]\n"
    "\n"
    "Имитирует устройство семейства Vantor-5 на псевдотерминале. Первая строка вывода -\n"
    "путь к порту, который открывает конфигуратор или vantor5-tool.\n"
    "\n"
    "  --link PATH        создать символьную ссылку PATH на порт (удаляется при выходе)\n"
    "  --image FILE       начальный образ конфигурации (N, JSON, CRC-32); без него память пуста\n"
    "  --save FILE        записать образ конфигурации при выходе\n"
    "  --sound FILE       звуковой файл в памяти устройства (можно несколько раз, по порядку)\n"
    "  --serial TEXT      серийный номер (по умолчанию 1001; пустой - номера нет)\n"
    "  --select N         номер для выбора по серийному номеру (по умолчанию сам номер)\n"
    "  --pack N           максимальный размер пакета (по умолчанию 1024)\n"
    "  --no-pack-size     не отвечать на запрос размера пакета (не в режиме загрузчика)\n"
    "  --poll-ms N        пауза между опросами в простое, мс (по умолчанию 20)\n"
    "  --reply-ms N       сколько ждать ответа на опрос, мс (по умолчанию 400)\n"
    "  --baud N           темп передачи как у линии с этой скоростью (по умолчанию без задержек)\n"
    "  --seed N           начальное число расписания сбоев (по умолчанию 1)\n"
    "  --fault KIND=P     сбой с вероятностью P на пакет; KIND: crc, drop, insert, address,\n"
    "                     length, index, error, verify\n"
    "  --fail-verify-first N  первые N проверок (команды 2, 8, 12) заканчиваются ошибкой\n"
    "  --split N          передавать пакеты кусками не длиннее N байт\n"
    "  --silence N:MS[:K] после каждого N-го ответа молчать MS мс (не более K раз)\n"
    "  --mute CMD         никогда не отвечать на команду CMD (опросы продолжаются)\n"
    "  --quiet            не печатать опросы и эхо\n";

bool ReadFile(const std::string &path, Bytes *out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    out->assign(std::istreambuf_iterator<char>(in), {});
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    SimOptions options;
    std::uint32_t baud = 0;
    std::string link, imagePath, savePath;
    std::vector<Bytes> sounds;
    bool quiet = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::cerr << "vantor5-devsim: " << arg << ": нужно значение\n";
                std::exit(2);
            }
            return argv[++i];
        };
        try {
            if (arg == "--help" || arg == "-h") {
                std::cout << kUsage;
                return 0;
            } else if (arg == "--link") {
                link = value();
            } else if (arg == "--image") {
                imagePath = value();
            } else if (arg == "--save") {
                savePath = value();
            } else if (arg == "--sound") {
                Bytes file;
                const std::string path = value();
                if (!ReadFile(path, &file)) {
                    std::cerr << "vantor5-devsim: " << path << ": не удалось прочитать\n";
                    return 1;
                }
                sounds.push_back(std::move(file));
            } else if (arg == "--serial") {
                options.serial = value();
            } else if (arg == "--select") {
                options.selectNumber = std::stoi(value());
            } else if (arg == "--pack") {
                options.packSize = std::uint32_t(std::stoul(value()));
            } else if (arg == "--no-pack-size") {
                options.answersPackSize = false;
            } else if (arg == "--poll-ms") {
                options.pollIntervalMs = std::stoi(value());
            } else if (arg == "--reply-ms") {
                options.replyTimeoutMs = std::stoi(value());
            } else if (arg == "--baud") {
                baud = std::uint32_t(std::stoul(value()));
            } else if (arg == "--seed") {
                options.seed = std::stoull(value());
            } else if (arg == "--split") {
                options.splitChunk = std::stoul(value());
            } else if (arg == "--silence") {
                const std::string v = value();
                const auto colon = v.find(':');
                if (colon == std::string::npos)
                    throw std::invalid_argument(v);
                options.silenceEvery = std::stoi(v.substr(0, colon));
                const std::string rest = v.substr(colon + 1);
                const auto second = rest.find(':');
                options.silenceMs = std::stoi(rest.substr(0, second));
                if (second != std::string::npos)
                    options.silenceLimit = std::stoi(rest.substr(second + 1));
            } else if (arg == "--fault") {
                const std::string v = value();
                const auto eq = v.find('=');
                if (eq == std::string::npos)
                    throw std::invalid_argument(v);
                const std::string kind = v.substr(0, eq);
                const double p = std::stod(v.substr(eq + 1));
                double *slot = kind == "crc"       ? &options.corruptCrc
                               : kind == "drop"    ? &options.dropByte
                               : kind == "insert"  ? &options.insertBytes
                               : kind == "address" ? &options.wrongAddress
                               : kind == "length"  ? &options.wrongLength
                               : kind == "index"   ? &options.wrongIndex
                               : kind == "error"   ? &options.errorCode
                               : kind == "verify"  ? &options.failVerify
                                                   : nullptr;
                if (!slot) {
                    std::cerr << "vantor5-devsim: неизвестный вид сбоя " << kind << "\n";
                    return 2;
                }
                *slot = p;
            } else if (arg == "--fail-verify-first") {
                options.failVerifyFirst = std::stoi(value());
            } else if (arg == "--mute") {
                options.muteCommand = std::stoi(value());
            } else if (arg == "--quiet") {
                quiet = true;
            } else {
                std::cerr << "vantor5-devsim: неизвестный параметр " << arg << "\n\n" << kUsage;
                return 2;
            }
        } catch (const std::exception &) {
            std::cerr << "vantor5-devsim: " << arg << ": неверное значение\n";
            return 2;
        }
    }

    try {
        PtyDevice device(options, baud);
        device.With([&](SimDevice &d) {
            d.OnLog = [quiet](const std::string &line) {
                if (!quiet || line.rfind("fault", 0) == 0 || line.find("poll") == std::string::npos)
                    std::cerr << "devsim: " << line << std::endl;
            };
            if (!imagePath.empty()) {
                Bytes image;
                if (!ReadFile(imagePath, &image))
                    throw std::runtime_error(imagePath + ": не удалось прочитать");
                d.LoadImage(image);
            }
            if (!sounds.empty())
                d.SetSoundFiles(sounds);
            return 0;
        });
        if (!link.empty()) {
            ::unlink(link.c_str());
            if (::symlink(device.SlavePath().c_str(), link.c_str()) != 0) {
                std::cerr << "vantor5-devsim: " << link << ": " << std::strerror(errno) << "\n";
                return 1;
            }
        }
        std::cout << device.SlavePath() << std::endl;
        g_device = &device;
        std::signal(SIGINT, OnSignal);
        std::signal(SIGTERM, OnSignal);
        device.Run();
        g_device = nullptr;
        if (!link.empty())
            ::unlink(link.c_str());
        if (!savePath.empty()) {
            const Bytes image = device.With([](SimDevice &d) { return d.StoredImage(); });
            const std::string temp = savePath + ".tmp";
            std::ofstream out(temp, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char *>(image.data()), std::streamsize(image.size()));
            out.close();
            if (!out || std::rename(temp.c_str(), savePath.c_str()) != 0) {
                std::cerr << "vantor5-devsim: " << savePath << ": не удалось записать\n";
                return 1;
            }
            std::cerr << "devsim: image saved to " << savePath << " (" << image.size() << " bytes)"
                      << std::endl;
        }
    } catch (const std::exception &e) {
        std::cerr << "vantor5-devsim: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
