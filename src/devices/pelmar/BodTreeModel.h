#pragma once
// The BOD list of the detector module (`vtBlocks`): one row per BOD with its sensors
// below it. Columns "Идентификатор" (BOD number 0..31; sensor number shown 1..8),
// "Название / Направление" (BOD name; the sensor's direction as "%s [%d]") and
// "Удаленность от перекрестка" (BOD distance, " м").
//
// Both levels are shown in ascending order of number (equal numbers in the order of
// addition); Reload() re-sorts. A number shared with a sibling is drawn in red.

#include <QAbstractItemModel>

#include <vector>

namespace vantor {

class TBOD;
class TSensor;
class TSensorsSettings;

class BodTreeModel : public QAbstractItemModel {
    Q_OBJECT

public:
    enum Column { kNumberColumn, kNameColumn, kDistanceColumn, kColumnCount };
    // The least and greatest value the number cell of a row may take.
    static constexpr int kMinimumRole = Qt::UserRole + 10;
    static constexpr int kMaximumRole = Qt::UserRole + 11;

    explicit BodTreeModel(TSensorsSettings &settings, QObject *parent = nullptr);

    // Rows came or went, or numbers changed: rebuild the sorted rows.
    void Reload();
    // Texts changed (directions renamed): repaint.
    void Refresh();

    TBOD *Bod(const QModelIndex &index) const;       // BOD rows only
    TSensor *Sensor(const QModelIndex &index) const; // sensor rows only
    TBOD *BodOf(const QModelIndex &index) const;     // the BOD of either kind of row
    QModelIndex IndexOf(const TBOD *bod, int column = kNumberColumn) const;
    QModelIndex IndexOf(const TSensor *sensor, int column = kNumberColumn) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // A number was edited: the level needs re-sorting (do it after the editor closed).
    void numberEdited();

private:
    void Sort();
    QVariant BodData(const TBOD &bod, int column, int role) const;
    QVariant SensorData(const TSensor &sensor, int column, int role) const;

    TSensorsSettings &settings_;
    std::vector<TBOD *> bods_;                    // shown order
    std::vector<std::vector<TSensor *>> sensors_; // per shown BOD
};

} // namespace vantor
