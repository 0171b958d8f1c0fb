#include "catalog/engine/CatalogFile.h"
#include "catalog/engine/Recordset.h"
#include "history/HistoryFile.h"
#include "platform/LocalFiles.h"
#include "player/NowPlaying.h"
#include "player/PlayTarget.h"
#include "player/PlayerControl.h"
#include "player/PlayerPanel.h"
#include "player/Resume.h"
#include "scan/TemporaryPlaylist.h"
#include "support/QtPrinters.h"
#include "support/ScopedPath.h"
#include "support/TempDir.h"
#include "support/TestServices.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace tarl;
using tarl::test::FakePlayerLink;
using tarl::test::ScopedPath;
using tarl::test::TempDir;
using tarl::test::TestServices;
using M = FakePlayerLink::Call;

namespace {

// Records what the panel and the tick do to the window.
struct RecordingView : PanelView, NowPlayingView {
    void moveKnob(int element, double left) override { knobs[element] = left; }
    void setStatusPanel(int panel, const QString& text) override { status[panel] = text; }
    void setElapsed(const QString& caption) override { elapsed << caption; }
    void setDisplay(const QString& caption) override { display = caption; }
    void setDisplayTip(const QString& tip) override { tip_ = tip; }
    void reloadTrackList(int row) override { reloads.push_back(row); }
    void selectPlayingSong(bool ensureVisible) override { marks.push_back(ensureVisible); }
    void setTrayTip(const QString& tip) override { tray = tip; }

    std::map<int, double> knobs;
    std::map<int, QString> status;
    QStringList elapsed;
    QString display, tip_, tray;
    std::vector<int> reloads;
    std::vector<bool> marks;
};

class PlayerLogic : public ::testing::Test {
protected:
    void SetUp() override {
        state.programFolder = dir.path() + u'/';
        state.settings.setPath(dir.file("tarl.ini"));
        state.tmpPlaylistPath = TemporaryPlaylistPath(state.programFolder);
        state.lastSongLoaded = true;
        player().running = true;
    }
    FakePlayerLink& player() { return services.player; }
    void openCatalog() {
        const QString db = dir.file("tarl.mdb");
        ASSERT_TRUE(CreateCatalog(db));
        ASSERT_TRUE(state.catalog.connection.open(db));
    }

