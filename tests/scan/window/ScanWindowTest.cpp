#include "dialogs/ScanWindow.h"
#include "catalog/engine/CatalogFile.h"
#include "catalog/engine/Recordset.h"
#include "dialogs/RenameDialog.h"
#include "dialogs/ScanWindowMenu.h"
#include "scan/ScanTreeModel.h"
#include "state/AppState.h"
#include "state/SettingKeys.h"
#include "state/Version.h"
#include "support/TempDir.h"
#include "support/TestServices.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace tarl;
using tarl::test::TempDir;
using tarl::test::TestServices;

namespace {

struct Shown {
    QString text;
    QString key;
    QString tag;
    int picture;
    QStringList children; // "text|key|tag"
};

class ScanWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = dir.path() + "/";
        services.drives.addDrive(root, DriveType::Fixed);
        window.hooks.setStatusPanel = [this](int panel, const QString& text) {
            panels << QString::number(panel) + ":" + text;
        };
    }
    void openCatalog() {
        const QString file = dir.file("tarl.mdb");
        ASSERT_TRUE(CreateCatalog(file));
        ASSERT_TRUE(state.catalog.connection.open(file));
    }
    void scan(const QString& folder, int option) {
        window.pathScan->setText(folder);
        window.collectOptions[option]->setChecked(true);
        window.scanClicked();
    }
    // The scan tree as the view's model shows it.
    std::vector<Shown> shown() const {
        std::vector<Shown> out;
        const ScanTreeModel& m = *window.model();
        for (int r = 0; r < m.rowCount(); ++r) {
            const QModelIndex i = m.index(r, 0);
            Shown s{i.data().toString(),
                    i.data(ScanTreeModel::KeyRole).toString(),
                    i.data(ScanTreeModel::TagRole).toString(),
                    i.data(ScanTreeModel::PictureRole).toInt(),
                    {}};
            for (int c = 0; c < m.rowCount(i); ++c) {
                const QModelIndex k = m.index(c, 0, i);
                s.children << k.data().toString() + "|" +
                                  k.data(ScanTreeModel::KeyRole).toString() + "|" +
                                  k.data(ScanTreeModel::TagRole).toString();
            }
            out.push_back(s);
        }
        return out;
    }
    qint64 count(const QString& table) {
        Recordset rows;
        EXPECT_TRUE(state.catalog.connection.execute("SELECT COUNT(*) FROM " + table, rows));
        return rows.field(0).toLongLong();
    }

    TempDir dir;
    QString root;
    TestServices services;
    AppState state{services.services()};
    ScanWindow window{state};
    QAbstractItemModelTester tester{window.model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal};
    QStringList panels;
};

TEST_F(ScanWindowTest, OpensWithTheControlsAsTheUserKnowsThem) {
    EXPECT_EQ(window.scanButton->text(), "&SCAN");
    EXPECT_EQ(window.addToCatalogButton->text(), "&Add to DataBase");
    EXPECT_EQ(window.cancelButton->text(), "&Cancel");
    EXPECT_EQ(window.clearScanButton->text(), "Clear Scan");
    EXPECT_EQ(window.subfoldersCheck->text(), "Scan Su&bdirectories");
    EXPECT_TRUE(window.subfoldersCheck->isChecked());
    EXPECT_EQ(window.depthEdit->text(), "2");
    const char* options[] = {"Playlist files", "Sound files", "All files"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(window.collectOptions[i]->text(), options[i]);
        EXPECT_EQ(window.collectOptions[i]->isChecked(), i == 1);
    }
    const char* kinds[] = {"Mp3", "Wav", "Wma", "Flac", "Ogg", "M4a", "M3u"};
    for (size_t i = 0; i < std::size(kinds); ++i) {
        EXPECT_EQ(window.formatChecks[i]->text(), kinds[i]);
        EXPECT_EQ(window.formatChecks[i]->isChecked(), i < 6);
    }
    EXPECT_NEAR(window.heightTwips(), 2500, 15);
    EXPECT_EQ(window.model()->rowCount(), 0);
}

