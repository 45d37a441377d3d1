// The configurator's entry point.
#include "app/AppDataPaths.h"
#include "app/Startup.h"
#include "app/UMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(VANTOR_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("vantor5-project"));
    vantor::InstallRussianTranslations(app);

    vantor::ApplicationSession session;
    vantor::StartupOptions options;
    options.programFolder = vantor::ProgramFolder();
    options.arguments = QApplication::arguments().mid(1);
    if (!session.Start(options))
        return 1;
    return QApplication::exec();
}
