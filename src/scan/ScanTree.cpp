#include "scan/ScanTree.h"

#include "text/NameOrder.h"

#include <algorithm>

namespace tarl {

namespace {

// Every node of a subtree, the node first.
void CollectSubtree(const ScanNode& node, std::vector<const ScanNode*>& out) {
    out.push_back(&node);
    for (int i = 0; i < node.childCount(); ++i)
        CollectSubtree(node.child(i), out);
}

void CollectInOrder(ScanNode& node, std::vector<ScanNode*>& out) {
    out.push_back(&node);
    for (int i = 0; i < node.childCount(); ++i)
        CollectInOrder(node.child(i), out);
}

} // namespace

ScanTree::ScanTree() = default;
ScanTree::~ScanTree() = default;

void ScanTree::clear() {
    if (observer_)
        observer_->scanTreeAboutToReset();
    roots_.clear();
    byKey_.clear();
    count_ = 0;
    if (observer_)
        observer_->scanTreeReset();
}

void ScanTree::replaceWith(ScanTree& walked) {
    if (&walked == this)
        return;
    if (observer_)
        observer_->scanTreeAboutToReset();
    // The nodes move as they are: the keys' hash still points at them.
    roots_ = std::move(walked.roots_);
    byKey_ = std::move(walked.byKey_);
    count_ = walked.count_;
    walked.roots_.clear();
    walked.byKey_.clear();
    walked.count_ = 0;
    if (observer_)
        observer_->scanTreeReset();
}

ScanNode& ScanTree::addRoot(const QString& key, const QString& text, ScanNodeKind kind) {
    if (observer_)
        observer_->scanNodeAboutToBeAdded(nullptr, rootCount());
    roots_.push_back(std::make_unique<ScanNode>(QString(), text, kind));
    return adopt(*roots_.back(), key);
}

ScanNode& ScanTree::addChild(ScanNode& parent, const QString& key, const QString& text,
                             ScanNodeKind kind) {
    if (observer_)
        observer_->scanNodeAboutToBeAdded(&parent, parent.childCount());
    ScanNode& child = adopt(parent.addChild(QString(), text, kind), key);
    // The folder's count of matches changed with it.
    if (observer_)
        observer_->scanNodeChanged(&parent);
    return child;
}

ScanNode& ScanTree::adopt(ScanNode& node, const QString& key) {
    ++count_;
    // A key already taken leaves the new node without one, as setKey would.
    if (!key.isEmpty() && !byKey_.contains(key)) {
        node.setKey(key);
        byKey_.insert(key, &node);
    }
    if (observer_)
        observer_->scanNodeAdded();
    return node;
}

bool ScanTree::setKey(ScanNode& node, const QString& key) {
    if (node.key() == key)
        return true;
    if (!key.isEmpty() && byKey_.contains(key))
        return false;
    if (!node.key().isEmpty() && byKey_.value(node.key()) == &node)
        byKey_.remove(node.key());
    node.setKey(key);
    if (!key.isEmpty())
        byKey_.insert(key, &node);
    if (observer_)
        observer_->scanNodeChanged(&node);
    return true;
}

void ScanTree::setText(ScanNode& node, const QString& text) {
    if (node.text() == text)
        return;
    node.setText(text);
    if (observer_)
        observer_->scanNodeChanged(&node);
}

void ScanTree::remove(const ScanNode* node) {
    if (!node)
        return;
    ScanNode* parent = node->parent();
    const auto root = std::find_if(roots_.begin(), roots_.end(),
                                   [node](const auto& item) { return item.get() == node; });
    // Not a node of this tree: nothing to do.
    if (!parent && root == roots_.end())
        return;

    if (observer_)
        observer_->scanNodeAboutToBeRemoved(const_cast<ScanNode*>(node));
    std::vector<const ScanNode*> gone;
    CollectSubtree(*node, gone);
    for (const ScanNode* item : gone) {
        if (!item->key().isEmpty() && byKey_.value(item->key()) == item)
            byKey_.remove(item->key());
    }
    count_ -= static_cast<int>(gone.size());
    if (parent)
        parent->removeChild(node);
    else
        roots_.erase(root);
    if (observer_)
        observer_->scanNodeRemoved();
    // The folder's count of matches changed with it.
    if (observer_ && parent)
        observer_->scanNodeChanged(parent);
}

ScanNode* ScanTree::find(const QString& key) const {
    if (key.isEmpty())
        return nullptr;
    return byKey_.value(key, nullptr);
}

std::vector<ScanNode*> ScanTree::nodesInOrder() const {
    std::vector<ScanNode*> nodes;
    nodes.reserve(static_cast<size_t>(count_));
    for (const auto& root : roots_)
        CollectInOrder(*root, nodes);
    return nodes;
}

void ScanTree::sortRoots() {
    if (observer_)
        observer_->scanTreeAboutToReset();
    // Folders as the user's language orders them; texts that differ only in case keep the order
    // they were added in.
    const NameOrder order;
    std::stable_sort(roots_.begin(), roots_.end(), [&order](const auto& a, const auto& b) {
        const QString& left = a->text();
        const QString& right = b->text();
        return left.compare(right, Qt::CaseInsensitive) != 0 && order(left, right);
    });
    if (observer_)
        observer_->scanTreeReset();
}

void ScanTree::removeEmptyFolders() {
    for (size_t i = 0; i < roots_.size();) {
        if (roots_[i]->childCount() > 0) {
            ++i;
            continue;
        }
        remove(roots_[i].get());
    }
}

} // namespace tarl
