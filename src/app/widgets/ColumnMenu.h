#pragma once
// Long menus laid out in columns: AddActionsInColumns puts the actions into `menu`
// one under the other, starting a new column after every `perColumn` items. The
// items look and behave like menu items (icon, check mark, hover, click); a click
// triggers the action and closes the whole menu.

#include <QList>

class QAction;
class QMenu;

namespace vantor::widgets {

void AddActionsInColumns(QMenu &menu, const QList<QAction *> &actions, int perColumn);

} // namespace vantor::widgets
