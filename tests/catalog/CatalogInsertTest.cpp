#include "catalog/CatalogInsert.h"
#include "catalog/ImportStatements.h"
#include "scan/PlaylistImport.h"

#include "RoutineFixture.h"
#include "catalog/ScanNodeValues.h"
#include "tags/TagFields.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

class CatalogInsertTest : public test::RoutineFixture {
protected:
    void SetUp() override {
        RoutineFixture::SetUp();
        music = insert("INSERT INTO CD (name,m3us,label,isCd) VALUES ('/music/',2,'EOF','0')");
        disc = insert("INSERT INTO CD (name,m3us,label,isCd,labelcd) VALUES "
                      "('/media/cd/',1,'Disc 7','1','Disc7')");
    }

    static ScanNodeValues Track(const QString& folder, const QString& name) {
        return {folder + name, name, folder};
    }

    static TagFields Tags(const QString& title, qint64 length = 4523456) {
        TagFields tags;
        tags.title = title;
        tags.artist = "Artist";
        tags.album = "Album";
        tags.year = "1999";
        tags.genre = "Rock";
        tags.comments = "Live";
        tags.fileLength = length;
        return tags;
    }

    qint64 music = 0, disc = 0;
};

TEST_F(CatalogInsertTest, AddFolderVolumeAddsAHardDiscVolumeOnceAndSetsTheLabel) {
    QString label = "Disc 7";
    ASSERT_TRUE(AddFolderVolume(catalog, "/music/new/", label));
    EXPECT_EQ(label, "EOF");
    EXPECT_EQ(rows("SELECT name,m3us,label,isCd,labelcd FROM CD WHERE name='/music/new/'"),
              (QList<QVariantList>{{"/music/new/", 0, "EOF", 0, QVariant()}}));

    label = "Disc 7";
    ASSERT_TRUE(AddFolderVolume(catalog, "/music/new/", label));
    EXPECT_EQ(label, "EOF");
    EXPECT_EQ(count("CD"), 3);
}

