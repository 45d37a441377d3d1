// Programming sessions against the simulated device on a pseudo-terminal, with real
// QSerialPort I/O: connect, read, merge, write, verify, Sollo-4 sound files, firmware,
// silence and reconnect, and fault schedules.
#include "app/FileIo.h"
#include "link/Checksums.h"
#include "link/Packet.h"
#include "programming/ProgSession.h"

#include "EventLoopWait.h"
#include "PtyDevice.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

using namespace vantor;
using namespace vantor::programming;
using vantor::devsim::PtyDevice;
using vantor::devsim::SimDevice;
using vantor::devsim::SimOptions;

namespace {

SimOptions FastDevice()
{
    SimOptions options;
    options.pollIntervalMs = 2;
    options.replyTimeoutMs = 150;
    return options;
}

class SessionTest : public ::testing::Test {
protected:
    // Starts the device and a session, connects and waits until the command can run.
    void Start(int tag, int mode, std::string input, SimOptions sim = FastDevice(),
               std::function<void(ProgOptions &)> adjust = {})
    {
        device_ = std::make_unique<PtyDevice>(sim);
        if (setup_)
            device_->With([&](SimDevice &d) {
                setup_(d);
                return 0;
            });
        device_->Start();
        ProgOptions options;
        options.port = QString::fromStdString(device_->SlavePath());
        options.comIntervalDelay = 300;
        options.comConnectTryCount = 10;
        options.jobDelayMs = 5;
        options.logTraffic = false;
        if (adjust)
            adjust(options);
        session_ = std::make_unique<TProgSession>(tag, mode, std::move(input), options);
        session_->OnStatus = [this](const QString &text) { statuses_.push_back(text); };
        session_->OnError = [this](const QString &text) { errors_.push_back(text); };
        session_->Ask = [this](Question q, const QString &text) {
            questions_.push_back(text);
            return answers_.count(q) ? answers_[q] : false;
        };
        session_->ChooseFirmwareFile = [this](const QString &) { return firmwarePath_; };
        session_->ChooseSoundSavePath = [this](int, const QString &name) { return dir_.filePath(name); };
        session_->OnFinished = [this](const Outcome &o) { outcome_ = o; };
        session_->Connect();
        ASSERT_EQ(session_->ConnectionState(), link::kStateConnected);
        ASSERT_TRUE(
            test::WaitUntil([&] { return session_->CanRunCommand() || session_->IsSessionFailed(); }));
    }

    // Runs the command and waits for its outcome.
    Outcome Run()
    {
        EXPECT_TRUE(session_->RunCommand());
        EXPECT_TRUE(test::WaitUntil([&] { return outcome_.has_value(); }, 60000));
        return outcome_.value_or(Outcome{false, QStringLiteral("no outcome")});
    }

    template <typename F>
    auto Device(F f)
    {
        return device_->With(f);
    }
    bool Said(const QString &text) const
    {
        return std::find(statuses_.begin(), statuses_.end(), text) != statuses_.end();
    }
    QString File(const char *name, const std::string &bytes)
    {
        const QString path = dir_.filePath(QString::fromUtf8(name));
        EXPECT_TRUE(WriteFileAtomically(path, bytes));
        return path;
    }

    void TearDown() override
    {
        session_.reset();
        device_.reset();
    }

    QTemporaryDir dir_;
    std::function<void(SimDevice &)> setup_;
    std::unique_ptr<PtyDevice> device_;
    std::unique_ptr<TProgSession> session_;
    std::vector<QString> statuses_, errors_, questions_;
    std::map<Question, bool> answers_;
    QString firmwarePath_;
    std::optional<Outcome> outcome_;
};

std::string BigDocument(std::size_t size)
{
    return R"({"vantor5":{"pad":")" + std::string(size, 'x') + R"("}})";
}

} // namespace

TEST_F(SessionTest, ReadingAnEmptyDeviceSaysThereIsNoConfiguration)
{
    Start(1, kModeRead, {});
    EXPECT_FALSE(session_->IsSessionFailed());
    const Outcome outcome = Run();
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message,
              QStringLiteral("Ошибка: Отсутствует файл конфигурации в устройстве (Чтение конфигурации)."));
    EXPECT_TRUE(session_->WorkStream().empty());
    EXPECT_EQ(Device([](SimDevice &d) { return d.RequestCount(3); }), 0); // mode 0 agrees no pack size
}

