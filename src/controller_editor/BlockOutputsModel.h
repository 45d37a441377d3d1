#pragma once
// The output list of a block page ("Выходы"): one row per output with its caption,
// power, brightness, monitoring marks, current and voltage thresholds and the
// number of lamps it feeds. Only wired outputs can be edited. Rows are dragged onto
// the lamps of the signal-head tree, and lamps or heads dropped onto a row wire it.

#include <QAbstractTableModel>

namespace vantor {

class TController;
class TControllerOutput;
class TVantorConfig;

class BlockOutputsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        kCaptionColumn,
        kPowerColumn,
        kDayColumn,
        kNightColumn,
        kRedControlColumn,
        kGreenControlColumn,
        kShortCurrentColumn,
        kOffCurrentColumn,
        kOnCurrentColumn,
        kOffVoltageColumn,
        kOnVoltageColumn,
        kLampsColumn,
        kColumnCount
    };

    // The power value shown as "Вкл": a switched load without a rating.
    static constexpr double kPowerSwitched = -3;

    BlockOutputsModel(TVantorConfig &config, TController &block, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction | Qt::LinkAction; }
    Qt::DropActions supportedDropActions() const override { return Qt::CopyAction | Qt::LinkAction; }
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;

    TControllerOutput *OutputAt(const QModelIndex &index) const;
    // "КК" and "КЗ": a click on a wired output's cell switches its monitoring flag.
    bool ToggleMonitoring(const QModelIndex &index);
    // Everything may have changed (wiring, counts).
    void RefreshAll();

signals:
    // Outputs were wired by a drop (the page refreshes every view of the wiring).
    void wiringChanged();
    // A value was edited.
    void edited();

private:
    // The output a drop lands on.
    TControllerOutput *DropTarget(int row, const QModelIndex &parent) const;

    TVantorConfig &config_;
    TController &block_;
};

} // namespace vantor
