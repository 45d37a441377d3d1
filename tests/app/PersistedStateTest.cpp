// The settings stores: connection settings (XML), programmer settings (ini), the
// window-placement store, and the program folders they live in.
#include "app/AppDataPaths.h"
#include "app/FileIo.h"
#include "app/IniFile.h"
#include "app/Settings.h"
#include "app/XmlAppStorage.h"
#include "app/pr_sets.h"

#include "TempHome.h"
#include "TestPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace vantor;

namespace {

QString ReadText(const QString &path)
{
    return QString::fromStdString(test::ReadFileOrFail(path));
}

void WriteText(const QString &path, const QString &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray bytes = text.toUtf8();
    ASSERT_TRUE(WriteFileAtomically(path, std::string_view(bytes.constData(), bytes.size())));
}

// --- program folders ---

TEST(AppDataPaths, ProgramFoldersAreCreatedUnderTheDataFolders)
{
    test::TempHome home;
    const QString user = UserProgramFolder(QStringLiteral("vantor5"));
    EXPECT_EQ(user, home.dataHome() + QStringLiteral("/Morvane Ltd/vantor5/"));
    EXPECT_TRUE(QFileInfo(user).isDir());
    const QString shared = SharedProgramFolder(QStringLiteral("vantor5"));
    EXPECT_EQ(shared, home.sharedData() + QStringLiteral("/Morvane Ltd/vantor5/"));
    EXPECT_TRUE(QFileInfo(shared).isDir());
}

TEST(AppDataPaths, AFolderThatCannotBeCreatedStopsWithItsPath)
{
    test::TempHome home;
    // A file where the maker's folder should be.
    WriteText(home.dataHome() + QStringLiteral("/Morvane Ltd"), QStringLiteral("x"));
    try {
        UserProgramFolder(QStringLiteral("vantor5"));
        FAIL() << "no exception";
    } catch (const EAppDataPath &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Can not get app data path: ") + home.dataHome() +
                                   QStringLiteral("/Morvane Ltd/vantor5/"));
    }
}

// --- connection settings ---

class TSettingsTest : public ::testing::Test {
protected:
    QString File() const { return home_.path() + QStringLiteral("/vantor5.xml"); }
    test::TempHome home_;
};

