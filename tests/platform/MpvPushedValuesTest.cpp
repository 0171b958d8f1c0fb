#include "platform/MpvPlayerLink.h"

#include "support/Eventually.h"
#include "support/HandWrittenPlayer.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

// The link against a player written by hand on the socket (the values it pushes, at the moments
// the test chooses), and the player command line.
namespace tarl {
namespace {

using test::Eventually;

TEST(PlatformMpvPlayerPushedValues, OneTickAnswersOneMomentAndAnEntryNeverTakesTheLengthBefore) {
    test::TempDir dir;
    test::HandWrittenPlayer player(dir.file(QStringLiteral("p.sock")));
    ASSERT_TRUE(player.listening());
    // A long tick, so the test sees the tick's answers whatever the machine's load.
    MpvPlayerLink link({.socketPath = dir.file(QStringLiteral("p.sock")),
                        .extraArguments = {},
                        .timeoutMs = 50,
                        .sameTickMs = 60 * 1000});
    // Nothing reported yet: the link waits its time-out once, and the player is this process.
    const PlayerWindow window = link.findWindow();
    EXPECT_EQ(window, qint64(::getpid()));
    ASSERT_TRUE(player.accept());
    // Ids as the link observes them: duration, time-pos, playlist-pos, playlist-playing-pos,
    // playlist-count, idle-active.
    player.push(1, "20.4");
    player.push(2, "5.25");
    player.push(3, "0");
    player.push(4, "0");
    player.push(5, "3");
    player.push(6, "false");
    const auto length = [&] { return link.lengthSeconds(window); };
    const auto position = [&] { return link.positionMs(window); };
    const auto entry = [&] { return link.entry(window); };
    ASSERT_EQ(link.findWindow(), window);
    EXPECT_EQ(length(), 20);
    EXPECT_EQ(position(), 5250);
    EXPECT_EQ(entry(), 0);

    // The file ends and the next starts, pushed while a tick asks: the tick's answers stay
    // those findWindow() read.
    player.event("end-file");
    player.event("start-file");
    player.push(3, "1");
    EXPECT_EQ(length(), 20);
    EXPECT_EQ(entry(), 0);
    // The next tick: the new entry, and no length until the new file is loaded, even when its
    // playing entry is reported before its length.
    ASSERT_EQ(link.findWindow(), window);
    EXPECT_EQ(entry(), 1);
    EXPECT_EQ(length(), 0);
    player.push(4, "1");
    ASSERT_EQ(link.findWindow(), window);
    EXPECT_EQ(length(), 0);
    EXPECT_EQ(position(), 0);
    player.event("file-loaded");
    ASSERT_EQ(link.findWindow(), window);
    EXPECT_EQ(length(), 0); // loaded, its length not pushed yet
    player.push(1, "3");
    player.push(2, "0.5");
    ASSERT_EQ(link.findWindow(), window);
    EXPECT_EQ(length(), 3);
    EXPECT_EQ(position(), 500);

    // The end of the list: idle, nothing loaded, the last entry remembered.
    player.event("end-file");
    player.push(1, "");
    player.push(2, "");
    player.push(3, "-1");
    player.push(4, "-1");
    player.push(6, "true");
    ASSERT_EQ(link.findWindow(), window);
    EXPECT_EQ(entry(), 1);
    EXPECT_EQ(length(), 0);
    EXPECT_EQ(position(), 0);

    // A line cut in two counts once complete.
    player.write(R"({"event":"property-change","id":3,"da)");
    ASSERT_EQ(link.findWindow(), window);
    player.write("ta\":2}\n");
    EXPECT_EQ(entry(), 1);
    ASSERT_EQ(link.findWindow(), window);
    EXPECT_EQ(entry(), 2);
}

// The link connected to a hand-written player, with every property reported once: a length of
// 20 s, a position of 1 s, entry `entry` of `count`, not idle. Each question reads what arrived.
class PlatformMpvPlayerPushedValuesConnected : public ::testing::Test {
protected:
    void connect(const char* entry, const char* count) {
        ASSERT_TRUE(player.listening());
        window = link.findWindow();
        ASSERT_NE(window, 0);
        ASSERT_TRUE(player.accept());
        for (const auto& [id, data] :
             {std::pair{1, "20"}, {2, "1"}, {3, entry}, {4, entry}, {5, count}})
            player.push(id, data);
        player.push(6, "false");
    }

