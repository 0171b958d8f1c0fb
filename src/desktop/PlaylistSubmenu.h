#pragma once

#include <QMenu>
#include <QStringList>
#include <functional>

class QAction;

namespace tarl {

// The "Add to playlist" submenu the track list's and the search window's menus share: "New
// playlist…", a separator, then the recent playlists by name (as MenuCaptions), made again from
// `recent` each time the menu opens. A choice is handed to `chosen` with the playlist's name, ""
// for a new one; what it does is the window's.
class PlaylistSubmenu : public QMenu {
    Q_OBJECT
public:
    PlaylistSubmenu(std::function<QStringList()> recent,
                    std::function<void(const QString& name)> chosen, QWidget* parent = nullptr);

    // Makes the entries again from `recent`.
    void rebuild();
    QAction* newPlaylistAction() const { return newPlaylist_; }

private:
    std::function<QStringList()> recent_;
    std::function<void(const QString&)> chosen_;
    QAction* newPlaylist_ = nullptr;
};

} // namespace tarl
