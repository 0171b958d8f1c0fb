#include "scan/ScanNode.h"

#include <algorithm>

namespace tarl {

ScanNode::ScanNode(QString key, QString text, QString tag, int picture)
    : key_(std::move(key)), text_(std::move(text)), tag_(std::move(tag)), picture_(picture) {}

ScanNode& ScanNode::addChild(QString key, QString text, QString tag, int picture) {
    auto node =
        std::make_unique<ScanNode>(std::move(key), std::move(text), std::move(tag), picture);
    node->parent_ = this;
    children_.push_back(std::move(node));
    return *children_.back();
}

bool ScanNode::removeChild(const ScanNode* node) {
    const auto it = std::find_if(children_.begin(), children_.end(),
                                 [node](const auto& child) { return child.get() == node; });
    if (it == children_.end())
        return false;
    children_.erase(it);
    return true;
}

ScanNodeValues ScanNode::values() const {
    return {key_, text_, parent_ ? parent_->key() : QString()};
}

} // namespace tarl
