#include "catalog/WrittenPlaylists.h"

#include "catalog/engine/Connection.h"
#include "catalog/engine/FirstRow.h"
#include "catalog/engine/Recordset.h"

namespace tarl {

Lookup<std::vector<PickedTrack>> ReadPickedTracks(Catalog& catalog,
                                                  const std::vector<qint64>& ids) {
    std::vector<PickedTrack> tracks;
    tracks.reserve(ids.size());
    Recordset row;
    for (const qint64 id : ids) {
        if (!catalog.connection.execute(
                "SELECT path, file, title, artist, time FROM Mp3 WHERE id=?", {id}, row))
            return Lookup<std::vector<PickedTrack>>::failed(catalog.connection.lastError());
        if (row.eof())
            continue;
        // An empty tag is stored as a single space.
        tracks.push_back({row.field(0).toString(), row.field(1).toString(),
                          row.field(2).toString().trimmed(), row.field(3).toString().trimmed(),
                          row.field(4).toLongLong()});
    }
    return {std::move(tracks)};
}

Result<> DeleteTracksOfList(Catalog& catalog, qint64 listId) {
    return Ran(catalog.connection,
               catalog.connection.execute("DELETE FROM Mp3 WHERE m3u_id=?", {listId}));
}

} // namespace tarl
