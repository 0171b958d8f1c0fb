// The window's everyday playing: keys, the play order's toggles, the queue view, the tray's menu
// and a player that is gone, over the player double.
#include "MainFixture.h"
#include "support/WindowParts.h"

#include "player/PlayQueue.h"
#include "player/PlayerCommands.h"
#include "scan/TemporaryPlaylist.h"
#include "shell/TrayIcon.h"
#include "support/PrivateBus.h"

#include <QAction>
#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDockWidget>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

using namespace tarl;

namespace {

class EverydayPlaying : public tarl::test::MainFixture {
protected:
    MainWindow& started() {
        const QString program = home.file("bin/mpv");
        home.write("bin/mpv", "#!/bin/sh\n");
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        writeIni("[Database]\nPath=" + newCatalog().toUtf8() +
                 "\n[Player]\nPath=" + program.toUtf8() + "\n");
        MainWindow& w = start();
        w.startUp();
        test::Part<QTimer>(w, "playerTimer")->stop(); // the test drives the player by hand
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
            tracks << home.write(QStringLiteral("music/") + name, "x");
        EXPECT_TRUE(WriteTemporaryPlaylist(state->tmpPlaylistPath, tracks));
        services.player.list = tracks;
        services.player.running = true;
        services.player.sent.clear();
        services.player.launches.clear(); // the start-up's own
        w.show();
        QApplication::setActiveWindow(&w);
        return w;
    }
    QStringList verbs() const {
        QStringList out;
        for (const auto& call : services.player.sent)
            if (call.verb != "entry" && call.verb != "positionMs" && call.verb != "lengthSeconds")
                out << call.verb;
        return out;
    }
    QStringList tracks;
};

TEST_F(EverydayPlaying, TheKeysReachThePlayer) {
    MainWindow& w = started();
    const struct {
        QKeyCombination key;
        QStringList verbs;
    } cases[] = {
        {Qt::Key_Space, {"pause"}}, // playing: paused
        {Qt::CTRL | Qt::Key_Right, {"next"}},
        {Qt::CTRL | Qt::Key_Left, {"previous"}},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_Right, {"seekTo"}},
        {Qt::Key_MediaNext, {"next"}},
        {Qt::Key_MediaStop, {"stop"}},
    };
    for (const auto& c : cases) {
        services.player.sent.clear();
        QTest::keyClick(&w, c.key.key(), c.key.keyboardModifiers());
        EXPECT_EQ(verbs(), c.verbs) << QKeySequence(c.key).toString().toStdString();
    }
    // No two of the window's keys are the same: Qt would run neither.
    QStringList taken;
    for (const QShortcut* key : w.findChildren<QShortcut*>())
        if (key->parent() == &w)
            taken << key->key().toString();
    for (const QAction* top : w.menuBar()->actions())
        for (const QAction* action : top->menu() ? top->menu()->actions() : QList<QAction*>{})
            if (!action->shortcut().isEmpty())
                taken << action->shortcut().toString();
    for (const QString& key : taken)
        EXPECT_EQ(taken.count(key), 1) << key.toStdString();

