// tarl-screenshots OUTDIR: starts the program on a generated catalog in a program folder of its
// own, takes pictures of the full window, the compact window folded and unfolded and the scan
// window, and checks their layout. Exit 0 when every check passed, 1 with the reasons otherwise.

#include "LayoutChecks.h"
#include "SampleCatalog.h"

#include "browser/TrackListModel.h"
#include "browserui/LibraryBrowser.h"
#include "browserui/TrackListView.h"
#include "dialogs/PropertiesDialog.h"
#include "dialogs/ScanWindow.h"
#include "platform/Clock.h"
#include "platform/DesktopLauncher.h"
#include "platform/IniProfile.h"
#include "platform/LinuxDrives.h"
#include "platform/LocalFiles.h"
#include "platform/MpvPlayerLink.h"
#include "platform/Ui.h"
#include "shell/MainWindow.h"
#include "shell/Twips.h"
#include "state/AppState.h"
#include "state/MainLayoutPlan.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include <cstdio>

namespace {

using namespace tarl;
using namespace tarl::screenshots;

// Nobody is in front of the screen: every question is kept, answered with Cancel, and reported
// as a fault, since the settings written here leave the program nothing to ask.
class NoOneThereUi : public Ui {
public:
    MsgAnswer message(const QString& text, const QString& /*title*/, MsgIcon /*icon*/,
                      MsgButtons /*buttons*/) override {
        asked << text;
        return MsgAnswer::Cancel;
    }
    std::optional<QString> input(const QString& prompt, const QString& /*title*/,
                                 const QString& /*defaultText*/) override {
        asked << prompt;
        return std::nullopt;
    }
    QString openFile(const QString& title, const QString& /*defaultExtension*/,
                     const QString& /*filter*/) override {
        asked << title;
        return {};
    }
    QString browseForFolder(const QString& title) override {
        asked << title;
        return {};
    }
    QStringList asked;
};

// Lets the windows be laid out and painted, as they are a moment after being shown.
void Settle(int ms = 300) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// With mpv on the PATH (start-up takes it as the player) the selected album plays, silently, so
// the display shows a song as in use; without it, or when the song does not show within a few
// seconds, the pictures show the display idle, which is no fault of the layout.
void PlayAlbum(MainWindow& w, const AppState& state) {
    if (state.playerPath.isEmpty()) {
        std::printf("No player on the PATH: the display shows no song.\n");
        return;
    }
    w.findChild<LibraryBrowser*>(QStringLiteral("browser"))->treeDoubleClicked();
    // Shown once the display names the song and gives its length.
    const auto shown = [&w] {
        const QString display = w.findChild<QLabel*>(QStringLiteral("nowPlayingDisplay"))->text();
        return display.contains(QStringLiteral("Coastline")) &&
               !display.startsWith(QStringLiteral("/00:00"));
    };
    QElapsedTimer clock;
    clock.start();
    while (!shown() && clock.elapsed() < 10000)
        Settle(100);
    if (!shown())
        std::printf("The player showed no song within 10 seconds: the display shows none.\n");
}

QSize InPixels(double widthTwips, double heightTwips) {
    return {ToPixels(widthTwips), ToPixels(heightTwips)};
}

// Takes the picture of `window`, writes it to `outDir`/`file` and checks it with the window.
// `part` is what the window means to show: the whole of it, or the player panel of the folded
// compact window, whose track list stays below its bottom edge.
QStringList Picture(QWidget& window, const QString& name, const QString& outDir,
                    const QString& file, const QWidget* part = nullptr) {
    const QImage picture = window.grab().toImage();
    QStringList problems =
        CheckNotBlank(picture, name) + CheckInside(window, name, part ? *part : window);
    const QString path = outDir + u'/' + file;
    if (!picture.isNull() && !picture.save(path, "PNG"))
        problems << QStringLiteral("Cannot write the picture %1.").arg(path);
    return problems;
}

bool WriteSettings(const QString& file, const SampleCatalog& catalog) {
    QFile ini(file);
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    // The full window's place and size, the compact one's place (entered folded), the path view
    // with one album selected.
    const QString text = QStringLiteral("[Database]\nPath=%1\n"
                                        "[Dimensions]\nMain_state=0\nMain_left=600\nMain_top=600\n"
                                        "Width=11000\nheigth=7500\ndivisorH=4200\n"
                                        "mini_left=600\nmini_top=600\nmini_playlist=False\n"
                                        "visual_mode=0\n"
                                        "[Player]\nsorted_by_cd=true\nMp3folder=%2\nVolum=180\n")
                             .arg(catalog.file, catalog.selectedFolder);
    return ini.write(text.toUtf8()) > 0;
}

QStringList TakePictures(MainWindow& w, const AppState& state, const QString& outDir,
                         const QString& musicFolder) {
    QStringList problems;
    const QString full = QStringLiteral("full window");
    if (!w.findChild<LibraryBrowser*>(QStringLiteral("browser"))->selectedNode() ||
        w.findChild<LibraryBrowser*>(QStringLiteral("browser"))->trackModel()->rowCount() == 0)
        problems << QStringLiteral("The full window shows no selected album with its tracks.");
    problems << CheckSize(w, full, InPixels(11000, 7500));
    problems << CheckNoOverlap(*w.findChild<QFrame*>(QStringLiteral("playerFrame")),
                               QStringLiteral("player panel"));
    problems << Picture(w, full, outDir, QStringLiteral("main-window.png"));

    // ">>" enters folded or unfolded, as the list was left; a click on the display turns one
    // into the other, so both are pictured whichever comes first.
    w.findChild<QPushButton*>(QStringLiteral("compactButton"))->click();
    Settle();
    for (int turn = 0; turn < 2; ++turn) {
        if (turn == 1) {
            w.displayMouseDown(Qt::LeftButton);
            Settle();
        }
        const bool unfolded = state.visualMode == 2;
        const QString name = unfolded ? QStringLiteral("unfolded compact window")
                                      : QStringLiteral("folded compact window");
        const double width = CompactWidth(
            ToTwips(w.findChild<QLabel*>(QStringLiteral("nowPlayingDisplay"))->width()));
        const double displayTop = ToTwips(w.findChild<QLabel*>(QStringLiteral("nowPlayingDisplay"))
                                              ->mapTo(w.centralWidget(), QPoint())
                                              .y());
        // Entering folded leaves the window a little shorter than folding it again does.
        const double below = turn == 0 ? CompactEntryBelowDisplay : CompactFoldBelowDisplay;
        const double height =
            unfolded
                ? UnfoldedCompactHeights(
                      w.findChild<TrackListView*>(QStringLiteral("trackList"))->model()->rowCount())
                      .window
                : displayTop + below;
        problems << CheckSize(w, name, InPixels(width, height));
        problems << Picture(w, name, outDir,
                            unfolded ? QStringLiteral("compact-unfolded.png")
                                     : QStringLiteral("compact-folded.png"),
                            unfolded ? nullptr
                                     : w.findChild<QFrame*>(QStringLiteral("playerFrame")));
    }

    // The PropertiesDialog of the selected album's volume, as its menu shows them.
    if (const TreeNode* album =
            w.findChild<LibraryBrowser*>(QStringLiteral("browser"))->selectedNode();
        album && album->parent) {
        const TreeNode* volume = album->parent;
        PropertiesDialog properties(const_cast<AppState&>(state), volume->tag, volume->key, &w);
        properties.load();
        properties.show();
        Settle();
        const QString name = QStringLiteral("volume properties");
        problems << CheckNoOverlap(properties, name);
        problems << Picture(properties, name, outDir, QStringLiteral("volume-properties.png"));
        properties.hide();
    }

    // Back to the full layout, then File > Scan Drive; the scan window is modal, so it is walked
    // and pictured from inside its own event loop.
    w.findChild<QPushButton*>(QStringLiteral("compactButton"))->click();
    Settle();
    problems << CheckSize(w, full + QStringLiteral(" after the compact layout"),
                          InPixels(11000, 7500));
    bool scanShown = false;
    QTimer::singleShot(0, &w, [&] {
        ScanWindow& scan = *w.findChild<ScanWindow*>();
        scanShown = true;
        scan.pathScan->setText(musicFolder + u'/');
        scan.scanButton->click();
        Settle();
        const QString name = QStringLiteral("scan window");
        if (scan.scanTreeView->model()->rowCount() == 0)
            problems << QStringLiteral("The scan window found nothing in the sample music.");
        problems << Picture(scan, name, outDir, QStringLiteral("scan-window.png"));
        scan.cancelButton->click();
    });
    w.findChild<QAction*>(QStringLiteral("scanAction"))->trigger();
    if (!scanShown)
        problems << QStringLiteral("File > Scan Drive showed no scan window.");
    return problems;
}

int Fail(const QStringList& problems) {
    for (const QString& problem : problems)
        std::fprintf(stderr, "tarl-screenshots: %s\n", qPrintable(problem));
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tarl"));
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc != 2) {
        std::fprintf(stderr, "Usage: tarl-screenshots OUTDIR\n");
        return 2;
    }
    const QString outDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    if (!QDir().mkpath(outDir))
        return Fail({QStringLiteral("Cannot make the folder %1.").arg(outDir)});

