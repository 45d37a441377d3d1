#include "controller_editor/BlocksPage.h"

#include "app/UserDialogs.h"
#include "app/widgets/CellDelegates.h"
#include "app/widgets/EmptyText.h"
#include "app/widgets/InPlaceViews.h"
#include "controller/VantorConfig.h"
#include "controller_editor/SemaphoreTreeModel.h"
#include "controller_editor/UVantorBlockFrame.h"
#include "controller_editor/VantorIcons.h"
#include "controller_editor/WiringMenus.h"
#include "models/BlockModelMenu.h"
#include "models/VantorModels.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vantor {

BlocksPage::BlocksPage(TVantorConfig &config, QWidget *parent) : VantorEditorPage(config, parent)
{
    setObjectName(QStringLiteral("tsBlocks"));

    pgcBlocks_ = new QTabWidget;
    pgcBlocks_->setObjectName(QStringLiteral("pgcBlocks"));
    pgcBlocks_->setDocumentMode(true);
    pnlNoBlocks_ = new QLabel(QStringLiteral("[Нет блоков]"));
    pnlNoBlocks_->setObjectName(QStringLiteral("pnlNoBlocks"));
    pnlNoBlocks_->setAlignment(Qt::AlignCenter);
    pnlNoBlocks_->setForegroundRole(QPalette::PlaceholderText);
    pnlNoBlocks_->setFrameShape(QFrame::StyledPanel);
    blockArea_ = new QStackedWidget;
    blockArea_->addWidget(pgcBlocks_);
    blockArea_->addWidget(pnlNoBlocks_);

    auto *gbxSemaphores = new QGroupBox(QStringLiteral("Светофоры"));
    gbxSemaphores->setObjectName(QStringLiteral("gbxSemaphores"));
    heads_ = new SemaphoreTreeModel(config, this);
    vtSemaphores_ = new widgets::InPlaceTreeView(gbxSemaphores);
    vtSemaphores_->setObjectName(QStringLiteral("vtSemaphores"));
    vtSemaphores_->setModel(heads_);
    vtSemaphores_->setContextMenuPolicy(Qt::CustomContextMenu);
    vtSemaphores_->setDragEnabled(true);
    vtSemaphores_->setAcceptDrops(true);
    vtSemaphores_->setDropIndicatorShown(true);
    vtSemaphores_->setDragDropMode(QAbstractItemView::DragDrop);
    vtSemaphores_->setDragDropOverwriteMode(true); // drops land on a lamp, never between rows
    vtSemaphores_->setDefaultDropAction(Qt::LinkAction);
    widgets::SetEmptyText(*vtSemaphores_, QStringLiteral("[Нет светофоров]"));
    auto *names = new widgets::TextCellDelegate(vtSemaphores_);
    names->setTrimmed(true);
    vtSemaphores_->setItemDelegateForColumn(SemaphoreTreeModel::kHeadColumn, names);
    vtSemaphores_->header()->resizeSection(SemaphoreTreeModel::kGroupColumn, 175);
    gbxSemaphores->setMinimumWidth(340);
    auto *semaphoresLayout = new QVBoxLayout(gbxSemaphores);
    semaphoresLayout->addWidget(vtSemaphores_);

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("splBlocks"));
    splitter->addWidget(blockArea_);
    splitter->addWidget(gbxSemaphores);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setSizes({760, 480});
    splitter->setChildrenCollapsible(false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(splitter);

    connect(heads_, &SemaphoreTreeModel::wiringChanged, this, &BlocksPage::WiringChanged,
            Qt::QueuedConnection);
    connect(heads_, &SemaphoreTreeModel::edited, this, &VantorEditorPage::configurationEdited);
    connect(vtSemaphores_, &QWidget::customContextMenuRequested, this, &BlocksPage::ShowLampMenu);

    RebuildBlockPages();
    Refresh();
}

std::vector<TfrmVantorBlock *> BlocksPage::BlockFrames() const
{
    std::vector<TfrmVantorBlock *> frames;
    for (int i = 0; i < pgcBlocks_->count(); ++i)
        frames.push_back(static_cast<TfrmVantorBlock *>(pgcBlocks_->widget(i)));
    return frames;
}

void BlocksPage::Refresh()
{
    // Blocks come and go only through this page, except when a document is loaded.
    const auto frames = BlockFrames();
    bool same = static_cast<int>(frames.size()) == config_.Blocks.Count();
    for (std::size_t i = 0; same && i < frames.size(); ++i)
        same = &frames[i]->Block() == config_.Blocks.At(static_cast<int>(i));
    if (!same)
        RebuildBlockPages();
    for (TfrmVantorBlock *frame : BlockFrames())
        frame->Refresh();
    UpdateCaptions();
    heads_->RebuildKeepingView(*vtSemaphores_);
}

