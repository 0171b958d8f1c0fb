#include "MainFixture.h"
#include "support/WindowParts.h"

#include "browser/TrackListModel.h"
#include "browserui/LibraryBrowser.h"
#include "browserui/TrackListView.h"
#include "history/Favorites.h"
#include "history/HistoryFile.h"
#include "player/NowPlaying.h"
#include "player/PlayerControl.h"
#include "player/PlayerPanel.h"
#include "scan/TemporaryPlaylist.h"
#include "shell/Twips.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFont>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

using namespace tarl;
using M = tarl::test::FakePlayerLink::Call;

namespace {

class PlayerWiring : public tarl::test::MainFixture {
protected:
    // A started window over a catalog with one folder of three tracks, and a player program.
    MainWindow& started(const QByteArray& moreIni = {}) {
        const QString file = newCatalog();
        program = home.file("bin/mpv");
        home.write("bin/mpv", "#!/bin/sh\n");
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        writeIni("[Database]\nPath=" + file.toUtf8() + "\n[Player]\nPath=" + program.toUtf8() +
                 "\n" + moreIni);
        services.drives.addDrive(home.path(), DriveType::Fixed);
        MainWindow& w = start();
        w.startUp();
        music = home.path() + "/music/";
        run("INSERT INTO CD (name, m3us, label, isCd) VALUES ('" + music + "', 1, 'EOF', '0')");
        run("INSERT INTO M3u (path, file, cd_id) VALUES ('" + music + "', 'rock/', 1)");
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) {
            home.write(QStringLiteral("music/rock/") + name, "x");
            run("INSERT INTO Mp3 (path, file, m3u_id) VALUES ('" + music + "rock/', '" + name +
                "', 1)");
        }
        EXPECT_TRUE(test::Part<LibraryBrowser>(w, "browser")->showTreeByPaths());
        services.player.launches.clear(); // the start-up's own
        return w;
    }
    void run(const QString& statement) {
        EXPECT_TRUE(state->catalog.connection.execute(statement))
            << state->catalog.connection.lastError().toStdString();
    }
    static void mouse(QWidget* target, QEvent::Type type, int x, Qt::MouseButton button) {
        const QPointF at(x, 2);
        QMouseEvent event(type, at, target->mapToGlobal(at), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton
                                                             : Qt::MouseButtons(button),
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }

    QString program;
    QString music;
};

TEST_F(PlayerWiring, PanelButtonsActOnLeftPressAndTheVolumeKnobSavesOnRelease) {
    MainWindow& w = started("Volum=255\n");
    EXPECT_EQ(test::Part<QLabel>(w, "panelButton6")->x(),
              ToPixels(3320)); // the saved volume places the knob
    EXPECT_TRUE(test::Part<QTimer>(w, "playerTimer")->isActive());
    EXPECT_EQ(test::Part<QTimer>(w, "playerTimer")->interval(), 300);
    test::Part<QTimer>(w, "playerTimer")->stop(); // the test drives the player by hand

    services.player.running = true;
    services.player.sent.clear();
    mouse(test::Part<QLabel>(w, "panelButton1"), QEvent::MouseButtonPress, 3, Qt::RightButton);
    EXPECT_TRUE(services.player.sent.empty());
    mouse(test::Part<QLabel>(w, "panelButton1"), QEvent::MouseButtonPress, 3, Qt::LeftButton);
    const std::vector<M> pause{{4242, "pause"}};
    EXPECT_EQ(services.player.sent, pause);

    // Drag the volume knob to its left end: the status bar and the player follow at once.
    mouse(test::Part<QLabel>(w, "panelButton6"), QEvent::MouseButtonPress, 4, Qt::LeftButton);
    mouse(test::Part<QLabel>(w, "panelButton6"), QEvent::MouseMove, -100, Qt::LeftButton);
    EXPECT_EQ(w.statusPanel(1), "Volum: 0");
    EXPECT_EQ(test::Part<QLabel>(w, "panelButton6")->x(), ToPixels(2690));
    EXPECT_EQ(services.player.sent.back(), (M{4242, "setVolume", 0}));
    EXPECT_EQ(setting("Player", "Volum"), "255");
    mouse(test::Part<QLabel>(w, "panelButton6"), QEvent::MouseButtonRelease, -100, Qt::LeftButton);
    EXPECT_EQ(setting("Player", "Volum"), "0");
}

TEST_F(PlayerWiring, ThePlayingSongIsRedAndBoldAndTheOthersTellThePlaylist) {
    MainWindow& w = started();
    test::Part<QTimer>(w, "playerTimer")->stop();
    ASSERT_TRUE(WriteTemporaryPlaylist(state->tmpPlaylistPath,
                                       {music + "rock/a.mp3", music + "rock/b.mp3"}));
    state->lastFolder = music + "rock/";
    state->lastSong = "b.mp3";
    test::Part<QPushButton>(w, "showPlayingButton")->click();
    ASSERT_NE(test::Part<LibraryBrowser>(w, "browser")->selectedNode(), nullptr);
    EXPECT_EQ(test::Part<LibraryBrowser>(w, "browser")->selectedNode()->key, music + "rock/");
    const TrackListModel* model = test::Part<LibraryBrowser>(w, "browser")->trackModel();
    ASSERT_EQ(model->rowCount(), 3);
    auto colour = [&](int row, int column) {
        return model->data(model->index(row, column), Qt::ForegroundRole).value<QColor>();
    };
    auto bold = [&](int row) {
        return model->data(model->index(row, 0), Qt::FontRole).value<QFont>().bold();
    };
    EXPECT_EQ(colour(0, 0), QColor(0, 0, 0));
    EXPECT_EQ(colour(1, 0), QColor(255, 0, 0));
    EXPECT_EQ(colour(1, 5), QColor(255, 0, 0)); // every column of the row
    EXPECT_EQ(colour(2, 0), QColor(0, 128, 0)); // not in the player's list
    EXPECT_FALSE(bold(0));
    EXPECT_TRUE(bold(1));
    EXPECT_EQ(test::Part<TrackListView>(w, "trackList")->selectedRows(), std::vector<int>{1});

    // F5 while the player plays: the list is filled again, with its marks.
    services.player.running = true;
    state->playerPid = services.player.findWindow();
    w.refreshFromCatalog();
    EXPECT_EQ(colour(1, 0), QColor(255, 0, 0));
    EXPECT_EQ(colour(2, 0), QColor(0, 128, 0));
}

TEST_F(PlayerWiring, EnterAndThePlayingMarkTellTracksOfTheSameNameApart) {
    MainWindow& w = started();
    test::Part<QTimer>(w, "playerTimer")->stop();
    // A second album holding the same names; its "a.mp3" plays.
    run("INSERT INTO M3u (path, file, cd_id) VALUES ('" + music + "', 'pop/', 1)");
    for (const char* name : {"a.mp3", "b.mp3"})
        run("INSERT INTO Mp3 (path, file, m3u_id) VALUES ('" + music + "pop/', '" + name + "', 2)");
    ASSERT_TRUE(WriteTemporaryPlaylist(
        state->tmpPlaylistPath, {music + "rock/a.mp3", music + "pop/a.mp3", music + "pop/b.mp3"}));
    state->lastFolder = music + "pop/";
    state->lastSong = "a.mp3";
    ASSERT_TRUE(test::Part<LibraryBrowser>(w, "browser")->selectFolderNode(music + "rock/"));
    test::Part<LibraryBrowser>(w, "browser")->selectPlayingSong(false);
    const TrackListModel* model = test::Part<LibraryBrowser>(w, "browser")->trackModel();
    const QColor black(0, 0, 0), green(0, 128, 0);
    const QColor marks[] = {black, green, green}; // rock's b.mp3 is not in the player's list
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(model->data(model->index(row, 0), Qt::ForegroundRole).value<QColor>(), marks[row])
            << row;
        EXPECT_FALSE(model->data(model->index(row, 0), Qt::FontRole).value<QFont>().bold());
    }

