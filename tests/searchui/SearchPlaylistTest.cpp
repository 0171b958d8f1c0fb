#include "FindFixture.h"
#include "support/WindowParts.h"

#include "browser/LibraryTree.h"
#include "desktop/PlaylistSubmenu.h"
#include "playlists/PlaylistSettings.h"
#include "state/AppState.h"

#include <QAction>
#include <QMenu>

using namespace tarl;

namespace {

class SearchPlaylist : public tarl::test::FindFixture {};

TEST_F(SearchPlaylist, AHitGoesToARecentPlaylistAndTheTreeShowsIt) {
    SearchWindow& f = opened();
    const QString lists = home.file("lists/");
    SetPlaylistsFolder(state->settings, lists);
    RememberPlaylist(state->settings, "Evening.m3u8");
    home.write("lists/Evening.m3u8", "#EXTM3U\nold.mp3\n");
    auto* submenu = static_cast<PlaylistSubmenu*>(f.addToPlaylistMenu);
    ASSERT_TRUE(f.hitMenu->actions().contains(submenu->menuAction()));
    submenu->rebuild();
    ASSERT_EQ(submenu->actions().size(), 3);
    EXPECT_EQ(submenu->actions()[2]->text(), "Evening.m3u8");

    // A hit on a disc that is not in its drive: nothing written, and the box says why.
    search(f, "Love", SearchField::File);
    f.results->setCurrentIndex(f.model().index(0, 0));
    test::Part<QAction>(*submenu, "recentPlaylistAction0")->trigger();
    ASSERT_EQ(services.ui.transcript.size(), 1u);
    EXPECT_EQ(services.ui.transcript[0].title, "Add to Playlist");
    EXPECT_TRUE(services.ui.transcript[0].text.startsWith("None of the tracks is on this machine"));
    EXPECT_EQ(home.read("lists/Evening.m3u8"), "#EXTM3U\nold.mp3\n");

    search(f, "Elan", SearchField::Title);
    f.results->setCurrentIndex(f.model().index(0, 0));
    submenu->rebuild();
    test::Part<QAction>(*submenu, "recentPlaylistAction0")->trigger();
    EXPECT_EQ(home.read("lists/Evening.m3u8"),
              "#EXTM3U\nold.mp3\n#EXTINF:-1,DJ Mixer - Elan\n../music/Jazz/02 Elan.mp3\n");
    EXPECT_EQ(f.statusText(), "Added 1 track to Evening.m3u8.");
    EXPECT_TRUE(
        test::Part<LibraryBrowser>(*window, "browser")->tree().NodeExists(lists + "Evening.m3u8"));
}

} // namespace
