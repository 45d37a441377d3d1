#pragma once
// The signal-group tree of the page "Сигнальные группы": one row per group with its
// head and alarm counts, and under it the group's directions or, for information
// sections and panels, the directions and triggers they follow.

#include "controller_editor/NodeTreeModel.h"

namespace vantor {

class TTrend;
class TTrendGroup;
class TTrigger;
class TVantorConfig;

class SigGroupTreeModel : public editor::NodeTreeModel {
    Q_OBJECT

public:
    enum Column { kNameColumn, kDescriptionColumn, kHeadsColumn, kAlarmsColumn, kColumnCount };
    enum RowKind { kGroupRow, kDirectionRow, kTriggerRow };

    explicit SigGroupTreeModel(TVantorConfig &config, QObject *parent = nullptr);

    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The group a row belongs to (its own group for child rows); nullptr for none.
    TTrendGroup *GroupAt(const QModelIndex &index) const;

    using NodeTreeModel::Rebuild;

signals:
    // A name or count changed through an editor.
    void edited();

protected:
    void Build() override;

private:
    QString DescriptionText(const QModelIndex &index) const;

    TVantorConfig &config_;
};

} // namespace vantor
