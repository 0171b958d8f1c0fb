#include "MainFixture.h"
#include "support/WindowParts.h"

#include "browser/TrackListModel.h"
#include "browserui/LibraryBrowser.h"
#include "catalog/engine/Connection.h"
#include "catalog/engine/Recordset.h"
#include "dialogs/ScanWindow.h"
#include "support/Id3Builder.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

using namespace tarl;

namespace {

class ScanWiring : public tarl::test::MainFixture {
protected:
    MainWindow& started(const QString& catalog = QStringLiteral("tarl.mdb")) {
        const QString file = newCatalog(catalog);
        writeIni("[Database]\nPath=" + file.toUtf8() + "\n");
        services.drives.addDrive(home.path(), DriveType::Fixed);
        MainWindow& w = start();
        w.startUp();
        return w;
    }
    // Writes a tagged MP3 file under the program folder.
    void writeSong(const QString& path, const QString& title) {
        home.write(path, tarl::test::Id3Builder(3).text("TIT2", title).audio(4).build());
    }
    // File > Scan Drive: scans `folder`, adds it to the catalog, answers the box (the test's Ui
    // does) and closes the scan window with its Cancel button.
    void scanAndAdd(MainWindow& w, const QString& folder) {
        QTimer::singleShot(0, &w, [&w, folder] {
            w.findChild<ScanWindow*>()->pathScan->setText(folder);
            w.findChild<ScanWindow*>()->scanButton->click();
            w.findChild<ScanWindow*>()->addToCatalogButton->click();
            w.findChild<ScanWindow*>()->cancelButton->click();
        });
        test::Part<QAction>(w, "scanAction")->trigger();
    }
    // The library tree's first node whose text starts with `text`, at any depth; invalid when
    // none.
    static QModelIndex row(const QAbstractItemModel& model, const QString& text,
                           const QModelIndex& parent = {}) {
        for (int r = 0; r < model.rowCount(parent); ++r) {
            const QModelIndex index = model.index(r, 0, parent);
            if (index.data().toString().startsWith(text))
                return index;
            if (const QModelIndex below = row(model, text, index); below.isValid())
                return below;
        }
        return {};
    }
    qint64 tracks() {
        Recordset rows;
        EXPECT_TRUE(state->catalog.connection.execute("SELECT COUNT(*) FROM Mp3", rows));
        return rows.field(0).toLongLong();
    }
};

TEST_F(ScanWiring, TheMenuAndToolbarOpenTheScanWindowModally) {
    MainWindow& w = started();
    ASSERT_TRUE(test::Part<QAction>(w, "scanAction")->isEnabled());
    ASSERT_TRUE(test::Part<QAction>(w, "toolbarButton4")->isEnabled());
    int opened = 0;
    auto closeWhenShown = [&] {
        QTimer::singleShot(0, &w, [&] {
            ASSERT_NE(w.findChild<ScanWindow*>(), nullptr);
            EXPECT_TRUE(w.findChild<ScanWindow*>()->isModal());
            EXPECT_TRUE(w.findChild<ScanWindow*>()->isVisible());
            ++opened;
            w.findChild<ScanWindow*>()->cancelButton->click();
        });
    };
    closeWhenShown();
    test::Part<QAction>(w, "scanAction")->trigger();
    closeWhenShown();
    test::Part<QAction>(w, "toolbarButton4")->trigger();
    EXPECT_EQ(opened, 2);
    EXPECT_FALSE(w.findChild<ScanWindow*>()->isVisible());
}

TEST_F(ScanWiring, AnImportFromTheScanWindowShowsInTheTreeOfTheViewShown) {
    const struct {
        const char* view;
        bool byPaths;
    } views[] = {{"paths", true}, {"styles", false}};
    for (const auto& view : views) {
        SCOPED_TRACE(view.view);
        MainWindow& w = started(QString(view.view) + ".mdb");
        EXPECT_FALSE(
            test::Part<QAction>(w, "toolbarButton0")->isEnabled()); // "Ini" does nothing yet
        ASSERT_TRUE(view.byPaths ? test::Part<LibraryBrowser>(w, "browser")->showTreeByPaths()
                                 : test::Part<LibraryBrowser>(w, "browser")->showTreeByStyle());
        const QAbstractItemModel& tree = *test::Part<QTreeView>(w, "treeView")->model();
        const QString music = home.path() + "/" + view.view + "/";
        writeSong(QString(view.view) + "/rock/a.mp3", "A");
        writeSong(QString(view.view) + "/rock/b.mp3", "B");

        scanAndAdd(w, music);
        EXPECT_FALSE(w.findChild<ScanWindow*>()->isVisible());
        EXPECT_EQ(services.ui.transcript.back().text, "Updated Data Base");
        EXPECT_EQ(state->sortedByCd, view.byPaths);
        const QModelIndex rock = row(tree, "rock");
        ASSERT_TRUE(rock.isValid());

        // The selected node stays selected through the next import, its list filled again.
        test::Part<QTreeView>(w, "treeView")->setCurrentIndex(rock);
        const QString rockKey = test::Part<LibraryBrowser>(w, "browser")->selectedNode()->key;
        writeSong(QString(view.view) + "/pop/c.mp3", "C");
        scanAndAdd(w, music);
        EXPECT_TRUE(row(tree, "pop").isValid());
        ASSERT_NE(test::Part<LibraryBrowser>(w, "browser")->selectedNode(), nullptr);
        EXPECT_EQ(test::Part<LibraryBrowser>(w, "browser")->selectedNode()->key, rockKey);
        EXPECT_EQ(test::Part<LibraryBrowser>(w, "browser")->trackModel()->rowCount(), 2);
    }
}

TEST_F(ScanWiring, ReScanImportsTheSelectedFolderAndRefillsTheList) {
    MainWindow& w = started();
    const QString music = home.path() + "/music/";
    home.write("music/rock/a.mp3", "x");
    // The volume and its list as an earlier scan left them, before b.mp3 was added.
    ASSERT_TRUE(state->catalog.connection.execute(
        "INSERT INTO CD (name, m3us, label, isCd) VALUES ('" + music + "', 1, 'EOF', '0')"));
    ASSERT_TRUE(state->catalog.connection.execute("INSERT INTO M3u (path, file, cd_id) VALUES ('" +
                                                  music + "', 'rock/', 1)"));
    home.write("music/rock/b.mp3", "x");
    ASSERT_TRUE(test::Part<LibraryBrowser>(w, "browser")->showTreeByPaths());
    ASSERT_TRUE(test::Part<LibraryBrowser>(w, "browser")->selectFolderNode(music + "rock/"));

    test::Part<QAction>(w, "toolbarButton6")->trigger();
    EXPECT_EQ(tracks(), 2);
    ASSERT_FALSE(services.ui.transcript.empty());
    EXPECT_EQ(services.ui.transcript.back().text, "Updated Data Base");
    EXPECT_EQ(w.findChild<ScanWindow*>(), nullptr); // no scan window was made for it
    ASSERT_NE(test::Part<LibraryBrowser>(w, "browser")->selectedNode(), nullptr);
    EXPECT_EQ(test::Part<LibraryBrowser>(w, "browser")->selectedNode()->key, music + "rock/");
    EXPECT_EQ(test::Part<LibraryBrowser>(w, "browser")->trackModel()->rowCount(), 2);
}

} // namespace

