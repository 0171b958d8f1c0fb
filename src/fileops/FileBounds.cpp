#include "fileops/FileBounds.h"

#include "catalog/LibraryReads.h"
#include "platform/LocalFiles.h"
#include "text/PathMap.h"

#include <algorithm>

namespace tarl {

bool FileBounds::holds(const QString& path) const {
    const QString resolved = ResolvedFilePath(path);
    if (list && !LiesInFolder(resolved, *list))
        return false;
    return holdsFolder(resolved);
}

bool FileBounds::holdsFolder(const QString& folder) const {
    const QString resolved = folder.endsWith(u'/') ? ResolvedFolder(folder) : folder;
    return std::ranges::any_of(
        volumes, [&](const QString& volume) { return LiesInFolder(resolved, volume); });
}

QString FileBounds::outsideWords() const {
    return list ? QStringLiteral("outside the list's folder")
                : QStringLiteral("outside the catalog's folders");
}

Result<FileBounds> ReadFileBounds(Catalog& catalog, const PathMap& pathMap,
                                  const std::optional<QString>& listFolder) {
    const Lookup<std::vector<VolumeRow>> volumes = ReadVolumes(catalog);
    if (!volumes)
        return Result<FileBounds>::failed(volumes.error);
    FileBounds bounds;
    for (const VolumeRow& volume : volumes.value) {
        // A name that is no absolute folder (an odd row) bounds nothing.
        if (volume.name.startsWith(u'/'))
            bounds.volumes.push_back(ResolvedFolder(pathMap.toLocal(volume.name)));
    }
    if (listFolder)
        bounds.list =
            listFolder->startsWith(u'/') ? ResolvedFolder(pathMap.toLocal(*listFolder)) : QString();
    return bounds;
}

Result<> CheckFileName(const QString& name) {
    if (name.isEmpty())
        return Result<>::failed(QStringLiteral("A name cannot be empty."));
    if (name.contains(u'/'))
        return Result<>::failed(
            QStringLiteral("The name \"%1\" holds a \"/\": it would lead into another folder.")
                .arg(name));
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return Result<>::failed(
            QStringLiteral("The name \"%1\" is the folder itself or the one above it.").arg(name));
    return {};
}

} // namespace tarl
