#include "app/widgets/InPlaceViews.h"

#include <QMouseEvent>

namespace vantor::widgets {

namespace {

constexpr QAbstractItemView::EditTriggers kKeyboardTriggers =
    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed;

// The cell a left click landed on, when it can be edited and has no editor yet.
QModelIndex ClickedEditableCell(const QAbstractItemView &view, const QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))
        return {};
    const QModelIndex index = view.indexAt(event->position().toPoint());
    if (!index.isValid() || !(index.flags() & Qt::ItemIsEditable) || !(index.flags() & Qt::ItemIsEnabled))
        return {};
    if (view.indexWidget(index))
        return {};
    return index;
}

} // namespace

InPlaceTreeView::InPlaceTreeView(QWidget *parent) : QTreeView(parent)
{
    setEditTriggers(kKeyboardTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
}

void InPlaceTreeView::mousePressEvent(QMouseEvent *event)
{
    QTreeView::mousePressEvent(event);
    const QModelIndex index = ClickedEditableCell(*this, event);
    if (index.isValid() && index == currentIndex())
        edit(index, AllEditTriggers, nullptr);
}

InPlaceTableView::InPlaceTableView(QWidget *parent) : QTableView(parent)
{
    setEditTriggers(kKeyboardTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void InPlaceTableView::mousePressEvent(QMouseEvent *event)
{
    QTableView::mousePressEvent(event);
    const QModelIndex index = ClickedEditableCell(*this, event);
    if (index.isValid() && index == currentIndex())
        edit(index, AllEditTriggers, nullptr);
}

} // namespace vantor::widgets
