#include "devices/pelmar/BodTreeModel.h"

#include "devices/pelmar/DetectorLook.h"
#include "devices/pelmar/SensorsSettings.h"

#include <algorithm>

namespace vantor {
namespace {

// BOD rows carry no parent id; sensor rows carry their BOD's row + 1.
constexpr quintptr kBodRow = 0;

} // namespace

BodTreeModel::BodTreeModel(TSensorsSettings &settings, QObject *parent)
    : QAbstractItemModel(parent), settings_(settings)
{
    Sort();
}

void BodTreeModel::Sort()
{
    bods_ = settings_.BodsByNumber();
    sensors_.clear();
    for (const TBOD *bod : bods_) {
        std::vector<TSensor *> sensors;
        for (int i = 0; i < bod->SensorCount(); ++i)
            sensors.push_back(bod->Sensor(i));
        std::stable_sort(sensors.begin(), sensors.end(),
                         [](const TSensor *a, const TSensor *b) { return a->Number() < b->Number(); });
        sensors_.push_back(std::move(sensors));
    }
}

void BodTreeModel::Reload()
{
    beginResetModel();
    Sort();
    endResetModel();
}

void BodTreeModel::Refresh()
{
    for (int row = 0; row < rowCount(); ++row) {
        const QModelIndex bod = index(row, 0);
        emit dataChanged(bod, index(row, kColumnCount - 1));
        if (const int sensors = rowCount(bod))
            emit dataChanged(index(0, 0, bod), index(sensors - 1, kColumnCount - 1, bod));
    }
}

TBOD *BodTreeModel::Bod(const QModelIndex &index) const
{
    if (!index.isValid() || index.internalId() != kBodRow)
        return nullptr;
    return bods_[static_cast<std::size_t>(index.row())];
}

TSensor *BodTreeModel::Sensor(const QModelIndex &index) const
{
    if (!index.isValid() || index.internalId() == kBodRow)
        return nullptr;
    return sensors_[index.internalId() - 1][static_cast<std::size_t>(index.row())];
}

TBOD *BodTreeModel::BodOf(const QModelIndex &index) const
{
    if (TSensor *sensor = Sensor(index))
        return sensor->Owner();
    return Bod(index);
}

QModelIndex BodTreeModel::IndexOf(const TBOD *bod, int column) const
{
    const auto it = std::find(bods_.begin(), bods_.end(), bod);
    return it == bods_.end() ? QModelIndex() : index(static_cast<int>(it - bods_.begin()), column);
}

QModelIndex BodTreeModel::IndexOf(const TSensor *sensor, int column) const
{
    const QModelIndex bod = IndexOf(sensor ? sensor->Owner() : nullptr);
    if (!bod.isValid())
        return {};
    const auto &sensors = sensors_[static_cast<std::size_t>(bod.row())];
    const auto it = std::find(sensors.begin(), sensors.end(), sensor);
    return it == sensors.end() ? QModelIndex() : index(static_cast<int>(it - sensors.begin()), column, bod);
}

QModelIndex BodTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (row < 0 || column < 0 || column >= kColumnCount)
        return {};
    if (!parent.isValid())
        return row < static_cast<int>(bods_.size()) ? createIndex(row, column, kBodRow) : QModelIndex();
    if (parent.internalId() != kBodRow)
        return {};
    const auto &sensors = sensors_[static_cast<std::size_t>(parent.row())];
    return row < static_cast<int>(sensors.size()) ? createIndex(row, column, quintptr(parent.row()) + 1)
                                                  : QModelIndex();
}

QModelIndex BodTreeModel::parent(const QModelIndex &child) const
{
    if (!child.isValid() || child.internalId() == kBodRow)
        return {};
    return createIndex(static_cast<int>(child.internalId() - 1), 0, kBodRow);
}

int BodTreeModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return static_cast<int>(bods_.size());
    if (parent.internalId() == kBodRow && parent.column() == 0)
        return static_cast<int>(sensors_[static_cast<std::size_t>(parent.row())].size());
    return 0;
}

int BodTreeModel::columnCount(const QModelIndex &) const
{
    return kColumnCount;
}

QVariant BodTreeModel::data(const QModelIndex &index, int role) const
{
    if (const TBOD *bod = Bod(index))
        return BodData(*bod, index.column(), role);
    if (const TSensor *sensor = Sensor(index))
        return SensorData(*sensor, index.column(), role);
    return {};
}

