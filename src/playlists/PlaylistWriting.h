#pragma once

#include "text/Result.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace tarl {

// The playlist files "Add to playlist" writes: extended M3U in UTF-8 (".m3u8"), lines ended by
// LF, "#EXTM3U" first, then for each track an "#EXTINF:<seconds>,<artist> - <title>" line when
// its artist or title is known (-1 seconds when its length is not) and its entry. An entry is
// the track's path relative to the playlist's folder with "/" separators ("a.mp3",
// "../Rock/a.mp3"), written so that every reader of playlists (Tarl's own, PlaylistText, and the
// players) takes it back as that track:
// - a path starting with "#" (a comment to every reader) or a blank (dropped by players), or
//   whose first part holds ":" (read as a drive or an address), gets "./" before it;
// - a path holding a control character (a line break would split the entry), a "\" (a
//   separator to readers of lists written on Windows) or ending in a blank is written as the
//   "file://" URL of its absolute path (FileUrlOf), which every reader decodes exactly.
// Tracks are files of this machine, at absolute local paths.

struct PlaylistTrack {
    QString path; // absolute, local
    QString artist;
    QString title;
    qint64 seconds = 0; // 0: not known
};

// The entry of the track at `trackPath` in a playlist in `playlistFolder` (ending in "/").
QString PlaylistEntryFor(const QString& trackPath, const QString& playlistFolder);

// The "#EXTINF:" line of a track; "" when neither its artist nor its title is known. Control
// characters in the tags are written as spaces.
QString ExtinfLine(const PlaylistTrack& track);

// The bytes of a playlist in `playlistFolder` holding `lines` (an existing playlist's lines as
// read, kept as they are; "#EXTM3U" put before them when they do not start with it) followed by
// the lines of `tracks`.
QByteArray PlaylistBytes(const QStringList& lines, const QList<PlaylistTrack>& tracks,
                         const QString& playlistFolder);

// Writes the playlist at `path` holding `tracks`, after the lines of the file already there when
// `append` (a file that is missing counts as empty). The file is replaced atomically
// (ReplaceFile). Fails with the reason when an existing file cannot be read (it is then left as
// it is) or the new one cannot be written.
Result<> WritePlaylist(const QString& path, const QList<PlaylistTrack>& tracks, bool append);

// The file name of a playlist the person named: the typed name without blanks at its ends,
// ".m3u8" added unless it ends so already (in any case). A name that is not a plain file name is
// refused with a sentence: an empty one, one of dots alone, one holding "/", "\" or a control
// character, one longer than a file name may be.
Result<QString> PlaylistFileName(const QString& typed);

} // namespace tarl
