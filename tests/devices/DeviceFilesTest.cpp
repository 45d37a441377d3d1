// Configuration files of the three devices through the main window: opening shows
// the document in its device's window, saving gives the same document back.
#include "app/ConfigFile.h"
#include "app/ConfigScrambler.h"
#include "app/DeviceTransfer.h"
#include "app/FileIo.h"
#include "app/Settings.h"
#include "app/UMain.h"
#include "app/UserDialogs.h"
#include "devices/navet/UConfNavet.h"
#include "devices/orsin/UConfOrsin.h"
#include "devices/rudex/UConfRudex.h"

#include "TempHome.h"
#include "WindowTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <memory>

using namespace vantor;

namespace {

class DeviceFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        main_ = std::make_unique<TfmMain>(std::make_unique<TSettings>(Path("vantor5.xml")),
                                          Path("ViewSchema.xml"));
        main_->show();
    }
    void TearDown() override
    {
        main_->CloseAll();
        main_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QString Path(const char *name) const { return home_.path() + QLatin1Char('/') + QString::fromUtf8(name); }

    test::TempHome home_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<TfmMain> main_;
};

TEST_F(DeviceFilesTest, EachDevicesFileOpensInItsWindowAndSavesToTheSameDocument)
{
    const struct {
        DeviceTag tag;
        const char *className;
        const char *document;
    } cases[] = {
        {kRudexTag, "vantor::TfmConfRudex",
         R"({"whmeter":{"en":true,"name":"ВРУ-1","id":255,"app_id":4660,"psw":"secret","psw_def":false}})"},
        {kNavetTag, "vantor::TfmConfNavet",
         R"({"navet":{"n":"Реверс","ver":1,"id":2,"geo":{"tz":600,"tzname":"(UTC+10:00) Где-то далеко"},)"
         R"("is_reverse":{"value":1},"cycle":{"ph":[10,3,25,4]},"bright":{"currents":[350,300,0,250]},)"
         R"("is_master":{"value":0}}})"},
        {kOrsinTag, "vantor::TfmConfOrsin",
         R"({"orsin":{"vantor_count":2,"output_count":12,"table":[{"block":1,"k_out":3,"d_out":1},)"
         R"({"block":2,"k_out":5,"d_out":5}],"eth":{"ping":true,"dhcp":false,"mac":"02:1A:2B:3C:4D:5E",)"
         R"("ip":"10.0.0.5","gate":"10.0.0.1","mask":"255.255.255.0"},"server":{"port":5000}}})"},
        // A second Orsin-3 file goes into the open Orsin-3 window: Ethernet, on before,
        // is off now and no "eth" comes back; the server stays on.
        {kOrsinTag, "vantor::TfmConfOrsin",
         R"({"orsin":{"vantor_count":1,"output_count":64,"table":[{"block":1,"k_out":32,"d_out":64}],)"
         R"("server":{"port":65535}}})"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.className);
        const json::Json document = *json::ParseObject(c.document);
        ASSERT_TRUE(WriteConfigFile(Path("in.vt5"), document));
        ASSERT_TRUE(main_->OpenConfigFile(Path("in.vt5")));
        TfmBaseMDI *window = main_->activeDeviceWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_STREQ(window->metaObject()->className(), c.className);
        EXPECT_EQ(window->deviceTag(), c.tag);
        EXPECT_FALSE(window->IsModified());

        ASSERT_TRUE(main_->SaveConfigFile(Path("out.vt5")));
        const auto bytes = ReadWholeFile(Path("out.vt5"));
        ASSERT_TRUE(bytes);
        EXPECT_EQ(UnscrambleText(*bytes), json::RenderIndented(document));
        EXPECT_TRUE(dialogs_.Shown().empty());
    }
    // What the windows show.
    const QList<TfmBaseMDI *> windows = main_->deviceWindows();
    ASSERT_EQ(windows.size(), 3);
    EXPECT_EQ(test::Find<QLineEdit>(*windows[0], "edName")->text(), QStringLiteral("ВРУ-1"));
    EXPECT_EQ(test::Find<QComboBox>(*windows[1], "cbTimeZone")->currentText(),
              QStringLiteral("(UTC+10:00) Где-то далеко"));
    auto *grid = test::Find<QTableView>(*windows[2], "StringGrid");
    ASSERT_EQ(grid->model()->rowCount(), 64);
    EXPECT_EQ(grid->model()->index(0, 1).data().toString(), QString());
    EXPECT_EQ(grid->model()->index(63, 1).data().toString(), QStringLiteral("12з"));
    EXPECT_FALSE(test::Find<QCheckBox>(*windows[2], "cbEthernet")->isChecked());
    EXPECT_TRUE(test::Find<QCheckBox>(*windows[2], "cbServer")->isChecked());
}

TEST_F(DeviceFilesTest, SavingWritingAndClosingTakeAValueStillBeingTyped)
{
    // Ctrl+S, the tool buttons and the device buttons clicked by a program leave the
    // focus in an open cell editor: its value must still reach the document.
    QByteArray written;
    SetProgrammerRunner([&written](QWidget *, DeviceTag, ProgrammerMode, const QByteArray &input) {
        written = input;
        return QByteArray();
    });
    const struct RealProgrammerBack {
        ~RealProgrammerBack() { SetProgrammerRunner({}); }
    } realProgrammerBack;
    QApplication::setActiveWindow(main_.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(main_.get()));
    TfmBaseMDI *window = main_->NewConfiguration(kNavetTag);
    ASSERT_NE(window, nullptr);
    auto *grid = test::Find<QTableView>(*window, "sgPhases");
    const QModelIndex cell = grid->model()->index(0, 2);
    test::ClickCell(*grid, cell);
    QWidget *editor = grid->indexWidget(cell);
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "42");
    const auto phase = [](const json::Json &root) { return root["navet"]["cycle"]["ph"][2]; };

    ASSERT_TRUE(main_->SaveConfigFile(Path("typed.vt5")));
    const auto saved = ReadConfigFile(Path("typed.vt5"));
    ASSERT_TRUE(saved);
    EXPECT_EQ(phase(*saved), 42);
    EXPECT_EQ(grid->indexWidget(cell), editor); // still editing

    QTest::keyClicks(editor, "7");
    test::Find<QPushButton>(*window, "btnWrite")->click();
    const auto sent = json::ParseObject(written.toStdString());
    ASSERT_TRUE(sent);
    EXPECT_EQ(phase(*sent), 427);

    // Closing with a typed change asks whether to save it.
    main_->SaveConfigFile(Path("typed.vt5"));
    QTest::keyClicks(editor, "1");
    dialogs_.AnswerNext(QMessageBox::No);
    EXPECT_TRUE(main_->CloseAll());
    EXPECT_EQ(dialogs_.Texts(ScriptedDialogs::Kind::Question).size(), 1);
}

TEST_F(DeviceFilesTest, NewWindowsHaveTheirCaptionsAndCloseWithoutQuestions)
{
    const struct {
        DeviceTag tag;
        const char *caption;
    } cases[] = {{kRudexTag, "Контроллер электросчетчиков"},
                 {kNavetTag, "Конфигурация Navet"},
                 {kOrsinTag, "Контроллер видеофиксации"}};
    for (const auto &c : cases) {
        TfmBaseMDI *window = main_->NewConfiguration(c.tag);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_GE(window->minimumWidth(), TfmBaseMDI::kMinimumWidth);
    }
    EXPECT_TRUE(main_->CloseAll());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(main_->deviceWindows().isEmpty());
    EXPECT_TRUE(dialogs_.Shown().empty());
}

} // namespace
