// The programmer and log windows against the simulated device on a pseudo-terminal:
// captions per mode, the enabling rules, a read handed back, progress with amount and
// speed, questions, stopping a connect loop, reconnecting after silence, the log switch
// and the log window's buttons, and closing during an operation.
#include "app/FileIo.h"
#include "app/UserDialogs.h"
#include "programming/mainprog.h"
#include "programming/pr_logFrm.h"

#include "ProgrammerDriver.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <set>

using namespace vantor;
using namespace vantor::programming;
using vantor::devsim::SimDevice;
using vantor::devsim::SimOptions;
using vantor::test::ProgrammerDriver;
using vantor::test::SimulatedDeviceLink;
using vantor::test::WaitUntil;

namespace {

class ProgrammerWindowTest : public ::testing::Test {
protected:
    // The device starts with `json` in its configuration memory (none when empty).
    void StartDevice(const std::string &json = {}, SimOptions options = test::FastDevice(),
                     std::uint32_t baud = 0)
    {
        link_ = std::make_unique<SimulatedDeviceLink>(options, baud);
        if (!json.empty())
            link_->With([&](SimDevice &d) {
                d.StoreJson(json);
                return 0;
            });
        link_->Start();
    }
    void Open(int tag, int mode, std::string input = {})
    {
        window_ = std::make_unique<TMainProgFrm>(tag, mode, std::move(input));
        driver_ = std::make_unique<ProgrammerDriver>(*window_, link_->Path());
    }
    void TearDown() override
    {
        driver_.reset();
        window_.reset();
        link_.reset();
    }

    QPushButton *Button(const char *name) { return driver_->Button(name); }
    template <typename T>
    T *Find(const char *name)
    {
        return driver_->Find<T>(name);
    }
    QString LogText() { return window_->LogForm().Text(); }

