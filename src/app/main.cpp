#include "app/UMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vantor5"));
    QApplication::setApplicationDisplayName(QStringLiteral("Конфигуратор Vantor - 5"));
    QApplication::setApplicationVersion(QStringLiteral(VANTOR_VERSION));

    vantor::TfmMain window;
    window.show();
    return QApplication::exec();
}
