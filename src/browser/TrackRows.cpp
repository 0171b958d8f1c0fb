#include "browser/TrackRows.h"

#include "catalog/CatalogFind.h"
#include "catalog/Connection.h"
#include "state/Convert.h"
#include "tags/FormatMinSec.h"

#include <cmath>

namespace tarl {

namespace {

// The field positions of the fill's query.
enum QueryField {
    FieldListId,
    FieldPath,
    FieldFile,
    FieldTitle,
    FieldArtist,
    FieldAlbum,
    FieldYear,
    FieldGenre,
    FieldComments,
    FieldSize,
    FieldTime,
    FieldRating,
    FieldId
};

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

bool IsListTag(const QString& tag) {
    return tag == QLatin1String("M3uCd") || tag == QLatin1String("M3uNick") ||
           tag == QLatin1String("Mp3Cd") || tag == QLatin1String("Cd");
}

// The list a node stands for. A key "label:>path" names a path on the volume carrying that label
// (a disc, or a list in the style view); any other key is the list's own path, where a final
// "/." stands for the tracks lying directly in that folder.
Lookup<qint64> ListIdOfKey(Catalog& catalog, const Drives& drives, const QString& key) {
    const qsizetype marker = key.indexOf(QLatin1String(":>"));
    if (marker >= 0) {
        const QString label = key.left(marker);
        const QString path = key.mid(marker + 2);
        const Lookup<qint64> volume = FindVolumeId(catalog, drives, path, label);
        if (!volume.ok)
            return Lookup<qint64>::failed();
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

bool TrackRowsForNode(Catalog& catalog, const Drives& drives, const QString& key,
                      const QString& tag, std::vector<TrackRow>* rows, QString* error) {
    if (!IsListTag(tag)) {
        rows->clear();
        return true;
    }
    const Lookup<qint64> listId = ListIdOfKey(catalog, drives, key);
    if (!listId.ok) {
        if (error)
            *error = catalog.connection.lastError();
        return false;
    }
    // In the order the tracks were added, so a playlist lists in its own order: without an
    // order the engine walks the index on (m3u_id, path, file) and lists by name.
    Recordset& set = catalog.general;
    if (!catalog.connection.execute(
            "SELECT M3u_id,path,file,title,artist,album,year,genre,comments,size,time,rating,id "
            "FROM Mp3 WHERE " +
                QStringLiteral("(((M3u_id)=") + QString::number(listId.value) + " ))" +
                " ORDER BY id",
            set)) {
        if (error)
            *error = catalog.connection.lastError();
        return false;
    }
    std::vector<TrackRow> filled;
    for (; !set.eof(); set.moveNext()) {
        TrackRow row;
        auto& c = row.columns;
        c[ColFile] = FieldText(set.field(FieldFile));
        c[ColPath] = FieldText(set.field(FieldPath));
        c[ColTitle] = FieldText(set.field(FieldTitle));
        c[ColArtist] = FieldText(set.field(FieldArtist));
        c[ColAlbum] = FieldText(set.field(FieldAlbum));
        c[ColYear] = FieldText(set.field(FieldYear));
        c[ColGenre] = FieldText(set.field(FieldGenre));
        c[ColComment] = FieldText(set.field(FieldComments));
        c[ColSize] = FieldText(set.field(FieldSize));
        c[ColTime] = TimeText(set.field(FieldTime));
        c[ColRating] = FieldText(set.field(FieldRating));
        c[ColId] = FieldText(set.field(FieldId));
        filled.push_back(std::move(row));
    }
    // A read that broke off part way leaves the list as it was, like a query that failed.
    if (!catalog.connection.lastError().isEmpty()) {
        if (error)
            *error = catalog.connection.lastError();
        return false;
    }
    *rows = std::move(filled);
    return true;
}

} // namespace tarl