    ScriptedDialogs dialogs_;
    std::unique_ptr<SimulatedDeviceLink> link_;
    std::unique_ptr<TMainProgFrm> window_;
    std::unique_ptr<ProgrammerDriver> driver_;
};

TEST_F(ProgrammerWindowTest, EachModeHasItsCaptionAndCommandAndOnlyTheSerialPage)
{
    StartDevice();
    const struct {
        int mode;
        const char *caption;
        const char *command;
    } cases[] = {
        {kModeRead, "Считывание конфигурации", "Прочитать"},
        {kModeWrite, "Запись конфигурации", "Записать"},
        {kModeFirmware, "Базовый программатор", "Обновить"},
        {kModeWriteFile, "Запись конфигурации", "Записать"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.mode);
        Open(1, c.mode);
        EXPECT_EQ(window_->windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(Button("btnCommand")->text(), QString::fromUtf8(c.command));
        auto *pages = Find<QTabWidget>("pgcConnection");
        EXPECT_EQ(pages->currentIndex(), TMainProgFrm::kPageCom);
        EXPECT_FALSE(pages->isTabVisible(TMainProgFrm::kPageUsb));
        EXPECT_FALSE(pages->tabBar()->isVisible());
        EXPECT_FALSE(Button("btnSetSerial")->isVisible());
        EXPECT_FALSE(window_->LogForm().isVisible());
        // Nothing connected yet: only connecting is offered.
        EXPECT_TRUE(Button("btnConnect")->isEnabled());
        EXPECT_FALSE(Button("btnDisconnect")->isEnabled());
        EXPECT_FALSE(Button("btnCommand")->isEnabled());
        EXPECT_FALSE(Find<QSpinBox>("edSerial")->isEnabled());
        Find<QCheckBox>("chkSelectSerial")->setChecked(true);
        EXPECT_TRUE(Find<QSpinBox>("edSerial")->isEnabled());
        driver_.reset();
        window_.reset();
    }
}

TEST_F(ProgrammerWindowTest, AReadIsHandedBackAndTheWindowClosesItself)
{
    const std::string text = R"({"vantor5":{"name":"Перекрёсток"},"navet":{"a":1}})";
    StartDevice(text);
    Open(1, kModeRead);
    ASSERT_TRUE(driver_->Connect());
    EXPECT_EQ(Find<QLineEdit>("edtSerialNumber")->text(), QStringLiteral("1001"));
    EXPECT_EQ(window_->StatusText(), QStringLiteral("Подключено к \"%1\".").arg(link_->Path()));
    // Connected: the command and "Отключить"; the port cannot change under the session.
    EXPECT_FALSE(Button("btnConnect")->isEnabled());
    EXPECT_TRUE(Button("btnDisconnect")->isEnabled());
    EXPECT_TRUE(Button("btnCommand")->isEnabled());
    EXPECT_FALSE(Find<QComboBox>("cbbPort")->isEnabled());
    EXPECT_FALSE(Button("btnRefreshCOM")->isEnabled());

    ASSERT_TRUE(driver_->Run());
    EXPECT_TRUE(window_->LastOutcome()->ok);
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(window_->result(), QDialog::Accepted);
    EXPECT_EQ(window_->WorkStream(), text);
    EXPECT_TRUE(LogText().contains(QStringLiteral("Серийный номер устройства успешно прочитан")));
    // Closing disconnected.
    EXPECT_EQ(window_->Session().ConnectionState(), link::kStateDisconnected);
}

TEST_F(ProgrammerWindowTest, ATransferShowsItsAmountAndSpeedInTheStatusLine)
{
    // About 12 KB over a paced line: long enough to watch. The device waits for a reply
    // to its poll longer than an answer takes on this line, as real devices do.
    const std::string text = R"({"vantor5":{"pad":")" + std::string(12000, 'x') + R"("}})";
    SimOptions options = test::FastDevice();
    options.replyTimeoutMs = 400;
    StartDevice(text, options, 57600);
    Open(1, kModeRead);
    ASSERT_TRUE(driver_->Connect());
    Button("btnCommand")->click();

    const QRegularExpression shape(
        QStringLiteral(R"(^\d+,\d КБ из 11,7 КБ \(\d+ %\)(, \d+,\d КБ/с, осталось \d+:\d\d)?$)"));
    QStringList seen;
    bool busyLocked = false;
    int barMaximum = 0;
    ASSERT_TRUE(WaitUntil(
        [&] {
            const QString transfer = window_->TransferText();
            if (!transfer.isEmpty() && (seen.isEmpty() || seen.back() != transfer)) {
                seen << transfer;
                busyLocked = busyLocked || (!Find<QTabWidget>("pgcConnection")->isEnabled() &&
                                            !Button("btnCommand")->isEnabled());
                barMaximum = Find<QProgressBar>("pbProgress")->maximum();
            }
            return window_->LastOutcome().has_value();
        },
        60000));
    EXPECT_TRUE(window_->LastOutcome()->ok) << window_->LastOutcome()->message.toStdString();
    ASSERT_FALSE(seen.isEmpty());
    for (const QString &line : seen)
        EXPECT_TRUE(shape.match(line).hasMatch()) << line.toStdString();
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](const QString &s) {
        return s.contains(QStringLiteral("КБ/с"));
    })) << "no speed shown";
    EXPECT_TRUE(busyLocked) << "the command and the port page stay usable during a transfer";
    EXPECT_EQ(barMaximum, int(text.size() + 8));
    EXPECT_TRUE(window_->TransferText().isEmpty());
}

