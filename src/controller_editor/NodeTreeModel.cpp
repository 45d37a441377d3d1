#include "controller_editor/NodeTreeModel.h"

#include <QTreeView>

#include <optional>
#include <set>
#include <tuple>
#include <utility>

namespace vantor::editor {

QModelIndex NodeTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (row < 0 || column < 0 || column >= columnCount(parent))
        return {};
    const std::vector<int> &rows = parent.isValid() ? NodeAt(parent).children : top_;
    if (row >= static_cast<int>(rows.size()))
        return {};
    return createIndex(row, column, static_cast<quintptr>(rows[static_cast<std::size_t>(row)] + 1));
}

QModelIndex NodeTreeModel::parent(const QModelIndex &child) const
{
    if (!child.isValid())
        return {};
    const int parent = NodeAt(child).parent;
    return parent < 0 ? QModelIndex() : IndexOfNode(parent, 0);
}

int NodeTreeModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return static_cast<int>(top_.size());
    if (parent.column() != 0)
        return 0;
    return static_cast<int>(NodeAt(parent).children.size());
}

void *NodeTreeModel::ObjectAt(const QModelIndex &index) const
{
    return index.isValid() && index.model() == this ? NodeAt(index).object : nullptr;
}

int NodeTreeModel::KindAt(const QModelIndex &index) const
{
    return index.isValid() && index.model() == this ? NodeAt(index).kind : -1;
}

QModelIndex NodeTreeModel::IndexOf(const void *object, int kind, int column) const
{
    for (std::size_t i = 0; i < nodes_.size(); ++i)
        if (nodes_[i].object == object && nodes_[i].kind == kind)
            return IndexOfNode(static_cast<int>(i), column);
    return {};
}

QModelIndex NodeTreeModel::IndexOfNode(int node, int column) const
{
    return createIndex(nodes_[static_cast<std::size_t>(node)].row, column, static_cast<quintptr>(node + 1));
}

int NodeTreeModel::AddNode(int parent, int kind, void *object, int extra)
{
    const int id = static_cast<int>(nodes_.size());
    std::vector<int> &siblings = parent < 0 ? top_ : nodes_[static_cast<std::size_t>(parent)].children;
    Node node;
    node.parent = parent;
    node.row = static_cast<int>(siblings.size());
    node.kind = kind;
    node.object = object;
    node.extra = extra;
    siblings.push_back(id);
    nodes_.push_back(std::move(node));
    return id;
}

void NodeTreeModel::Rebuild()
{
    beginResetModel();
    nodes_.clear();
    top_.clear();
    Build();
    endResetModel();
}

void NodeTreeModel::RebuildKeepingView(QTreeView &view)
{
    // Rows are known again by what they show: object, kind and the extra number.
    using Key = std::tuple<const void *, int, int>;
    const auto key = [this](std::size_t i) { return Key{nodes_[i].object, nodes_[i].kind, nodes_[i].extra}; };
    std::set<Key> collapsed;
    for (std::size_t i = 0; i < nodes_.size(); ++i)
        if (!nodes_[i].children.empty() && !view.isExpanded(IndexOfNode(static_cast<int>(i), 0)))
            collapsed.insert(key(i));
    const QModelIndex current = view.currentIndex();
    std::optional<Key> currentKey;
    if (current.isValid() && current.model() == this)
        currentKey = key(static_cast<std::size_t>(current.internalId() - 1));
    const int currentColumn = std::max(current.column(), 0);

    Rebuild();

    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        if (!nodes_[i].children.empty() && !collapsed.contains(key(i)))
            view.expand(IndexOfNode(static_cast<int>(i), 0));
        if (currentKey && key(i) == *currentKey) {
            view.setCurrentIndex(IndexOfNode(static_cast<int>(i), currentColumn));
            currentKey.reset();
        }
    }
}

} // namespace vantor::editor
