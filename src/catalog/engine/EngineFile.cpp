#include "catalog/engine/EngineFile.h"

#include "catalog/engine/CatalogAddress.h"
#include "catalog/engine/ForeignSchema.h"
#include "catalog/engine/NewFile.h"
#include "catalog/engine/SqliteUri.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace tarl {

EngineFile::~EngineFile() {
    sqlite3_close_v2(db_);
}

Result<> EngineFile::open(const QString& path, const QString& mode, int flags) {
    sqlite3_close_v2(db_);
    db_ = nullptr;
    path_ = path;
    const QByteArray uri = SqliteUri(path, mode).toUtf8();
    const int rc = sqlite3_open_v2(uri.constData(), &db_, flags | SQLITE_OPEN_URI, nullptr);
    if (rc == SQLITE_OK) {
        if (const Result<> guarded = GuardCatalogConnection(db_); !guarded) {
            sqlite3_close_v2(db_);
            db_ = nullptr;
            return guarded;
        }
        return {};
    }
    const QString why = db_ ? EngineMessage(db_) : QString::fromUtf8(sqlite3_errstr(rc));
    sqlite3_close_v2(db_);
    db_ = nullptr;
    return Result<>::failed(why);
}

Result<> EngineFile::openExisting(const QString& path) {
    if (IsServerAddress(path))
        return Result<>::failed(ServerCatalogIsNotAFile(path));
    const QFileInfo info(path);
    if (!info.exists())
        return Result<>::failed(QStringLiteral("The file %1 does not exist.").arg(path));
    if (info.isDir())
        return Result<>::failed(QStringLiteral("%1 is a folder, not a file.").arg(path));
    if (info.isWritable() && QFileInfo(info.absolutePath()).isWritable() &&
        open(path, QStringLiteral("rw"), SQLITE_OPEN_READWRITE))
        return {};
    const Result<> opened = open(path, QStringLiteral("ro"), SQLITE_OPEN_READONLY);
    if (!opened)
        return Result<>::failed(
            QStringLiteral("The file %1 cannot be opened: %2.").arg(path, opened.error));
    return {};
}

Result<> EngineFile::openForReading(const QString& path) {
    if (IsServerAddress(path))
        return Result<>::failed(ServerCatalogIsNotAFile(path));
    return open(path, QStringLiteral("ro"), SQLITE_OPEN_READONLY);
}

Result<> EngineFile::create(const QString& path) {
    if (IsServerAddress(path))
        return Result<>::failed(ServerCatalogIsNotAFile(path));
    if (const Result<> made = CreateNewFile(path); !made)
        return made;
    // A journal beside a new file was put there by someone else; the engine would play it in.
    for (const QString& companion : CompanionFiles(path)) {
        if (QFileInfo::exists(companion) || QFileInfo(companion).isSymLink()) {
            QFile::remove(path);
            return Result<>::failed(
                QStringLiteral("the file %1 is in the way of the copy").arg(companion));
        }
    }
    const Result<> opened =
        open(path, QStringLiteral("rw"), SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW);
    if (!opened)
        QFile::remove(path);
    return opened;
}

Result<> EngineFile::holdAlone() {
    sqlite3_file* file = nullptr;
    if (!db_ || sqlite3_file_control(db_, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK ||
        !file || !file->pMethods)
        return Result<>::failed(QStringLiteral("the engine has no file open"));
    // Through the engine's own locks: a lock of ours on a descriptor of our own would be dropped
    // with any other descriptor of the file this program closes, and the engine's connections
    // of this program would not see it.
    int rc = file->pMethods->xLock(file, SQLITE_LOCK_SHARED);
    if (rc == SQLITE_OK)
        rc = file->pMethods->xLock(file, SQLITE_LOCK_EXCLUSIVE);
    if (rc == SQLITE_OK)
        return {};
    file->pMethods->xUnlock(file, SQLITE_LOCK_NONE);
    if ((rc & 0xff) == SQLITE_BUSY)
        return Result<>::failed(QStringLiteral("another program (a Tarl window or tarl-catalog) "
                                               "has it open; close that program and try again"));
    return Result<>::failed(QString::fromUtf8(sqlite3_errstr(rc)));
}

Result<> EngineFile::close() {
    if (!db_)
        return {};
    const int rc = sqlite3_close_v2(db_);
    db_ = nullptr;
    if (rc == SQLITE_OK)
        return {};
    return Result<>::failed(QString::fromUtf8(sqlite3_errstr(rc)));
}

int EngineFile::run(const char* statement, QString* why) {
    const int rc = sqlite3_exec(db_, statement, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK && why)
        *why = EngineMessage(db_);
    return rc;
}

QString EngineMessage(sqlite3* db) {
    return QString::fromUtf8(sqlite3_errmsg(db));
}

QStringList CompanionFiles(const QString& path) {
    return {path + QStringLiteral("-wal"), path + QStringLiteral("-shm"),
            path + QStringLiteral("-journal")};
}

} // namespace tarl
