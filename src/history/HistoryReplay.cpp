#include "history/HistoryReplay.h"

#include "history/HistoryFile.h"
#include "platform/Ui.h"
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

void ReplayHistoryEntry(AppState& state, int entry, const ReplaySteps& steps) {
    if (entry < 1)
        return;
    const QList<HistoryRecord> records = ReadHistory(HistoryFilePath(state.programFolder), entry);
    if (records.size() < entry)
        return;
    const HistoryRecord& record = records[entry - 1];

    if (!steps.SelectFolderNode || !steps.SelectFolderNode(record.folder)) {
        state.services.ui.message(QStringLiteral("I can't find this history playlist"),
                                  QStringLiteral("Not Found"), MsgIcon::Exclamation,
                                  MsgButtons::Ok);
        return;
    }
    if (steps.playList)
        steps.playList();

    const int line = FirstLineIgnoringCase(ReadTemporaryPlaylist(state.tmpPlaylistPath),
                                           record.folder + record.song);
    if (line == 0)
        return; // the list plays from its start
    PlayerLink& player = state.services.player;
    state.winampWindow = player.waitForWindow(PlayerStartWaitMs);
    const qint64 positionMs = record.position.trimmed().toLongLong() * 1000;
    player.sendMessage(state.winampWindow, player_msg::WmUser, line - 1,
                       player_msg::SetPlaylistPos);
    player.sendMessage(state.winampWindow, player_msg::WmCommand, player_msg::Play, 0);
    player.sendMessage(state.winampWindow, player_msg::WmUser, positionMs, player_msg::JumpToTime);
}

} // namespace tarl
