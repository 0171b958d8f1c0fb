#include "scan/ScanWalker.h"

#include "platform/LocalFiles.h"
#include "scan/ScanTree.h"
#include "support/FakeDrives.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "text/NameOrder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarl {
namespace {

// A machine whose drives the walks below never ask about.
const test::FakeDrives kNoDrives;

// The tree as lines "text|key|tag|picture", children indented, with the temporary folder
// written as "T" so the expectations read like the folders they describe.
QStringList Dump(ScanTree& tree, const QString& base) {
    tree.sortRoots();
    QStringList lines;
    for (const ScanNode* node : tree.nodesInOrder()) {
        const QString line =
            QStringLiteral("%1|%2|%3|%4")
                .arg(node->shownText(), node->key(), ScanNodeKindName(node->kind()))
                .arg(node->picture());
        lines << (node->parent() ? "  " : "") + QString(line).replace(base, "T");
    }
    return lines;
}

ScanOptions Options(ScanCollect collect, const QString& folder) {
    ScanOptions options;
    options.collect = collect;
    options.folder = folder;
    return options;
}

TEST(ScanWalkerTest, WalksGiveTheFlatTreeOfFoldersWithDirectMatches) {
    test::TempDir dir;
    for (const char* file : {"music/a.m3u", "music/b.M3U", "music/old/c.m3u8", "music/A.MP3",
                             "music/x.wav", "music/y.wma", "music/f.FLAC", "music/g.opus",
                             "music/h.m4a", "music/notes.txt", "music/deep/deeper/d.mp3",
                             "music/.hidden/h.mp3", "music/.h.mp3", "music/album.mp3/e.mp3"})
        dir.write(file, "x");
    QDir().mkpath(dir.file("music/empty"));

    struct Case {
        const char* name;
        ScanCollect collect;
        const char* formats;
        bool subfolders;
        QStringList tree;
        qint64 folders;
    };
    const Case cases[] = {
        {"playlists",
         ScanCollect::Playlists,
         "mp3,wav,wma,flac,ogg,m4a",
         true,
         {"T/music/   < 2 files >|T/music/|Cdm3u|7", "  a.m3u|T/music/a.m3u|M3u|1",
          "  b.M3U|T/music/b.M3U|M3u|1", "T/music/old/   < 1 files >|T/music/old/|Cdm3u|7",
          "  c.m3u8|T/music/old/c.m3u8|M3u|1"},
         6},
        {"all-files-are-playlists",
         ScanCollect::AllFiles,
         "mp3,wav,wma,flac,ogg,m4a",
         true,
         {"T/music/   < 2 files >|T/music/|Cdm3u|7", "  a.m3u|T/music/a.m3u|M3u|1",
          "  b.M3U|T/music/b.M3U|M3u|1", "T/music/old/   < 1 files >|T/music/old/|Cdm3u|7",
          "  c.m3u8|T/music/old/c.m3u8|M3u|1"},
         6},
        {"no-subfolders",
         ScanCollect::Playlists,
         "mp3,wav,wma,flac,ogg,m4a",
         false,
         {"T/music/   < 2 files >|T/music/|Cdm3u|7", "  a.m3u|T/music/a.m3u|M3u|1",
          "  b.M3U|T/music/b.M3U|M3u|1"},
         1},
        {"sound-files",
         ScanCollect::SoundFiles,
         "mp3,wav,wma,flac,ogg,m4a",
         true,
         {"T/music/   < 6 files >|T/music/|Cdmp3|7", "  A.MP3|T/music/A.MP3|Mp3|5",
          "  f.FLAC|T/music/f.FLAC|Mp3|5", "  g.opus|T/music/g.opus|Mp3|5",
          "  h.m4a|T/music/h.m4a|Mp3|5", "  x.wav|T/music/x.wav|Mp3|5",
          "  y.wma|T/music/y.wma|Mp3|5",
          "T/music/album.mp3/   < 1 files >|T/music/album.mp3/|Cdmp3|7",
          "  e.mp3|T/music/album.mp3/e.mp3|Mp3|5",
          "T/music/deep/deeper/   < 1 files >|T/music/deep/deeper/|Cdmp3|7",
          "  d.mp3|T/music/deep/deeper/d.mp3|Mp3|5"},
         6},
        {"mp3-flac-m4a-unchecked",
         ScanCollect::SoundFiles,
         "wav,wma,ogg",
         true,
         {"T/music/   < 3 files >|T/music/|Cdmp3|7", "  g.opus|T/music/g.opus|Mp3|5",
          "  x.wav|T/music/x.wav|Mp3|5", "  y.wma|T/music/y.wma|Mp3|5"},
         6},
    };
    LocalFiles files;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScanTree tree;
        ScanWalker walker(tree, files, kNoDrives);
        QStringList shown;
        walker.setFolderShown([&](const QString& folder) { shown << folder; });
        ScanOptions options = Options(c.collect, dir.file("music")); // no trailing "/"
        options.formats = SoundFormats::FromKeys(c.formats).value;
        options.subfolders = c.subfolders;
        const ScanResult result = walker.walk(options);
        EXPECT_EQ(Dump(tree, dir.path()), c.tree);
        EXPECT_EQ(result.foldersWalked, c.folders);
        EXPECT_EQ(result.matches, tree.nodeCount() - tree.rootCount());
        EXPECT_EQ(result.unreadableFolders, 0);
        EXPECT_FALSE(result.stopped);
        if (c.subfolders) {
            ASSERT_FALSE(shown.isEmpty());
            EXPECT_EQ(shown.first(), dir.file("music/album.mp3"));
        }
    }
}

