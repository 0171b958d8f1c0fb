#include "history/Favorites.h"
#include "history/HistoryFile.h"
#include "history/HistoryMenu.h"
#include "history/HistoryReplay.h"
#include "scan/TemporaryPlaylist.h"
#include "support/FuzzSeeds.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "support/TestServices.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tarl;
using tarl::test::TempDir;
using tarl::test::TestServices;

namespace {

class History : public ::testing::Test {
protected:
    void SetUp() override {
        state.programFolder = dir.path() + u'/';
        state.settings.setPath(dir.file("tarl.ini"));
        state.tmpPlaylistPath = TemporaryPlaylistPath(state.programFolder);
    }
    // What the now-playing tracking leaves in the settings file, then the record of it.
    bool play(const QString& folder, const QString& index, const QString& song,
              const QString& position) {
        state.settings.write(keys::Mp3Folder, folder);
        state.settings.write(keys::Mp3Index, index);
        state.settings.write(keys::Mp3Song, song);
        state.settings.write(keys::Mp3Position, position);
        return RecordHistory(state).ok;
    }
    QString file() const { return QString::fromUtf8(dir.read("history/TARLhistory.tlh")); }
    QString stamp() const {
        const QDateTime t = services.clock.time;
        return QLocale::system().toString(t.date(), QLocale::ShortFormat) + u'|' +
               QLocale::system().toString(t.time(), QLocale::ShortFormat) + u'|';
    }
    void writeHistory(const QStringList& lines, const QString& name = "TARLhistory.tlh") {
        dir.write("history/" + name, lines.join("\r\n").toUtf8() + "\r\n");
    }

    TempDir dir;
    TestServices services;
    AppState state{services.services()};
};

TEST_F(History, NewestFirstOneLinePerFolderWithCrlf) {
    ASSERT_TRUE(play("/m/A/", "3", "a.mp3", "61"));
    ASSERT_TRUE(play("/m/B/", "0", "b.mp3", "5"));
    const QString stampB = stamp();
    services.clock.time = services.clock.time.addDays(1);
    ASSERT_TRUE(play("/m/A/", "4", "a2.mp3", "7"));
    EXPECT_EQ(file(), stamp() + "/m/A/|4|a2.mp3|7\r\n" + stampB + "/m/B/|0|b.mp3|5\r\n");
    const QList<HistoryRecord> records = ReadHistory(HistoryFilePath(state.programFolder));
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[1].folder, "/m/B/");
    // Folders are compared exactly: a different case is another folder.
    ASSERT_TRUE(play("/m/a/", "1", "x.mp3", "2"));
    EXPECT_EQ(ReadHistory(HistoryFilePath(state.programFolder)).size(), 3);
}

TEST_F(History, NothingPlayedYetRecordsNothingAndASongsBlanksAreKept) {
    ASSERT_TRUE(RecordHistory(state));
    EXPECT_FALSE(QFile::exists(HistoryFilePath(state.programFolder)));
    // A name with a blank at its start, through the settings file into the history.
    ASSERT_TRUE(play("/m/Broken/", "0", " intro.mp3", "8"));
    EXPECT_EQ(file(), stamp() + "/m/Broken/|0| intro.mp3|8\r\n");
}

TEST(HistoryLines, FieldsRoundTripWhateverTheNamesHold) {
    const QList<HistoryRecord> cases = {
        {"2/1/26", "3:04 AM", "/m/a|b/c|/", "2", "x|y|.mp3", "61"},
        {"d", "t", "/m/|/", "", "|", ""},
        {"d", "t", "", "", "", ""},
        {"d", "t", "/", "0", "song", "0"},
    };
    QByteArray file;
    for (const HistoryRecord& r : cases) {
        EXPECT_EQ(ParseHistoryLine(HistoryLine(r)), r) << HistoryLine(r).toStdString();
        file += HistoryLine(r).toUtf8() + "\r\n";
    }
    test::SaveFuzzSeed(QStringLiteral("history"), QStringLiteral("odd-names.tlh"), file);
    // What would break the line apart is written as a space.
    EXPECT_EQ(HistoryLine({"a|b", "c\nd", "/f\r/", "1/2", "s\n", "9|"}), "a b|c d|/f /|1 2|s |9 ");
}

