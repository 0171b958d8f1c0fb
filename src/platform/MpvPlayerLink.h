#pragma once

#include "platform/PlayerLink.h"
#include "platform/PlayerPushed.h"
#include "platform/PlayerSocket.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonValue>
#include <QStringList>
#include <optional>

namespace tarl {

// The program and the target of a player command line: the program unquoted, a space, the
// target in double quotes. A program path with blanks is cut where the part before the quote is
// an existing file. nullopt when the line has no quoted target at its end.
struct PlayerCommandLine {
    QString program;
    QString target;
};
std::optional<PlayerCommandLine> SplitPlayerCommandLine(const QString& commandLine);

// The player is mpv, driven over its JSON IPC socket. The player's "window" is the process id
// of the player at the other end of the open connection; 0 when nobody listens there.
//
// The questions the now-playing tick asks every 300 ms (length, position, entry) never wait for
// the player: on connecting, the link asks mpv to push the properties those answers need
// (`observe_property`: duration, time-pos, playlist-pos, playlist-playing-pos, playlist-count,
// idle-active) and the file events (start-file, end-file, file-loaded), keeps the latest of each,
// and reads what has arrived without waiting whenever it is asked. mpv stops answering while its
// core is busy (opening a file on a disc that spins up, draining the sound at the end of the
// list); the answers then stay those it pushed last, and the player is still the player. mpv
// pushes the position a few times a second (about every 50 to 250 ms), so the position answered
// may be that much behind. The length, position and entry asked right after findWindow() (within
// Options::sameTickMs) answer what findWindow() read, so one tick never pairs the length of the
// entry it left with the entry it moved to. Connecting waits, at most the time-out, for the first
// report of every property: a player that is busy then costs that wait once.
//
// What each message does (numbers of player_msg):
// - WM_USER, lParam 105 (GetTime): wParam 1 answers the length of the current entry in whole
//   seconds (`duration`, rounded to the nearest); wParam 0 the position in ms (`time-pos`). Both
//   answer 0 while no file is loaded (stopped, loading, idle) and while the player moves to
//   another entry (mpv names the new entry while the old file still answers): a value counts
//   only between the file-loaded event of the current entry and the end of that file, with
//   playlist-pos equal to playlist-playing-pos. Answered from the pushed values.
// - WM_USER, lParam 106 (JumpToTime): seeks to wParam ms (`seek <s> absolute`) in the current
//   entry; right after an entry change it waits (until the time-out) for the new file to be
//   loaded and seekable. mpv runs the seek a moment after accepting it. Answers 0.
// - WM_USER, lParam 121 (SetPlaylistPos): makes entry wParam (from 0) current (`playlist-pos`).
//   While stopped it only selects the entry, as play starts it. Answers 0. The entry request
//   answers the new entry from then on, even before mpv pushes it.
// - WM_USER, lParam 122 (SetVolume): `volume` = wParam * 100 / 255 (wParam 0..255). Answers 0.
// - WM_USER, lParam 125 (GetListPos): the current entry's index (`playlist-pos`); while stopped,
//   the entry that was current or selected last. 0 when none. Answered from the pushed values.
// - WM_COMMAND 40044 / 40048: `playlist-prev` / `playlist-next`; the entry request answers the
//   entry mpv took at once.
// - WM_COMMAND 40045 (Play): resumes when paused; when stopped, starts the remembered entry of
//   the kept playlist; keeps playing when playing.
// - WM_COMMAND 40046 (Pause): toggles pause (`cycle pause`), as the player's pause button does.
// - WM_COMMAND 40047 (Stop): remembers the current entry, then `stop keep-playlist`, so the list
//   and the entry index stay (plain `stop` would empty mpv's playlist).
// - WM_CLOSE (16): `quit`; posting it sends without waiting.
// Any other message answers 0 and sends nothing; so does every message to window 0 or to a
// window that is not the player connected now. The commands (106, 121, 122, the WM_COMMANDs,
// launch) are user actions and wait for mpv's answer, at most the time-out (200 ms by default);
// after a command timed out, the next commands are dropped at once until its late answer
// arrives, so a hung player costs one time-out, not one per click. findWindow() answers the
// player as long as the connection is open (a hung or stopped player included); a closed
// connection or an ended process gives 0. postMessage() sends WM_CLOSE without waiting; any
// other message posted is sent as sendMessage() sends it.
//
// Starting: launch() hands the target to the player answering on the socket (a playlist file
// .m3u/.m3u8/.pls by `loadlist replace`, anything else by `loadfile replace`, then unpauses),
// as the player keeps a single instance. Otherwise it starts the program (an existing
// executable) detached with the IPC options; a playlist is given as `--playlist=<file>`, so the
// list is read before the socket answers and line n of the file is entry n.
class MpvPlayerLink : public PlayerLink {
public:
    struct Options {
        // The socket; empty for DefaultPlayerSocketPath() (which may refuse: then no player).
        QString socketPath;
        // Added to the player's options when it is started (tests pass --ao=null).
        QStringList extraArguments;
        // How long one message may wait for the player.
        int timeoutMs = 200;
        // Length, position and entry asked within this time after findWindow() are answered
        // from what findWindow() read, so the tick's questions describe one moment.
        int sameTickMs = 50;
    };

