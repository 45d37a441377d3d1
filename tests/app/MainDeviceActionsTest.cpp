// The main window's device actions and the device windows' "Прочитать" and "Записать",
// worked through the programmer window against the simulated device: the menu, the
// enabling rules, reading into a window, writing the active window, writing a JSON
// file, a firmware update, and the active-window tracking around the modal dialog.
#include "app/MainDeviceActions.h"
#include "app/DeviceButtons.h"
#include "app/FileIo.h"
#include "devices/rudex/UConfRudex.h"
#include "link/Checksums.h"
#include "link/Packet.h"
#include "programming/mainprog.h"

#include "MainWindowFixture.h"
#include "ProgrammerDriver.h"

#include <QAction>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include <gtest/gtest.h>

#include <algorithm>

using namespace vantor;
using vantor::devsim::SimDevice;
using vantor::programming::TMainProgFrm;
using vantor::test::DocumentWindow;
using vantor::test::ProgrammerDriver;
using vantor::test::SimulatedDeviceLink;

namespace {

using Bytes = std::vector<std::uint8_t>;

json::Json Doc(const char *text)
{
    auto root = json::ParseObject(text);
    EXPECT_TRUE(root) << text;
    return root.value_or(json::Json::object());
}

class DeviceActionsTest : public test::MainWindowTest {
protected:
    void SetUp() override
    {
        for (const DeviceType &type : DeviceTypes())
            overrides_.push_back(std::make_unique<DeviceWindowOverride>(
                type.tag, [tag = type.tag](QWidget *parent) { return new DocumentWindow(tag, parent); }));
        MainWindowTest::SetUp();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        link_.reset();
        overrides_.clear();
    }

    void StartDevice(const char *json = nullptr)
    {
        link_ = std::make_unique<SimulatedDeviceLink>();
        if (json)
            link_->With([&](SimDevice &d) {
                d.StoreJson(json);
                return 0;
            });
        link_->Start();
    }
    json::Json DeviceDocument()
    {
        return Doc(link_->With([](SimDevice &d) { return d.StoredJson(); }).c_str());
    }

    // The next programmer window is worked like an engineer would: connect, run, close.
    void DriveNextProgrammer()
    {
        dialogs_.HandleNextDialog([this](QDialog &dialog) {
            auto &programmer = dynamic_cast<TMainProgFrm &>(dialog);
            seen_ = Seen{programmer.DeviceTag(), programmer.Mode(), main_->activeWindowTracking()};
            ProgrammerDriver driver(programmer, link_->Path());
            const int result = driver.ConnectRunClose();
            outcome_ = programmer.LastOutcome();
            return result;
        });
    }

    QAction *Action(const QString &name) const
    {
        auto *action = main_->findChild<QAction *>(name);
        EXPECT_TRUE(action) << name.toStdString();
        return action;
    }
    int ProgrammerWindowsShown() const
    {
        return int(std::count_if(dialogs_.Shown().begin(), dialogs_.Shown().end(),
                                 [](const auto &e) { return e.kind == ScriptedDialogs::Kind::Dialog; }));
    }

