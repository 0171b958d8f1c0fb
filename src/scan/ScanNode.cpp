#include "scan/ScanNode.h"

#include <algorithm>

namespace tarl {

QString ScanNodeKindName(ScanNodeKind kind) {
    switch (kind) {
    case ScanNodeKind::PlaylistFolder:
        return QStringLiteral("Cdm3u");
    case ScanNodeKind::SoundFolder:
        return QStringLiteral("Cdmp3");
    case ScanNodeKind::Playlist:
        return QStringLiteral("M3u");
    case ScanNodeKind::SoundFile:
        return QStringLiteral("Mp3");
    }
    return {};
}

ScanNode::ScanNode(QString key, QString text, ScanNodeKind kind)
    : key_(std::move(key)), text_(std::move(text)), kind_(kind) {}

QString ScanNode::shownText() const {
    if (!isFolder() || children_.empty())
        return text_;
    return text_ + QStringLiteral("   < %1 files >").arg(children_.size());
}

int ScanNode::picture() const {
    switch (kind_) {
    case ScanNodeKind::Playlist:
        return ScanPicture::Playlist;
    case ScanNodeKind::SoundFile:
        return ScanPicture::SoundFile;
    default:
        return ScanPicture::Folder;
    }
}

ScanNode& ScanNode::addChild(QString key, QString text, ScanNodeKind kind) {
    auto node = std::make_unique<ScanNode>(std::move(key), std::move(text), kind);
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
