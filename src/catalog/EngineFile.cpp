#include "catalog/EngineFile.h"

#include "catalog/CatalogAddress.h"
#include "catalog/SqliteUri.h"

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
    if (rc == SQLITE_OK)
        return {};
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

Result<> EngineFile::create(const QString& path) {
    if (IsServerAddress(path))
        return Result<>::failed(ServerCatalogIsNotAFile(path));
    // A journal left by an earlier copy that stopped would be played back into the new one.
    for (const QString& companion : CompanionFiles(path))
        QFile::remove(companion);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return Result<>::failed(file.errorString());
    file.close();
    return open(path, QStringLiteral("rw"), SQLITE_OPEN_READWRITE);
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
