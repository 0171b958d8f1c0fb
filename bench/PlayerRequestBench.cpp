// Time of the now-playing tick's player requests against a real mpv (--ao=null): findWindow and
// the four messages every 300 ms tick sends (length, position twice, entry index), while a WAV
// plays, while the player is stopped with no file loaded, with no player on the socket, and with
// a player that does not answer (SIGSTOP: as busy as mpv is while a disc spins up). The answers
// come from the values mpv pushed; no request goes to the player.
// Usage: tarl-bench-player [TICKS]   (default 2000; mpv from PATH)
#include "platform/MpvPlayerLink.h"
#include "support/WavFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <signal.h>
#include <vector>

using namespace tarl;

namespace {

struct Figures {
    double meanUs = 0;
    double maxUs = 0;
    double findMeanUs = 0;
};

// `ticks` ticks of findWindow plus the four requests, each tick timed on its own.
Figures MeasureTicks(MpvPlayerLink& link, int ticks) {
    std::vector<double> tick;
    double find = 0;
    tick.reserve(size_t(ticks));
    QElapsedTimer timer;
    for (int i = 0; i < ticks; ++i) {
        timer.start();
        const PlayerWindow window = link.findWindow();
        find += double(timer.nsecsElapsed());
        link.lengthSeconds(window);
        link.positionMs(window);
        link.positionMs(window);
        link.entry(window);
        tick.push_back(double(timer.nsecsElapsed()) / 1000);
    }
    Figures f;
    for (const double t : tick)
        f.meanUs += t;
    f.meanUs /= ticks;
    f.maxUs = *std::max_element(tick.begin(), tick.end());
    f.findMeanUs = find / ticks / 1000;
    return f;
}

void Print(const char* what, const Figures& f) {
    std::printf("%-34s tick mean %7.1f us, max %7.1f us (findWindow mean %5.2f us)\n", what,
                f.meanUs, f.maxUs, f.findMeanUs);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int ticks = argc > 1 ? std::max(1, atoi(argv[1])) : 2000;
    const QString mpv = QStandardPaths::findExecutable(QStringLiteral("mpv"));
    if (mpv.isEmpty()) {
        std::fprintf(stderr, "mpv is not installed\n");
        return 1;
    }
    QTemporaryDir dir;
    const QString wav = dir.filePath(QStringLiteral("tone.wav"));
    if (!test::WriteWav(wav, 600, 440)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(wav));
        return 1;
    }
    MpvPlayerLink link({.socketPath = dir.filePath(QStringLiteral("p.sock")),
                        .extraArguments = {QStringLiteral("--ao=null")}});

    Print("no player on the socket", MeasureTicks(link, ticks));

    if (!link.launch(mpv, wav) || link.waitForWindow(10000) == 0) {
        std::fprintf(stderr, "mpv did not answer\n");
        return 1;
    }
    QThread::msleep(300);
    MeasureTicks(link, 100); // warm-up
    Print("playing a WAV", MeasureTicks(link, ticks));

    link.stop(link.findWindow());
    QThread::msleep(300);
    Print("stopped, no file loaded", MeasureTicks(link, ticks));

    // A player that does not answer: the ticks answer what it pushed last, without waiting.
    link.play(link.findWindow());
    QThread::msleep(300);
    const qint64 pid = link.startedProcessId();
    ::kill(pid_t(pid), SIGSTOP);
    QThread::msleep(100);
    Print("player stopped (SIGSTOP), 1st tick", MeasureTicks(link, 1));
    Print("player stopped (SIGSTOP), next", MeasureTicks(link, ticks));
    const PlayerWindow window = link.findWindow();
    std::printf("while stopped: window %s, entry %lld, length %lld s\n",
                window == pid ? "found" : "NOT FOUND", link.entry(window),
                link.lengthSeconds(window));
    ::kill(pid_t(pid), SIGCONT);
    QThread::msleep(100);

    link.askToClose(link.findWindow());
    QThread::msleep(200);
    if (link.startedProcessId() != 0)
        ::kill(pid_t(link.startedProcessId()), SIGKILL);
    return 0;
}
