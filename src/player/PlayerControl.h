#pragma once

#include "state/PlayActions.h"

#include <QString>
#include <functional>

namespace tarl {

struct AppState;
class Settings;

// The player program to start: [Player] Path of the settings. When that key is missing or empty
// and an `mpv` is found on PATH, that mpv, written to the key so the Options dialog shows it and
// later runs start the same program. "" when neither: plays then ask for a player path.
QString PlayerProgramPath(Settings& settings);

// Starting the outside player and handing it what to play. Every play first records the play
// state that is ending in the history.
class PlayerControl : public PlayActions {
public:
    explicit PlayerControl(AppState& state);

    // Looks the player up and keeps its process id (0 when none answers) in playerPid.
    void FindPlayer();
    // Plays `target` with the player program `program` (PlayerLink::launch); a start sets
    // lastListIndex to -1 so the next tick refreshes the display. A failure is silent.
    bool StartPlayer(const QString& program, const QString& target);
    // Plays a file or playlist by path once the player program is known (PlayerProgramPath);
    // otherwise the warning "S'ha de definir el path del Winamp (Properties>Options>Player)",
    // handed to `warn`.
    void PlayFile(const QString& target) override;
    // Plays the playlist file, folder or track of a tree key, after asking for its disc when the
    // key names one ("<disc>:>path"): its tracks (TracksToPlay) are written to the temporary
    // playlist, which the player gets (WriteTracksForThePlayer: local files only, a list among
    // them expanded). A key that gives no tracks, or a list that cannot be written, stops the
    // play with the reason; what was left out is reported and the rest plays.
    void PlayKey(const QString& key) override;
    // How many lists were handed to the player since the program started: a new one takes the
    // play order again.
    quint64 listsStarted() const { return listsStarted_; }
    // Whether the player program is known, looked up when it is not; the warning when not.
    bool knowPlayerProgram();
    // Records the play state that is ending at the top of the history, then rebuilds the menu.
    void RecordHistory() override;
    // ResumeTemporaryPlaylist at `entry`, from its start.
    void ResumeAt(qint32 entry, bool launched) override;
    // Hands the keys to queueKeys (the window's queue, DiscQueue).
    void QueueKeys(const QStringList& keys, bool next) override;

    // The History menu's rebuild; where a failure is reported (the status bar; an empty sentence
    // takes the last one away once a play went well); where a warning the user must answer goes
    // (the window's box).
    std::function<void()> buildHistoryMenu;
    std::function<void(const QString&)> reportError;
    std::function<void(const QString&)> warn;
    std::function<void(const QStringList&, bool next)> queueKeys;

private:
    // Hands a sentence to reportError, when there is one.
    void report(const QString& sentence);
    // A play that went well takes a failure's sentence away: it is no longer true.
    void clearReportedFailure();

    AppState& state_;
    bool failureShown_ = false;
    quint64 listsStarted_ = 0;
};

} // namespace tarl
