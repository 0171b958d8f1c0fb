#include "catalog/CatalogFind.h"

#include "catalog/engine/BoundQuery.h"
#include "catalog/engine/Connection.h"
#include "catalog/engine/FirstRow.h"
#include "catalog/engine/Recordset.h"
#include "catalog/engine/UnicodeNoCase.h"
#include "text/PathText.h"

namespace tarl {

namespace {

// The orders of the look-ups several rows answer (OrderOnServer): volumes of a name by label
// ("C": the file's byte order; no label first), then id.
const char* const kVolumeOrder = kServerVolumeOrder;
// Lists of a path and file by volume id (none first), then id.
const char* const kListOrder = " ORDER BY cd_id NULLS FIRST, id";
// Styles of a name, and lists of a path, file and volume, by id.
const char* const kIdOrder = " ORDER BY id";

} // namespace

Lookup<qint64> FindVolumeId(Catalog& catalog, const Drives& drives, const QString& listPath,
                            const QString& label) {
    if (label.isEmpty()) {
        return FirstNumber(catalog.connection,
                           "SELECT id, name From CD WHERE (((CD.name)=?))" +
                               OrderOnServer(catalog.connection, kVolumeOrder),
                           {SqlTextValue(listPath)});
    }
    // The volume is named after the folder holding the list; a folder list's own trailing "/"
    // is not that folder, except on a drive root, which is its own volume.
    QString name = FolderOf(listPath);
    if (listPath.endsWith(u'/') && !IsDriveRootText(listPath, drives))
        name = FolderOf(listPath.left(listPath.size() - 1));
    return FirstNumber(catalog.connection,
                       "SELECT id, name,label From CD WHERE (((name)=?) AND ((label)=?" +
                           QString::fromLatin1(UnicodeNoCase::kCollate) + "))" +
                           OrderOnServer(catalog.connection, kVolumeOrder),
                       {SqlTextValue(name), SqlTextValue(label)});
}

Lookup<bool> VolumeLabelExists(Catalog& catalog, const QString& label) {
    return HasRow(catalog.connection,
                  "SELECT name, label From CD WHERE (((label)=?" +
                      QString::fromLatin1(UnicodeNoCase::kCollate) + "))",
                  {SqlTextValue(label)});
}

Lookup<FoundStyle> FindStyle(Catalog& catalog, const QString& name) {
    Recordset rows;
    if (!catalog.connection.execute("SELECT nick.id, nick.nick From nick WHERE (((nick.nick)=?" +
                                        QString::fromLatin1(UnicodeNoCase::kCollate) + "))" +
                                        OrderOnServer(catalog.connection, kIdOrder),
                                    {SqlTextValue(name)}, rows))
        return Lookup<FoundStyle>::failed(catalog.connection.lastError());
    if (rows.eof())
        return FoundStyle{};
    return FoundStyle{rows.field(0).toLongLong(), rows.field(1).toString()};
}

Lookup<qint64> FindStyleId(Catalog& catalog, const QString& name) {
    const Lookup<FoundStyle> found = FindStyle(catalog, name);
    if (!found)
        return Lookup<qint64>::failed(found.error);
    return found.value.id;
}

Lookup<qint64> FindListId(Catalog& catalog, const Drives& drives, const QString& listPath) {
    const ListPathParts list = SplitListPath(listPath, drives);
    return FirstNumber(catalog.connection,
                       "SELECT id, file,path From m3u WHERE (((file)=?) AND ((path)=?))" +
                           OrderOnServer(catalog.connection, kListOrder),
                       {SqlTextValue(list.file), SqlTextValue(list.path)});
}

Lookup<qint64> FindListIdOnVolume(Catalog& catalog, const Drives& drives, const QString& listPath,
                                  qint64 volumeId) {
    return FindListIdOnVolume(catalog, SplitListPath(listPath, drives), volumeId);
}

Lookup<qint64> FindListIdOnVolume(Catalog& catalog, const ListPathParts& list, qint64 volumeId) {
    return FirstNumber(catalog.connection,
                       "SELECT id, path, file, cd_id From m3u WHERE (((path)=?) AND ((file)=?) AND "
                       "((cd_id)=?))" +
                           OrderOnServer(catalog.connection, kIdOrder),
                       {SqlTextValue(list.path), SqlTextValue(list.file), volumeId});
}

Lookup<bool> VolumeIsCdByName(Catalog& catalog, const QString& name) {
    const Lookup<QVariant> isCd = FirstField(catalog.connection,
                                             "SELECT isCd From CD WHERE (((CD.name)=?))" +
                                                 OrderOnServer(catalog.connection, kVolumeOrder),
                                             {SqlTextValue(name)});
    if (!isCd.ok)
        return Lookup<bool>::failed(isCd.error);
    return {isCd.value.toBool()};
}

Lookup<QString> VolumeLabelById(Catalog& catalog, qint64 volumeId) {
    const Lookup<QVariant> label =
        FirstField(catalog.connection, "SELECT label From CD WHERE id=?", {volumeId});
    if (!label.ok)
        return Lookup<QString>::failed(label.error);
    return {label.value.toString()};
}

Lookup<qint64> ListIdOfTrack(Catalog& catalog, qint64 trackId) {
    return FirstNumber(catalog.connection, "SELECT m3u_id From MP3 WHERE id=?", {trackId});
}

Lookup<qint64> VolumeIdOfTrack(Catalog& catalog, qint64 trackId) {
    const Lookup<qint64> listId = ListIdOfTrack(catalog, trackId);
    if (!listId.ok)
        return Lookup<qint64>::failed(listId.error);
    return FirstNumber(catalog.connection, "SELECT cd_id From M3U WHERE id=?", {listId.value});
}

Lookup<bool> VolumeIsCdById(Catalog& catalog, qint64 volumeId) {
    const Lookup<QVariant> isCd =
        FirstField(catalog.connection, "SELECT isCD From CD WHERE id=?", {volumeId});
    if (!isCd.ok)
        return Lookup<bool>::failed(isCd.error);
    return {isCd.value.toBool()};
}

Lookup<bool> VolumeNameExists(Catalog& catalog, const QString& name) {
    return HasRow(catalog.connection, "SELECT name From CD WHERE name=?", {SqlTextValue(name)});
}

} // namespace tarl