TEST_F(ScanWindowTest, APlaylistScanGivesOneFolderNodePerFolderWithPlaylists) {
    dir.write("music/a.m3u", "");
    dir.write("music/b.M3U", "");
    dir.write("music/old/c.m3u", "");
    dir.write("music/empty/notes.txt", "x");
    const QString music = root + "music/";
    scan(root + "music", 0);

    const auto nodes = shown();
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_EQ(nodes[0].text, music + "   < 2 files >");
    EXPECT_EQ(nodes[0].key, music);
    EXPECT_EQ(nodes[0].tag, "Cdm3u");
    EXPECT_EQ(nodes[0].picture, ScanPicture::Folder);
    QStringList first = nodes[0].children;
    first.sort();
    EXPECT_EQ(first, (QStringList{"a.m3u|" + music + "a.m3u|M3u", "b.M3U|" + music + "b.M3U|M3u"}));
    EXPECT_EQ(nodes[1].text, music + "old/   < 1 files >");
    EXPECT_EQ(nodes[1].children, QStringList{"c.m3u|" + music + "old/c.m3u|M3u"});

    EXPECT_EQ(window.scanButton->text(), "&SCAN");
    EXPECT_TRUE(window.pathScan->isEnabled());
    EXPECT_EQ(window.pathScan->text(), music);
    EXPECT_NEAR(window.heightTwips(), 8000, 15);

    // "All files" collects the playlists too, and says so in the first panel.
    scan(music, 2);
    EXPECT_EQ(shown().size(), 2u);
    EXPECT_TRUE(panels.contains("1:Scaning M3u..."));
}

TEST_F(ScanWindowTest, AnUnreadablePlaylistIsReportedInAnErrorBoxAndRemovesNothing) {
    dir.write("music/rock/r.m3u", "a.mp3\r\n");
    const QString gone = root + "music/gone.m3u";
    ASSERT_TRUE(QFile::link(root + "music/nowhere.m3u", gone));
    scan(root + "music", 0);

    ASSERT_EQ(services.ui.transcript.size(), 1u);
    const auto& box = services.ui.transcript[0];
    EXPECT_EQ(box.text, "Error reading file: " + gone);
    EXPECT_EQ(box.title, QString(VersionLabel));
    EXPECT_EQ(box.icon, MsgIcon::Critical);
    EXPECT_EQ(box.buttons, MsgButtons::Ok);
    EXPECT_EQ(shown().size(), 2u);
    EXPECT_EQ(window.depthEdit->text(), "2");
}

TEST_F(ScanWindowTest, ASoundFileScanCollectsTheCheckedKindsOnly) {
    dir.write("music/A.MP3", "x");
    dir.write("music/b.wav", "x");
    dir.write("music/c.wma", "x");
    dir.write("music/d.m3u", "");
    dir.write("music/sub/e.mp3", "x");
    const QString music = root + "music/";
    state.settings.setPath(dir.file("tarl.ini"));
    window.formatChecks[0]->setChecked(false);
    window.subfoldersCheck->setChecked(false);
    // The formats are kept for the next window.
    EXPECT_EQ(state.settings.read(keys::ScanFormats), "wav,wma,flac,ogg,m4a");
    EXPECT_FALSE(ScanWindow(state).formatChecks[0]->isChecked());
    scan(music, 1);

    const auto nodes = shown();
    ASSERT_EQ(nodes.size(), 1u);
    EXPECT_EQ(nodes[0].text, music + "   < 2 files >");
    EXPECT_EQ(nodes[0].tag, "Cdmp3");
    QStringList files = nodes[0].children;
    files.sort();
    EXPECT_EQ(files, (QStringList{"b.wav|" + music + "b.wav|Mp3", "c.wma|" + music + "c.wma|Mp3"}));
    EXPECT_EQ(panels.value(0), "1:Scaning Mp3...");

    window.formatChecks[0]->setChecked(true);
    window.subfoldersCheck->setChecked(true);
    scan(music, 1);
    ASSERT_EQ(shown().size(), 2u);
    EXPECT_EQ(shown()[0].children.size(), 3);
    EXPECT_EQ(shown()[1].text, music + "sub/   < 1 files >");
    EXPECT_TRUE(panels.contains("2:" + music + "sub"));

    window.clearScanClicked();
    EXPECT_EQ(window.model()->rowCount(), 0);
}

