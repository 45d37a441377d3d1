#include "controller_editor/SemaphoreTreeModel.h"

#include "controller/VantorConfig.h"
#include "controller_editor/VantorIcons.h"
#include "controller_editor/WiringMime.h"
#include "models/VantorModels.h"

#include <QFont>
#include <QMimeData>
#include <QPalette>

namespace vantor {
namespace {

const char *const kLampNames[] = {"красный", "желтый", "зеленый", "левый", "прямо", "правый", "нижний"};

} // namespace

SemaphoreTreeModel::SemaphoreTreeModel(TVantorConfig &config, QObject *parent)
    : NodeTreeModel(parent), config_(config)
{
    Rebuild();
}

int SemaphoreTreeModel::columnCount(const QModelIndex &) const
{
    return kColumnCount;
}

void SemaphoreTreeModel::Build()
{
    for (TTrendGroup *group : config_.Groups) {
        const int groupRow = AddNode(-1, kGroupRow, group);
        for (TSemaphoreObject *head : group->Heads) {
            const int headRow = AddNode(groupRow, kHeadRow, head);
            for (const TSemaphoreOut *lamp : head->Lamps)
                AddNode(headRow, kLampRow, head, lamp->LampPos);
        }
    }
}

TSemaphoreObject *SemaphoreTreeModel::HeadAt(const QModelIndex &index) const
{
    const int kind = KindAt(index);
    return kind == kHeadRow || kind == kLampRow ? static_cast<TSemaphoreObject *>(ObjectAt(index)) : nullptr;
}

int SemaphoreTreeModel::LampAt(const QModelIndex &index) const
{
    return KindAt(index) == kLampRow ? NodeAt(index).extra : -1;
}

QModelIndex SemaphoreTreeModel::LampIndex(const TSemaphoreObject *head, int lampPos, int column) const
{
    const QModelIndex headRow = IndexOf(head, kHeadRow);
    for (int row = 0; row < rowCount(headRow); ++row) {
        const QModelIndex lamp = index(row, column, headRow);
        if (LampAt(lamp) == lampPos)
            return lamp;
    }
    return {};
}

QVariant SemaphoreTreeModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int kind = KindAt(index);
    const int column = index.column();
    if (kind == kGroupRow) {
        const auto *group = static_cast<const TTrendGroup *>(ObjectAt(index));
        if (role == Qt::DisplayRole && column == kGroupColumn)
            return QString::fromStdString(group->DefaultName());
        if (role == Qt::DisplayRole && column == kHeadColumn)
            return QString::fromStdString(group->Name.empty() ? std::string(group->KindName()) : group->Name);
        if (role == Qt::ForegroundRole && column == kHeadColumn)
            return QPalette().brush(QPalette::PlaceholderText);
        if (role == Qt::DecorationRole && column == kGroupColumn)
            return editor::GroupImage(group->KindImage());
        if (role == Qt::FontRole && column == kGroupColumn) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    }
    const TSemaphoreObject *head = HeadAt(index);
    if (kind == kHeadRow) {
        if ((role == Qt::DisplayRole || role == Qt::EditRole) && column == kHeadColumn)
            return QString::fromStdString(head->NameOrDefault());
        if (role == Qt::DecorationRole && column == kGroupColumn)
            return editor::HeadIcon();
        if (role == Qt::DisplayRole && column == kGroupColumn)
            return QString::number(head->Position());
        return {};
    }
    const int lampPos = LampAt(index);
    const TControllerOutput *output = head->Output(lampPos);
    if (role == Qt::DecorationRole && column == kGroupColumn)
        return editor::LampIcon(lampPos);
    if (role == Qt::DisplayRole && column == kGroupColumn)
        return QString::fromUtf8(kLampNames[lampPos]);
    if (role == Qt::DisplayRole && column == kHeadColumn && output != nullptr)
        return QStringLiteral("Блок: %1, вых: %2")
            .arg(output->Block->ID)
            .arg(QString::fromStdString(output->ModelOutput->Name));
    if (role == Qt::ToolTipRole)
        return output != nullptr ? QStringLiteral("Перетащите на другой выход блока или выберите его в меню")
                                 : QStringLiteral("Перетащите сюда выход блока или выберите его в меню");
    return {};
}

bool SemaphoreTreeModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || KindAt(index) != kHeadRow || index.column() != kHeadColumn)
        return false;
    TSemaphoreObject *head = HeadAt(index);
    const QString text = value.toString().trimmed();
    if (text == QString::fromStdString(head->NameOrDefault()))
        return false; // unchanged: a shown default name stays a default
    head->Name = text.toStdString();
    emit dataChanged(index, index);
    emit edited();
    return true;
}

Qt::ItemFlags SemaphoreTreeModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    switch (KindAt(index)) {
    case kHeadRow:
        flags |= Qt::ItemIsDragEnabled;
        if (index.column() == kHeadColumn)
            flags |= Qt::ItemIsEditable;
        break;
    case kLampRow: flags |= Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled; break;
    }
    return flags;
}

QVariant SemaphoreTreeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    if (section == kGroupColumn)
        return QStringLiteral("Сигн. группа");
    if (section == kHeadColumn)
        return QStringLiteral("Светофор/Подключение");
    return {};
}

QStringList SemaphoreTreeModel::mimeTypes() const
{
    return {editor::kOutputMimeType};
}

QMimeData *SemaphoreTreeModel::mimeData(const QModelIndexList &indexes) const
{
    for (const QModelIndex &index : indexes)
        if (TSemaphoreObject *head = HeadAt(index))
            return editor::EncodeLamp(config_, editor::LampRef{head, LampAt(index)});
    return nullptr;
}

bool SemaphoreTreeModel::canDropMimeData(const QMimeData *data, Qt::DropAction, int row, int column,
                                         const QModelIndex &parent) const
{
    // Only a lamp row takes an output.
    const QModelIndex target = row >= 0 ? index(row, std::max(column, 0), parent) : parent;
    return KindAt(target) == kLampRow && editor::DecodeOutput(config_, data) != nullptr;
}

bool SemaphoreTreeModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                                      const QModelIndex &parent)
{
    if (action == Qt::IgnoreAction || !canDropMimeData(data, action, row, column, parent))
        return false;
    const QModelIndex target = row >= 0 ? index(row, std::max(column, 0), parent) : parent;
    config_.Wire(HeadAt(target), LampAt(target), editor::DecodeOutput(config_, data));
    RefreshWiring();
    emit wiringChanged();
    return true;
}

void SemaphoreTreeModel::RefreshWiring()
{
    // Lamp rows are the only rows whose text follows the wiring.
    for (int g = 0; g < rowCount(); ++g) {
        const QModelIndex group = index(g, 0);
        for (int h = 0; h < rowCount(group); ++h) {
            const QModelIndex head = index(h, 0, group);
            if (const int lamps = rowCount(head); lamps > 0)
                emit dataChanged(index(0, 0, head), index(lamps - 1, kColumnCount - 1, head));
        }
    }
}

} // namespace vantor
