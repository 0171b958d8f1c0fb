#pragma once

#include "scan/ScanNode.h"

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

namespace tarl {

// Told of changes, so the scan window's tree view can follow.
class ScanTreeObserver {
public:
    virtual ~ScanTreeObserver() = default;
    virtual void scanTreeAboutToReset() = 0;
    virtual void scanTreeReset() = 0;
    // `parent` null for a root-level node.
    virtual void scanNodeAboutToBeAdded(ScanNode* parent, int row) = 0;
    virtual void scanNodeAdded() = 0;
    virtual void scanNodeAboutToBeRemoved(ScanNode* node) = 0;
    virtual void scanNodeRemoved() = 0;
    virtual void scanNodeChanged(ScanNode* node) = 0;
};

// The scan tree, free of widgets: folder nodes at the root, each with the playlists or sound
// files found in it. Keys are looked up through a hash, so change nodes through the tree
// (setKey, setText, add, remove), never through ScanNode's setters directly.
class ScanTree {
public:
    ScanTree();
    ~ScanTree();
    ScanTree(const ScanTree&) = delete;
    ScanTree& operator=(const ScanTree&) = delete;

    void clear();
    // Takes every node of `walked` (a tree a walk made away from this one), leaving it empty:
    // this tree then holds exactly what `walked` held, as one reset of the view.
    void replaceWith(ScanTree& walked);

    // Adds a node as the last root-level node / the last child of `parent`. The key may be
    // empty and given later with setKey.
    ScanNode& addRoot(const QString& key, const QString& text, ScanNodeKind kind);
    ScanNode& addChild(ScanNode& parent, const QString& key, const QString& text,
                       ScanNodeKind kind);

    // False (the node keeps its key) when another node has `key`. An empty key is never
    // looked up.
    bool setKey(ScanNode& node, const QString& key);
    void setText(ScanNode& node, const QString& text);

    // Removes a node with everything below it.
    void remove(const ScanNode* node);

    // The node with that key, at any level; null when none.
    ScanNode* find(const QString& key) const;
    bool hasKey(const QString& key) const { return find(key) != nullptr; }

    const std::vector<std::unique_ptr<ScanNode>>& roots() const { return roots_; }
    int rootCount() const { return static_cast<int>(roots_.size()); }
    // Every node, root-level and children.
    int nodeCount() const { return count_; }
    // The nodes in the order a tree view numbers them: each root followed by its children.
    std::vector<ScanNode*> nodesInOrder() const;

    // Sorts the root-level nodes by text in the user's language (NameOrder), as the scan window's
    // tree shows them.
    void sortRoots();
    // Removes every root-level node that has no children.
    void removeEmptyFolders();

    void setObserver(ScanTreeObserver* observer) { observer_ = observer; }

private:
    // Counts a node just added, files it under its key and tells the observer.
    ScanNode& adopt(ScanNode& node, const QString& key);

    std::vector<std::unique_ptr<ScanNode>> roots_;
    QHash<QString, ScanNode*> byKey_;
    ScanTreeObserver* observer_ = nullptr;
    int count_ = 0;
};

} // namespace tarl
