#include "app/widgets/CellDelegate.h"

#include <QKeyEvent>

namespace vantor::widgets {

CellDelegate::CellDelegate(QObject *parent) : QStyledItemDelegate(parent)
{}

void CellDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                        const QModelIndex &) const
{
    // Exactly over the cell, at least as tall as the editor needs to stay usable.
    QRect rect = option.rect;
    rect.setHeight(std::max(rect.height(), editor->minimumSizeHint().height()));
    editor->setGeometry(rect);
}

QString CellDelegate::FormatValue(const QVariant &value, const QModelIndex &) const
{
    return value.toString();
}

void CellDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const QVariant value = index.data(Qt::DisplayRole);
    if (value.isValid() && value.typeId() != QMetaType::QString)
        option->text = FormatValue(value, index);
}

void CellDelegate::CommitAndClose(QWidget *editor)
{
    // Several ways of ending may arrive for one editor (a list's choice and its
    // closing); only the first counts.
    if (!editor || editor->property("vantorClosed").toBool())
        return;
    editor->setProperty("vantorClosed", true);
    emit commitData(editor);
    emit closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool CellDelegate::eventFilter(QObject *object, QEvent *event)
{
    // Enter and Escape both end editing and store the value, at once: a spin box left
    // blank is stored as blank (its own handling of Enter would put the old value back).
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Escape || key == Qt::Key_Enter || key == Qt::Key_Return) {
            if (auto *editor = qobject_cast<QWidget *>(object)) {
                CommitAndClose(editor);
                return true;
            }
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

} // namespace vantor::widgets
