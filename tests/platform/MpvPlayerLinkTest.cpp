#include "platform/MpvPlayerLink.h"

#include "support/Eventually.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "support/WavFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>
#include <cmath>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace tarl {
namespace {

using test::Eventually;

// The state letter of process `pid` in /proc (R, S, T, Z, ...); "" when it is gone.
QByteArray ProcessState(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = stat.readAll();
    return text.mid(text.lastIndexOf(')') + 2, 1);
}

bool Gone(qint64 pid) {
    const QByteArray state = ProcessState(pid);
    return state.isEmpty() || state == "Z" || state == "X";
}

// A real mpv, silent (--ao=null), on a socket inside the test's folder; every player a test
// started is killed when it ends.
class MpvPlayerLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        mpv_ = QStandardPaths::findExecutable(QStringLiteral("mpv"));
        if (mpv_.isEmpty())
            GTEST_SKIP() << "mpv is not installed";
    }

    void TearDown() override {
        for (const auto& link : links_) {
            if (const qint64 pid = link->startedProcessId()) {
                ::kill(pid_t(pid), SIGCONT);
                ::kill(pid_t(pid), SIGKILL);
            }
        }
    }

    // A link on a socket in the test folder; requests wait up to `timeoutMs`, generous so a
    // busy machine does not fail the tests that are not about the time-out.
    MpvPlayerLink& makeLink(int timeoutMs = 3000) {
        links_.push_back(std::make_unique<MpvPlayerLink>(
            MpvPlayerLink::Options{.socketPath = dir_.file(QStringLiteral("p.sock")),
                                   .extraArguments = {QStringLiteral("--ao=null")},
                                   .timeoutMs = timeoutMs}));
        return *links_.back();
    }

    // Plays `target` with the test's player.
    bool launch(MpvPlayerLink& link, const QString& target) const {
        return link.launch(mpv_, target);
    }

    // Three WAVs of 20, 3 and 25 seconds in a playlist written as the temporary playlist is:
    // UTF-8, CRLF, one entry as a file:// URL.
    QString writeList(const QString& name = QStringLiteral("list/m3uTmp.m3u")) {
        const QString a = dir_.file(QStringLiteral("music/a.wav"));
        const QString b = dir_.file(QStringLiteral("music/b é.wav"));
        const QString c = dir_.file(QStringLiteral("music/c.wav"));
        EXPECT_TRUE(test::WriteWav(a, 20));
        EXPECT_TRUE(test::WriteWav(b, 3, 440));
        EXPECT_TRUE(test::WriteWav(c, 25));
        const QString lines =
            a + "\r\n" + QUrl::fromLocalFile(b).toString(QUrl::FullyEncoded) + "\r\n" + c + "\r\n";
        return dir_.write(name, lines.toUtf8());
    }

    // Launches the player with `target` and waits for it.
    PlayerWindow start(MpvPlayerLink& link, const QString& target) {
        EXPECT_TRUE(launch(link, target));
        return link.waitForWindow(10000);
    }

    static qint64 entry(MpvPlayerLink& link) { return link.entry(link.findWindow()); }
    static qint64 position(MpvPlayerLink& link) { return link.positionMs(link.findWindow()); }
    static qint64 length(MpvPlayerLink& link) { return link.lengthSeconds(link.findWindow()); }
    static QString text(MpvPlayerLink& link, const QString& name) {
        return link.property(name).value_or(QJsonValue()).toVariant().toString();
    }
    static bool idle(MpvPlayerLink& link) {
        return link.property(QStringLiteral("idle-active")).value_or(QJsonValue()).toBool();
    }

    test::TempDir dir_;
    QString mpv_;
    std::vector<std::unique_ptr<MpvPlayerLink>> links_;
};