TEST_F(TSettingsTest, MissingFileGivesDefaultsAndSaveWritesTheMarkedDocument)
{
    TSettings settings(File());
    EXPECT_TRUE(settings.Load());
    EXPECT_EQ(settings.ComIntervalDelay(), 1000);
    EXPECT_EQ(settings.ComConnectTryCount(), 5);
    EXPECT_FALSE(QFile::exists(File()));

    ASSERT_TRUE(settings.Save());
    const QString text = ReadText(File());
    EXPECT_TRUE(text.startsWith(QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>")))
        << text.toStdString();
    EXPECT_TRUE(
        text.contains(QStringLiteral("<!--\r\n***********************************\r\n*\r\n*  DON'T MODIFY "
                                     "THIS FILE\r\n*\r\n***********************************\r\n-->")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("<Root>")));
    EXPECT_TRUE(text.contains(QStringLiteral("<ComIntervalDelay>1000</ComIntervalDelay>")));
    EXPECT_TRUE(text.contains(QStringLiteral("<ComConnectTryCount>5</ComConnectTryCount>")));
}

TEST_F(TSettingsTest, ValuesSurviveSaveAndLoadAndOnlyRealChangesMarkModified)
{
    TSettings settings(File());
    settings.SetComIntervalDelay(1000); // the same value
    settings.SetComConnectTryCount(5);
    EXPECT_FALSE(settings.Modified());
    settings.SetComIntervalDelay(2500);
    EXPECT_TRUE(settings.Modified());
    settings.SetComConnectTryCount(100);
    ASSERT_TRUE(settings.Save());
    EXPECT_FALSE(settings.Modified());

    TSettings again(File());
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(again.ComIntervalDelay(), 2500);
    EXPECT_EQ(again.ComConnectTryCount(), 100);
    EXPECT_FALSE(again.Modified());
}

TEST_F(TSettingsTest, DamagedOrOddFilesKeepTheDefaults)
{
    const struct {
        const char *name;
        const char *text;
        bool loads;
        int delay;
        int tries;
    } cases[] = {
        {"not xml", "garbage <<<", false, 1000, 5},
        {"wrong root", "<?xml version=\"1.0\"?><Other/>", false, 1000, 5},
        {"cut off", "<?xml version=\"1.0\"?><Root><ComIntervalDelay>300</ComInt", false, 1000, 5},
        {"value out of type range",
         "<Root><ComIntervalDelay>70000</ComIntervalDelay>"
         "<ComConnectTryCount>300</ComConnectTryCount></Root>",
         true, 1000, 5},
        {"not numbers", "<Root><ComIntervalDelay>soon</ComIntervalDelay></Root>", true, 1000, 5},
        {"unknown elements and one value",
         "<Root><Extra><A>1</A></Extra><ComConnectTryCount>9</ComConnectTryCount>"
         "</Root>",
         true, 1000, 9},
    };
    for (const auto &c : cases) {
        WriteText(File(), QString::fromUtf8(c.text));
        TSettings settings(File());
        QString error;
        EXPECT_EQ(settings.Load(&error), c.loads) << c.name;
        EXPECT_EQ(error.isEmpty(), c.loads) << c.name;
        EXPECT_EQ(settings.ComIntervalDelay(), c.delay) << c.name;
        EXPECT_EQ(settings.ComConnectTryCount(), c.tries) << c.name;
    }
}

// --- ini files ---

TEST(IniFile, ReadsLikeTheClassicReaderAndKeepsWhatItDoesNotOwn)
{
    IniFile ini = IniFile::FromText(QStringLiteral("; written by another tool\r\n"
                                                   "[Other]\r\nKey=keep me\r\n\r\n"
                                                   "[mainform]\r\n left = 12 \r\nHex=0x1F\r\nDollar=$10\r\n"
                                                   "Bool0=0\r\nBool5=5\r\nWord=true\r\nJunk=abc\r\n"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("MainForm"), QStringLiteral("Left"), -1), 12);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("MainForm"), QStringLiteral("Hex"), -1), 31);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("MainForm"), QStringLiteral("Dollar"), -1), 16);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("MainForm"), QStringLiteral("Junk"), -1), -1);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("MainForm"), QStringLiteral("Missing"), 7), 7);
    EXPECT_FALSE(ini.ReadBool(QStringLiteral("MainForm"), QStringLiteral("Bool0"), true));
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("MainForm"), QStringLiteral("Bool5"), false));
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("MainForm"), QStringLiteral("Word"), false));
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("MainForm"), QStringLiteral("Junk"), true));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Other"), QStringLiteral("Left"), QStringLiteral("none")),
              QStringLiteral("none")); // keys belong to their section

    ini.WriteInteger(QStringLiteral("MAINFORM"), QStringLiteral("LEFT"), 40);
    ini.WriteBool(QStringLiteral("MainForm"), QStringLiteral("New"), true);
    ini.WriteString(QStringLiteral("USB"), QStringLiteral("Path"), QStringLiteral("Папка\nс переводом"));
    EXPECT_EQ(ini.ToText(), QStringLiteral("; written by another tool\r\n"
                                           "[Other]\r\nKey=keep me\r\n\r\n"
                                           "[mainform]\r\nLEFT=40\r\nHex=0x1F\r\nDollar=$10\r\n"
                                           "Bool0=0\r\nBool5=5\r\nWord=true\r\nJunk=abc\r\nNew=1\r\n"
                                           "\r\n[USB]\r\nPath=Папка с переводом\r\n"));
}

// --- programmer settings ---

class TProgSettingsTest : public ::testing::Test {
protected:
    QString ProgramDir() const { return home_.path() + QStringLiteral("/bin/"); }
    void SetUp() override { QDir().mkpath(ProgramDir()); }
    test::TempHome home_;
};

