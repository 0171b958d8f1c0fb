#include "browserui/TrackListPlaylists.h"

#include "browser/TrackListModel.h"
#include "browserui/LibraryBrowser.h"
#include "browserui/TrackListView.h"
#include "desktop/PlaylistSubmenu.h"
#include "platform/Ui.h"
#include "playlists/AddToPlaylist.h"
#include "playlists/PlaylistSettings.h"
#include "state/AppState.h"

#include <utility>

namespace tarl {

TrackListPlaylists::TrackListPlaylists(AppState& state, LibraryBrowser& browser,
                                       TrackListView* list,
                                       std::function<void(int, const QString&)> setStatus,
                                       QMenu* into, QObject* parent)
    : QObject(parent), state_(state), browser_(browser), list_(list),
      setStatus_(std::move(setStatus)) {
    menu = new PlaylistSubmenu([this] { return RecentPlaylists(state_.settings); },
                               [this](const QString& name) { addSelected(name); }, into);
    into->addMenu(menu);
}

void TrackListPlaylists::addSelected(const QString& recent) {
    std::vector<qint64> ids;
    const TrackListModel& model = *browser_.trackModel();
    for (const int row : list_->selectedRows())
        ids.push_back(model.row(row).columns[ColId].toLongLong());
    const Result<PlaylistAdded> added = AddToPlaylist(state_, recent, ids);
    if (!added)
        state_.services.ui.message(added.error, AddToPlaylistTitle, MsgIcon::Exclamation,
                                   MsgButtons::Ok);
    else if (!added.value.sentence.isEmpty() && setStatus_)
        setStatus_(2, added.value.sentence);
    if (added.value.filed && playlistFiled)
        playlistFiled();
}

} // namespace tarl
