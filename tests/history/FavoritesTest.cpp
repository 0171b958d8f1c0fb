#include "history/Favorites.h"
#include "history/HistoryReplay.h"
#include "scan/TemporaryPlaylist.h"
#include "state/AppState.h"

#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "support/TestServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace tarl;

namespace {

class Favorites : public ::testing::Test {
protected:
    void SetUp() override {
        state.programFolder = dir.path() + u'/';
        state.settings.setPath(dir.file("tarl.ini"));
        state.tmpPlaylistPath = TemporaryPlaylistPath(state.programFolder);
    }
    QList<Favorite> read() const { return ReadFavorites(state.programFolder).value; }

    test::TempDir dir;
    test::TestServices services;
    AppState state{services.services()};
};

TEST_F(Favorites, HostileNamesRoundTripAndDamagedLinesAreSkipped) {
    const QList<Favorite> cases = {
        {"Mine", "/music/Album Name/", 4, "track05.mp3", 61},
        {"tabs\tand|bars", "/m/a\tb|c/", 0, "x\ty|.mp3", 0},
        {"line\nbreaks\r", "/m/new\nline/", 1, "s\r\n.mp3", 7},
        {"100% & more %41", "/m/%20/", 2, "%.mp3", 3},
        {"Økland ½ \u00e9", "/m/Café/", 32767, "ça va.flac", 86400},
        {"#not a comment", "/#/", 9, "#.mp3", 1},
        {" blanks ", "/m/ x /", 3, " y .mp3", 2},
    };
    for (const Favorite& f : cases) {
        const Result<Favorite> back = ParseFavoriteLine(FavoriteLine(f));
        ASSERT_TRUE(back) << back.error.toStdString();
        EXPECT_EQ(back.value, f) << FavoriteLine(f).toStdString();
        EXPECT_FALSE(FavoriteLine(f).contains(u'\n'));
        EXPECT_FALSE(FavoriteLine(f).contains(u'\r'));
        EXPECT_EQ(FavoriteLine(f).count(u'\t'), 4);
    }
    ASSERT_TRUE(WriteFavorites(state.programFolder, cases));
    EXPECT_EQ(read(), cases);

    // Lines another program wrote or a crash cut: each passed over, the good ones kept.
    const QByteArray good = FavoriteLine(cases[0]).toUtf8();
    dir.write("favorites/TARLfavorites.tlf",
              good + "\r\n" + "only\tfour\t1\tfields\r\n" + "a\t/m/\t1\ts.mp3\t2\textra\r\n" +
                  "bad%2\t/m/\t1\ts.mp3\t2\r\n" + "bad%zz\t/m/\t1\ts.mp3\t2\r\n" +
                  "n\t/m/\t-1\ts.mp3\t2\r\n" + "n\t/m/\t1\ts.mp3\t2.5\r\n" +
                  "n\t/m/\t99999999999\ts.mp3\t2\r\n" + "n\tno-slash\t1\ts.mp3\t2\r\n" +
                  "n\t/m/\t1\tsub/s.mp3\t2\r\n" + "\t/m/\t1\ts.mp3\t2\r\n" + "n\t/m/\t1\t\t2\r\n" +
                  "\r\n\xff\xfe garbage\n" + good);
    EXPECT_EQ(read(), QList<Favorite>({cases[0], cases[0]}));
}

TEST_F(Favorites, NewestFirstTwentyInTheMenuAndEachChangeIsWritten) {
    FavoritesList list(state.programFolder);
    ASSERT_TRUE(list.load());
    for (int i = 1; i <= 22; ++i)
        ASSERT_TRUE(list.add({QStringLiteral("F%1").arg(i), "/m/", i, "s.mp3", 0}));
    const QStringList captions = FavoriteCaptions(read());
    ASSERT_EQ(captions.size(), 20);
    EXPECT_EQ(captions.first(), "1)  F22");
    EXPECT_EQ(captions.last(), "20)  F3");
    EXPECT_EQ(FavoriteCaption(1, {"Simon & Garfunkel", "/m/", 0, "s.mp3", 0}),
              "1)  Simon && Garfunkel");

    ASSERT_TRUE(list.remove(0));
    ASSERT_TRUE(list.move(0, 1));  // F21 below F20
    ASSERT_TRUE(list.move(0, -1)); // nothing above the top
    ASSERT_TRUE(list.move(20, 1)); // nothing past the end
    ASSERT_TRUE(list.rename(1, "  New\nname "));
    EXPECT_FALSE(list.rename(1, " \t"));
    QStringList names;
    for (const Favorite& f : read())
        names << f.name;
    EXPECT_EQ(names.mid(0, 3), QStringList({"F20", "New name", "F19"}));
    EXPECT_EQ(read(), list.items());
}

TEST_F(Favorites, NothingPlayedYetKeepsNothingAndAnUnreadableFileIsNeverReplaced) {
    EXPECT_FALSE(SongToKeep(state));
    EXPECT_TRUE(FavoriteOfPlayState(state, "x").error.startsWith("Nothing has played yet"));
    state.lastFolder = "/music/Album/";
    state.lastIndex = 3;
    state.lastSong = "04.mp3";
    state.lastPosition = 95;
    EXPECT_EQ(FavoriteOfPlayState(state, " Mine\n").value,
              (Favorite{"Mine", "/music/Album/", 3, "04.mp3", 95}));
    EXPECT_FALSE(FavoriteOfPlayState(state, "  "));

    // A folder in the file's place cannot be read: no change replaces it.
    ASSERT_TRUE(QDir().mkpath(FavoritesFilePath(state.programFolder)));
    FavoritesList list(state.programFolder);
    EXPECT_FALSE(list.load());
    EXPECT_FALSE(list.add({"x", "/m/", 0, "s.mp3", 0}));
    EXPECT_TRUE(QFileInfo(FavoritesFilePath(state.programFolder)).isDir());
}

TEST_F(Favorites, AFavouriteReplaysAtItsSongAndSecondAndAFolderGoneSaysSo) {
    QStringList calls;
    ReplaySteps steps;
    steps.selectFolderNode = [&](const QString& folder) {
        calls << "select " + folder;
        return folder == "/m/A/";
    };
    steps.playList = [&] {
        calls << "play";
        ASSERT_TRUE(WriteTemporaryPlaylist(state.tmpPlaylistPath, {"/m/A/1.mp3", "/m/A/2.mp3"}));
    };
    steps.resume = [&](qint32 entry, qint64 seconds) {
        calls << QString("resume %1 at %2").arg(entry).arg(seconds);
    };
    EXPECT_TRUE(ReplayFavorite(state, {"Two", "/m/A/", 7, "2.mp3", 42}, steps));
    EXPECT_EQ(calls, QStringList({"select /m/A/", "play", "resume 1 at 42"}));

    calls.clear();
    const Result<> gone = ReplayFavorite(state, {"Old", "/m/gone/", 0, "a.mp3", 1}, steps);
    EXPECT_FALSE(gone);
    EXPECT_EQ(gone.error,
              "The folder of the favorite \"Old\" is no longer in the library: /m/gone/");
    EXPECT_EQ(calls, QStringList({"select /m/gone/"}));
}

} // namespace
