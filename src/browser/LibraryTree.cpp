#include "browser/LibraryTree.h"

namespace tarl {

LibraryTree::LibraryTree() = default;

LibraryTree::~LibraryTree() = default;

void LibraryTree::clear() {
    const bool notify = observer_ && rebuilding_ == 0;
    if (notify)
        observer_->treeAboutToReset();
    top_.clear();
    byKey_.clear();
    lastAdded_ = nullptr;
    count_ = 0;
    if (notify)
        observer_->treeReset();
}

void LibraryTree::beginRebuild() {
    if (rebuilding_++ == 0 && observer_)
        observer_->treeAboutToReset();
}

void LibraryTree::endRebuild() {
    if (rebuilding_ == 0)
        return;
    if (--rebuilding_ == 0 && observer_)
        observer_->treeReset();
}

TreeNode* LibraryTree::addTopLevel(const QString& text, int image) {
    return addChild(nullptr, text, image);
}

TreeNode* LibraryTree::addChild(TreeNode* parent, const QString& text, int image) {
    auto& siblings = parent ? parent->children : top_;
    auto node = std::make_unique<TreeNode>();
    node->text = text;
    node->image = image;
    node->parent = parent;
    node->row = static_cast<int>(siblings.size());

    const bool notify = observer_ && rebuilding_ == 0;
    if (notify)
        observer_->nodeAboutToBeAdded(parent, node->row);
    lastAdded_ = node.get();
    siblings.push_back(std::move(node));
    ++count_;
    if (notify)
        observer_->nodeAdded();
    return lastAdded_;
}

bool LibraryTree::setKey(TreeNode* node, const QString& key) {
    if (!node)
        return false;
    if (node->key == key)
        return true;
    // A key held by another node is refused and the node stays as it was, as the tree view
    // refused a key that was not unique.
    if (!key.isEmpty() && byKey_.contains(key))
        return false;
    if (!node->key.isEmpty())
        byKey_.remove(node->key);
    node->key = key;
    if (!key.isEmpty())
        byKey_.insert(key, node);
    if (observer_ && rebuilding_ == 0)
        observer_->nodeChanged(node);
    return true;
}

void LibraryTree::setTag(TreeNode* node, const QString& tag) {
    if (!node || node->tag == tag)
        return;
    node->tag = tag;
    if (observer_ && rebuilding_ == 0)
        observer_->nodeChanged(node);
}

void LibraryTree::setText(TreeNode* node, const QString& text) {
    if (!node || node->text == text)
        return;
    node->text = text;
    if (observer_ && rebuilding_ == 0)
        observer_->nodeChanged(node);
}

void LibraryTree::setImage(TreeNode* node, int image) {
    if (!node || node->image == image)
        return;
    node->image = image;
    if (observer_ && rebuilding_ == 0)
        observer_->nodeChanged(node);
}

bool LibraryTree::NodeExists(const QString& key) const {
    return !key.isEmpty() && byKey_.contains(key);
}

TreeNode* LibraryTree::FindNodeByKey(const QString& key) const {
    if (key.isEmpty())
        return nullptr;
    return byKey_.value(key, nullptr);
}

void LibraryTree::remove(TreeNode* node) {
    if (!node)
        return;
    auto& siblings = node->parent ? node->parent->children : top_;
    const auto at = static_cast<std::size_t>(node->row);
    // A node from another tree, or one already gone, is not ours to remove.
    if (at >= siblings.size() || siblings[at].get() != node)
        return;

    const bool notify = observer_ && rebuilding_ == 0;
    if (notify)
        observer_->nodeAboutToBeRemoved(node);
    forget(node);
    siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(at));
    // The nodes after it move up one row.
    for (std::size_t i = at; i < siblings.size(); ++i)
        siblings[i]->row = static_cast<int>(i);
    if (notify)
        observer_->nodeRemoved();
}

void LibraryTree::removeNode(const QString& key) {
    remove(FindNodeByKey(key));
}

bool LibraryTree::hasNode(const QString& key) const {
    return NodeExists(key);
}

void LibraryTree::forget(TreeNode* node) {
    // Iterative, so a very deep tree cannot exhaust the stack.
    std::vector<TreeNode*> pending{node};
    while (!pending.empty()) {
        TreeNode* current = pending.back();
        pending.pop_back();
        if (!current->key.isEmpty())
            byKey_.remove(current->key);
        if (current == lastAdded_)
            lastAdded_ = nullptr;
        --count_;
        for (const auto& child : current->children)
            pending.push_back(child.get());
    }
}

} // namespace tarl
