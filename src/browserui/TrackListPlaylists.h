#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QMenu;

namespace tarl {

struct AppState;
class LibraryBrowser;
class PlaylistSubmenu;
class TrackListView;

// The track list menu's "Add to playlist" submenu: the selected rows' tracks go to a new or a
// recent playlist (AddToPlaylist). What came of it is said in status panel 2, a failure in a box;
// once the catalog filed the playlist, `playlistFiled` lets the window build its tree again.
class TrackListPlaylists : public QObject {
    Q_OBJECT
public:
    // The submenu goes at the end of `into`, which owns it.
    TrackListPlaylists(AppState& state, LibraryBrowser& browser, TrackListView* list,
                       std::function<void(int, const QString&)> setStatus, QMenu* into,
                       QObject* parent = nullptr);

    PlaylistSubmenu* menu = nullptr;
    std::function<void()> playlistFiled;

    // The selected rows to the recent playlist `recent`, or to a new one ("").
    void addSelected(const QString& recent);

private:
    AppState& state_;
    LibraryBrowser& browser_;
    TrackListView* list_;
    std::function<void(int, const QString&)> setStatus_;
};

} // namespace tarl