    test::TempDir dir;
    test::HandWrittenPlayer player{dir.file(QStringLiteral("p.sock"))};
    MpvPlayerLink link{{.socketPath = dir.file(QStringLiteral("p.sock")),
                        .extraArguments = {},
                        .timeoutMs = 50,
                        .sameTickMs = 0}};
    PlayerWindow window = 0;
};

TEST_F(PlatformMpvPlayerPushedValuesConnected, QuestionsAfterTheTickReadWhatArrived) {
    connect("0", "1");
    // Without findWindow() (the play state saved every 5 seconds): the question reads.
    EXPECT_TRUE(Eventually([&] { return link.positionMs(window) == 1000; }));
    player.push(2, "2");
    EXPECT_TRUE(Eventually([&] { return link.positionMs(window) == 2000; }));
}

// A player that loads the new list's first file before it answers the hand-over (a short local
// file): the length it pushed stands, and the next questions answer it.
TEST_F(PlatformMpvPlayerPushedValuesConnected,
       AFileLoadedBeforeTheHandOverIsAnsweredKeepsItsLength) {
    const QString list = dir.write("list.m3u", "/music/a.wav\n");
    connect("1", "2");
    ASSERT_TRUE(Eventually([&] { return link.lengthSeconds(window) == 20; }));

    std::thread answering([this] {
        for (QByteArray line = player.readLine(); !line.isEmpty(); line = player.readLine()) {
            if (!line.contains("loadlist"))
                continue;
            const QByteArray id = line.mid(line.indexOf("request_id") + 12).split('}').first();
            player.event("end-file");
            player.event("start-file");
            player.push(3, "0");
            player.push(4, "0");
            player.event("file-loaded");
            player.push(1, "4");
            player.write(R"({"request_id":)" + id.trimmed() + R"(,"error":"success"})" + "\n");
            return;
        }
    });
    EXPECT_TRUE(link.launch("/usr/bin/mpv", list));
    answering.join();
    EXPECT_EQ(link.lengthSeconds(window), 4);
}

// The player is started from an argument list: a program path with blanks and quotes, and a
// target with them, arrive whole; a target that reads like an option stays a file.
// mpv pushes a value only when it changed: a file loaded with no length pushed since it started
// (one as long as the song before, the two changes run together) has its length asked again.
TEST(PlatformMpvPlayerPushedValues, AFileLoadedWithoutALengthHasItAskedAgain) {
    const auto event = [](const char* name) { return QJsonObject{{"event", name}}; };
    const QJsonObject length{{"event", "property-change"},
                             {"id", int(ObservedDuration)},
                             {"name", "duration"},
                             {"data", 90.07}};
    PlayerPushed pushed;
    pushed.apply(length);
    pushed.apply(event("end-file"));
    pushed.apply(event("start-file"));
    pushed.apply(event("file-loaded"));
    EXPECT_TRUE(pushed.lengthToAsk);
    PlayerPushed told;
    told.apply(event("start-file"));
    told.apply(length);
    told.apply(event("file-loaded"));
    EXPECT_FALSE(told.lengthToAsk);
}

TEST(PlatformMpvPlayerStart, TheProgramGetsItsArgumentsWhole) {
    test::TempDir dir;
    const QString said = dir.file(QStringLiteral("arguments"));
    const QString program =
        dir.write(QStringLiteral("my player/mpv \"x"),
                  "#!/bin/sh\nfor a; do printf '%s\\n' \"$a\"; done > '" + said.toUtf8() + "'\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const struct {
        QString target;
        QString last; // the last argument
    } cases[] = {
        {dir.file(QStringLiteral("a \"quoted\" name.mp3")),
         dir.file(QStringLiteral("a \"quoted\" name.mp3"))},
        {dir.file(QStringLiteral("MUSIC 01/list.m3u")),
         "--playlist=" + dir.file(QStringLiteral("MUSIC 01/list.m3u"))},
    };
    for (const auto& c : cases) {
        QFile::remove(said);
        MpvPlayerLink link({.socketPath = dir.file(QStringLiteral("p.sock")),
                            .extraArguments = {},
                            .timeoutMs = 50,
                            .sameTickMs = 50});
        ASSERT_TRUE(link.launch(program, c.target)) << c.target.toStdString();
        ASSERT_TRUE(Eventually([&] { return QFileInfo(said).size() > 0; }));
        link.waitForWindow(5000); // it has ended
        QFile file(said);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QStringList arguments =
            QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
        ASSERT_FALSE(arguments.isEmpty());
        EXPECT_EQ(arguments.last(), c.last);
        EXPECT_TRUE(arguments.contains("--input-ipc-server=" + dir.file(QStringLiteral("p.sock"))));
    }
}

} // namespace
} // namespace tarl
