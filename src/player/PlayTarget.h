#pragma once

#include "text/Result.h"

#include <QString>
#include <QStringList>

namespace tarl {

class Files;

// What a play of one path hands the player: the tracks written to the temporary playlist, so
// entry n of the player is always line n of that list, which the now-playing tick reads.
// - A playlist file (".m3u", ".m3u8") gives its entries resolved by the playlist rules
//   (PlaylistTracks), so a list written on Windows plays too.
// - A folder (a path ending in "/", or in "/." as the tree keys the tracks lying directly in a
//   folder that is also a volume) gives the sound files of every format the import knows
//   (FormatOfFileName: MP3, WAV, WMA, FLAC, Ogg, M4A) lying in it, in the order the folder
//   lists them.
// - Any other path is one track.
// Fails with a sentence for the user when nothing can be played: the playlist or folder cannot
// be read, or it holds no track.
Result<QStringList> TracksToPlay(const Files& files, const QString& target);

} // namespace tarl
