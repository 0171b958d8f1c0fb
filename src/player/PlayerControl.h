#pragma once

#include "state/PlayActions.h"

#include <QString>
#include <functional>

namespace tarl {

struct AppState;

// Starting the outside player and handing it what to play. Every play first records the play
// state that is ending in the history.
class PlayerControl : public PlayActions {
public:
    explicit PlayerControl(AppState& state);

    // Looks the player up and keeps its window (0 when none answers) in winampWindow.
    void FindWinampWindow();
    // Starts a command line; a start sets lastListIndex to -1 so the next tick refreshes the
    // display. A failure is silent.
    bool playWinamp(const QString& commandLine);
    // Plays a file or playlist by path once the player program is known; otherwise the warning
    // "S'ha de definir el path del Winamp (Properties>Options>Player)".
    void PlayWinampMp3s(const QString& target) override;
    // Plays the playlist file or folder of a tree key, after asking for its disc when the key
    // names one ("<disc>:>path"). The player program is not checked on this road.
    void PlayWinampM3u(const QString& key);
    // Records the play state that is ending at the top of the history, then rebuilds the menu.
    void RecordHistory() override;

    // The History menu's rebuild; where a history failure is reported (the status bar).
    std::function<void()> BuildHistoryMenu;
    std::function<void(const QString&)> reportError;

    // program + " \"" + target + "\"": the program is not quoted.
    static QString CommandLine(const QString& program, const QString& target);

private:
    AppState& state_;
};

} // namespace tarl