TEST_F(MpvPlayerLinkTest, StartsWithThePlaylistAndFollowsItsEntries) {
    MpvPlayerLink& link = makeLink();
    const QString list = writeList();
    const PlayerWindow window = start(link, list);
    ASSERT_NE(window, 0);
    EXPECT_EQ(window, link.startedProcessId());
    EXPECT_EQ(link.findWindow(), window);
    // Line n of the file is entry n, the file:// line included.
    EXPECT_EQ(text(link, QStringLiteral("playlist-count")), "3");
    EXPECT_EQ(text(link, QStringLiteral("playlist/1/filename")),
              dir_.file(QStringLiteral("music/b é.wav")));
    EXPECT_EQ(entry(link), 0);
    ASSERT_TRUE(Eventually([&] { return length(link) == 20; }));

    // From the entry change on, the length is the new entry's or 0 (while it loads), never the
    // length of the entry before.
    link.selectEntry(link.findWindow(), 1);
    EXPECT_EQ(entry(link), 1);
    std::vector<qint64> lengths;
    ASSERT_TRUE(Eventually([&] {
        lengths.push_back(length(link));
        return lengths.back() != 0;
    }));
    EXPECT_EQ(lengths.back(), 3);

    // Next and previous: the entry request follows at once, and no length of the entry left
    // is ever answered with the new entry.
    link.next(link.findWindow());
    EXPECT_EQ(entry(link), 2);
    ASSERT_TRUE(Eventually([&] {
        const qint64 l = length(link);
        EXPECT_EQ(entry(link), 2);
        EXPECT_TRUE(l == 0 || l == 25) << l;
        return l == 25;
    }));
    link.previous(link.findWindow());
    EXPECT_EQ(entry(link), 1);
    ASSERT_TRUE(Eventually([&] {
        const qint64 l = length(link);
        EXPECT_TRUE(l == 0 || l == 3) << l;
        return l == 3;
    }));

    // Questions to another window answer 0.
    EXPECT_EQ(link.entry(window + 1), 0);
    EXPECT_EQ(link.entry(0), 0);
}

TEST_F(MpvPlayerLinkTest, PositionSeekVolumeAndPause) {
    MpvPlayerLink& link = makeLink();
    ASSERT_NE(start(link, writeList()), 0);
    ASSERT_TRUE(Eventually([&] { return length(link) == 20; }));

    const qint64 first = position(link);
    EXPECT_TRUE(Eventually([&] { return position(link) >= first + 300; }));

    // mpv runs a seek a moment after it accepted it; playing on from 0 would take seconds to
    // pass the positions awaited here.
    link.seekTo(link.findWindow(), 12500);
    EXPECT_TRUE(Eventually([&] { return position(link) >= 12500; }, 2500));
    EXPECT_LT(position(link), 15000);

    // A seek right after an entry change, while the old file is still loaded or the new one
    // still opening, lands in the new one.
    link.selectEntry(link.findWindow(), 2);
    link.play(link.findWindow());
    link.seekTo(link.findWindow(), 7000);
    EXPECT_EQ(entry(link), 2);
    EXPECT_TRUE(Eventually([&] { return position(link) >= 7000; }, 2500));
    EXPECT_LT(position(link), 9500);

    for (const auto& [knob, volume] : {std::pair{255, 100.0}, {0, 0.0}, {128, 50.196}}) {
        link.setVolume(link.findWindow(), knob);
        EXPECT_NEAR(link.property(QStringLiteral("volume"))->toDouble(), volume, 0.01) << knob;
    }

    link.pause(link.findWindow());
    EXPECT_EQ(text(link, QStringLiteral("pause")), "true");
    // mpv pushes the position a few times a second: the one where it paused comes a moment
    // after the pause, then nothing moves.
    const auto actual = [&] {
        return std::llround(link.property(QStringLiteral("time-pos"))->toDouble() * 1000);
    };
    qint64 paused = -1;
    EXPECT_TRUE(Eventually([&] {
        QThread::msleep(100); // mpv itself moves on a few ms after it answered the pause
        paused = actual();
        return position(link) == paused;
    }));
    QThread::msleep(300);
    EXPECT_EQ(position(link), paused);
    EXPECT_EQ(actual(), paused);
    link.pause(link.findWindow());
    EXPECT_EQ(text(link, QStringLiteral("pause")), "false");
    link.pause(link.findWindow());
    link.play(link.findWindow());
    EXPECT_EQ(text(link, QStringLiteral("pause")), "false");
}

TEST_F(MpvPlayerLinkTest, StopKeepsTheListAndPlayStartsTheRememberedEntry) {
    MpvPlayerLink& link = makeLink();
    ASSERT_NE(start(link, writeList()), 0);
    link.selectEntry(link.findWindow(), 2);
    ASSERT_TRUE(Eventually([&] { return length(link) == 25; }));

    link.pause(link.findWindow());
    link.stop(link.findWindow());
    EXPECT_TRUE(Eventually([&] { return idle(link); }));
    EXPECT_EQ(text(link, QStringLiteral("playlist-count")), "3");
    EXPECT_EQ(entry(link), 2);
    EXPECT_EQ(length(link), 0);
    EXPECT_EQ(position(link), 0);

    // Play while stopped (and paused before) starts the entry that was playing.
    link.play(link.findWindow());
    EXPECT_EQ(entry(link), 2);
    EXPECT_TRUE(Eventually([&] { return length(link) == 25; }));
    EXPECT_EQ(text(link, QStringLiteral("pause")), "false");
    EXPECT_TRUE(Eventually([&] { return position(link) > 0; }));

    // An entry chosen while stopped is only selected; play starts it.
    link.stop(link.findWindow());
    link.selectEntry(link.findWindow(), 1);
    EXPECT_TRUE(Eventually([&] { return idle(link); }));
    QThread::msleep(100);
    EXPECT_TRUE(idle(link));
    EXPECT_EQ(entry(link), 1);
    link.selectEntry(link.findWindow(), 7); // past the end: ignored
    EXPECT_EQ(entry(link), 1);
    link.play(link.findWindow());
    EXPECT_EQ(entry(link), 1);
    EXPECT_TRUE(Eventually([&] { return length(link) == 3; }));
}

