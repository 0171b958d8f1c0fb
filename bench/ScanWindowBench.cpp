// The scan window's own scan and "Add to DataBase" of a generated MP3 collection, against
// `tarl-catalog import` of the same folder.
// Usage: tarl-bench-scan-window [TRACKS] [--corpus FOLDER] [--passes N] [--gaps]
//        (default 20000, 3; --gaps prints every time the event loop waited over 40 ms)
//
// Run it under the platform to measure: QT_QPA_PLATFORM=offscreen, or `xvfb-run -a` for a real
// display server (xcb).
//
// 1. Generates TRACKS tagged files (bench/Mp3Corpus.h), or takes those kept in FOLDER (as
//    tarl-bench-import --corpus keeps them; FOLDER/.tracks holds the count).
// 2. The command: `tarl-catalog new` then `tarl-catalog import --catalog FILE FOLDER` into a fresh
//    catalog, run as a child process and timed from start to exit; one warm-up run, then the
//    median of N.
// 3. The window: the main window on a fresh catalog (real settings file, files and drives; boxes
//    answered OK at once, no player), shown; the scan window opened
//    modally as File > Scan Drive opens it; then, from its own event loop, "SCAN" of FOLDER and
//    "Add to DataBase", each timed (the import until its message box is answered; the main
//    window's library tree built again after it is timed apart). Repeated N times, each into a
//    fresh catalog; medians. While each runs, a 5 ms timer measures the longest time the event
//    loop went without a turn (so without repainting), and every paint event of every widget is
//    counted.
#include "Mp3Corpus.h"
#include "support/WindowParts.h"

#include "catalog/engine/CatalogFile.h"
#include "dialogs/ScanWindow.h"
#include "platform/Clock.h"
#include "platform/IniProfile.h"
#include "platform/LinuxDrives.h"
#include "platform/LocalFiles.h"
#include "platform/PlayerLink.h"
#include "platform/Ui.h"
#include "shell/MainWindow.h"
#include "state/AppState.h"
#include "support/FakeLauncher.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

using namespace tarl;

namespace {

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The person in front of the screen answers OK to every box, at once; the last text is kept.
class AnswerOk : public Ui {
public:
    QString lastMessage;

    MsgAnswer message(const QString& text, const QString&, MsgIcon, MsgButtons) override {
        lastMessage = text;
        return MsgAnswer::Ok;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    QString browseForFolder(const QString&) override { return {}; }
};

// Counts paint events of every widget.
class PaintCounter : public QObject {
public:
    qint64 paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

// --gaps: every gap over 40 ms is printed with the time it ended, from the phase's start.
bool printGaps = false;

// The longest time between two turns of the event loop, sampled by a 5 ms timer.
class LoopGaps {
public:
    LoopGaps() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const double gap = clock_.nsecsElapsed() / 1e6;
            maxGap_ = std::max(maxGap_, gap);
            if (gap > 40 && printGaps)
                std::printf("gap %.0f ms ending at %.0f ms\n", gap, since_.nsecsElapsed() / 1e6);
            clock_.restart();
        });
    }
    void start() {
        maxGap_ = 0;
        clock_.start();
        since_.start();
        timer_.start();
    }
    // The longest gap, the time since the last turn included.
    double stop() {
        timer_.stop();
        return std::max(maxGap_, clock_.nsecsElapsed() / 1e6);
    }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    QElapsedTimer since_;
    double maxGap_ = 0;
};

struct Phase {
    double ms = 0;
    double maxGapMs = 0;
    qint64 paints = 0;
};

struct WindowPass {
    Phase scan;
    Phase import;         // "Add to DataBase" until the import ended, its message box answered
    double rebuildMs = 0; // then the main window's library tree built again
    qint64 treeRows = 0;
    QString message;
};

