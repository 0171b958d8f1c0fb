#pragma once

#include "platform/PlayerLink.h"
#include "platform/PlayerSocket.h"

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

// The player is mpv, driven over its JSON IPC socket. The player's "window" is its process id,
// as mpv reports it on the socket; 0 when nobody answers there.
//
// What each message does (numbers of player_msg):
// - WM_USER, lParam 105 (GetTime): wParam 1 answers the length of the current entry in whole
//   seconds (`duration`, rounded to the nearest); wParam 0 the position in ms (`time-pos`). Both
//   answer 0 while no file is loaded (stopped, loading, idle) and while the player moves to
//   another entry (the old file would still answer for the new entry).
// - WM_USER, lParam 106 (JumpToTime): seeks to wParam ms (`seek <s> absolute`) in the current
//   entry; right after an entry change it waits (until the time-out) for the new file to be
//   loaded and seekable. mpv runs the seek a moment after accepting it. Answers 0.
// - WM_USER, lParam 121 (SetPlaylistPos): makes entry wParam (from 0) current (`playlist-pos`).
//   While stopped it only selects the entry, as play starts it. Answers 0.
// - WM_USER, lParam 122 (SetVolume): `volume` = wParam * 100 / 255 (wParam 0..255). Answers 0.
// - WM_USER, lParam 125 (GetListPos): the current entry's index (`playlist-pos`); while stopped,
//   the entry that was current or selected last. 0 when none.
// - WM_COMMAND 40044 / 40048: `playlist-prev` / `playlist-next`.
// - WM_COMMAND 40045 (Play): resumes when paused; when stopped, starts the remembered entry of
//   the kept playlist; keeps playing when playing.
// - WM_COMMAND 40046 (Pause): toggles pause (`cycle pause`), as the player's pause button does.
// - WM_COMMAND 40047 (Stop): remembers the current entry, then `stop keep-playlist`, so the list
//   and the entry index stay (plain `stop` would empty mpv's playlist).
// - WM_CLOSE (16): `quit`; posting it sends without waiting.
// Any other message answers 0 and sends nothing; so does every message to window 0 or to a
// window that is not the player answering now. Every request waits at most the time-out (200 ms
// by default): a player that does not answer in time (stopped, hung) counts as not answering,
// so findWindow() gives 0 without waiting until it answers again. postMessage() sends WM_CLOSE
// without waiting; any other message posted is sent as sendMessage() sends it.
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
    };

    MpvPlayerLink();
    explicit MpvPlayerLink(Options options);
    ~MpvPlayerLink() override;

    PlayerWindow findWindow() override;
    qint64 sendMessage(PlayerWindow window, int message, qint64 wParam, qint64 lParam) override;
    void postMessage(PlayerWindow window, int message, qint64 wParam, qint64 lParam) override;
    bool launch(const QString& commandLine) override;
    PlayerWindow waitForWindow(int timeoutMs) override;

    // The socket in use; "" when its folder was refused.
    QString socketPath() const { return socketPath_; }
    // Why the socket folder was refused; "" when it was not.
    QString refusal() const { return refusal_; }
    // The process started by the last launch() that started one; 0 when none.
    qint64 startedProcessId() const { return startedPid_; }
    // A property of the player answering now; nullopt when it does not answer or has no value.
    std::optional<QJsonValue> property(const QString& name);

private:
    // One request within `deadline`; nullopt when the player does not answer. A time-out marks
    // the player as not answering until a late answer arrives.
    std::optional<QJsonObject> request(const QJsonArray& command, const QDeadlineTimer& deadline);
    std::optional<QJsonValue> get(const QString& name, const QDeadlineTimer& deadline);
    bool succeeded(const QJsonArray& command, const QDeadlineTimer& deadline);
    // Connects and asks the player's pid; the handle, or 0.
    PlayerWindow connectToPlayer();
    qint64 dispatch(int message, qint64 wParam, qint64 lParam);
    qint64 userRequest(qint64 wParam, qint64 lParam, const QDeadlineTimer& deadline);
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
    QDeadlineTimer messageDeadline() const { return QDeadlineTimer(options_.timeoutMs); }

    Options options_;
    QString socketPath_;
    QString refusal_;
    PlayerSocket socket_;
    // The answering player's pid; 0 while none answers.
    PlayerWindow handle_ = 0;
    // A request that timed out: the player counts as not answering until its answer arrives.
    qint64 unanswered_ = 0;
    // The entry that was current last, for the entry request and play while stopped.
    qint64 rememberedEntry_ = -1;
    qint64 startedPid_ = 0;
    // Set by launch() when it started a process that waitForWindow() should wait for.
    bool waitingForStart_ = false;
};

} // namespace tarl