    TempDir dir;
    ScopedPath programSearch{dir.file("bin")}; // no mpv to be found unless a test puts one there
    TestServices services;
    AppState state{services.services()};
    RecordingView view;
};

TEST(KnobMath, PositionVolumeAndSeek) {
    EXPECT_EQ(PositionKnobLeft(100, 200), 3440);
    EXPECT_EQ(PositionKnobLeft(0, 200), 2640);
    EXPECT_EQ(PositionKnobLeft(50, 0), 2640);    // no length known
    EXPECT_EQ(PositionKnobLeft(300, 200), 4240); // past the end (the player's rounding)
    EXPECT_EQ(PositionKnobLeft(-3, 200), 2640);
    EXPECT_EQ(SeekMsForKnob(3440, 200), 100000);
    EXPECT_EQ(SeekMsForKnob(4240, 245), 245000);
    EXPECT_EQ(SeekMsForKnob(4240, 10'000'000), 2147483647); // held within 32 bits
    EXPECT_EQ(VolumeForKnob(3005), 128);                    // 127.5 rounds to the even 128
    EXPECT_EQ(VolumeForKnob(2690), 0);
    EXPECT_EQ(VolumeForKnob(3320), 255);
    EXPECT_EQ(VolumeKnobLeft(255), 3320);
    EXPECT_EQ(VolumeKnobLeft(0), 2690);
    EXPECT_EQ(VolumeForKnob(VolumeKnobLeft(50)), 50);
}

TEST_F(PlayerLogic, ButtonsActOnPressAndKnobsDragWithinTheirTracks) {
    PlayerPanel panel(state, view);
    for (int i = 0; i < 5; ++i)
        panel.buttonPressed(i);
    panel.buttonPressed(7);
    const PlayerWindow w = player().window;
    const std::vector<M> buttons{
        {w, "play"}, {w, "pause"}, {w, "previous"}, {w, "stop"}, {w, "next"}};
    EXPECT_EQ(player().sent, buttons);
    player().sent.clear();

    // Position knob: a move of 10 or less stays, more follows the pointer, the ends hold.
    panel.buttonDragged(5, 600); // not pressed: nothing
    EXPECT_EQ(panel.positionKnob(), 2640);
    panel.buttonPressed(5);
    EXPECT_TRUE(panel.positionDragging());
    panel.buttonDragged(5, 70);
    EXPECT_EQ(panel.positionKnob(), 2640);
    panel.buttonDragged(5, 860);
    EXPECT_EQ(panel.positionKnob(), 3440);
    panel.buttonDragged(5, 55);
    EXPECT_EQ(panel.positionKnob(), 3440);
    panel.buttonDragged(5, 5000);
    EXPECT_EQ(panel.positionKnob(), 4240);
    panel.buttonDragged(5, -1600 - 60 + 60 - 5000);
    EXPECT_EQ(panel.positionKnob(), 2640);
    panel.buttonDragged(5, 860);
    EXPECT_EQ(view.knobs[5], 3440);

    // Release during a 200-second track seeks to the middle.
    player().replies["lengthSeconds"] = 200;
    player().sent.clear();
    panel.buttonReleased(5);
    EXPECT_FALSE(panel.positionDragging());
    ASSERT_EQ(player().sent.size(), 2u);
    EXPECT_EQ(player().sent[1], (M{w, "seekTo", 100000}));
    EXPECT_EQ(panel.positionKnob(), 3440);

    // Volume knob: sets the volume while moving, saves it on release only.
    panel.buttonPressed(6);
    player().sent.clear();
    panel.buttonDragged(6, 60 + 315);
    EXPECT_EQ(state.playerVolume, 128);
    EXPECT_EQ(view.status[1], "Volum: 128");
    EXPECT_EQ(player().sent.back(), (M{w, "setVolume", 128}));
    EXPECT_EQ(state.settings.read(keys::Volume), "50");
    panel.buttonDragged(6, 2000);
    EXPECT_EQ(state.playerVolume, 255);
    panel.buttonReleased(6);
    EXPECT_EQ(state.settings.read(keys::Volume), "255");
    EXPECT_FALSE(panel.volumeDragging());
}

TEST_F(PlayerLogic, WithoutAPlayerTheKnobsAndButtonsSendToWindowZero) {
    player().running = false;
    PlayerPanel panel(state, view);
    panel.buttonPressed(0);
    panel.buttonPressed(5);
    panel.buttonDragged(5, 860);
    panel.buttonReleased(5);
    for (const M& m : player().sent)
        EXPECT_EQ(m.window, 0);
    EXPECT_EQ(panel.positionKnob(), 3440); // no length: the knob stays where it was dropped
}

TEST_F(PlayerLogic, PlayingAFileNeedsAPlayerProgramAndRecordsTheHistoryFirst) {
    PlayerControl control(state);
    int menus = 0;
    control.buildHistoryMenu = [&] { ++menus; };

    state.playerPath = dir.file("MPV"); // not there
    QStringList warnings;
    control.warn = [&](const QString& text) { warnings << text; };
    control.PlayFile("/music/list.m3u");
    EXPECT_EQ(warnings,
              QStringList("S'ha de definir el path del Winamp (Properties>Options>Player)"));
    EXPECT_TRUE(services.ui.transcript.empty()); // the window shows it
    EXPECT_TRUE(player().launches.isEmpty());
    EXPECT_EQ(menus, 0);

    // A program named in the settings is read again; it must be an executable file.
    const QString program = dir.file("bin/my player");
    dir.write("bin/my player", "#!/bin/sh\n");
    state.settings.write(keys::PlayerPath, program);
    control.PlayFile("/music/list.m3u");
    EXPECT_EQ(warnings.size(), 2); // not executable yet
    QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner | QFile::WriteOwner);
    player().launchStarts = true;
    state.lastListIndex = 4;
    state.settings.write(keys::Mp3Folder, "/music/before/"); // what played before
    control.PlayFile("/music/list.m3u");
    EXPECT_EQ(warnings.size(), 2);
    EXPECT_EQ(player().launches, (QList<QStringList>{{program, "/music/list.m3u"}}));
    EXPECT_EQ(state.playerPath, program);
    EXPECT_EQ(state.lastListIndex, -1);
    EXPECT_EQ(menus, 1);
    EXPECT_TRUE(QFile::exists(HistoryFilePath(state.programFolder)));

