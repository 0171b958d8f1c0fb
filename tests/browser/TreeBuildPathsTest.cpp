#include "TreeBuildFixture.h"
#include "catalog/CatalogFind.h"
#include "catalog/CatalogInsert.h"
#include "catalog/ImportStatements.h"
#include "catalog/ScanNodeValues.h"
#include "tags/TagFields.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

class TreeBuildPathsTest : public test::TreeBuildFixture {
protected:
    // A playlist file found by a scan, added through the import's routine.
    void playlist(const QString& folder, const QString& file, qint64 volumeId) {
        ImportStatements statements(catalog.connection);
        ASSERT_TRUE(AddPlaylistList({folder + file, file, folder}, volumeId, statements))
            << catalog.connection.lastError().toStdString();
    }
    // A sound file found by a scan: the list of its folder comes with it.
    void track(const QString& folder, const QString& file, qint64 volumeId) {
        TagFields tags;
        tags.title = file;
        ImportStatements statements(catalog.connection);
        ASSERT_TRUE(
            AddFolderTrack(drives, {folder + file, file, folder}, tags, volumeId, statements))
            << catalog.connection.lastError().toStdString();
    }
};

TEST_F(TreeBuildPathsTest, AnEmptyCatalogShowsOnlyTheExpandedRoot) {
    TreeNode* root = BuildTreeByPaths(tree, sources());
    EXPECT_EQ(lines(), QStringList{"tarl.mdb | tarl.mdb | Db | 1"});
    ASSERT_EQ(tree.topLevel().size(), 1u);
    EXPECT_EQ(root, tree.topLevel()[0].get());
    EXPECT_TRUE(root->expanded);
}

TEST_F(TreeBuildPathsTest, DiscsOfOneLabelHangUnderTheFirstNamedByTheirDrive) {
    drives.addDrive("/media/cd2", DriveType::CdRom, "other");
    const qint64 first = disc("/media/cd/", 2, "Rock Disc", "Disc7");
    const qint64 second = disc("/media/cd2/", 1, "Rock Disc", "Disc7");
    disc("/media/cd/", 1, "Rock Disc", "Disc9");
    const qint64 fourth = disc("/media/cd/", 1, "Rock Disc", "Disc7");
    list("/media/cd/", "best.m3u", first);
    list("/media/cd/", "live/", first);
    list("/media/cd/live/", "encore/", first);
    list("/media/cd2/", "x.m3u", second);
    list("/media/cd/", "best.m3u", fourth);

    EXPECT_EQ(pathTree(), (QStringList{
                              "tarl.mdb | tarl.mdb | Db | 1",
                              // "DISC7" in the drive reads "Disc7": the recorded label.
                              "  Rock Disc (2 lists) | Rock Disc | Cd | 6",
                              "    best.m3u | Rock Disc:>/media/cd/best.m3u | M3uCd | 5",
                              "    live/ | Rock Disc:>/media/cd/live/ | Mp3Cd | 8",
                              // Its path is no volume's name, so its key has no label.
                              "    encore/ | /media/cd/live/encore/ | Mp3Cd | 8",
                              "    /media/cd2/ (1 lists) | Rock Disc:>/media/cd2/ | Cd | 7",
                              "      x.m3u | Rock Disc:>/media/cd2/x.m3u | M3uCd | 5",
                              "    /media/cd/ (1 lists) | Rock Disc:>/media/cd/ | Cd | 7",
                              // The same label and drive again: the key is taken, so none.
                              "    /media/cd/ (1 lists) |  | Cd | 6",
                              "      best.m3u |  | M3uCd | 5",
                          }));
    EXPECT_EQ(tree.FindNodeByKey("Rock Disc:>/media/cd/best.m3u")->parent,
              tree.FindNodeByKey("Rock Disc"));
}