    struct Seen {
        int tag;
        int mode;
        bool tracking;
    };
    std::optional<Seen> seen_;
    std::optional<programming::Outcome> outcome_;
    std::vector<std::unique_ptr<DeviceWindowOverride>> overrides_;
    std::unique_ptr<SimulatedDeviceLink> link_;
};

// "actNewPelmar" -> "Pelmar"
QString Word(const DeviceType &type)
{
    return QString::fromLatin1(type.actionName).mid(6);
}

TEST_F(DeviceActionsTest, TheDeviceMenuHoldsOneSubMenuPerDeviceThenFirmwareAndFile)
{
    const QList<QAction *> items = main_->deviceMenu()->actions();
    ASSERT_EQ(items.size(), 9); // six sub-menus, a separator, two actions
    for (const DeviceType &type : DeviceTypes()) {
        const QString name = QString::fromUtf8(type.name);
        SCOPED_TRACE(name.toStdString());
        auto *sub = main_->deviceMenu()->findChild<QMenu *>(QStringLiteral("miDev") + Word(type));
        ASSERT_TRUE(sub);
        EXPECT_EQ(items[type.tag - 1], sub->menuAction());
        EXPECT_EQ(sub->title(), name);
        const QList<QAction *> pair = sub->actions();
        ASSERT_EQ(pair.size(), 2);
        EXPECT_EQ(pair[0]->objectName(), QStringLiteral("actDevConf%1Write").arg(Word(type)));
        EXPECT_EQ(pair[0]->text(), QStringLiteral("Записать конфигурацию"));
        EXPECT_EQ(pair[0]->statusTip(), QStringLiteral("Записать конфигурацию ") + name);
        EXPECT_EQ(pair[1]->objectName(), QStringLiteral("actDevConf%1Read").arg(Word(type)));
        EXPECT_EQ(pair[1]->text(), QStringLiteral("Прочитать конфигурацию"));
        EXPECT_EQ(pair[1]->statusTip(), QStringLiteral("Прочитать конфигурацию ") + name);
    }
    EXPECT_TRUE(items[6]->isSeparator());
    EXPECT_EQ(items[7]->objectName(), QStringLiteral("actDevRefirmware"));
    EXPECT_EQ(items[7]->text(), QStringLiteral("Обновить прошивку"));
    EXPECT_EQ(items[8]->objectName(), QStringLiteral("actFlashFromFile"));
    EXPECT_EQ(items[8]->text(), QStringLiteral("Записать из файла"));
    // The actions of any device exist, in no menu.
    EXPECT_TRUE(Action(QStringLiteral("actDevConfRead")));
    EXPECT_TRUE(Action(QStringLiteral("actDevConfWrite")));
}

TEST_F(DeviceActionsTest, OnlyTheActiveDevicesWriteActionIsEnabled)
{
    const auto enabledWrites = [&] {
        QStringList names;
        for (const DeviceType &type : DeviceTypes())
            if (Action(QStringLiteral("actDevConf%1Write").arg(Word(type)))->isEnabled())
                names << Word(type);
        return names;
    };
    const auto alwaysOn = [&] {
        for (const DeviceType &type : DeviceTypes())
            EXPECT_TRUE(Action(QStringLiteral("actDevConf%1Read").arg(Word(type)))->isEnabled());
        EXPECT_TRUE(Action(QStringLiteral("actDevRefirmware"))->isEnabled());
        EXPECT_TRUE(Action(QStringLiteral("actFlashFromFile"))->isEnabled());
    };
    EXPECT_TRUE(enabledWrites().isEmpty());
    EXPECT_FALSE(Action(QStringLiteral("actDevConfWrite"))->isEnabled());
    alwaysOn();

    TfmBaseMDI *pelmar = main_->NewConfiguration(kPelmarTag);
    EXPECT_EQ(enabledWrites(), QStringList{QStringLiteral("Pelmar")});
    EXPECT_TRUE(Action(QStringLiteral("actDevConfWrite"))->isEnabled());
    main_->NewConfiguration(kVantorTag);
    EXPECT_EQ(enabledWrites(), QStringList{QStringLiteral("Vantor")});
    main_->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(pelmar->parentWidget()));
    EXPECT_EQ(enabledWrites(), QStringList{QStringLiteral("Pelmar")});
    alwaysOn();

    main_->CloseAll();
    Flush();
    EXPECT_TRUE(enabledWrites().isEmpty());
}

TEST_F(DeviceActionsTest, AWriteWithoutAnOpenWindowDoesNothing)
{
    main_->setCurrentDeviceType(kVantorTag);
    main_->deviceActions()->WriteActive();
    EXPECT_EQ(ProgrammerWindowsShown(), 0);
    EXPECT_TRUE(main_->activeWindowTracking());
}

