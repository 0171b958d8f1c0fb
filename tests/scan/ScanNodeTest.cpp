#include "scan/ScanNode.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

TEST(ScanNodeTest, ChildrenKnowTheirFolderAndGiveTheImportItsValues) {
    ScanNode folder("/music/rock/", "/music/rock/   < 2 files >", ScanNodeKind::SoundFolder);
    ScanNode& a = folder.addChild("/music/rock/a.mp3", "a.mp3", ScanNodeKind::SoundFile);
    ScanNode& b = folder.addChild("/music/rock/b.mp3", "b.mp3", ScanNodeKind::SoundFile);

    ASSERT_EQ(folder.childCount(), 2);
    EXPECT_EQ(&folder.child(0), &a);
    EXPECT_EQ(&folder.child(1), &b);
    EXPECT_EQ(a.parent(), &folder);
    EXPECT_EQ(folder.parent(), nullptr);

    const ScanNodeValues values = b.values();
    EXPECT_EQ(values.key, "/music/rock/b.mp3");
    EXPECT_EQ(values.text, "b.mp3");
    EXPECT_EQ(values.parentKey, "/music/rock/");
    EXPECT_EQ(folder.values().parentKey, "");

    // The walk keys a folder node after adding it; its children see the new key.
    folder.setKey("/music/pop/");
    EXPECT_EQ(a.values().parentKey, "/music/pop/");
}

TEST(ScanNodeTest, RemovingAChildTakesItsSubtreeAndOnlyIt) {
    ScanNode root("/", "/", ScanNodeKind::PlaylistFolder);
    ScanNode& first = root.addChild("/a.m3u", "a.m3u", ScanNodeKind::Playlist);
    first.addChild("/a.m3u/x", "x", ScanNodeKind::SoundFile);
    ScanNode& second = root.addChild("/b.m3u", "b.m3u", ScanNodeKind::Playlist);
    ScanNode stranger("/c.m3u", "c.m3u", ScanNodeKind::Playlist);

    EXPECT_FALSE(root.removeChild(&stranger));
    EXPECT_FALSE(root.removeChild(&first.child(0))); // a grandchild is not a child
    EXPECT_EQ(root.childCount(), 2);

    EXPECT_TRUE(root.removeChild(&first));
    ASSERT_EQ(root.childCount(), 1);
    EXPECT_EQ(&root.child(0), &second);
    EXPECT_EQ(second.key(), "/b.m3u");
}

} // namespace
} // namespace tarl