TEST_F(TreeBuildPathsTest, ADiscVolumeBelowTheDiscRootShowsWhetherItsDiscIsIn) {
    // The drive holds "DISC7": the label is the disc's, not the folder's.
    disc("/media/cd/Album/", 1, "Disc In", "Disc7");
    disc("/media/cd/Live/Set/", 1, "Disc Out", "Disc9");
    pathTree();
    EXPECT_EQ(tree.FindNodeByKey("Disc In")->image, 6);
    EXPECT_EQ(tree.FindNodeByKey("Disc Out")->image, 7);
}

TEST_F(TreeBuildPathsTest, AVolumeDirectlyInADriveRootIsATopNodeHoldingItsLists) {
    const QString music = t + "/music/";
    make(music);
    const qint64 id = hardDisc(music, 2);
    playlist(music, "party.m3u", id);
    track(music + "rock/", "a.mp3", id);

    EXPECT_EQ(pathTree(), (QStringList{
                              "tarl.mdb | tarl.mdb | Db | 1",
                              "  $T/music/ (2 lists) | $T/music/ | Cd | 4",
                              "    party.m3u | $T/music/party.m3u | M3uCd | 5",
                              "    rock/ | $T/music/rock/ | Mp3Cd | 8",
                          }));
}

TEST_F(TreeBuildPathsTest, ADriveRootVolumeGivesItsKeyToTheDotListOfItsTracks) {
    const QString usb = t + "/usb/";
    drives.addDrive(usb, DriveType::Removable);
    make(usb);
    const qint64 id = hardDisc(usb, 3);
    track(usb, "a.mp3", id); // tracks in the root itself: the list "."
    playlist(usb, "a.m3u", id);
    ASSERT_EQ(scalar("SELECT group_concat(file, ' ') FROM M3u"), ". a.m3u");

    // The "." row adds no node: the key goes to the node added before it, the volume.
    EXPECT_EQ(pathTree(), (QStringList{
                              "tarl.mdb | tarl.mdb | Db | 1",
                              "  $T/usb/ (3 lists) | $T/usb/. | Cd | 4",
                              "    a.m3u | $T/usb/a.m3u | M3uCd | 5",
                          }));
}

TEST_F(TreeBuildPathsTest, EveryDriveRootVolumeGetsATopNodeTheFirstKeepsTheLists) {
    const QString usb = t + "/usb/";
    drives.addDrive(usb, DriveType::Removable);
    hardDisc(usb, 1);
    const qint64 again = hardDisc(usb, 2);
    playlist(usb, "b.m3u", again);

    EXPECT_EQ(pathTree(), (QStringList{
                              "tarl.mdb | tarl.mdb | Db | 1",
                              "  $T/usb/ (1 lists) | $T/usb/ | Cd | 5",
                              "    b.m3u | $T/usb/b.m3u | M3uCd | 5",
                              "  $T/usb/ (2 lists) |  | Cd | 5",
                          }));
}

TEST_F(TreeBuildPathsTest, VolumesInOneFolderShareAGroupShowingTheFirstCount) {
    const QString rock = t + "/music/rock/";
    const QString jazz = t + "/music/jazz/";
    make(rock);
    const qint64 rockId = hardDisc(rock, 3);
    const qint64 jazzId = hardDisc(jazz, 5);
    playlist(rock, "best.m3u", rockId);
    playlist(jazz, "cool.m3u", jazzId);

    EXPECT_EQ(pathTree(), (QStringList{
                              "tarl.mdb | tarl.mdb | Db | 1",
                              "  $T/music/ (3 lists) | $T/music/ | Cd | 4",
                              "    rock (3 lists) | $T/music/rock/ | Cd | 4",
                              "      best.m3u | $T/music/rock/best.m3u | M3uCd | 5",
                              "    jazz (5 lists) | $T/music/jazz/ | Cd | 5",
                              "      cool.m3u | $T/music/jazz/cool.m3u | M3uCd | 5",
                          }));
}

