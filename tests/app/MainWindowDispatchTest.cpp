// New, open, save and the routing of documents to device windows.
#include "MainWindowFixture.h"

#include "app/ConfigScrambler.h"
#include "app/FileIo.h"

#include <QAction>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>

using namespace vantor;
using vantor::test::DocumentWindow;
using vantor::test::MainWindowTest;

namespace {

using Kind = ScriptedDialogs::Kind;

TEST_F(MainWindowTest, AFileWithVantorAndNavetKeysOpensOneVantorWindow)
{
    WriteDocument("both.vt5", R"({"navet":{"n":1},"vantor5":{"n":"Перекрёсток"}})");
    EXPECT_TRUE(main_->OpenConfigFile(Path("both.vt5")));

    ASSERT_EQ(WindowCount(), 1);
    TfmBaseMDI *window = main_->deviceWindows().front();
    EXPECT_EQ(window->deviceTag(), kVantorTag);
    EXPECT_EQ(main_->currentDeviceType(), kVantorTag);
    // The window keeps the whole document it was given.
    ASSERT_TRUE(window->keptConfig());
    EXPECT_EQ(*window->keptConfig(),
              *json::ParseObject(R"({"navet":{"n":1},"vantor5":{"n":"Перекрёсток"}})"));
    EXPECT_TRUE(dialogs_.Shown().empty());
}

TEST_F(MainWindowTest, OpeningAgainReusesTheWindowButNewAlwaysCreatesOne)
{
    WriteDocument("a.vt5", R"({"vantor5":{"n":"A"}})");
    WriteDocument("b.vt5", R"({"vantor5":{"n":"B"}})");
    WriteDocument("navet.vt5", R"({"navet":{"n":"N"}})");

    main_->OpenConfigFile(Path("a.vt5"));
    main_->OpenConfigFile(Path("b.vt5"));
    ASSERT_EQ(WindowCount(), 1);
    EXPECT_EQ(main_->deviceWindows().front()->keptConfig()->at("vantor5").at("n"), "B");

    main_->OpenConfigFile(Path("navet.vt5")); // another device: a window of its own
    EXPECT_EQ(WindowCount(), 2);

    main_->NewConfiguration(kVantorTag);
    main_->NewConfiguration(kVantorTag);
    ASSERT_EQ(WindowCount(), 4);
    EXPECT_EQ(main_->currentDeviceType(), kVantorTag);

    // Reopening goes to the Vantor-5 window used last: the newest one.
    TfmBaseMDI *newest = main_->deviceWindows().back();
    main_->OpenConfigFile(Path("a.vt5"));
    EXPECT_EQ(WindowCount(), 4);
    ASSERT_TRUE(newest->keptConfig());
    EXPECT_EQ(newest->keptConfig()->at("vantor5").at("n"), "A");
    EXPECT_EQ(main_->activeDeviceWindow(), newest);
}

TEST_F(MainWindowTest, DispatchTriesKeysFromTheStartingTagOnly)
{
    const struct {
        const char *document;
        DeviceTag start;
        bool routed;
        DeviceTag windowTag;
    } cases[] = {
        {R"({"vantor5":{}})", kSolloTag, false, 0}, // a Sollo-4 read ignores other devices
        {R"({"navet":{},"sollo":{}})", kSolloTag, true, kSolloTag},
        {R"({"navet":{},"revur":{}})", kOrsinTag, true, kNavetTag},
        {R"({"unknown":{}})", 0, false, 0},
    };
    for (const auto &c : cases) {
        main_->CloseAll();
        Flush();
        EXPECT_EQ(main_->DispatchConfig(*json::ParseObject(c.document), c.start), c.routed) << c.document;
        if (c.routed) {
            ASSERT_EQ(WindowCount(), 1) << c.document;
            EXPECT_EQ(main_->deviceWindows().front()->deviceTag(), c.windowTag) << c.document;
            EXPECT_EQ(main_->currentDeviceType(), c.windowTag) << c.document;
        } else {
            EXPECT_EQ(WindowCount(), 0) << c.document;
            EXPECT_EQ(main_->currentDeviceType(), kNoDevice) << c.document;
        }
    }
    EXPECT_TRUE(dialogs_.Shown().empty());
}

TEST_F(MainWindowTest, AWindowThatRejectsADocumentSaysWhyAndStaysOpen)
{
    DeviceWindowOverride vantor(kVantorTag,
                                [](QWidget *parent) { return new DocumentWindow(kVantorTag, parent); });
    EXPECT_TRUE(main_->DispatchConfig(*json::ParseObject(R"({"vantor5":{"n":"ok"}})"), 0));
    EXPECT_TRUE(main_->DispatchConfig(*json::ParseObject(R"({"vantor5":{"reject":true}})"), 0));

    EXPECT_EQ(dialogs_.Texts(Kind::Error), QStringList{QStringLiteral("Некорректная конфигурация")});
    ASSERT_EQ(WindowCount(), 1);
    // It keeps what it had loaded.
    EXPECT_EQ(main_->deviceWindows().front()->keptConfig()->at("vantor5").at("n"), "ok");
}

TEST_F(MainWindowTest, SavedFileOpensToTheSameDocument)
{
    DeviceWindowOverride vantor(kVantorTag,
                                [](QWidget *parent) { return new DocumentWindow(kVantorTag, parent); });
    const char *text =
        R"({"vantor5":{"n":"Узел «Центр»","en":true,"tz":180,"lat":55.751244,"groups":[{"t":0,)"
        R"("heads":[1,2]},{"t":30}],"empty":{},"none":[]}})";
    const auto document = *json::ParseObject(text);
    main_->DispatchConfig(document, 0);

    dialogs_.ChooseNextFile(Path("saved.vt5"));
    main_->findChild<QAction *>(QStringLiteral("actSaveAs"))->trigger();
    const auto saveDialog = dialogs_.Take();
    ASSERT_EQ(saveDialog.size(), 1u);
    EXPECT_EQ(saveDialog[0].kind, Kind::SaveFile);
    EXPECT_EQ(saveDialog[0].caption, QStringLiteral("Сохранить конфигурацию в..."));
    EXPECT_EQ(saveDialog[0].text, QStringLiteral("Файлы конфигурации Vantor-5 (*.vt5)"));
    EXPECT_EQ(saveDialog[0].detail, QStringLiteral("vt5"));

    // The file holds the indented layout, scrambled.
    const auto bytes = ReadWholeFile(Path("saved.vt5"));
    ASSERT_TRUE(bytes);
    EXPECT_EQ(UnscrambleText(*bytes), json::RenderIndented(document));

    // Opened in a fresh run, it gives the same document byte for byte.
    main_->CloseAll();
    Flush();
    dialogs_.ChooseNextFile(Path("saved.vt5"));
    main_->findChild<QAction *>(QStringLiteral("actOpen"))->trigger();
    ASSERT_EQ(WindowCount(), 1);
    const auto reopened = main_->deviceWindows().front()->GetConfigJson();
    ASSERT_TRUE(reopened);
    EXPECT_EQ(json::RenderIndented(*reopened), json::RenderIndented(document));
    EXPECT_EQ(json::RenderCompact(*reopened), json::RenderCompact(document));
    const auto openDialog = dialogs_.Take();
    ASSERT_EQ(openDialog.size(), 1u);
    EXPECT_EQ(openDialog[0].kind, Kind::OpenFile);
    EXPECT_EQ(openDialog[0].caption, QStringLiteral("Открыть конфигурацию..."));
}

TEST_F(MainWindowTest, NothingIsWrittenWithoutADocumentToSave)
{
    QAction *saveAs = main_->findChild<QAction *>(QStringLiteral("actSaveAs"));
    EXPECT_FALSE(saveAs->isEnabled());
    EXPECT_FALSE(main_->SaveConfigFile(Path("none.vt5")));

    // A bare device window has nothing to save.
    DeviceWindowOverride bare(kPelmarTag, [](QWidget *parent) { return new TfmBaseMDI(kPelmarTag, parent); });
    main_->NewConfiguration(kPelmarTag);
    EXPECT_TRUE(saveAs->isEnabled());
    dialogs_.ChooseNextFile(Path("bare.vt5"));
    saveAs->trigger();
    EXPECT_FALSE(QFile::exists(Path("bare.vt5")));
    EXPECT_FALSE(QFile::exists(Path("none.vt5")));
    EXPECT_TRUE(dialogs_.Texts(Kind::Error).isEmpty());

    // A cancelled dialog writes nothing either.
    DeviceWindowOverride vantor(kVantorTag,
                                [](QWidget *parent) { return new DocumentWindow(kVantorTag, parent); });
    main_->DispatchConfig(*json::ParseObject(R"({"vantor5":{}})"), 0);
    saveAs->trigger(); // no file chosen
    EXPECT_EQ(QDir(home_.path()).entryList({QStringLiteral("*.vt5")}, QDir::Files), QStringList());
}

TEST_F(MainWindowTest, AFailedSaveIsReported)
{
    DeviceWindowOverride vantor(kVantorTag,
                                [](QWidget *parent) { return new DocumentWindow(kVantorTag, parent); });
    main_->DispatchConfig(*json::ParseObject(R"({"vantor5":{"n":1}})"), 0);
    EXPECT_FALSE(main_->SaveConfigFile(Path("missing-folder/x.vt5")));
    const QStringList errors = dialogs_.Texts(Kind::Error);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("Не удалось сохранить файл"))) << errors[0].toStdString();
}

