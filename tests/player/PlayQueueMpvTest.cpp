// The queue, the play order and a player brought back, over a real mpv (silent): whatever is
// edited, entry n of the player stays line n of the temporary playlist, and the song playing
// plays on.
#include "MpvFixture.h"
#include "platform/MpvPlayerLink.h"
#include "player/PlayQueue.h"
#include "player/PlayerCommands.h"
#include "player/PlayerControl.h"
#include "player/Resume.h"
#include "scan/TemporaryPlaylist.h"
#include "support/Eventually.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "support/TestServices.h"
#include "support/WavFile.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <csignal>
#include <gtest/gtest.h>

using namespace tarl;
using tarl::test::Eventually;

namespace {

class PlayerMpvQueue : public test::MpvFixture {
protected:
    void SetUp() override {
        MpvFixture::SetUp();
        if (IsSkipped())
            return;
        for (const char* name : {"a", "b", "c", "x", "y", "z"}) {
            const QString path = dir.path() + "/music/" + name + ".wav";
            ASSERT_TRUE(test::WriteWav(path, 60));
            track[name] = path;
        }
        queue.startPlayer = [this](const QString& list) { return control.StartPlayer(mpv, list); };
    }
    // Plays a, b, c from a and waits until a plays.
    void playABC() {
        ASSERT_TRUE(
            WriteTemporaryPlaylist(state.tmpPlaylistPath, {track["a"], track["b"], track["c"]}));
        ASSERT_TRUE(control.StartPlayer(mpv, state.tmpPlaylistPath));
        state.playerPid = link.waitForWindow(10000);
        ASSERT_NE(state.playerPid, 0);
        ASSERT_TRUE(
            Eventually([&] { return link.state(link.findWindow()) == PlayerState::Playing; }));
    }
    // The player's list and the temporary playlist, as track names.
    QStringList names(const QStringList& paths) const {
        QStringList out;
        for (const QString& p : paths)
            out << QFileInfo(p).baseName();
        return out;
    }
    QStringList playerNames() {
        return names(link.entries(link.findWindow()).value_or(QStringList{}));
    }
    QStringList fileNames() const { return names(ReadTemporaryPlaylist(state.tmpPlaylistPath)); }
    QString playing() {
        const QStringList list = playerNames();
        const qint64 at = link.entry(link.findWindow());
        return at >= 0 && at < list.size() ? list[at] : QString();
    }

    std::map<std::string, QString> track;
    PlayQueue queue{state};
    PlayerCommands commands{state, control, queue};
};

TEST_F(PlayerMpvQueue, EveryEditKeepsThePlayerAndTheListInStepAndTheSongPlaying) {
    playABC();
    const qint64 filesBefore = link.startedProcessId();
    struct Edit {
        const char* name;
        std::function<bool()> run;
        QStringList order;
    };
    const std::vector<Edit> edits = {
        {"play next goes after the song playing",
         [&] {
             return bool(queue.playNext({track["x"], track["y"]}));
         },
         {"a", "x", "y", "b", "c"}},
        {"add to queue goes to the end",
         [&] { return bool(queue.addToQueue({track["z"]})); },
         {"a", "x", "y", "b", "c", "z"}},
        {"remove takes one entry out",
         [&] { return bool(queue.remove(3)); },
         {"a", "x", "y", "c", "z"}},
        {"move down", [&] { return bool(queue.move(1, 3)); }, {"a", "y", "c", "x", "z"}},
        {"move up", [&] { return bool(queue.move(4, 1)); }, {"a", "z", "y", "c", "x"}},
        {"the song playing is moved, not restarted",
         [&] { return bool(queue.move(0, 2)); },
         {"z", "y", "a", "c", "x"}},
        {"the song playing is never removed",
         [&] { return !queue.remove(2); },
         {"z", "y", "a", "c", "x"}},
    };
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.name);
        EXPECT_TRUE(edit.run());
        EXPECT_EQ(fileNames(), edit.order);
        EXPECT_EQ(playerNames(), edit.order);
        EXPECT_EQ(playing(), "a");
        state.lastListIndex = 0;
    }
    EXPECT_EQ(link.startedProcessId(), filesBefore);
    EXPECT_TRUE(Eventually([&] { return link.positionMs(link.findWindow()) > 0; }));
}

