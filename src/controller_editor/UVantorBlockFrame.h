#pragma once
// TfrmVantorBlock: the page of one controller block on "Блоки и подключения". A
// group box headed by the block's enabled check box holds the name, the ID, the
// block model's type and output count, and the output list ("Выходы").

#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace vantor {

namespace widgets {
class InPlaceTreeView;
}
class BlockOutputsModel;
class TController;
class TVantorConfig;

class TfrmVantorBlock : public QWidget {
    Q_OBJECT

public:
    TfrmVantorBlock(TVantorConfig &config, TController &block, QWidget *parent = nullptr);

    TController &Block() const { return block_; }
    BlockOutputsModel &OutputsModel() const { return *outputs_; }
    widgets::InPlaceTreeView &OutputsView() const { return *vtOutputs_; }

    // Shows the block's values and wiring as they are now.
    void Refresh();

signals:
    // The name or ID changed: the page caption follows.
    void captionChanged();
    // Outputs were wired or unwired from this page (drop, context menu).
    void wiringChanged();
    void edited();

private:
    void SetEnabledCaption(bool enabled);
    void TakeId();
    void FinishId();
    const TController *BlockWithId(int id) const;
    void ShowOutputMenu(const QPoint &position);

    TVantorConfig &config_;
    TController &block_;
    QGroupBox *gbxBlock_;
    QLineEdit *edBlockName_;
    QSpinBox *edBlockId_;
    QLabel *lblType_;
    QLabel *lblOutputCount_;
    BlockOutputsModel *outputs_;
    widgets::InPlaceTreeView *vtOutputs_;
};

} // namespace vantor