    // A start that fails leaves the entry as it was.
    player().launchStarts = false;
    state.lastListIndex = 3;
    control.PlayFile("/music/x.mp3");
    EXPECT_EQ(state.lastListIndex, 3);
}

TEST(PlayTarget, TracksToPlayFollowThePlaylistRules) {
    TempDir dir;
    const QString music = dir.file("music/");
    // A list written on Windows: folders from its own, "\" as separator, comments.
    dir.write("music/list.m3u", "#EXTM3U\r\nsub\\a.mp3\r\n/abs/b.mp3\r\n\\top.mp3\r\n");
    dir.write("music/comments.m3u", "#EXTM3U\r\n\r\n");
    for (const char* name : {"Album/1.mp3", "Album/2.WAV", "Album/cover.jpg", "Album/sub/3.mp3"})
        dir.write(QString("music/") + name, {});
    const struct {
        QString target;
        QStringList tracks; // none: nothing to play, with a reason naming the target
    } cases[] = {
        {music + "list.m3u", {music + "sub/a.mp3", "/abs/b.mp3", music + "top.mp3"}},
        {music + "Album/", {music + "Album/1.mp3", music + "Album/2.WAV"}},
        {music + "Album/.", {music + "Album/1.mp3", music + "Album/2.WAV"}},
        {"/x/one.mp3", {"/x/one.mp3"}},
        {music + "comments.m3u", {}},
        {music + "missing.m3u", {}},
        {music + "none/", {}},
    };
    LocalFiles files;
    for (const auto& c : cases) {
        const Result<QStringList> tracks = TracksToPlay(files, c.target);
        EXPECT_EQ(tracks.ok, !c.tracks.isEmpty()) << c.target.toStdString();
        EXPECT_EQ(tracks.value, c.tracks);
        EXPECT_EQ(tracks.error.contains(c.target), c.tracks.isEmpty())
            << tracks.error.toStdString();
    }
}

TEST_F(PlayerLogic, AResumeSendsEntryPlayAndSecondWaitingOnlyForAJustLaunchedPlayer) {
    const struct {
        const char* name;
        bool launched;
        ResumePoint at;
        std::vector<M> sent; // the window: 4242 the player's, 7 the one known before
    } cases[] = {
        {"launched, with a second",
         true,
         {1, 61},
         {{4242, "selectEntry", 1}, {4242, "play"}, {4242, "seekTo", 61000}}},
        {"already known, no second",
         false,
         {2, std::nullopt},
         {{7, "selectEntry", 2}, {7, "play"}}},
    };
    for (const auto& c : cases) {
        player().sent.clear();
        player().running = true;
        state.playerPid = 7;
        ResumeTemporaryPlaylist(state, c.launched, c.at);
        EXPECT_EQ(player().sent, c.sent) << c.name;
        EXPECT_EQ(state.playerPid, c.launched ? 4242 : 7) << c.name;
    }
}