TEST_F(TProgSettingsTest, IniIsBesideTheProgramUnlessThePerUserVantorFolderExists)
{
    EXPECT_EQ(TProgSettings::LocateIniFile(home_.dataHome(), ProgramDir()),
              ProgramDir() + QStringLiteral("bprog.ini"));

    // Our own program folder is not the programmer's folder.
    QDir().mkpath(home_.dataHome() + QStringLiteral("/Morvane Ltd/vantor5"));
    EXPECT_EQ(TProgSettings::LocateIniFile(home_.dataHome(), ProgramDir()),
              ProgramDir() + QStringLiteral("bprog.ini"));

    // The folder is spelled "Morvane LTD\Vantor"; any case matches, as it did where
    // the name came from.
    QDir().mkpath(home_.dataHome() + QStringLiteral("/Morvane Ltd/VANTOR"));
    EXPECT_EQ(TProgSettings::LocateIniFile(home_.dataHome(), ProgramDir()),
              home_.dataHome() + QStringLiteral("/Morvane Ltd/VANTOR/bprog.ini"));
}

TEST_F(TProgSettingsTest, MissingFileGivesDefaultsAndIsCreatedWithEveryKey)
{
    const QString file = TProgSettings::LocateIniFile(home_.dataHome(), ProgramDir());
    TProgSettings settings(file);
    EXPECT_TRUE(settings.Load());
    EXPECT_EQ(settings.MainForm().Left(), -1);
    EXPECT_EQ(settings.MainForm().Height(), -1);
    EXPECT_FALSE(settings.MainForm().Maximized());
    EXPECT_EQ(settings.MainForm().ConnectType(), 0);
    EXPECT_TRUE(settings.MainForm().Log());
    EXPECT_TRUE(settings.MainForm().AutoUpdateDevList());
    EXPECT_EQ(settings.MainForm().LastDir(), QString());
    EXPECT_EQ(settings.USB().Timeout(), 5000);
    EXPECT_EQ(settings.USB().VID(), 4098);
    EXPECT_EQ(settings.USB().PID(), 26214);

    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(ReadText(file),
              QStringLiteral("[MainForm]\r\nLeft=-1\r\nTop=-1\r\nWidth=-1\r\nHeight=-1\r\n"
                             "Maximized=0\r\nConnectType=0\r\nLog=1\r\nAutoUpdateDevList=1\r\n"
                             "LastDir=\r\n\r\n[USB]\r\nTimeout=5000\r\nVID=4098\r\nPID=26214\r\n"));
}

TEST_F(TProgSettingsTest, ValuesChangedDuringTheRunReachTheFileAndForeignKeysStay)
{
    const QString file = ProgramDir() + QStringLiteral("bprog.ini");
    WriteText(file, QStringLiteral("[MainForm]\r\nLog=0\r\nLastDir=/home/инженер/прошивки\r\nTheme=dark\r\n"
                                   "[USB]\r\nVID=$1234\r\n[Programmer]\r\nPort=ttyUSB0\r\n"));
    TProgSettings settings(file);
    ASSERT_TRUE(settings.Load());
    EXPECT_FALSE(settings.MainForm().Log());
    EXPECT_EQ(settings.MainForm().LastDir(), QStringLiteral("/home/инженер/прошивки"));
    EXPECT_EQ(settings.USB().VID(), 0x1234);
    EXPECT_EQ(settings.USB().PID(), 26214);
    EXPECT_FALSE(settings.Modified());

    settings.MainForm().SetLog(false); // unchanged
    EXPECT_FALSE(settings.Modified());
    settings.MainForm().SetAutoUpdateDevList(false);
    EXPECT_TRUE(settings.Modified());
    settings.MainForm().SetLastDir(QStringLiteral("/srv/fw"));
    ASSERT_TRUE(settings.Save());

    TProgSettings again(file);
    ASSERT_TRUE(again.Load());
    EXPECT_FALSE(again.MainForm().AutoUpdateDevList());
    EXPECT_EQ(again.MainForm().LastDir(), QStringLiteral("/srv/fw"));
    EXPECT_EQ(again.USB().VID(), 0x1234);
    const auto ini = IniFile::Load(file);
    ASSERT_TRUE(ini);
    EXPECT_EQ(ini->ReadString(QStringLiteral("MainForm"), QStringLiteral("Theme"), {}),
              QStringLiteral("dark"));
    EXPECT_EQ(ini->ReadString(QStringLiteral("Programmer"), QStringLiteral("Port"), {}),
              QStringLiteral("ttyUSB0"));
}

