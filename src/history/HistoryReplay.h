#pragma once

#include "text/Result.h"

#include <QString>
#include <functional>

namespace tarl {

struct AppState;
struct Favorite;

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

// A place to play again: a folder (a key of the library tree), a song in it and a second.
struct ReplayPlace {
    QString folder;
    QString song;
    qint64 seconds = 0;
};

// Plays `place` again: selects its folder, plays the folder's list and, when the song is in the
// temporary playlist (compared without regard to case), resumes it at that song and second. A
// folder no longer in the tree fails with `notFound` and nothing plays.
Result<> ReplayAt(AppState& state, const ReplayPlace& place, const ReplaySteps& steps,
                  const QString& notFound);

// Plays history entry `entry` (from 1) again (ReplayAt). An entry past the end of the file does
// nothing; a folder no longer in the tree fails with "I can't find this history playlist".
Result<> ReplayHistoryEntry(AppState& state, int entry, const ReplaySteps& steps);

// Plays a favourite again (ReplayAt) at its song and second. A folder no longer in the tree fails
// with a sentence naming the favourite and its folder.
Result<> ReplayFavorite(AppState& state, const Favorite& favorite, const ReplaySteps& steps);

} // namespace tarl
