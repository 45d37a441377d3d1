#pragma once
// The page "Блоки и подключения": one page per controller block on the left (or the
// panel "[Нет блоков]"), the signal-head tree "Светофоры" on the right, and the five
// ways to wire a block output to a lamp: dragging an output onto a lamp, a lamp or a
// whole head onto an output, and the context menus of lamps and outputs.

#include "controller_editor/VantorEditorPage.h"

#include <vector>

class QLabel;
class QStackedWidget;
class QTabWidget;

namespace vantor {

namespace widgets {
class InPlaceTreeView;
}
class SemaphoreTreeModel;
class TController;
class TfrmVantorBlock;

class BlocksPage : public VantorEditorPage {
    Q_OBJECT

public:
    explicit BlocksPage(TVantorConfig &config, QWidget *parent = nullptr);

    void Refresh() override;
    // "+": the block-model menu built from the plug-in registry.
    void FillAddMenu(QMenu &menu) override;
    // "–": deletes the current block.
    void DeleteSelected() override;

    // Adds a block of the registry model a menu item's tag names; shows "Invalid model
    // id." when it names none.
    TController *AddBlockForTag(int tag);

    std::vector<TfrmVantorBlock *> BlockFrames() const;
    SemaphoreTreeModel &HeadsModel() const { return *heads_; }

    // The context menu of a lamp row of the signal-head tree (nullptr for other
    // rows); the caller owns it.
    QMenu *CreateLampMenu(const QModelIndex &index, QWidget *parent);

private:
    void RebuildBlockPages();
    TfrmVantorBlock *AddBlockPage(TController &block);
    void UpdateCaptions();
    void ShowEmptyPanel();
    // After any wiring: every block page and the head tree show it.
    void WiringChanged();
    void ShowLampMenu(const QPoint &position);

    QStackedWidget *blockArea_;
    QTabWidget *pgcBlocks_;
    QLabel *pnlNoBlocks_;
    SemaphoreTreeModel *heads_;
    widgets::InPlaceTreeView *vtSemaphores_;
};

} // namespace vantor
