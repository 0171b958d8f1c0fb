#include "scan/PurgeDuplicateM3u.h"

#include "scan/PlaylistFile.h"
#include "scan/ScanTree.h"
#include "text/PathText.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace tarl {

namespace {

int SubtreeSize(const ScanNode& node) {
    int size = 1;
    for (int i = 0; i < node.childCount(); ++i)
        size += SubtreeSize(node.child(i));
    return size;
}

// The nodes in the tree's numbering, kept in step with the removals so the index arithmetic
// below works on the same numbers the tree would give, without renumbering the whole tree.
class Purge {
public:
    Purge(ScanTree& tree, std::function<QString(const QString&)> firstEntryFolder)
        : tree_(tree), firstEntryFolder_(std::move(firstEntryFolder)), nodes_(tree.nodesInOrder()) {
    }

    void run(QString& playlistDepth) {
        // 1-based, as the tree numbers its nodes.
        qsizetype i = 1;
        while (i <= static_cast<qsizetype>(nodes_.size())) {
            const ScanNode* node = nodes_[static_cast<size_t>(i - 1)];
            if (node->kind() == ScanNodeKind::Playlist)
                purgeFor(*node, i, playlistDepth);
            ++i;
        }
    }

private:
    void purgeFor(const ScanNode& playlist, qsizetype& i, QString& playlistDepth) {
        const QString parentKey = playlist.parent() ? playlist.parent()->key() : QString();
        QString folder = firstEntryFolder_(playlist.key());
        if (!folder.isEmpty())
            removeKeyed(parentKey + folder, i);

        static const QStringList depths = {QStringLiteral("1"), QStringLiteral("2"),
                                           QStringLiteral("3"), QStringLiteral("4")};
        if (!depths.contains(playlistDepth))
            playlistDepth = QStringLiteral("2");
        const int depth = playlistDepth.toInt();
        for (int c = 2; c <= depth; ++c) {
            if (folder.isEmpty())
                continue;
            folder.chop(1);
            folder = FolderOf(folder);
            if (!folder.isEmpty())
                removeKeyed(parentKey + folder, i);
        }
    }

    void removeKeyed(const QString& key, qsizetype& i) {
        ScanNode* node = tree_.find(key);
        if (!node)
            return;
        const auto at = std::find(nodes_.begin(), nodes_.end(), node);
        if (at != nodes_.end())
            nodes_.erase(at, at + SubtreeSize(*node));
        tree_.remove(node);
        // Step back to look again at the nodes that moved up; never before the first node.
        i = std::max<qsizetype>(i - 2, 1);
    }

    ScanTree& tree_;
    std::function<QString(const QString&)> firstEntryFolder_;
    std::vector<ScanNode*> nodes_;
};

} // namespace

QStringList PurgeDuplicateM3u(ScanTree& tree, QString& playlistDepth) {
    QStringList failures;
    Purge(tree, [&failures](const QString& path) {
        Result<QString> first = FirstEntryFolder(path);
        if (!first)
            failures.append(first.error);
        return std::move(first.value);
    }).run(playlistDepth);
    return failures;
}

} // namespace tarl
