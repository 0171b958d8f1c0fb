#pragma once

#include "browser/LibraryTree.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QIcon>

namespace tarl {

// The library tree as a Qt item model for the tree view: one column, the node's text, the icon
// of its image index, and its key and tag for the window's handlers. It follows the tree through
// LibraryTreeObserver, so the view shows every change (one reset for a whole rebuild).
class LibraryTreeModel : public QAbstractItemModel, public LibraryTreeObserver {
    Q_OBJECT

public:
    enum Role {
        KeyRole = Qt::UserRole,       // QString, "" when the node has no key
        TagRole = Qt::UserRole + 1,   // QString
        ImageRole = Qt::UserRole + 2, // int, the image index
    };

    explicit LibraryTreeModel(LibraryTree& tree, QObject* parent = nullptr);
    ~LibraryTreeModel() override;

    LibraryTree& tree() const { return tree_; }
    // Null for an invalid index.
    TreeNode* nodeAt(const QModelIndex& index) const;
    // An invalid index for a null node.
    QModelIndex indexOf(const TreeNode* node) const;

    // The node a drag would drop on, drawn in the selection's colours; null for none.
    void setDropHighlight(const TreeNode* node);
    const TreeNode* dropHighlight() const { return dropHighlight_; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void treeAboutToReset() override;
    void treeReset() override;
    void nodeAboutToBeAdded(TreeNode* parent, int row) override;
    void nodeAdded() override;
    void nodeAboutToBeRemoved(TreeNode* node) override;
    void nodeRemoved() override;
    void nodeChanged(TreeNode* node) override;

private:
    const std::vector<std::unique_ptr<TreeNode>>& childrenOf(const TreeNode* node) const;
    QIcon iconOf(int image) const;

    LibraryTree& tree_;
    // One icon per image index, made when first shown; each keeps its drawn sizes.
    mutable QHash<int, QIcon> icons_;
    const TreeNode* dropHighlight_ = nullptr;
};

} // namespace tarl
