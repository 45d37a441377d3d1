#include "controller_editor/UVantorBlockFrame.h"

#include "app/UserDialogs.h"
#include "app/widgets/CellDelegates.h"
#include "app/widgets/InPlaceViews.h"
#include "controller/VantorConfig.h"
#include "controller_editor/BlockOutputsModel.h"
#include "controller_editor/WiringMenus.h"
#include "models/VantorModels.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyleOptionGroupBox>
#include <QToolTip>
#include <QVBoxLayout>

namespace vantor {
namespace {

// A checkable group box whose tool tip belongs to its check box alone.
class BlockGroupBox : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::ToolTip) {
            auto *help = static_cast<QHelpEvent *>(event);
            QStyleOptionGroupBox option;
            initStyleOption(&option);
            const QRect check =
                style()
                    ->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxCheckBox, this)
                    .united(style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel,
                                                    this));
            if (check.contains(help->pos()))
                QToolTip::showText(help->globalPos(), QStringLiteral("Включить блок"), this);
            else
                QToolTip::hideText();
            return true;
        }
        return QGroupBox::event(event);
    }
};

} // namespace

TfrmVantorBlock::TfrmVantorBlock(TVantorConfig &config, TController &block, QWidget *parent)
    : QWidget(parent), config_(config), block_(block)
{
    setObjectName(QStringLiteral("frmVantorBlock"));
    gbxBlock_ = new BlockGroupBox(this);
    gbxBlock_->setObjectName(QStringLiteral("gbxBlock"));
    gbxBlock_->setCheckable(true);

    edBlockName_ = new QLineEdit(gbxBlock_);
    edBlockName_->setObjectName(QStringLiteral("edBlockName"));
    edBlockName_->setMinimumWidth(260);
    edBlockId_ = new QSpinBox(gbxBlock_);
    edBlockId_->setObjectName(QStringLiteral("edBlockId"));
    edBlockId_->setRange(0, 65535);
    edBlockId_->setMinimumWidth(90);
    edBlockId_->setToolTip(QStringLiteral("Подключения светофоров ссылаются на блок по идентификатору"));
    lblType_ = new QLabel(gbxBlock_);
    lblType_->setObjectName(QStringLiteral("lblType"));
    lblType_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblOutputCount_ = new QLabel(gbxBlock_);
    lblOutputCount_->setObjectName(QStringLiteral("lblOutputCount"));

    auto *left = new QFormLayout;
    left->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    left->addRow(QStringLiteral("Наименование :"), edBlockName_);
    left->addRow(QStringLiteral("Идентификатор :"), edBlockId_);
    auto *right = new QFormLayout;
    right->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    right->addRow(QStringLiteral("Тип:"), lblType_);
    right->addRow(QStringLiteral("Кол-во выходов:"), lblOutputCount_);
    auto *fields = new QHBoxLayout;
    fields->addLayout(left);
    fields->addSpacing(24);
    fields->addLayout(right, 1);

    auto *gbxOutputs = new QGroupBox(QStringLiteral("Выходы"), gbxBlock_);
    gbxOutputs->setObjectName(QStringLiteral("gbxOutputs"));
    outputs_ = new BlockOutputsModel(config, block, this);
    vtOutputs_ = new widgets::InPlaceTreeView(gbxOutputs);
    vtOutputs_->setObjectName(QStringLiteral("vtOutputs"));
    vtOutputs_->setModel(outputs_);
    vtOutputs_->setRootIsDecorated(false);
    vtOutputs_->setItemsExpandable(false);
    vtOutputs_->setContextMenuPolicy(Qt::CustomContextMenu);
    vtOutputs_->setDragEnabled(true);
    vtOutputs_->setAcceptDrops(true);
    vtOutputs_->setDropIndicatorShown(true);
    vtOutputs_->setDragDropMode(QAbstractItemView::DragDrop);
    vtOutputs_->setDragDropOverwriteMode(true); // drops land on a row, never between rows
    vtOutputs_->setDefaultDropAction(Qt::LinkAction);

    auto *power = new widgets::NumberCellDelegate(BlockOutputsModel::kPowerSwitched, 9999.99, 2, vtOutputs_);
    vtOutputs_->setItemDelegateForColumn(BlockOutputsModel::kPowerColumn, power);
    for (int column : {int(BlockOutputsModel::kDayColumn), int(BlockOutputsModel::kNightColumn)}) {
        auto *brightness = new widgets::IntegerCellDelegate(-1, 100, vtOutputs_);
        brightness->setBlankValue(-1); // blank: not set
        vtOutputs_->setItemDelegateForColumn(column, brightness);
    }
    for (int column = BlockOutputsModel::kShortCurrentColumn; column <= BlockOutputsModel::kOnVoltageColumn;
         ++column)
        vtOutputs_->setItemDelegateForColumn(column,
                                             new widgets::NumberCellDelegate(0, 9999.99, 2, vtOutputs_));

    QHeaderView *header = vtOutputs_->header();
    header->setDefaultAlignment(Qt::AlignCenter);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(40);
    header->resizeSection(BlockOutputsModel::kCaptionColumn, 64);
    for (int column = BlockOutputsModel::kPowerColumn; column < BlockOutputsModel::kColumnCount; ++column)
        header->resizeSection(column, 60);
    header->resizeSection(BlockOutputsModel::kRedControlColumn, 36);
    header->resizeSection(BlockOutputsModel::kGreenControlColumn, 36);
    header->resizeSection(BlockOutputsModel::kLampsColumn, 54);

    auto *outputsLayout = new QVBoxLayout(gbxOutputs);
    outputsLayout->addWidget(vtOutputs_);
    auto *blockLayout = new QVBoxLayout(gbxBlock_);
    blockLayout->addLayout(fields);
    blockLayout->addWidget(gbxOutputs, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(gbxBlock_);

    connect(gbxBlock_, &QGroupBox::toggled, this, [this](bool on) {
        block_.Enabled = on;
        SetEnabledCaption(on);
        emit edited();
    });
    connect(edBlockName_, &QLineEdit::textChanged, this, [this](const QString &text) {
        block_.Name = text.toStdString();
        emit captionChanged();
    });
    connect(edBlockId_, &QSpinBox::valueChanged, this, &TfrmVantorBlock::TakeId);
    connect(edBlockId_, &QSpinBox::editingFinished, this, &TfrmVantorBlock::FinishId);
    connect(vtOutputs_, &QAbstractItemView::clicked, outputs_, &BlockOutputsModel::ToggleMonitoring);
    connect(vtOutputs_, &QWidget::customContextMenuRequested, this, &TfrmVantorBlock::ShowOutputMenu);
    connect(outputs_, &BlockOutputsModel::wiringChanged, this, &TfrmVantorBlock::wiringChanged,
            Qt::QueuedConnection); // after the drop has finished
    connect(outputs_, &BlockOutputsModel::edited, this, &TfrmVantorBlock::edited);

    Refresh();
}

void TfrmVantorBlock::Refresh()
{
    {
        const QSignalBlocker b1(gbxBlock_), b2(edBlockName_), b3(edBlockId_);
        gbxBlock_->setChecked(block_.Enabled);
        if (edBlockName_->text().toStdString() != block_.Name)
            edBlockName_->setText(QString::fromStdString(block_.Name));
        edBlockId_->setValue(block_.ID);
    }
    SetEnabledCaption(block_.Enabled);
    lblType_->setText(QString::fromStdString(block_.Model().DisplayName));
    lblOutputCount_->setText(QString::number(block_.Outputs.Count()));
    outputs_->RefreshAll();
}

void TfrmVantorBlock::SetEnabledCaption(bool enabled)
{
    gbxBlock_->setTitle(enabled ? QStringLiteral("   Включено ") : QStringLiteral("   Выключено "));
}

const TController *TfrmVantorBlock::BlockWithId(int id) const
{
    for (const TController *other : config_.Blocks)
        if (other != &block_ && other->ID == id)
            return other;
    return nullptr;
}

void TfrmVantorBlock::TakeId()
{
    // Wiring refers to blocks by ID, so two blocks never share one: an ID that is
    // taken is shown in red and not applied.
    const int id = edBlockId_->value();
    const bool taken = BlockWithId(id) != nullptr;
    edBlockId_->setStyleSheet(taken ? QStringLiteral("QSpinBox { color: #c62828; }") : QString());
    if (taken || id == block_.ID)
        return;
    block_.ID = id;
    emit captionChanged();
    emit edited();
}

void TfrmVantorBlock::FinishId()
{
    const int id = edBlockId_->value();
    const TController *other = BlockWithId(id);
    if (other == nullptr)
        return;
    {
        const QSignalBlocker blocker(edBlockId_);
        edBlockId_->setValue(block_.ID);
    }
    edBlockId_->setStyleSheet(QString());
    UserDialogs::ShowError(this, QStringLiteral("Идентификатор %1 уже занят блоком «%2».\n"
                                                "Светофоры подключаются к блокам по идентификатору, "
                                                "поэтому у каждого блока он свой.")
                                     .arg(id)
                                     .arg(QString::fromStdString(other->Name)));
}

void TfrmVantorBlock::ShowOutputMenu(const QPoint &position)
{
    const QModelIndex index = vtOutputs_->indexAt(position);
    TControllerOutput *output = outputs_->OutputAt(index);
    if (output == nullptr)
        return;
    vtOutputs_->setCurrentIndex(index);
    const auto changed = [this] {
        QMetaObject::invokeMethod(
            this, [this] { emit wiringChanged(); }, Qt::QueuedConnection);
    };
    QMenu *menu = CreateOutputMenu(config_, *output, changed, vtOutputs_);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(vtOutputs_->viewport()->mapToGlobal(position));
}

} // namespace vantor