    // Enter on rock's "a.mp3" jumps to its own line, the first.
    services.player.running = true;
    state->playerPid = services.player.findWindow();
    services.player.sent.clear();
    test::Part<TrackListView>(w, "trackList")->selectRows({0}, 0);
    test::Part<LibraryBrowser>(w, "browser")->trackListKeyDown(Qt::Key_Return);
    ASSERT_FALSE(services.player.sent.empty());
    EXPECT_EQ(services.player.sent[0], (M{4242, "selectEntry", 0}));
}

TEST_F(PlayerWiring, ADoubleClickWhoseListCannotBeWrittenStopsWithTheReason) {
    MainWindow& w = started();
    test::Part<QTimer>(w, "playerTimer")->stop();
    ASSERT_TRUE(test::Part<LibraryBrowser>(w, "browser")->selectFolderNode(music + "rock/"));
    services.player.launchStarts = true;
    state->tmpPlaylistPath = home.file("gone/m3uTmp.m3u");
    test::Part<LibraryBrowser>(w, "browser")->treeDoubleClicked();
    EXPECT_TRUE(services.player.launches.isEmpty());
    EXPECT_TRUE(w.statusPanel(1).contains(state->tmpPlaylistPath))
        << w.statusPanel(1).toStdString();
    // Once a play goes well, the reason is no longer shown.
    state->tmpPlaylistPath = home.file("m3uTmp.m3u");
    test::Part<LibraryBrowser>(w, "browser")->treeDoubleClicked();
    EXPECT_EQ(services.player.launches.size(), 1);
    EXPECT_EQ(w.statusPanel(1), "");
}