TEST_F(MainWindowTest, FilesThatHoldNoConfigurationAreReportedAndOpenNothing)
{
    const QByteArray garbage = "this is not a configuration";
    ASSERT_TRUE(
        WriteFileAtomically(Path("garbage.vt5"), std::string_view(garbage.constData(), garbage.size())));
    WriteDocument("unknown.vt5", R"({"other":{}})");
    const std::string array = ScrambleText("[1,2]");
    ASSERT_TRUE(WriteFileAtomically(Path("array.vt5"), array));

    for (const char *name : {"garbage.vt5", "unknown.vt5", "array.vt5", "absent.vt5"})
        EXPECT_FALSE(main_->OpenConfigFile(Path(name))) << name;
    EXPECT_EQ(WindowCount(), 0);
    const QStringList errors = dialogs_.Texts(Kind::Error);
    ASSERT_EQ(errors.size(), 4);
    for (const QString &error : errors)
        EXPECT_TRUE(error.contains(home_.path())) << error.toStdString(); // names the file
}

TEST_F(MainWindowTest, TabStripShowsOnlyWithTwoOrMoreWindows)
{
    QWidget *panel = main_->tabPanel();
    EXPECT_EQ(panel->objectName(), QStringLiteral("pTabs"));
    EXPECT_FALSE(panel->isVisible());

    main_->NewConfiguration(kVantorTag);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(main_->tabStrip()->count(), 1);

    main_->NewConfiguration(kNavetTag);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(main_->tabStrip()->count(), 2);
    EXPECT_EQ(main_->tabStrip()->tabText(1), QStringLiteral("Конфигурация Navet"));
    EXPECT_EQ(main_->tabStrip()->currentIndex(), 1);

    main_->deviceWindows().back()->parentWidget()->close(); // its QMdiSubWindow
    Flush();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(main_->tabStrip()->count(), 1);
    EXPECT_EQ(main_->tabStrip()->tabText(0), QStringLiteral("Новая конфигурация"));
}

