#include "app/pr_sets.h"

#include "app/AppDataPaths.h"

#include <QDir>
#include <QFileInfo>

namespace vantor {

namespace {

TProgSettings *g_current = nullptr;

const QString kIniName = QStringLiteral("bprog.ini");

// The entry of dir whose name equals name without regard to case (the exact name
// first); empty when there is none.
QString FindEntryNoCase(const QString &dir, const QString &name)
{
    const QDir folder(dir);
    if (folder.exists(name) && QFileInfo(folder.filePath(name)).isDir())
        return folder.filePath(name);
    for (const QString &entry : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden))
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return folder.filePath(entry);
    return {};
}

// "<base>/Morvane LTD/Vantor" matched without regard to case; empty when missing.
QString ProgrammerFolder(const QString &perUserDataFolder)
{
    const QString maker = FindEntryNoCase(perUserDataFolder, QStringLiteral("Morvane LTD"));
    if (maker.isEmpty())
        return {};
    return FindEntryNoCase(maker, QStringLiteral("Vantor"));
}

} // namespace

void TMainFormSettings::Read(const IniFile &ini)
{
    const QString &s = Section();
    SetLeft(ini.ReadInteger(s, QStringLiteral("Left"), -1));
    SetTop(ini.ReadInteger(s, QStringLiteral("Top"), -1));
    SetWidth(ini.ReadInteger(s, QStringLiteral("Width"), -1));
    SetHeight(ini.ReadInteger(s, QStringLiteral("Height"), -1));
    SetMaximized(ini.ReadBool(s, QStringLiteral("Maximized"), false));
    SetConnectType(ini.ReadInteger(s, QStringLiteral("ConnectType"), 0));
    SetLog(ini.ReadBool(s, QStringLiteral("Log"), true));
    SetAutoUpdateDevList(ini.ReadBool(s, QStringLiteral("AutoUpdateDevList"), true));
    SetLastDir(ini.ReadString(s, QStringLiteral("LastDir"), QString()));
}

void TMainFormSettings::Write(IniFile &ini) const
{
    const QString &s = Section();
    ini.WriteInteger(s, QStringLiteral("Left"), left_);
    ini.WriteInteger(s, QStringLiteral("Top"), top_);
    ini.WriteInteger(s, QStringLiteral("Width"), width_);
    ini.WriteInteger(s, QStringLiteral("Height"), height_);
    ini.WriteBool(s, QStringLiteral("Maximized"), maximized_);
    ini.WriteInteger(s, QStringLiteral("ConnectType"), connectType_);
    ini.WriteBool(s, QStringLiteral("Log"), log_);
    ini.WriteBool(s, QStringLiteral("AutoUpdateDevList"), autoUpdateDevList_);
    ini.WriteString(s, QStringLiteral("LastDir"), lastDir_);
}

void TUSBSettings::Read(const IniFile &ini)
{
    const QString &s = Section();
    SetTimeout(ini.ReadInteger(s, QStringLiteral("Timeout"), kDefaultTimeout));
    SetVID(ini.ReadInteger(s, QStringLiteral("VID"), kDefaultVID));
    SetPID(ini.ReadInteger(s, QStringLiteral("PID"), kDefaultPID));
}

void TUSBSettings::Write(IniFile &ini) const
{
    const QString &s = Section();
    ini.WriteInteger(s, QStringLiteral("Timeout"), timeout_);
    ini.WriteInteger(s, QStringLiteral("VID"), vid_);
    ini.WriteInteger(s, QStringLiteral("PID"), pid_);
}

TProgSettings::TProgSettings(QString iniFileName) : fileName_(std::move(iniFileName))
{
    mainForm_.SetOnChange([this] { modified_ = true; });
    usb_.SetOnChange([this] { modified_ = true; });
}

TProgSettings::~TProgSettings()
{
    if (g_current == this)
        g_current = nullptr;
}

QString TProgSettings::LocateIniFile()
{
    return LocateIniFile(PerUserDataFolder(), ProgramFolder());
}

QString TProgSettings::LocateIniFile(const QString &perUserDataFolder, const QString &programFolder)
{
    const QString folder = ProgrammerFolder(perUserDataFolder);
    if (!folder.isEmpty())
        return QDir(folder).filePath(kIniName);
    return QDir(programFolder).filePath(kIniName);
}

TProgSettings *TProgSettings::Current()
{
    return g_current;
}

void TProgSettings::SetCurrent(TProgSettings *settings)
{
    g_current = settings;
}

bool TProgSettings::Load(QString *error)
{
    auto ini = IniFile::Load(fileName_, error);
    ini_ = ini ? std::move(*ini) : IniFile();
    mainForm_.Read(ini_);
    usb_.Read(ini_);
    modified_ = false;
    return ini.has_value();
}

bool TProgSettings::Save(QString *error)
{
    mainForm_.Write(ini_);
    usb_.Write(ini_);
    if (ini_.Save(fileName_, error)) {
        modified_ = false;
        return true;
    }
    // Beside an installed program the file cannot be written: keep the values in the
    // per-user folder instead, where the location rule finds them next time.
    const QString base = PerUserDataFolder();
    if (!ProgrammerFolder(base).isEmpty())
        return false; // already the per-user file; nothing better to try
    QString maker = FindEntryNoCase(base, QStringLiteral("Morvane LTD"));
    if (maker.isEmpty())
        maker = QDir(base).filePath(QLatin1String(kMakerFolder));
    const QString folder = QDir(maker).filePath(QStringLiteral("Vantor"));
    if (!QDir().mkpath(folder))
        return false;
    const QString fallback = QDir(folder).filePath(kIniName);
    if (!ini_.Save(fallback, error))
        return false;
    fileName_ = fallback;
    modified_ = false;
    return true;
}

} // namespace vantor
