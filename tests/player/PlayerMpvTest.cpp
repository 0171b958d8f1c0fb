// The player side over a real mpv (silent), a real catalog and real files: what a user sees
// when a folder is played, followed and played again from the history.
#include "MpvFixture.h"
#include "catalog/engine/CatalogFile.h"
#include "catalog/engine/Recordset.h"
#include "history/HistoryFile.h"
#include "history/HistoryReplay.h"
#include "platform/MpvPlayerLink.h"
#include "player/NowPlaying.h"
#include "player/PlayerControl.h"
#include "player/PlayerPanel.h"
#include "player/Resume.h"
#include "scan/TemporaryPlaylist.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "support/TestServices.h"
#include "support/WavFile.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <QThread>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>

using namespace tarl;
using tarl::test::TempDir;
using tarl::test::TestServices;

namespace {

struct QuietView : PanelView, NowPlayingView {
    void moveKnob(int, double) override {}
    void setStatusPanel(int, const QString&) override {}
    void setElapsed(const QString& caption) override { elapsed = caption; }
    void setDisplay(const QString& caption) override { display = caption; }
    void setDisplayTip(const QString&) override {}
    void reloadTrackList(int) override { ++reloads; }
    void selectPlayingSong(bool) override {}
    void setTrayTip(const QString&) override {}
    QString elapsed, display;
    int reloads = 0;
};

class PlayerMpv : public test::MpvFixture {
protected:
    PlayerMpv() : MpvFixture(1000) {}
    void SetUp() override {
        MpvFixture::SetUp();
        if (IsSkipped())
            return;
        state.lastSongLoaded = true;
        const QString db = dir.file("tarl.mdb");
        ASSERT_TRUE(CreateCatalog(db));
        ASSERT_TRUE(state.catalog.connection.open(db));
        folder = dir.path() + "/music/Album/";
        for (const char* name : {"1.wav", "2.wav", "3.wav"}) {
            ASSERT_TRUE(test::WriteWav(folder + name, 4, 440));
            ASSERT_TRUE(
                state.catalog.connection.execute("INSERT INTO Mp3 (path, file, m3u_id) VALUES ('" +
                                                 folder + "', '" + name + "', 1)"));
            tracks << folder + name;
        }
    }
    // Ticks as the window's timer does until `done` holds; false after `ms`.
    bool tickUntil(const std::function<bool()>& done, int ms = 8000) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms) {
            now.Tick();
            if (done())
                return true;
            QThread::msleep(30);
        }
        return false;
    }
    qint64 storedTime(const QString& file) {
        Recordset rows;
        EXPECT_TRUE(state.catalog.connection.execute(
            "SELECT time FROM Mp3 WHERE file='" + file + "'", rows));
        return rows.field(0).toLongLong();
    }

    QString folder;
    QStringList tracks;
    QuietView view;
    PlayerPanel panel{state, view};
    NowPlaying now{state, panel, view};
};

TEST_F(PlayerMpv, APlayedFolderIsFollowedAndItsLengthsLearned) {
    ASSERT_TRUE(WriteTemporaryPlaylist(state.tmpPlaylistPath, tracks));
    control.PlayFile(state.tmpPlaylistPath);
    ASSERT_NE(link.startedProcessId(), 0);
    ASSERT_NE(link.waitForWindow(10000), 0);
    ASSERT_TRUE(tickUntil([&] { return storedTime("1.wav") == 4; }));
    EXPECT_EQ(state.lastSong, "1.wav");
    EXPECT_EQ(state.lastFolder, folder);
    EXPECT_EQ(view.display, "/00:04  (1/3)  ''1.wav ''");
    EXPECT_GE(view.reloads, 1);

    // The panel's next button: the tick notices the new entry and learns its length too.
    panel.buttonPressed(4);
    ASSERT_TRUE(tickUntil([&] { return state.lastListIndex == 1 && storedTime("2.wav") == 4; }));
    EXPECT_EQ(state.lastSong, "2.wav");
    EXPECT_EQ(state.settings.read(keys::Mp3Song), "2.wav");

    // A second play goes to the same player, which starts over with the new list.
    const qint64 first = link.startedProcessId();
    ASSERT_TRUE(WriteTemporaryPlaylist(state.tmpPlaylistPath, {tracks[2]}));
    control.PlayFile(state.tmpPlaylistPath);
    EXPECT_EQ(link.startedProcessId(), first);
    // The length may come a tick after the entry: the display and the catalog get it then.
    ASSERT_TRUE(tickUntil([&] { return view.display == "/00:04  (1/1)  ''3.wav ''"; }))
        << view.display.toStdString();
    EXPECT_EQ(storedTime("3.wav"), 4);

    // Closing: the player quits.
    link.askToClose(link.findWindow());
    QElapsedTimer clock;
    clock.start();
    while (::kill(pid_t(first), 0) == 0 && clock.elapsed() < 5000)
        QThread::msleep(20);
    EXPECT_NE(::kill(pid_t(first), 0), 0) << "the player is still running";
}

