#include "browser/TrackRows.h"

#include "catalog/CatalogFind.h"
#include "catalog/LibraryReads.h"
#include "catalog/engine/Connection.h"
#include "state/Convert.h"
#include "tags/FormatMinSec.h"
#include "text/PathText.h"

#include <cmath>

namespace tarl {

namespace {

// A null field cannot be shown: its column stays empty.
QString FieldText(const QVariant& value) {
    if (value.isNull())
        return {};
    return value.toString();
}

// The time in seconds as minutes and seconds, whatever its length. A value that is not a number
// (text typed into the catalog by hand) leaves the column empty.
QString TimeText(const QVariant& value) {
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int)
        return FormatMinSec(value.toLongLong());
    bool ok = value.typeId() == QMetaType::Double;
    const double seconds = ok ? value.toDouble() : value.toString().trimmed().toDouble(&ok);
    // Whole seconds, rounded as the settings' numbers are, and only what a 64-bit count holds.
    if (!ok || !std::isfinite(seconds) || std::fabs(seconds) > 9.2e18)
        return {};
    return FormatMinSec(static_cast<qint64>(RoundHalfEven(seconds)));
}

TrackRow RowOf(const TrackFields& track) {
    TrackRow row;
    auto& c = row.columns;
    c[ColFile] = FieldText(track.file);
    c[ColPath] = FieldText(track.path);
    c[ColTitle] = FieldText(track.title);
    c[ColArtist] = FieldText(track.artist);
    c[ColAlbum] = FieldText(track.album);
    c[ColYear] = FieldText(track.year);
    c[ColGenre] = FieldText(track.genre);
    c[ColComment] = FieldText(track.comments);
    c[ColSize] = FieldText(track.size);
    c[ColTime] = TimeText(track.time);
    c[ColRating] = FieldText(track.rating);
    c[ColId] = FieldText(track.id);
    return row;
}

// The list a node stands for. A key "label:>path" names a path on the volume carrying that label
// (a disc, or a list in the style view); any other key is the list's own path, where a final
// "/." stands for the tracks lying directly in that folder.
Lookup<qint64> ListIdOfKey(Catalog& catalog, const Drives& drives, const QString& key) {
    const qsizetype marker = DiscSeparatorIn(key);
    if (marker >= 0) {
        const QString label = key.left(marker);
        const QString path = key.mid(marker + 2);
        const Lookup<qint64> volume = FindVolumeId(catalog, drives, path, label);
        if (!volume.ok)
            return Lookup<qint64>::failed(volume.error);
        return FindListIdOnVolume(catalog, drives, path, volume.value);
    }
    // Only the "." a folder's key gets is dropped: on Linux a playlist's own name may end in ".",
    // which Windows never allowed.
    QString path = key;
    if (path.endsWith(QLatin1String("/.")))
        path.chop(1);
    return FindListId(catalog, drives, path);
}

} // namespace

QString TrackColumnCaption(int column) {
    static const char* const captions[TrackColumnCount] = {"File",  "Path", "Title",  "Artist",
                                                           "Album", "Year", "Genre",  "Comment",
                                                           "Size",  "Time", "Rating", "MP3id"};
    if (column < 0 || column >= TrackColumnCount)
        return {};
    return QString::fromLatin1(captions[column]);
}

double TrackColumnBuiltInWidth(int column) {
    static const double widths[TrackColumnCount] = {3000, 2000, 2000, 1500, 1500, 800,
                                                    1000, 2000, 2000, 2000, 0,    0};
    if (column < 0 || column >= TrackColumnCount)
        return 0;
    return widths[column];
}

Result<std::vector<TrackRow>> TrackRowsForNode(Catalog& catalog, const Drives& drives,
                                               const QString& key, NodeKind kind) {
    if (!ShowsTracks(kind))
        return std::vector<TrackRow>{};
    const Lookup<qint64> listId = ListIdOfKey(catalog, drives, key);
    if (!listId.ok)
        return Result<std::vector<TrackRow>>::failed(catalog.connection.lastError());
    // In the order the tracks were added, so a playlist lists in its own order. A read that
    // broke off part way leaves the list as it was, like a query that failed.
    const Lookup<std::vector<TrackFields>> tracks = ReadTracksOfList(catalog, listId.value);
    if (!tracks.ok)
        return Result<std::vector<TrackRow>>::failed(catalog.connection.lastError());
    std::vector<TrackRow> rows;
    rows.reserve(tracks.value.size());
    for (const TrackFields& track : tracks.value)
        rows.push_back(RowOf(track));
    return rows;
}

} // namespace tarl
