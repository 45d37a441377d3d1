#pragma once
// The text a list shows while it has no rows ("[Нет блоков]", "[Нет светофоров]").
//
//   view->setModel(model);
//   widgets::SetEmptyText(*view, QStringLiteral("[Нет сигнальных групп]"));
//
// The text is a label over the view's viewport (object name "lblEmptyText"), shown
// while the model has no top-level rows; call it after setModel.

#include <QString>

class QAbstractItemView;

namespace vantor::widgets {

void SetEmptyText(QAbstractItemView &view, const QString &text);

} // namespace vantor::widgets