TEST_F(DeviceActionsTest, ReadingOpensTheConfigurationAndReplacesAnOpenWindowsContent)
{
    StartDevice(R"({"revur":{"a":1},"vantor5":{"name":"Ленина - Мира"}})");
    DriveNextProgrammer();
    Action(QStringLiteral("actDevConfVantorRead"))->trigger();
    ASSERT_TRUE(seen_);
    EXPECT_EQ(seen_->tag, kVantorTag);
    EXPECT_EQ(seen_->mode, programming::kModeRead);
    EXPECT_FALSE(seen_->tracking) << "the modal dialog runs with the tracking detached";
    EXPECT_TRUE(main_->activeWindowTracking());
    ASSERT_EQ(WindowCount(), 1);
    auto *window = static_cast<DocumentWindow *>(main_->activeDeviceWindow());
    EXPECT_EQ(window->deviceTag(), kVantorTag);
    EXPECT_EQ(window->document()["vantor5"]["name"], "Ленина - Мира");
    EXPECT_EQ(main_->currentDeviceType(), kVantorTag);
    EXPECT_TRUE(Action(QStringLiteral("actDevConfVantorWrite"))->isEnabled());

    // Reading again while the window is open replaces its content.
    link_->With([](SimDevice &d) {
        d.StoreJson(R"({"vantor5":{"name":"Садовая"}})");
        return 0;
    });
    DriveNextProgrammer();
    Action(QStringLiteral("actDevConfVantorRead"))->trigger();
    ASSERT_EQ(WindowCount(), 1);
    EXPECT_EQ(window->document()["vantor5"]["name"], "Садовая");
}

TEST_F(DeviceActionsTest, ReadingWithTheSolloActionIgnoresAResultHoldingOnlyVantor5)
{
    StartDevice(R"({"vantor5":{"name":"x"}})");
    DriveNextProgrammer(); // a Sollo-4 read keeps the window open: the driver closes it
    Action(QStringLiteral("actDevConfSolloRead"))->trigger();
    ASSERT_TRUE(outcome_);
    EXPECT_TRUE(outcome_->ok) << outcome_->message.toStdString();
    EXPECT_EQ(seen_->tag, kSolloTag);
    EXPECT_EQ(WindowCount(), 0);
    EXPECT_TRUE(dialogs_.Texts(ScriptedDialogs::Kind::Error).isEmpty());
    EXPECT_TRUE(main_->activeWindowTracking());
}

TEST_F(DeviceActionsTest, WritingSendsTheActiveWindowAndTheDeviceKeepsItsOtherMembers)
{
    StartDevice(R"({"revur":{"old":1},"vantor5":{"y":2}})");
    auto *window = static_cast<DocumentWindow *>(main_->NewConfiguration(kVantorTag));
    window->document() = Doc(R"({"vantor5":{"x":[1,2,3],"name":"Перекрёсток"}})");
    DriveNextProgrammer();
    Action(QStringLiteral("actDevConfVantorWrite"))->trigger();
    ASSERT_TRUE(outcome_);
    EXPECT_TRUE(outcome_->ok) << outcome_->message.toStdString();
    EXPECT_EQ(seen_->mode, programming::kModeWrite);
    EXPECT_EQ(seen_->tag, kVantorTag);
    EXPECT_FALSE(seen_->tracking);
    EXPECT_TRUE(main_->activeWindowTracking());
    EXPECT_EQ(DeviceDocument(), Doc(R"({"revur":{"old":1},"vantor5":{"x":[1,2,3],"name":"Перекрёсток"}})"));
    // Written in the compact layout.
    EXPECT_EQ(link_->With([](SimDevice &d) { return d.StoredJson(); }),
              R"({"revur":{"old":1},"vantor5":{"x":[1,2,3],"name":"Перекрёсток"}})");
}

