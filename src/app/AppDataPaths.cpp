#include "app/AppDataPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace vantor {

EAppDataPath::EAppDataPath(const QString &path)
    : std::runtime_error(("Can not get app data path: " + path).toStdString()), path_(path)
{}

QString ProgramName()
{
    const QString path = QCoreApplication::applicationFilePath();
    if (path.isEmpty())
        return QStringLiteral("vantor5");
    return QFileInfo(path).completeBaseName();
}

QString ProgramFolder()
{
    QString dir = QCoreApplication::applicationDirPath();
    if (dir.isEmpty())
        dir = QDir::currentPath();
    return QDir(dir).absolutePath() + QLatin1Char('/');
}

QString PerUserDataFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (folder.isEmpty())
        folder = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(folder);
}

QString CommonDataFolder()
{
    const QString dirs = qEnvironmentVariable("XDG_DATA_DIRS");
    for (const QString &dir : dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(dir))
            return QDir::cleanPath(dir);
    return QStringLiteral("/usr/local/share");
}

namespace {

QString ProgramFolderUnder(const QString &base, const QString &programName)
{
    const QString path = base + QLatin1Char('/') + QLatin1String(kMakerFolder) + QLatin1Char('/') +
                         programName + QLatin1Char('/');
    if (!QDir().mkpath(path))
        throw EAppDataPath(path);
    return path;
}

} // namespace

QString UserProgramFolder(const QString &programName)
{
    return ProgramFolderUnder(PerUserDataFolder(), programName);
}

QString SharedProgramFolder(const QString &programName)
{
    return ProgramFolderUnder(CommonDataFolder(), programName);
}

bool RunsAsAdministrator()
{
    return ::geteuid() == 0;
}

} // namespace vantor
