#include "scan/PlaylistFile.h"

#include "catalog/PathParts.h"
#include "platform/PlaylistText.h"

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
    QStringList lines;
    if (!ReadPlaylistFile(playlistPath, &lines))
        return Result<QString>::failed(QStringLiteral("Error reading file: ") + playlistPath);
    return {FirstEntryFolderOf(lines)};
}

Result<QStringList> PlaylistTracks(const QString& playlistPath) {
    QStringList lines;
    QString why;
    if (!ReadPlaylistFile(playlistPath, &lines, &why))
        return Result<QStringList>::failed(why);
    QStringList tracks;
    const QString playlistFolder = FolderOf(playlistPath);
    for (const QString& entry : PlaylistEntries(lines)) {
        QString folder;
        QString file;
        SplitPlaylistEntry(entry, playlistFolder, &folder, &file);
        tracks.append(folder + file);
    }
    return {tracks};
}

} // namespace tarl