TEST_F(PlayerLogic, PlayingATreeKeyHandsThePlayerItsTracksThroughTheTemporaryPlaylist) {
    openCatalog();
    const QString cd = dir.file("cd/");
    ASSERT_TRUE(
        state.catalog.connection.execute("INSERT INTO CD (name, labelCd, label, isCd) VALUES ('" +
                                         cd + "', 'Music_01', 'Rock One', 1)"));
    services.drives.addDrive(cd, DriveType::CdRom, "Other_Disc");
    dir.write("music/list.m3u", "sub\\a.mp3\r\n");
    dir.write("music/sub/a.mp3", "x");
    state.playerPath = dir.write("bin/mpv", "#!/bin/sh\n");
    QFile::setPermissions(state.playerPath, QFile::ReadOwner | QFile::ExeOwner);
    player().launchStarts = true;
    PlayerControl control(state);
    QStringList reasons;
    control.reportError = [&](const QString& reason) { reasons << reason; };
    const QStringList launch{state.playerPath, state.tmpPlaylistPath};

    control.PlayKey(dir.file("music/list.m3u"));
    EXPECT_EQ(player().launches, QList<QStringList>{launch});
    EXPECT_EQ(ReadTemporaryPlaylist(state.tmpPlaylistPath),
              QStringList{dir.file("music/sub/a.mp3")});

    // Nothing to play, or a list that cannot be written: the reason, and the list stays. Each
    // play that goes well takes the last reason away ("").
    control.PlayKey(dir.file("music/gone.m3u"));
    const QString tmp = state.tmpPlaylistPath;
    state.tmpPlaylistPath = dir.file("no folder/m3uTmp.m3u");
    control.PlayKey(dir.file("music/list.m3u"));
    state.tmpPlaylistPath = tmp;
    ASSERT_EQ(reasons.size(), 3);
    EXPECT_TRUE(reasons[0].contains(dir.file("music/gone.m3u"))) << reasons[0].toStdString();
    EXPECT_EQ(reasons[1], "");
    EXPECT_TRUE(reasons[2].contains(dir.file("no folder/m3uTmp.m3u"))) << reasons[2].toStdString();
    EXPECT_EQ(player().launches.size(), 1);
    EXPECT_EQ(ReadTemporaryPlaylist(tmp), QStringList{dir.file("music/sub/a.mp3")});
    control.PlayKey(dir.file("music/list.m3u"));
    EXPECT_EQ(reasons.size(), 4);
    EXPECT_EQ(reasons.last(), "");

    // The wrong disc: OK asks again, Cancel plays nothing; the history was written first.
    QFile::remove(HistoryFilePath(state.programFolder));
    state.settings.write(keys::Mp3Folder, dir.file("music/")); // what played before
    services.ui.answers = {MsgAnswer::Ok, MsgAnswer::Cancel};
    control.PlayKey("Rock One:>" + cd + "Album/");
    EXPECT_EQ(services.ui.titles(), QStringList({"INSERT MP3 CDROM", "INSERT MP3 CDROM"}));
    EXPECT_EQ(player().launches.size(), 2);
    EXPECT_TRUE(QFile::exists(HistoryFilePath(state.programFolder)));
}

// A player whose length and position a test sets as the track plays on.
class TimedPlayer : public FakePlayerLink {
public:
    qint64 length = 0;
    qint64 position = 0;

protected:
    qint64 ask(PlayerWindow w, const QString& verb) override {
        const qint64 answer = FakePlayerLink::ask(w, verb);
        if (w == 0 || !running)
            return answer;
        if (verb == "lengthSeconds")
            return length;
        if (verb == "positionMs")
            return position;
        return answer;
    }
};

