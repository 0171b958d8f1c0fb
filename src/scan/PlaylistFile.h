#pragma once

#include "text/Result.h"

#include <QString>
#include <QStringList>

namespace tarl {

// The folder part of the first entry of a playlist's lines, as SplitPlaylistEntry gives it with
// no playlist folder: relative entries stay relative to the playlist's folder ("rock/live/" for
// "rock\live\a.mp3", "" for "a.mp3"); absolute ones keep their folder. The whole line counts,
// commas included. "" when the lines hold no entry (comment lines never are entries).
QString FirstEntryFolderOf(const QStringList& lines);

// FirstEntryFolderOf the playlist file at `playlistPath`. Failed, with "Error reading file: " +
// path and the folder "", when the file could not be read; the window shows that sentence in an
// error box (OK) with the application's title.
Result<QString> FirstEntryFolder(const QString& playlistPath);

// The tracks of the playlist file at `playlistPath`, in its order: each entry resolved by
// SplitPlaylistEntry against the playlist's own folder, as the catalog files them (a list written
// on Windows holding "sub\a.mp3" gives "<its folder>sub/a.mp3"). Failed, with the reason and no
// track, when the file cannot be read whole.
Result<QStringList> PlaylistTracks(const QString& playlistPath);

} // namespace tarl
