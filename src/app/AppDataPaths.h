#pragma once
// Where the program keeps its state between runs.
//
// The per-user program folder is "<per-user data folder>/Morvane Ltd/<program>/",
// the shared one the same under the machine-wide data folder. The per-user data
// folder is $XDG_DATA_HOME (~/.local/share); the machine-wide one is the first
// folder of $XDG_DATA_DIRS (/usr/local/share), which only root may write.

#include <QString>

#include <stdexcept>

namespace vantor {

inline constexpr char kMakerFolder[] = "Morvane Ltd";

// A program folder that does not exist and cannot be created. Stops the start-up.
class EAppDataPath : public std::runtime_error {
public:
    explicit EAppDataPath(const QString &path);
    QString message() const { return QString::fromUtf8(what()); }
    QString path() const { return path_; }

private:
    QString path_;
};

// The running program's file name without extension ("vantor5").
QString ProgramName();
// The folder of the running program, with a trailing separator.
QString ProgramFolder();

QString PerUserDataFolder(); // no trailing separator
QString CommonDataFolder();  // no trailing separator

// The program folders, ending with a separator; created when missing. Throw
// EAppDataPath when a folder cannot be created.
QString UserProgramFolder(const QString &programName = ProgramName());
QString SharedProgramFolder(const QString &programName = ProgramName());

// True when the program runs with administrator rights (as root).
bool RunsAsAdministrator();

} // namespace vantor
