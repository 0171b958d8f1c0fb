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
// What each verb does:
// - lengthSeconds / positionMs: the length of the current entry in whole seconds (`duration`,
//   rounded to the nearest), the position in ms (`time-pos`). Both answer 0 while no file is
//   loaded (stopped, loading, idle) and while the player moves to another entry (mpv names the
//   new entry while the old file still answers): a value counts only between the file-loaded
//   event of the current entry and the end of that file, with playlist-pos equal to
//   playlist-playing-pos. Answered from the pushed values.
// - seekTo: seeks to the position (`seek <s> absolute`) in the current entry; right after an
//   entry change it waits (until the time-out) for the new file to be loaded and seekable. mpv
//   runs the seek a moment after accepting it.
// - selectEntry: makes the entry (from 0) current (`playlist-pos`). While stopped it only selects
//   the entry, as play starts it. The entry question answers the new entry from then on, even
//   before mpv pushes it.
// - setVolume: `volume` = volume * 100 / 255 (volume 0..255).
// - entry: the current entry's index (`playlist-pos`); while stopped, the entry that was current
//   or selected last. 0 when none. Answered from the pushed values.
// - previous / next: `playlist-prev` / `playlist-next`; the entry question answers the entry mpv
//   took at once.
// - play: resumes when paused; when stopped, starts the remembered entry of the kept playlist;
//   keeps playing when playing.
// - pause: toggles pause (`cycle pause`), as the player's pause button does.
// - stop: remembers the current entry, then `stop keep-playlist`, so the list and the entry index
//   stay (plain `stop` would empty mpv's playlist).
// - askToClose: `quit`, sent without waiting.
// - state: from the pushed values: Playing or Paused (`pause`) while a file of the current entry
//   is loaded, Stopped otherwise.
// - entries, appendEntries, moveEntry, removeEntry: the `playlist` property's file names,
//   `loadfile <path> append`, `playlist-move`, `playlist-remove`. mpv keeps playing the file it
//   plays through them; the entry question follows the playing entry to its new place.
// - shuffleEntries: `playlist-shuffle`, then the playing entry moved to the front, so what is
//   left to hear is the rest of the list; `playlist-unshuffle` puts back the order mpv had
//   before (only the player that shuffled knows it).
// - setRepeat: `loop-file` and `loop-playlist` (inf or no).
// Every verb to window 0 or to a window that is not the player connected now answers 0 and sends
// nothing. The commands (seek, entry, volume, play, pause, stop, next, previous, launch) are user
// actions and wait for mpv's answer, at most the time-out (200 ms by default); after a command
// timed out, the next commands are dropped at once until its late answer arrives, so a hung
// player costs one time-out, not one per click. findWindow() answers the player as long as the
// connection is open (a hung or stopped player included); a closed connection or an ended
// process gives 0.
//
// Starting: launch() hands the target to the player answering on the socket (a playlist file
// .m3u/.m3u8/.pls by `loadlist replace`, anything else by `loadfile replace`, then unpauses),
// as the player keeps a single instance. Otherwise it starts the program (an existing
// executable) detached with the IPC options, as an argument list; a playlist is given as
// `--playlist=<file>`, so the list is read before the socket answers and line n of the file is
// entry n, any other target after `--`, so it never reads as an option.
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
    qint64 lengthSeconds(PlayerWindow window) override;
    qint64 positionMs(PlayerWindow window) override;
    qint64 entry(PlayerWindow window) override;
    void seekTo(PlayerWindow window, qint64 ms) override;
    void selectEntry(PlayerWindow window, qint64 index) override;
    void setVolume(PlayerWindow window, qint64 volume) override;
    void play(PlayerWindow window) override;
    void pause(PlayerWindow window) override;
    void stop(PlayerWindow window) override;
    void next(PlayerWindow window) override;
    void previous(PlayerWindow window) override;
    void askToClose(PlayerWindow window) override;
    PlayerState state(PlayerWindow window) override;
    std::optional<QStringList> entries(PlayerWindow window) override;
    bool appendEntries(PlayerWindow window, const QStringList& paths) override;
    bool moveEntry(PlayerWindow window, qint64 from, qint64 to) override;
    bool removeEntry(PlayerWindow window, qint64 index) override;
    bool shuffleEntries(PlayerWindow window, bool shuffle) override;
    void setRepeat(PlayerWindow window, Repeat repeat) override;
    bool launch(const QString& program, const QString& target) override;
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
    // Whether `window` is the player connected now, with what it pushed read. A question asked
    // within Options::sameTickMs after findWindow() takes what findWindow() read.
    bool reached(PlayerWindow window, bool question);
    // The entry question's answer, from the pushed values.
    qint64 pushedEntry();
    // playlist-next or playlist-prev.
    void step(bool forward, const QDeadlineTimer& deadline);
    // Whether the player has no current entry (stopped, or at the end of its list).
    std::optional<bool> stopped(const QDeadlineTimer& deadline);
    // Whether the player is between two entries (the file loaded is not the current entry).
    bool switchingEntry(const QDeadlineTimer& deadline);
    void seek(qint64 ms, const QDeadlineTimer& deadline);
    void playFromWhereItIs(const QDeadlineTimer& deadline);
    // After an edit of the list: the entry question answers where the playing entry is now.
    void followPlayingEntry(const QDeadlineTimer& deadline);
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
