#pragma once

#include "text/Result.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>
#include <map>

namespace tarl {

struct AppState;

// The play queue is the player's own list: what plays after the song playing is the rest of it.
// It lives in the temporary playlist (so it survives a restart, and the start-up resumes it), and
// every edit goes to both, so entry n of the player stays line n of the file that the
// now-playing tick reads:
// - the file is written first (atomically), then the player is told; a player that refuses an
//   edit half-way gets the file written again from its own list (resync), so the two never
//   stay apart;
// - tracks are taken by the temporary playlist's rules (local files only, a playlist given as a
//   track expanded, a missing file kept so the lines stay in step);
// - with no player running, queued tracks start one (startPlayer), as a play would.
// After every edit the tick is told to read the playing entry again (lastListIndex -1), so the
// display's "(n/N)" follows.
// "1 song", "n songs": how the status bar counts the songs queued or copied.
QString SongCount(qsizetype count);

class PlayQueue {
public:
    explicit PlayQueue(AppState& state) : state_(state) {}
    AppState& state() const { return state_; }

    // What the queue holds now: the temporary playlist's tracks, and the entry playing (-1 when
    // no player answers).
    QStringList tracks() const;
    qint32 playingEntry() const;

    // Puts `paths` right after the entry playing, in order ("Play next"), or at the end ("Add
    // to queue"). The result says how many were queued; a sentence names what was left out.
    struct Queued {
        int added = 0;
        QString leftOut;
        bool startedPlayer = false;
    };
    Result<Queued> playNext(const QStringList& paths);
    Result<Queued> addToQueue(const QStringList& paths);
    // Removes entry `index`; moves entry `from` to `to`. The entry playing may be moved, never
    // removed (the player would skip to the next song).
    Result<> remove(qint32 index);
    Result<> move(qint32 from, qint32 to);
    // Puts tracks in the places of entries (by index), none of them the one playing (a copy of
    // the same song, say); the file is written once.
    Result<> replace(const std::map<qint32, QString>& byEntry);
    // Writes the temporary playlist again from the player's own list (after a shuffle, or an
    // edit the player took only in part).
    Result<> resync();

    // How queued tracks start a player when none runs (set by the window's player side).
    std::function<bool(const QString& playlist)> startPlayer;

private:
    Result<Queued> insert(const QStringList& paths, bool next);
    Result<> write(const QStringList& list);
    void askTickToReread();

    AppState& state_;
};

} // namespace tarl