TEST_F(SessionTest, ReadingUsesPacksOf1024AndChecksTheImage)
{
    const std::string text = BigDocument(5000);
    setup_ = [&](SimDevice &d) { d.StoreJson(text); };
    SimOptions sim = FastDevice();
    sim.packSize = 4096;
    Start(1, kModeRead, {}, sim);
    const Outcome outcome = Run();
    EXPECT_TRUE(outcome.ok) << outcome.message.toStdString();
    EXPECT_EQ(outcome.message, QStringLiteral("Конфигурация успешно прочитана"));
    EXPECT_EQ(session_->WorkStream(), text);
    EXPECT_EQ(session_->SerialNumber(), QStringLiteral("1001"));
    for (const auto &r : Device([](SimDevice &d) { return d.Requests(); })) {
        if (r.command == 9) {
            EXPECT_LE(r.length, 1024u);
        }
    }
}

TEST_F(SessionTest, ACrcMismatchIsAskedAboutAndNoStops)
{
    for (bool yes : {true, false}) {
        outcome_.reset();
        statuses_.clear();
        setup_ = [](SimDevice &d) {
            d.StoreJson(R"({"navet":{"a":1}})");
            d.ConfigMemory()[6] = 'N'; // "navet" becomes "Navet": the text no longer matches its CRC
        };
        answers_[Question::ContinueAfterCrcError] = yes;
        Start(6, kModeRead, {});
        const Outcome outcome = Run();
        EXPECT_EQ(outcome.ok, yes);
        EXPECT_TRUE(Said(QStringLiteral("Ошибка проверки CRC")));
        ASSERT_FALSE(questions_.empty());
        EXPECT_EQ(questions_.back(),
                  QStringLiteral("Контрольная сумма файла конфигурации не воспадает!\r\nПродолжить"));
        EXPECT_EQ(session_->WorkStream(), yes ? R"({"Navet":{"a":1}})" : "");
        TearDown();
    }
}

TEST_F(SessionTest, AnOversizedImageIsRefusedAndNothingIsWritten)
{
    setup_ = [](SimDevice &d) { link::WriteU32(d.ConfigMemory().data(), 0x300000); };
    Start(2, kModeWrite, R"({"revur":{}})");
    const Outcome outcome = Run();
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message,
              QStringLiteral("Ошибка: Некорректный размер файла конфигурации (Чтение конфигурации)."));
    EXPECT_TRUE(questions_.empty());
    EXPECT_EQ(Device([](SimDevice &d) { return d.RequestCount(7); }), 0);
}

TEST_F(SessionTest, WritingOneTypeReplacesOnlyItsMember)
{
    const std::string vantor = R"({"pad":")" + std::string(3000, 'v') + R"("})";
    setup_ = [&](SimDevice &d) { d.StoreJson(R"({"vantor5":)" + vantor + R"(,"revur":{"old":1}})"); };
    Start(2, kModeWrite, R"({"revur":{"new":[1,2]},"orsin":{"ignored":true}})");
    const Outcome outcome = Run();
    EXPECT_TRUE(outcome.ok) << outcome.message.toStdString();
    EXPECT_EQ(outcome.message, QStringLiteral("Запись окончена"));
    EXPECT_EQ(Device([](SimDevice &d) { return d.StoredJson(); }),
              R"({"vantor5":)" + vantor + R"(,"revur":{"new":[1,2]}})");
    EXPECT_EQ(Device([](SimDevice &d) { return d.RequestCount(8); }), 1);
    EXPECT_EQ(Device([](SimDevice &d) { return d.RequestCount(3); }), 1);
}

TEST_F(SessionTest, WritingAFileMergesEveryMember)
{
    setup_ = [](SimDevice &d) { d.StoreJson(R"({"vantor5":{"a":1},"navet":{"old":1}})"); };
    Start(0, kModeWriteFile, R"({"navet":{"n":2},"orsin":{"o":3}})");
    const Outcome outcome = Run();
    EXPECT_TRUE(outcome.ok) << outcome.message.toStdString();
    EXPECT_EQ(Device([](SimDevice &d) { return d.StoredJson(); }),
              R"({"vantor5":{"a":1},"navet":{"n":2},"orsin":{"o":3}})");
}

