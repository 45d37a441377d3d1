#include "controller_editor/SigGroupTreeModel.h"

#include "controller/VantorConfig.h"
#include "controller_editor/VantorIcons.h"

#include <QBrush>
#include <QFont>
#include <QPalette>

namespace vantor {

SigGroupTreeModel::SigGroupTreeModel(TVantorConfig &config, QObject *parent)
    : NodeTreeModel(parent), config_(config)
{
    Rebuild();
}

int SigGroupTreeModel::columnCount(const QModelIndex &) const
{
    return kColumnCount;
}

void SigGroupTreeModel::Build()
{
    for (TTrendGroup *group : config_.Groups) {
        const int row = AddNode(-1, kGroupRow, group);
        for (TTrend *direction : group->Directions)
            if (direction->IsDirection())
                AddNode(row, kDirectionRow, direction);
        if (!group->HasOwnDirections())
            for (TTrigger *trigger : group->Triggers)
                AddNode(row, kTriggerRow, trigger);
    }
}

TTrendGroup *SigGroupTreeModel::GroupAt(const QModelIndex &index) const
{
    if (!index.isValid())
        return nullptr;
    const QModelIndex top = index.parent().isValid() ? index.parent() : index;
    return static_cast<TTrendGroup *>(ObjectAt(top));
}

QString SigGroupTreeModel::DescriptionText(const QModelIndex &index) const
{
    switch (KindAt(index)) {
    case kGroupRow: {
        const auto *group = static_cast<const TTrendGroup *>(ObjectAt(index));
        return QString::fromStdString(group->Name.empty() ? std::string(group->KindName()) : group->Name);
    }
    case kDirectionRow: return QString::fromStdString(static_cast<const TTrend *>(ObjectAt(index))->Name);
    case kTriggerRow: return QString::fromStdString(static_cast<const TTrigger *>(ObjectAt(index))->Name);
    default: return {};
    }
}

QVariant SigGroupTreeModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int kind = KindAt(index);
    const int column = index.column();
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        if (column == kDescriptionColumn)
            return DescriptionText(index);
        switch (kind) {
        case kGroupRow: {
            const auto *group = static_cast<const TTrendGroup *>(ObjectAt(index));
            if (column == kNameColumn)
                return QString::fromStdString(group->DefaultName());
            if (column == kHeadsColumn)
                return group->HeadCount();
            if (column == kAlarmsColumn)
                return group->AlarmCount;
            break;
        }
        case kDirectionRow:
            if (column == kNameColumn)
                return QString::fromStdString(
                    config_.Groups.DirectionCaption(static_cast<const TTrend *>(ObjectAt(index))));
            break;
        case kTriggerRow:
            if (column == kNameColumn)
                return QString::fromStdString(TriggerCaption(
                    config_.Triggers.IndexOf(static_cast<const TTrigger *>(ObjectAt(index))) + 1));
            break;
        }
        return {};
    }
    if (role == Qt::DecorationRole && column == kNameColumn) {
        switch (kind) {
        case kGroupRow:
            return editor::GroupImage(static_cast<const TTrendGroup *>(ObjectAt(index))->KindImage());
        case kDirectionRow: return editor::DirectionIcon();
        case kTriggerRow: return editor::GroupImage(14);
        }
    }
    if (role == Qt::ForegroundRole && column == kDescriptionColumn && kind == kGroupRow &&
        static_cast<const TTrendGroup *>(ObjectAt(index))->Name.empty())
        return QPalette().brush(QPalette::PlaceholderText); // the kind's name stands in for a name
    if (role == Qt::FontRole && kind == kGroupRow && column == kNameColumn) {
        QFont font;
        font.setBold(true);
        return font;
    }
    if (role == Qt::TextAlignmentRole && (column == kHeadsColumn || column == kAlarmsColumn))
        return int(Qt::AlignCenter);
    if (role == Qt::ToolTipRole && kind == kGroupRow && column == kNameColumn)
        return QString::fromUtf8(static_cast<const TTrendGroup *>(ObjectAt(index))->KindName());
    return {};
}

bool SigGroupTreeModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const int kind = KindAt(index);
    if (index.column() == kDescriptionColumn) {
        const QString text = value.toString().trimmed();
        if (text == DescriptionText(index))
            return false; // the editor closed without a change: a shown kind name stays a default
        if (kind == kGroupRow)
            static_cast<TTrendGroup *>(ObjectAt(index))->Name = text.toStdString();
        else
            static_cast<TTrend *>(ObjectAt(index))->Name = text.toStdString();
        emit dataChanged(index, index);
        emit edited();
        return true;
    }
    auto *group = static_cast<TTrendGroup *>(ObjectAt(index));
    bool ok = false;
    const int count = value.toInt(&ok);
    if (!ok || count < 0)
        return false;
    if (index.column() == kHeadsColumn)
        config_.ChangeHeadCount(group, count);
    else
        TVantorConfig::ChangeAlarmCount(group, count);
    emit dataChanged(this->index(index.row(), kHeadsColumn, index.parent()),
                     this->index(index.row(), kAlarmsColumn, index.parent()));
    emit edited();
    return true;
}

Qt::ItemFlags SigGroupTreeModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const int kind = KindAt(index);
    const bool editable =
        (index.column() == kDescriptionColumn && kind != kTriggerRow) ||
        ((index.column() == kHeadsColumn || index.column() == kAlarmsColumn) && kind == kGroupRow);
    return editable ? flags | Qt::ItemIsEditable : flags;
}

QVariant SigGroupTreeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char *const kCaptions[] = {"Сигн. группа/Направление", "Описание", "Кол-во светофоров",
                                            "Лимит неиспр светофоров"};
    return section >= 0 && section < kColumnCount ? QString::fromUtf8(kCaptions[section]) : QVariant();
}

} // namespace vantor
