#include "catalog/TrackLength.h"

#include "catalog/Connection.h"
#include "catalog/FirstRow.h"
#include "catalog/QuoteSql.h"
#include "text/PathText.h"

namespace tarl {

Lookup<qint64> StoredTrackLength(Catalog& catalog, const QString& fullPath) {
    const QString folder = FolderOf(fullPath);
    const QString file = fullPath.mid(folder.size());
    return FirstNumber(catalog.connection, catalog.general,
                       "SELECT time From Mp3 WHERE (" + QStringLiteral("((path)=") + "'" +
                           QuoteSql(folder) + "'" + ") AND " + "((file)=" + "'" + QuoteSql(file) +
                           "'" + "))" + OrderOnServer(catalog.connection, " ORDER BY id"));
}

Result<> StoreTrackLength(Catalog& catalog, const QString& fullPath, qint64 seconds) {
    const QString folder = FolderOf(fullPath);
    const QString file = fullPath.mid(folder.size());
    return Ran(catalog.connection,
               catalog.connection.execute("UPDATE Mp3 SET time =" + QString::number(seconds) +
                                              " WHERE " + "Mp3.path='" + QuoteSql(folder) +
                                              "' AND " + "Mp3.file='" + QuoteSql(file) + "'",
                                          catalog.general));
}

} // namespace tarl