TEST_F(SessionTest, AnEmptyDeviceIsWrittenWithoutMerging)
{
    Start(4, kModeWrite, R"({"whmeter":{"on":true}})");
    const Outcome outcome = Run();
    EXPECT_TRUE(outcome.ok) << outcome.message.toStdString();
    EXPECT_TRUE(Said(QStringLiteral("Конфигурация не записана.")));
    EXPECT_EQ(Device([](SimDevice &d) { return d.StoredJson(); }), R"({"whmeter":{"on":true}})");
}

TEST_F(SessionTest, AFailedVerificationOffersToWriteAgain)
{
    for (bool repeat : {true, false}) {
        outcome_.reset();
        questions_.clear();
        SimOptions sim = FastDevice();
        sim.failVerifyFirst = 1;
        answers_[Question::RepeatWrite] = repeat;
        Start(5 + 1, kModeWrite, R"({"navet":{"x":1}})", sim);
        const Outcome outcome = Run();
        EXPECT_EQ(outcome.ok, repeat) << outcome.message.toStdString();
        ASSERT_EQ(questions_.size(), 1u);
        EXPECT_EQ(questions_[0], QStringLiteral("Ошибка верификации конфигурации!\r\nПовторить запись?"));
        EXPECT_EQ(Device([](SimDevice &d) { return d.RequestCount(8); }), repeat ? 2 : 1);
        TearDown();
    }
}

TEST_F(SessionTest, AReadFailureAsksBeforeOverwritingEverything)
{
    SimOptions sim = FastDevice();
    sim.errorCode = 1; // every answer reports an error
    answers_[Question::WriteAfterReadFailure] = false;
    Start(2, kModeRead + 1, R"({"revur":{}})", sim, [](ProgOptions &o) { o.comConnectTryCount = 3; });
    // The pack size still came through: error bytes only matter to commands that carry one.
    const Outcome outcome = Run();
    EXPECT_FALSE(outcome.ok);
    ASSERT_EQ(questions_.size(), 1u);
    EXPECT_TRUE(questions_[0].startsWith(QStringLiteral("Не удалось прочитать текущую конфигурацию!")));
    EXPECT_TRUE(
        outcome.message.startsWith(QStringLiteral("Не удалось прочитать файл. Ошибка: ошибка чтения (1)")))
        << outcome.message.toStdString();
    EXPECT_EQ(Device([](SimDevice &d) { return d.RequestCount(7); }), 0);
}

