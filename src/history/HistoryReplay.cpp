#include "history/HistoryReplay.h"

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

Result<> ReplayHistoryEntry(AppState& state, int entry, const ReplaySteps& steps) {
    if (entry < 1)
        return {};
    const QList<HistoryRecord> records = ReadHistory(HistoryFilePath(state.programFolder), entry);
    if (records.size() < entry)
        return {};
    const HistoryRecord& record = records[entry - 1];

    if (!steps.selectFolderNode || !steps.selectFolderNode(record.folder))
        return Result<>::failed(QStringLiteral("I can't find this history playlist"));
    if (steps.playList)
        steps.playList();

    const int line = FirstLineIgnoringCase(ReadTemporaryPlaylist(state.tmpPlaylistPath),
                                           state.pathMap.toLocal(record.folder + record.song));
    if (line == 0)
        return {}; // the list plays from its start
    if (steps.resume)
        steps.resume(line - 1, record.position.trimmed().toLongLong());
    return {};
}

} // namespace tarl