class NowPlayingTest : public PlayerLogic {
protected:
    void SetUp() override {
        PlayerLogic::SetUp();
        timed.running = true;
        openCatalog();
        QStringList paths;
        for (int i = 1; i <= 12; ++i)
            paths << QString("/music/Album/%1 song.mp3").arg(i, 2, 10, QChar('0'));
        ASSERT_TRUE(WriteTemporaryPlaylist(state.tmpPlaylistPath, paths));
        ASSERT_TRUE(state.catalog.connection.execute(
            "INSERT INTO Mp3 (path,file,m3u_id) VALUES ('/music/Album/','03 song.mp3',1)"));
        ASSERT_TRUE(state.catalog.connection.execute(
            "INSERT INTO Mp3 (path,file,m3u_id) VALUES ('/music/Album/','04 song.mp3',1)"));
    }
    qint64 storedTime(const QString& file) {
        Recordset rows;
        EXPECT_TRUE(state.catalog.connection.execute(
            "SELECT time FROM Mp3 WHERE file='" + file + "'", rows));
        return rows.field(0).toLongLong();
    }
    TimedPlayer timed;
    Services timedServices{services.profile, services.ui,    timed,
                           services.clock,   services.files, services.drives,
                           services.launcher};
    AppState timedState{timedServices};
};

TEST_F(NowPlayingTest, ElapsedTimeKnobDisplayAndLearnedLength) {
    AppState& s = timedState;
    s.programFolder = state.programFolder;
    s.settings.setPath(dir.file("tarl.ini"));
    s.tmpPlaylistPath = state.tmpPlaylistPath;
    s.lastSongLoaded = true;
    ASSERT_TRUE(s.catalog.connection.open(dir.file("tarl.mdb")));
    PlayerPanel panel(s, view);
    NowPlaying now(s, panel, view);
    timed.replies["entry"] = 2;
    timed.length = 245;
    timed.position = 2500;

    now.Tick();
    EXPECT_EQ(view.elapsed, QStringList{"00:02."}); // halves go to the even second
    EXPECT_EQ(view.display, "/04:05  (3/12)  ''03 song.mp3 ''");
    EXPECT_EQ(view.tip_, "File: 03 song.mp3");
    EXPECT_EQ(view.tray, "03 song.mp3");
    EXPECT_EQ(s.lastFolder, "/music/Album/");
    EXPECT_EQ(s.lastSong, "03 song.mp3");
    EXPECT_EQ(s.lastIndex, 2);
    EXPECT_EQ(s.lastListIndex, 2);
    EXPECT_EQ(storedTime("03 song.mp3"), 245);
    EXPECT_EQ(view.reloads, std::vector<int>{2});
    EXPECT_EQ(view.marks, std::vector<bool>{true});
    EXPECT_EQ(s.settings.read(keys::Mp3Song), "03 song.mp3"); // the play state was saved
    EXPECT_NEAR(panel.positionKnob(), 2640 + 2.0 * 1600 / 245, 1e-9);

    // The same entry: only the time moves; the label is rewritten only when the second changes.
    timed.position = 2400;
    now.Tick();
    timed.position = 3500;
    now.Tick();
    EXPECT_EQ(view.elapsed, (QStringList{"00:02.", "00:04."}));
    EXPECT_EQ(view.reloads.size(), 1u);
    EXPECT_EQ(view.marks.size(), 1u);

    // A dragged knob is left alone.
    panel.buttonPressed(5);
    const double dragged = panel.positionKnob();
    timed.position = 120000;
    now.Tick();
    EXPECT_EQ(panel.positionKnob(), dragged);

    // Back on the entry whose length is known: nothing is written, the list is not reloaded.
    s.lastListIndex = -1;
    now.Tick();
    EXPECT_EQ(view.reloads.size(), 1u);
    EXPECT_EQ(view.marks.size(), 2u);
}

