#include "MainFixture.h"

#include "browser/LibraryBrowser.h"
#include "browser/TrackListModel.h"
#include "catalog/Recordset.h"
#include "dialogs/ScanFiles.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace tarl;

namespace {

class ScanWiring : public tarl::test::MainFixture {
protected:
    Main& started() {
        const QString file = newCatalog();
        writeIni("[Database]\nPath=" + file.toUtf8() + "\n");
        services.drives.addDrive(home.path(), DriveType::Fixed);
        Main& w = start();
        w.Form_Load();
        return w;
    }
    qint64 tracks() {
        Recordset rows;
        EXPECT_TRUE(state->catalog.connection.execute("SELECT COUNT(*) FROM Mp3", rows));
        return rows.field(0).toLongLong();
    }
};

TEST_F(ScanWiring, TheMenuAndToolbarOpenTheScanWindowModally) {
    Main& w = started();
    ASSERT_TRUE(w.mnuScanDrive->isEnabled());
    ASSERT_TRUE(w.toolbarButtons[4]->isEnabled());
    int opened = 0;
    auto closeWhenShown = [&] {
        QTimer::singleShot(0, &w, [&] {
            ASSERT_NE(w.scanFiles, nullptr);
            EXPECT_TRUE(w.scanFiles->isModal());
            EXPECT_TRUE(w.scanFiles->isVisible());
            ++opened;
            w.scanFiles->butCancel->click();
        });
    };
    closeWhenShown();
    w.mnuScanDrive->trigger();
    closeWhenShown();
    w.toolbarButtons[4]->trigger();
    EXPECT_EQ(opened, 2);
    EXPECT_FALSE(w.scanFiles->isVisible());
}

TEST_F(ScanWiring, ReScanImportsTheSelectedFolderAndRefillsTheList) {
    Main& w = started();
    const QString music = home.path() + "/music/";
    home.write("music/rock/a.mp3", "x");
    // The volume and its list as an earlier scan left them, before b.mp3 was added.
    ASSERT_TRUE(state->catalog.connection.execute(
        "INSERT INTO CD (name, m3us, label, isCd) VALUES ('" + music + "', 1, 'EOF', '0')"));
    ASSERT_TRUE(state->catalog.connection.execute("INSERT INTO M3u (path, file, cd_id) VALUES ('" +
                                                  music + "', 'rock/', 1)"));
    home.write("music/rock/b.mp3", "x");
    ASSERT_TRUE(w.browser->tree_cd_load());
    ASSERT_TRUE(w.browser->SelectFolderNode(music + "rock/"));

    w.toolbarButtons[6]->trigger();
    EXPECT_EQ(tracks(), 2);
    ASSERT_FALSE(services.ui.transcript.empty());
    EXPECT_EQ(services.ui.transcript.back().text, "Updated Data Base");
    EXPECT_FALSE(w.scanFiles->isVisible());
    ASSERT_NE(w.browser->selectedNode(), nullptr);
    EXPECT_EQ(w.browser->selectedNode()->key, music + "rock/");
    EXPECT_EQ(w.browser->trackModel()->rowCount(), 2);
}

} // namespace