TEST(ScanWalkerTest, OnACdFolderNodesShowTheCdName) {
    test::TempDir dir;
    dir.write("cd/a.mp3", "x");
    dir.write("cd/rock/b.mp3", "x");
    test::FakeDrives drives;
    drives.addDrive(dir.file("cd"), DriveType::CdRom, "MY_DISC");
    drives.addDrive(dir.file("hd"), DriveType::Fixed, "DATA");
    EXPECT_TRUE(IsCdDrive(dir.file("cd/rock/"), drives));
    EXPECT_FALSE(IsCdDrive(dir.file("hd/music/"), drives));
    EXPECT_FALSE(IsCdDrive("/elsewhere/", drives));
    EXPECT_FALSE(IsCdDrive("relative/", drives));

    LocalFiles files;
    ScanTree tree;
    ScanWalker walker(tree, files, drives);
    ScanOptions options = Options(ScanCollect::SoundFiles, dir.file("cd/"));
    options.onCd = IsCdDrive(options.folder, drives);
    options.currentLabel = "Disc 7";
    walker.walk(options);
    EXPECT_EQ(
        Dump(tree, dir.path()),
        QStringList({"Disc 7   < 1 files >|T/cd/|Cdmp3|7", "  a.mp3|T/cd/a.mp3|Mp3|5",
                     "Disc 7   < 1 files >|T/cd/rock/|Cdmp3|7", "  b.mp3|T/cd/rock/b.mp3|Mp3|5"}));
}

TEST(ScanWalkerTest, AWalkDoesNotEnterTheMountPointOfAnotherCdDrive) {
    test::TempDir dir;
    for (const char* file :
         {"hd/a.mp3", "hd/usb/u.mp3", "hd/cd1/c.mp3", "hd/cd1/sub/d.mp3", "hd/deep/cd2/e.mp3"})
        dir.write(file, "x");
    test::FakeDrives drives;
    drives.addDrive(dir.path(), DriveType::Fixed);
    drives.addDrive(dir.file("hd/usb"), DriveType::Removable, "STICK");
    drives.addDrive(dir.file("hd/cd1"), DriveType::CdRom, "DISC1");
    drives.addDrive(dir.file("hd/deep/cd2"), DriveType::CdRom, "DISC2");
    const struct {
        const char* name;
        const char* folder;
        QStringList keys;
        QStringList skipped;
    } cases[] = {
        // A hard-disc walk enters another hard-disc drive, never a disc.
        {"hard disc",
         "hd/",
         {"T/hd/", "T/hd/a.mp3", "T/hd/usb/", "T/hd/usb/u.mp3"},
         {"T/hd/cd1/", "T/hd/deep/cd2/"}},
        // A walk of a disc walks all of that disc.
        {"its own disc",
         "hd/cd1/",
         {"T/hd/cd1/", "T/hd/cd1/c.mp3", "T/hd/cd1/sub/", "T/hd/cd1/sub/d.mp3"},
         {}},
    };
    LocalFiles files;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScanTree tree;
        ScanWalker walker(tree, files, drives);
        const ScanResult result = walker.walk(Options(ScanCollect::SoundFiles, dir.file(c.folder)));
        QStringList keys;
        for (const ScanNode* node : tree.nodesInOrder())
            keys << QString(node->key()).replace(dir.path(), "T");
        keys.sort();
        EXPECT_EQ(keys, c.keys);
        EXPECT_EQ(QStringList(result.skippedCdDrives).replaceInStrings(dir.path(), "T"), c.skipped);
    }
    EXPECT_EQ(SkippedCdDrivesText({}), "");
    EXPECT_EQ(SkippedCdDrivesText({"/media/cdrom1/", "/mnt/dvd/"}),
              "Skipped the CD drives /media/cdrom1/, /mnt/dvd/: scan each disc from its own "
              "drive.");
}

