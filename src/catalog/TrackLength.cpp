#include "catalog/TrackLength.h"

#include "catalog/engine/BoundQuery.h"
#include "catalog/engine/Connection.h"
#include "catalog/engine/FirstRow.h"
#include "text/PathText.h"

namespace tarl {

Lookup<qint64> StoredTrackLength(Catalog& catalog, const QString& fullPath) {
    const QString folder = FolderOf(fullPath);
    const QString file = fullPath.mid(folder.size());
    return FirstNumber(catalog.connection,
                       "SELECT time From Mp3 WHERE (((path)=?) AND ((file)=?))" +
                           OrderOnServer(catalog.connection, " ORDER BY id"),
                       {SqlTextValue(folder), SqlTextValue(file)});
}

Result<> StoreTrackLength(Catalog& catalog, const QString& fullPath, qint64 seconds) {
    const QString folder = FolderOf(fullPath);
    const QString file = fullPath.mid(folder.size());
    return Ran(catalog.connection,
               catalog.connection.execute("UPDATE Mp3 SET time =? WHERE Mp3.path=? AND Mp3.file=?",
                                          {seconds, SqlTextValue(folder), SqlTextValue(file)}));
}

} // namespace tarl
