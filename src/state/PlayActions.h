#pragma once

#include <QString>

namespace tarl {

// What the browser, the search and the history hand to the player side: play a file or
// playlist by path (after checking the player path), play the tracks of a playlist, folder or
// track through the temporary playlist, and record the play state in the history.
class PlayActions {
public:
    virtual ~PlayActions() = default;
    virtual void PlayWinampMp3s(const QString& target) = 0;
    virtual void PlayWinampM3u(const QString& key) = 0;
    virtual void RecordHistory() = 0;
};

} // namespace tarl
