#include "devices/orsin/OrsinOutputMenu.h"

#include "devices/orsin/OrsinConfig.h"

#include <QGridLayout>
#include <QPainter>
#include <QToolButton>
#include <QWidgetAction>

namespace vantor::orsin {

namespace {

constexpr int kRowsPerColumn = 8;

QIcon LampIcon(int lamp)
{
    static const QColor colours[] = {QColor(220, 30, 30), QColor(240, 190, 0), QColor(20, 170, 60)};
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(60, 60, 60), 1));
    painter.setBrush(colours[lamp]);
    painter.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    return QIcon(pixmap);
}

} // namespace

OrsinOutputMenu::OrsinOutputMenu(QWidget *parent) : QMenu(parent)
{
    setObjectName(QStringLiteral("pmOutputs"));
    none_ = addAction(QStringLiteral("[Нет]"));
    none_->setObjectName(QStringLiteral("miNone"));
    connect(none_, &QAction::triggered, this, [this] { emit outputChosen(-1); });
    addSeparator();
    connect(this, &QMenu::aboutToShow, this, &OrsinOutputMenu::UpdateEnabled);
}

int OrsinOutputMenu::LampOf(const QString &outputName)
{
    if (outputName.endsWith(QStringLiteral("ж")))
        return 1;
    if (outputName.endsWith(QStringLiteral("з")))
        return 2;
    return 0;
}

QList<QAction *> OrsinOutputMenu::outputActions(int controller) const
{
    return controller >= 0 && controller < outputs_.size() ? outputs_[controller] : QList<QAction *>{};
}

void OrsinOutputMenu::Rebuild(const TDevice &device)
{
    device_ = &device;
    for (QMenu *menu : std::as_const(controllerMenus_)) {
        removeAction(menu->menuAction());
        menu->deleteLater();
    }
    controllerMenus_.clear();
    outputs_.clear();
    for (int controller = 0; controller < device.ControllerCount(); ++controller)
        controllerMenus_.append(CreateControllerMenu(controller));
}

QMenu *OrsinOutputMenu::CreateControllerMenu(int controller)
{
    auto *menu = addMenu(QStringLiteral("Контроллер №%1").arg(controller + 1));
    menu->setObjectName(QStringLiteral("miController%1").arg(controller + 1));

    // Four columns of eight outputs, column by column.
    auto *grid = new QWidget(menu);
    auto *layout = new QGridLayout(grid);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);
    QList<QAction *> actions;
    const QStringList &names = device_->ControllerOutputNames(controller);
    for (int output = 0; output < names.size(); ++output) {
        const int globalIndex = controller * TDevice::kOutputsPerController + output;
        auto *action = new QAction(LampIcon(LampOf(names[output])), names[output], menu);
        action->setData(globalIndex);
        connect(action, &QAction::triggered, this, [this, menu, globalIndex] {
            // A click inside the output grid does not close the menus by itself.
            menu->hide();
            hide();
            emit outputChosen(globalIndex);
        });
        auto *button = new QToolButton(grid);
        button->setDefaultAction(action);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setAutoRaise(true);
        button->setMinimumWidth(64);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        layout->addWidget(button, output % kRowsPerColumn, output / kRowsPerColumn);
        actions.append(action);
    }
    auto *widgetAction = new QWidgetAction(menu);
    widgetAction->setDefaultWidget(grid);
    menu->addAction(widgetAction);
    outputs_.append(actions);
    return menu;
}

void OrsinOutputMenu::UpdateEnabled()
{
    if (!device_)
        return;
    for (const QList<QAction *> &actions : std::as_const(outputs_))
        for (QAction *action : actions)
            action->setEnabled(device_->FindOutput(action->data().toInt()) < 0);
}

} // namespace vantor::orsin
