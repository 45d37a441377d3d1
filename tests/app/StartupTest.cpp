// The program's start-up: settings, plug-ins, the model library, the command line.
#include "app/Startup.h"
#include "app/AppDataPaths.h"
#include "app/ConfigFile.h"
#include "app/Settings.h"
#include "app/UBaseMDI.h"
#include "app/UMain.h"
#include "app/UserDialogs.h"
#include "app/pr_sets.h"
#include "models/VantorModels.h"

#include "TempHome.h"
#include "TestPaths.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace vantor;

namespace {

using Kind = ScriptedDialogs::Kind;

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(ProgramFolder())); }

    QString ProgramFolder() const { return home_.path() + QStringLiteral("/program/"); }

    // Copies a file of the build into the program folder.
    void Install(const QString &source, const QString &name = {})
    {
        const QString target = ProgramFolder() + (name.isEmpty() ? QFileInfo(source).fileName() : name);
        ASSERT_TRUE(QFile::copy(source, target)) << source.toStdString();
    }
    void InstallModelLibrary() { Install(test::BinDir() + QStringLiteral("/libvantor_model.so")); }

    StartupOptions Options(QStringList arguments = {}) const
    {
        StartupOptions options;
        options.programFolder = ProgramFolder();
        options.arguments = std::move(arguments);
        return options;
    }

    test::TempHome home_;
    ScriptedDialogs dialogs_;
};

TEST_F(StartupTest, AMissingModelLibraryStopsTheStartWithItsReason)
{
    {
        ApplicationSession session;
        EXPECT_FALSE(session.Start(Options()));
        EXPECT_EQ(session.mainWindow(), nullptr);
        const QStringList errors = dialogs_.Texts(Kind::Error);
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors[0].startsWith(QStringLiteral("Не найдена библиотека модели контроллера ") +
                                         ProgramFolder() + QStringLiteral("libvantor_model.so.")))
            << errors[0].toStdString();
    }
    // A file that is not a library fails the same way, with the loader's reason.
    QFile fake(ProgramFolder() + QStringLiteral("libvantor_model.so"));
    ASSERT_TRUE(fake.open(QIODevice::WriteOnly));
    fake.write("not a library");
    fake.close();
    ApplicationSession session;
    EXPECT_FALSE(session.Start(Options()));
    const QStringList errors = dialogs_.Texts(Kind::Error);
    ASSERT_EQ(errors.size(), 2);
    EXPECT_TRUE(errors[1].startsWith(QStringLiteral("Не удалось загрузить библиотеку модели контроллера")))
        << errors[1].toStdString();
}

TEST_F(StartupTest, PluginsLoadWithAnErrorBoxPerBrokenOneAndTheCommandLineOpensAFile)
{
    InstallModelLibrary();
    Install(QStringLiteral(VANTOR_TEST_VDL_DIR "/bad/good.vdl"));
    Install(QStringLiteral(VANTOR_TEST_VDL_DIR "/bad/toonew.vdl"));
    const auto document = json::ParseObject(R"({"sollo":{"n":"Переход"}})");
    ASSERT_TRUE(WriteConfigFile(home_.path() + QStringLiteral("/start.vt5"), *document));

    {
        ApplicationSession session;
        ASSERT_TRUE(session.Start(Options({home_.path() + QStringLiteral("/start.vt5")})));
        TfmMain *main = session.mainWindow();
        ASSERT_NE(main, nullptr);
        EXPECT_TRUE(main->isVisible());
        EXPECT_EQ(main->windowTitle(), QStringLiteral("Конфигуратор Vantor - 5 - Sollo-4"));
        ASSERT_EQ(main->deviceWindows().size(), 1);
        EXPECT_EQ(main->currentDeviceType(), kSolloTag);

        ASSERT_EQ(VantorModels().size(), 1u);
        const auto shown = dialogs_.Take();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].kind, Kind::Error);
        EXPECT_EQ(shown[0].caption, QStringLiteral("Конфигуратор контроллеров Vantor"));
        EXPECT_EQ(shown[0].text, QStringLiteral("Ошибка при загрузке библиотеки toonew.vdl.\r\n"
                                                "Библиотека требует более новую версию конфигуратора."));

        // The settings of the run are where the device programming finds them.
        EXPECT_EQ(TSettings::Current(), main->settings());
        EXPECT_EQ(TSettings::Current()->FileName(), home_.dataHome() + QStringLiteral("/Morvane Ltd/") +
                                                        ProgramName() + QStringLiteral("/") + ProgramName() +
                                                        QStringLiteral(".xml"));
        ASSERT_NE(TProgSettings::Current(), nullptr);
        TProgSettings::Current()->MainForm().SetLastDir(QStringLiteral("/srv/прошивки"));
        main->close();
    }
    // The end of the run writes the programmer settings back, beside the program here.
    EXPECT_TRUE(VantorModels().empty());
    EXPECT_EQ(TProgSettings::Current(), nullptr);
    TProgSettings stored(ProgramFolder() + QStringLiteral("bprog.ini"));
    ASSERT_TRUE(QFile::exists(stored.FileName()));
    ASSERT_TRUE(stored.Load());
    EXPECT_EQ(stored.MainForm().LastDir(), QStringLiteral("/srv/прошивки"));
}

TEST_F(StartupTest, AProgramFolderThatCannotBeCreatedStopsTheStart)
{
    InstallModelLibrary();
    QFile blocker(home_.dataHome() + QStringLiteral("/Morvane Ltd"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ApplicationSession session;
    EXPECT_FALSE(session.Start(Options()));
    const QStringList errors = dialogs_.Texts(Kind::Error);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("Can not get app data path: ") + home_.dataHome()))
        << errors[0].toStdString();
}

} // namespace
