#include "scan/ScanTree.h"

#include "support/QtPrinters.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace tarl {
namespace {

// Writes down every notification, so the view's expectations can be checked in order.
class RecordingObserver : public ScanTreeObserver {
public:
    QStringList calls;

    void scanTreeAboutToReset() override { calls << "aboutToReset"; }
    void scanTreeReset() override { calls << "reset"; }
    void scanNodeAboutToBeAdded(ScanNode* parent, int row) override {
        calls << QStringLiteral("aboutToAdd %1 %2").arg(parent ? parent->key() : "-").arg(row);
    }
    void scanNodeAdded() override { calls << "added"; }
    void scanNodeAboutToBeRemoved(ScanNode* node) override {
        calls << QStringLiteral("aboutToRemove %1").arg(node->key());
    }
    void scanNodeRemoved() override { calls << "removed"; }
    void scanNodeChanged(ScanNode* node) override {
        calls << QStringLiteral("changed %1").arg(node->key());
    }
};

QStringList Keys(const std::vector<ScanNode*>& nodes) {
    QStringList keys;
    for (const ScanNode* node : nodes)
        keys << node->key();
    return keys;
}

TEST(ScanTreeTest, KeysFollowEveryChange) {
    ScanTree tree;
    ScanNode& rock = tree.addRoot("", "/music/rock/", ScanNodeKind::SoundFolder);
    EXPECT_EQ(tree.find(""), nullptr);
    ASSERT_TRUE(tree.setKey(rock, "/music/rock/"));
    ScanNode& a = tree.addChild(rock, "/music/rock/a.mp3", "a.mp3", ScanNodeKind::SoundFile);
    ScanNode& pop = tree.addRoot("/music/pop/", "/music/pop/", ScanNodeKind::SoundFolder);
    tree.addChild(pop, "/music/pop/b.mp3", "b.mp3", ScanNodeKind::SoundFile);
    EXPECT_EQ(tree.nodeCount(), 4);
    EXPECT_EQ(tree.find("/music/rock/a.mp3"), &a);

    // A key another node holds is refused and the node keeps its own.
    EXPECT_FALSE(tree.setKey(pop, "/music/rock/"));
    EXPECT_EQ(pop.key(), "/music/pop/");
    EXPECT_EQ(tree.find("/music/rock/"), &rock);

    // A new key frees the old one.
    ASSERT_TRUE(tree.setKey(pop, "/music/jazz/"));
    EXPECT_EQ(tree.find("/music/pop/"), nullptr);
    EXPECT_EQ(tree.find("/music/jazz/"), &pop);

    // Removing a folder node forgets its children's keys too.
    tree.remove(&rock);
    EXPECT_EQ(tree.find("/music/rock/"), nullptr);
    EXPECT_EQ(tree.find("/music/rock/a.mp3"), nullptr);
    EXPECT_EQ(tree.nodeCount(), 2);
    EXPECT_EQ(tree.rootCount(), 1);

    // A removed key can be given again.
    ScanNode& again = tree.addRoot("/music/rock/", "/music/rock/", ScanNodeKind::SoundFolder);
    EXPECT_EQ(tree.find("/music/rock/"), &again);

    tree.clear();
    EXPECT_EQ(tree.nodeCount(), 0);
    EXPECT_EQ(tree.find("/music/jazz/"), nullptr);
    EXPECT_EQ(tree.find("/music/pop/b.mp3"), nullptr);
}

TEST(ScanTreeTest, OrderSortingAndEmptyFolderCleanup) {
    ScanTree tree;
    ScanNode& b = tree.addRoot("/b/", "/b/   < 1 files >", ScanNodeKind::PlaylistFolder);
    tree.addRoot("/empty/", "/empty/", ScanNodeKind::PlaylistFolder);
    ScanNode& a = tree.addRoot("/A/", "/A/   < 2 files >", ScanNodeKind::PlaylistFolder);
    tree.addRoot("/c/", "/c/", ScanNodeKind::PlaylistFolder);
    tree.addChild(b, "/b/x.m3u", "x.m3u", ScanNodeKind::Playlist);
    tree.addChild(a, "/A/y.m3u", "y.m3u", ScanNodeKind::Playlist);
    tree.addChild(a, "/A/z.m3u", "z.m3u", ScanNodeKind::Playlist);

    EXPECT_EQ(Keys(tree.nodesInOrder()),
              QStringList({"/b/", "/b/x.m3u", "/empty/", "/A/", "/A/y.m3u", "/A/z.m3u", "/c/"}));

    tree.sortRoots();
    EXPECT_EQ(Keys(tree.nodesInOrder()),
              QStringList({"/A/", "/A/y.m3u", "/A/z.m3u", "/b/", "/b/x.m3u", "/c/", "/empty/"}));

    tree.removeEmptyFolders();
    EXPECT_EQ(Keys(tree.nodesInOrder()),
              QStringList({"/A/", "/A/y.m3u", "/A/z.m3u", "/b/", "/b/x.m3u"}));
    EXPECT_EQ(tree.nodeCount(), 5);
    EXPECT_EQ(tree.find("/empty/"), nullptr);
}

TEST(ScanTreeTest, TellsTheObserverBeforeAndAfterEachChange) {
    ScanTree tree;
    RecordingObserver observer;
    tree.setObserver(&observer);

    ScanNode& folder = tree.addRoot("/m/", "/m/", ScanNodeKind::SoundFolder);
    tree.addChild(folder, "/m/a.mp3", "a.mp3", ScanNodeKind::SoundFile); // its count changed
    tree.addRoot("/n/", "/n/", ScanNodeKind::SoundFolder);
    tree.removeEmptyFolders();
    tree.sortRoots();
    tree.clear();

    EXPECT_EQ(observer.calls,
              QStringList({"aboutToAdd - 0", "added", "aboutToAdd /m/ 0", "added", "changed /m/",
                           "aboutToAdd - 1", "added", "aboutToRemove /n/", "removed",
                           "aboutToReset", "reset", "aboutToReset", "reset"}));
}

} // namespace
} // namespace tarl
