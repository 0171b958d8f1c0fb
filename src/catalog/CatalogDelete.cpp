#include "catalog/CatalogDelete.h"

#include "catalog/CatalogFind.h"
#include "catalog/LibraryTreeEdits.h"
#include "catalog/engine/BoundQuery.h"
#include "catalog/engine/Connection.h"
#include "catalog/engine/FirstRow.h"
#include "catalog/engine/Recordset.h"
#include "catalog/engine/UnicodeNoCase.h"
#include "platform/Files.h"
#include "text/PathText.h"

#include <QDir>

namespace tarl {

namespace {

const QString kHardDiscMarker = QStringLiteral("EOF");
const QString kCdKeySeparator = QStringLiteral(":>");

// The list's row and its tracks.
bool DeleteListRows(Catalog& catalog, qint64 listId) {
    return catalog.connection.execute("DELETE FROM M3u WHERE (((id)=? ))", {listId}) &&
           catalog.connection.execute("DELETE FROM Mp3 WHERE (((M3u_id)=? ))", {listId});
}

// The volume that a library tree key names.
Lookup<qint64> VolumeIdOfKey(Catalog& catalog, const Drives& drives, const QString& volumeKey) {
    // A hard-disc volume is keyed by its name; FindVolumeId takes a list path, whose folder is
    // the volume, so the name gets one more "/".
    if (IsAbsolutePath(volumeKey))
        return FindVolumeId(catalog, drives, volumeKey + u'/', kHardDiscMarker);
    const QString label = volumeKey.left(volumeKey.indexOf(kCdKeySeparator));
    // Disc names are one name whatever their case, but a catalog written before may hold both
    // "Disc1" and "disc1": the node's own spelling comes first, so the disc shown is the one
    // deleted.
    const QString stored = SqlTextValue(label);
    return FirstNumber(
        catalog.connection,
        "SELECT id,label From Cd WHERE ((label)=?" + QString::fromLatin1(UnicodeNoCase::kCollate) +
            " ) ORDER BY (label = ?) DESC" + OrderOnServer(catalog.connection, ", id"),
        {stored, stored});
}

// Whether a volume's key is a folder written plainly: absolute, without "." or ".." parts
// (a row may name "/music/../home/ann/"), so the folder it reaches is the volume's own.
bool NamesItsOwnFolder(const QString& volumeKey) {
    return IsAbsolutePath(volumeKey) &&
           WithTrailingSlash(QDir::cleanPath(volumeKey)) == WithTrailingSlash(volumeKey);
}

} // namespace

Result<> DeleteStyle(Catalog& catalog, const QString& name, LibraryTreeEdits* tree) {
    // The rows of the node's own spelling: a catalog written before names compared without case
    // may hold "Rock" and "rock" as two nodes, and the tree loses only this one.
    const QString named = QStringLiteral("(((Nick.nick)=?))");
    const QVariantList values = {SqlTextValue(name)};
    // The style's lists go back to no style first, while the style's rows still name them, so no
    // list is ever left with a style that is gone.
    if (!catalog.connection.execute("UPDATE M3u " + QStringLiteral(" SET nick = 0 WHERE ") +
                                        "M3u.nick IN (SELECT id FROM Nick WHERE " + named + ")",
                                    values))
        return Ran(catalog.connection, false);
    if (!catalog.connection.execute("DELETE FROM Nick WHERE " + named, values))
        return Ran(catalog.connection, false);
    if (tree)
        tree->removeNode(name);
    return {};
}

Result<> DeleteList(Catalog& catalog, const Drives& drives, const QString& listPath,
                    LibraryTreeEdits* tree) {
    if (tree && tree->hasNode(listPath))
        tree->removeNode(listPath);
    const Lookup<qint64> id = FindListId(catalog, drives, listPath);
    if (!id.ok)
        return Result<>::failed(id.error);
    return Ran(catalog.connection, DeleteListRows(catalog, id.value));
}

Result<> DeleteTrack(Catalog& catalog, qint64 trackId) {
    if (trackId == 0)
        return {};
    return Ran(catalog.connection,
               catalog.connection.execute("DELETE FROM Mp3 WHERE id=?", {trackId}));
}

Result<> DeleteVolume(Catalog& catalog, const Drives& drives, Files& files,
                      const QString& volumeKey, LibraryTreeEdits* tree) {
    const Lookup<qint64> id = VolumeIdOfKey(catalog, drives, volumeKey);
    if (!id.ok)
        return Result<>::failed(id.error);
    // A node that only groups the volumes of one folder stands for no row: nothing would go.
    if (id.value == 0)
        return Result<>::failed(
            QStringLiteral("\"%1\" is no volume of the catalog: it groups the volumes in that "
                           "folder, each of which can be deleted")
                .arg(volumeKey));
    if (tree)
        tree->removeNode(volumeKey);

    // From here a failing step is skipped; the first failure is reported once all have run.
    bool allRan = true;
    QString firstError;
    const auto note = [&](bool ran) {
        if (!ran && allRan)
            firstError = catalog.connection.lastError();
        allRan = allRan && ran;
    };

    // Only an empty folder goes; one that still holds files stays, as do CD volumes, whose key
    // is not a path, and a name whose "." or ".." parts lead out of the volume's own folder.
    if (NamesItsOwnFolder(volumeKey))
        files.removeFolder(volumeKey);

    note(catalog.connection.execute("DELETE FROM CD WHERE (((id)=? ))", {id.value}));

    Recordset lists;
    note(catalog.connection.execute("SELECT Cd_id,path,file From m3u WHERE ((cd_id)=? )",
                                    {id.value}, lists));
    for (; !lists.eof(); lists.moveNext()) {
        const ListPathParts list{lists.field(1).toString(), lists.field(2).toString()};
        const QString listPath = list.path + list.file;
        if (tree && tree->hasNode(listPath))
            tree->removeNode(listPath);
        // The list of this volume: another volume may hold a list at the same path (two CDs
        // mounted on the same folder), and that one must stay.
        const Lookup<qint64> listId = FindListIdOnVolume(catalog, list, id.value);
        note(listId.ok);
        if (listId.ok)
            note(DeleteListRows(catalog, listId.value));
    }

    if (!allRan)
        return Result<>::failed(firstError);
    return {};
}

Result<> DeleteVolumesKeepingLists(Catalog& catalog, const QString& name) {
    return Ran(catalog.connection,
               catalog.connection.execute("DELETE FROM CD WHERE name=?", {SqlTextValue(name)}));
}

} // namespace tarl
