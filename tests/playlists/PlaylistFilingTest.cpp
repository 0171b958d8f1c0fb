#include "playlists/PlaylistFiling.h"
#include "catalog/CatalogFind.h"
#include "catalog/LibraryReads.h"
#include "playlists/AddToPlaylist.h"
#include "playlists/PlaylistSettings.h"
#include "playlists/PlaylistWriting.h"
#include "state/AppState.h"
#include "text/PathMap.h"

#include "catalog/RoutineFixture.h"
#include "support/TestServices.h"

#include <QDir>
#include <gtest/gtest.h>

namespace tarl {
namespace {

// A music folder with the sound files "Rock/a.mp3", "Rock/b.mp3" and "Rock/c.mp3" and an empty
// playlists folder beside them, on a fresh catalog.
class PlaylistFiling : public test::RoutineFixture {
protected:
    void SetUp() override {
        RoutineFixture::SetUp();
        music = temp.path() + QStringLiteral("/music/");
        lists = music + QStringLiteral("Playlists/");
        QDir().mkpath(lists);
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
            temp.write(QStringLiteral("music/Rock/") + QLatin1String(name), "not a sound");
    }
    PlaylistTrack track(const char* name) const {
        return {music + QStringLiteral("Rock/") + QLatin1String(name), {}, {}, 0};
    }
    // The entries of the list filed at `listPath` (stored form), as "folder+file".
    QStringList entries(const QString& listPath) {
        const Lookup<qint64> list = FindListId(catalog, drives, listPath);
        EXPECT_TRUE(list.ok && list.value != 0) << listPath.toStdString();
        QStringList paths;
        for (const TrackFields& f : ReadTracksOfList(catalog, list.value).value)
            paths << f.path.toString() + f.file.toString();
        return paths;
    }

    QString music, lists;
};

TEST_F(PlaylistFiling, ANewPlaylistGetsAVolumeOfItsFolderInTheStoredForm) {
    const QString path = lists + "Mix.m3u8";
    ASSERT_TRUE(WritePlaylist(path, {track("a.mp3"), track("b.mp3")}, false));
    const PathMap map = PathMap::Parse("/srv/music/=" + music);
    ASSERT_TRUE(FilePlaylist(catalog, drives, map, path));
    EXPECT_EQ(rows("SELECT name, label, isCd FROM CD"),
              QList<QVariantList>({{"/srv/music/Playlists/", "EOF", 0}}));
    EXPECT_EQ(entries("/srv/music/Playlists/Mix.m3u8"),
              QStringList({"/srv/music/Rock/a.mp3", "/srv/music/Rock/b.mp3"}));
}

TEST_F(PlaylistFiling, AVolumeOfItsFolderTakesItAndFilingAgainReplacesTheEntries) {
    const qint64 volume =
        insert("INSERT INTO CD (name,m3us,label,isCd) VALUES ('" + lists + "',1,'EOF','0')");
    const QString path = lists + "Mix.m3u8";
    ASSERT_TRUE(WritePlaylist(path, {track("a.mp3"), track("b.mp3")}, false));
    ASSERT_TRUE(FilePlaylist(catalog, drives, {}, path));
    ASSERT_TRUE(WritePlaylist(path, {track("c.mp3")}, true));
    ASSERT_TRUE(FilePlaylist(catalog, drives, {}, path));
    EXPECT_EQ(count("CD"), 1);
    EXPECT_EQ(scalar("SELECT cd_id FROM M3u").toLongLong(), volume);
    EXPECT_EQ(entries(path),
              QStringList({music + "Rock/a.mp3", music + "Rock/b.mp3", music + "Rock/c.mp3"}));
}

// A trigger of the file's engine refuses one entry.
TEST_F(PlaylistFiling, ARefusedEntryLeavesTheCatalogAsItWas) {
    const QString path = lists + "Mix.m3u8";
    ASSERT_TRUE(WritePlaylist(path, {track("a.mp3")}, false));
    ASSERT_TRUE(FilePlaylist(catalog, drives, {}, path));
    ASSERT_TRUE(WritePlaylist(path, {track("b.mp3"), track("c.mp3")}, true));
    run("CREATE TRIGGER refuse BEFORE INSERT ON Mp3 WHEN NEW.file = 'c.mp3' "
        "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END");
    const Result<> filed = FilePlaylist(catalog, drives, {}, path);
    EXPECT_FALSE(filed);
    EXPECT_TRUE(filed.error.contains("refused by the test")) << filed.error.toStdString();
    EXPECT_EQ(entries(path), QStringList({music + "Rock/a.mp3"}));
    run("BEGIN"); // no transaction was left open
    run("COMMIT");
}

// The whole command over the Ui double: the tracks picked by id, the questions, the file, the
// settings and the catalog.
class AddToPlaylist : public PlaylistFiling {
protected:
    void SetUp() override {
        PlaylistFiling::SetUp();
        state.settings.setPath(temp.file("tarl.ini"));
        ASSERT_TRUE(state.catalog.connection.open(dbPath));
        services.drives.addDrive("/", DriveType::Fixed);
        const qint64 volume =
            insert("INSERT INTO CD (name,m3us,label,isCd) VALUES ('" + music + "',1,'EOF','0')");
        const qint64 rock = insert("INSERT INTO M3u (path,file,cd_id,mp3s) VALUES ('" + music +
                                   "','Rock/'," + QString::number(volume) + ",4)");
        const auto add = [&](const QString& file, const QString& tags) {
            return insert("INSERT INTO Mp3 (path,file,m3u_id,title,artist,time) VALUES ('" + music +
                          "Rock/','" + file + "'," + QString::number(rock) + "," + tags + ")");
        };
        a = add("a.mp3", "'Song A','Ann',61");
        b = add("b.mp3", "' ',' ',NULL");
        c = add("c.mp3", "'Song C',' ',7");
        gone = add("gone.mp3", "'Gone','Ann',5");
    }
    void TearDown() override {
        state.catalog.connection.close();
        PlaylistFiling::TearDown();
    }
    Result<PlaylistAdded> add(const QString& recent, const std::vector<qint64>& ids) {
        return tarl::AddToPlaylist(state, recent, ids);
    }
    QByteArray file(const QString& name) const {
        QFile in(lists + name);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("(none)");
    }

