#include "scan/PlaylistImport.h"

#include "tags/AudioFormat.h"
#include "tags/ReadTrackTags.h"
#include "text/PathText.h"
#include "text/PlaylistText.h"

namespace tarl {

Result<> AddPlaylistTracks(Catalog& catalog, ImportStatements& statements,
                           const QString& playlistPath, qint64 listId) {
    PlaylistTracksRun run;
    return AddPlaylistTracks(catalog, statements, playlistPath, listId, run);
}

Result<> AddPlaylistTracks(Catalog& catalog, ImportStatements& statements,
                           const QString& playlistPath, qint64 listId, PlaylistTracksRun& run) {
    const Result<QStringList> lines = ReadPlaylistFile(playlistPath);
    const QString playlistFolder = FolderOf(playlistPath);
    QList<PlaylistEntryPath> entries;
    for (const QString& entry : PlaylistEntries(lines.value)) {
        PlaylistEntryPath path;
        SplitPlaylistEntry(entry, playlistFolder, &path.folder, &path.file);
        entries.append(std::move(path));
    }
    const Result<> added = AddPlaylistEntries(catalog, statements, entries, listId, run);
    if (!added)
        return added;
    if (!lines)
        return Result<>::failed(lines.error);
    return {};
}

std::optional<TagFields> PlaylistEntryTags(const QString& localPath) {
    if (!FormatOfFileName(localPath))
        return std::nullopt;
    Result<TagFields> tags = ReadTrackTags(localPath);
    if (!tags)
        return std::nullopt;
    return std::move(tags.value);
}

} // namespace tarl
