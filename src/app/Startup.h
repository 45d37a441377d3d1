#pragma once
// The program's start-up and shut-down around the main window.

#include <QString>
#include <QStringList>

#include <memory>

class QApplication;

namespace vantor {

class TfmMain;
class TProgSettings;

// Loads Qt's own Russian texts (standard buttons "Да", "Нет", "Отмена", file dialogs).
void InstallRussianTranslations(QApplication &app);

struct StartupOptions {
    QString programFolder; // where the program, its plug-ins and the model library live
    QStringList arguments; // the command line after the program name
};

// One run of the program: the programmer settings (read first, written back when
// the session ends), the connection settings, the main window.
class ApplicationSession {
public:
    ApplicationSession();
    ~ApplicationSession();
    ApplicationSession(const ApplicationSession &) = delete;
    ApplicationSession &operator=(const ApplicationSession &) = delete;

    // Creates the settings and the main window, shows it and handles the command
    // line. Returns false when the program must not run (the reason has been shown
    // in a message box).
    bool Start(const StartupOptions &options);

    TfmMain *mainWindow() const { return main_.get(); }
    TProgSettings *progSettings() const { return progSettings_.get(); }

private:
    std::unique_ptr<TProgSettings> progSettings_;
    std::unique_ptr<TfmMain> main_;
};

} // namespace vantor
