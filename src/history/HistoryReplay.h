#pragma once

#include "text/Result.h"

#include <QString>
#include <functional>

namespace tarl {

struct AppState;

// The main window's parts a replay goes through.
struct ReplaySteps {
    // Selects the folder's node in the library tree and fills the track list; false when the
    // tree has no such node.
    std::function<bool(const QString& folder)> selectFolderNode;
    // Reloads the track list and plays it as Enter on the tree does.
    std::function<void()> playList;
    // Starts the list just handed to the player at entry `entry` (from 0), `seconds` into it.
    std::function<void(qint32 entry, qint64 seconds)> resume;
};

// Plays history entry `entry` (from 1) again: selects its folder, plays the folder's list and,
// when the recorded song is in the temporary playlist (compared without regard to case), resumes
// it at that song and at the recorded second. An entry past the end of the file does nothing; a
// folder no longer in the tree fails with "I can't find this history playlist" and nothing plays.
Result<> ReplayHistoryEntry(AppState& state, int entry, const ReplaySteps& steps);

} // namespace tarl