TEST_F(History, MenuShowsTheFirstTenOfFourteenAndClearRemovesThem) {
    EXPECT_EQ(HistoryMenuState(state.programFolder).exists, false);
    QStringList lines;
    for (int i = 1; i <= 14; ++i)
        lines << QStringLiteral("d|t|/music/Album %1/|0|track%1.mp3|0").arg(i);
    // Line ends of any kind are read; empty lines are no entries.
    dir.write("history/TARLhistory.tlh",
              (lines.mid(0, 3).join("\n") + "\r\r\n" + lines.mid(3).join("\r") + "\n").toUtf8());
    const HistoryMenu menu = HistoryMenuState(state.programFolder);
    EXPECT_TRUE(menu.exists);
    ASSERT_EQ(menu.captions.size(), 10);
    EXPECT_EQ(menu.captions[0], "1)  Album 1   >>>>>   track1.mp3");
    EXPECT_EQ(menu.captions[9], "10)  Album 10   >>>>>   track10.mp3");

    writeHistory({"left-over"}, "TARLhistory.tlh_");
    ASSERT_TRUE(ClearHistory(state.programFolder));
    EXPECT_EQ(HistoryMenuState(state.programFolder).exists, false);
    ASSERT_TRUE(play("/m/A/", "0", "a.mp3", "0")); // the cleared history does not come back
    EXPECT_EQ(ReadHistory(HistoryFilePath(state.programFolder)).size(), 1);
}

TEST_F(History, LeftOverBackupIsRecoveredOnlyWhenTheFileIsMissing) {
    writeHistory({"d|t|/m/A/|0|a.mp3|1", "d|t|/m/B/|0|b.mp3|2"}, "TARLhistory.tlh_");
    ASSERT_TRUE(play("/m/A/", "1", "a.mp3", "9"));
    EXPECT_EQ(file(), stamp() + "/m/A/|1|a.mp3|9\r\nd|t|/m/B/|0|b.mp3|2\r\n");
    EXPECT_FALSE(QFileInfo::exists(dir.file("history/TARLhistory.tlh_")));

    writeHistory({"d|t|/m/stale/|0|s.mp3|1"}, "TARLhistory.tlh_");
    ASSERT_TRUE(play("/m/C/", "0", "c.mp3", "3"));
    EXPECT_FALSE(file().contains("stale"));
    EXPECT_EQ(ReadHistory(HistoryFilePath(state.programFolder)).size(), 3);
    EXPECT_FALSE(QFileInfo::exists(dir.file("history/TARLhistory.tlh_")));
}

TEST_F(History, FileThatCannotBeReplacedFailsWithReason) {
    dir.write("history/TARLhistory.tlh/inside", "x"); // a folder in its place
    state.settings.write(keys::Mp3Folder, "/m/A/");
    const QString error = RecordHistory(state).error;
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(error.contains("TARLhistory.tlh")) << error.toStdString();
}

TEST_F(History, UnwritableFolderKeepsTheOldFileAndSaysWhy) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes anywhere";
    writeHistory({"d|t|/m/A/|0|a.mp3|1"});
    const QString before = file();
    ASSERT_EQ(::chmod(qPrintable(dir.file("history")), 0555), 0);
    state.settings.write(keys::Mp3Folder, "/m/B/");
    const QString error = RecordHistory(state).error;
    EXPECT_FALSE(error.isEmpty());
    ::chmod(qPrintable(dir.file("history")), 0755);
    EXPECT_TRUE(error.contains("TARLhistory.tlh")) << error.toStdString();
    EXPECT_EQ(file(), before);
}

TEST_F(History, AHistoryThatCannotBeReadIsNeverReplaced) {
    // A folder in the file's place: no one, root included, can read it as a history.
    dir.write("history/TARLhistory.tlh/inside", "x");
    EXPECT_FALSE(play("/m/B/", "0", "b.mp3", "1"));
    const QString error = RecordHistory(state).error;
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(error.startsWith("Cannot read")) << error.toStdString();
    EXPECT_TRUE(QFileInfo(dir.file("history/TARLhistory.tlh")).isDir());
}

TEST_F(History, AFileWithoutReadPermissionKeepsItsLines) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads anything";
    writeHistory({"d|t|/m/A/|0|a.mp3|1"});
    const QString path = dir.file("history/TARLhistory.tlh");
    ASSERT_EQ(::chmod(qPrintable(path), 0200), 0);
    EXPECT_FALSE(play("/m/B/", "0", "b.mp3", "1"));
    const QString error = RecordHistory(state).error;
    EXPECT_FALSE(error.isEmpty());
    ::chmod(qPrintable(path), 0644);
    EXPECT_TRUE(error.contains("TARLhistory.tlh")) << error.toStdString();
    EXPECT_EQ(file(), "d|t|/m/A/|0|a.mp3|1\r\n");
}

TEST(HistoryCaptions, AmpersandsShowAsWritten) {
    const struct {
        const char* folder;
        const char* song;
        const char* caption;
    } cases[] = {
        {"/m/Simon & Garfunkel/", "a.mp3", "1)  Simon && Garfunkel   >>>>>   a.mp3"},
        {"/m/R&B/", "Me & You &&.mp3", "1)  R&&B   >>>>>   Me && You &&&&.mp3"},
        {"/m/Plain/", "x.mp3", "1)  Plain   >>>>>   x.mp3"},
    };
    for (const auto& c : cases) {
        const HistoryRecord record{"d", "t", c.folder, "0", c.song, "1"};
        EXPECT_EQ(HistoryCaption(1, record), c.caption) << c.folder;
    }
}