    // A program folder of its own: the user's settings and catalog are never touched.
    const QTemporaryDir home;
    if (!home.isValid())
        return Fail({QStringLiteral("Cannot make a temporary program folder.")});
    qputenv("TARL_HOME", QFile::encodeName(home.path()));
    const QString music = home.filePath(QStringLiteral("music"));
    const Result<SampleCatalog> catalog =
        MakeSampleCatalog(music, home.filePath(QStringLiteral("tarl.mdb")));
    if (!catalog)
        return Fail(
            {QStringLiteral("The sample catalog could not be made: %1").arg(catalog.error)});
    if (!WriteSettings(home.filePath(QStringLiteral("tarl.ini")), catalog.value))
        return Fail({QStringLiteral("Cannot write the settings file in %1.").arg(home.path())});

    IniProfile profile;
    NoOneThereUi ui;
    // The player's socket in the program folder, and no sound: the pictures need none.
    MpvPlayerLink player(MpvPlayerLink::Options{
        .socketPath = home.filePath(QStringLiteral("player.sock")),
        .extraArguments = {QStringLiteral("--ao=null")},
    });
    SystemClock clock;
    LocalFiles files;
    LinuxDrives drives;
    DesktopLauncher launcher;
    AppState state(Services{profile, ui, player, clock, files, drives, launcher});

    MainWindow window(state);
    window.startUp();
    if (window.unloaded())
        return Fail(QStringList{QStringLiteral("The program ended at start-up.")} + ui.asked);
    window.show();
    Settle();
    PlayAlbum(window, state);
    QStringList problems = TakePictures(window, state, outDir, music);
    // Saves into the temporary program folder and closes the player.
    window.shutDown();
    for (const QString& question : ui.asked)
        problems << QStringLiteral("The program asked \"%1\", with nobody there to answer.")
                        .arg(question.simplified());
    if (!problems.isEmpty())
        return Fail(problems);
    std::printf("Pictures of the full, compact and scan windows and of a volume's properties "
                "written to %s\n",
                qPrintable(outDir));
    return 0;
}
