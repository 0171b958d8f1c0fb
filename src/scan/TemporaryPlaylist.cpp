#include "scan/TemporaryPlaylist.h"

#include "platform/FileReplace.h"
#include "scan/PlaylistFile.h"

#include "text/PlaylistText.h"

#include <QFile>

#include <sys/stat.h>

namespace tarl {
namespace {

// What a path given to the player is.
enum class PathFit { Track, Playlist, LeftOut, Missing };

// Only an absolute local path reaches the player: anything else (a URL, "edl://", "memory://",
// a relative name, a Windows drive path) would be fetched, built or guessed by it. A folder or
// any other thing that is not a regular file is left out too: the player would put its files in
// the entry's place and shift every later entry. A file that is not there is kept (a disc that
// is out, a file moved since the scan): the player passes over it and the count stays.
PathFit FitOf(const QString& path) {
    if (!path.startsWith(u'/') || path.endsWith(u'/') || path.contains(QChar(u'\0')))
        return PathFit::LeftOut;
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return IsPlaylistFileName(path) ? PathFit::Playlist : PathFit::Missing;
    if (!S_ISREG(st.st_mode))
        return PathFit::LeftOut;
    return IsPlaylistFileName(path) ? PathFit::Playlist : PathFit::Track;
}

// The tracks of a list met among the tracks, one level deep: a list inside it is left out, so
// lists that name each other end.
void AddListedTracks(const QString& playlist, PlayerTracks* out) {
    const Result<QStringList> listed = PlaylistTracks(playlist);
    if (!listed) {
        out->leftOut << playlist;
        return;
    }
    for (const QString& entry : listed.value) {
        switch (FitOf(entry)) {
        case PathFit::Track:
            out->tracks << entry;
            break;
        case PathFit::Missing:
            out->tracks << entry;
            out->missing << entry;
            break;
        case PathFit::Playlist:
        case PathFit::LeftOut:
            out->leftOut << entry;
            break;
        }
    }
}

bool StartsAsFileUrl(const QString& s) {
    return s.startsWith(QLatin1String("file:"), Qt::CaseInsensitive);
}

// Whether the path, alone on a line, is read back as exactly this path.
bool ReadsBackAsLine(const QString& path) {
    if (path.contains(u'\r') || path.contains(u'\n'))
        return false;
    if (IsPlaylistBlank(path.front()) || IsPlaylistBlank(path.back()))
        return false;
    return !path.startsWith(u'#') && !StartsAsFileUrl(path);
}

// The line standing for `path`, or "" when it cannot have one.
QString LineFor(const QString& path) {
    if (path.isEmpty() || path.contains(QChar(u'\0')))
        return {};
    if (!path.startsWith(u'/'))
        return {};
    if (ReadsBackAsLine(path))
        return path;
    return FileUrlOf(path);
}

// The entries the player takes from these lines; see the header.
QStringList EntriesOf(const QStringList& lines) {
    QStringList entries;
    for (const QString& line : lines) {
        const QString entry = TrimmedBlanks(line).toString();
        if (entry.isEmpty() || entry.startsWith(u'#'))
            continue;
        const QString local = FileUrlPath(entry);
        entries.append(local.isEmpty() ? entry : local);
    }
    return entries;
}

} // namespace

QString TemporaryPlaylistPath(const QString& programFolder) {
    return programFolder + QStringLiteral("m3uTmp.m3u");
}

QByteArray TemporaryPlaylistBytes(const QStringList& trackPaths, int* written) {
    QByteArray bytes;
    int lines = 0;
    for (const QString& path : trackPaths) {
        const QString line = LineFor(path);
        if (line.isEmpty())
            continue;
        bytes += line.toUtf8();
        bytes += "\r\n";
        ++lines;
    }
    if (written)
        *written = lines;
    return bytes;
}

PlayerTracks TracksForThePlayer(const QStringList& paths) {
    PlayerTracks out;
    for (const QString& path : paths) {
        switch (FitOf(path)) {
        case PathFit::Track:
            out.tracks << path;
            break;
        case PathFit::Playlist:
            AddListedTracks(path, &out);
            break;
        case PathFit::LeftOut:
            out.leftOut << path;
            break;
        case PathFit::Missing:
            out.tracks << path;
            out.missing << path;
            break;
        }
    }
    return out;
}

QString LeftOutSentence(const QStringList& leftOut) {
    if (leftOut.isEmpty())
        return {};
    if (leftOut.size() == 1)
        return QStringLiteral("%1 was left out of the play: it is not a track on this computer.")
            .arg(leftOut.first());
    return QStringLiteral("%1 and %2 more were left out of the play: they are not tracks on this "
                          "computer.")
        .arg(leftOut.first())
        .arg(leftOut.size() - 1);
}

QString MissingSentence(const QStringList& missing) {
    if (missing.isEmpty())
        return {};
    if (missing.size() == 1)
        return QStringLiteral("%1 is missing: the player skips it.").arg(missing.first());
    return QStringLiteral("%1 and %2 more are missing: the player skips them.")
        .arg(missing.first())
        .arg(missing.size() - 1);
}

Result<WrittenPlaylist> WriteTracksForThePlayer(const QString& path,
                                                const QStringList& trackPaths) {
    const PlayerTracks playable = TracksForThePlayer(trackPaths);
    QStringList sentences;
    for (const QString& sentence :
         {MissingSentence(playable.missing), LeftOutSentence(playable.leftOut)}) {
        if (!sentence.isEmpty())
            sentences << sentence;
    }
    const QString leftOut = sentences.join(u' ');
    // The list in place stays rather than an empty one: nothing would play anyway.
    if (playable.tracks.isEmpty() && !playable.leftOut.isEmpty())
        return Result<WrittenPlaylist>::failed(QStringLiteral("Nothing to play: ") + leftOut);
    WrittenPlaylist written;
    written.leftOut = leftOut;
    const QByteArray bytes = TemporaryPlaylistBytes(playable.tracks, &written.lines);
    const Result<> replaced = ReplaceFile(path, bytes);
    if (!replaced)
        return Result<WrittenPlaylist>::failed(replaced.error);
    return written;
}

Result<int> WriteTemporaryPlaylist(const QString& path, const QStringList& trackPaths) {
    const Result<WrittenPlaylist> written = WriteTracksForThePlayer(path, trackPaths);
    if (!written)
        return Result<int>::failed(written.error);
    return {written.value.lines};
}

QStringList TemporaryPlaylistEntries(const QByteArray& bytes) {
    return EntriesOf(PlaylistLines(bytes));
}

QStringList ReadTemporaryPlaylist(const QString& path) {
    // The lines read before a failure still stand for the player's first entries.
    return EntriesOf(ReadPlaylistFile(path).value);
}

QString TemporaryPlaylistEntry(const QString& tmpPlaylistPath, int n, int* lineCount) {
    const QStringList entries = ReadTemporaryPlaylist(tmpPlaylistPath);
    if (lineCount)
        *lineCount = int(entries.size());
    if (n < 0 || n >= entries.size())
        return {};
    return entries[n];
}

int LastLineWithPath(const QStringList& entries, const QString& trackPath) {
    if (trackPath.isEmpty())
        return 0;
    return int(entries.lastIndexOf(trackPath) + 1);
}

int TemporaryPlaylistLineOf(const QString& tmpPlaylistPath, const QString& trackPath) {
    return LastLineWithPath(ReadTemporaryPlaylist(tmpPlaylistPath), trackPath);
}

} // namespace tarl
