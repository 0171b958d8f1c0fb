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

FirstEntry FirstEntryFolder(const QString& playlistPath) {
    const Result<QStringList> read = ReadPlaylistFile(playlistPath);
    if (!read)
        return {{}, QStringLiteral("Error reading file: ") + playlistPath};
    return {FirstEntryFolderOf(read.value), {}};
}

bool PlaylistTracks(const QString& playlistPath, QStringList* tracks, QString* error) {
    tracks->clear();
    const Result<QStringList> read = ReadPlaylistFile(playlistPath);
    if (!read) {
        if (error)
            *error = read.error;
        return false;
    }
    const QString playlistFolder = FolderOf(playlistPath);
    for (const QString& entry : PlaylistEntries(read.value)) {
        QString folder;
        QString file;
        SplitPlaylistEntry(entry, playlistFolder, &folder, &file);
        tracks->append(folder + file);
    }
    return true;
}

} // namespace tarl
