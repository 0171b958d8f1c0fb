#include "history/HistoryReplay.h"

#include "history/Favorites.h"
#include "history/HistoryFile.h"
#include "scan/TemporaryPlaylist.h"
#include "state/AppState.h"

namespace tarl {
namespace {

// The number (from 1) of the first entry equal to `track` without regard to case; 0 when none.
int FirstLineIgnoringCase(const QStringList& entries, const QString& track) {
    for (int i = 0; i < entries.size(); ++i) {
        if (entries[i].compare(track, Qt::CaseInsensitive) == 0)
            return i + 1;
    }
    return 0;
}

} // namespace

Result<> ReplayAt(AppState& state, const ReplayPlace& place, const ReplaySteps& steps,
                  const QString& notFound) {
    if (!steps.selectFolderNode || !steps.selectFolderNode(place.folder))
        return Result<>::failed(notFound);
    if (steps.playList)
        steps.playList();

    const int line = FirstLineIgnoringCase(ReadTemporaryPlaylist(state.tmpPlaylistPath),
                                           state.pathMap.toLocal(place.folder + place.song));
    if (line == 0)
        return {}; // the list plays from its start
    if (steps.resume)
        steps.resume(line - 1, place.seconds);
    return {};
}

Result<> ReplayHistoryEntry(AppState& state, int entry, const ReplaySteps& steps) {
    if (entry < 1)
        return {};
    const QList<HistoryRecord> records = ReadHistory(HistoryFilePath(state.programFolder), entry);
    if (records.size() < entry)
        return {};
    const HistoryRecord& record = records[entry - 1];
    return ReplayAt(state, {record.folder, record.song, record.position.trimmed().toLongLong()},
                    steps, QStringLiteral("I can't find this history playlist"));
}

Result<> ReplayFavorite(AppState& state, const Favorite& favorite, const ReplaySteps& steps) {
    return ReplayAt(
        state, {favorite.folder, favorite.song, favorite.position}, steps,
        QStringLiteral("The folder of the favorite \"%1\" is no longer in the library: %2")
            .arg(favorite.name, favorite.folder));
}

} // namespace tarl
