#pragma once

#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

namespace tarl {

// Handle of the player's window; 0 when no player answers.
using PlayerWindow = qint64;

// How the player goes on at the end of a song: to the next one and stops after the last (Off),
// back to the first after the last (List), or the same song again (Song).
enum class Repeat { Off, List, Song };

// Whether the player plays an entry, holds it paused, or has none (stopped, idle, not there).
enum class PlayerState { Stopped, Paused, Playing };

// The outside player: what Tarl asks of it and tells it, whatever the player is.
class PlayerLink {
public:
    virtual ~PlayerLink() = default;

    // The running player's window, 0 when none answers.
    virtual PlayerWindow findWindow() = 0;

    // What Tarl asks of the player `window`. A window that is not the player answering now
    // (0 included) answers 0 to every question, and every command to it does nothing.
    // The current entry's length in whole seconds, its position in ms, its index from 0.
    virtual qint64 lengthSeconds(PlayerWindow window) = 0;
    virtual qint64 positionMs(PlayerWindow window) = 0;
    virtual qint64 entry(PlayerWindow window) = 0;
    // Seeks the current entry to `ms`; makes `index` the current entry; sets the volume 0..255.
    virtual void seekTo(PlayerWindow window, qint64 ms) = 0;
    virtual void selectEntry(PlayerWindow window, qint64 index) = 0;
    virtual void setVolume(PlayerWindow window, qint64 volume) = 0;
    virtual void play(PlayerWindow window) = 0;
    virtual void pause(PlayerWindow window) = 0;
    virtual void stop(PlayerWindow window) = 0;
    virtual void next(PlayerWindow window) = 0;
    virtual void previous(PlayerWindow window) = 0;
    // Asks the player to close, without waiting.
    virtual void askToClose(PlayerWindow window) = 0;
    virtual PlayerState state(PlayerWindow window) = 0;

    // The player's list. Every edit keeps the entry playing playing; false when the player did
    // not take it (then its list is as it was, or, for several entries, holds those it took).
    // The entries as the player names them (a path, or the "file://" URL the list gave);
    // nullopt when the player does not answer.
    virtual std::optional<QStringList> entries(PlayerWindow window) = 0;
    // Adds local tracks (absolute paths) at the end of the list.
    virtual bool appendEntries(PlayerWindow window, const QStringList& paths) = 0;
    // Moves entry `from` so that it is entry `to` afterwards (both from 0).
    virtual bool moveEntry(PlayerWindow window, qint64 from, qint64 to) = 0;
    virtual bool removeEntry(PlayerWindow window, qint64 index) = 0;
    // Puts the list in a random order with the entry playing first, or (false) back in the order
    // it had before it was shuffled.
    virtual bool shuffleEntries(PlayerWindow window, bool shuffle) = 0;
    virtual void setRepeat(PlayerWindow window, Repeat repeat) = 0;

    // Plays `target` (a sound file or a playlist) with the player program `program`: handed to
    // the player answering now, or the program started with its options and the target as an
    // argument list (never a command line split again). False when nothing could be started;
    // callers ignore it.
    virtual bool launch(const QString& program, const QString& target) = 0;
    // After a launch: waits, at most `timeoutMs`, until the player answers and holds the target
    // it was given, and returns its window (0 when it never answered). A player that was already
    // running when the launch came answers at once.
    virtual PlayerWindow waitForWindow(int timeoutMs) {
        Q_UNUSED(timeoutMs);
        return findWindow();
    }
    // At the program's end: ends a player this link started that still runs, whether or not it
    // ever answered (one started a moment ago has no socket yet). It is asked to quit, then
    // ended by its process id when it has not within about a second.
    virtual void endStartedPlayer() {}
};

// How long a play waits for a player it has just started before sending it more messages.
inline constexpr int PlayerStartWaitMs = 5000;

// Whether `path` can name the player program: an existing executable file.
inline bool IsPlayerProgram(const QString& path) {
    const QFileInfo info(path);
    return !path.isEmpty() && info.isFile() && info.isExecutable();
}

// No player running: nothing is found, every request answers 0, nothing starts.
class NoPlayerLink : public PlayerLink {
public:
    PlayerWindow findWindow() override { return 0; }
    qint64 lengthSeconds(PlayerWindow) override { return 0; }
    qint64 positionMs(PlayerWindow) override { return 0; }
    qint64 entry(PlayerWindow) override { return 0; }
    void seekTo(PlayerWindow, qint64) override {}
    void selectEntry(PlayerWindow, qint64) override {}
    void setVolume(PlayerWindow, qint64) override {}
    void play(PlayerWindow) override {}
    void pause(PlayerWindow) override {}
    void stop(PlayerWindow) override {}
    void next(PlayerWindow) override {}
    void previous(PlayerWindow) override {}
    void askToClose(PlayerWindow) override {}
    PlayerState state(PlayerWindow) override { return PlayerState::Stopped; }
    std::optional<QStringList> entries(PlayerWindow) override { return std::nullopt; }
    bool appendEntries(PlayerWindow, const QStringList&) override { return false; }
    bool moveEntry(PlayerWindow, qint64, qint64) override { return false; }
    bool removeEntry(PlayerWindow, qint64) override { return false; }
    bool shuffleEntries(PlayerWindow, bool) override { return false; }
    void setRepeat(PlayerWindow, Repeat) override {}
    bool launch(const QString&, const QString&) override { return false; }
};

} // namespace tarl
