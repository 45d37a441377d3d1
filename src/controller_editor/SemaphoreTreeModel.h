#pragma once
// The signal-head tree of "Блоки и подключения" ("Светофоры"): the groups, their
// heads and each head's lamps with the block output it is wired to. Lamps and heads
// are dragged onto block outputs; outputs dropped onto a lamp wire it.

#include "controller_editor/NodeTreeModel.h"

namespace vantor {

class TSemaphoreObject;
class TTrendGroup;
class TVantorConfig;

class SemaphoreTreeModel : public editor::NodeTreeModel {
    Q_OBJECT

public:
    enum Column { kGroupColumn, kHeadColumn, kColumnCount };
    enum RowKind { kGroupRow, kHeadRow, kLampRow };

    explicit SemaphoreTreeModel(TVantorConfig &config, QObject *parent = nullptr);

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

    // The head of a head or lamp row, and the lamp position of a lamp row (-1 else).
    TSemaphoreObject *HeadAt(const QModelIndex &index) const;
    int LampAt(const QModelIndex &index) const;
    QModelIndex LampIndex(const TSemaphoreObject *head, int lampPos, int column = 0) const;

    using NodeTreeModel::Rebuild;
    // The lamps' wiring texts changed.
    void RefreshWiring();

signals:
    // A drop wired a lamp.
    void wiringChanged();
    // A head was renamed.
    void edited();

protected:
    void Build() override;

private:
    TVantorConfig &config_;
};

} // namespace vantor
