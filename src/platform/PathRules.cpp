#include "platform/PathRules.h"

#include "platform/Drives.h"
#include "platform/Files.h"
#include "text/PathText.h"

#include <QDir>

namespace tarl {

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

bool IsDriveRootText(const QString& path, const Drives& drives) {
    return !path.isEmpty() && DriveOf(path, drives) == path;
}

ListPathParts SplitListPath(const QString& listPath, const Drives& drives) {
    ListPathParts parts;
    // A folder list is stored under its parent; a drive root has no parent and stands for itself.
    if (listPath.endsWith(u'/') && !IsDriveRootText(listPath, drives))
        parts.path = FolderOf(listPath.left(listPath.size() - 1));
    else
        parts.path = FolderOf(listPath);
    parts.file = listPath.mid(parts.path.size());
    if (parts.file.isEmpty())
        parts.file = QStringLiteral(".");
    return parts;
}

bool PathExists(const Files& files, const QString& path) {
    if (path.isEmpty())
        return false;
    if (path.endsWith(u'/'))
        return files.isDir(path);
    return files.exists(path) && !files.isDir(path);
}

} // namespace tarl