TEST_F(MpvPlayerLinkTest, ALaunchWhilePlayingGoesToTheRunningPlayer) {
    MpvPlayerLink& link = makeLink();
    const PlayerWindow window = start(link, writeList());
    ASSERT_NE(window, 0);
    link.pause(link.findWindow());

    // A second list of two entries, handed over by a link of its own (another start-up).
    const QString d = dir_.file(QStringLiteral("music/d.wav"));
    ASSERT_TRUE(test::WriteWav(d, 5));
    const QString second =
        dir_.write(QStringLiteral("second.m3u8"), (d + "\r\n" + d + "\r\n").toUtf8());
    MpvPlayerLink& other = makeLink();
    ASSERT_TRUE(launch(other, second));
    EXPECT_EQ(other.startedProcessId(), 0);
    EXPECT_EQ(other.waitForWindow(0), window);
    EXPECT_EQ(text(other, QStringLiteral("playlist-count")), "2");
    EXPECT_EQ(text(other, QStringLiteral("playlist/0/filename")), d);
    EXPECT_EQ(text(other, QStringLiteral("pause")), "false");
    EXPECT_TRUE(Eventually([&] { return length(other) == 5; }));

    // A single file whose name needs escaping: quotes, backslashes, a line break, a leading "-".
    const QString odd = dir_.file(QStringLiteral("music/-a \"b\\c\nd\".wav"));
    ASSERT_TRUE(test::WriteWav(odd, 4));
    ASSERT_TRUE(launch(link, odd));
    EXPECT_EQ(link.waitForWindow(0), window);
    EXPECT_EQ(text(link, QStringLiteral("playlist-count")), "1");
    EXPECT_EQ(text(link, QStringLiteral("playlist/0/filename")), odd);
    EXPECT_TRUE(Eventually([&] { return length(link) == 4; }));
}

TEST_F(MpvPlayerLinkTest, StartsWithASingleFileOrAnOddName) {
    const QString odd = dir_.file(QStringLiteral("-x \"y\\z.wav"));
    ASSERT_TRUE(test::WriteWav(odd, 4));
    MpvPlayerLink& link = makeLink();
    ASSERT_NE(start(link, odd), 0);
    EXPECT_EQ(text(link, QStringLiteral("playlist/0/filename")), odd);
    EXPECT_TRUE(Eventually([&] { return length(link) == 4; }));
}

TEST_F(MpvPlayerLinkTest, ClosingEndsThePlayer) {
    MpvPlayerLink& link = makeLink();
    const PlayerWindow window = start(link, writeList());
    ASSERT_NE(window, 0);
    link.askToClose(window);
    EXPECT_TRUE(Eventually([&] { return Gone(link.startedProcessId()); }));
    EXPECT_TRUE(Eventually([&] { return link.findWindow() == 0; }));
    EXPECT_EQ(link.entry(window), 0);
}

TEST_F(MpvPlayerLinkTest, ThePlayerStartedIsEndedAtTheEndWhetherOrNotItAnsweredYet) {
    for (const bool waited : {false, true}) {
        SCOPED_TRACE(waited ? "answering" : "just started");
        MpvPlayerLink& link = makeLink();
        ASSERT_TRUE(launch(link, writeList()));
        const qint64 pid = link.startedProcessId();
        ASSERT_NE(pid, 0);
        if (waited) {
            ASSERT_EQ(link.waitForWindow(10000), pid);
        }
        link.endStartedPlayer();
        EXPECT_TRUE(Eventually([&] { return Gone(pid); }));
        EXPECT_EQ(link.startedProcessId(), 0);
    }
}

TEST_F(MpvPlayerLinkTest, AStaleSocketFileIsReplaced) {
    // A socket file nobody listens on, as a killed player leaves it.
    const QByteArray path = QFile::encodeName(dir_.file(QStringLiteral("p.sock")));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
    ASSERT_TRUE(QFile::exists(QFile::decodeName(path)));

    MpvPlayerLink& link = makeLink();
    EXPECT_EQ(link.findWindow(), 0);
    const PlayerWindow window = start(link, writeList());
    EXPECT_NE(window, 0);
    EXPECT_EQ(window, link.startedProcessId());
}

