#include "controller_editor/SigGroupsPage.h"

#include "app/widgets/CellDelegates.h"
#include "app/widgets/EmptyText.h"
#include "app/widgets/InPlaceViews.h"
#include "controller/VantorConfig.h"
#include "controller_editor/SigGroupTreeModel.h"
#include "controller_editor/VantorIcons.h"

#include <QHeaderView>
#include <QMenu>
#include <QVBoxLayout>

namespace vantor {
namespace {

// The add-group menu: caption, kind tag, image.
struct AddGroupItem {
    const char *caption;
    int tag;
    int image;
};
constexpr AddGroupItem kAddGroupItems[] = {
    {"Транспортная", 0, 2},      {"Пешеходная", 10, 3},       {"Стрелка", 30, 5},
    {"Трамвайная", 40, 6},       {"Реверсивная", 65, 9},      {"Информационная секция", 75, 11},
    {"Табло \"ЖДИТЕ\"", 80, 12}, {"Табло \"ИДИТЕ\"", 85, 13}, {"Светильник", 70, 10},
};

} // namespace

SigGroupsPage::SigGroupsPage(TVantorConfig &config, QWidget *parent) : VantorEditorPage(config, parent)
{
    setObjectName(QStringLiteral("tsSigGroups"));
    model_ = new SigGroupTreeModel(config, this);
    vtSigGroups_ = new widgets::InPlaceTreeView(this);
    vtSigGroups_->setObjectName(QStringLiteral("vtSigGroups"));
    vtSigGroups_->setModel(model_);
    vtSigGroups_->setAlternatingRowColors(true);
    vtSigGroups_->setContextMenuPolicy(Qt::CustomContextMenu);
    widgets::SetEmptyText(*vtSigGroups_, QStringLiteral("[Нет сигнальных групп]"));

    auto *names = new widgets::TextCellDelegate(vtSigGroups_);
    names->setTrimmed(true);
    vtSigGroups_->setItemDelegateForColumn(SigGroupTreeModel::kDescriptionColumn, names);
    for (int column : {SigGroupTreeModel::kHeadsColumn, SigGroupTreeModel::kAlarmsColumn})
        vtSigGroups_->setItemDelegateForColumn(column,
                                               new widgets::IntegerCellDelegate(0, 255, vtSigGroups_));

    QHeaderView *header = vtSigGroups_->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(SigGroupTreeModel::kDescriptionColumn, QHeaderView::Stretch);
    header->resizeSection(SigGroupTreeModel::kNameColumn, 220);
    header->resizeSection(SigGroupTreeModel::kHeadsColumn, 140);
    header->resizeSection(SigGroupTreeModel::kAlarmsColumn, 190);
    header->setDefaultAlignment(Qt::AlignCenter);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(vtSigGroups_);

    connect(model_, &SigGroupTreeModel::edited, this, &VantorEditorPage::configurationEdited);
    connect(vtSigGroups_, &QWidget::customContextMenuRequested, this, &SigGroupsPage::ShowContextMenu);
    Refresh();
}

void SigGroupsPage::Refresh()
{
    model_->RebuildKeepingView(*vtSigGroups_);
}

void SigGroupsPage::FillAddMenu(QMenu &menu)
{
    for (const AddGroupItem &item : kAddGroupItems) {
        QAction *action = menu.addAction(editor::GroupImage(item.image), QString::fromUtf8(item.caption));
        action->setData(item.tag);
        const int tag = item.tag;
        connect(action, &QAction::triggered, this, [this, tag] { AddGroup(tag); });
    }
}

TTrendGroup *SigGroupsPage::AddGroup(int tag)
{
    TTrendGroup *group = config_.AddGroupByTag(tag);
    Refresh();
    const QModelIndex row = model_->IndexOf(group, SigGroupTreeModel::kGroupRow);
    vtSigGroups_->expand(row);
    vtSigGroups_->setCurrentIndex(row);
    vtSigGroups_->scrollTo(row);
    emit configurationEdited();
    return group;
}

void SigGroupsPage::DeleteSelected()
{
    TTrendGroup *group = model_->GroupAt(vtSigGroups_->currentIndex());
    if (group == nullptr)
        group = config_.Groups.Last();
    if (group == nullptr)
        return;
    const int position = config_.Groups.IndexOf(group);
    config_.DeleteGroup(group);
    Refresh();
    // The group that took its place (or the new last one) becomes current.
    if (TTrendGroup *next = config_.Groups.At(std::min(position, config_.Groups.Count() - 1)))
        vtSigGroups_->setCurrentIndex(model_->IndexOf(next, SigGroupTreeModel::kGroupRow));
    emit configurationEdited();
}

QMenu *SigGroupsPage::CreateReferenceMenu(const QModelIndex &index, QWidget *parent)
{
    TTrendGroup *group = model_->GroupAt(index);
    if (group == nullptr || group->HasOwnDirections())
        return nullptr;
    auto *menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("pmReferences"));
    const bool full = !group->CanAddReference();
    const auto changed = [this] {
        Refresh();
        emit configurationEdited();
    };

