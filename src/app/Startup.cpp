#include "app/Startup.h"

#include "app/AppDataPaths.h"
#include "app/ProgramInfo.h"
#include "app/Settings.h"
#include "app/UMain.h"
#include "app/UserDialogs.h"
#include "app/pr_sets.h"
#include "models/ModelLibrary.h"
#include "models/VantorModels.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace vantor {

void InstallRussianTranslations(QApplication &app)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char *name : {"qtbase_ru", "qtserialport_ru", "qtmultimedia_ru"}) {
        auto *translator = new QTranslator(&app);
        if (translator->load(QLatin1String(name), folder))
            QApplication::installTranslator(translator);
        else
            delete translator;
    }
}

ApplicationSession::ApplicationSession() = default;

ApplicationSession::~ApplicationSession()
{
    main_.reset();
    modelLibrary_.reset();
    ClearVantorModels();
    if (progSettings_) {
        QString error;
        if (!progSettings_->Save(&error))
            qWarning("%s", qPrintable(error));
        TProgSettings::SetCurrent(nullptr);
    }
}

bool ApplicationSession::Start(const StartupOptions &options)
{
    // The programmer settings come first, before any window.
    progSettings_ = std::make_unique<TProgSettings>(
        TProgSettings::LocateIniFile(PerUserDataFolder(), options.programFolder));
    QString error;
    if (!progSettings_->Load(&error))
        qWarning("%s", qPrintable(error));
    TProgSettings::SetCurrent(progSettings_.get());

    std::unique_ptr<TSettings> settings;
    QString placementFile;
    try {
        settings = std::make_unique<TSettings>(TSettings::DefaultFileName());
        placementFile = (RunsAsAdministrator() ? SharedProgramFolder() : UserProgramFolder()) +
                        QStringLiteral("ViewSchema.xml");
    } catch (const EAppDataPath &e) {
        UserDialogs::ShowError(nullptr, e.message());
        return false;
    }
    if (!settings->Load(&error))
        qWarning("%s", qPrintable(error)); // the defaults stand; the file is rewritten on exit

    QApplication::setApplicationName(ProgramName());
    main_ = std::make_unique<TfmMain>(std::move(settings), placementFile);
    main_->LoadModelPlugins(options.programFolder);

    // The configurator cannot draw a cycle without the model library: refuse to run
    // rather than fail later in the middle of the engineer's work.
    const QString libraryPath =
        options.modelLibraryPath.isEmpty()
            ? QDir(options.programFolder).filePath(QStringLiteral("libvantor_model.so"))
            : options.modelLibraryPath;
    modelLibrary_ = std::make_unique<ModelLibrary>(libraryPath);
    if (!modelLibrary_->Load()) {
        UserDialogs::ShowError(main_.get(), modelLibrary_->ErrorString() +
                                                QStringLiteral("\n\nБез неё конфигуратор работать не может. "
                                                               "Переустановите программу."));
        main_.reset();
        return false;
    }
    ModelLibrary::SetCurrent(modelLibrary_.get());

    main_->show();
    main_->HandleCommandLine(options.arguments);
    return true;
}

} // namespace vantor