namespace {

// The tracks a catalog file holds, read on a connection of its own.
qint64 TracksIn(const QString& file) {
    Connection c;
    Recordset rows;
    if (!c.open(file) || !c.execute("SELECT COUNT(*) FROM Mp3", rows))
        return -1;
    return rows.field(0).toLongLong();
}

TEST_F(ScanWiring, EachImportFromTheScanWindowBacksUpTheCatalogFirstAndGoesOnWithout) {
    MainWindow& w = started();
    const QString catalog = state->dbPath;
    writeSong("music/rock/a.mp3", "A");
    scanAndAdd(w, home.path() + "/music/");
    writeSong("music/pop/b.mp3", "B");
    scanAndAdd(w, home.path() + "/music/");
    EXPECT_EQ(TracksIn(catalog + ".bak1"), 1); // as it was before the second import
    EXPECT_EQ(TracksIn(catalog + ".bak2"), 0);
    EXPECT_EQ(w.statusPanel(1), "");

    // The copy cannot be made (the catalog's name leaves no room for the copy's temporary name,
    // as in a folder that cannot be written): said in the status bar, the import done all the
    // same.
    MainWindow& other = started(QString(230, u'x') + ".mdb");
    const QString named = state->dbPath;
    writeSong("music/jazz/c.mp3", "C");
    scanAndAdd(other, home.path() + "/music/");
    EXPECT_EQ(services.ui.transcript.back().text, "Updated Data Base");
    EXPECT_EQ(tracks(), 3);
    EXPECT_TRUE(
        other.statusPanel(1).startsWith("The backup " + named + ".bak1 could not be written"))
        << other.statusPanel(1).toStdString();
    EXPECT_TRUE(other.statusPanel(1).endsWith("The import went on without it."));
    EXPECT_FALSE(QFileInfo::exists(named + ".bak1"));
}

} // namespace
