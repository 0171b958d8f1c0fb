#include "catalog/TrackLength.h"
#include "platform/IniProfile.h"
#include "platform/LocalFiles.h"
#include "player/PlayTarget.h"
#include "scan/ScanImport.h"
#include "scan/ScanTree.h"
#include "state/Settings.h"
#include "support/CatalogFixture.h"
#include "support/FakeDrives.h"
#include "support/Id3Builder.h"

#include <QFile>
#include <gtest/gtest.h>

namespace tarl::test {
namespace {

// Two machines share one catalog file and one music share, which each mounts at its own folder
// (here a link to the share); each has its own settings file mapping the stored prefix to it.
class SharedCatalog : public CatalogFixture {
protected:
    void SetUp() override {
        CatalogFixture::SetUp();
        drives.addDrive("/", DriveType::Fixed);
        temp.write("share/album/x.mp3",
                   Id3Builder(3).text("TIT2", "X").text("TPE1", "Band").audio(2).build());
        for (const QString machine : {"a", "b"})
            ASSERT_TRUE(QFile::link(temp.file("share"), temp.file(machine)));
    }

    // The map machine `name` reads from its own settings file.
    PathMap machineMap(const QString& name) {
        const QString ini =
            temp.write(name + ".ini",
                       "[Database]\r\nPathMap=/mnt/music/=" + temp.file(name).toUtf8() + "\r\n");
        Settings settings(profile);
        settings.setPath(ini);
        return PathMap::Parse(settings.read(keys::PathMap));
    }

    // The scan of one folder of sound files, as the walker leaves it, imported through `map`.
    ScanImportResult importThrough(const PathMap& map, const QString& folder) {
        ScanTree tree;
        ScanNode& node = tree.addRoot(folder, folder + "   < 1 files >", ScanNodeKind::SoundFolder);
        tree.addChild(node, folder + "x.mp3", "x.mp3", ScanNodeKind::SoundFile);
        QString label;
        return ImportScanTree(catalog, drives, tree, label, folder, {}, {}, map);
    }

    IniProfile profile;
    FakeDrives drives;
};

TEST_F(SharedCatalog, TwoSettingsFilesOverOneCatalogReachTheSameRow) {
    const PathMap a = machineMap("a");
    const PathMap b = machineMap("b");

    const ScanImportResult imported = importThrough(a, temp.file("a/album/"));
    ASSERT_FALSE(imported.failed()) << imported.failure.toStdString();
    EXPECT_EQ(scalar("SELECT count(*) FROM Mp3").toInt(), 1);
    EXPECT_EQ(scalar("SELECT path || file FROM Mp3").toString(), "/mnt/music/album/x.mp3");

    // Machine B plays the stored folder from its own mount...
    const Result<QStringList> tracks = TracksToPlay(LocalFiles(), b.toLocal("/mnt/music/album/"));
    ASSERT_TRUE(tracks.ok) << tracks.error.toStdString();
    EXPECT_EQ(tracks.value, QStringList{temp.file("b/album/x.mp3")});
    // ...and the path its player reports finds the row A's import wrote.
    const QString reported = b.toStored(tracks.value.front());
    ASSERT_TRUE(StoreTrackLength(catalog, reported, 7));
    EXPECT_EQ(StoredTrackLength(catalog, a.toStored(temp.file("a/album/x.mp3"))).value, 7);

    // Importing the same folder again on B adds nothing: it is the same stored row.
    ASSERT_FALSE(importThrough(b, temp.file("b/album/")).failed());
    EXPECT_EQ(scalar("SELECT count(*) FROM Mp3").toInt(), 1);
    EXPECT_EQ(scalar("SELECT path || file FROM Mp3").toString(), "/mnt/music/album/x.mp3");
}

} // namespace
} // namespace tarl::test
