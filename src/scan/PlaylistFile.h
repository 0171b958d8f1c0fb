#pragma once

#include <QString>
#include <QStringList>

namespace tarl {

class Ui;

// The folder part of the first entry of a playlist's lines, as SplitPlaylistEntry gives it with
// no playlist folder: relative entries stay relative to the playlist's folder ("rock/live/" for
// "rock\live\a.mp3", "" for "a.mp3"); absolute ones keep their folder. The whole line counts,
// commas included. "" when the lines hold no entry (comment lines never are entries).
QString FirstEntryFolderOf(const QStringList& lines);

// FirstEntryFolderOf the playlist file at `playlistPath`. A file that cannot be read is reported
// with "Error reading file: " + path in an error box with the application's title `title`, and
// gives "".
QString FirstEntryFolder(const QString& playlistPath, Ui& ui, const QString& title);

} // namespace tarl
