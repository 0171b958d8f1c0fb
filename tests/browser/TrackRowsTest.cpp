#include "browser/TrackRows.h"

#include "catalog/CatalogFind.h"
#include "catalog/CatalogInsert.h"
#include "catalog/ImportStatements.h"
#include "catalog/RoutineFixture.h"
#include "catalog/ScanNodeValues.h"
#include "catalog/TrackLength.h"
#include "scan/PlaylistImport.h"
#include "tags/TagFields.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

// A catalog filled through the import's routines: the hard-disc volume "/music/" with a folder
// list "rock/" and tracks lying directly in "/music/"; two discs of the same drive, labelled
// "Disc 7" and "Disc 8", each with a folder "pop/" and tracks on the root; a playlist in the
// temporary folder, named with a final "." as Linux allows.
class TrackRowsTest : public test::RoutineFixture {
protected:
    void SetUp() override {
        RoutineFixture::SetUp();
        QString label;
        ASSERT_TRUE(AddFolderVolume(catalog, "/music/", label));
        music = scalar("SELECT id FROM CD WHERE name='/music/'").toLongLong();
        disc7 = insert("INSERT INTO CD (name,m3us,label,isCd,labelcd) VALUES "
                       "('/media/cd/',2,'Disc 7','1','DISC7')");
        disc8 = insert("INSERT INTO CD (name,m3us,label,isCd,labelcd) VALUES "
                       "('/media/cd/',2,'Disc 8','1','DISC8')");
        addTrack("/music/rock/", "a.mp3", Tags("Alpha", 4523456), music);
        addTrack("/music/rock/", "b.mp3", Tags("Beta", 850), music);
        addTrack("/music/", "x.mp3", Tags("Ex", 123456), music);
        addTrack("/music/Live :> Dead/", "l.mp3", Tags("Live", 1000), music);
        addTrack("/media/cd/pop/", "c7.mp3", Tags("Seven", 2000000), disc7);
        addTrack("/media/cd/", "r7.mp3", Tags("Root seven", 2000000), disc7);
        addTrack("/media/cd/pop/", "c8.mp3", Tags("Eight", 3000000), disc8);
        addTrack("/media/cd/", "r8.mp3", Tags("Root eight", 3000000), disc8);
        ASSERT_TRUE(StoreTrackLength(catalog, "/music/rock/a.mp3", 187));
        ASSERT_TRUE(StoreTrackLength(catalog, "/music/rock/b.mp3", 40000));
    }

    static TagFields Tags(const QString& title, qint64 length) {
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

    void addTrack(const QString& folder, const QString& name, const TagFields& tags,
                  qint64 volume) {
        ImportStatements statements(catalog.connection);
        ASSERT_TRUE(AddFolderTrack(drives, {folder + name, name, folder}, tags, volume, statements))
            << catalog.connection.lastError().toStdString();
    }

    // The file names of the rows a node shows; the rows must be read.
    // The node is named by its tag text, as the tree stores it.
    QStringList files(const QString& key, const QString& tag) {
        const Result<std::vector<TrackRow>> rows =
            TrackRowsForNode(catalog, drives, key, NodeKindOfTag(tag));
        EXPECT_TRUE(rows.ok) << rows.error.toStdString();
        QStringList names;
        for (const TrackRow& row : rows.value)
            names << row.columns[ColFile];
        return names;
    }

    qint64 music = 0, disc7 = 0, disc8 = 0;
};

TEST_F(TrackRowsTest, AFolderNodeShowsEveryColumnOfItsTracksInCatalogOrder) {
    const std::vector<TrackRow> rows =
        TrackRowsForNode(catalog, drives, "/music/rock/", NodeKind::TrackFolder).value;
    ASSERT_EQ(rows.size(), 2u);
    const QString a = scalar("SELECT id FROM Mp3 WHERE file='a.mp3'").toString();
    const QString b = scalar("SELECT id FROM Mp3 WHERE file='b.mp3'").toString();
    // The rating is never written by the import: its column stays empty.
    EXPECT_EQ(rows[0].columns, (std::array<QString, TrackColumnCount>{
                                   "a.mp3", "/music/rock/", "Alpha", "Artist", "Album", "1999",
                                   "Rock", "Live", "4.52M", "03:07", "", a}));
    // A length of more than nine hours still shows, beside every other column.
    EXPECT_EQ(rows[1].columns, (std::array<QString, TrackColumnCount>{
                                   "b.mp3", "/music/rock/", "Beta", "Artist", "Album", "1999",
                                   "Rock", "Live", "850b", "666:40", "", b}));
    EXPECT_EQ(rows[0].fullPath(), "/music/rock/a.mp3");
}

TEST_F(TrackRowsTest, EachKeyFormFindsItsList) {
    const struct {
        QString key;
        QString tag;
        QStringList files;
    } cases[] = {
        {"/music/rock/", "Mp3Cd", {"a.mp3", "b.mp3"}},
        // "." nodes: the tracks lying directly in a folder that is also a volume's key.
        {"/music/.", "M3uCd", {"x.mp3"}},
        {"/music/rock/.", "M3uCd", {"a.mp3", "b.mp3"}},
        // A hard-disc volume whose own folder holds tracks.
        {"/music/", "Cd", {"x.mp3"}},
        // Keys with ":>" name the volume by its label, so two discs of one drive stay apart.
        {"Disc 7:>/media/cd/pop/", "M3uCd", {"c7.mp3"}},
        {"Disc 8:>/media/cd/pop/", "M3uNick", {"c8.mp3"}},
        {"Disc 7:>/media/cd/.", "Mp3Cd", {"r7.mp3"}},
        {"Disc 8:>/media/cd/", "Cd", {"r8.mp3"}},
        {"EOF:>/music/rock/", "M3uNick", {"a.mp3", "b.mp3"}},
        // A folder's name may hold ":>" on Linux: a path's key has no disc part.
        {"/music/Live :> Dead/", "Mp3Cd", {"l.mp3"}},
        {"EOF:>/music/Live :> Dead/", "M3uNick", {"l.mp3"}},
        // A disc volume keyed by its label names no list.
        {"Disc 7", "Cd", {}},
        {"Disc 9:>/media/cd/pop/", "M3uCd", {}},
        {"/nowhere/", "Mp3Cd", {}},
        // Kinds that stand for no list.
        {"Jazz", "Nick", {}},
        {"Unsorted", "Unsorted", {}},
        {"tarl.mdb", "Db", {}},
        {"/music/rock/", "", {}},
        {"/music/rock/", "mp3cd", {}}, // kinds are exact
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.key + " / " + c.tag).toStdString());
        EXPECT_EQ(files(c.key, c.tag), c.files);
    }
}

