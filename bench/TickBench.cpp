// Time of the main window's now-playing tick (playerTimer) against a real mpv (--ao=null), a real
// catalog and a real settings file: a list of short WAVs plays through, so many ticks see a new
// entry (temporary playlist read, length looked up and learned into the catalog, play state
// saved to the settings file), and the ticks go on for a second after the list ended (the player
// drains its sound, then goes idle). Halfway through, the player is stopped (SIGSTOP) for
// BUSY_MS, as mpv's core is busy while a disc spins up: those ticks are timed apart, and every
// tick whose entry went back (the list only plays forward) is counted, since the tick would
// show and save the wrong song. The window's own drawing is not included (a view that records
// nothing stands in for it).
// Usage: tarl-bench-tick [TRACKS] [SECONDS_PER_TRACK] [BUSY_MS]
//        (default 30, 0.5 and 1000; mpv from PATH)
#include "catalog/engine/CatalogFile.h"
#include "platform/Clock.h"
#include "platform/IniProfile.h"
#include "platform/LocalFiles.h"
#include "platform/MpvPlayerLink.h"
#include "player/NowPlaying.h"
#include "player/PlayerControl.h"
#include "player/PlayerPanel.h"
#include "scan/TemporaryPlaylist.h"
#include "state/AppState.h"
#include "support/FakeDrives.h"
#include "support/FakeLauncher.h"
#include "support/FakeUi.h"
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

struct NullView : PanelView, NowPlayingView {
    void moveKnob(int, double) override {}
    void setStatusPanel(int, const QString&) override {}
    void setElapsed(const QString&) override {}
    void setDisplay(const QString&) override {}
    void setDisplayTip(const QString&) override {}
    void reloadTrackList(int) override {}
    void selectPlayingSong(bool) override {}
    void setTrayTip(const QString&) override {}
};

void Print(const char* what, std::vector<double> ms) {
    if (ms.empty()) {
        std::printf("%-22s none\n", what);
        return;
    }
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double v : ms)
        sum += v;
    std::printf("%-22s %5zu ticks: mean %6.2f ms, median %6.2f ms, max %6.2f ms\n", what, ms.size(),
                sum / double(ms.size()), ms[ms.size() / 2], ms.back());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int tracks = argc > 1 ? std::max(2, atoi(argv[1])) : 30;
    const double seconds = argc > 2 ? std::max(0.2, atof(argv[2])) : 0.5;
    const int busyMs = argc > 3 ? std::max(0, atoi(argv[3])) : 1000;
    const QString mpv = QStandardPaths::findExecutable(QStringLiteral("mpv"));
    if (mpv.isEmpty()) {
        std::fprintf(stderr, "mpv is not installed\n");
        return 1;
    }
    QTemporaryDir dir;
    const QString home = dir.path() + u'/';

    IniProfile profile;
    test::FakeUi ui;
    MpvPlayerLink link(MpvPlayerLink::Options{.socketPath = home + "p.sock",
                                              .extraArguments = {QStringLiteral("--ao=null")}});
    SystemClock clock;
    LocalFiles files;
    test::FakeDrives drives;
    test::FakeLauncher launcher;
    AppState state(Services{profile, ui, link, clock, files, drives, launcher});
    state.programFolder = home;
    state.settings.setPath(home + "tarl.ini");
    state.tmpPlaylistPath = TemporaryPlaylistPath(home);
    state.playerPath = mpv;
    state.lastSongLoaded = true;
    if (!CreateCatalog(home + "tarl.mdb") || !state.catalog.connection.open(home + "tarl.mdb")) {
        std::fprintf(stderr, "no catalog\n");
        return 1;
    }
    QStringList paths;
    for (int i = 0; i < tracks; ++i) {
        const QString name = QStringLiteral("%1 track.wav").arg(i, 3, 10, QChar('0'));
        test::WriteWav(home + "music/" + name, seconds, 440);
        state.catalog.connection.execute("INSERT INTO Mp3 (path, file, m3u_id) VALUES ('" + home +
                                         "music/', '" + name + "', 1)");
        paths << home + "music/" + name;
    }
    const Result<int> written = WriteTemporaryPlaylist(state.tmpPlaylistPath, paths);
    if (!written) {
        std::fprintf(stderr, "%s\n", qPrintable(written.error));
        return 1;
    }

    NullView view;
    PlayerPanel panel(state, view);
    NowPlaying now(state, panel, view);
    PlayerControl control(state);
    control.PlayFile(state.tmpPlaylistPath);
    link.waitForWindow(5000);

    std::vector<double> plain, changed, busy;
    int wentBack = 0;
    const qint64 pid = link.startedProcessId();
    QElapsedTimer all, one;
    all.start();
    const double playMs = tracks * seconds * 1000 + 1000;
    const double busyFrom = tracks * seconds * 1000 / 2;
    bool stopped = false, woken = busyMs == 0;
    while (all.elapsed() < playMs) {
        if (!stopped && !woken && all.elapsed() >= busyFrom) {
            ::kill(pid_t(pid), SIGSTOP);
            stopped = true;
        } else if (stopped && all.elapsed() >= busyFrom + busyMs) {
            ::kill(pid_t(pid), SIGCONT);
            stopped = false;
            woken = true;
        }
        const qint32 before = state.lastListIndex;
        one.start();
        now.Tick();
        const double ms = double(one.nsecsElapsed()) / 1e6;
        (stopped ? busy : state.lastListIndex != before ? changed : plain).push_back(ms);
        if (state.lastListIndex < before)
            ++wentBack;
        if (qEnvironmentVariableIsSet("TARL_BENCH_TRACE"))
            std::printf("%8lld ms  entry %d  tick %.2f ms%s\n", qint64(all.elapsed()),
                        state.lastListIndex, ms, stopped ? "  (player stopped)" : "");
        QThread::msleep(20);
    }
    std::printf("%d tracks of %.1f s, mpv %s\n", tracks, seconds, qPrintable(mpv));
    Print("same entry", plain);
    Print("entry changed", changed);
    Print("player stopped", busy);
    std::printf("entry went back in %d ticks\n", wentBack);
    if (pid != 0)
        ::kill(pid_t(pid), SIGKILL);
    return 0;
}
