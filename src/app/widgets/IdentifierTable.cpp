#include "app/widgets/IdentifierTable.h"

#include "app/widgets/CellDelegates.h"
#include "app/widgets/HexSpinBox.h"
#include "app/widgets/InPlaceViews.h"

#include <QFont>
#include <QHeaderView>

#include <algorithm>

namespace vantor::widgets {

namespace {

// Group rows carry no parent id; entry rows carry their group + 1.
constexpr quintptr kGroupRow = 0;

} // namespace

IdentifierTableModel::IdentifierTableModel(IdentifierSource &source, int hexDigits, QObject *parent)
    : QAbstractItemModel(parent), source_(source), hexDigits_(hexDigits)
{}

void IdentifierTableModel::Reload()
{
    beginResetModel();
    endResetModel();
}

void IdentifierTableModel::RefreshValues()
{
    for (int group = 0; group < source_.GroupCount(); ++group) {
        const int count = source_.EntryCount(group);
        if (count > 0)
            emit dataChanged(EntryIndex(group, 0, kCaptionColumn), EntryIndex(group, count - 1, kHexColumn));
    }
}

QModelIndex IdentifierTableModel::EntryIndex(int group, int entry, int column) const
{
    return index(entry, column, index(group, 0));
}

QModelIndex IdentifierTableModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column < 0 || column >= kColumnCount || row < 0)
        return {};
    if (!parent.isValid())
        return row < source_.GroupCount() ? createIndex(row, column, kGroupRow) : QModelIndex();
    if (parent.internalId() != kGroupRow || parent.column() != 0)
        return {};
    return row < source_.EntryCount(parent.row()) ? createIndex(row, column, quintptr(parent.row()) + 1)
                                                  : QModelIndex();
}

QModelIndex IdentifierTableModel::parent(const QModelIndex &child) const
{
    if (!child.isValid() || child.internalId() == kGroupRow)
        return {};
    return createIndex(int(child.internalId() - 1), 0, kGroupRow);
}

int IdentifierTableModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return source_.GroupCount();
    if (parent.internalId() == kGroupRow && parent.column() == 0)
        return source_.EntryCount(parent.row());
    return 0;
}

int IdentifierTableModel::columnCount(const QModelIndex &) const
{
    return kColumnCount;
}

QVariant IdentifierTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (index.internalId() == kGroupRow) {
        if (index.column() != kCaptionColumn)
            return {};
        if (role == Qt::DisplayRole)
            return source_.GroupCaption(index.row());
        if (role == Qt::FontRole) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    }
    const int group = int(index.internalId() - 1);
    const int entry = index.row();
    switch (index.column()) {
    case kCaptionColumn:
        return role == Qt::DisplayRole ? QVariant(source_.EntryCaption(group, entry)) : QVariant();
    case kDecColumn:
        if (role == Qt::DisplayRole)
            return QString::number(source_.EntryValue(group, entry));
        if (role == Qt::EditRole)
            return source_.EntryValue(group, entry);
        break;
    case kHexColumn:
        if (role == Qt::DisplayRole)
            return HexSpinBox::FormatHex(source_.EntryValue(group, entry), hexDigits_);
        if (role == Qt::EditRole)
            return source_.EntryValue(group, entry);
        break;
    default: break;
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant(Qt::AlignCenter);
    return {};
}

bool IdentifierTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok)
        return false;
    const int group = int(index.internalId() - 1);
    const int entry = index.row();
    const int clamped = std::clamp(number, 0, 65535);
    if (clamped == source_.EntryValue(group, entry))
        return true;
    source_.SetEntryValue(group, entry, clamped);
    emit dataChanged(this->index(entry, kDecColumn, index.parent()),
                     this->index(entry, kHexColumn, index.parent()));
    emit entryEdited(group, entry);
    return true;
}

Qt::ItemFlags IdentifierTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.internalId() != kGroupRow && (index.column() == kDecColumn || index.column() == kHexColumn))
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant IdentifierTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant(section == kCaptionColumn ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (section) {
    case kCaptionColumn: return QStringLiteral("Идентификаторы");
    case kDecColumn: return QStringLiteral("Dec");
    case kHexColumn: return QStringLiteral("Hex");
    default: return {};
    }
}

void SetUpIdentifierView(InPlaceTreeView &view, IdentifierTableModel &model)
{
    view.setModel(&model);
    auto *dec = new IntegerCellDelegate(0, 65535, &view);
    dec->setCommitEveryChange(true);
    auto *hex = new HexCellDelegate(0, 65535, model.hexDigits(), &view);
    hex->setCommitEveryChange(true);
    view.setItemDelegateForColumn(IdentifierTableModel::kDecColumn, dec);
    view.setItemDelegateForColumn(IdentifierTableModel::kHexColumn, hex);
    view.setItemsExpandable(false);
    view.setRootIsDecorated(false);
    view.setExpandsOnDoubleClick(false);
    view.expandAll();
    QObject::connect(&model, &QAbstractItemModel::modelReset, &view, [&view] { view.expandAll(); });
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, &view, [&view] { view.expandAll(); });
    view.header()->setStretchLastSection(false);
    view.header()->setSectionResizeMode(IdentifierTableModel::kCaptionColumn, QHeaderView::Stretch);
    view.header()->resizeSection(IdentifierTableModel::kDecColumn, 90);
    view.header()->resizeSection(IdentifierTableModel::kHexColumn, 90);
    view.setMaximumWidth(kIdentifierViewMaximumWidth);
}

} // namespace vantor::widgets
