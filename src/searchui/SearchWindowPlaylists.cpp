// The search window's "Add to playlist" submenu on the hit menu: the selected track hit goes to a
// new or a recent playlist (AddToPlaylist), then the main window's tree is built again.
#include "searchui/SearchWindow.h"

#include "desktop/PlaylistSubmenu.h"
#include "platform/Ui.h"
#include "playlists/AddToPlaylist.h"
#include "playlists/PlaylistSettings.h"
#include "state/AppState.h"

#include <QLabel>

namespace tarl {

void SearchWindow::buildPlaylistMenu() {
    addToPlaylistMenu =
        new PlaylistSubmenu([this] { return RecentPlaylists(state_.settings); },
                            [this](const QString& name) { addHitToPlaylist(name); }, hitMenu);
    hitMenu->addMenu(addToPlaylistMenu);
}

void SearchWindow::addHitToPlaylist(const QString& recent) {
    const SearchRow* hit = selectedHit();
    if (!hit || !hit->isTrack())
        return;
    const std::vector<qint64> ids{hit->columns[SearchTrackIdColumn].toLongLong()};
    const Result<PlaylistAdded> added = AddToPlaylist(state_, recent, ids);
    if (!added)
        state_.services.ui.message(added.error, AddToPlaylistTitle, MsgIcon::Exclamation,
                                   MsgButtons::Ok);
    else if (!added.value.sentence.isEmpty())
        statusPanel_->setText(added.value.sentence);
    if (added.value.filed && hooks_.playlistFiled)
        hooks_.playlistFiled();
}

} // namespace tarl