TEST_F(PlayerMpvQueue, QueuedTracksStartAPlayerWhenNoneRuns) {
    const Result<PlayQueue::Queued> queued = queue.addToQueue({track["x"], track["y"]});
    ASSERT_TRUE(queued);
    EXPECT_TRUE(queued.value.startedPlayer);
    ASSERT_NE(link.waitForWindow(10000), 0);
    EXPECT_EQ(playerNames(), (QStringList{"x", "y"}));
    EXPECT_EQ(fileNames(), (QStringList{"x", "y"}));
}

TEST_F(PlayerMpvQueue, ShuffleKeepsTheSongPlayingFirstAndUnshuffleTheOrder) {
    const QStringList order{"a", "b", "c", "x", "y", "z"};
    QStringList paths;
    for (const QString& name : order)
        paths << track[name.toStdString()];
    ASSERT_TRUE(WriteTemporaryPlaylist(state.tmpPlaylistPath, paths));
    ASSERT_TRUE(control.StartPlayer(mpv, state.tmpPlaylistPath));
    ResumeTemporaryPlaylist(state, true, {2, std::nullopt});
    ASSERT_TRUE(Eventually([&] { return playing() == "c"; }));

    commands.setShuffle(true);
    EXPECT_EQ(playing(), "c");
    EXPECT_EQ(playerNames().value(0), "c");
    EXPECT_EQ(fileNames(), playerNames());
    QStringList sorted = playerNames();
    sorted.sort();
    EXPECT_EQ(sorted, order);

    commands.setShuffle(false);
    EXPECT_EQ(playerNames(), order);
    EXPECT_EQ(fileNames(), order);
    EXPECT_EQ(playing(), "c");
    EXPECT_EQ(state.settings.read(keys::Shuffle), "false");

    // Repeat is the player's own loop options, kept in the settings.
    commands.setRepeat(Repeat::Song);
    EXPECT_EQ(link.property("loop-file").value_or(QJsonValue()).toString(), "inf");
    commands.setRepeat(Repeat::List);
    EXPECT_EQ(link.property("loop-file").value_or(QJsonValue()).toVariant().toString(), "false");
    EXPECT_EQ(link.property("loop-playlist").value_or(QJsonValue()).toString(), "inf");
    EXPECT_EQ(state.settings.read(keys::RepeatMode), "list");
}

TEST_F(PlayerMpvQueue, APlayerThatIsGoneComesBackAtItsSongAndSecond) {
    playABC();
    link.next(link.findWindow());
    ASSERT_TRUE(Eventually(
        [&] { return playing() == "b" && link.state(link.findWindow()) == PlayerState::Playing; }));
    link.seekTo(link.findWindow(), 20000);
    ASSERT_TRUE(Eventually([&] { return link.positionMs(link.findWindow()) >= 20000; }));
    // The window's tick: what the tracker saw.
    state.playerPid = link.findWindow();
    state.lastIndex = qint32(link.entry(state.playerPid));
    commands.followPlayer();
    QString said;
    commands.report = [&](const QString& sentence) { said = sentence; };

    const qint64 firstPid = link.startedProcessId();
    ::kill(pid_t(firstPid), SIGKILL);
    ASSERT_TRUE(Eventually([&] { return link.findWindow() == 0; }));
    commands.play();
    EXPECT_NE(link.startedProcessId(), firstPid);
    ASSERT_TRUE(Eventually([&] { return playing() == "b"; }));
    ASSERT_TRUE(Eventually([&] { return link.positionMs(link.findWindow()) >= 19000; }));
    EXPECT_EQ(said, "The player was not running: started it again at b.wav.");

    // Next on a gone player: the song after the one it played, from its start.
    ::kill(pid_t(link.startedProcessId()), SIGKILL);
    ASSERT_TRUE(Eventually([&] { return link.findWindow() == 0; }));
    commands.next();
    ASSERT_TRUE(Eventually([&] { return playing() == "c"; }));
    EXPECT_LT(link.positionMs(link.findWindow()), 15000);
}

} // namespace