TEST_F(TreeBuildPathsTest, AFolderListThatIsAVolumeAlreadyGetsADotChild) {
    const QString music = t + "/music/";
    const qint64 rockId = hardDisc(music + "rock/", 1);
    const qint64 musicId = hardDisc(music, 2);
    playlist(music + "rock/", "live.m3u", rockId);
    track(music + "rock/", "a.mp3", musicId); // the list "rock/" of /music/
    track(music + "pop/", "b.mp3", musicId);

    EXPECT_EQ(pathTree(), (QStringList{
                              "tarl.mdb | tarl.mdb | Db | 1",
                              // /music/ is the group of rock and, being in the drive root, its
                              // own volume too.
                              "  $T/music/ (1 lists) | $T/music/ | Cd | 5",
                              "    rock (1 lists) | $T/music/rock/ | Cd | 5",
                              "      live.m3u | $T/music/rock/live.m3u | M3uCd | 5",
                              "      . | $T/music/rock/. | M3uCd | 8",
                              "    pop/ | $T/music/pop/ | Mp3Cd | 8",
                          }));
}

TEST_F(TreeBuildPathsTest, AVolumeWhoseFolderIsAListAlreadyTakesThatNodeItsTracksShowingAsADot) {
    // A sound-file scan of the music folder, then a playlist scan, which makes the album's folder
    // a volume of its own: its tracks stay playable, as when the volume comes first.
    const QString music = t + "/music/";
    const qint64 musicId = hardDisc(music, 1);
    const qint64 rockId = hardDisc(music + "rock/", 4);
    track(music + "rock/", "a.mp3", musicId);
    playlist(music + "rock/", "live.m3u", rockId);

    EXPECT_EQ(pathTree(), (QStringList{
                              "tarl.mdb | tarl.mdb | Db | 1",
                              "  $T/music/ (1 lists) | $T/music/ | Cd | 5",
                              "    rock/ | $T/music/rock/ | Cd | 8",
                              "      . | $T/music/rock/. | M3uCd | 8",
                              "      live.m3u | $T/music/rock/live.m3u | M3uCd | 5",
                          }));
}

TEST_F(TreeBuildPathsTest, AVolumeNameSharedByADiscAndAHardDiscIsAnsweredAsTheCatalogDoes) {
    // Which row of the two decides is the catalog's choice; the tree must follow it.
    hardDisc("/media/cd/", 1);
    disc("/media/cd/", 2, "Abba", "Disc7");
    const Lookup<bool> isDisc = VolumeIsCdByName(catalog, "/media/cd/");
    ASSERT_TRUE(isDisc.ok);

    const QStringList asDiscs{
        "tarl.mdb | tarl.mdb | Db | 1",
        "  EOF (1 lists) | EOF | Cd | 7",
        "  Abba (2 lists) | Abba | Cd | 6",
    };
    const QStringList asFolders{
        "tarl.mdb | tarl.mdb | Db | 1",
        "  /media/cd/ (1 lists) | /media/cd/ | Cd | 5",
        "  /media/cd/ (2 lists) |  | Cd | 5",
    };
    EXPECT_EQ(pathTree(), isDisc.value ? asDiscs : asFolders);
}

TEST_F(TreeBuildPathsTest, ListsThatCannotBeReadLeaveTheVolumesWithoutChildren) {
    const qint64 id = hardDisc(t + "/music/", 2);
    list(t + "/music/", "a.m3u", id);
    run("DROP TABLE M3u");

    EXPECT_EQ(pathTree(), (QStringList{
                              "tarl.mdb | tarl.mdb | Db | 1",
                              "  $T/music/ (2 lists) | $T/music/ | Cd | 5",
                          }));
}

TEST_F(TreeBuildPathsTest, ARebuildReplacesThePreviousTree) {
    const qint64 id = hardDisc(t + "/music/", 1);
    list(t + "/music/", "a.m3u", id);
    pathTree();
    run("DELETE FROM M3u");
    run("DELETE FROM CD");

    EXPECT_EQ(pathTree(), QStringList{"tarl.mdb | tarl.mdb | Db | 1"});
    EXPECT_EQ(tree.nodeCount(), 1);
    EXPECT_FALSE(tree.NodeExists(t + "/music/a.m3u"));
}

} // namespace
} // namespace tarl
