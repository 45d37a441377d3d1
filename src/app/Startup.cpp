#include "app/Startup.h"

#include "app/AppDataPaths.h"
#include "app/ProgramInfo.h"
#include "app/Settings.h"
#include "app/UMain.h"
#include "app/UserDialogs.h"
#include "app/pr_sets.h"

#include <QApplication>
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
    main_->show();
    main_->HandleCommandLine(options.arguments);
    return true;
}

} // namespace vantor