TEST_F(CatalogInsertTest, AddFolderTrackMakesTheFolderListThenTheTrack) {
    ImportStatements statements(catalog.connection);
    const struct {
        QString folder;
        QString file;
        qint64 volume;
        QVariantList list; // path and file of the folder's list
        QString trackPath;
    } cases[] = {
        {"/music/rock/", "a.mp3", music, {"/music/", "rock/"}, "/music/rock/"},
        // A drive root's own tracks form its list ".".
        {"/media/cd/", "b.mp3", disc, {"/media/cd/", "."}, "/media/cd/"},
        {"/media/cd/pop/", "c.mp3", disc, {"/media/cd/", "pop/"}, "/media/cd/pop/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        const qint64 volume = c.volume;
        ASSERT_TRUE(AddFolderTrack(drives, Track(c.folder, c.file), Tags("T"), volume, statements))
            << catalog.connection.lastError().toStdString();
        const QList<QVariantList> lists =
            rows("SELECT id,path,file,cd_id,mp3s,nick FROM M3u WHERE path='" +
                 c.list[0].toString() + "' AND file='" + c.list[1].toString() + "'");
        ASSERT_EQ(lists.size(), 1);
        EXPECT_EQ(lists[0].mid(1), (QVariantList{c.list[0], c.list[1], volume, 0, 0}));
        EXPECT_EQ(rows("SELECT path,file,m3u_id,title,artist,album,year,genre,comments,size,time,"
                       "rating FROM Mp3 WHERE file='" +
                       c.file + "'"),
                  (QList<QVariantList>{{c.trackPath, c.file, lists[0][0], "T", "Artist", "Album",
                                        "1999", "Rock", "Live", "4.52M", QVariant(), QVariant()}}));
    }
}

TEST_F(CatalogInsertTest, AddFolderTrackWritesNothingForATrackItsListHolds) {
    ImportStatements statements(catalog.connection);
    ASSERT_TRUE(
        AddFolderTrack(drives, Track("/music/rock/", "a.mp3"), Tags("T"), music, statements));
    ASSERT_TRUE(
        AddFolderTrack(drives, Track("/music/rock/", "a.mp3"), Tags("Other"), music, statements));
    EXPECT_EQ(count("M3u"), 1);
    EXPECT_EQ(scalar("SELECT group_concat(title) FROM Mp3"), "T");

    // A second track joins the same list; the same folder on another volume is another list.
    ASSERT_TRUE(
        AddFolderTrack(drives, Track("/music/rock/", "b.mp3"), Tags("B"), music, statements));
    ASSERT_TRUE(
        AddFolderTrack(drives, Track("/music/rock/", "a.mp3"), Tags("C"), disc, statements));
    EXPECT_EQ(count("M3u"), 2);
    EXPECT_EQ(count("Mp3"), 3);
    EXPECT_EQ(scalar("SELECT COUNT(DISTINCT m3u_id) FROM Mp3 WHERE title IN ('T','B')"), 1);
}

TEST_F(CatalogInsertTest, AddFolderTrackStoresEmptyTagValuesAsASpace) {
    ImportStatements statements(catalog.connection);
    TagFields tags;
    tags.title = "";
    tags.artist = QString::fromUtf8("\0x", 2); // nothing before the NUL
    tags.album = "";
    tags.year = "";
    tags.genre = "";
    tags.comments = "";
    tags.fileLength = 0;
    ASSERT_TRUE(AddFolderTrack(drives, Track("/music/rock/", "a.mp3"), tags, music, statements));
    EXPECT_EQ(rows("SELECT title,artist,album,year,genre,comments,size FROM Mp3"),
              (QList<QVariantList>{{" ", " ", " ", " ", " ", " ", "N/A"}}));
}

TEST_F(CatalogInsertTest, AddPlaylistListAddsTheListOnce) {
    ImportStatements statements(catalog.connection);
    const ScanNodeValues party{"/music/party.m3u", "party.m3u", "/music/"};
    ASSERT_TRUE(AddPlaylistList(party, music, statements));
    ASSERT_TRUE(AddPlaylistList(party, music, statements));
    EXPECT_EQ(rows("SELECT path,file,cd_id,mp3s,nick FROM M3u"),
              (QList<QVariantList>{{"/music/", "party.m3u", music, 0, 0}}));
}

TEST_F(CatalogInsertTest, AddPlaylistTracksStoresEachEntryOnceWithItsFolder) {
    ImportStatements statements(catalog.connection);
    const QString playlist = temp.write("music/party.m3u", "#EXTM3U\r\n"
                                                           "#EXTINF:123,Artist - A\r\n"
                                                           "rock\\a.mp3\r\n"
                                                           "\\b.mp3\n"
                                                           "/abs/c.mp3\r"
                                                           "rock/a.mp3\r\n"
                                                           "\r\n"
                                                           "#last line, still a comment");
    const QString folder = temp.file("music/");
    ASSERT_TRUE(AddPlaylistTracks(catalog, statements, playlist, 7))
        << catalog.connection.lastError().toStdString();
    ASSERT_TRUE(AddPlaylistTracks(catalog, statements, playlist, 7));
    const QList<QVariantList> expected{
        {folder + "rock/", "a.mp3", 7, QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
         QVariant(), QVariant(), QVariant(), QVariant()},
        {folder, "b.mp3", 7, QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
         QVariant(), QVariant(), QVariant()},
        {"/abs/", "c.mp3", 7, QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
         QVariant(), QVariant(), QVariant(), QVariant()},
    };
    EXPECT_EQ(rows("SELECT path,file,m3u_id,title,artist,album,year,genre,comments,size,time,"
                   "rating FROM Mp3 ORDER BY id"),
              expected);

    // Another list may hold the same tracks.
    ASSERT_TRUE(AddPlaylistTracks(catalog, statements, playlist, 8));
    EXPECT_EQ(count("Mp3"), 6);
}

TEST_F(CatalogInsertTest, AddPlaylistTracksStopsAtTheFirstError) {
    ImportStatements statements(catalog.connection);
    const QString playlist = temp.write("party.m3u", "a.mp3\nb.mp3\nrefused.mp3\nc.mp3\n");
    run("CREATE TRIGGER refuse BEFORE INSERT ON Mp3 WHEN NEW.file = 'refused.mp3' "
        "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END");
    const Result<> refused = AddPlaylistTracks(catalog, statements, playlist, 7);
    EXPECT_FALSE(refused);
    EXPECT_TRUE(refused.error.contains("refused by the test")) << refused.error.toStdString();
    EXPECT_EQ(scalar("SELECT group_concat(file, ' ') FROM Mp3"), "a.mp3 b.mp3");
    run("BEGIN"); // no transaction was left open
    run("COMMIT");

    const Result<> unread = AddPlaylistTracks(catalog, statements, temp.file("missing.m3u"), 7);
    EXPECT_FALSE(unread);
    EXPECT_FALSE(unread.error.isEmpty());
    EXPECT_EQ(count("Mp3"), 2);
}

TEST_F(CatalogInsertTest, AddPlaylistTracksJoinsTheTransactionOfItsCaller) {
    ImportStatements statements(catalog.connection);
    const QString playlist = temp.write("party.m3u", "a.mp3\nb.mp3\n");
    run("BEGIN");
    ASSERT_TRUE(AddPlaylistTracks(catalog, statements, playlist, 7));
    EXPECT_EQ(count("Mp3"), 2);
    run("ROLLBACK");
    EXPECT_EQ(count("Mp3"), 0);
}

TEST_F(CatalogInsertTest, AddStyleRefusesADuplicateWithANotice) {
    const Result<StyleAdded> added = AddStyle(catalog, "Jazz");
    ASSERT_TRUE(added);
    EXPECT_EQ(added.value.outcome, StyleAdded::Added);
    EXPECT_EQ(added.value.notice, "");

    const Result<StyleAdded> again = AddStyle(catalog, "Jazz");
    ASSERT_TRUE(again);
    EXPECT_EQ(count("Nick"), 1);
    EXPECT_EQ(again.value.outcome, StyleAdded::AlreadyThere);
    EXPECT_EQ(again.value.notice, "This Style already exist in Data Base ");
}

TEST_F(CatalogInsertTest, AddStyleReportsAFailingStatement) {
    run("DROP TABLE Nick");
    const Result<StyleAdded> added = AddStyle(catalog, "Jazz");
    EXPECT_FALSE(added);
    EXPECT_EQ(added.value.notice, "");
    EXPECT_TRUE(added.error.contains("Nick", Qt::CaseInsensitive)) << added.error.toStdString();
}

TEST_F(CatalogInsertTest, AFailingStatementEndsTheRoutineWithItsReason) {
    ImportStatements statements(catalog.connection);
    run("DROP TABLE Mp3");
    const Result<> added =
        AddFolderTrack(drives, Track("/music/rock/", "a.mp3"), Tags("T"), music, statements);
    EXPECT_FALSE(added);
    EXPECT_TRUE(added.error.contains("Mp3", Qt::CaseInsensitive)) << added.error.toStdString();
    EXPECT_EQ(count("M3u"), 1); // the list was written before the track failed
}

} // namespace
} // namespace tarl
