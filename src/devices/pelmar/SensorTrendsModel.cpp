#include "devices/pelmar/SensorTrendsModel.h"

#include "devices/pelmar/DetectorLook.h"
#include "devices/pelmar/SensorsSettings.h"

#include <QIcon>

namespace vantor {

SensorTrendsModel::SensorTrendsModel(TSensorsSettings &settings, QObject *parent)
    : QAbstractTableModel(parent), settings_(settings)
{}

void SensorTrendsModel::Reload()
{
    beginResetModel();
    endResetModel();
}

void SensorTrendsModel::Refresh()
{
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1));
}

TSensorTrend *SensorTrendsModel::Trend(const QModelIndex &index) const
{
    return index.isValid() && index.row() < settings_.TrendCount() ? settings_.Trend(index.row()) : nullptr;
}

QModelIndex SensorTrendsModel::IndexOf(const TSensorTrend *trend, int column) const
{
    const int row = settings_.IndexOf(trend);
    return row < 0 ? QModelIndex() : index(row, column);
}

int SensorTrendsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : settings_.TrendCount();
}

int SensorTrendsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant SensorTrendsModel::data(const QModelIndex &index, int role) const
{
    const TSensorTrend *trend = Trend(index);
    if (!trend)
        return {};
    const QString name = QString::fromStdString(trend->Name());
    if (index.column() == kNumberColumn) {
        if (role == Qt::DisplayRole)
            return index.row() + 1;
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        if (role == Qt::DecorationRole && settings_.IsTrendUsed(trend))
            return AnchorIcon();
        if (role == Qt::ToolTipRole && settings_.IsTrendUsed(trend))
            return QStringLiteral("Направление назначено датчикам");
        return {};
    }
    switch (role) {
    case Qt::DisplayRole: return name.isEmpty() ? NoneText() : name;
    case Qt::EditRole: return name;
    case Qt::ForegroundRole: return name.isEmpty() ? QVariant(NoneColor()) : QVariant();
    default: return {};
    }
}

bool SensorTrendsModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    TSensorTrend *trend = Trend(index);
    if (!trend || index.column() != kNameColumn || role != Qt::EditRole)
        return false;
    trend->SetName(value.toString().toStdString());
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags SensorTrendsModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.column() == kNameColumn ? flags | Qt::ItemIsEditable : flags;
}

QVariant SensorTrendsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == kNumberColumn ? QStringLiteral("#") : QStringLiteral("Название");
}

} // namespace vantor
