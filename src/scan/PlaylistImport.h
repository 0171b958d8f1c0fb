#pragma once

#include "catalog/CatalogInsert.h"
#include "text/Result.h"

#include <QString>
#include <optional>

namespace tarl {

class ImportStatements;
struct Catalog;

// Reads the playlist file at `playlistPath` and adds its entries to list `listId`
// (AddPlaylistEntries): relative entries are taken from the playlist's folder. A file read only in
// part still gives its first lines, as reading it line by line would; its entries are added and
// the result is then failed with the reason it could not be read further, as for a file that
// cannot be read at all. A refused statement fails with its reason and sets `run.refused`.
Result<> AddPlaylistTracks(Catalog& catalog, ImportStatements& statements,
                           const QString& playlistPath, qint64 listId, PlaylistTracksRun& run);
Result<> AddPlaylistTracks(Catalog& catalog, ImportStatements& statements,
                           const QString& playlistPath, qint64 listId);

// The tags and length a playlist entry is stored with (PlaylistTracksRun::tagsOf): those of the
// file when its name is of a sound format and it reads as one, as its folder's track has them;
// none otherwise, so an entry naming any other file stays a name.
std::optional<TagFields> PlaylistEntryTags(const QString& localPath);

} // namespace tarl
