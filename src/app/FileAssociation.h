#pragma once
// Registers the program as the handler of configuration files (*.vt5) for the
// current user, the freedesktop.org way:
//   <data home>/mime/packages/vantor5-project.xml   *.vt5 is application/x-vantor5-project
//   <data home>/applications/vantor5-project.desktop  opens it with this program
//   <config home>/mimeapps.list                       makes that the default
// then refreshes the desktop's MIME and application caches when their tools exist.
// <data home> is $XDG_DATA_HOME (~/.local/share), <config home> $XDG_CONFIG_HOME
// (~/.config).

#include <QByteArray>
#include <QString>

namespace vantor {

inline constexpr char kProjectMimeType[] = "application/x-vantor5-project";
inline constexpr char kProjectDesktopId[] = "vantor5-project.desktop";

class FileAssociation {
public:
    // programPath: the full path of the program that opens the files.
    // iconSvg: the program's icon, installed beside the entry (optional).
    explicit FileAssociation(QString programPath, QByteArray iconSvg = {});

    // The command line of the desktop entry: the quoted program path and the file.
    QString OpenCommand() const;

    // True only when *.vt5 maps to our type, our entry is the default for it and the
    // entry opens the files with this very program.
    bool IsAssociated() const;

    // Writes the three files (atomically, keeping everything else of mimeapps.list)
    // and refreshes the caches. False with the reason when a file cannot be written.
    bool RegisterAssociation(QString *error = nullptr) const;

    QString MimePackagePath() const;
    QString DesktopEntryPath() const;
    QString MimeAppsListPath() const;
    QString IconPath() const;

    QByteArray MimePackage() const;
    QByteArray DesktopEntry() const;

private:
    QString programPath_;
    QByteArray iconSvg_;
};

// Quotes one argument of a desktop entry's Exec key.
QString QuoteExecArgument(const QString &argument);

} // namespace vantor