TEST_F(TrackRowsTest, ANodeWithoutAListShowsNoRows) {
    for (const NodeKind kind : {NodeKind::Volume, NodeKind::Style}) {
        SCOPED_TRACE(NodeKindTag(kind).toStdString());
        const Result<std::vector<TrackRow>> rows =
            TrackRowsForNode(catalog, drives, "Disc 7", kind);
        EXPECT_TRUE(rows.ok);
        EXPECT_TRUE(rows.value.empty());
    }
}

TEST_F(TrackRowsTest, APlaylistListsInItsOwnOrderAndMayEndInADot) {
    // Linux allows a final "." in a name; only the "/." of a folder's key is dropped.
    const QString folder = temp.path() + "/lists/";
    const QString playlist = temp.write("lists/mix.", "zulu.mp3\r\nalpha.mp3\r\nmike.mp3\r\n");
    QString label;
    ASSERT_TRUE(AddFolderVolume(catalog, folder, label));
    const Lookup<qint64> volume = FindVolumeId(catalog, drives, folder, "");
    ImportStatements statements(catalog.connection);
    ASSERT_TRUE(AddPlaylistList({playlist, "mix.", folder}, volume.value, statements));
    const Lookup<qint64> list = FindListId(catalog, drives, playlist);
    ASSERT_NE(list.value, 0);
    ASSERT_TRUE(AddPlaylistTracks(catalog, statements, playlist, list.value));

    EXPECT_EQ(files(playlist, "M3uCd"), QStringList({"zulu.mp3", "alpha.mp3", "mike.mp3"}));
    EXPECT_EQ(files("EOF:>" + playlist, "M3uNick"),
              QStringList({"zulu.mp3", "alpha.mp3", "mike.mp3"}));
}

TEST_F(TrackRowsTest, AFieldThatCannotBeShownLeavesOnlyItsColumnEmpty) {
    const qint64 rock = FindListId(catalog, drives, "/music/rock/").value;
    const struct {
        QString time; // SQL literal
        QString shown;
    } cases[] = {
        {"187", "03:07"},    {"7505", "125:05"},
        {"40000", "666:40"}, {"0", "00:00"},
        {"-5", "00:00"},     {"NULL", ""},
        {"'abc'", ""},       {"' 61 '", "01:01"},
        {"186.5", "03:06"},  {"187.5", "03:08"}, // whole seconds, halves to even
        {"1e300", ""},       {"4000000000", "66666666:40"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.time.toStdString());
        run("DELETE FROM Mp3 WHERE m3u_id=" + QString::number(rock));
        // Every other field null, as rows made by other programs may have them.
        run("INSERT INTO Mp3 (id,m3u_id,time) VALUES (5000000000," + QString::number(rock) + "," +
            c.time + ")");
        const std::vector<TrackRow> rows =
            TrackRowsForNode(catalog, drives, "/music/rock/", NodeKind::TrackFolder).value;
        ASSERT_EQ(rows.size(), 1u);
        std::array<QString, TrackColumnCount> expected;
        expected[ColTime] = c.shown;
        expected[ColId] = "5000000000";
        EXPECT_EQ(rows[0].columns, expected);
    }
}

TEST_F(TrackRowsTest, AFailingQueryGivesNoRowsAndSaysWhy) {
    const struct {
        const char* breakage;
        QString key;
    } cases[] = {
        {"ALTER TABLE Mp3 RENAME TO Gone", "/music/rock/"},          // the fill's own query
        {"ALTER TABLE M3u RENAME TO Gone", "/music/rock/"},          // the list look-up
        {"ALTER TABLE CD RENAME TO Gone", "Disc 7:>/media/cd/pop/"}, // the volume look-up
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.breakage);
        run(c.breakage);
        const Result<std::vector<TrackRow>> rows =
            TrackRowsForNode(catalog, drives, c.key, NodeKind::Playlist);
        EXPECT_FALSE(rows.ok);
        EXPECT_TRUE(rows.value.empty());
        EXPECT_TRUE(rows.error.contains("no such table")) << rows.error.toStdString();
        run("ALTER TABLE Gone RENAME TO " + QString(c.breakage).section(' ', 2, 2));
    }
}

} // namespace
} // namespace tarl