    // Ten seconds on from where it is, and never before the start.
    services.player.replies["positionMs"] = 5000;
    services.player.sent.clear();
    QTest::keyClick(&w, Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_FALSE(services.player.sent.empty());
    EXPECT_EQ(services.player.sent.back().value, 0);

    // Help > Keyboard lists them.
    for (QAction* action : w.findChildren<QAction*>())
        if (action->text() == "&Keyboard")
            action->trigger();
    ASSERT_FALSE(services.ui.transcript.empty());
    EXPECT_TRUE(services.ui.transcript.back().text.contains("Back 10 seconds"));
}

TEST_F(EverydayPlaying, TheOrderTogglesDriveThePlayerAndAreKept) {
    MainWindow& w = started();
    auto* shuffle = test::Part<QToolButton>(w, "shuffleButton");
    auto* repeat = test::Part<QToolButton>(w, "repeatButton");
    shuffle->click();
    EXPECT_TRUE(verbs().contains("shuffleEntries"));
    // The player's new order is the list's: line n is entry n again.
    EXPECT_EQ(ReadTemporaryPlaylist(state->tmpPlaylistPath), services.player.list);
    EXPECT_EQ(setting("Player", "Shuffle"), "true");
    const QString repeats[] = {"list", "song", "off"};
    for (const QString& expected : repeats) {
        repeat->click();
        EXPECT_EQ(setting("Player", "Repeat"), expected);
        EXPECT_EQ(repeat->isChecked(), expected != "off");
    }
    // A new window reads them back.
    MainWindow& again = start();
    services.player.sent.clear();
    again.startUp();
    EXPECT_TRUE(test::Part<QToolButton>(again, "shuffleButton")->isChecked());
    // The queue the start-up resumed is as it was left: not shuffled again.
    again.playerTimerTick();
    EXPECT_FALSE(verbs().contains("shuffleEntries"));
}

TEST_F(EverydayPlaying, TheQueueViewShowsAndEditsThePlayersList) {
    MainWindow& w = started();
    services.player.replies["entry"] = 0;
    w.findChild<QDockWidget*>("queueDock")->show();
    auto* list = w.findChild<QListWidget*>("queueList");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(1)->text(), "2. b.mp3");
    EXPECT_FALSE(list->visualItemRect(list->item(2)).isEmpty()) << "the view shows the rows";
    list->setFocus();
    list->setCurrentRow(2);
    QTest::keyClick(list, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(list->item(1)->text(), "2. c.mp3");
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(ReadTemporaryPlaylist(state->tmpPlaylistPath), services.player.list);
    EXPECT_EQ(services.player.list, (QStringList{tracks[0], tracks[1]}));
}

TEST_F(EverydayPlaying, APlayerThatIsGoneIsStartedAgainByPlay) {
    MainWindow& w = started();
    services.player.running = false;
    services.player.launchStarts = true;
    QTest::keyClick(&w, Qt::Key_Space);
    ASSERT_EQ(services.player.launches.size(), 1);
    EXPECT_EQ(services.player.launches[0].value(1), state->tmpPlaylistPath);
    EXPECT_TRUE(w.statusPanel(2).startsWith("The player was not running: started it again at"));
}

TEST_F(EverydayPlaying, TheTrayMenuPlaysAndNamesTheSong) {
    MainWindow& w = started();
    QMenu* menu = test::Part<TrayIcon>(w, "trayIcon")->menu();
    QStringList captions;
    for (QAction* action : menu->actions())
        captions << (action->isSeparator() ? "-" : action->text());
    EXPECT_EQ(captions,
              (QStringList{"Play/Pause", "Next", "Previous", "-", "", "-", "Show/Hide", "Quit"}));
    w.hooks().setTrayTip("b.mp3");
    EXPECT_EQ(menu->actions()[4]->text(), "b.mp3");
    EXPECT_FALSE(menu->actions()[4]->isEnabled());
    menu->actions()[1]->trigger();
    EXPECT_EQ(verbs(), QStringList{"next"});
}

} // namespace

namespace {

// The desktop's media keys reach the player through the session bus (a bus of the test's own).
TEST_F(EverydayPlaying, TheDesktopsPlayerControlsReachThePlayerAndSeeTheSong) {
    test::PrivateBus bus;
    if (!bus.problem.isEmpty())
        GTEST_SKIP() << bus.problem.toStdString();
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address().toUtf8());
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "this process looked the session bus up before";
    MainWindow& w = started();
    services.player.replies["entry"] = 1; // the player moved to b.mp3
    w.playerTimerTick();
    const QDBusConnection client = bus.connect();
    const auto player = [&](const QString& method, const QVariantList& arguments = {}) {
        QDBusMessage call =
            QDBusMessage::createMethodCall("org.mpris.MediaPlayer2.tarl", "/org/mpris/MediaPlayer2",
                                           "org.mpris.MediaPlayer2.Player", method);
        call.setArguments(arguments);
        return test::Ask(client, call);
    };
    services.player.sent.clear();
    EXPECT_EQ(player("PlayPause").type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(verbs(), QStringList{"pause"});
    services.player.sent.clear();
    player("Next");
    EXPECT_EQ(verbs(), QStringList{"next"});

    QDBusMessage get =
        QDBusMessage::createMethodCall("org.mpris.MediaPlayer2.tarl", "/org/mpris/MediaPlayer2",
                                       "org.freedesktop.DBus.Properties", "Get");
    get.setArguments({"org.mpris.MediaPlayer2.Player", "Metadata"});
    const QDBusMessage answer = test::Ask(client, get);
    ASSERT_EQ(answer.type(), QDBusMessage::ReplyMessage) << answer.errorMessage().toStdString();
    const QVariantMap metadata = qdbus_cast<QVariantMap>(
        answer.arguments().value(0).value<QDBusVariant>().variant().value<QDBusArgument>());
    EXPECT_EQ(metadata.value("xesam:title").toString(), "b");
    EXPECT_EQ(metadata.value("xesam:url").toString(),
              QUrl::fromLocalFile(home.path() + "/music/b.mp3").toString());
}

} // namespace