TEST_F(PlayerMpv, APlaylistPlayedByItsKeyIsFollowedByItsOwnTracks) {
    // A list written on Windows, in its own order; the player's previous list was another.
    dir.write("music/list.m3u", "Album\\3.wav\r\nAlbum\\1.wav\r\n");
    ASSERT_TRUE(WriteTemporaryPlaylist(state.tmpPlaylistPath, {tracks[1]}));
    control.PlayKey(dir.file("music/list.m3u"));
    ASSERT_NE(link.waitForWindow(10000), 0);
    ASSERT_TRUE(tickUntil([&] { return storedTime("3.wav") == 4; }));
    EXPECT_EQ(state.lastSong, "3.wav");
    EXPECT_EQ(view.display, "/00:04  (1/2)  ''3.wav ''");
    EXPECT_EQ(storedTime("1.wav"), 0);
    EXPECT_EQ(storedTime("2.wav"), 0);
}

// A list naming another list: Tarl puts the inner list's tracks in its place, so the player's
// entry n is line n and each track gets its own length, never its neighbour's.
TEST_F(PlayerMpv, AListInsideAListKeepsEveryEntryOnItsOwnLine) {
    ASSERT_TRUE(test::WriteWav(dir.file("music/02.wav"), 3, 440));
    for (const char* file : {"02.wav", "inner.m3u"})
        ASSERT_TRUE(
            state.catalog.connection.execute("INSERT INTO Mp3 (path, file, m3u_id) VALUES ('" +
                                             dir.file("music/") + "', '" + file + "', 2)"));
    dir.write("music/inner.m3u", "Album/1.wav\r\nAlbum/2.wav\r\n");
    dir.write("music/all.m3u", "Album/3.wav\r\ninner.m3u\r\n02.wav\r\n");
    control.PlayKey(dir.file("music/all.m3u"));
    EXPECT_EQ(ReadTemporaryPlaylist(state.tmpPlaylistPath),
              QStringList({tracks[2], tracks[0], tracks[1], dir.file("music/02.wav")}));
    control.ResumeAt(3, true);
    ASSERT_TRUE(tickUntil([&] { return storedTime("02.wav") != 0; }));
    EXPECT_EQ(storedTime("02.wav"), 3);
    EXPECT_EQ(state.lastSong, "02.wav");
    EXPECT_EQ(view.display, "/00:03  (4/4)  ''02.wav ''");
    EXPECT_EQ(storedTime("inner.m3u"), 0);
}

// A file that holds a list under a track's name stays one entry of the player's: mpv opens
// every entry as a sound file, so the entries after it keep their places.
TEST_F(PlayerMpv, AFileHoldingAListIsOneEntryThatDoesNotPlay) {
    const QString disguised = dir.write("music/list.wav", "#EXTM3U\n" + tracks[0].toUtf8() + "\n" +
                                                              tracks[1].toUtf8() + "\n");
    const QString shorter = dir.file("music/short.wav");
    ASSERT_TRUE(test::WriteWav(shorter, 2, 440));
    ASSERT_TRUE(state.catalog.connection.execute("INSERT INTO Mp3 (path, file, m3u_id) VALUES ('" +
                                                 dir.file("music/") + "', 'short.wav', 2)"));
    ASSERT_TRUE(WriteTemporaryPlaylist(state.tmpPlaylistPath, {disguised, shorter}));
    control.PlayFile(state.tmpPlaylistPath);
    ASSERT_NE(link.waitForWindow(10000), 0);
    ASSERT_TRUE(tickUntil([&] { return storedTime("short.wav") != 0; }));
    EXPECT_EQ(storedTime("short.wav"), 2);
    EXPECT_EQ(state.lastSong, "short.wav");
    EXPECT_EQ(view.display, "/00:02  (2/2)  ''short.wav ''");
}

TEST_F(PlayerMpv, AReplayResumesTheSongAndSecondInAPlayerItHadToStart) {
    services.profile.write(dir.file("tarl.ini"), "Player", "Mp3folder", folder);
    services.profile.write(dir.file("tarl.ini"), "Player", "Mp3_index", "2");
    services.profile.write(dir.file("tarl.ini"), "Player", "Mp3_song", "3.WAV");
    services.profile.write(dir.file("tarl.ini"), "Player", "Mp3_position", "2");
    ASSERT_TRUE(RecordHistory(state));
    ASSERT_EQ(link.findWindow(), 0); // no player running yet

    ReplaySteps steps;
    steps.selectFolderNode = [&](const QString& f) { return f == folder; };
    steps.playList = [&] {
        ASSERT_TRUE(WriteTemporaryPlaylist(state.tmpPlaylistPath, tracks));
        control.PlayFile(state.tmpPlaylistPath);
    };
    steps.resume = [&](qint32 entry, qint64 seconds) {
        ResumeTemporaryPlaylist(state, true, {entry, seconds});
    };
    ASSERT_TRUE(ReplayHistoryEntry(state, 1, steps));
    ASSERT_NE(link.startedProcessId(), 0);
    const PlayerWindow w = link.findWindow();
    ASSERT_NE(w, 0);
    EXPECT_EQ(link.entry(w), 2);
    // The seek is carried out a moment after mpv took it.
    QElapsedTimer clock;
    clock.start();
    qint64 at = 0;
    while ((at = link.positionMs(w)) < 1900 && clock.elapsed() < 3000)
        QThread::msleep(20);
    EXPECT_GE(at, 1900);
}

} // namespace