    MpvPlayerLink();
    explicit MpvPlayerLink(Options options);
    ~MpvPlayerLink() override;

    PlayerWindow findWindow() override;
    qint64 sendMessage(PlayerWindow window, int message, qint64 wParam, qint64 lParam) override;
    void postMessage(PlayerWindow window, int message, qint64 wParam, qint64 lParam) override;
    bool launch(const QString& commandLine) override;
    PlayerWindow waitForWindow(int timeoutMs) override;
    void endStartedPlayer() override;

    // The socket in use; "" when its folder was refused.
    QString socketPath() const { return socketPath_; }
    // Why the socket folder was refused; "" when it was not.
    QString refusal() const { return refusal_; }
    // The process started by the last launch() that started one; 0 when none.
    qint64 startedProcessId() const { return startedPid_; }
    // A property of the player answering now; nullopt when it does not answer or has no value.
    std::optional<QJsonValue> property(const QString& name);

private:
    // One request within `deadline`; nullopt when the player does not answer. A time-out drops
    // the next commands until the late answer arrives.
    std::optional<QJsonObject> request(const QJsonArray& command, const QDeadlineTimer& deadline);
    std::optional<QJsonValue> get(const QString& name, const QDeadlineTimer& deadline);
    bool succeeded(const QJsonArray& command, const QDeadlineTimer& deadline);
    // Connects, asks for the pushed values and waits (at most the time-out) for their first
    // report; the handle, or 0.
    PlayerWindow connectToPlayer();
    // Reads what arrived; false when the connection is closed (then the handle is 0).
    bool readPushed();
    qint64 dispatch(int message, qint64 wParam, qint64 lParam);
    qint64 userRequest(qint64 wParam, qint64 lParam, const QDeadlineTimer& deadline);
    // The answer to 125, from the pushed values.
    qint64 pushedEntry();
    qint64 command(qint64 id, const QDeadlineTimer& deadline);
    // Whether the player has no current entry (stopped, or at the end of its list).
    std::optional<bool> stopped(const QDeadlineTimer& deadline);
    // Whether the player is between two entries (the file loaded is not the current entry).
    bool switchingEntry(const QDeadlineTimer& deadline);
    void seek(qint64 ms, const QDeadlineTimer& deadline);
    void play(const QDeadlineTimer& deadline);
    bool handOver(const QString& target, const QDeadlineTimer& deadline);
    bool startPlayer(const QString& program, const QString& target);
    // Whether a just-started player holds its list and has taken an entry of it.
    bool begunList();
    // Whether process `pid` is still the player this link started on its socket (a pid may be
    // handed to another program once the player has ended).
    bool isStartedPlayer(qint64 pid) const;
    QDeadlineTimer messageDeadline() const { return QDeadlineTimer(options_.timeoutMs); }

    Options options_;
    QString socketPath_;
    QString refusal_;
    PlayerSocket socket_;
    // The connected player's pid; 0 while none.
    PlayerWindow handle_ = 0;
    // Started when findWindow() last read what the player pushed.
    QElapsedTimer lastFound_;
    // A command that timed out: commands are dropped until its answer arrives.
    qint64 unanswered_ = 0;
    PlayerPushed pushed_;
    // The entry that was current last, for the entry request and play while stopped.
    qint64 rememberedEntry_ = -1;
    qint64 startedPid_ = 0;
    // Set by launch() when it started a process that waitForWindow() should wait for.
    bool waitingForStart_ = false;
};

} // namespace tarl
