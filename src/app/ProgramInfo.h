#pragma once
// What the program says about itself: names, version, notices.

#include <QString>

namespace vantor {

// Title of the application and of its main window.
inline constexpr char kApplicationTitle[] = "Конфигуратор Vantor - 5";

struct ProgramInfo {
    QString fileDescription;
    QString productName;
    QString productVersion; // "a.b.c.d"
    QString fileVersion;    // "a.b.c.d", shown in the status bar
    QString legalCopyright;
    QString comments;
};

const ProgramInfo &ThisProgram();

// The modification date of the running program's file as "yyyymmdd"; empty when unknown.
QString ProgramFileDate();

// The product version followed by " (" + file date + ")" as the about box shows it.
QString VersionWithDate();

} // namespace vantor
