#include "scan/PlaylistFile.h"

#include "text/PathText.h"
#include "text/PlaylistText.h"

namespace tarl {

QString FirstEntryFolderOf(const QStringList& lines) {
    for (const QString& line : lines) {
        if (!IsPlaylistEntry(line))
            continue;
        QString folder;
        QString file;
        SplitPlaylistEntry(line, QString(), &folder, &file);
        return folder;
    }
    return {};
}

Result<QString> FirstEntryFolder(const QString& playlistPath) {
    const Result<QStringList> read = ReadPlaylistFile(playlistPath);
    if (!read)
        return Result<QString>::failed(QStringLiteral("Error reading file: ") + playlistPath);
    return {FirstEntryFolderOf(read.value)};
}

Result<QStringList> PlaylistTracks(const QString& playlistPath) {
    const Result<QStringList> read = ReadPlaylistFile(playlistPath);
    if (!read)
        return Result<QStringList>::failed(read.error);
    QStringList tracks;
    const QString playlistFolder = FolderOf(playlistPath);
    for (const QString& entry : PlaylistEntries(read.value)) {
        QString folder;
        QString file;
        SplitPlaylistEntry(entry, playlistFolder, &folder, &file);
        tracks.append(folder + file);
    }
    return {tracks};
}

} // namespace tarl