TEST_F(PlayerWiring, ADoubleClickSaysWhatWasLeftOutAndPlaysTheRest) {
    MainWindow& w = started();
    test::Part<QTimer>(w, "playerTimer")->stop();
    run("INSERT INTO Mp3 (path, file, m3u_id) VALUES ('http://127.0.0.1:9/', 'd.mp3', 1)");
    run("INSERT INTO Mp3 (path, file, m3u_id) VALUES ('" + music + "rock/', 'gone.mp3', 1)");
    ASSERT_TRUE(test::Part<LibraryBrowser>(w, "browser")->selectFolderNode(music + "rock/"));
    services.player.launchStarts = true;
    test::Part<LibraryBrowser>(w, "browser")->treeDoubleClicked();
    EXPECT_EQ(services.player.launches.size(), 1);
    // The missing file keeps its line, so the entries stay in step with the list.
    EXPECT_EQ(ReadTemporaryPlaylist(state->tmpPlaylistPath).size(), 4);
    EXPECT_EQ(w.statusPanel(1), music + "rock/gone.mp3 is missing: the player skips it. "
                                        "http://127.0.0.1:9/d.mp3 was left out of the play: it "
                                        "is not a track on this computer.");
}

TEST_F(PlayerWiring, WithoutAPlayerPathTheMpvOnThePathIsTakenAndKept) {
    const QString mpv = home.write("bin/mpv", "#!/bin/sh\n");
    QFile::setPermissions(mpv, QFile::ReadOwner | QFile::ExeOwner);
    const QByteArray catalog = newCatalog().toUtf8();
    const struct {
        QByteArray player;
        bool mpvOnPath;
    } cases[] = {{"", true}, {"[Player]\nPath=\n", true}, {"", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.player.toStdString() + (c.mpvOnPath ? "mpv on PATH" : "no mpv"));
        writeIni("[Database]\nPath=" + catalog + "\n" + c.player);
        const test::ScopedPath programs(home.file(c.mpvOnPath ? "bin" : "none"));
        services.ui.transcript.clear();
        services.player.launches.clear();
        start().startUp(); // the start-up resumes the player
        window->playerControl().PlayFile(state->tmpPlaylistPath);
        const QStringList played{mpv, state->tmpPlaylistPath};
        EXPECT_EQ(setting("Player", "Path"), c.mpvOnPath ? mpv : QString());
        EXPECT_EQ(services.player.launches.count(played), c.mpvOnPath ? 2 : 0);
        // "The player path must be defined".
        ASSERT_EQ(services.ui.transcript.size(), c.mpvOnPath ? 0u : 1u);
        if (c.mpvOnPath)
            continue;
        EXPECT_EQ(services.ui.transcript[0].text,
                  "S'ha de definir el path del Winamp (Properties>Options>Player)");
        EXPECT_EQ(services.ui.transcript[0].title, "Tarl Beta Version 2.7.2");
        EXPECT_EQ(services.ui.transcript[0].icon, MsgIcon::Exclamation);
    }
}

TEST_F(PlayerWiring, EnterPlaysTheFolderAndTheTickFollowsThePlayer) {
    MainWindow& w = started();
    test::Part<QTimer>(w, "playerTimer")->stop();
    ASSERT_TRUE(test::Part<LibraryBrowser>(w, "browser")->selectFolderNode(music + "rock/"));
    services.player.launchStarts = true;
    test::Part<LibraryBrowser>(w, "browser")->treeKeyDown(Qt::Key_Return);
    ASSERT_EQ(services.player.launches.size(), 1);
    EXPECT_EQ(services.player.launches[0], QStringList({program, state->tmpPlaylistPath}));
    EXPECT_EQ(ReadTemporaryPlaylist(state->tmpPlaylistPath).size(), 3);

    services.player.replies["entry"] = 2;
    services.player.replies["lengthSeconds"] = 200;
    services.player.replies["positionMs"] = 200;
    w.playerTimerTick();
    EXPECT_EQ(test::Part<QLabel>(w, "nowPlayingDisplay")->text(), "/03:20  (3/3)  ''c.mp3 ''");
    EXPECT_EQ(test::Part<QLabel>(w, "nowPlayingDisplay")->toolTip(), "File: c.mp3");
    EXPECT_EQ(test::Part<LibraryBrowser>(w, "browser")->trackModel()->row(2).columns[ColTime],
              "03:20"); // learned and shown
    EXPECT_EQ(setting("Player", "Mp3_song"), "c.mp3");
}

