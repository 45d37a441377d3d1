// The window as a whole: opening the example intersection, documents that cannot be
// taken over whole, the developer pages "Схема" and "Конфигурация", and the model
// library test button.
#include "VantorWindowFixture.h"

#include "FakeModel.h"

#include "app/ConfigFile.h"
#include "app/FileIo.h"
#include "controller_editor/BlocksPage.h"
#include "controller_editor/ConfigTextPage.h"
#include "controller_editor/SchemePage.h"
#include "controller_editor/UVantorBlockFrame.h"
#include "models/ModelLibrary.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace vantor::test {
namespace {

QString Example(const char *name)
{
    return SourceDir() + QStringLiteral("/examples/") + QString::fromLatin1(name);
}

class WindowTest : public VantorWindowTest {
protected:
    QString Path(const char *name) const { return home_.path() + QLatin1Char('/') + QString::fromUtf8(name); }

    void LoadExample()
    {
        const auto root = ReadConfigFile(Example("crossroad.vt5"));
        ASSERT_TRUE(root.has_value());
        QString message;
        ASSERT_TRUE(window_->LoadConfigJson(*root, message)) << message.toStdString();
    }

    ConfigTextPage &ConfigPage()
    {
        return *static_cast<ConfigTextPage *>(window_->PageWidget(TfmConfVantor::kConfigPage));
    }
};

TEST_F(WindowTest, TheExampleIntersectionOpensOnEveryPage)
{
    LoadExample();
    const auto root = ReadConfigFile(Example("crossroad.vt5"));
    EXPECT_TRUE(dialogs_.Shown().empty()); // everything was taken over
    EXPECT_EQ(window_->windowTitle(), QString::fromStdString(root->at("vantor5").at("n").get<std::string>()));

    auto *groups = Find<QAbstractItemView>("vtSigGroups");
    EXPECT_EQ(groups->model()->rowCount(), static_cast<int>(root->at("vantor5").at("sig_groups").size()));
    window_->ShowPage(TfmConfVantor::kBlocksPage);
    const auto frames =
        static_cast<BlocksPage *>(window_->PageWidget(TfmConfVantor::kBlocksPage))->BlockFrames();
    EXPECT_EQ(frames.size(), root->at("vantor5").at("blocks").size());
    // Every head of the example is wired.
    for (TTrendGroup *group : Config().Groups)
        for (TSemaphoreObject *head : group->Heads)
            EXPECT_TRUE(head->HasAnyOutput()) << head->NameOrDefault();

    // The loaded document is shown as it came, and the drawing is rendered.
    QString shown = ConfigPage().Text();
    shown.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    EXPECT_EQ(shown.toStdString(), json::RenderIndented(*root));
    EXPECT_TRUE(static_cast<SchemePage *>(window_->PageWidget(TfmConfVantor::kSchemePage))->HasPicture());

    // Nothing changed by opening: the window holds the document it was given
    // (apart from the date of writing).
    json::Json written = *window_->GetConfigJson();
    json::Json expected = *root;
    written["vantor5"].erase("date");
    expected["vantor5"].erase("date");
    EXPECT_EQ(written, expected);
    EXPECT_FALSE(window_->IsModified());
}

TEST_F(WindowTest, AnUnknownBlockModelIsReportedAndDropped)
{
    const auto root = json::ParseObject(
        R"({"vantor5":{"n":"Склад","outs_controls":[],)"
        R"("blocks":[{"n":"Неизвестный","i":1,"m":999,"outs":[]},{"n":"Силовой","i":2,"m":16,"outs":[]}],)"
        R"("sig_group_types":[{"type":1}],"connects":[{"con":[[1,1],[1,2],[1,3]]},{"con":[[2,1],[],[]]}],)"
        R"("semaphores":[{"n":"А","con":1},{"n":"Б","con":2}],)"
        R"("sig_groups":[{"ti":1,"semaphores":[1,2]}]}})");
    QString message;
    ASSERT_TRUE(window_->LoadConfigJson(*root, message));
    const QStringList warnings = dialogs_.Texts(ScriptedDialogs::Kind::Warning);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains("Неизвестный")) << warnings[0].toStdString();
    ASSERT_EQ(Config().Blocks.Count(), 1);
    EXPECT_EQ(Config().Blocks[0]->Name, "Силовой");
    TTrendGroup *group = Config().Groups[0];
    EXPECT_FALSE(group->Heads[0]->HasAnyOutput()); // wired to the dropped block
    EXPECT_EQ(group->Heads[1]->Output(kLampRed), Config().Blocks[0]->Output(0));
    window_->ShowPage(TfmConfVantor::kBlocksPage);
    EXPECT_EQ(Find<QTabWidget>("pgcBlocks")->count(), 1);
}

TEST_F(WindowTest, DeveloperPagesAppearOnRequest)
{
    EXPECT_FALSE(window_->IsPageVisible(TfmConfVantor::kSchemePage));
    EXPECT_FALSE(window_->IsPageVisible(TfmConfVantor::kConfigPage));
    QTest::keyClick(Find<QWidget>("tsGeneral"), Qt::Key_D, Qt::ControlModifier);
    EXPECT_TRUE(window_->IsPageVisible(TfmConfVantor::kConfigPage));
    EXPECT_FALSE(window_->IsPageVisible(TfmConfVantor::kSchemePage));

    qputenv("VANTOR5_DEBUG", "1");
    TfmConfVantor debug;
    qunsetenv("VANTOR5_DEBUG");
    EXPECT_TRUE(debug.IsPageVisible(TfmConfVantor::kSchemePage));
    EXPECT_TRUE(debug.IsPageVisible(TfmConfVantor::kConfigPage));
}