TEST(ScanWalkerTest, MissingFoldersLeaveNoNode) {
    test::TempDir dir;
    LocalFiles files;
    for (const QString& folder : {dir.file("missing/"), QString()}) {
        ScanTree tree;
        ScanWalker walker(tree, files, kNoDrives);
        const ScanResult result = walker.walk(Options(ScanCollect::SoundFiles, folder));
        EXPECT_EQ(tree.nodeCount(), 0) << folder.toStdString();
        EXPECT_EQ(result.unreadableFolders, folder.isEmpty() ? 0 : 1);
    }
}

TEST(ScanWalkerTest, AFolderAlreadyInTheTreeIsNotWalkedAgain) {
    test::TempDir dir;
    dir.write("m/a.m3u", "x");
    dir.write("m/sub/b.m3u", "x");
    LocalFiles files;
    ScanTree tree;
    tree.addRoot(dir.file("m/"), "kept", ScanNodeKind::PlaylistFolder);
    ScanWalker walker(tree, files, kNoDrives);
    walker.walk(Options(ScanCollect::Playlists, dir.file("m/")));
    EXPECT_EQ(Dump(tree, dir.path()), QStringList({"kept|T/m/|Cdm3u|7"}));
}

TEST(ScanWalkerTest, StoppingLeavesNoEmptyFolderNodeAfterASoundFileWalk) {
    test::TempDir dir;
    dir.write("s/a/a.mp3", "x");
    dir.write("s/a/a.m3u", "x");
    dir.write("s/b/b.mp3", "x");
    dir.write("s/b/b.m3u", "x");
    const struct {
        ScanCollect collect;
        QStringList tree;
    } cases[] = {
        {ScanCollect::SoundFiles,
         {"T/s/a/   < 1 files >|T/s/a/|Cdmp3|7", "  a.mp3|T/s/a/a.mp3|Mp3|5"}},
        // The playlist walk leaves the node of the folder it was in.
        {ScanCollect::Playlists,
         {"T/s/|T/s/|Cdm3u|7", "T/s/a/   < 1 files >|T/s/a/|Cdm3u|7", "  a.m3u|T/s/a/a.m3u|M3u|1"}},
    };
    LocalFiles files;
    for (const auto& c : cases) {
        ScanTree tree;
        ScanWalker walker(tree, files, kNoDrives);
        bool enteringB = false;
        walker.setFolderShown([&](const QString& folder) { enteringB = folder.endsWith("/b"); });
        // The stop button is pressed while the walk yields before the second subfolder.
        walker.setYield([&] {
            if (enteringB)
                walker.stop();
        });
        const ScanResult result = walker.walk(Options(c.collect, dir.file("s/")));
        EXPECT_TRUE(result.stopped);
        EXPECT_EQ(Dump(tree, dir.path()), c.tree);
    }
}