TEST_F(ScanWindowTest, StopMidWalkReturnsToIdleAndLeavesNoEmptyFolderNode) {
    for (int i = 0; i < 6; ++i) {
        dir.write(QString("music/f%1/x.mp3").arg(i), "x");
        dir.write(QString("music/f%1/deeper/y.mp3").arg(i), "x");
    }
    // The walk waits in the first folder until the stop is pressed.
    services.files.holdListing(root + "music/f0/", [this] { return window.stopRequested(); });
    int folders = 0;
    // The first folder walked is shown at once (later ones at most every 50 ms).
    QObject::connect(window.pathScan, &QLineEdit::textChanged, [&](const QString& text) {
        if (!text.startsWith(root + "music/f") || ++folders != 1)
            return;
        // Pressed while the walk runs on.
        QTimer::singleShot(0, window.scanButton, [this] {
            EXPECT_EQ(window.scanButton->text(), "&STOP");
            window.scanButton->click();
            EXPECT_EQ(window.scanButton->text(), "&SCAN"); // idle at once
        });
    });
    scan(root + "music/", 1);
    EXPECT_EQ(folders, 1);
    EXPECT_EQ(window.scanButton->text(), "&SCAN");
    EXPECT_FALSE(window.walking());
    const auto nodes = shown();
    EXPECT_LT(nodes.size(), 12u);
    for (const Shown& n : nodes)
        EXPECT_FALSE(n.children.isEmpty()) << n.text.toStdString();
}

TEST_F(ScanWindowTest, ACdIsNamedBeforeTheWalkAndItsFoldersShowTheName) {
    openCatalog(); // the name is checked against it: no catalog, no name
    dir.write("cd/a.mp3", "x");
    dir.write("cd/rock/b.mp3", "x");
    const QString cd = root + "cd/";
    services.drives.addDrive(cd, DriveType::CdRom, "MY DISC");
    QStringList prompts;
    window.hooks.runRename = [&](RenameDialog& d) {
        prompts << d.promptLabel->text() + "|" + d.nameEdit->text();
        d.cancelButton->click();
    };
    scan(cd, 1);
    EXPECT_EQ(prompts, QStringList{"CD name|My Disc"});
    EXPECT_EQ(window.discLabel->text(), "My Disc");
    EXPECT_EQ(state.currentLabel, "My Disc"); // Cancel keeps the volume label
    auto nodes = shown();
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_EQ(nodes[0].text, "My Disc   < 1 files >");
    EXPECT_EQ(nodes[0].key.startsWith(cd), true);

    window.hooks.runRename = [](RenameDialog& d) {
        d.nameEdit->setText("Disc 7");
        d.renameButton->click();
    };
    scan(cd, 1);
    EXPECT_EQ(state.currentLabel, "Disc 7");
    EXPECT_EQ(shown()[0].text, "Disc 7   < 1 files >");
}

TEST_F(ScanWindowTest, ACdNameAlreadyInTheCatalogOrEmptyStopsTheWalk) {
    openCatalog();
    ASSERT_TRUE(state.catalog.connection.execute(
        "INSERT INTO CD (name, m3us, label, isCd) VALUES ('/x/', 1, 'Disc 7', '1')"));
    dir.write("cd/a.mp3", "x");
    services.drives.addDrive(root + "cd/", DriveType::CdRom, "MY DISC");
    for (const char* typed : {"Disc 7", ""}) {
        window.hooks.runRename = [typed](RenameDialog& d) {
            d.nameEdit->setText(typed);
            d.renameButton->click();
        };
        scan(root + "cd/", 1);
        EXPECT_EQ(window.model()->rowCount(), 0) << typed;
        EXPECT_EQ(window.scanButton->text(), "&SCAN");
    }
    ASSERT_EQ(services.ui.transcript.size(), 1u);
    EXPECT_EQ(services.ui.transcript[0].text, "The CD name already exist in DB");
}

