#include "platform/PathRules.h"

#include "platform/Drives.h"

#include <QDir>

namespace tarl {

bool IsAbsolutePath(const QString& path) {
    return path.startsWith('/');
}

QString DriveOf(const QString& path, const Drives& drives) {
    if (!IsAbsolutePath(path))
        return {};
    return drives.driveRoot(path);
}

bool IsDriveRoot(const QString& path, const Drives& drives) {
    if (!IsAbsolutePath(path))
        return false;
    const QString root = drives.driveRoot(path);
    return !root.isEmpty() && WithTrailingSlash(QDir::cleanPath(path)) == root;
}

QString WithTrailingSlash(const QString& path) {
    if (path.isEmpty())
        return {};
    const QString bare = WithoutTrailingSlash(path);
    return bare == QLatin1String("/") ? bare : bare + '/';
}

QString WithoutTrailingSlash(const QString& path) {
    qsizetype end = path.size();
    while (end > 1 && path[end - 1] == '/')
        --end;
    return path.left(end);
}

} // namespace tarl