TEST_F(ProgrammerWindowTest, ACrcMismatchIsAskedAndDecliningKeepsTheWindowOpenWithNothingRead)
{
    StartDevice();
    link_->With([](SimDevice &d) {
        d.StoreJson(R"({"navet":{"a":1}})");
        d.ConfigMemory()[6] = 'N'; // the text no longer matches its CRC
        return 0;
    });
    Open(6, kModeRead);
    ASSERT_TRUE(driver_->Connect());
    ASSERT_TRUE(driver_->Run()); // the scripted box answers with its default, "Нет"
    EXPECT_EQ(
        dialogs_.Texts(ScriptedDialogs::Kind::Question),
        QStringList{QStringLiteral("Контрольная сумма файла конфигурации не воспадает!\r\nПродолжить")});
    EXPECT_FALSE(window_->LastOutcome()->ok);
    EXPECT_TRUE(window_->isVisible());
    EXPECT_TRUE(window_->WorkStream().empty());
    EXPECT_EQ(window_->StatusText(), QStringLiteral("Ошибка проверки CRC"));
}

TEST_F(ProgrammerWindowTest, DisconnectStopsTheConnectLoop)
{
    StartDevice();
    link_->With([](SimDevice &d) {
        d.Pause(true); // the port opens, the device never speaks
        return 0;
    });
    TSettings::Current()->SetComConnectTryCount(100); // 100 tries of 300 ms without the button
    Open(1, kModeWrite, R"({"vantor5":{}})");

    bool disconnectOffered = false;
    QTimer::singleShot(400, [&] {
        disconnectOffered = Button("btnDisconnect")->isEnabled();
        Button("btnDisconnect")->click();
    });
    QElapsedTimer clock;
    clock.start();
    Button("btnConnect")->click(); // returns when the loop has ended
    EXPECT_TRUE(disconnectOffered);
    EXPECT_LT(clock.elapsed(), 15000) << "the loop ran its tries out";
    EXPECT_FALSE(window_->Session().IsConnecting());
    EXPECT_EQ(window_->Session().ConnectionState(), link::kStateDisconnected);
    EXPECT_EQ(window_->StatusText(), QStringLiteral("Отключено."));
    EXPECT_TRUE(Button("btnConnect")->isEnabled());
    EXPECT_FALSE(Button("btnDisconnect")->isEnabled());
}

TEST_F(ProgrammerWindowTest, SilenceShowsReconnectingAndTheWindowConnectsAgainByItself)
{
    SimOptions options = test::FastDevice();
    options.silenceEvery = 2; // right after the pack size has been agreed
    options.silenceMs = 1500;
    options.silenceLimit = 1;
    StartDevice({}, options);
    Open(1, kModeWrite, R"({"vantor5":{}})");
    window_->Options().silenceTimeoutMs = 300;
    ASSERT_TRUE(driver_->Connect());

    std::set<QString> statuses;
    ASSERT_TRUE(WaitUntil([&] {
        statuses.insert(window_->StatusText());
        return statuses.count(QStringLiteral("Переподключение...")) && window_->Session().CanRunCommand();
    }));
    EXPECT_TRUE(LogText().contains(QStringLiteral("Timeout - нет связи либо поток данных неопознан")));
    // The session stayed established: the write runs on the new connection.
    ASSERT_TRUE(driver_->Run());
    EXPECT_TRUE(window_->LastOutcome()->ok) << window_->LastOutcome()->message.toStdString();
    EXPECT_EQ(link_->With([](SimDevice &d) { return d.StoredJson(); }), R"({"vantor5":{}})");
}