QVariant BodTreeModel::BodData(const TBOD &bod, int column, int role) const
{
    switch (column) {
    case kNumberColumn:
        switch (role) {
        case Qt::DisplayRole: return QString::number(bod.Number());
        case Qt::EditRole: return bod.Number();
        case Qt::ForegroundRole: return NumberColor(settings_.IsBodNumberUnique(&bod));
        case kMinimumRole: return 0;
        case kMaximumRole: return TSensorsSettings::kBodNumbers - 1;
        default: return {};
        }
    case kNameColumn: {
        const QString name = QString::fromStdString(bod.Name());
        switch (role) {
        case Qt::DisplayRole: return name.isEmpty() ? NoneText() : name;
        case Qt::EditRole: return name;
        case Qt::ForegroundRole: return name.isEmpty() ? QVariant(NoneColor()) : QVariant();
        default: return {};
        }
    }
    case kDistanceColumn:
        switch (role) {
        case Qt::DisplayRole: return QStringLiteral("%1 м").arg(bod.Distance());
        case Qt::EditRole: return static_cast<int>(bod.Distance());
        case Qt::TextAlignmentRole: return int(Qt::AlignRight | Qt::AlignVCenter);
        default: return {};
        }
    default: return {};
    }
}

QVariant BodTreeModel::SensorData(const TSensor &sensor, int column, int role) const
{
    switch (column) {
    case kNumberColumn:
        switch (role) {
        case Qt::DisplayRole: return QString::number(sensor.Number() + 1);
        case Qt::EditRole: return sensor.Number() + 1;
        case Qt::ForegroundRole: return NumberColor(sensor.Owner()->IsSensorNumberUnique(&sensor));
        case kMinimumRole: return 1;
        case kMaximumRole: return TBOD::kSensorNumbers;
        default: return {};
        }
    case kNameColumn: {
        const TSensorTrend *trend = sensor.Direction();
        switch (role) {
        case Qt::DisplayRole:
            return trend ? QStringLiteral("%1 [%2]")
                               .arg(QString::fromStdString(trend->Name()))
                               .arg(settings_.IndexOf(trend) + 1)
                         : NoneText();
        case Qt::ForegroundRole: return trend ? QVariant() : QVariant(NoneColor());
        case Qt::ToolTipRole: return QStringLiteral("Щёлкните, чтобы выбрать направление датчика");
        default: return {};
        }
    }
    default: return {};
    }
}

bool BodTreeModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole)
        return false;
    bool renumbered = false;
    if (TBOD *bod = Bod(index)) {
        switch (index.column()) {
        case kNumberColumn: {
            const int number = std::clamp(value.toInt(), 0, TSensorsSettings::kBodNumbers - 1);
            renumbered = bod->Number() != number;
            bod->SetNumber(number);
            break;
        }
        case kNameColumn: bod->SetName(value.toString().toStdString()); break;
        case kDistanceColumn:
            bod->SetDistance(static_cast<std::int16_t>(std::clamp(value.toInt(), -1000, 1000)));
            break;
        default: return false;
        }
    } else if (TSensor *sensor = Sensor(index); sensor && index.column() == kNumberColumn) {
        const int number = std::clamp(value.toInt(), 1, TBOD::kSensorNumbers) - 1;
        renumbered = sensor->Number() != number;
        sensor->SetNumber(number);
    } else {
        return false;
    }
    if (renumbered) {
        // Duplicates may have appeared or gone among the siblings.
        const QModelIndex parent = index.parent();
        emit dataChanged(this->index(0, kNumberColumn, parent),
                         this->index(rowCount(parent) - 1, kNumberColumn, parent));
        emit numberEdited();
    } else {
        emit dataChanged(index, index);
    }
    return true;
}

Qt::ItemFlags BodTreeModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (Bod(index) || index.column() == kNumberColumn)
        return flags | Qt::ItemIsEditable;
    return flags; // a sensor's direction is chosen from a menu
}

QVariant BodTreeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case kNumberColumn: return QStringLiteral("Идентификатор");
    case kNameColumn: return QStringLiteral("Название / Направление");
    case kDistanceColumn: return QStringLiteral("Удаленность от перекрестка");
    default: return {};
    }
}

} // namespace vantor
