#include "scan/TemporaryPlaylist.h"

#include "platform/FileReplace.h"

#include "text/PlaylistText.h"

namespace tarl {
namespace {

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
    if (ReadsBackAsLine(path))
        return path;
    if (!path.startsWith(u'/'))
        return {};
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

Result<int> WriteTemporaryPlaylist(const QString& path, const QStringList& trackPaths) {
    int lines = 0;
    const QByteArray bytes = TemporaryPlaylistBytes(trackPaths, &lines);
    const Result<> replaced = ReplaceFile(path, bytes);
    if (!replaced)
        return Result<int>::failed(replaced.error);
    return {lines};
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
