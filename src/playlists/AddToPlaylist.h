#pragma once

#include "text/Result.h"

#include <QString>
#include <vector>

namespace tarl {

struct AppState;

// "Add to playlist" of the track list and the search window: the tracks picked (by catalog id)
// go into a playlist file in the playlists folder (PlaylistSettings), which is then filed in the
// catalog (FilePlaylist). The questions go through the Ui service; nothing here shows the outcome.
//
// - The playlists folder is asked once, through the folder browser (Cancel keeps
//   ~/Music/Playlists), kept in the settings and made when missing.
// - `recent` "" is "New playlist…": the name is asked (Cancel ends it, nothing written), refused
//   with a sentence when it is no plain file name (PlaylistFileName), and a playlist of that name
//   is replaced only when the person says so. Otherwise `recent` is a recent playlist's file name:
//   the tracks are added after its entries (it is made again when it was deleted meanwhile).
// - A track whose file is not on this machine (a disc not in its drive, a share not mounted:
//   the catalog's path taken through the PathMap) is left out and counted; when every one is, no
//   file is written.
// - The playlist becomes the newest recent one once written.
struct PlaylistAdded {
    // For the status bar: how many tracks went where, and how many were left out. "" when the
    // person cancelled.
    QString sentence;
    // The catalog filed the playlist: the library tree is to be built again.
    bool filed = false;
};

// Failed, with a sentence for a box, when nothing could be done (a refused name, no track on this
// machine, a folder or file that cannot be written) or when the playlist was written but the
// catalog could not file it.
Result<PlaylistAdded> AddToPlaylist(AppState& state, const QString& recent,
                                    const std::vector<qint64>& trackIds);

// The boxes' title.
inline const QString AddToPlaylistTitle = QStringLiteral("Add to Playlist");

} // namespace tarl