// Times a phase, with the loop's longest gap and the paints it caused.
class PhaseClock {
public:
    explicit PhaseClock(PaintCounter& painted) : painted_(painted) {}
    void start() {
        paintsBefore_ = painted_.paints;
        gaps_.start();
        clock_.start();
    }
    Phase stop() {
        Phase phase;
        phase.ms = clock_.nsecsElapsed() / 1e6;
        phase.maxGapMs = gaps_.stop();
        phase.paints = painted_.paints - paintsBefore_;
        return phase;
    }

private:
    PaintCounter& painted_;
    LoopGaps gaps_;
    QElapsedTimer clock_;
    qint64 paintsBefore_ = 0;
};

bool RunCommand(const QString& program, const QStringList& arguments, QString* output) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        *output = QString::fromLocal8Bit(process.readAllStandardError());
        return false;
    }
    *output = QString::fromLocal8Bit(process.readAllStandardOutput());
    return true;
}

// One timed `tarl-catalog import` into a fresh catalog; negative when it failed.
double CommandPass(const QString& corpus, const QString& folder) {
    const QString catalog = folder + "/command.mdb";
    QFile::remove(catalog);
    QString output;
    if (!RunCommand(TARL_CATALOG_TOOL, {"new", catalog}, &output)) {
        std::fprintf(stderr, "tarl-catalog new: %s\n", qPrintable(output));
        return -1;
    }
    QElapsedTimer clock;
    clock.start();
    if (!RunCommand(TARL_CATALOG_TOOL, {"import", "--catalog", catalog, corpus}, &output)) {
        std::fprintf(stderr, "tarl-catalog import: %s\n", qPrintable(output));
        return -1;
    }
    return clock.nsecsElapsed() / 1e6;
}

WindowPass RunWindowPass(const QString& corpus, const QString& home) {
    QDir().mkpath(home);
    qputenv("TARL_HOME", home.toUtf8());
    const QString catalog = home + "/tarl.mdb";
    const Result<> made = CreateCatalog(catalog);
    if (!made) {
        std::fprintf(stderr, "catalog: %s\n", qPrintable(made.error));
        std::exit(1);
    }
    QFile ini(home + "/tarl.ini");
    if (!ini.open(QIODevice::WriteOnly) ||
        ini.write("[Database]\nPath=" + catalog.toUtf8() + "\n") < 0) {
        std::fprintf(stderr, "settings: %s\n", qPrintable(ini.errorString()));
        std::exit(1);
    }
    ini.close();

    IniProfile profile;
    AnswerOk ui;
    NoPlayerLink player;
    SystemClock clock;
    LocalFiles files;
    LinuxDrives drives;
    test::FakeLauncher launcher;
    AppState state(Services{profile, ui, player, clock, files, drives, launcher});
    MainWindow window(state);
    window.startUp();
    window.show();

    PaintCounter painted;
    qApp->installEventFilter(&painted);
    WindowPass pass;
    // The scan window runs its own event loop (modal); the steps run from inside it.
    QTimer::singleShot(0, &window, [&] {
        ScanWindow& scan = *window.findChild<ScanWindow*>();
        scan.pathScan->setText(corpus);
        PhaseClock phase(painted);
        phase.start();
        scan.scanClicked();
        pass.scan = phase.stop();
        // The import ends with the main window's tree built again, timed apart.
        const auto rebuild = scan.hooks.importEnded;
        scan.hooks.importEnded = [&] {
            pass.import = phase.stop();
            QElapsedTimer rebuilding;
            rebuilding.start();
            if (rebuild)
                rebuild();
            pass.rebuildMs = rebuilding.nsecsElapsed() / 1e6;
        };
        phase.start();
        scan.addToCatalogClicked();
        scan.close();
    });
    window.showScanWindow();
    qApp->removeEventFilter(&painted);
    pass.treeRows =
        window.findChild<ScanWindow*>() ? window.findChild<ScanWindow*>()->tree().nodeCount() : 0;
    pass.message = ui.lastMessage;
    return pass;
}

