#include "browser/LibraryTreeModel.h"

#include "browser/TreeIcons.h"
#include "text/CellText.h"

#include <QPalette>

namespace tarl {

LibraryTreeModel::LibraryTreeModel(LibraryTree& tree, QObject* parent)
    : QAbstractItemModel(parent), tree_(tree) {
    tree_.setObserver(this);
}

LibraryTreeModel::~LibraryTreeModel() {
    tree_.setObserver(nullptr);
}

TreeNode* LibraryTreeModel::nodeAt(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this)
        return nullptr;
    return static_cast<TreeNode*>(index.internalPointer());
}

QModelIndex LibraryTreeModel::indexOf(const TreeNode* node) const {
    if (!node)
        return {};
    return createIndex(node->row, 0, const_cast<TreeNode*>(node));
}

const std::vector<std::unique_ptr<TreeNode>>&
LibraryTreeModel::childrenOf(const TreeNode* node) const {
    return node ? node->children : tree_.topLevel();
}

QModelIndex LibraryTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0 || (parent.isValid() && parent.column() != 0))
        return {};
    const auto& children = childrenOf(nodeAt(parent));
    if (static_cast<std::size_t>(row) >= children.size())
        return {};
    return createIndex(row, 0, children[static_cast<std::size_t>(row)].get());
}

QModelIndex LibraryTreeModel::parent(const QModelIndex& child) const {
    const TreeNode* node = nodeAt(child);
    if (!node)
        return {};
    return indexOf(node->parent);
}

int LibraryTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return static_cast<int>(childrenOf(nodeAt(parent)).size());
}

int LibraryTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool LibraryTreeModel::hasChildren(const QModelIndex& parent) const {
    return rowCount(parent) > 0;
}

QVariant LibraryTreeModel::data(const QModelIndex& index, int role) const {
    const TreeNode* node = nodeAt(index);
    if (!node)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return CellText(node->text);
    case Qt::DecorationRole: {
        const QIcon icon = iconOf(node->image);
        return icon.isNull() ? QVariant() : QVariant(icon);
    }
    case KeyRole:
        return node->key;
    case TagRole:
        return node->tag;
    case ImageRole:
        return node->image;
    case Qt::BackgroundRole:
        if (node == dropHighlight_)
            return QPalette().brush(QPalette::Highlight);
        return {};
    case Qt::ForegroundRole:
        if (node == dropHighlight_)
            return QPalette().brush(QPalette::HighlightedText);
        return {};
    default:
        return {};
    }
}

void LibraryTreeModel::setDropHighlight(const TreeNode* node) {
    if (node == dropHighlight_)
        return;
    const TreeNode* before = dropHighlight_;
    dropHighlight_ = node;
    for (const TreeNode* changed : {before, node}) {
        const QModelIndex index = indexOf(changed);
        if (index.isValid())
            emit dataChanged(index, index, {Qt::BackgroundRole, Qt::ForegroundRole});
    }
}

Qt::ItemFlags LibraryTreeModel::flags(const QModelIndex& index) const {
    if (!nodeAt(index))
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

QIcon LibraryTreeModel::iconOf(int image) const {
    const auto it = icons_.constFind(image);
    if (it != icons_.cend())
        return *it;
    const QIcon icon = TreeIcons::icon(image);
    icons_.insert(image, icon);
    return icon;
}

void LibraryTreeModel::treeAboutToReset() {
    dropHighlight_ = nullptr; // its node goes
    beginResetModel();
}

void LibraryTreeModel::treeReset() {
    endResetModel();
}

void LibraryTreeModel::nodeAboutToBeAdded(TreeNode* parent, int row) {
    beginInsertRows(indexOf(parent), row, row);
}

void LibraryTreeModel::nodeAdded() {
    endInsertRows();
}

void LibraryTreeModel::nodeAboutToBeRemoved(TreeNode* node) {
    dropHighlight_ = nullptr; // it may be the node or below it
    beginRemoveRows(indexOf(node->parent), node->row, node->row);
}

void LibraryTreeModel::nodeRemoved() {
    endRemoveRows();
}

void LibraryTreeModel::nodeChanged(TreeNode* node) {
    const QModelIndex at = indexOf(node);
    emit dataChanged(at, at);
}

} // namespace tarl