TEST_F(WindowTest, TheConfigurationPageChecksSavesAndOpensJson)
{
    Config().Name = "Кольцо \"Северное\"";
    window_->ShowPage(TfmConfVantor::kConfigPage);
    QTest::mouseClick(Find<QPushButton>("btnCheckConfig"), Qt::LeftButton);
    EXPECT_TRUE(ConfigPage().Text().contains("\"n\": \"Кольцо \\\"Северное\\\"\""));

    // Saved in UTF-8 as shown, and opened again into the window.
    const QString file = Path("кольцо.json");
    dialogs_.ChooseNextFile(file);
    QTest::mouseClick(Find<QPushButton>("btnSaveConfig"), Qt::LeftButton);
    const auto saved = ReadWholeFile(file);
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(*saved, json::RenderIndented(*window_->GetConfigJson()));
    const auto entries = dialogs_.Take();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].caption, "Сохранить конфигурацию...");
    EXPECT_EQ(entries[0].text, "Файлы конфигурации Vantor5 (*.json)");

    Config().Name = "Другое";
    dialogs_.ChooseNextFile(file);
    QTest::mouseClick(Find<QPushButton>("btnOpenConfig"), Qt::LeftButton);
    EXPECT_EQ(Config().Name, "Кольцо \"Северное\"");
    EXPECT_EQ(window_->windowTitle(), "Кольцо \"Северное\"");
    EXPECT_EQ(dialogs_.Take().at(0).caption, "Открыть конфигурацию...");

    // A file that is not JSON, and a document of another device, change nothing.
    const struct {
        const char *name, *content, *error;
    } bad[] = {
        {"broken.json", "{\"vantor5\": {", "не является конфигурацией в формате JSON"},
        {"navet.json", "{\"navet\": {}}", "Некорректная конфигурация"},
    };
    for (const auto &b : bad) {
        ASSERT_TRUE(WriteFileAtomically(Path(b.name), b.content));
        dialogs_.ChooseNextFile(Path(b.name));
        QTest::mouseClick(Find<QPushButton>("btnOpenConfig"), Qt::LeftButton);
        const QStringList errors = dialogs_.Texts(ScriptedDialogs::Kind::Error);
        ASSERT_EQ(errors.size(), 1) << b.name;
        EXPECT_TRUE(errors[0].contains(QString::fromUtf8(b.error))) << errors[0].toStdString();
        dialogs_.Take();
        EXPECT_EQ(Config().Name, "Кольцо \"Северное\"");
    }
}

TEST_F(WindowTest, TheSchemePageLoadsOnlyDrawings)
{
    auto &scheme = *static_cast<SchemePage *>(window_->PageWidget(TfmConfVantor::kSchemePage));
    window_->ShowPage(TfmConfVantor::kSchemePage);
    EXPECT_FALSE(scheme.HasPicture());

    const char *svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\">\r\n"
                      "<rect x=\"10\" y=\"10\" width=\"80\" height=\"80\" fill=\"#888\"/>\r\n</svg>\r\n";
    ASSERT_TRUE(WriteFileAtomically(Path("cross.svg"), svg));
    dialogs_.ChooseNextFile(Path("cross.svg"));
    QTest::mouseClick(Find<QPushButton>("btnLoadScheme"), Qt::LeftButton);
    EXPECT_TRUE(scheme.HasPicture());
    EXPECT_EQ(Config().Scheme.size(), 3u);
    EXPECT_EQ(Config().Scheme[1], "<rect x=\"10\" y=\"10\" width=\"80\" height=\"80\" fill=\"#888\"/>");
    EXPECT_EQ(Document()["geo"]["scheme"], std::string(svg));
    EXPECT_EQ(dialogs_.Take().at(0).caption, "Выберите схему...");

    // Not a drawing: refused, the drawing stays.
    ASSERT_TRUE(WriteFileAtomically(Path("notes.svg"), "Это не схема"));
    dialogs_.ChooseNextFile(Path("notes.svg"));
    QTest::mouseClick(Find<QPushButton>("btnLoadScheme"), Qt::LeftButton);
    EXPECT_EQ(dialogs_.Texts(ScriptedDialogs::Kind::Error).size(), 1);
    EXPECT_EQ(Config().Scheme.size(), 3u);
    EXPECT_TRUE(scheme.HasPicture());
    // The picture follows the window's size.
    window_->resize(1400, 900);
    QApplication::processEvents();
    EXPECT_TRUE(scheme.HasPicture());
}

TEST_F(WindowTest, TheTestButtonOpensAndClosesTheModelEveryTime)
{
    FakeModel fake;
    ASSERT_TRUE(fake.IsLoaded());
    ModelLibrary::SetCurrent(&fake.Library());
    LoadExample();
    window_->ShowPage(TfmConfVantor::kSchemePage);
    auto *button = Find<QPushButton>("TntButton1");
    EXPECT_EQ(button->text(), "TntButton1");
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(fake.Log(), "open nextAll close open nextAll close");
    EXPECT_EQ(fake.OpenedText(), json::RenderCompact(window_->GetConfigJson()->at("vantor5")));

    fake.Reset(VANTOR_MODEL_NO_SOS);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(fake.Log(), "open close");
    EXPECT_TRUE(dialogs_.Shown().empty()); // nothing is shown to the user
    ModelLibrary::SetCurrent(nullptr);
}

} // namespace
} // namespace vantor::test
