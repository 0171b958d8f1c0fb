#include "catalog/engine/CatalogFile.h"

#include "catalog/engine/CatalogAddress.h"
#include "catalog/engine/Schema.h"
#include "catalog/engine/ServerCatalog.h"
#include "catalog/engine/SqliteUri.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace tarl {

namespace {

// Runs statements in order on `db`; "" when all ran, else the engine's reason.
QString RunAll(sqlite3* db, const QStringList& statements) {
    for (const QString& statement : statements) {
        char* message = nullptr;
        if (sqlite3_exec(db, statement.toUtf8().constData(), nullptr, nullptr, &message) ==
            SQLITE_OK)
            continue;
        const QString why = QString::fromUtf8(message ? message : sqlite3_errmsg(db));
        sqlite3_free(message);
        return why;
    }
    return {};
}

// Writes the tables and indexes into the empty file at `path`; "" on success, else why not.
QString WriteSchema(const QString& path) {
    sqlite3* db = nullptr;
    // mode=rw: the empty file was made by the caller; SQLite must not make another.
    const QByteArray uri = SqliteUri(path, QStringLiteral("rw")).toUtf8();
    int rc =
        sqlite3_open_v2(uri.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI, nullptr);
    if (rc != SQLITE_OK) {
        const QString why = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close_v2(db);
        return why;
    }
    // The journal mode is kept in the file, so every later connection writes ahead too.
    QString why =
        RunAll(db, {"PRAGMA journal_mode = WAL", "PRAGMA synchronous = FULL", "BEGIN IMMEDIATE"});
    if (why.isEmpty()) {
        why = RunAll(db,
                     Schema::TableStatements() + Schema::IndexStatements() + QStringList{"COMMIT"});
        if (!why.isEmpty())
            RunAll(db, {"ROLLBACK"});
    }
    if (sqlite3_close_v2(db) != SQLITE_OK && why.isEmpty())
        why = QStringLiteral("the file could not be closed");
    return why;
}

void RemoveWithCompanions(const QString& path) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

} // namespace

Result<> CreateCatalog(const QString& file) {
    const auto fail = [](const QString& why) { return Result<>::failed(why); };
    if (file.isEmpty())
        return fail(QStringLiteral("No name was given for the new catalog file."));
    if (IsServerAddress(file)) {
        const Result<ServerAddress> address = ParseServerAddress(file);
        if (!address)
            return fail(address.error);
        return CreateServerCatalog(address.value);
    }
    const QFileInfo info(file);
    // A dangling link counts as existing: writing through it would create its target.
    if (info.exists() || info.isSymLink())
        return fail(QStringLiteral("The file %1 already exists; a new catalog needs a new name.")
                        .arg(file));
    if (!info.absoluteDir().exists())
        return fail(QStringLiteral("The folder %1 does not exist.").arg(info.absolutePath()));

    // NewOnly creates the file or fails: two programs making the same catalog cannot both win.
    QFile created(file);
    if (!created.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (QFileInfo::exists(file))
            return fail(QStringLiteral("The file %1 already exists; a new catalog needs a new "
                                       "name.")
                            .arg(file));
        return fail(QStringLiteral("The catalog file %1 cannot be created: %2.")
                        .arg(file, created.errorString()));
    }
    created.close();

    const QString why = WriteSchema(file);
    if (why.isEmpty())
        return {};
    RemoveWithCompanions(file);
    return fail(QStringLiteral("The catalog file %1 cannot be created: %2.").arg(file, why));
}

} // namespace tarl