TEST_F(ScanWindowTest, ACdVolumeKeyIsRefusedAndTheButtonWaitsForAStop) {
    scan("Disc 7:>/media/cd/rock/", 1);
    ASSERT_EQ(services.ui.transcript.size(), 1u);
    EXPECT_EQ(services.ui.transcript[0].text, "This function not run with CD");
    EXPECT_EQ(services.ui.transcript[0].title, "Comming soon");
    EXPECT_EQ(services.ui.transcript[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(window.pathScan->text(), "/media/cd/rock");
    EXPECT_EQ(window.scanButton->text(), "&STOP");
    window.scanClicked();
    EXPECT_EQ(window.scanButton->text(), "&SCAN");
}

TEST_F(ScanWindowTest, AddToDataBaseImportsTheScanAndSaysSo) {
    openCatalog();
    dir.write("music/rock/a.mp3", "x");
    dir.write("music/pop/b.mp3", "x");
    scan(root + "music/", 1);
    panels.clear();
    window.addToCatalogClicked();
    EXPECT_EQ(count("CD"), 1);
    EXPECT_EQ(count("M3u"), 2);
    EXPECT_EQ(count("Mp3"), 2);
    EXPECT_EQ(window.progressBar->maximum(), 4);
    ASSERT_EQ(services.ui.transcript.size(), 1u);
    EXPECT_EQ(services.ui.transcript[0].text, "Updated Data Base");
    EXPECT_EQ(services.ui.transcript[0].title, "Data Base");
    EXPECT_EQ(services.ui.transcript[0].icon, MsgIcon::Information);
    EXPECT_TRUE(panels.contains("2:Added 4 files"));
    ASSERT_GE(panels.size(), 2);
    EXPECT_EQ(panels.mid(panels.size() - 2), (QStringList{"2:", "1:"}));

    window.addToCatalogClicked(); // twice writes nothing new
    EXPECT_EQ(count("Mp3"), 2);
}

// The import writes through a connection of its own, which refuses a catalog someone put a trigger
// in, as every connection does.
TEST_F(ScanWindowTest, ARefusedWriteSaysHowFarTheImportGotAndWhy) {
    openCatalog();
    dir.write("music/rock/a.mp3", "x");
    dir.write("music/pop/b.mp3", "x");
    scan(root + "music/", 1);
    ASSERT_TRUE(state.catalog.connection.execute(
        "CREATE TRIGGER refuse BEFORE INSERT ON Mp3 BEGIN SELECT RAISE(ABORT, 'disc full'); END"));
    bool ended = false;
    window.hooks.importEnded = [&] { ended = true; };
    window.addToCatalogClicked();
    EXPECT_EQ(count("Mp3"), 0);
    ASSERT_EQ(services.ui.transcript.size(), 1u);
    const auto& box = services.ui.transcript[0];
    EXPECT_EQ(box.title, "Data Base");
    EXPECT_EQ(box.icon, MsgIcon::Critical);
    EXPECT_TRUE(box.text.contains("refuse")) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains("0 of 4 nodes were written")) << box.text.toStdString();
    EXPECT_TRUE(ended); // the main window shows what the catalog holds, whatever happened
}

// The walk and the import report a folder, a file or a node every few microseconds; the window
// shows them at most every 50 ms, and always shows the last.
TEST_F(ScanWindowTest, TheWalkAndTheImportAreShownAtMostEvery50ms) {
    openCatalog();
    for (int i = 0; i < 300; ++i)
        dir.write(QString("music/f%1/s%2.mp3").arg(i / 5).arg(i), "x");
    const QString walked = root + "music/f";
    QElapsedTimer clock;
    clock.start();
    std::vector<qint64> shownAt;
    const auto expectPaced = [&](const char* what) {
        ASSERT_FALSE(shownAt.empty()) << what;
        // The last one is the final value, shown at once.
        for (size_t i = 1; i + 1 < shownAt.size(); ++i)
            EXPECT_GE(shownAt[i] - shownAt[i - 1], 45) << what << " " << i;
        shownAt.clear();
    };
    window.pathScan->setText(root + "music/");
    auto folders =
        QObject::connect(window.pathScan, &QLineEdit::textChanged, [&](const QString& t) {
            if (t.startsWith(walked))
                shownAt.push_back(clock.elapsed());
        });
    // At most one value every 45 ms, whatever the phase took on a loaded machine.
    const auto atMost = [&clock](qint64 since) { return (clock.elapsed() - since) / 45 + 2; };
    window.scanClicked();
    QObject::disconnect(folders);
    expectPaced("folder shown");
    EXPECT_LE(panels.filter("2:" + walked).size(), atMost(0)) << "per folder";

    panels.clear();
    QObject::connect(window.progressBar, &QProgressBar::valueChanged,
                     [&] { shownAt.push_back(clock.elapsed()); });
    const qint64 importStart = clock.elapsed();
    window.addToCatalogClicked();
    expectPaced("progress");
    EXPECT_EQ(window.progressBar->value(), 360);
    EXPECT_LE(panels.filter("2:Adding files").size(), atMost(importStart)) << "per node";
    EXPECT_TRUE(panels.contains("2:Added 360 files"));
    EXPECT_EQ(count("Mp3"), 300);
}

// The window runs while the import goes through the scan tree: "Clear Scan", "SCAN" and "Add to
// DataBase" pressed then leave the tree and the import alone.
TEST_F(ScanWindowTest, ButtonsPressedDuringTheImportLeaveItAlone) {
    openCatalog();
    for (int i = 0; i < 100; ++i)
        dir.write(QString("music/f%1/s%2.mp3").arg(i / 5).arg(i), "x");
    scan(root + "music/", 1);
    bool pressed = false;
    // At the import's first turn of the event loop.
    QTimer::singleShot(0, &window, [&] {
        pressed = state.importRunning;
        window.clearScanClicked();
        window.scanClicked();
        window.addToCatalogClicked();
    });
    window.addToCatalogClicked();
    EXPECT_TRUE(pressed);
    EXPECT_EQ(count("Mp3"), 100);
    EXPECT_EQ(window.tree().nodeCount(), 120);
    EXPECT_FALSE(state.importRunning);
}

TEST_F(ScanWindowTest, CancelDuringTheImportStopsItAndWhatItAddedStays) {
    openCatalog();
    for (int i = 0; i < 100; ++i)
        dir.write(QString("music/f%1/s%2.mp3").arg(i / 5).arg(i), "x");
    scan(root + "music/", 1);
    window.show();
    // The import's first write waits until the button was pressed.
    test::CatalogWriteHold hold(state.catalog.connection.fileName());
    ASSERT_TRUE(hold.held());
    QString caption;
    QTimer::singleShot(0, &window, [&] {
        caption = window.cancelButton->text();
        window.cancelButton->click();
        hold.release();
    });
    window.addToCatalogClicked();
    EXPECT_EQ(caption, "Stop &import");
    EXPECT_EQ(window.cancelButton->text(), "&Cancel");
    EXPECT_TRUE(window.isVisible());
    EXPECT_LT(count("Mp3"), 100);
    ASSERT_EQ(services.ui.transcript.size(), 1u);
    EXPECT_TRUE(services.ui.transcript[0].text.startsWith("The import was stopped: "))
        << services.ui.transcript[0].text.toStdString();
}

TEST_F(ScanWindowTest, TheFolderBrowserHoverCaptionsAndTreeMouse) {
    services.ui.folders = {QString(), root + "music/"};
    window.pathScan->setText("/keep/");
    window.drivePictureClicked();
    EXPECT_EQ(window.pathScan->text(), "/keep/");
    window.drivePictureClicked();
    EXPECT_EQ(window.pathScan->text(), root + "music/");
    EXPECT_EQ(services.ui.transcript[0].title, "Selecciona un directorio");

    window.collectOptionHovered(0);
    window.collectOptionHovered(1);
    window.clearScanHovered();
    EXPECT_TRUE(window.collectOptions[0]->font().bold());
    window.windowMouseMoved();
    EXPECT_FALSE(window.collectOptions[0]->font().bold());
    EXPECT_TRUE(window.collectOptions[1]->font().bold()); // the selected one stays
    EXPECT_FALSE(window.clearScanButton->font().bold());

    dir.write("music/a.m3u", "");
    scan(root + "music/", 0);
    window.show();
    window.scanTreeView->expandAll();
    QStringList played;
    window.hooks.PlayKey = [&](const QString& p) { played << p; };
    const QModelIndex folder = window.model()->index(0, 0);
    window.scanTreeDoubleClicked(folder);
    window.scanTreeDoubleClicked(window.model()->index(0, 0, folder));
    EXPECT_EQ(played, QStringList{root + "music/a.m3u"});

    QPoint at;
    window.hooks.popupScanMenu = [&](ScanNode& n, const QPoint& p) {
        played << n.key();
        at = p;
    };
    const QRect r = window.scanTreeView->visualRect(folder);
    window.scanTreeMouseDown(r.center());
    EXPECT_EQ(played.last(), root + "music/");
    EXPECT_EQ(window.scanTreeView->currentIndex(), folder);
    EXPECT_EQ(at, window.scanTreeView->viewport()->mapToGlobal(r.center()) + QPoint(26, 66));
}

} // namespace

