// Menus in columns and the empty-list text.
#include "app/widgets/ColumnMenu.h"
#include "app/widgets/EmptyText.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace vantor::widgets;

namespace {

QList<QAction *> MakeActions(QMenu &menu, int count)
{
    QList<QAction *> actions;
    for (int i = 0; i < count; ++i) {
        auto *action = new QAction(QStringLiteral("%1з").arg(i + 1), &menu);
        action->setCheckable(true);
        action->setChecked(i % 2 == 0);
        actions << action;
    }
    return actions;
}

TEST(ColumnMenu, ShortListsStayPlainMenuItems)
{
    QMenu menu;
    AddActionsInColumns(menu, MakeActions(menu, 8), 8);
    EXPECT_EQ(menu.actions().size(), 8);
    EXPECT_EQ(menu.findChild<QWidget *>(QStringLiteral("wgtMenuColumns")), nullptr);
}

TEST(ColumnMenu, AClickOnAnItemTriggersItAndClosesTheMenu)
{
    auto *menu = new QMenu;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const QList<QAction *> actions = MakeActions(*menu, 20);
    AddActionsInColumns(*menu, actions, 8);
    ASSERT_EQ(menu->actions().size(), 1); // one item holds the columns
    QSignalSpy triggered(actions[17], &QAction::triggered);
    menu->popup(QPoint(10, 10));
    QApplication::processEvents();
    auto *grid = menu->findChild<QWidget *>(QStringLiteral("wgtMenuColumns"));
    ASSERT_NE(grid, nullptr);
    auto *layout = static_cast<QGridLayout *>(grid->layout());
    EXPECT_EQ(layout->rowCount(), 8);
    EXPECT_EQ(layout->columnCount(), 3); // 8 + 8 + 4
    // Item 18 is the second of the third column.
    QWidget *cell = layout->itemAtPosition(1, 2)->widget();
    ASSERT_NE(cell, nullptr);
    QPointer<QMenu> alive(menu);
    QTest::mouseClick(cell, Qt::LeftButton, Qt::NoModifier, cell->rect().center());
    EXPECT_EQ(triggered.count(), 1);
    EXPECT_FALSE(menu->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull()); // closed menus free themselves
}

TEST(EmptyText, ShowsWhileTheListHasNoRows)
{
    QStandardItemModel model;
    QTreeView view;
    view.setModel(&model);
    SetEmptyText(view, QStringLiteral("[Нет блоков]"));
    view.show();
    auto *label = view.viewport()->findChild<QLabel *>(QStringLiteral("lblEmptyText"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "[Нет блоков]");
    EXPECT_TRUE(label->isVisible());
    model.appendRow(new QStandardItem(QStringLiteral("Блок 1")));
    EXPECT_FALSE(label->isVisible());
    model.clear();
    EXPECT_TRUE(label->isVisible());
    SetEmptyText(view, QStringLiteral("[Нет светофоров]")); // replaces, never stacks
    EXPECT_EQ(view.viewport()->findChildren<QLabel *>(QStringLiteral("lblEmptyText")).size(), 1);
}

} // namespace
