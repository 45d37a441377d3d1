#pragma once
// The page "Сигнальные группы": the signal-group tree, the add-group menu of "+",
// deletion with "–", and the context menu through which information sections and
// panels choose the directions and triggers they follow.

#include "controller_editor/VantorEditorPage.h"

class QMenu;

namespace vantor {

namespace widgets {
class InPlaceTreeView;
}
class SigGroupTreeModel;
class TTrendGroup;

class SigGroupsPage : public VantorEditorPage {
    Q_OBJECT

public:
    explicit SigGroupsPage(TVantorConfig &config, QWidget *parent = nullptr);

    void Refresh() override;
    void FillAddMenu(QMenu &menu) override;
    void DeleteSelected() override;

    // Appends a group of the kind whose tag the add-group menu item carries.
    TTrendGroup *AddGroup(int tag);

    // The context menu of a row of a group without own directions (nullptr for other
    // rows); the caller owns it.
    QMenu *CreateReferenceMenu(const QModelIndex &index, QWidget *parent);

private:
    void ShowContextMenu(const QPoint &position);

    SigGroupTreeModel *model_;
    widgets::InPlaceTreeView *vtSigGroups_;
};

} // namespace vantor