namespace {

QStringList MenuItems(const QMenu* menu) {
    QStringList items;
    for (const QAction* a : menu->actions())
        items << (a->isSeparator() ? "-" : (a->isEnabled() ? "" : "x") + a->text());
    return items;
}

TEST_F(ScanWindowTest, TheScanMenuPlaysShowsEditsAndTakesNodesOutOfTheScanTreeOnly) {
    openCatalog();
    dir.write("music/a.m3u", "x");
    dir.write("music/b.m3u", "y");
    scan(root + "music/", 0);
    window.show();
    ScanWindowMenu& menu = *window.scanMenu;
    EXPECT_EQ(MenuItems(menu.scanNodeMenu),
              QStringList({"Play with Winamp", "Delete", "Open Folder", "xProperties", "-",
                           "H.D Modify !"}));
    EXPECT_EQ(MenuItems(menu.scanNodeFilesMenu), QStringList({"Edit M3u", "xRename"}));

    QMenu* shownMenu = nullptr;
    menu.show = [&](QMenu* m, const QPoint&) { shownMenu = m; };
    window.scanTreeView->expandAll();
    const QModelIndex folder = window.model()->index(0, 0);
    const QModelIndex first = window.model()->index(0, 0, folder);
    window.scanTreeMouseDown(window.scanTreeView->visualRect(first).center());
    EXPECT_EQ(shownMenu, menu.scanNodeMenu);
    const QString a = root + "music/a.m3u";
    ASSERT_EQ(menu.nodeKey, a);

    QStringList played;
    window.hooks.PlayKey = [&](const QString& p) { played << p; };
    menu.playNodeClicked();
    menu.openNodeFolderClicked();
    menu.editNodePlaylistClicked();
    EXPECT_EQ(played, QStringList(a));
    EXPECT_EQ(services.launcher.openedFolders, QStringList(root + "music/"));
    EXPECT_EQ(services.launcher.editedFiles, QStringList(a));

    menu.deleteNodeClicked();
    EXPECT_EQ(window.tree().find(a), nullptr);
    EXPECT_NE(window.tree().find(root + "music/b.m3u"), nullptr);
    EXPECT_TRUE(QFile::exists(a));
    EXPECT_EQ(count("M3u"), 0);
}

} // namespace
