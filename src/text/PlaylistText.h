#pragma once

#include "text/Result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tarl {

// Playlists are read whole; these bounds keep a hostile or broken file (a disc image renamed
// ".m3u", a file of line ends) from taking the machine's memory. Real playlists stay far below.
inline constexpr qint64 kMaxPlaylistBytes = 64 * 1024 * 1024;
inline constexpr qsizetype kMaxPlaylistLines = 1024 * 1024;

// The text rules of playlist files, whoever wrote them: a BOM is skipped; the bytes are read as
// UTF-8 when they are valid UTF-8 (".m3u8" files always), otherwise as Windows-1252; CRLF, LF and
// CR all end a line; a final line end does not make an empty last line.
// A UTF-16 BOM (either byte order) reads the file as UTF-16. At most kMaxPlaylistLines lines are
// returned; the lines are always well-formed Unicode (bad sequences become U+FFFD).
QStringList PlaylistLines(const QByteArray& bytes, bool alwaysUtf8 = false);

// Whether a file is a playlist by its name: ".m3u", or ".m3u8" (always UTF-8), in any case.
bool IsPlaylistFileName(const QString& name);

// Reads a playlist file whole with the rules above (".m3u8" by its name). Fails with the reason
// when the file cannot be read, is not a regular file, is larger than kMaxPlaylistBytes or has
// more than kMaxPlaylistLines lines. Unlike other failed results, the value of the last one still
// holds the first kMaxPlaylistLines lines, as reading the file line by line would have given them.
Result<QStringList> ReadPlaylistFile(const QString& file);

// An entry as a native path: "\" separators (lists written on Windows) become "/".
QString NativeEntry(const QString& entry);

// The local path a "file://" URL names: "file:///music/a%20b.mp3" and
// "file://localhost/music/a%20b.mp3" give "/music/a b.mp3", "file://server/share/a.mp3" the share
// "//server/share/a.mp3". The escapes are UTF-8 bytes. "" for any other text.
QString FileUrlPath(const QString& text);

// The "file://" URL of an absolute path: its UTF-8 bytes, each one but ASCII letters, digits and
// "-._~/" written as a %XX escape, so the URL is plain ASCII without blanks or line ends.
// FileUrlPath gives the path back exactly.
QString FileUrlOf(const QString& path);

// The blanks players drop around an entry (ASCII only: a no-break space may belong to a name),
// and an entry without them.
bool IsPlaylistBlank(QChar c);
QStringView TrimmedBlanks(QStringView s);

// True for a line that names a track: not blank and not a comment. A comment is a line whose
// first non-blank character is "#" (the extended-M3U "#EXTM3U" and "#EXTINF:" lines among them),
// wherever it stands, the last line included.
bool IsPlaylistEntry(const QString& line);

// The entries of a playlist's lines, in order.
QStringList PlaylistEntries(const QStringList& lines);

// Resolves one entry of a playlist into the track's folder (ending in "/", or "" when the entry
// has no folder and playlistFolder is "") and its file name. The one rule every reader of
// playlists shares:
// - Blanks around the entry are kept when the path it names with them exists (a file named
//   " intro.mp3"), else dropped, as players drop them (see EntryWithItsBlanks); "\" is a
//   separator.
// - "/music/a.mp3" is absolute.
// - "rock/a.mp3", "rock\a.mp3" and "\rock\a.mp3" are relative to playlistFolder (the leading
//   backslash of lists written on Windows means the playlist's own folder).
// - "C:\music\a.mp3" (a Windows drive) and "\\server\share\a.mp3" (a Windows share) name no
//   file here; they are kept as written with "/" separators ("C:/music/", "//server/share/")
//   and never joined to playlistFolder, so the catalog still shows where the list pointed.
// - "file:///music/a%20b.mp3" is the local path it encodes; other URLs ("http://...") are kept
//   as they are.
// - "." and ".." steps and doubled separators are resolved ("/music/rock/../pop/" gives
//   "/music/pop/"), so the same track always gets the same folder text.
// With playlistFolder "" relative entries stay relative ("rock/live/").
void SplitPlaylistEntry(const QString& rawEntry, const QString& playlistFolder, QString* folder,
                        QString* file);

// The entry with the blanks at its ends when the path it names with them exists on this machine,
// looked up from playlistFolder for a relative entry (one without playlistFolder is never looked
// up), else the entry without them. A line without such blanks is never looked up.
QStringView EntryWithItsBlanks(const QString& rawEntry, const QString& playlistFolder);

} // namespace tarl
