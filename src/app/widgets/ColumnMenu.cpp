#include "app/widgets/ColumnMenu.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionMenuItem>
#include <QWidgetAction>

namespace vantor::widgets {
namespace {

// One item of a column menu, drawn by the style as a menu item.
class MenuCell : public QWidget {
public:
    MenuCell(QAction *action, QMenu *menu, QWidget *parent) : QWidget(parent), action_(action), menu_(menu)
    {
        setMouseTracking(true);
        setAttribute(Qt::WA_Hover);
        setEnabled(action->isEnabled());
    }

    QSize sizeHint() const override
    {
        QStyleOptionMenuItem option = Option();
        const QFontMetrics metrics(font());
        const int icon = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, menu_);
        QSize size(metrics.horizontalAdvance(action_->text()) + icon + 8,
                   std::max(metrics.height(), icon) + 4);
        return style()->sizeFromContents(QStyle::CT_MenuItem, &option, size, menu_);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        QStyleOptionMenuItem option = Option();
        style()->drawControl(QStyle::CE_MenuItem, &option, &painter, menu_);
    }

    void enterEvent(QEnterEvent *) override { update(); }
    void leaveEvent(QEvent *) override { update(); }

    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()) ||
            !isEnabled())
            return;
        // Close every open menu first (they delete themselves later), then act.
        QPointer<QAction> action = action_;
        while (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        if (action)
            action->trigger();
    }

private:
    QStyleOptionMenuItem Option() const
    {
        QStyleOptionMenuItem option;
        option.initFrom(this);
        option.palette = menu_->palette();
        option.rect = rect();
        option.menuRect = rect();
        option.text = action_->text();
        option.icon = action_->icon();
        option.menuItemType = QStyleOptionMenuItem::Normal;
        option.checkType =
            action_->isCheckable() ? QStyleOptionMenuItem::NonExclusive : QStyleOptionMenuItem::NotCheckable;
        option.checked = action_->isChecked();
        option.maxIconWidth = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, menu_) + 4;
        option.reservedShortcutWidth = 0;
        option.font = font();
        if (underMouse() && isEnabled())
            option.state |= QStyle::State_Selected;
        if (!isEnabled())
            option.state &= ~QStyle::State_Enabled;
        return option;
    }

    QAction *action_;
    QMenu *menu_;
};

} // namespace

void AddActionsInColumns(QMenu &menu, const QList<QAction *> &actions, int perColumn)
{
    if (perColumn <= 0 || actions.size() <= perColumn) {
        menu.addActions(actions);
        return;
    }
    auto *grid = new QWidget;
    grid->setObjectName(QStringLiteral("wgtMenuColumns"));
    auto *layout = new QGridLayout(grid);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < actions.size(); ++i) {
        QAction *action = actions[i];
        action->setParent(&menu); // freed with the menu, found among its children
        layout->addWidget(new MenuCell(action, &menu, grid), i % perColumn, i / perColumn);
    }
    auto *item = new QWidgetAction(&menu);
    item->setDefaultWidget(grid);
    menu.addAction(item);
}

} // namespace vantor::widgets