    test::TestServices services;
    AppState state{services.services()};
    qint64 a = 0, b = 0, c = 0, gone = 0;
};

TEST_F(AddToPlaylist, ANewOneIsNamedWrittenFiledAndRememberedAndARecentOneGrows) {
    services.ui.folders = {lists};
    services.ui.inputs = {QString("Road trip")};
    const Result<PlaylistAdded> added = add("", {a, gone, b});
    ASSERT_TRUE(added) << added.error.toStdString();
    EXPECT_EQ(added.value.sentence, "Added 2 tracks to Road trip.m3u8. 1 track left out: not on "
                                    "this machine (a disc not in its drive?).");
    EXPECT_TRUE(added.value.filed);
    EXPECT_EQ(file("Road trip.m3u8"), "#EXTM3U\n#EXTINF:61,Ann - Song A\n../Rock/a.mp3\n"
                                      "../Rock/b.mp3\n");
    EXPECT_EQ(PlaylistsFolder(state.settings), lists);
    EXPECT_EQ(RecentPlaylists(state.settings), QStringList({"Road trip.m3u8"}));
    EXPECT_EQ(entries(lists + "Road trip.m3u8"),
              QStringList({music + "Rock/a.mp3", music + "Rock/b.mp3"}));

    // The folder is not asked again; nothing of this machine, nothing written.
    const Result<PlaylistAdded> none = add("Road trip.m3u8", {gone});
    EXPECT_FALSE(none);
    EXPECT_TRUE(none.error.startsWith("None of the tracks is on this machine"));
    ASSERT_TRUE(add("Road trip.m3u8", {c}));
    EXPECT_EQ(file("Road trip.m3u8"), "#EXTM3U\n#EXTINF:61,Ann - Song A\n../Rock/a.mp3\n"
                                      "../Rock/b.mp3\n#EXTINF:7,Song C\n../Rock/c.mp3\n");
    EXPECT_EQ(entries(lists + "Road trip.m3u8"),
              QStringList({music + "Rock/a.mp3", music + "Rock/b.mp3", music + "Rock/c.mp3"}));
    EXPECT_EQ(count("M3u"), 2);
    QStringList kinds;
    for (const auto& box : services.ui.transcript)
        kinds << box.kind;
    EXPECT_EQ(kinds, QStringList({"browseForFolder", "input"}));
}

TEST_F(AddToPlaylist, BadNamesAreRefusedAndAPlaylistThereIsReplacedOnlyWhenSaid) {
    SetPlaylistsFolder(state.settings, lists);
    services.ui.inputs = {QString("../up"), QString(".."), std::nullopt};
    EXPECT_TRUE(add("", {a}).error.startsWith("\"../up\" cannot name a playlist"));
    EXPECT_FALSE(add("", {a}));
    const Result<PlaylistAdded> cancelled = add("", {a});
    ASSERT_TRUE(cancelled);
    EXPECT_EQ(cancelled.value.sentence, "");
    EXPECT_EQ(QDir(lists).entryList(QDir::Files), QStringList());
    EXPECT_EQ(QDir(music).entryList(QDir::Files), QStringList());

    temp.write("music/Playlists/Keep.m3u8", "mine\n");
    services.ui.inputs = {QString("Keep"), QString("Keep")};
    services.ui.answers = {MsgAnswer::Cancel, MsgAnswer::Ok};
    ASSERT_TRUE(add("", {a}));
    EXPECT_EQ(file("Keep.m3u8"), "mine\n");
    ASSERT_TRUE(add("", {a}));
    EXPECT_EQ(file("Keep.m3u8"), "#EXTM3U\n#EXTINF:61,Ann - Song A\n../Rock/a.mp3\n");
    EXPECT_EQ(services.ui.transcript[4].kind, "message");
    EXPECT_EQ(services.ui.transcript[4].title, "New Playlist");
}

} // namespace
} // namespace tarl