TEST_F(SessionTest, FirmwareBlocksAreWrittenThenVerifiedThenStarted)
{
    // Two blocks of 1500 and 700 bytes; no entry point: the first block's address is sent.
    std::vector<std::uint8_t> a(1500), b(700);
    for (std::size_t i = 0; i < a.size(); ++i)
        a[i] = std::uint8_t(i * 7);
    for (std::size_t i = 0; i < b.size(); ++i)
        b[i] = std::uint8_t(i * 13);
    std::vector<std::uint8_t> file(18, 0);
    link::WriteU32(file.data() + 4, 0x3520CEFA);
    link::WriteU16(file.data() + 8, 2);
    link::WriteU32(file.data() + 10, 18);
    link::WriteU32(file.data() + 14, 18 + 4 + 34);
    link::AppendU32(file, 2);
    const std::uint32_t dataAt = 18 + 4 + 34 + 4;
    const std::uint32_t addresses[] = {0x08004000, 0x08010000};
    const std::vector<std::uint8_t> *blocks[] = {&a, &b};
    std::uint32_t at = dataAt;
    for (int i = 0; i < 2; ++i) {
        file.push_back(0);
        link::AppendU32(file, at);
        link::AppendU32(file, addresses[i]);
        link::AppendU32(file, std::uint32_t(blocks[i]->size()));
        link::AppendU32(file, Crc32(blocks[i]->data(), blocks[i]->size()));
        at += std::uint32_t(blocks[i]->size());
    }
    link::AppendU32(file, 0);
    file.insert(file.end(), a.begin(), a.end());
    file.insert(file.end(), b.begin(), b.end());
    const std::uint16_t crc = Crc16Kermit(file.data(), file.size());
    file.push_back(std::uint8_t(crc));
    file.push_back(std::uint8_t(crc >> 8));
    firmwarePath_ = File("fw.mff", std::string(file.begin(), file.end()));

    for (bool failFirstVerification : {false, true}) {
        outcome_.reset();
        SimOptions sim = FastDevice();
        sim.packSize = 512;
        sim.failVerifyFirst = failFirstVerification ? 1 : 0;
        Start(0, kModeFirmware, {}, sim);
        const Outcome outcome = Run();
        EXPECT_EQ(outcome.ok, !failFirstVerification) << outcome.message.toStdString();
        EXPECT_EQ(session_->LastDir(), dir_.path());
        // The commands as the device saw them, consecutive repeats folded.
        std::vector<std::pair<int, std::uint32_t>> order;
        for (const auto &r : Device([](SimDevice &d) { return d.Requests(); })) {
            if (r.command != 1 && r.command != 2 && r.command != 4)
                continue;
            const std::uint32_t block = r.command == 4 ? r.address : (r.address >= addresses[1] ? 2 : 1);
            if (order.empty() || order.back() != std::make_pair(int(r.command), block))
                order.emplace_back(r.command, block);
        }
        if (failFirstVerification) {
            EXPECT_EQ(order, (std::vector<std::pair<int, std::uint32_t>>{{1, 1}, {1, 2}, {2, 1}}));
            EXPECT_EQ(Device([](SimDevice &d) { return d.EntryPoint(); }), -1);
        } else {
            EXPECT_EQ(order, (std::vector<std::pair<int, std::uint32_t>>{
                                 {1, 1}, {1, 2}, {2, 1}, {2, 2}, {4, addresses[0]}}));
            EXPECT_EQ(outcome.message, QStringLiteral("Прошивка успешно записана."));
            EXPECT_EQ(Device([&](SimDevice &d) { return d.FirmwareAt(addresses[0], 1500); }), a);
            EXPECT_EQ(Device([&](SimDevice &d) { return d.FirmwareAt(addresses[1], 700); }), b);
        }
        TearDown();
    }
}

TEST_F(SessionTest, AnInvalidFirmwareFileNeverReachesTheDevice)
{
    firmwarePath_ = File("bad.mff", std::string(18, '\0')); // zeros: the trailer even matches
    Start(0, kModeFirmware, {});
    const Outcome outcome = Run();
    EXPECT_FALSE(outcome.ok);
    ASSERT_TRUE(test::WaitUntil([&] { return !errors_.empty(); }));
    EXPECT_EQ(errors_[0],
              QStringLiteral("Файл поврежден или не является файлом прошивки: invalid size (18)"));
    EXPECT_EQ(Device([](SimDevice &d) { return d.RequestCount(1); }), 0);
}

TEST_F(SessionTest, ADeviceOutsideItsBootloaderCannotAgreeAPackSize)
{
    SimOptions sim = FastDevice();
    sim.answersPackSize = false;
    Start(0, kModeFirmware, {}, sim);
    EXPECT_TRUE(session_->IsSessionFailed());
    EXPECT_FALSE(session_->CanRunCommand());
    EXPECT_TRUE(statuses_.back().startsWith(QStringLiteral(
        "Подключиться не удалось. Возможно устройство не в режиме загрузчика. Ошибка: истекло")))
        << statuses_.back().toStdString();
}

TEST_F(SessionTest, SilenceEndsTheConnectionAndItComesBackByItself)
{
    SimOptions sim = FastDevice();
    sim.silenceEvery = 2; // right after the pack size has been agreed
    sim.silenceMs = 1200;
    sim.silenceLimit = 1;
    Start(1, kModeWrite, R"({"vantor5":{}})", sim, [](ProgOptions &o) { o.silenceTimeoutMs = 300; });
    ASSERT_TRUE(test::WaitUntil(
        [&] { return Said(QStringLiteral("Timeout - нет связи либо поток данных неопознан")); }));
    ASSERT_TRUE(test::WaitUntil([&] { return Said(QStringLiteral("Переподключение...")); }));
    const std::size_t before = statuses_.size();
    ASSERT_TRUE(test::WaitUntil([&] {
        return statuses_.size() > before && session_->CanRunCommand() &&
               statuses_.back().startsWith(QStringLiteral("Подключено к \""));
    }));
    EXPECT_TRUE(session_->IsEstablished());
    const Outcome outcome = Run();
    EXPECT_TRUE(outcome.ok) << outcome.message.toStdString();
}