TEST_F(ProgrammerWindowTest, WithLoggingOffNothingIsLoggedButTheStatusLineStillChanges)
{
    StartDevice(R"({"vantor5":{}})");
    link_->ProgSettings().MainForm().SetLog(false);
    Open(1, kModeRead);
    auto *keep = Find<QCheckBox>("chkLog");
    EXPECT_FALSE(keep->isChecked());
    ASSERT_TRUE(driver_->Connect());
    EXPECT_TRUE(window_->StatusText().startsWith(QStringLiteral("Подключено к")));
    EXPECT_TRUE(LogText().isEmpty());

    keep->click(); // "Вести лог" on: the setting follows, lines arrive
    EXPECT_TRUE(link_->ProgSettings().MainForm().Log());
    ASSERT_TRUE(driver_->Run());
    const QStringList lines = LogText().split(QLatin1Char('\n'));
    ASSERT_FALSE(LogText().isEmpty());
    const QRegularExpression line(QStringLiteral(R"(^\[\d+\] \S.*$)"));
    for (const QString &l : lines)
        EXPECT_TRUE(line.match(l).hasMatch()) << l.toStdString();
    EXPECT_TRUE(LogText().contains(QStringLiteral("] Конфигурация успешно прочитана")));
    EXPECT_TRUE(LogText().contains(QStringLiteral("] Dev: "))) << "the traffic's hex dumps are logged";
}

TEST_F(ProgrammerWindowTest, TheLogWindowShowsHidesClearsAndSaves)
{
    StartDevice();
    Open(1, kModeRead);
    TLogForm &log = window_->LogForm();
    auto *toggle = Button("btnShowLog");
    toggle->click();
    EXPECT_TRUE(log.isVisible());
    EXPECT_EQ(log.windowTitle(), QStringLiteral("Лог"));
    log.Log(1234, QStringLiteral("первая строка"));
    log.Log(1240, QStringLiteral("вторая"));
    EXPECT_EQ(log.Text(), QStringLiteral("[1234] первая строка\n[1240] вторая"));

    // "Сохранить": a text file, the lines as shown.
    const QString path = link_->Dir() + QStringLiteral("/log.txt");
    dialogs_.ChooseNextFile(path);
    log.findChild<QPushButton *>(QStringLiteral("btnSave"))->click();
    ASSERT_EQ(dialogs_.Shown().size(), 1u);
    EXPECT_EQ(dialogs_.Shown()[0].kind, ScriptedDialogs::Kind::SaveFile);
    EXPECT_EQ(dialogs_.Shown()[0].text, QStringLiteral("Text (*.txt)"));
    EXPECT_EQ(dialogs_.Shown()[0].detail, QStringLiteral("txt"));
    EXPECT_EQ(ReadWholeFile(path).value_or(""), "[1234] первая строка\n[1240] вторая\n");

    log.findChild<QPushButton *>(QStringLiteral("btnClear"))->click();
    EXPECT_TRUE(log.Text().isEmpty());

    // "Закрыть" hides the window and raises the toggle; the toggle shows it again.
    log.findChild<QPushButton *>(QStringLiteral("btnClose"))->click();
    EXPECT_FALSE(log.isVisible());
    EXPECT_FALSE(toggle->isChecked());
    toggle->click();
    EXPECT_TRUE(log.isVisible());
    toggle->click();
    EXPECT_FALSE(log.isVisible());
}

TEST_F(ProgrammerWindowTest, ClosingDuringAnOperationAsksAndNoKeepsItRunning)
{
    SimOptions options = test::FastDevice();
    options.muteCommand = 9; // the read never gets an answer: the operation stays open
    StartDevice(R"({"vantor5":{}})", options);
    Open(1, kModeWrite, R"({"vantor5":{"x":1}})");
    ASSERT_TRUE(driver_->Connect());
    Button("btnCommand")->click();
    ASSERT_TRUE(window_->Session().IsOperationActive());

    window_->reject(); // Escape or the frame's close button; the box's default is "Нет"
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(
        dialogs_.Texts(ScriptedDialogs::Kind::Question),
        QStringList{QStringLiteral("Операция с устройством ещё не завершена.\nПрервать её и закрыть окно?")});
    EXPECT_TRUE(window_->Session().IsOperationActive());

    dialogs_.AnswerNext(QMessageBox::Yes);
    window_->reject();
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(window_->Session().ConnectionState(), link::kStateDisconnected);
    EXPECT_EQ(link_->With([](SimDevice &d) { return d.RequestCount(7); }), 0);
}

} // namespace