// A link planted in the place of the settings or of the history is replaced by the new file;
// the file it leads to stays byte for byte as it was.
TEST_F(History, AWriteReplacesALinkInTheFilesPlaceAndLeavesItsTarget) {
    const struct {
        const char* name;
        QString file;
        std::function<bool()> write;
    } cases[] = {
        {"settings", "tarl.ini", [&] { return state.settings.write(keys::Mp3Folder, "/m/A/"); }},
        {"history", "history/TARLhistory.tlh", [&] { return RecordHistory(state).ok; }},
    };
    for (const auto& c : cases) {
        const QByteArray before = "[Player]\r\nMp3folder=/victim/\r\n";
        const QString victim = dir.write(QStringLiteral("elsewhere/") + c.name, before);
        ASSERT_TRUE(QDir().mkpath(dir.file("history")));
        ASSERT_TRUE(QFile::link(victim, dir.file(c.file))) << c.name;
        ASSERT_TRUE(c.write()) << c.name;
        EXPECT_EQ(dir.read(QStringLiteral("elsewhere/") + c.name), before) << c.name;
        EXPECT_FALSE(QFileInfo(dir.file(c.file)).isSymLink()) << c.name;
        EXPECT_TRUE(dir.read(c.file).contains("/m/A/")) << c.name;
    }
}

// A song name of megabytes (a history written by another tool) is cut as a list cell is, so the
// History menu opens at once.
TEST_F(History, AHugeEntryMakesACutCaption) {
    const QByteArray song(10 << 20, 's');
    dir.write("history/TARLhistory.tlh", "d|t|/m/A/|0|" + song + "|1\r\nd|t|/m/B/|0|b.mp3|2\r\n");
    const HistoryMenu menu = HistoryMenuState(state.programFolder);
    ASSERT_EQ(menu.captions.size(), 2);
    const QString shown = "1)  A   >>>>>   " + QString(1024 - 16, u's');
    EXPECT_EQ(menu.captions[0], shown + QChar(0x2026));
    EXPECT_EQ(menu.captions[1], "2)  B   >>>>>   b.mp3");
}

class Replay : public History {
protected:
    void SetUp() override {
        History::SetUp();
        steps.selectFolderNode = [this](const QString& folder) {
            calls << "select " + folder;
            return folder == "/m/A|1/";
        };
        steps.playList = [this] {
            calls << "play";
            ASSERT_TRUE(WriteTemporaryPlaylist(state.tmpPlaylistPath, playlist));
            services.player.running = true; // the play started the player
        };
        steps.resume = [this](qint32 entry, qint64 seconds) {
            calls << QString("resume %1 at %2").arg(entry).arg(seconds);
        };
    }
    QStringList calls;
    QStringList playlist;
    ReplaySteps steps;
};

TEST_F(Replay, JumpsToTheRecordedSongFoundWithoutRegardToCase) {
    writeHistory({"d|t|/m/B/|0|b.mp3|0", "d|t|/m/A|1/|5|track|02.mp3|61"});
    playlist = {"/m/A|1/TRACK|01.MP3", "/m/A|1/TRACK|02.MP3", "/m/A|1/track|02.mp3"};
    EXPECT_TRUE(ReplayHistoryEntry(state, 2, steps));
    EXPECT_EQ(calls, QStringList({"select /m/A|1/", "play", "resume 1 at 61"}));
}

TEST_F(Replay, SongNotInTheListPlaysTheListFromItsStart) {
    writeHistory({"d|t|/m/A|1/|5|gone.mp3|61"});
    playlist = {"/m/A|1/other.mp3"};
    EXPECT_TRUE(ReplayHistoryEntry(state, 1, steps));
    EXPECT_EQ(calls, QStringList({"select /m/A|1/", "play"}));
}

TEST_F(Replay, MissingEntryDoesNothingAndMissingFolderSaysNotFound) {
    writeHistory({"d|t|/m/gone/|0|a.mp3|1"});
    EXPECT_TRUE(ReplayHistoryEntry(state, 2, steps));
    EXPECT_TRUE(calls.isEmpty());

    const Result<> replayed = ReplayHistoryEntry(state, 1, steps);
    EXPECT_EQ(calls, QStringList({"select /m/gone/"}));
    EXPECT_FALSE(replayed);
    EXPECT_EQ(replayed.error, "I can't find this history playlist");
}

TEST_F(History, FavoriteProposal) {
    EXPECT_EQ(FavoriteProposal(state), " (0) "); // no song seen yet
    state.lastFolder = "/music/Album Name/";
    state.lastIndex = 4;
    state.lastSong = "track05.mp3";
    EXPECT_EQ(FavoriteProposal(state), "Album Name/ (4) track05.mp3");
}

} // namespace
