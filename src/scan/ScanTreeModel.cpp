#include "scan/ScanTreeModel.h"

namespace tarl {

ScanTreeModel::ScanTreeModel(ScanTree& tree, QObject* parent)
    : QAbstractItemModel(parent), tree_(tree) {
    tree_.setObserver(this);
}

ScanTreeModel::~ScanTreeModel() {
    tree_.setObserver(nullptr);
}

// Searched from the end: a walk adds to the last folder node, so the node asked for while the
// tree grows is almost always the last one, and a scan of many folders stays linear.
int ScanTreeModel::rowOf(const ScanNode* node) const {
    if (ScanNode* parent = node->parent()) {
        for (int i = parent->childCount() - 1; i >= 0; --i)
            if (&parent->child(i) == node)
                return i;
        return -1;
    }
    const auto& roots = tree_.roots();
    for (int i = static_cast<int>(roots.size()) - 1; i >= 0; --i)
        if (roots[i].get() == node)
            return i;
    return -1;
}

ScanNode* ScanTreeModel::nodeAt(const QModelIndex& index) const {
    if (!index.isValid())
        return nullptr;
    return static_cast<ScanNode*>(index.internalPointer());
}

QModelIndex ScanTreeModel::indexOf(const ScanNode* node) const {
    if (node == nullptr)
        return {};
    const int row = rowOf(node);
    if (row < 0)
        return {};
    return createIndex(row, 0, const_cast<ScanNode*>(node));
}

QModelIndex ScanTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0)
        return {};
    if (ScanNode* node = nodeAt(parent)) {
        if (row >= node->childCount())
            return {};
        return createIndex(row, 0, &node->child(row));
    }
    if (parent.isValid() || row >= tree_.rootCount())
        return {};
    return createIndex(row, 0, tree_.roots()[row].get());
}

QModelIndex ScanTreeModel::parent(const QModelIndex& child) const {
    const ScanNode* node = nodeAt(child);
    if (node == nullptr)
        return {};
    return indexOf(node->parent());
}

int ScanTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0)
        return 0;
    if (const ScanNode* node = nodeAt(parent))
        return node->childCount();
    return tree_.rootCount();
}

int ScanTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant ScanTreeModel::data(const QModelIndex& index, int role) const {
    const ScanNode* node = nodeAt(index);
    if (node == nullptr)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return node->shownText();
    case Qt::DecorationRole:
        return pictures_ ? pictures_(node->picture()) : QVariant();
    case KeyRole:
        return node->key();
    case TagRole:
        return ScanNodeKindName(node->kind());
    case PictureRole:
        return node->picture();
    default:
        return {};
    }
}

Qt::ItemFlags ScanTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void ScanTreeModel::scanTreeAboutToReset() {
    beginResetModel();
}

void ScanTreeModel::scanTreeReset() {
    endResetModel();
}

void ScanTreeModel::scanNodeAboutToBeAdded(ScanNode* parent, int row) {
    beginInsertRows(indexOf(parent), row, row);
}

void ScanTreeModel::scanNodeAdded() {
    endInsertRows();
}

void ScanTreeModel::scanNodeAboutToBeRemoved(ScanNode* node) {
    const QModelIndex index = indexOf(node);
    beginRemoveRows(index.parent(), index.row(), index.row());
}

void ScanTreeModel::scanNodeRemoved() {
    endRemoveRows();
}

void ScanTreeModel::scanNodeChanged(ScanNode* node) {
    const QModelIndex index = indexOf(node);
    emit dataChanged(index, index);
}

} // namespace tarl
