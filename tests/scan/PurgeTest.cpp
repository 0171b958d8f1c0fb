#include "scan/PurgeDuplicateM3u.h"

#include "platform/LocalFiles.h"
#include "scan/ScanTree.h"
#include "scan/ScanWalker.h"
#include "support/FakeDrives.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

QStringList FolderKeys(const ScanTree& tree, const QString& base) {
    QStringList keys;
    for (const auto& root : tree.roots())
        keys << QString(root->key()).replace(base, "T");
    keys.sort();
    return keys;
}

TEST(PurgeTest, APlaylistsFirstEntryRemovesItsFolderAndParentsUpToTheDepth) {
    test::TempDir dir;
    dir.write("music/all.m3u", "#EXTM3U\r\n#EXTINF:1,x\r\nrock\\live\\a.mp3\r\n");
    dir.write("music/rock/r.m3u", "b.mp3\r\n");
    dir.write("music/rock/live/l.m3u", "a.mp3\r\n");
    dir.write("music/pop/p.m3u", "/elsewhere/pop/x.mp3\r\n"); // absolute: removes nothing
    dir.write("music/pop/sub/s.m3u", "#only a comment\r\n");

    const QStringList all = {"T/music/", "T/music/pop/", "T/music/pop/sub/", "T/music/rock/",
                             "T/music/rock/live/"};
    const struct {
        QString depth;
        QString depthAfter;
        QStringList left;
    } cases[] = {
        // all.m3u is the second node: two removals would take the index below the first.
        {"2", "2", {"T/music/", "T/music/pop/", "T/music/pop/sub/"}},
        {"1", "1", {"T/music/", "T/music/pop/", "T/music/pop/sub/", "T/music/rock/"}},
        {"4", "4", {"T/music/", "T/music/pop/", "T/music/pop/sub/"}},
        {"7", "2", {"T/music/", "T/music/pop/", "T/music/pop/sub/"}},
        {"x", "2", {"T/music/", "T/music/pop/", "T/music/pop/sub/"}},
        {"", "2", {"T/music/", "T/music/pop/", "T/music/pop/sub/"}},
    };
    LocalFiles files;
    const test::FakeDrives drives;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.depth.toStdString());
        ScanTree tree;
        ScanWalker walker(tree, files, drives);
        ScanOptions options;
        options.collect = ScanCollect::Playlists;
        options.folder = dir.file("music/");
        walker.walk(options);
        ASSERT_EQ(FolderKeys(tree, dir.path()), all);

        QString depth = c.depth;
        EXPECT_EQ(PurgeDuplicateM3u(tree, depth), QStringList());
        EXPECT_EQ(depth, c.depthAfter);
        EXPECT_EQ(FolderKeys(tree, dir.path()), c.left);
        // Children went with their folders.
        EXPECT_EQ(tree.find(dir.file("music/rock/live/l.m3u")), nullptr);
    }
}

TEST(PurgeTest, UnreadablePlaylistsRemoveNothing) {
    test::TempDir dir;
    ScanTree tree;
    ScanNode& folder = tree.addRoot(dir.file("m/"), "m", ScanNodeKind::PlaylistFolder);
    const QString missing = dir.file("m/missing.m3u");
    tree.addChild(folder, missing, "missing.m3u", ScanNodeKind::Playlist);
    tree.addRoot(dir.file("m/rock/"), "rock", ScanNodeKind::PlaylistFolder);

    QString depth = "2";
    EXPECT_EQ(PurgeDuplicateM3u(tree, depth), QStringList{"Error reading file: " + missing});
    EXPECT_EQ(tree.rootCount(), 2);

    // A second purge reads the playlist again and reports it again.
    EXPECT_EQ(PurgeDuplicateM3u(tree, depth), QStringList{"Error reading file: " + missing});
    EXPECT_EQ(tree.rootCount(), 2);
}

} // namespace
} // namespace tarl
