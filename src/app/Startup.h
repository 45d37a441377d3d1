#pragma once
// The program's start-up and shut-down around the main window.

#include <QString>
#include <QStringList>

#include <memory>

class QApplication;

namespace vantor {

class ModelLibrary;
class TfmMain;
class TProgSettings;

// Loads Qt's own Russian texts (standard buttons "Да", "Нет", "Отмена", file dialogs).
void InstallRussianTranslations(QApplication &app);

struct StartupOptions {
    QString programFolder;    // where the program, its plug-ins and the model library live
    QStringList arguments;    // the command line after the program name
    QString modelLibraryPath; // empty: programFolder + "libvantor_model.so"
};

// One run of the program: the programmer settings (read first, written back when
// the session ends), the connection settings, the main window, the block-model
// registry and the bound model library.
class ApplicationSession {
public:
    ApplicationSession();
    ~ApplicationSession();
    ApplicationSession(const ApplicationSession &) = delete;
    ApplicationSession &operator=(const ApplicationSession &) = delete;

    // Creates the settings and the main window, loads the block-model plug-ins,
    // binds the model library, shows the main window and handles the command line.
    // Returns false when the program must not run (the reason has been shown in a
    // message box): a program folder that cannot be created, or a model library that
    // cannot be loaded.
    bool Start(const StartupOptions &options);

    TfmMain *mainWindow() const { return main_.get(); }
    TProgSettings *progSettings() const { return progSettings_.get(); }
    ModelLibrary *modelLibrary() const { return modelLibrary_.get(); }

private:
    std::unique_ptr<TProgSettings> progSettings_;
    std::unique_ptr<TfmMain> main_;
    std::unique_ptr<ModelLibrary> modelLibrary_;
};

} // namespace vantor
