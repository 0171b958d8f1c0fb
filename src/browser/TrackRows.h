#pragma once

#include "browser/NodeKind.h"
#include "text/Result.h"

#include <QString>
#include <array>
#include <vector>

namespace tarl {

struct Catalog;
class Drives;

// The twelve columns of the track list, in order: file, path, title, artist, album, year,
// genre, comment, size, time, rating, the track's catalog id.
inline constexpr int TrackColumnCount = 12;
enum TrackColumn {
    ColFile,
    ColPath,
    ColTitle,
    ColArtist,
    ColAlbum,
    ColYear,
    ColGenre,
    ColComment,
    ColSize,
    ColTime,
    ColRating,
    ColId
};

struct TrackRow {
    std::array<QString, TrackColumnCount> columns;
    // The track file's full path: its folder (column 2) followed by its name (column 1).
    QString fullPath() const { return columns[ColPath] + columns[ColFile]; }
};

// "File", "Path", "Title", "Artist", "Album", "Year", "Genre", "Comment", "Size", "Time",
// "Rating", "MP3id".
QString TrackColumnCaption(int column);
// Built-in width in twips; 0 for the columns that take the list's default width.
double TrackColumnBuiltInWidth(int column);

// The rows the track list shows for a tree node, by its key and kind: the tracks of the playlist
// or folder the node stands for; none for the kinds that show no tracks (ShowsTracks). Fails
// when the catalog query failed (the list then keeps what it showed); the error says why.
Result<std::vector<TrackRow>> TrackRowsForNode(Catalog& catalog, const Drives& drives,
                                               const QString& key, NodeKind kind);

} // namespace tarl