TEST_F(MainWindowTest, ClosingAllWindowsClearsTheDeviceTypeAndTheCaption)
{
    main_->NewConfiguration(kOrsinTag);
    main_->NewConfiguration(kRudexTag);
    EXPECT_EQ(main_->windowTitle(), QStringLiteral("Конфигуратор Vantor - 5 - Контроллер электросчетчиков"));
    EXPECT_EQ(main_->currentDeviceType(), kRudexTag);

    main_->findChild<QAction *>(QStringLiteral("actCloseAll"))->trigger();
    Flush();
    EXPECT_EQ(WindowCount(), 0);
    EXPECT_EQ(main_->tabStrip()->count(), 0);
    EXPECT_EQ(main_->currentDeviceType(), kNoDevice);
    EXPECT_EQ(main_->windowTitle(), QStringLiteral("Конфигуратор Vantor - 5"));
    EXPECT_FALSE(main_->findChild<QAction *>(QStringLiteral("actCloseAll"))->isEnabled());
}

} // namespace

namespace {

class UnsavedChangesTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        override_.emplace(kVantorTag, [](QWidget *parent) { return new DocumentWindow(kVantorTag, parent); });
        window_ = static_cast<DocumentWindow *>(main_->NewConfiguration(kVantorTag));
    }
    void Edit() { window_->document()["vantor5"]["n"] = "Изменено"; }
    QMdiSubWindow *Sub() const { return qobject_cast<QMdiSubWindow *>(window_->parentWidget()); }

    std::optional<DeviceWindowOverride> override_;
    DocumentWindow *window_ = nullptr;
};