TEST_F(SessionTest, ALostConnectionFailsTheOperationAndTheNextWriteRepairsTheImage)
{
    SimOptions sim = FastDevice();
    sim.packSize = 256;
    sim.silenceEvery = 6; // serial, pack size, read, read: silent in the middle of the write
    sim.silenceMs = 1000;
    sim.silenceLimit = 1;
    const std::string text = BigDocument(3000);
    Start(1, kModeWrite, text, sim, [](ProgOptions &o) { o.silenceTimeoutMs = 300; });
    Outcome outcome = Run();
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message,
              QStringLiteral("Операция прервана: связь с устройством потеряна. Timeout - нет связи "
                             "либо поток данных неопознан"));
    EXPECT_TRUE(questions_.empty());
    ASSERT_TRUE(test::WaitUntil([&] { return session_->CanRunCommand(); }));
    // The device now holds half an image: the next write sees its CRC fail and asks.
    answers_[Question::ContinueAfterCrcError] = true;
    outcome_.reset();
    outcome = Run();
    EXPECT_TRUE(outcome.ok) << outcome.message.toStdString();
    ASSERT_EQ(questions_.size(), 1u);
    EXPECT_EQ(questions_[0],
              QStringLiteral("Контрольная сумма файла конфигурации не воспадает!\r\nПродолжить"));
    EXPECT_EQ(Device([](SimDevice &d) { return d.StoredJson(); }), text);
}

TEST_F(SessionTest, SoundFilesThatMatchAreNotSentAgain)
{
    std::vector<std::string> contents = {"RIFF-one", "two-bytes", "third file, five", "four", "five!"};
    std::string files;
    std::vector<devsim::Bytes> onDevice;
    for (std::size_t i = 0; i < contents.size(); ++i) {
        const QString path = File(("s" + std::to_string(i) + ".wav").c_str(), contents[i]);
        files += std::string(i ? "," : "") + R"({"file":")" + path.toStdString() + R"("})";
        onDevice.emplace_back(contents[i].begin(), contents[i].end());
    }
    const std::string input = R"({"sollo":{"files":[)" + files + "]}}";
    setup_ = [&](SimDevice &d) { d.SetSoundFiles(onDevice); };
    Start(5, kModeWrite, input);
    Outcome outcome = Run();
    EXPECT_TRUE(outcome.ok) << outcome.message.toStdString();
    EXPECT_EQ(Device([](SimDevice &d) { return d.RequestCount(10); }), 0);
    EXPECT_EQ(Device([](SimDevice &d) { return d.RequestCount(12); }), 5);
    EXPECT_EQ(Device([](SimDevice &d) { return d.StoredJson(); }), input);
    TearDown();

    // Only the third differs: the area is written from the offset after two records
    // and files 3 to 5 are checked again.
    onDevice[2] = devsim::Bytes{'o', 'l', 'd'};
    outcome_.reset();
    Start(5, kModeWrite, input);
    outcome = Run();
    EXPECT_TRUE(outcome.ok) << outcome.message.toStdString();
    const auto requests = Device([](SimDevice &d) { return d.Requests(); });
    std::vector<std::uint32_t> verified;
    std::uint32_t firstWrite = 0xFFFFFFFF;
    for (const auto &r : requests) {
        if (r.command == 12 && (verified.empty() || verified.back() != r.address + 1))
            verified.push_back(r.address + 1);
        if (r.command == 10 && firstWrite == 0xFFFFFFFF)
            firstWrite = r.address;
    }
    EXPECT_EQ(firstWrite, 12u + 16u); // records of 8 and 9 bytes: 4 + 8 and 4 + 9 + 3
    EXPECT_EQ(verified, (std::vector<std::uint32_t>{1, 2, 3, 4, 5, 3, 4, 5}));
    std::vector<devsim::Bytes> expected;
    for (const auto &c : contents)
        expected.emplace_back(c.begin(), c.end());
    EXPECT_EQ(Device([](SimDevice &d) { return d.SoundFiles(); }), expected);
}