TEST_F(NowPlayingTest, ALengthNotKnownYetIsLearnedOnALaterTick) {
    AppState& s = timedState;
    s.settings.setPath(dir.file("tarl.ini"));
    s.tmpPlaylistPath = state.tmpPlaylistPath;
    ASSERT_TRUE(s.catalog.connection.open(dir.file("tarl.mdb")));
    PlayerPanel panel(s, view);
    NowPlaying now(s, panel, view);
    timed.replies["entry"] = 3;
    timed.length = 0; // the player is still opening the file
    now.Tick();
    EXPECT_EQ(view.display, "/00:00  (4/12)  ''04 song.mp3 ''");
    EXPECT_EQ(storedTime("04 song.mp3"), 0); // 0 is never stored
    now.Tick();
    EXPECT_TRUE(view.reloads.empty());
    timed.length = 61;
    now.Tick();
    EXPECT_EQ(storedTime("04 song.mp3"), 61);
    EXPECT_EQ(view.display, "/01:01  (4/12)  ''04 song.mp3 ''");
    EXPECT_EQ(view.reloads, std::vector<int>{3});
    now.Tick();
    EXPECT_EQ(view.reloads.size(), 1u);
}

// A player just started is not there at the first tick, which shows entry 0 with no length;
// once it answers on that same entry, the length is learned.
TEST_F(NowPlayingTest, TheFirstEntryOfAPlayerJustStartedLearnsItsLength) {
    AppState& s = timedState;
    s.settings.setPath(dir.file("tarl.ini"));
    s.tmpPlaylistPath = state.tmpPlaylistPath;
    ASSERT_TRUE(s.catalog.connection.open(dir.file("tarl.mdb")));
    ASSERT_TRUE(s.catalog.connection.execute(
        "INSERT INTO Mp3 (path,file,m3u_id) VALUES ('/music/Album/','01 song.mp3',1)"));
    PlayerPanel panel(s, view);
    NowPlaying now(s, panel, view);
    timed.running = false;
    now.Tick();
    EXPECT_EQ(view.display, "/00:00  (1/12)  ''01 song.mp3 ''");
    timed.running = true;
    timed.length = 20;
    now.Tick();
    EXPECT_EQ(storedTime("01 song.mp3"), 20);
    EXPECT_EQ(view.display, "/00:20  (1/12)  ''01 song.mp3 ''");
}

TEST_F(NowPlayingTest, ARefusedLengthIsToldOnceAndTheTrackingGoesOn) {
    AppState& s = timedState;
    s.settings.setPath(dir.file("tarl.ini"));
    s.tmpPlaylistPath = state.tmpPlaylistPath;
    s.lastSongLoaded = true;
    ASSERT_TRUE(s.catalog.connection.open(dir.file("tarl.mdb")));
    ASSERT_TRUE(s.catalog.connection.execute("PRAGMA query_only = ON")); // refuses every write
    PlayerPanel panel(s, view);
    NowPlaying now(s, panel, view);
    timed.replies["entry"] = 2;
    timed.length = 245;
    now.Tick();
    EXPECT_EQ(s.lastListIndex, 2);
    EXPECT_EQ(view.display, "/04:05  (3/12)  ''03 song.mp3 ''");
    EXPECT_EQ(view.tip_, "File: 03 song.mp3");
    EXPECT_EQ(view.marks, std::vector<bool>{true});
    EXPECT_EQ(s.settings.read(keys::Mp3Song), "03 song.mp3");
    EXPECT_TRUE(view.status[2].startsWith("Track lengths cannot be saved in the catalog: "))
        << view.status[2].toStdString();
    EXPECT_TRUE(view.reloads.empty());

    // No more writes into that catalog, and no more reports, even once it would take one.
    view.status.clear();
    ASSERT_TRUE(s.catalog.connection.execute("PRAGMA query_only = OFF"));
    timed.replies["entry"] = 3;
    timed.length = 61;
    now.Tick();
    EXPECT_EQ(view.display, "/01:01  (4/12)  ''04 song.mp3 ''");
    EXPECT_TRUE(view.status.empty());
    EXPECT_EQ(storedTime("04 song.mp3"), 0);

    // Another catalog: lengths are learned again.
    s.catalog.connection.close();
    ASSERT_TRUE(QFile::copy(dir.file("tarl.mdb"), dir.file("other.mdb")));
    ASSERT_TRUE(s.catalog.connection.open(dir.file("other.mdb")));
    timed.replies["entry"] = 2;
    now.Tick();
    EXPECT_EQ(view.reloads, std::vector<int>{2});
}

