#include "app/UMain.h"

#include <QMdiArea>

namespace vantor {

TfmMain::TfmMain(QWidget *parent) : QMainWindow(parent), mdiArea_(new QMdiArea(this))
{
    setObjectName(QStringLiteral("fmMain"));
    setWindowTitle(QStringLiteral("Конфигуратор Vantor - 5"));
    setCentralWidget(mdiArea_);
    resize(1100, 760);
}

} // namespace vantor