TEST_F(PlayerWiring, HistoryMenuFillsReplaysAndClears) {
    MainWindow& w = started();
    test::Part<QTimer>(w, "playerTimer")->stop();
    for (int i = 0; i < 10; ++i)
        EXPECT_FALSE(test::Part<QAction>(w, "historyAction" + QString::number(i))->isVisible());
    EXPECT_FALSE(test::Part<QAction>(w, "clearHistoryAction")->isEnabled());
    EXPECT_FALSE(test::Part<QAction>(w, "historyTopAction")->isEnabled());

    // What the tracking saved while the folder's second song played, recorded by a new play.
    services.profile.write(home.file("tarl.ini"), "Player", "Mp3folder", music + "rock/");
    services.profile.write(home.file("tarl.ini"), "Player", "Mp3_index", "1");
    services.profile.write(home.file("tarl.ini"), "Player", "Mp3_song", "B.MP3");
    services.profile.write(home.file("tarl.ini"), "Player", "Mp3_position", "42");
    w.playerControl().RecordHistory();
    EXPECT_TRUE(test::Part<QAction>(w, "historyAction0")->isVisible());
    EXPECT_EQ(test::Part<QAction>(w, "historyAction0")->text(), "1)  rock   >>>>>   B.MP3");
    EXPECT_FALSE(test::Part<QAction>(w, "historyAction1")->isVisible());
    EXPECT_TRUE(test::Part<QAction>(w, "clearHistoryAction")->isEnabled());

    // The replay plays the folder and resumes the song (case aside) at its second.
    services.player.launchStarts = true;
    services.player.sent.clear();
    test::Part<QAction>(w, "historyAction0")->trigger();
    ASSERT_EQ(services.player.launches.size(), 1);
    const std::vector<M> resume{{4242, "selectEntry", 1}, {4242, "play"}, {4242, "seekTo", 42000}};
    EXPECT_EQ(services.player.sent, resume);

    test::Part<QAction>(w, "clearHistoryAction")->trigger();
    EXPECT_FALSE(QFile::exists(HistoryFilePath(state->programFolder)));
    EXPECT_FALSE(test::Part<QAction>(w, "historyAction0")->isVisible());
    EXPECT_FALSE(test::Part<QAction>(w, "clearHistoryAction")->isEnabled());
}

TEST_F(PlayerWiring, AHistoryFolderGoneAndAFavouriteNameAreShownInBoxes) {
    MainWindow& w = started();
    test::Part<QTimer>(w, "playerTimer")->stop();
    home.write("history/TARLhistory.tlh", "d|t|/m/gone/|0|a.mp3|1\r\n");
    w.buildHistoryMenu();
    test::Part<QAction>(w, "historyAction0")->trigger();
    ASSERT_EQ(services.ui.transcript.size(), 1u);
    const auto& box = services.ui.transcript[0];
    EXPECT_EQ(box.text, "I can't find this history playlist");
    EXPECT_EQ(box.title, "Not Found");
    EXPECT_EQ(box.icon, MsgIcon::Exclamation);
    EXPECT_EQ(box.buttons, MsgButtons::Ok);
    EXPECT_TRUE(services.player.launches.isEmpty());

    // "Add to favorites" asks for the name with the proposal, keeps the song under it and shows
    // the name kept; a cancelled name keeps nothing and shows nothing.
    services.ui.transcript.clear();
    state->lastFolder = "/music/Album Name/";
    state->lastIndex = 4;
    state->lastSong = "track05.mp3";
    services.ui.inputs = {QString("Mine"), std::nullopt};
    test::Part<QAction>(w, "addFavoriteAction")->trigger();
    test::Part<QAction>(w, "addFavoriteAction")->trigger(); // cancelled
    const auto& boxes = services.ui.transcript;
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].kind, "input");
    EXPECT_EQ(boxes[0].text, "Favorite Name");
    EXPECT_EQ(boxes[0].title, "Add to Favorites");
    EXPECT_EQ(boxes[0].extra, "Album Name/ (4) track05.mp3");
    EXPECT_EQ(boxes[1].text, "Mine");
    EXPECT_EQ(boxes[1].title, "Tarl Beta Version 2.7.2");
    EXPECT_EQ(boxes[1].buttons, MsgButtons::Ok);
    EXPECT_EQ(boxes[2].kind, "input");
    const QList<Favorite> kept = ReadFavorites(state->programFolder).value;
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(kept[0].song, "track05.mp3");
}

TEST_F(PlayerWiring, ClosingTheWindowClosesThePlayerStartedSinceTheLastTick) {
    MainWindow& w = started();
    test::Part<QTimer>(w, "playerTimer")->stop();
    services.player.running = true; // started outside, never seen by a tick
    w.close();
    ASSERT_FALSE(services.player.sent.empty());
    EXPECT_EQ(services.player.sent.back(), (M{4242, "askToClose"}));
}

} // namespace
