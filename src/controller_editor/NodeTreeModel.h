#pragma once
// A tree model over objects of the configuration, rebuilt as a whole whenever the
// objects change: derived models add their rows with AddNode between BeginRebuild
// and EndRebuild, and read each row's object back in data() and setData().

#include <QAbstractItemModel>

#include <vector>

class QTreeView;

namespace vantor::editor {

class NodeTreeModel : public QAbstractItemModel {
    Q_OBJECT

public:
    using QAbstractItemModel::QAbstractItemModel;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;

    // The object and kind a row stands for (nullptr / -1 for an invalid index).
    void *ObjectAt(const QModelIndex &index) const;
    int KindAt(const QModelIndex &index) const;
    // The first row of an object of a kind, or an invalid index.
    QModelIndex IndexOf(const void *object, int kind, int column = 0) const;

    // Rebuilds the model and keeps, by object, which rows of `view` were collapsed
    // (rows are expanded otherwise) and which row was current.
    void RebuildKeepingView(QTreeView &view);

protected:
    struct Node {
        int parent = -1; // node index, -1 for top-level rows
        int row = 0;     // position under its parent
        int kind = 0;
        void *object = nullptr;
        int extra = 0; // a number the derived model needs (a position, a lamp)
        std::vector<int> children;
    };

    // Fills the nodes again (between beginResetModel and endResetModel).
    virtual void Build() = 0;
    void Rebuild();
    int AddNode(int parent, int kind, void *object, int extra = 0);
    const Node &NodeAt(const QModelIndex &index) const
    {
        return nodes_[static_cast<std::size_t>(index.internalId() - 1)];
    }
    QModelIndex IndexOfNode(int node, int column) const;

private:
    std::vector<Node> nodes_;
    std::vector<int> top_;
};

} // namespace vantor::editor
