#include "MainFixture.h"
#include "support/WindowParts.h"

#include "browserui/LibraryBrowser.h"
#include "history/Favorites.h"
#include "shell/FavoritesDialog.h"
#include "shell/FavoritesMenu.h"

#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

using namespace tarl;
using M = tarl::test::FakePlayerLink::Call;

namespace {

// A started window over a catalog with one folder of three tracks, a player program, and two
// favourites: one of the folder's second song, one of a folder the catalog no longer has.
class FavoritesWindow : public tarl::test::MainFixture {
protected:
    MainWindow& started() {
        const QString file = newCatalog();
        const QString program = home.file("bin/mpv");
        home.write("bin/mpv", "#!/bin/sh\n");
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        writeIni("[Database]\nPath=" + file.toUtf8() + "\n[Player]\nPath=" + program.toUtf8() +
                 "\n");
        services.drives.addDrive(home.path(), DriveType::Fixed);
        MainWindow& w = start();
        w.startUp();
        test::Part<QTimer>(w, "playerTimer")->stop(); // the test drives the player by hand
        rock = home.path() + "/music/rock/";
        const QString music = home.path() + "/music/";
        run("INSERT INTO CD (name, m3us, label, isCd) VALUES ('" + music + "', 1, 'EOF', '0')");
        run("INSERT INTO M3u (path, file, cd_id) VALUES ('" + music + "', 'rock/', 1)");
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) {
            home.write(QStringLiteral("music/rock/") + name, "x");
            run("INSERT INTO Mp3 (path, file, m3u_id) VALUES ('" + rock + "', '" + name + "', 1)");
        }
        EXPECT_TRUE(test::Part<LibraryBrowser>(w, "browser")->showTreeByPaths());
        EXPECT_TRUE(
            WriteFavorites(state->programFolder, {{"Gone & lost", "/m/gone/", 0, "a.mp3", 1},
                                                  {"Rock two", rock, 1, "b.mp3", 42}}));
        services.player.launches.clear(); // the start-up's own
        return w;
    }
    void run(const QString& statement) {
        EXPECT_TRUE(state->catalog.connection.execute(statement))
            << state->catalog.connection.lastError().toStdString();
    }
    QStringList captions(MainWindow& w) {
        test::Part<FavoritesMenu>(w, "favorites")->rebuild();
        QStringList shown;
        for (QAction* a : test::Part<QMenu>(w, "favoritesMenu")->actions())
            if (a->isVisible())
                shown << (a->isSeparator() ? "-" : a->text());
        return shown;
    }

    QString rock;
};

TEST_F(FavoritesWindow, TheMenuListsThemAndOnePlaysAgainOrSaysItsFolderIsGone) {
    MainWindow& w = started();
    EXPECT_EQ(captions(w), QStringList({"Add to favorites", "-", "1)  Gone && lost", "2)  Rock two",
                                        "-", "Organise favorites…"}));

    test::Part<QAction>(w, "favoriteAction0")->trigger();
    ASSERT_EQ(services.ui.transcript.size(), 1u);
    EXPECT_EQ(services.ui.transcript[0].text,
              "The folder of the favorite \"Gone & lost\" is no longer in the library: /m/gone/");
    EXPECT_EQ(services.ui.transcript[0].title, "Not Found");
    EXPECT_TRUE(services.player.launches.isEmpty());

    services.player.launchStarts = true;
    services.player.sent.clear();
    test::Part<QAction>(w, "favoriteAction1")->trigger();
    ASSERT_EQ(services.player.launches.size(), 1);
    const std::vector<M> resume{{4242, "selectEntry", 1}, {4242, "play"}, {4242, "seekTo", 42000}};
    EXPECT_EQ(services.player.sent, resume);

    ASSERT_TRUE(WriteFavorites(state->programFolder, {}));
    EXPECT_EQ(captions(w),
              QStringList({"Add to favorites", "-", "(no favorites)", "-", "Organise favorites…"}));
    EXPECT_FALSE(test::Part<QAction>(w, "firstFavoriteAction")->isEnabled());
}

TEST_F(FavoritesWindow, TheDialogRenamesMovesAndRemovesAndTheMenuFollows) {
    MainWindow& w = started();
    FavoritesDialog dialog(*state, &w);
    ASSERT_EQ(dialog.favoritesList->count(), 2);
    EXPECT_FALSE(dialog.upButton->isEnabled()); // the first is selected

    services.ui.inputs = {QString("Found again")};
    dialog.renameButton->click();
    EXPECT_EQ(services.ui.transcript.back().extra, "Gone & lost");
    dialog.downButton->click();
    EXPECT_EQ(dialog.favoritesList->currentRow(), 1);
    EXPECT_FALSE(dialog.downButton->isEnabled());
    EXPECT_EQ(captions(w), QStringList({"Add to favorites", "-", "1)  Rock two", "2)  Found again",
                                        "-", "Organise favorites…"}));
    dialog.removeButton->click();
    dialog.removeButton->click();
    EXPECT_FALSE(dialog.removeButton->isEnabled());
    EXPECT_TRUE(ReadFavorites(state->programFolder).value.isEmpty());
    EXPECT_EQ(captions(w).at(2), "(no favorites)");
}

} // namespace