TEST_F(MpvPlayerLinkTest, EntriesAreFollowedToTheEndOfTheList) {
    // Entries of 1, 2 and 1 seconds that end on their own: every answer pairs an entry with its
    // own length or 0, never with the length of the entry before.
    const qint64 seconds[] = {1, 2, 1};
    QString lines;
    for (int i = 0; i < 3; ++i) {
        const QString wav = dir_.file(QStringLiteral("short/%1.wav").arg(i));
        ASSERT_TRUE(test::WriteWav(wav, double(seconds[i])));
        lines += wav + "\r\n";
    }
    MpvPlayerLink& link = makeLink();
    const PlayerWindow window =
        start(link, dir_.write(QStringLiteral("short.m3u"), lines.toUtf8()));
    ASSERT_NE(window, 0);
    std::vector<qint64> entries;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 8000 && !idle(link)) {
        const PlayerWindow found = link.findWindow();
        const qint64 l = link.lengthSeconds(found);
        const qint64 e = link.entry(found);
        ASSERT_EQ(found, window);
        ASSERT_TRUE(e >= 0 && e < 3) << e;
        EXPECT_TRUE(l == 0 || l == seconds[e]) << "entry " << e << " length " << l;
        if (entries.empty() || entries.back() != e)
            entries.push_back(e);
        QThread::msleep(2);
    }
    EXPECT_EQ(entries, (std::vector<qint64>{0, 1, 2}));
    // At the end of the list the player stays, idle, and the last entry is remembered.
    EXPECT_EQ(link.findWindow(), window);
    EXPECT_EQ(entry(link), 2);
    EXPECT_EQ(length(link), 0);
    EXPECT_EQ(position(link), 0);
}

TEST_F(MpvPlayerLinkTest, AStoppedPlayerIsStillThePlayerAndAnswersWhatItPushedLast) {
    const int timeoutMs = 200;
    MpvPlayerLink& link = makeLink(timeoutMs);
    const PlayerWindow window = start(link, writeList());
    ASSERT_NE(window, 0);
    link.selectEntry(link.findWindow(), 2);
    ASSERT_EQ(entry(link), 2);
    ASSERT_TRUE(Eventually([&] { return length(link) == 25 && position(link) > 0; }));

    ASSERT_EQ(::kill(pid_t(window), SIGSTOP), 0);
    ASSERT_TRUE(Eventually([&] { return ProcessState(window) == "T"; }));
    QThread::msleep(50);
    const qint64 at = position(link);
    EXPECT_GT(at, 0);
    // Ticks as the window makes them: none waits for the player (a wait would take the whole
    // time-out), and each answers the values pushed last.
    QElapsedTimer timer;
    for (int tick = 0; tick < 5; ++tick) {
        timer.start();
        EXPECT_EQ(link.findWindow(), window);
        EXPECT_EQ(length(link), 25);
        EXPECT_EQ(position(link), at);
        EXPECT_EQ(position(link), at);
        EXPECT_EQ(entry(link), 2);
        EXPECT_LT(timer.elapsed(), timeoutMs);
    }
    // A command waits for its answer at most the time-out; the next one, while the first is
    // still unanswered, is dropped at once. The queries go on answering.
    timer.start();
    link.setVolume(link.findWindow(), 128);
    EXPECT_LT(timer.elapsed(), 1000);
    timer.start();
    link.setVolume(link.findWindow(), 255);
    EXPECT_LT(timer.elapsed(), timeoutMs);
    EXPECT_EQ(entry(link), 2);
    EXPECT_EQ(length(link), 25);

    // Woken up, it moves on and takes commands again.
    ::kill(pid_t(window), SIGCONT);
    EXPECT_TRUE(Eventually([&] { return position(link) > at; }));
    EXPECT_EQ(link.findWindow(), window);
    EXPECT_EQ(entry(link), 2);
    EXPECT_EQ(length(link), 25);
    link.selectEntry(link.findWindow(), 1);
    EXPECT_EQ(entry(link), 1);
    EXPECT_TRUE(Eventually([&] { return length(link) == 3; }));

    // Killed, it is gone: no handle, every request answers 0, nothing waits.
    ::kill(pid_t(window), SIGKILL);
    EXPECT_TRUE(Eventually([&] { return link.findWindow() == 0; }));
    timer.start();
    EXPECT_EQ(link.entry(window), 0);
    EXPECT_EQ(link.lengthSeconds(window), 0);
    EXPECT_EQ(link.findWindow(), 0);
    EXPECT_LT(timer.elapsed(), timeoutMs);
}