    for (TTrendGroup *source : config_.Groups) {
        if (!source->HasOwnDirections())
            continue;
        QMenu *sub =
            menu->addMenu(editor::SigGroupTypeIcon(source->SigGroupType()),
                          QString::fromStdString(source->DefaultName() + " - " + source->KindName()));
        for (TTrend *direction : source->Directions) {
            if (!direction->IsDirection())
                continue;
            QAction *action =
                sub->addAction(QString::fromStdString(config_.Groups.DirectionCaption(direction)));
            action->setCheckable(true);
            action->setChecked(group->Directions.Contains(direction));
            // An information section follows at most two sources, a panel one.
            action->setEnabled(!full && !action->isChecked());
            connect(action, &QAction::triggered, this, [group, direction, changed] {
                if (group->CanAddReference() && group->AddDirectionRef(direction))
                    changed();
            });
        }
    }
    if (config_.Triggers.Count() > 0) {
        QMenu *sub = menu->addMenu(editor::GroupImage(14), QStringLiteral("Триггеры"));
        for (int i = 0; i < config_.Triggers.Count(); ++i) {
            TTrigger *trigger = config_.Triggers.At(i);
            QAction *action = sub->addAction(QString::fromStdString(TriggerCaption(i + 1)));
            action->setCheckable(true);
            action->setChecked(group->Triggers.Contains(trigger));
            action->setEnabled(!full && !action->isChecked());
            connect(action, &QAction::triggered, this, [group, trigger, changed] {
                if (group->CanAddReference() && group->AddTriggerRef(trigger))
                    changed();
            });
        }
    }
    if (index.parent().isValid()) {
        menu->addSeparator();
        QAction *remove = menu->addAction(editor::GroupImage(1), QStringLiteral("[Удалить]"));
        const int kind = model_->KindAt(index);
        void *object = model_->ObjectAt(index);
        connect(remove, &QAction::triggered, this, [group, kind, object, changed] {
            const bool removed = kind == SigGroupTreeModel::kTriggerRow
                                     ? group->RemoveTriggerRef(static_cast<TTrigger *>(object))
                                     : group->RemoveDirectionRef(static_cast<TTrend *>(object));
            if (removed)
                changed();
        });
    }
    return menu;
}

void SigGroupsPage::ShowContextMenu(const QPoint &position)
{
    const QModelIndex index = vtSigGroups_->indexAt(position);
    if (index.isValid())
        vtSigGroups_->setCurrentIndex(index);
    QMenu *menu = CreateReferenceMenu(index, vtSigGroups_);
    if (menu == nullptr)
        return;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(vtSigGroups_->viewport()->mapToGlobal(position));
}

} // namespace vantor
