#include "player/PlayTarget.h"

#include "platform/Files.h"
#include "scan/PlaylistFile.h"
#include "tags/AudioFormat.h"
#include "text/PlaylistText.h"

namespace tarl {

namespace {

bool FolderTracks(const Files& files, const QString& folder, QStringList* tracks, QString* error) {
    const FolderListing listing = files.list(folder);
    if (!listing.ok()) {
        *error = QStringLiteral("Cannot read %1: %2").arg(folder, listing.error);
        return false;
    }
    for (const FileEntry& entry : listing.entries) {
        if (!entry.isDir && FormatOfFileName(entry.name))
            tracks->append(folder + entry.name);
    }
    return true;
}

} // namespace

Result<QStringList> TracksToPlay(const Files& files, const QString& target) {
    QStringList tracks;
    QString failure;
    bool read = true;
    if (target.endsWith(u'/'))
        read = FolderTracks(files, target, &tracks, &failure);
    else if (target.endsWith(QLatin1String("/.")))
        read = FolderTracks(files, target.chopped(1), &tracks, &failure);
    else if (IsPlaylistFileName(target)) {
        Result<QStringList> listed = PlaylistTracks(target);
        tracks = std::move(listed.value);
        failure = listed.error;
        read = listed.ok;
    } else if (!target.isEmpty())
        tracks.append(target);
    if (read && tracks.isEmpty())
        failure = QStringLiteral("%1 holds no track to play.").arg(target);
    if (!failure.isEmpty())
        return Result<QStringList>::failed(failure);
    return tracks;
}

} // namespace tarl
