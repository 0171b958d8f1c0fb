#pragma once

#include <QString>
#include <QStringList>

namespace tarl {

class Files;

// What a play of one path hands the player: the tracks written to the temporary playlist, so
// entry n of the player is always line n of that list, which the now-playing tick reads.
// - A playlist file (".m3u", ".m3u8") gives its entries resolved by the playlist rules
//   (PlaylistTracks), so a list written on Windows plays too.
// - A folder (a path ending in "/") gives the sound files (".mp3", ".wav", ".wma") lying in it,
//   in the order the folder lists them.
// - Any other path is one track.
// False with a sentence for the user in *error when nothing can be played: the playlist or
// folder cannot be read, or it holds no track.
bool TracksToPlay(const Files& files, const QString& target, QStringList* tracks, QString* error);

} // namespace tarl
