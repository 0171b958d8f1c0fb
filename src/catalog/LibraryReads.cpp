#include "catalog/LibraryReads.h"

#include "catalog/engine/BoundQuery.h"
#include "catalog/engine/Connection.h"
#include "catalog/engine/FirstRow.h"
#include "catalog/engine/Recordset.h"
#include "catalog/engine/UnicodeNoCase.h"

namespace tarl {

namespace {

// The field positions of the track read.
enum TrackField {
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

} // namespace

namespace {

// The track fields of the current row of a read whose columns are, in order: M3u_id, path, file,
// title, artist, album, year, genre, comments, size, time, rating, id.
TrackFields TrackFieldsOf(const Recordset& rows) {
    TrackFields track;
    track.path = rows.field(FieldPath);
    track.file = rows.field(FieldFile);
    track.title = rows.field(FieldTitle);
    track.artist = rows.field(FieldArtist);
    track.album = rows.field(FieldAlbum);
    track.year = rows.field(FieldYear);
    track.genre = rows.field(FieldGenre);
    track.comments = rows.field(FieldComments);
    track.size = rows.field(FieldSize);
    track.time = rows.field(FieldTime);
    track.rating = rows.field(FieldRating);
    track.id = rows.field(FieldId);
    return track;
}

// The lists a statement reads, grouped by the id in its first column, each made
// into a row by `makeRow`; a list whose id is stored as no id is left out.
template <typename Row, typename MakeRow>
Lookup<QHash<qint64, std::vector<Row>>> ListsGroupedById(Catalog& catalog, const QString& statement,
                                                         const MakeRow& makeRow) {
    Recordset rows;
    if (!catalog.connection.execute(statement, rows))
        return Lookup<QHash<qint64, std::vector<Row>>>::failed(catalog.connection.lastError());
    QHash<qint64, std::vector<Row>> lists;
    for (; !rows.eof(); rows.moveNext()) {
        if (const std::optional<qint64> id = StoredIdOf(rows.field(0)))
            lists[*id].push_back(makeRow(rows));
    }
    return {std::move(lists)};
}

} // namespace

std::optional<qint64> StoredIdOf(const QVariant& value) {
    const int type = value.typeId();
    if (type != QMetaType::LongLong && type != QMetaType::Int && type != QMetaType::ULongLong &&
        type != QMetaType::UInt)
        return std::nullopt;
    return value.toLongLong();
}

// A read that breaks off part way keeps the rows read so far: the tree shows what it could read,
// as every error of its build is passed over.
Lookup<std::vector<VolumeRow>> ReadVolumes(Catalog& catalog) {
    Recordset rows;
    if (!catalog.connection.execute(QStringLiteral("SELECT * FROM CD"), rows))
        return Lookup<std::vector<VolumeRow>>::failed(catalog.connection.lastError());
    std::vector<VolumeRow> volumes;
    for (; !rows.eof(); rows.moveNext()) {
        VolumeRow row;
        row.id = rows.field(0).toLongLong();
        row.name = rows.field(1).toString();
        row.m3us = rows.field(2);
        row.label = rows.field(3).toString();
        row.isCd = rows.field(4).toBool();
        row.labelCd = rows.field(5).toString();
        volumes.push_back(std::move(row));
    }
    return {std::move(volumes)};
}

Lookup<QHash<qint64, std::vector<VolumeListRow>>> ReadListsByVolume(Catalog& catalog) {
    return ListsGroupedById<VolumeListRow>(
        catalog, QStringLiteral("SELECT cd_id, path, file FROM M3u ORDER BY id"),
        [](Recordset& rows) {
            return VolumeListRow{rows.field(1).toString(), rows.field(2).toString()};
        });
}

Lookup<std::vector<StyleRow>> ReadStyles(Catalog& catalog) {
    Recordset rows;
    if (!catalog.connection.execute(QStringLiteral("SELECT * FROM Nick"), rows))
        return Lookup<std::vector<StyleRow>>::failed(catalog.connection.lastError());
    std::vector<StyleRow> styles;
    for (; !rows.eof(); rows.moveNext())
        styles.push_back({rows.field(0).toLongLong(), rows.field(1).toString()});
    return {std::move(styles)};
}

Lookup<QHash<qint64, std::vector<StyleListRow>>> ReadListsByStyle(Catalog& catalog) {
    return ListsGroupedById<StyleListRow>(
        catalog, QStringLiteral("SELECT nick, file, cd_id FROM M3u ORDER BY id"),
        [](Recordset& rows) {
            return StyleListRow{rows.field(1).toString(), rows.field(2)};
        });
}

Lookup<QHash<qint64, VolumeNameLabel>> ReadVolumeNamesById(Catalog& catalog) {
    Recordset rows;
    if (!catalog.connection.execute(QStringLiteral("SELECT id, name, label FROM CD"), rows))
        return Lookup<QHash<qint64, VolumeNameLabel>>::failed(catalog.connection.lastError());
    QHash<qint64, VolumeNameLabel> volumes;
    for (; !rows.eof(); rows.moveNext())
        volumes.insert(rows.field(0).toLongLong(),
                       {rows.field(1).toString(), rows.field(2).toString()});
    return {std::move(volumes)};
}

Lookup<std::optional<VolumeNameLabel>> FindVolumeByStoredId(Catalog& catalog,
                                                            const QVariant& volumeId) {
    Recordset rows;
    // Volume ids are whole numbers on both engines: a stored id of any other shape names none.
    bool whole = false;
    const qint64 id = volumeId.toLongLong(&whole);
    if (!whole)
        return {std::nullopt};
    if (!catalog.connection.execute("SELECT name,label FROM Cd WHERE Cd.id = ?", {id}, rows))
        return Lookup<std::optional<VolumeNameLabel>>::failed(catalog.connection.lastError());
    if (rows.eof())
        return {std::nullopt};
    return {VolumeNameLabel{rows.field(0).toString(), rows.field(1).toString()}};
}

Result<> DeleteListsOfVolume(Catalog& catalog, const QVariant& volumeId) {
    // A stored id that is no whole number (a file's column takes any value) is matched as the
    // text it is, so only the lists holding exactly it go.
    bool whole = false;
    const qint64 id = volumeId.toLongLong(&whole);
    if (whole)
        return Ran(catalog.connection,
                   catalog.connection.execute("DELETE FROM M3u WHERE cd_id = ?", {id}));
    return Ran(catalog.connection,
               catalog.connection.execute("DELETE FROM M3u WHERE CAST(cd_id AS TEXT) = ?",
                                          {volumeId.toString()}));
}

Lookup<std::vector<TrackFields>> ReadTracksOfList(Catalog& catalog, qint64 listId) {
    // Without an order the engine walks the index on (m3u_id, path, file) and lists by name.
    Recordset rows;
    if (!catalog.connection.execute(
            "SELECT M3u_id,path,file,title,artist,album,year,genre,comments,size,time,rating,id "
            "FROM Mp3 WHERE (((M3u_id)=? )) ORDER BY id",
            {listId}, rows))
        return Lookup<std::vector<TrackFields>>::failed(catalog.connection.lastError());
    std::vector<TrackFields> tracks;
    for (; !rows.eof(); rows.moveNext())
        tracks.push_back(TrackFieldsOf(rows));
    if (!catalog.connection.lastError().isEmpty())
        return Lookup<std::vector<TrackFields>>::failed(catalog.connection.lastError());
    return {std::move(tracks)};
}

Lookup<std::optional<QString>> RecordedDiscLabel(Catalog& catalog, const QString& discName) {
    Recordset rows;
    if (!catalog.connection.execute("SELECT name, labelCd, label, isCd From CD WHERE (((label)=?" +
                                        QString::fromLatin1(UnicodeNoCase::kCollate) + "))" +
                                        OrderOnServer(catalog.connection, " ORDER BY id"),
                                    {SqlTextValue(discName)}, rows))
        return Lookup<std::optional<QString>>::failed(catalog.connection.lastError());
    // The first disc of that name; hard-disc volumes have nothing to insert.
    while (!rows.eof() && !rows.field(QStringLiteral("isCd")).toBool())
        rows.moveNext();
    if (rows.eof())
        return {std::nullopt};
    return {rows.field(QStringLiteral("labelCd")).toString()};
}

} // namespace tarl
