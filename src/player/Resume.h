#pragma once

#include <QtGlobal>
#include <optional>

namespace tarl {

struct AppState;

// Starting the player's list (the temporary playlist) at one entry and, when asked, at a second
// of it: the start-up's resume of the last song, a history entry played again, and Enter on a
// song that is already in the player's list.

// Where the list starts: its entry (from 0) and how far into it; no seconds, no jump.
struct ResumePoint {
    qint32 entry = 0;
    std::optional<qint64> seconds;
};

// Sends the player the entry, play, and the jump to the second. `launched` says that a play was
// just handed to the player by a launch: a player started by it needs a moment before it takes
// them, so its window is waited for (at most PlayerStartWaitMs; one that was already running
// answers at once) and kept in state.playerPid. Otherwise the window already known is used.
void ResumeTemporaryPlaylist(AppState& state, bool launched, const ResumePoint& at);

} // namespace tarl
