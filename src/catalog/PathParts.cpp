#include "catalog/PathParts.h"

#include "platform/PathRules.h"

namespace tarl {

QString FolderOf(const QString& path) {
    return path.left(path.lastIndexOf(u'/') + 1);
}

QString LastPathPart(QString& path) {
    if (path.endsWith(u'/'))
        path.chop(1);
    return path.mid(path.lastIndexOf(u'/') + 1);
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

bool IsDriveRootText(const QString& path, const Drives& drives) {
    return !path.isEmpty() && DriveOf(path, drives) == path;
}

} // namespace tarl