TEST_F(NowPlayingTest, ALengthThatFindsTheCatalogBusyIsKeptAndStoredOnceItIsFree) {
    AppState& s = timedState;
    s.settings.setPath(dir.file("tarl.ini"));
    s.tmpPlaylistPath = state.tmpPlaylistPath;
    ASSERT_TRUE(s.catalog.connection.open(dir.file("tarl.mdb")));
    // Another program's write: an import holding the catalog.
    Connection importer;
    ASSERT_TRUE(importer.open(dir.file("tarl.mdb")));
    ASSERT_TRUE(importer.execute("BEGIN IMMEDIATE"));
    ASSERT_TRUE(importer.execute("INSERT INTO Nick (nick) VALUES ('Rock')"));
    PlayerPanel panel(s, view);
    NowPlaying now(s, panel, view);
    timed.replies["entry"] = 2;
    timed.length = 245;
    now.Tick();
    EXPECT_EQ(view.display, "/04:05  (3/12)  ''03 song.mp3 ''");
    EXPECT_TRUE(view.status[2].startsWith("The catalog is busy")) << view.status[2].toStdString();
    timed.replies["entry"] = 3;
    timed.length = 61;
    now.Tick();
    EXPECT_TRUE(view.reloads.empty());

    ASSERT_TRUE(importer.execute("COMMIT"));
    for (int tick = 0; tick < 3; ++tick)
        now.Tick();
    EXPECT_EQ(storedTime("03 song.mp3"), 245);
    EXPECT_EQ(storedTime("04 song.mp3"), 61);
    EXPECT_EQ(view.reloads, std::vector<int>{3});
    EXPECT_EQ(view.status[2], "");
}

TEST_F(NowPlayingTest, ACatalogThatCannotBeReadLeavesTheTrackingGoingOn) {
    AppState& s = timedState;
    s.settings.setPath(dir.file("tarl.ini"));
    s.tmpPlaylistPath = state.tmpPlaylistPath;
    PlayerPanel panel(s, view); // the catalog is not open: every statement fails
    NowPlaying now(s, panel, view);
    timed.replies["entry"] = 2;
    timed.length = 245;
    now.Tick();
    EXPECT_EQ(s.lastListIndex, 2);
    EXPECT_EQ(view.display, "/04:05  (3/12)  ''03 song.mp3 ''");
    EXPECT_EQ(view.tip_, "File: 03 song.mp3");
    EXPECT_TRUE(view.reloads.empty());
}

TEST_F(PlayerLogic, WithoutAPlayerTheTickShowsEntryZeroAndParksTheKnob) {
    player().running = false;
    openCatalog();
    ASSERT_TRUE(WriteTemporaryPlaylist(state.tmpPlaylistPath, {"/m/a.mp3", "/m/b.mp3"}));
    PlayerPanel panel(state, view);
    panel.setPositionKnob(3000);
    NowPlaying now(state, panel, view);
    now.Tick();
    EXPECT_EQ(panel.positionKnob(), 2640);
    EXPECT_EQ(view.display, "/00:00  (1/2)  ''a.mp3 ''");
    EXPECT_TRUE(view.elapsed.isEmpty()); // 00:00. is already shown
    EXPECT_TRUE(view.reloads.empty());
    // A missing playlist: an empty name, nothing written.
    QFile::remove(state.tmpPlaylistPath);
    state.lastListIndex = -1;
    now.Tick();
    EXPECT_EQ(view.display, "/00:00  (1/0)  '' ''");
}

} // namespace
