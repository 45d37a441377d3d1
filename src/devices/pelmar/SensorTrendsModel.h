#pragma once
// The direction list of the detector module (`vtTrends`): "#" (position + 1) and
// "Название" (edited in place). An empty name shows "[нет]" in grey; a direction a
// sensor uses carries the anchor image.

#include <QAbstractTableModel>

namespace vantor {

class TSensorsSettings;
class TSensorTrend;

class SensorTrendsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { kNumberColumn, kNameColumn, kColumnCount };

    explicit SensorTrendsModel(TSensorsSettings &settings, QObject *parent = nullptr);

    // Directions came or went.
    void Reload();
    // Names or use changed.
    void Refresh();

    TSensorTrend *Trend(const QModelIndex &index) const;
    QModelIndex IndexOf(const TSensorTrend *trend, int column = kNameColumn) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    TSensorsSettings &settings_;
};

} // namespace vantor
