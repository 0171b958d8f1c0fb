#include "MainFixture.h"
#include "support/WindowParts.h"

#include "browserui/LibraryBrowser.h"
#include "catalog/engine/Recordset.h"
#include "dialogs/ScanWindow.h"
#include "shell/TerminationSignals.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <csignal>
#include <functional>

using namespace tarl;

namespace {

class Closing : public tarl::test::MainFixture {
protected:
    qint64 count(const QString& catalog, const QString& query) {
        Catalog reopened;
        EXPECT_TRUE(reopened.connection.open(catalog));
        Recordset rows;
        EXPECT_TRUE(reopened.connection.execute(query, rows));
        return rows.field(0).toLongLong();
    }
};

void RaiseOnce(bool& raised) {
    if (!raised)
        std::raise(SIGTERM);
    raised = true;
}

// SIGTERM while the scan window is open, with a box over it, a walk or an import running: every
// window closes as its close box would, the main window last (which saves and ends the program),
// and the program's event loop ends with 0.
TEST_F(Closing, ATerminationSignalClosesEveryWindowAndEndsTheProgram) {
    constexpr int Files = 600;
    for (int i = 0; i < Files; ++i)
        home.write(QString("music/f%1/s%2.mp3").arg(i / 10).arg(i).toUtf8(), "x");
    const QString music = home.path() + "/music/";
    services.drives.addDrive(home.path(), DriveType::Fixed);
    const struct Case {
        const char* name;
        // Runs inside the open scan window; raises the signal once at its moment.
        std::function<void(ScanWindow&, bool& raised)> begin;
    } cases[] = {
        {"a box over the scan window",
         [](ScanWindow& scan, bool& raised) {
             QTimer::singleShot(0, &scan, [&raised] { RaiseOnce(raised); });
             QMessageBox::information(&scan, "Box", "Text");
         }},
        {"a walk",
         [&music](ScanWindow& scan, bool& raised) {
             QObject::connect(scan.pathScan, &QLineEdit::textChanged, [&, music](const QString& t) {
                 if (t.startsWith(music + "f"))
                     RaiseOnce(raised);
             });
             scan.pathScan->setText(music);
             scan.scanButton->click();
         }},
        {"an import",
         [&music](ScanWindow& scan, bool& raised) {
             scan.pathScan->setText(music);
             scan.scanButton->click();
             // Delivered at the import's first turn of the event loop.
             QTimer::singleShot(0, &scan, [&raised] { RaiseOnce(raised); });
             scan.addToCatalogButton->click();
         }},
        {"a box during an import",
         [&music](ScanWindow& scan, bool& raised) {
             scan.pathScan->setText(music);
             scan.scanButton->click();
             // The box holds the import still from its own event loop until it is closed.
             QTimer::singleShot(0, &scan, [&scan, &raised] {
                 QTimer::singleShot(0, &scan, [&raised] { RaiseOnce(raised); });
                 QMessageBox::information(&scan, "Box", "Text");
             });
             scan.addToCatalogButton->click();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString catalog = newCatalog(QString(c.name).replace(' ', '_') + ".mdb");
        writeIni("[Database]\nPath=" + catalog.toUtf8() + "\n");
        MainWindow& w = start();
        w.startUp();
        w.show();
        // The walk waits in its first folder, the import at its first write, until the signal
        // asked them to stop: the stop lands in the middle of the work however fast it runs.
        const auto stopAsked = [&w] {
            return w.findChild<ScanWindow*>() && w.findChild<ScanWindow*>()->stopRequested();
        };
        services.files.holdListing(music + "f0/", QString(c.name) == "a walk"
                                                      ? std::function<bool()>(stopAsked)
                                                      : nullptr);
        test::CatalogWriteHold hold(catalog);
        ASSERT_TRUE(hold.held());
        QTimer releaseOnStop;
        QObject::connect(&releaseOnStop, &QTimer::timeout, [&] {
            if (stopAsked())
                hold.release();
        });
        releaseOnStop.start(1);
        TerminationSignals terminationSignals(&w);
        bool raised = false;
        // File > Scan Drive from the program's event loop; the case runs inside the scan window.
        QTimer::singleShot(0, &w, [&] {
            QTimer::singleShot(0, &w, [&] { c.begin(*w.findChild<ScanWindow*>(), raised); });
            test::Part<QAction>(w, "scanAction")->trigger();
        });
        QTimer safety;
        safety.setSingleShot(true);
        QObject::connect(&safety, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        safety.start(10000);
        EXPECT_EQ(QApplication::exec(), 0);
        hold.release();
        EXPECT_TRUE(raised);
        EXPECT_TRUE(w.unloaded());
        for (QWidget* top : QApplication::topLevelWidgets())
            EXPECT_FALSE(top->isVisible()) << top->metaObject()->className();
        EXPECT_EQ(setting("Player", "sorted_by_cd"), "True"); // saved on the way out

        const qint64 nodes = w.findChild<ScanWindow*>()->tree().nodeCount();
        const qint64 tracks = count(catalog, "SELECT COUNT(*) FROM Mp3");
        if (QString(c.name) == "a walk") {
            EXPECT_LT(nodes, Files) << "the walk stopped";
        }
        if (QString(c.name) == "an import") {
            // Stopped at a node and its batch committed: what was imported, each track with its
            // list.
            EXPECT_GT(count(catalog, "SELECT COUNT(*) FROM CD"), 0);
            EXPECT_LT(tracks, Files);
            EXPECT_EQ(count(catalog, "SELECT COUNT(*) FROM Mp3 WHERE m3u_id NOT IN "
                                     "(SELECT id FROM M3u)"),
                      0);
        }
        EXPECT_FALSE(services.ui.titles().contains("Data Base")) << "no box while closing";
    }
}

// The close box pressed while the re-scan imports: the import stops first, the catalog closes
// only once it has returned, and the program ends.
TEST_F(Closing, TheCloseBoxDuringAReScanStopsTheImportFirst) {
    constexpr int Files = 600;
    for (int i = 0; i < Files; ++i)
        home.write(QString("music/rock/s%1.mp3").arg(i).toUtf8(), "x");
    const QString music = home.path() + "/music/";
    services.drives.addDrive(home.path(), DriveType::Fixed);
    const QString catalog = newCatalog();
    writeIni("[Database]\nPath=" + catalog.toUtf8() + "\n");
    MainWindow& w = start();
    w.startUp();
    w.show();
    ASSERT_TRUE(state->catalog.connection.execute(
        "INSERT INTO CD (name, m3us, label, isCd) VALUES ('" + music + "', 1, 'EOF', '0')"));
    ASSERT_TRUE(state->catalog.connection.execute("INSERT INTO M3u (path, file, cd_id) VALUES ('" +
                                                  music + "', 'rock/', 1)"));
    ASSERT_TRUE(test::Part<LibraryBrowser>(w, "browser")->showTreeByPaths());
    ASSERT_TRUE(test::Part<LibraryBrowser>(w, "browser")->selectFolderNode(music + "rock/"));

    // Pressed once the import has begun (with the copy of the catalog made before it); its first
    // write waits until then.
    test::CatalogWriteHold hold(catalog);
    ASSERT_TRUE(hold.held());
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (w.statusPanel(2) == "Backing up the catalog...") {
            watch.stop();
            w.close();
            hold.release();
        }
    });
    watch.start(0);
    QTimer::singleShot(0, &w, [&] { test::Part<QAction>(w, "toolbarButton6")->trigger(); });
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    safety.start(10000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(w.unloaded());
    const qint64 tracks = count(catalog, "SELECT COUNT(*) FROM Mp3");
    EXPECT_TRUE(QFileInfo::exists(catalog + ".bak1")) << "the import began";
    EXPECT_LT(tracks, Files) << "the import stopped";
    EXPECT_FALSE(services.ui.titles().contains("Data Base")) << "no box while closing";
}

} // namespace
