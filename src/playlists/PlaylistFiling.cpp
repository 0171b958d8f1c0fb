#include "playlists/PlaylistFiling.h"

#include "catalog/ImportStatements.h"
#include "catalog/ImportTransaction.h"
#include "catalog/WrittenPlaylists.h"
#include "catalog/engine/Connection.h"
#include "scan/PlaylistImport.h"
#include "text/PathMap.h"
#include "text/PathText.h"

namespace tarl {
namespace {

const QString kHardDiscMarker = QStringLiteral("EOF");

// The steps of one filing inside its transaction; each fails with the reason.
class Filing {
public:
    Filing(Catalog& catalog, const Drives& drives) : catalog_(catalog), drives_(drives) {}

    // The hard-disc volume of `folder`, added when the catalog has none.
    Lookup<qint64> volumeOf(const QString& folder, const QString& listPath) {
        const Lookup<qint64> found = statements_.volumeOfList(drives_, listPath, kHardDiscMarker);
        if (!found || found.value != 0)
            return found;
        if (const Result<> added = statements_.insertVolume(folder, 1, kHardDiscMarker, nullptr);
            !added)
            return Lookup<qint64>::failed(added.error);
        return statements_.volumeOfList(drives_, listPath, kHardDiscMarker);
    }

    // The list at `list` on `volumeId`, added when missing, without any entry.
    Lookup<qint64> emptyList(const ListPathParts& list, qint64 volumeId) {
        const Lookup<qint64> listId = statements_.listOnVolume(list, volumeId);
        if (!listId || listId.value == 0)
            return listId.ok ? Lookup<qint64>::failed(
                                   QStringLiteral("The catalog did not keep the playlist's list."))
                             : listId;
        if (const Result<> cleared = DeleteTracksOfList(catalog_, listId.value); !cleared)
            return Lookup<qint64>::failed(cleared.error);
        return listId;
    }

    Result<> addEntries(const QString& playlistPath, qint64 listId, const PathMap& pathMap) {
        PlaylistTracksRun run;
        run.pathMap = &pathMap;
        run.tagsOf = PlaylistEntryTags;
        return AddPlaylistTracks(catalog_, statements_, playlistPath, listId, run);
    }

private:
    Catalog& catalog_;
    const Drives& drives_;
    ImportStatements statements_{catalog_.connection};
};

} // namespace

Result<> FilePlaylist(Catalog& catalog, const Drives& drives, const PathMap& pathMap,
                      const QString& playlistPath) {
    const QString localFolder = FolderOf(playlistPath);
    const QString folder = pathMap.toStored(localFolder);
    const ListPathParts list{folder, playlistPath.mid(localFolder.size())};
    const QString listPath = list.path + list.file;

    ImportTransaction transaction(catalog);
    if (!transaction.begin())
        return Result<>::failed(catalog.connection.lastError());
    const auto fail = [&](const QString& why) {
        transaction.rollback();
        return Result<>::failed(why);
    };
    Filing filing(catalog, drives);
    const Lookup<qint64> volumeId = filing.volumeOf(folder, listPath);
    if (!volumeId)
        return fail(volumeId.error);
    if (volumeId.value == 0)
        return fail(
            QStringLiteral("The catalog did not keep the playlists' folder %1.").arg(folder));
    const Lookup<qint64> listId = filing.emptyList(list, volumeId.value);
    if (!listId)
        return fail(listId.error);
    if (const Result<> added = filing.addEntries(playlistPath, listId.value, pathMap); !added)
        return fail(added.error);
    if (!transaction.commit())
        return fail(catalog.connection.lastError());
    return {};
}

} // namespace tarl