TEST_F(UnsavedChangesTest, AnUntouchedOrSavedWindowClosesWithoutAQuestion)
{
    EXPECT_FALSE(window_->IsModified());
    Edit();
    EXPECT_TRUE(window_->IsModified());
    ASSERT_TRUE(main_->SaveConfigFile(Path("saved.vt5")));
    EXPECT_FALSE(window_->IsModified());
    Sub()->close();
    Flush();
    EXPECT_EQ(WindowCount(), 0);
    EXPECT_TRUE(dialogs_.Shown().empty());

    // A new, untouched window has nothing to lose.
    main_->NewConfiguration(kNavetTag);
    main_->CloseAll();
    Flush();
    EXPECT_EQ(WindowCount(), 0);
    EXPECT_TRUE(dialogs_.Shown().empty());
}

TEST_F(UnsavedChangesTest, ClosingAModifiedWindowAsksAndHonoursTheAnswer)
{
    Edit();
    // "Отмена": the window stays, and so does the main window.
    dialogs_.AnswerNext(QMessageBox::Cancel);
    EXPECT_FALSE(main_->close());
    Flush();
    EXPECT_EQ(WindowCount(), 1);
    EXPECT_TRUE(main_->isVisible());
    const QStringList questions = dialogs_.Texts(Kind::Question);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_EQ(questions[0], QStringLiteral("Конфигурация «Vantor-5» изменена.\nСохранить изменения?"));

    // "Да", then the file dialog cancelled: nothing saved, the window stays.
    dialogs_.AnswerNext(QMessageBox::Yes);
    Sub()->close();
    Flush();
    EXPECT_EQ(WindowCount(), 1);

    // "Да" with a file: saved, then closed.
    dialogs_.AnswerNext(QMessageBox::Yes);
    dialogs_.ChooseNextFile(Path("kept.vt5"));
    Sub()->close();
    Flush();
    EXPECT_EQ(WindowCount(), 0);
    const auto saved = ReadConfigFile(Path("kept.vt5"));
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->at("vantor5").at("n"), "Изменено");
}

TEST_F(UnsavedChangesTest, NoDropsTheChanges)
{
    Edit();
    main_->NewConfiguration(kPelmarTag);
    dialogs_.AnswerNext(QMessageBox::No);
    EXPECT_TRUE(main_->CloseAll());
    Flush();
    EXPECT_EQ(WindowCount(), 0);
    EXPECT_EQ(dialogs_.Texts(Kind::Question).size(), 1);
    EXPECT_EQ(QDir(home_.path()).entryList({QStringLiteral("*.vt5")}, QDir::Files), QStringList());
}

} // namespace