TEST_F(SessionTest, MissingSoundFilesStopTheWrite)
{
    const std::string input =
        R"({"sollo":{"files":[{"file":"/nonexistent/a.wav"},{"file":"/nonexistent/b.wav"}]}})";
    Start(5, kModeWrite, input);
    const Outcome outcome = Run();
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, QStringLiteral("Ошибка при записи звуковых файлов!"));
    ASSERT_TRUE(test::WaitUntil([&] { return !errors_.empty(); }));
    EXPECT_EQ(errors_[0],
              QStringLiteral("2 файл(ов) не найдены по указанному пути!\r\nПроцесс записи будет прерван!"));
    EXPECT_EQ(Device([](SimDevice &d) { return d.RequestCount(7); }), 0);
}

TEST_F(SessionTest, ReadingSolloFetchesFilesMissingHere)
{
    const QString present = File("here.wav", "present");
    const std::string document =
        R"({"sollo":{"files":[{"file":")" + present.toStdString() +
        R"("},{"file":"C:\\sounds\\gone.wav"},{"file":"/nonexistent/fetched.mp3"}]}})";
    const std::string fetched(3000, 'm');
    setup_ = [&](SimDevice &d) {
        d.StoreJson(document);
        d.SetSoundFiles({{'p', 'r', 'e', 's', 'e', 'n', 't'},
                         {'g', 'o', 'n', 'e'},
                         devsim::Bytes(fetched.begin(), fetched.end())});
    };
    Start(5, kModeRead, {});
    const Outcome outcome = Run();
    EXPECT_TRUE(outcome.ok) << outcome.message.toStdString();
    EXPECT_EQ(outcome.message, QStringLiteral("Прочитано успешно!"));
    const QString saved = dir_.filePath(QStringLiteral("fetched.mp3"));
    EXPECT_EQ(ReadWholeFile(saved).value_or(""), fetched);
    const auto paths = SoundPaths(session_->WorkStream());
    ASSERT_TRUE(paths);
    ASSERT_EQ(paths->size(), 3u);
    EXPECT_EQ((*paths)[0], present);
    // A path written on Windows suggests its own file name.
    EXPECT_EQ((*paths)[1], dir_.filePath(QStringLiteral("gone.wav")));
    EXPECT_EQ(ReadWholeFile((*paths)[1]).value_or(""), "gone");
    EXPECT_EQ((*paths)[2], saved);
    EXPECT_EQ(Device([](SimDevice &d) { return d.RequestCount(14); }), 2); // sizes of the two missing files
}

TEST_F(SessionTest, FaultSchedulesEndInTheRightStateOrAClearFailure)
{
    const std::string text = BigDocument(6000);
    int succeeded = 0;
    for (std::uint64_t seed : {1, 2, 3}) {
        outcome_.reset();
        SimOptions sim = FastDevice();
        sim.seed = seed;
        sim.corruptCrc = 0.05;
        sim.dropByte = 0.05;
        sim.insertBytes = 0.05;
        sim.splitChunk = 64;
        answers_[Question::RepeatWrite] = true;
        answers_[Question::ContinueAfterCrcError] = false;
        setup_ = [](SimDevice &d) { d.StoreJson(R"({"navet":{"keep":1}})"); };
        Start(1, kModeWrite, text, sim, [](ProgOptions &o) { o.silenceTimeoutMs = 1500; });
        const Outcome outcome = Run();
        const std::string stored = Device([](SimDevice &d) { return d.StoredJson(); });
        const std::string expected = R"({"navet":{"keep":1},)" + text.substr(1);
        if (outcome.ok) {
            ++succeeded;
            EXPECT_EQ(stored, expected) << "seed " << seed;
        } else {
            EXPECT_FALSE(outcome.message.isEmpty()) << "seed " << seed;
        }
        TearDown();
    }
    EXPECT_GT(succeeded, 0);
}
