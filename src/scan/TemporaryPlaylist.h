#pragma once

#include "text/Result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tarl {

// The temporary playlist m3uTmp.m3u: the list of tracks the player was last started with, one
// full native track path per line, UTF-8, lines ended by CRLF, no header. Entry n of the player's
// playlist is line n (from 0), so the file holds only lines the player (mpv) takes as entries:
// - a path the player would not read back as written (a line break in it, blanks at its ends,
//   a leading "#" or "file:") is written as a "file://" URL, which the player decodes and the
//   readers below decode back;
// - a path that cannot be an entry at all is left out: an empty one, one holding a NUL (no file
//   name can), or one that is not absolute (a URL, "edl://...", a relative name), which the
//   player would fetch or build instead of opening a local file.

// programFolder (ending in "/") + "m3uTmp.m3u".
QString TemporaryPlaylistPath(const QString& programFolder);

// The bytes of a temporary playlist listing `trackPaths` in order; *written counts the lines.
QByteArray TemporaryPlaylistBytes(const QStringList& trackPaths, int* written = nullptr);

// What the player may be given of a play's paths, in order, and what was left out.
struct PlayerTracks {
    QStringList tracks;
    QStringList leftOut;
    // The tracks that are not there (a deleted file, a drive not mounted): they stay, so entry n
    // stays line n, and the player passes over them.
    QStringList missing;
};

// Only absolute local paths that are not folders (nor devices, pipes, sockets) stay, so the
// player never fetches, builds or expands an entry and entry n stays line n. A playlist file
// (".m3u", ".m3u8") met as a track gives its own tracks by the playlist rules (PlaylistTracks),
// one level deep; one that cannot be read, and a list inside it, is left out. A file that is
// not there stays, named in `missing`: the player passes over it without moving the later
// entries.
PlayerTracks TracksForThePlayer(const QStringList& paths);

// The status sentence naming what TracksForThePlayer left out; "" when nothing was.
QString LeftOutSentence(const QStringList& leftOut);
// The status sentence naming the tracks that are missing; "" when none is.
QString MissingSentence(const QStringList& missing);

struct WrittenPlaylist {
    int lines = 0;
    // MissingSentence and LeftOutSentence, for the caller to show.
    QString leftOut;
};

// Replaces the file at `path` with the TemporaryPlaylistBytes of TracksForThePlayer(trackPaths).
// Fails, writing nothing, when paths were given and none of them can be played, with
// "Nothing to play: " and what was left out.
Result<WrittenPlaylist> WriteTracksForThePlayer(const QString& path, const QStringList& trackPaths);

// WriteTracksForThePlayer, the number of lines written only. Replaces the file at `path`. The file
// is replaced atomically (a temporary file beside it, synced, then renamed over it): a failure or a
// crash leaves the previous playlist whole. The result is the number of lines written; failed, with
// the reason, when the file cannot be written.
Result<int> WriteTemporaryPlaylist(const QString& path, const QStringList& trackPaths);

// The track paths of a temporary playlist's bytes, in order: the lines the player takes as
// entries (blanks around them dropped, blank and "#" lines skipped, "file://" URLs decoded).
QStringList TemporaryPlaylistEntries(const QByteArray& bytes);

// TemporaryPlaylistEntries of the file at `path`; none when it is missing or unreadable.
QStringList ReadTemporaryPlaylist(const QString& path);

// Entry n (from 0) of the temporary playlist, "" when there are not that many (or the file is
// missing or unreadable). *lineCount is set to the number of entries read, which the now-playing
// display shows as the length of the list.
QString TemporaryPlaylistEntry(const QString& tmpPlaylistPath, int n, int* lineCount = nullptr);

// The number, from 1, of the last of `entries` equal to the track path `trackPath` exactly (case
// counts); 0 when none does. Whole paths, since two albums may both hold "03.mp3".
int LastLineWithPath(const QStringList& entries, const QString& trackPath);

// LastLineWithPath over the temporary playlist at `tmpPlaylistPath`; 0 when the file is missing.
int TemporaryPlaylistLineOf(const QString& tmpPlaylistPath, const QString& trackPath);

} // namespace tarl
