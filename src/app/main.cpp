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
    if (!session.Start({vantor::ProgramFolder(), QApplication::arguments().mid(1)}))
        return 1;
    QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
    return QApplication::exec();
}
