#include "catalog/engine/CatalogFileHead.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <sqlite3.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace tarl {

// What keeps the file from being a catalog before SQLite opens it; "" when it may be one. Only
// the file's status is asked here: a descriptor of our own on the catalog, once closed, would
// drop every lock this process holds on it, those of its other open connections included, and
// another program would then take the catalog as unused and remove its log.
QString CheckFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("The catalog file %1 does not exist.").arg(path);
    if (info.isDir())
        return QStringLiteral("The catalog file %1 is a folder, not a file.").arg(path);
    if (info.size() == 0)
        return QStringLiteral("The catalog file %1 is not a Tarl catalog (it is empty).").arg(path);
    if (::access(QFile::encodeName(path).constData(), R_OK) != 0)
        return QStringLiteral("The catalog file %1 cannot be read: %2.")
            .arg(path, qt_error_string(errno));
    return {};
}

// The first `count` bytes of the file the engine opened, read through the engine's own
// descriptor (see CheckFile); zeros past its end. Empty when the engine has no such file.
QByteArray EngineFileHead(sqlite3* handle, int count) {
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(handle, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK ||
        !file || !file->pMethods)
        return {};
    QByteArray bytes(count, '\0');
    const int rc = file->pMethods->xRead(file, bytes.data(), count, 0);
    if (rc != SQLITE_OK && rc != SQLITE_IOERR_SHORT_READ)
        return {};
    return bytes;
}

// Reading the header before the first statement leaves a file that is not SQLite untouched.
QString CheckHeader(const QString& path, sqlite3* handle) {
    static const QByteArray header("SQLite format 3\0", 16);
    const QByteArray head = EngineFileHead(handle, static_cast<int>(header.size()));
    if (head.isEmpty())
        return QStringLiteral("The catalog file %1 cannot be read.").arg(path);
    if (head != header)
        return QStringLiteral("The catalog file %1 is not a Tarl catalog (it is not an SQLite "
                              "database).")
            .arg(path);
    return {};
}

// The file lies on a file system mounted read-only (a CD, a write-protected card).
bool OnReadOnlyMedia(const QString& path) {
    struct statvfs status {};
    return ::statvfs(QFile::encodeName(path).constData(), &status) == 0 &&
           (status.f_flag & ST_RDONLY) != 0;
}

QString ReadOnlyMediaNote(const QString& path) {
    return QStringLiteral("The catalog file %1 is on a read-only disc: it is opened for reading "
                          "only, and nothing in it can be changed.")
        .arg(path);
}

// The header says the file is written ahead (its read and write versions are 2).
bool MarkedWriteAhead(sqlite3* handle) {
    constexpr int kVersions = 18;
    return EngineFileHead(handle, kVersions + 2).mid(kVersions) == "\2\2";
}

} // namespace tarl