TEST_F(MpvPlayerLinkTest, APlayerStoppedBeforeTheLinkConnectsCostsOneTimeOut) {
    // Another program's link started the player; this one meets it already stopped.
    MpvPlayerLink& starter = makeLink();
    const PlayerWindow window = start(starter, writeList());
    ASSERT_NE(window, 0);
    ASSERT_EQ(::kill(pid_t(window), SIGSTOP), 0);
    ASSERT_TRUE(Eventually([&] { return ProcessState(window) == "T"; }));

    const int timeoutMs = 200;
    MpvPlayerLink& link = makeLink(timeoutMs);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(link.findWindow(), window);
    EXPECT_LT(timer.elapsed(), 1000);
    timer.start();
    for (int tick = 0; tick < 5; ++tick) {
        EXPECT_EQ(link.findWindow(), window);
        EXPECT_EQ(entry(link), 0);
        EXPECT_EQ(length(link), 0);
    }
    EXPECT_LT(timer.elapsed(), timeoutMs);
    ::kill(pid_t(window), SIGCONT);
    EXPECT_TRUE(Eventually([&] { return length(link) == 20; }));
    EXPECT_EQ(entry(link), 0);
}

TEST_F(MpvPlayerLinkTest, NothingAnswersWithoutAPlayer) {
    MpvPlayerLink& link = makeLink();
    EXPECT_EQ(link.findWindow(), 0);
    EXPECT_EQ(link.waitForWindow(0), 0);
    EXPECT_EQ(link.lengthSeconds(0), 0);
    EXPECT_EQ(link.lengthSeconds(1234), 0);
    link.askToClose(1234);

    const QString list = writeList();
    const QString notExecutable = dir_.write(QStringLiteral("player.txt"), "text");
    EXPECT_FALSE(link.launch(dir_.file(QStringLiteral("no-such-player")), list));
    EXPECT_FALSE(link.launch(notExecutable, list));
    EXPECT_FALSE(link.launch(mpv_, QString()));
    EXPECT_FALSE(link.launch(QString(), list));
    EXPECT_EQ(link.startedProcessId(), 0);

    // A socket path too long for a local socket is refused: no player is started that could
    // never be reached.
    MpvPlayerLink far({.socketPath = dir_.file(QString(120, 'a')), .extraArguments = {}});
    EXPECT_EQ(far.socketPath(), "");
    EXPECT_NE(far.refusal(), "");
    EXPECT_FALSE(launch(far, list));
    EXPECT_EQ(far.startedProcessId(), 0);
}

TEST_F(MpvPlayerLinkTest, AStartThatFailsIsNotWaitedFor) {
    // A "player" that exits at once: the wait ends with it, long before the time-out.
    const QString quitter = dir_.write(QStringLiteral("quitter"), "#!/bin/sh\nexit 1\n");
    QFile::setPermissions(quitter, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    MpvPlayerLink& link = makeLink();
    ASSERT_TRUE(link.launch(quitter, writeList()));
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(link.waitForWindow(20000), 0);
    EXPECT_LT(timer.elapsed(), 10000);
}

TEST_F(MpvPlayerLinkTest, CommandsThatRunProgramsAreNeverSent) {
    MpvPlayerLink& link = makeLink();
    ASSERT_NE(start(link, writeList()), 0);
    PlayerSocket socket;
    ASSERT_TRUE(socket.open(link.socketPath()));
    const QString marker = dir_.file(QStringLiteral("ran"));
    const QDeadlineTimer deadline(3000);
    EXPECT_EQ(socket.send({QStringLiteral("run"), QStringLiteral("/bin/touch"), marker}, deadline),
              0);
    EXPECT_EQ(socket.send(
                  {QStringLiteral("subprocess"), QJsonArray{QStringLiteral("/bin/touch"), marker}},
                  deadline),
              0);
    EXPECT_EQ(socket.send({QStringLiteral("load-script"), marker}, deadline), 0);
    EXPECT_EQ(socket.send({QStringLiteral("RUN"), QStringLiteral("/bin/touch"), marker}, deadline),
              0);
    const std::optional<QJsonObject> pid =
        socket.request({QStringLiteral("get_property"), QStringLiteral("pid")}, deadline);
    ASSERT_TRUE(pid);
    EXPECT_EQ(pid->value(QStringLiteral("data")).toInteger(), link.startedProcessId());
    EXPECT_FALSE(QFile::exists(marker));
}

} // namespace
} // namespace tarl
