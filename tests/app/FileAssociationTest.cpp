#include "app/FileAssociation.h"

#include "app/FileIo.h"
#include "app/IniFile.h"

#include "TempHome.h"
#include "TestPaths.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace vantor;

namespace {

class FileAssociationTest : public ::testing::Test {
protected:
    const QString program_ = QStringLiteral("/opt/vantor/bin/vantor5");
    test::TempHome home_;
};

TEST_F(FileAssociationTest, RegistrationMakesTheProgramTheDefaultForVt5Files)
{
    const FileAssociation association(program_, QByteArrayLiteral("<svg/>"));
    EXPECT_FALSE(association.IsAssociated());
    QString error;
    ASSERT_TRUE(association.RegisterAssociation(&error)) << error.toStdString();
    EXPECT_TRUE(association.IsAssociated());

    const QString mime = QString::fromStdString(test::ReadFileOrFail(association.MimePackagePath()));
    EXPECT_TRUE(mime.contains(QStringLiteral("<mime-type type=\"application/x-vantor5-project\">")));
    EXPECT_TRUE(mime.contains(QStringLiteral("<glob pattern=\"*.vt5\"/>")));
    EXPECT_TRUE(mime.contains(QStringLiteral("Конфигуратор дорожных контроллеров Vantor5")));

    const auto entry = IniFile::Load(association.DesktopEntryPath());
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->ReadString(QStringLiteral("Desktop Entry"), QStringLiteral("Exec"), {}),
              QStringLiteral("/opt/vantor/bin/vantor5 %f"));
    EXPECT_EQ(entry->ReadString(QStringLiteral("Desktop Entry"), QStringLiteral("MimeType"), {}),
              QStringLiteral("application/x-vantor5-project;"));

    const auto list = IniFile::Load(home_.configHome() + QStringLiteral("/mimeapps.list"));
    ASSERT_TRUE(list);
    EXPECT_EQ(list->ReadString(QStringLiteral("Default Applications"),
                               QStringLiteral("application/x-vantor5-project"), {}),
              QStringLiteral("vantor5-project.desktop"));
    EXPECT_EQ(test::ReadFileOrFail(association.IconPath()), "<svg/>");
}

TEST_F(FileAssociationTest, ASecondRegistrationFindsItDoneAndAnotherCopyIsReplaced)
{
    const FileAssociation association(program_);
    ASSERT_TRUE(association.RegisterAssociation());
    EXPECT_TRUE(association.IsAssociated());

    // Another copy of the program registered itself since.
    const FileAssociation other(QStringLiteral("/home/engineer/old copy/vantor5"));
    EXPECT_FALSE(other.IsAssociated());
    ASSERT_TRUE(other.RegisterAssociation());
    EXPECT_FALSE(association.IsAssociated());
    EXPECT_TRUE(other.IsAssociated());

    // The user picked another default handler.
    IniFile list = *IniFile::Load(association.MimeAppsListPath());
    list.WriteString(QStringLiteral("Default Applications"), QStringLiteral("application/x-vantor5-project"),
                     QStringLiteral("texteditor.desktop"));
    ASSERT_TRUE(list.Save(association.MimeAppsListPath()));
    EXPECT_FALSE(other.IsAssociated());
}

TEST_F(FileAssociationTest, TheUsersOtherDefaultsSurvive)
{
    const QString listPath = home_.configHome() + QStringLiteral("/mimeapps.list");
    const QByteArray before = "[Default Applications]\ntext/plain=editor.desktop\n\n[Added Associations]\n"
                              "application/x-vantor5-project=viewer.desktop;\n";
    ASSERT_TRUE(WriteFileAtomically(listPath, std::string_view(before.constData(), before.size())));
    ASSERT_TRUE(FileAssociation(program_).RegisterAssociation());
    const auto list = IniFile::Load(listPath);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->ReadString(QStringLiteral("Default Applications"), QStringLiteral("text/plain"), {}),
              QStringLiteral("editor.desktop"));
    EXPECT_EQ(list->ReadString(QStringLiteral("Added Associations"),
                               QStringLiteral("application/x-vantor5-project"), {}),
              QStringLiteral("vantor5-project.desktop;viewer.desktop;"));
    EXPECT_FALSE(QString::fromStdString(test::ReadFileOrFail(listPath)).contains(QLatin1Char('\r')));
}

TEST(FileAssociation, ExecArgumentsAreQuotedWhenNeeded)
{
    const struct {
        const char *argument;
        const char *quoted;
    } cases[] = {
        {"/usr/bin/vantor5", "/usr/bin/vantor5"},
        {"/home/a b/vantor5", "\"/home/a b/vantor5\""},
        {"/opt/$x/v\"5", "\"/opt/\\\\$x/v\\\\\"5\""},
        {"/opt/back\\slash/v", "\"/opt/back\\\\\\\\slash/v\""},
        {"/opt/Программы/vantor5", "/opt/Программы/vantor5"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(QuoteExecArgument(QString::fromUtf8(c.argument)), QString::fromUtf8(c.quoted))
            << c.argument;
}

} // namespace
