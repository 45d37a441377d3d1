#include "app/FileAssociation.h"

#include "app/AppDataPaths.h"
#include "app/FileIo.h"
#include "app/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace vantor {

namespace {

const QString kFileTypeName = QStringLiteral("Конфигуратор дорожных контроллеров Vantor5");
const QString kIconName = QStringLiteral("vantor5");

QString ConfigHome()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (folder.isEmpty())
        folder = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(folder);
}

bool WriteBytes(const QString &path, const QByteArray &bytes, QString *error)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        if (error)
            *error = QStringLiteral("Не удалось создать папку «%1»").arg(QFileInfo(path).absolutePath());
        return false;
    }
    return WriteFileAtomically(path, std::string_view(bytes.constData(), bytes.size()), error);
}

// Runs a cache tool when it is installed; its failure does not undo the registration.
void RunIfInstalled(const QString &tool, const QStringList &arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    if (process.waitForStarted(5000))
        process.waitForFinished(30000);
}

// The value of the Exec key of a desktop entry file; empty when there is none.
QString ExecOf(const QString &desktopFile)
{
    const auto ini = IniFile::Load(desktopFile);
    if (!ini)
        return {};
    return ini->ReadString(QStringLiteral("Desktop Entry"), QStringLiteral("Exec"), QString());
}

QByteArray ReadOrEmpty(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

QString QuoteExecArgument(const QString &argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needsQuotes = argument.isEmpty();
    for (QChar c : argument)
        if (reserved.contains(c))
            needsQuotes = true;
    if (!needsQuotes)
        return argument;
    QString quoted = QStringLiteral("\"");
    for (QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted += QLatin1Char('"');
    // The value of a desktop entry key escapes backslashes once more.
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return quoted;
}

FileAssociation::FileAssociation(QString programPath, QByteArray iconSvg)
    : programPath_(std::move(programPath)), iconSvg_(std::move(iconSvg))
{}

QString FileAssociation::OpenCommand() const
{
    return QuoteExecArgument(programPath_) + QStringLiteral(" %f");
}

QString FileAssociation::MimePackagePath() const
{
    return PerUserDataFolder() + QStringLiteral("/mime/packages/vantor5-project.xml");
}

QString FileAssociation::DesktopEntryPath() const
{
    return PerUserDataFolder() + QStringLiteral("/applications/") + QLatin1String(kProjectDesktopId);
}

QString FileAssociation::MimeAppsListPath() const
{
    return ConfigHome() + QStringLiteral("/mimeapps.list");
}

QString FileAssociation::IconPath() const
{
    return PerUserDataFolder() + QStringLiteral("/icons/hicolor/scalable/apps/") + kIconName +
           QStringLiteral(".svg");
}

QByteArray FileAssociation::MimePackage() const
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                          "  <mime-type type=\"%1\">\n"
                          "    <comment>%2</comment>\n"
                          "    <icon name=\"%3\"/>\n"
                          "    <glob pattern=\"*.vt5\"/>\n"
                          "  </mime-type>\n"
                          "</mime-info>\n")
        .arg(QLatin1String(kProjectMimeType), kFileTypeName, kIconName)
        .toUtf8();
}

QByteArray FileAssociation::DesktopEntry() const
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Конфигуратор Vantor - 5\n"
                          "Comment=%1\n"
                          "Exec=%2\n"
                          "Icon=%3\n"
                          "MimeType=%4;\n"
                          "Terminal=false\n"
                          "Categories=Utility;\n")
        .arg(kFileTypeName, OpenCommand(), kIconName, QLatin1String(kProjectMimeType))
        .toUtf8();
}

bool FileAssociation::IsAssociated() const
{
    // *.vt5 -> our type, as we declare it.
    if (ReadOrEmpty(MimePackagePath()) != MimePackage())
        return false;
    // Our entry is the user's default for the type.
    const auto list = IniFile::Load(MimeAppsListPath());
    if (!list || list->ReadString(QStringLiteral("Default Applications"), QLatin1String(kProjectMimeType),
                                  QString()) != QLatin1String(kProjectDesktopId))
        return false;
    // The entry starts this program.
    return ExecOf(DesktopEntryPath()) == OpenCommand();
}

bool FileAssociation::RegisterAssociation(QString *error) const
{
    if (!WriteBytes(MimePackagePath(), MimePackage(), error))
        return false;
    if (!iconSvg_.isEmpty() && !WriteBytes(IconPath(), iconSvg_, error))
        return false;
    if (!WriteBytes(DesktopEntryPath(), DesktopEntry(), error))
        return false;

    auto list = IniFile::Load(MimeAppsListPath(), error);
    if (!list)
        return false;
    list->SetLineEnd(QStringLiteral("\n"));
    const QString type = QLatin1String(kProjectMimeType);
    list->WriteString(QStringLiteral("Default Applications"), type, QLatin1String(kProjectDesktopId));
    // Also offer it among the "open with" choices, keeping the other handlers listed.
    QStringList added = list->ReadString(QStringLiteral("Added Associations"), type, QString())
                            .split(QLatin1Char(';'), Qt::SkipEmptyParts);
    added.removeAll(QLatin1String(kProjectDesktopId));
    added.prepend(QLatin1String(kProjectDesktopId));
    list->WriteString(QStringLiteral("Added Associations"), type,
                      added.join(QLatin1Char(';')) + QLatin1Char(';'));
    if (!QDir().mkpath(ConfigHome()) || !list->Save(MimeAppsListPath(), error))
        return false;

    // Tell the desktop that file types changed.
    RunIfInstalled(QStringLiteral("update-mime-database"), {PerUserDataFolder() + QStringLiteral("/mime")});
    RunIfInstalled(QStringLiteral("update-desktop-database"),
                   {PerUserDataFolder() + QStringLiteral("/applications")});
    return true;
}

} // namespace vantor