TEST(ScanWalkerTest, LinksLoopsDepthAndUnreadableFoldersDoNotEndTheWalk) {
    test::TempDir dir;
    dir.write("w/a.mp3", "x");
    ASSERT_EQ(::symlink(dir.file("w").toLocal8Bit().constData(),
                        dir.file("w/self").toLocal8Bit().constData()),
              0);
    ASSERT_EQ(::symlink("..", dir.file("w/up").toLocal8Bit().constData()), 0);
    // Far deeper than the 30 levels the walk once stopped at.
    QString deep = "w";
    for (int i = 0; i < 40; ++i)
        deep += QStringLiteral("/d%1").arg(i);
    dir.write(deep + "/deep.mp3", "x");
    // Quotes, a line break and bytes that are not UTF-8 in names.
    dir.write("w/it's \"q\"/new\nline.mp3", "x");
    const QByteArray badName = QFile::encodeName(dir.file("w/")) + "bad\xff\xfe";
    ASSERT_EQ(::mkdir(badName.constData(), 0755), 0);
    dir.write("w/z/z.mp3", "x");
    dir.write("w/gone/g.mp3", "x");
    const bool root = ::geteuid() == 0; // root reads a folder of mode 000 anyway
    dir.write("w/locked/l.mp3", "x");
    ASSERT_EQ(::chmod(QFile::encodeName(dir.file("w/locked")).constData(), 0), 0);

    LocalFiles files;
    ScanTree tree;
    ScanWalker walker(tree, files, kNoDrives);
    // A folder that vanishes between its parent's listing and its own.
    walker.setFolderShown([&](const QString& folder) {
        if (folder.endsWith("/gone"))
            QDir(folder).removeRecursively();
    });
    const ScanResult result = walker.walk(Options(ScanCollect::SoundFiles, dir.file("w/")));
    ::chmod(QFile::encodeName(dir.file("w/locked")).constData(), 0755);
    // The temporary folder's own cleanup cannot name it either.
    ::rmdir(badName.constData());

    QStringList keys;
    for (const ScanNode* node : tree.nodesInOrder())
        keys << QString(node->key()).replace(dir.path(), "T");
    QStringList expected = {"T/w/",
                            "T/w/a.mp3",
                            "T/" + deep + "/",
                            "T/" + deep + "/deep.mp3",
                            "T/w/it's \"q\"/",
                            "T/w/it's \"q\"/new\nline.mp3",
                            "T/w/z/",
                            "T/w/z/z.mp3"};
    if (root)
        expected << "T/w/locked/"
                 << "T/w/locked/l.mp3";
    expected.sort();
    keys.sort();
    EXPECT_EQ(keys, expected);
    EXPECT_FALSE(result.stopped);
    // "gone", the name that is not UTF-8 (its text no longer names the folder) and "locked"
    // unless root reads it.
    EXPECT_EQ(result.unreadableFolders, root ? 2 : 3);
}

TEST(ScanWalkerTest, YieldsAtLeastEvery50msInsideAHugeFolder) {
    test::TempDir dir;
    const QByteArray folder = QFile::encodeName(dir.file("big/"));
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    for (int i = 0; i < 50000; ++i) {
        const QByteArray name = folder + QByteArray::number(i) + (i % 2 ? ".mp3" : ".txt");
        const int fd = ::creat(name.constData(), 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }

    LocalFiles files;
    ScanTree tree;
    ScanWalker walker(tree, files, kNoDrives);
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longestGap = 0;
    int yields = 0;
    walker.setYield([&] {
        longestGap = std::max(longestGap, clock.elapsed() - last);
        last = clock.elapsed();
        ++yields;
    });
    clock.start();
    const ScanResult result = walker.walk(Options(ScanCollect::SoundFiles, dir.file("big")));
    longestGap = std::max(longestGap, clock.elapsed() - last);

    EXPECT_EQ(result.matches, 25000);
    // The listing sorted in steps still gives the files in name order.
    ASSERT_EQ(tree.rootCount(), 1);
    const ScanNode& big = *tree.roots().front();
    const NameOrder order;
    for (int i = 1; i < big.childCount(); ++i)
        ASSERT_LT(order.compare(big.child(i - 1).text(), big.child(i).text()), 0) << i;
    // The walk aims at 20 ms; the margin is for slow and sanitised builds, not for the walk.
    EXPECT_LT(longestGap, 200) << yields << " yields in " << clock.elapsed() << " ms";
    EXPECT_GE(yields, clock.elapsed() / 200);
}

} // namespace
} // namespace tarl
