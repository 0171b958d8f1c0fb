#pragma once

#include "browser/NodeKind.h"
#include "catalog/LibraryTreeEdits.h"

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

namespace tarl {

// One node of the library tree: what the tree view shows and what the track list and the
// context commands read. Nodes are added as the last child of their parent.
struct TreeNode {
    QString text;
    QString key;   // unique within the tree; empty when the node has none
    QString tag;   // the node's kind as its tag text (NodeKindTag)
    int image = 0; // the index of its picture (TreeImage)
    bool expanded = false;
    TreeNode* parent = nullptr;
    std::vector<std::unique_ptr<TreeNode>> children;

    // Position among the parent's children (or among the top-level nodes).
    int row = 0;

    NodeKind kind() const { return NodeKindOfTag(tag); }
};

// Told of changes, so a view can follow the tree.
class LibraryTreeObserver {
public:
    virtual ~LibraryTreeObserver() = default;
    virtual void treeAboutToReset() = 0;
    virtual void treeReset() = 0;
    // `parent` null for a top-level node.
    virtual void nodeAboutToBeAdded(TreeNode* parent, int row) = 0;
    virtual void nodeAdded() = 0;
    virtual void nodeAboutToBeRemoved(TreeNode* node) = 0;
    virtual void nodeRemoved() = 0;
    virtual void nodeChanged(TreeNode* node) = 0;
};

// The library tree, free of widgets: nodes with a hash from key to node, so look-ups are O(1)
// and there is no limit on the number of nodes.
class LibraryTree : public LibraryTreeEdits {
public:
    LibraryTree();
    ~LibraryTree() override;

    // Removes every node.
    void clear();
    // Rebuilds tell the observer one reset instead of one notice per node.
    void beginRebuild();
    void endRebuild();

    // Adds a node with no key as the last top-level node, or as the last child of `parent`;
    // it becomes the last added node.
    TreeNode* addTopLevel(const QString& text, int image);
    TreeNode* addChild(TreeNode* parent, const QString& text, int image);
    TreeNode* lastAdded() const { return lastAdded_; }

    // Gives the node its key. False, and the node keeps no key, when another node has it.
    bool setKey(TreeNode* node, const QString& key);
    void setTag(TreeNode* node, const QString& tag);
    void setKind(TreeNode* node, NodeKind kind) { setTag(node, NodeKindTag(kind)); }
    void setText(TreeNode* node, const QString& text);
    void setImage(TreeNode* node, int image);

    bool NodeExists(const QString& key) const;
    TreeNode* FindNodeByKey(const QString& key) const;

    // Removes a node and everything below it.
    void remove(TreeNode* node);
    void removeNode(const QString& key) override;
    bool hasNode(const QString& key) const override;

    const std::vector<std::unique_ptr<TreeNode>>& topLevel() const { return top_; }
    qsizetype nodeCount() const { return count_; }

    void setObserver(LibraryTreeObserver* observer) { observer_ = observer; }

private:
    void forget(TreeNode* node);

    std::vector<std::unique_ptr<TreeNode>> top_;
    QHash<QString, TreeNode*> byKey_;
    TreeNode* lastAdded_ = nullptr;
    LibraryTreeObserver* observer_ = nullptr;
    qsizetype count_ = 0;
    int rebuilding_ = 0;
};

} // namespace tarl