TEST_F(TProgSettingsTest, AnUnwritableProgramFolderSendsTheFileToThePerUserFolder)
{
    // The program folder is a file here, so nothing can be written into it.
    const QString blocked = home_.path() + QStringLiteral("/blocked");
    WriteText(blocked, QStringLiteral("x"));
    TProgSettings settings(TProgSettings::LocateIniFile(home_.dataHome(), blocked + QStringLiteral("/")));
    ASSERT_TRUE(settings.Load());
    settings.USB().SetTimeout(800);
    QString error;
    ASSERT_TRUE(settings.Save(&error)) << error.toStdString();

    const QString expected = home_.dataHome() + QStringLiteral("/Morvane Ltd/Vantor/bprog.ini");
    EXPECT_EQ(settings.FileName(), expected);
    // The next run finds it there.
    EXPECT_EQ(TProgSettings::LocateIniFile(home_.dataHome(), blocked + QStringLiteral("/")), expected);
    TProgSettings next(expected);
    ASSERT_TRUE(next.Load());
    EXPECT_EQ(next.USB().Timeout(), 800);
}

// --- window placement store ---

TEST(XmlAppStorage, ValuesRoundTripUnderTheConfigurationRoot)
{
    test::TempHome home;
    const QString file = home.path() + QStringLiteral("/ViewSchema.xml");
    XmlAppStorage store(file);
    ASSERT_TRUE(store.Load()); // missing file: empty store
    store.WriteInteger(QStringLiteral("fmMain\\Left"), -20);
    store.WriteBoolean(QStringLiteral("fmMain\\Maximized"), true);
    store.SetValue(QStringLiteral("fm Main<2>\\Caption"), QStringLiteral("Окно & <всё>"));
    ASSERT_TRUE(store.Save());

    const QString text = ReadText(file);
    EXPECT_TRUE(text.contains(QStringLiteral("<Configuration>"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("<fm_Main_2_>"))) << text.toStdString();

    XmlAppStorage again(file);
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(again.ReadInteger(QStringLiteral("fmMain\\Left"), 0), -20);
    EXPECT_TRUE(again.ReadBoolean(QStringLiteral("fmMain\\Maximized"), false));
    EXPECT_EQ(again.Value(QStringLiteral("fm Main<2>\\Caption")), QStringLiteral("Окно & <всё>"));
    EXPECT_EQ(again.ReadInteger(QStringLiteral("fmMain\\Top"), 77), 77);
}

TEST(XmlAppStorage, BooleanTextsAndDamagedFiles)
{
    test::TempHome home;
    const QString file = home.path() + QStringLiteral("/ViewSchema.xml");
    WriteText(file, QStringLiteral("<Configuration><f><a>yes</a><b>Y</b><c>n</c><d>False</d><e>maybe</e></f>"
                                   "</Configuration>"));
    XmlAppStorage store(file);
    ASSERT_TRUE(store.Load());
    EXPECT_TRUE(store.ReadBoolean(QStringLiteral("f\\a"), false));
    EXPECT_TRUE(store.ReadBoolean(QStringLiteral("f\\b"), false));
    EXPECT_FALSE(store.ReadBoolean(QStringLiteral("f\\c"), true));
    EXPECT_FALSE(store.ReadBoolean(QStringLiteral("f\\d"), true));
    EXPECT_TRUE(store.ReadBoolean(QStringLiteral("f\\e"), true));

    WriteText(file, QStringLiteral("<Configuration><f><a>1</a>"));
    QString error;
    EXPECT_FALSE(store.Load(&error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(store.Value(QStringLiteral("f\\a")), std::nullopt);
}

} // namespace