void BlocksPage::RebuildBlockPages()
{
    while (pgcBlocks_->count() > 0) {
        QWidget *page = pgcBlocks_->widget(0);
        pgcBlocks_->removeTab(0);
        delete page;
    }
    for (TController *block : config_.Blocks)
        AddBlockPage(*block);
    ShowEmptyPanel();
}

TfrmVantorBlock *BlocksPage::AddBlockPage(TController &block)
{
    auto *frame = new TfrmVantorBlock(config_, block);
    pgcBlocks_->addTab(frame, editor::BlockIcon(), BlockCaption(block));
    connect(frame, &TfrmVantorBlock::captionChanged, this, [this] {
        UpdateCaptions();
        heads_->RefreshWiring(); // lamps show the block's ID
        emit configurationEdited();
    });
    connect(frame, &TfrmVantorBlock::wiringChanged, this, &BlocksPage::WiringChanged);
    connect(frame, &TfrmVantorBlock::edited, this, &VantorEditorPage::configurationEdited);
    return frame;
}

void BlocksPage::UpdateCaptions()
{
    for (int i = 0; i < pgcBlocks_->count(); ++i)
        pgcBlocks_->setTabText(i,
                               BlockCaption(static_cast<TfrmVantorBlock *>(pgcBlocks_->widget(i))->Block()));
}

void BlocksPage::ShowEmptyPanel()
{
    blockArea_->setCurrentWidget(pgcBlocks_->count() > 0 ? static_cast<QWidget *>(pgcBlocks_) : pnlNoBlocks_);
}

void BlocksPage::FillAddMenu(QMenu &menu)
{
    const auto &models = VantorModels();
    const auto addItem = [this](QMenu &into, const BlockModelMenuItem &item) {
        QAction *action = into.addAction(editor::BlockIcon(), QString::fromStdString(item.caption));
        action->setData(item.tag);
        const int tag = item.tag;
        connect(action, &QAction::triggered, this, [this, tag] { AddBlockForTag(tag); });
    };
    for (const BlockModelMenuItem &item : BuildBlockModelMenu(models)) {
        if (!item.IsSubmenu()) {
            addItem(menu, item);
            continue;
        }
        QMenu *sub = menu.addMenu(QString::fromStdString(item.caption));
        sub->menuAction()->setData(item.tag);
        for (const BlockModelMenuItem &child : item.children)
            addItem(*sub, child);
    }
    if (models.empty()) {
        QAction *none = menu.addAction(
            QStringLiteral("Нет моделей блоков: рядом с программой не найдено ни одного файла *.vdl"));
        none->setEnabled(false);
    }
}

TController *BlocksPage::AddBlockForTag(int tag)
{
    const auto &models = VantorModels();
    const int index = ModelIndexFromTag(tag, models);
    if (index < 0) {
        UserDialogs::ShowError(this, QStringLiteral("Invalid model id."));
        return nullptr;
    }
    TController *block = config_.AddBlock(*models[static_cast<std::size_t>(index)]);
    TfrmVantorBlock *frame = AddBlockPage(*block);
    ShowEmptyPanel();
    pgcBlocks_->setCurrentWidget(frame);
    emit configurationEdited();
    return block;
}

void BlocksPage::DeleteSelected()
{
    auto *frame = static_cast<TfrmVantorBlock *>(pgcBlocks_->currentWidget());
    if (frame == nullptr)
        return;
    TController *block = &frame->Block();
    const int position = pgcBlocks_->currentIndex();
    pgcBlocks_->removeTab(position);
    delete frame;
    config_.DeleteBlock(block);
    ShowEmptyPanel();
    heads_->RefreshWiring();
    emit configurationEdited();
}

void BlocksPage::WiringChanged()
{
    for (TfrmVantorBlock *frame : BlockFrames())
        frame->Refresh();
    heads_->RefreshWiring();
    emit configurationEdited();
}

QMenu *BlocksPage::CreateLampMenu(const QModelIndex &index, QWidget *parent)
{
    TSemaphoreObject *head = heads_->HeadAt(index);
    const int lampPos = heads_->LampAt(index);
    if (head == nullptr || lampPos < 0)
        return nullptr;
    const auto changed = [this] {
        QMetaObject::invokeMethod(this, &BlocksPage::WiringChanged, Qt::QueuedConnection);
    };
    return vantor::CreateLampMenu(config_, *head, lampPos, changed, parent);
}

void BlocksPage::ShowLampMenu(const QPoint &position)
{
    const QModelIndex index = vtSemaphores_->indexAt(position);
    QMenu *menu = CreateLampMenu(index, vtSemaphores_);
    if (menu == nullptr)
        return;
    vtSemaphores_->setCurrentIndex(index);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(vtSemaphores_->viewport()->mapToGlobal(position));
}

} // namespace vantor