void PrintPhase(const char* what, const std::vector<Phase>& phases) {
    std::vector<double> ms;
    std::vector<double> gaps;
    std::vector<double> paints;
    for (const Phase& p : phases) {
        ms.push_back(p.ms);
        gaps.push_back(p.maxGapMs);
        paints.push_back(double(p.paints));
    }
    std::printf("%-8s median %.0f ms (%.0f to %.0f); longest without a loop turn: median %.0f ms, "
                "worst %.0f ms; paint events: median %.0f\n",
                what, Median(ms), *std::min_element(ms.begin(), ms.end()),
                *std::max_element(ms.begin(), ms.end()), Median(gaps),
                *std::max_element(gaps.begin(), gaps.end()), Median(paints));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    int tracks = 20000;
    int passes = 3;
    QString kept;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--corpus") == 0 && i + 1 < argc)
            kept = QString::fromLocal8Bit(argv[++i]);
        else if (std::strcmp(argv[i], "--gaps") == 0)
            printGaps = true;
        else if (std::strcmp(argv[i], "--passes") == 0 && i + 1 < argc)
            passes = std::max(1, std::atoi(argv[++i]));
        else
            tracks = std::atoi(argv[i]);
    }
    QTemporaryDir temp;
    const QString corpus = (kept.isEmpty() ? temp.path() + "/corpus" : kept) + "/";
    QFile count(corpus + ".tracks");
    const QByteArray countText = QByteArray::number(tracks);
    if (!kept.isEmpty() && count.open(QIODevice::ReadOnly) && count.readAll() == countText) {
        std::printf("corpus: %d files kept in %s\n", tracks, qPrintable(corpus));
    } else {
        if (!kept.isEmpty() && !QDir(corpus).isEmpty() && !count.exists()) {
            std::fprintf(stderr, "corpus: %s is not empty\n", qPrintable(corpus));
            return 1;
        }
        count.close();
        QDir(corpus).removeRecursively();
        const tarl::Result<> made = bench::MakeMp3Corpus(corpus, tracks);
        if (!made) {
            std::fprintf(stderr, "corpus: %s\n", qPrintable(made.error));
            return 1;
        }
        if (!kept.isEmpty() && count.open(QIODevice::WriteOnly | QIODevice::Truncate))
            count.write(countText);
        std::printf("corpus: %d files made\n", tracks);
    }
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));

    std::vector<double> command;
    for (int pass = 0; pass <= passes; ++pass) {
        const double ms = CommandPass(corpus, temp.path());
        if (ms < 0)
            return 1;
        if (pass > 0) // the first run warms the cache
            command.push_back(ms);
    }
    std::printf("command  median %.0f ms (%.0f to %.0f): tarl-catalog import\n", Median(command),
                *std::min_element(command.begin(), command.end()),
                *std::max_element(command.begin(), command.end()));

    std::vector<Phase> scans;
    std::vector<double> rebuilds;
    std::vector<Phase> imports;
    std::vector<double> both;
    for (int pass = 0; pass < passes; ++pass) {
        const WindowPass run = RunWindowPass(corpus, temp.path() + "/home" + QString::number(pass));
        scans.push_back(run.scan);
        imports.push_back(run.import);
        rebuilds.push_back(run.rebuildMs);
        both.push_back(run.scan.ms + run.import.ms);
        std::printf("window pass %d: scan %.0f ms, import %.0f ms, then the library tree %.0f ms; "
                    "%lld scan-tree nodes, \"%s\"\n",
                    pass + 1, run.scan.ms, run.import.ms, run.rebuildMs,
                    static_cast<long long>(run.treeRows),
                    qPrintable(QString(run.message).replace('\n', ' ')));
    }
    PrintPhase("scan", scans);
    PrintPhase("import", imports);
    std::printf("then the main window's library tree: median %.0f ms\n", Median(rebuilds));
    std::printf("window scan + import: median %.0f ms = %.2f times the command\n", Median(both),
                Median(both) / Median(command));
    return 0;
}