TEST_F(DeviceActionsTest, WritingAJsonFileMergesEveryMemberAndCancelDoesNothing)
{
    StartDevice(R"({"vantor5":{"a":1},"navet":{"old":1}})");
    dialogs_.ChooseNextFile(QString());
    Action(QStringLiteral("actFlashFromFile"))->trigger();
    EXPECT_EQ(ProgrammerWindowsShown(), 0);

    const QString path = Path("pair.json");
    ASSERT_TRUE(WriteFileAtomically(path, R"({"navet":{"new":2},"orsin":{"o":3}})"));
    dialogs_.ChooseNextFile(path);
    DriveNextProgrammer();
    Action(QStringLiteral("actFlashFromFile"))->trigger();
    const auto &open = dialogs_.Shown()[1];
    EXPECT_EQ(open.kind, ScriptedDialogs::Kind::OpenFile);
    EXPECT_EQ(open.caption, QStringLiteral("Открыть конфигурацию..."));
    EXPECT_EQ(open.text, QStringLiteral("Файлы конфигурации JSON (*.json)"));
    EXPECT_EQ(open.detail, QStringLiteral("json"));
    ASSERT_TRUE(outcome_);
    EXPECT_TRUE(outcome_->ok) << outcome_->message.toStdString();
    EXPECT_EQ(seen_->tag, kNoDevice);
    EXPECT_EQ(seen_->mode, programming::kModeWriteFile);
    EXPECT_EQ(DeviceDocument(), Doc(R"({"vantor5":{"a":1},"navet":{"new":2},"orsin":{"o":3}})"));
}

// A firmware file with two blocks and an entry point.
Bytes MakeFirmwareFile(const Bytes &a, const Bytes &b, std::uint32_t entry)
{
    Bytes file(18, 0);
    link::WriteU32(file.data() + 4, 0x3520CEFA);
    link::WriteU16(file.data() + 8, 2);
    link::WriteU32(file.data() + 10, 18);
    link::WriteU32(file.data() + 14, 18 + 4 + 2 * 17);
    link::AppendU32(file, 2);
    std::uint32_t at = 18 + 4 + 2 * 17 + 8;
    const std::uint32_t addresses[] = {0x08004000, 0x08010000};
    const Bytes *blocks[] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        file.push_back(0);
        link::AppendU32(file, at);
        link::AppendU32(file, addresses[i]);
        link::AppendU32(file, std::uint32_t(blocks[i]->size()));
        link::AppendU32(file, Crc32(blocks[i]->data(), blocks[i]->size()));
        at += std::uint32_t(blocks[i]->size());
    }
    link::AppendU32(file, 1);
    link::AppendU32(file, entry);
    file.insert(file.end(), a.begin(), a.end());
    file.insert(file.end(), b.begin(), b.end());
    const std::uint16_t crc = Crc16Kermit(file.data(), file.size());
    file.push_back(std::uint8_t(crc));
    file.push_back(std::uint8_t(crc >> 8));
    return file;
}

TEST_F(DeviceActionsTest, AFirmwareUpdateWritesTheBlocksAndStartsTheEntryPoint)
{
    StartDevice();
    Bytes a(1500), b(700);
    for (std::size_t i = 0; i < a.size(); ++i)
        a[i] = std::uint8_t(i * 7);
    for (std::size_t i = 0; i < b.size(); ++i)
        b[i] = std::uint8_t(i * 13);
    const Bytes file = MakeFirmwareFile(a, b, 0x08004100);
    const QString path = Path("device.mff");
    ASSERT_TRUE(WriteFileAtomically(path, std::string(file.begin(), file.end())));
    dialogs_.ChooseNextFile(path);
    const QString before = QStringLiteral("/srv/прошивки");
    link_->ProgSettings().MainForm().SetLastDir(before);
    DriveNextProgrammer();
    Action(QStringLiteral("actDevRefirmware"))->trigger();

    ASSERT_TRUE(outcome_);
    EXPECT_TRUE(outcome_->ok) << outcome_->message.toStdString();
    EXPECT_EQ(outcome_->message, QStringLiteral("Прошивка успешно записана."));
    EXPECT_EQ(seen_->tag, kNoDevice);
    EXPECT_EQ(seen_->mode, programming::kModeFirmware);
    const auto &choice = dialogs_.Shown()[1];
    EXPECT_EQ(choice.kind, ScriptedDialogs::Kind::OpenFile);
    EXPECT_EQ(choice.caption, QStringLiteral("Выберите файл прошивки"));
    EXPECT_EQ(choice.text, QStringLiteral("Morvane firmware file (*.mff)"));
    EXPECT_EQ(choice.detail, QStringLiteral("mff"));
    EXPECT_EQ(choice.directory, before); // starts where the last firmware came from
    EXPECT_EQ(link_->With([](SimDevice &d) { return d.FirmwareAt(0x08004000, 1500); }), a);
    EXPECT_EQ(link_->With([](SimDevice &d) { return d.FirmwareAt(0x08010000, 700); }), b);
    EXPECT_EQ(link_->With([](SimDevice &d) { return d.EntryPoint(); }), 0x08004100);
    // The folder of the file is remembered for the next update.
    EXPECT_EQ(link_->ProgSettings().MainForm().LastDir(), home_.path());
}

