#include "catalog/ImportTransaction.h"

#include "catalog/engine/Connection.h"
#include "catalog/engine/FirstRow.h"
#include "catalog/engine/ServerCatalog.h"

namespace tarl {

bool ImportTransaction::begin() {
    // A file is taken for writing at once; a server locks the rows a batch writes as it goes.
    const bool onServer = catalog_.connection.engine() == CatalogEngine::Postgres;
    if (!catalog_.connection.execute(onServer ? QStringLiteral("BEGIN")
                                              : QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    // Batches of several machines one after the other (waiting at most the lock timeout).
    if (onServer && !catalog_.connection.execute(
                        QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kImportBatchLock))) {
        const QString why = catalog_.connection.lastError();
        catalog_.connection.execute(QStringLiteral("ROLLBACK"));
        catalog_.connection.setLastError(why);
        return false;
    }
    open_ = true;
    return true;
}

bool ImportTransaction::commit() {
    if (!catalog_.connection.execute(QStringLiteral("COMMIT")))
        return false;
    open_ = false;
    return true;
}

void ImportTransaction::rollback() {
    if (open_)
        catalog_.connection.execute(QStringLiteral("ROLLBACK"));
    open_ = false;
}

ImportCacheSize::ImportCacheSize(Catalog& catalog) : catalog_(catalog) {
    // A server keeps its own cache.
    if (catalog.connection.engine() == CatalogEngine::Postgres)
        return;
    ownSize_ = FirstNumber(catalog.connection, QStringLiteral("PRAGMA cache_size"));
    catalog_.connection.execute(QStringLiteral("PRAGMA cache_size = -65536"));
}

void ImportCacheSize::restore() {
    if (ownSize_.ok)
        catalog_.connection.execute("PRAGMA cache_size = " + QString::number(ownSize_.value));
    ownSize_.ok = false;
}

} // namespace tarl
