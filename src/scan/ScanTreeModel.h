#pragma once

#include "scan/ScanTree.h"

#include <QAbstractItemModel>
#include <functional>

namespace tarl {

// The scan tree as a Qt item model for the scan window's tree view: one column, the node's text,
// its key, kind name and picture index for the window's handlers. It follows the tree through
// ScanTreeObserver, so the view shows every node as the walk adds it.
class ScanTreeModel : public QAbstractItemModel, public ScanTreeObserver {
    Q_OBJECT

public:
    enum Role {
        KeyRole = Qt::UserRole,         // QString
        TagRole = Qt::UserRole + 1,     // QString: ScanNodeKindName
        PictureRole = Qt::UserRole + 2, // int
    };

    explicit ScanTreeModel(ScanTree& tree, QObject* parent = nullptr);
    ~ScanTreeModel() override;

    // The decoration of a picture index; the window gives its pictures, none by default.
    void setPictures(std::function<QVariant(int picture)> pictures) {
        pictures_ = std::move(pictures);
    }

    ScanTree& tree() const { return tree_; }
    // Null for an invalid index.
    ScanNode* nodeAt(const QModelIndex& index) const;
    // An invalid index for a null node.
    QModelIndex indexOf(const ScanNode* node) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void scanTreeAboutToReset() override;
    void scanTreeReset() override;
    void scanNodeAboutToBeAdded(ScanNode* parent, int row) override;
    void scanNodeAdded() override;
    void scanNodeAboutToBeRemoved(ScanNode* node) override;
    void scanNodeRemoved() override;
    void scanNodeChanged(ScanNode* node) override;

private:
    int rowOf(const ScanNode* node) const;

    ScanTree& tree_;
    std::function<QVariant(int)> pictures_;
};

} // namespace tarl