TEST_F(DeviceActionsTest, ADeviceWindowReadsIntoItselfAndWritesItsOwnConfiguration)
{
    StartDevice(R"({"vantor5":{"v":1},"navet":{"n":1}})");
    auto *older = static_cast<DocumentWindow *>(main_->NewConfiguration(kNavetTag));
    auto *newer = static_cast<DocumentWindow *>(main_->NewConfiguration(kNavetTag));
    const json::Json newerBefore = newer->document();

    DriveNextProgrammer();
    ReadConfigFromDevice(*older);
    EXPECT_EQ(seen_->tag, kNavetTag);
    EXPECT_EQ(seen_->mode, programming::kModeRead);
    EXPECT_FALSE(seen_->tracking);
    EXPECT_TRUE(main_->activeWindowTracking());
    EXPECT_EQ(WindowCount(), 2);
    EXPECT_EQ(older->document()["navet"], Doc(R"({"n":1})"));
    EXPECT_EQ(newer->document(), newerBefore);

    older->document()["navet"] = Doc(R"({"w":5})");
    DriveNextProgrammer();
    WriteConfigToDevice(*older);
    EXPECT_EQ(seen_->mode, programming::kModeWrite);
    EXPECT_TRUE(outcome_->ok) << outcome_->message.toStdString();
    EXPECT_EQ(DeviceDocument(), Doc(R"({"vantor5":{"v":1},"navet":{"w":5}})"));

    // A document the window refuses is reported; the window keeps what it had.
    link_->With([](SimDevice &d) {
        d.StoreJson(R"({"navet":{"reject":true}})");
        return 0;
    });
    DriveNextProgrammer();
    ReadConfigFromDevice(*older);
    EXPECT_EQ(dialogs_.Texts(ScriptedDialogs::Kind::Error),
              QStringList{QStringLiteral("Некорректная конфигурация")});
    EXPECT_EQ(older->document()["navet"], Doc(R"({"w":5})"));
}

TEST_F(DeviceActionsTest, ADeviceWindowsButtonsWorkTheDevice)
{
    StartDevice(R"({"navet":{"n":1}})");
    TfmConfRudex window;
    window.findChild<QLineEdit *>(QStringLiteral("edName"))->setText(QStringLiteral("Счётчики ТП-12"));
    DriveNextProgrammer();
    window.findChild<QPushButton *>(QStringLiteral("btnWrite"))->click();
    ASSERT_TRUE(outcome_);
    EXPECT_TRUE(outcome_->ok) << outcome_->message.toStdString();
    EXPECT_EQ(seen_->tag, kRudexTag);
    const json::Json stored = DeviceDocument();
    EXPECT_EQ(stored["navet"], Doc(R"({"n":1})"));
    EXPECT_EQ(stored["whmeter"]["name"], "Счётчики ТП-12");

    window.findChild<QLineEdit *>(QStringLiteral("edName"))->setText(QStringLiteral("другое"));
    DriveNextProgrammer();
    window.findChild<QPushButton *>(QStringLiteral("btnRead"))->click();
    EXPECT_EQ(seen_->mode, programming::kModeRead);
    EXPECT_EQ(window.findChild<QLineEdit *>(QStringLiteral("edName"))->text(),
              QStringLiteral("Счётчики ТП-12"));
}

} // namespace
