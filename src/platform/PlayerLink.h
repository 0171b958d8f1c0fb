#pragma once

#include <QFileInfo>
#include <QString>
#include <QtGlobal>

namespace tarl {

// Handle of the player's window; 0 when no player answers.
using PlayerWindow = qint64;

// The outside player, driven with the message numbers of the original Winamp interface.
namespace player_msg {
constexpr int WmClose = 16;
constexpr int WmUser = 1024;
constexpr int WmCommand = 273;
// lParam values of WM_USER requests.
constexpr qint64 GetTime = 105;    // wParam 0: position in ms; wParam 1: length in seconds
constexpr qint64 JumpToTime = 106; // wParam: position in ms
constexpr qint64 SetPlaylistPos = 121;
constexpr qint64 SetVolume = 122; // wParam: 0..255
constexpr qint64 GetListPos = 125;
// wParam values of WM_COMMAND.
constexpr qint64 Previous = 40044;
constexpr qint64 Play = 40045;
constexpr qint64 Pause = 40046;
constexpr qint64 Stop = 40047;
constexpr qint64 Next = 40048;
} // namespace player_msg

class PlayerLink {
public:
    virtual ~PlayerLink() = default;

    // The running player's window, 0 when none answers.
    virtual PlayerWindow findWindow() = 0;
    // Sends a message and waits (briefly) for its answer; a message to window 0 answers 0.
    virtual qint64 sendMessage(PlayerWindow window, int message, qint64 wParam, qint64 lParam) = 0;
    // Sends a message without waiting for an answer.
    virtual void postMessage(PlayerWindow window, int message, qint64 wParam, qint64 lParam) = 0;
    // Starts the player with a command line: program, a space, the argument in double quotes.
    // False when nothing could be started; callers ignore it.
    virtual bool launch(const QString& commandLine) = 0;
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

    // What Tarl asks of the player `window` (0 when none answers: every question answers 0 and
    // every command does nothing). The program above this floor speaks these verbs only.
    // The current entry's length in whole seconds, its position in ms, its index from 0.
    qint64 lengthSeconds(PlayerWindow window) {
        return sendMessage(window, player_msg::WmUser, 1, player_msg::GetTime);
    }
    qint64 positionMs(PlayerWindow window) {
        return sendMessage(window, player_msg::WmUser, 0, player_msg::GetTime);
    }
    qint64 entry(PlayerWindow window) {
        return sendMessage(window, player_msg::WmUser, 0, player_msg::GetListPos);
    }
    // Seeks the current entry to `ms`; makes `index` the current entry; sets the volume 0..255.
    void seekTo(PlayerWindow window, qint64 ms) {
        sendMessage(window, player_msg::WmUser, ms, player_msg::JumpToTime);
    }
    void selectEntry(PlayerWindow window, qint64 index) {
        sendMessage(window, player_msg::WmUser, index, player_msg::SetPlaylistPos);
    }
    void setVolume(PlayerWindow window, qint64 volume) {
        sendMessage(window, player_msg::WmUser, volume, player_msg::SetVolume);
    }
    void play(PlayerWindow window) { command(window, player_msg::Play); }
    void pause(PlayerWindow window) { command(window, player_msg::Pause); }
    void stop(PlayerWindow window) { command(window, player_msg::Stop); }
    void next(PlayerWindow window) { command(window, player_msg::Next); }
    void previous(PlayerWindow window) { command(window, player_msg::Previous); }
    // Asks the player to close, without waiting.
    void askToClose(PlayerWindow window) { postMessage(window, player_msg::WmClose, 0, 0); }

private:
    void command(PlayerWindow window, qint64 which) {
        sendMessage(window, player_msg::WmCommand, which, 0);
    }
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
    qint64 sendMessage(PlayerWindow, int, qint64, qint64) override { return 0; }
    void postMessage(PlayerWindow, int, qint64, qint64) override {}
    bool launch(const QString&) override { return false; }
};

} // namespace tarl
