#include "../shell/MainFixture.h"
#include "support/WindowParts.h"

#include "browser/LibraryTree.h"
#include "browser/TrackListModel.h"
#include "browserui/LibraryBrowser.h"
#include "browserui/TrackListMenu.h"
#include "browserui/TrackListPlaylists.h"
#include "browserui/TrackListView.h"
#include "desktop/PlaylistSubmenu.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>

using namespace tarl;

namespace {

// A catalog listing three real files of the folder "rock/" and the disc track "cd.mp3" whose
// disc is not in its drive; the window shows the folder.
class TrackListPlaylistsWindow : public tarl::test::MainFixture {
protected:
    void SetUp() override {
        MainFixture::SetUp();
        music = home.file("music/");
        lists = home.file("lists/");
        const QString file = newCatalog();
        writeIni("[Database]\nPath=" + file.toUtf8() + "\n");
        services.drives.addDrive("/", DriveType::Fixed);
        MainWindow& w = start();
        w.startUp();
        run("INSERT INTO CD (name,m3us,label,isCd) VALUES ('" + music + "',1,'EOF','0')");
        run("INSERT INTO M3u (path,file,cd_id) VALUES ('" + music + "','rock/',1)");
        for (const char* name : {"a.mp3", "b & c.mp3", "d.mp3"}) {
            home.write(QStringLiteral("music/rock/") + name, "x");
            run("INSERT INTO Mp3 (path,file,m3u_id,title,artist,time) VALUES ('" + music +
                "rock/','" + name + "',1,'T','A',60)");
        }
        run("INSERT INTO Mp3 (path,file,m3u_id) VALUES ('/media/cd/','cd.mp3',1)");
        ASSERT_TRUE(browser().showTreeByPaths());
        ASSERT_TRUE(browser().selectFolderNode(music + "rock/"));
        ASSERT_EQ(browser().trackModel()->rowCount(), 4);
    }
    void run(const QString& statement) {
        EXPECT_TRUE(state->catalog.connection.execute(statement))
            << state->catalog.connection.lastError().toStdString();
    }
    LibraryBrowser& browser() { return *test::Part<LibraryBrowser>(*window, "browser"); }
    PlaylistSubmenu& submenu() {
        return *test::Part<TrackListMenu>(*window, "trackListMenu")->playlists->menu;
    }
    QStringList entries() {
        submenu().rebuild();
        QStringList shown;
        for (QAction* a : submenu().actions())
            shown << (a->isSeparator() ? "-" : a->text());
        return shown;
    }

    QString music, lists;
};

TEST_F(TrackListPlaylistsWindow, ANewPlaylistOfTheSelectedRowsIsWrittenAndShowsInTheTree) {
    EXPECT_EQ(submenu().title(), "Add to playlist");
    EXPECT_EQ(entries(), QStringList({"New playlist…"}));

    // Rows 1 to 3: one of them is on a disc that is not here.
    test::Part<TrackListView>(*window, "trackList")->selectRows({1, 2, 3}, 1);
    services.ui.folders = {lists};
    services.ui.inputs = {QString("Mix & match")};
    submenu().newPlaylistAction()->trigger();
    EXPECT_EQ(services.ui.titles(), QStringList({"Folder for your playlists (Cancel keeps "
                                                 "~/Music/Playlists)",
                                                 "New Playlist"}));
    EXPECT_EQ(home.read("lists/Mix & match.m3u8"),
              "#EXTM3U\n#EXTINF:60,A - T\n../music/rock/b & c.mp3\n#EXTINF:60,A - T\n"
              "../music/rock/d.mp3\n");
    EXPECT_EQ(test::Part<QLabel>(*window, "panel2")->text(),
              "Added 2 tracks to Mix & match.m3u8. 1 track left out: not on this machine (a disc "
              "not in its drive?).");

    // The tree shows the list, and it lists its tracks like any other.
    ASSERT_TRUE(browser().selectFolderNode(lists + "Mix & match.m3u8"));
    EXPECT_EQ(browser().trackModel()->rowCount(), 2);
    EXPECT_EQ(entries(), QStringList({"New playlist…", "-", "Mix && match.m3u8"}));
}

} // namespace
