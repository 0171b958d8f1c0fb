#pragma once

#include <QString>
#include <QtGlobal>
#include <map>

namespace tarl {

struct AppState;
class PlayerPanel;

// What the now-playing tracking changes on the main window.
class NowPlayingView {
public:
    virtual ~NowPlayingView() = default;
    virtual void setElapsed(const QString& caption) = 0; // elapsedDisplay
    virtual void setDisplay(const QString& caption) = 0; // nowPlayingDisplay
    virtual void setDisplayTip(const QString& tip) = 0;
    // Fills the track list again from the catalog and takes `row` out of the selection.
    virtual void reloadTrackList(int row) = 0;
    // Marks the playing song (lastSong) in the track list.
    virtual void selectPlayingSong(bool ensureVisible) = 0;
    // The tray icon's tip.
    virtual void setTrayTip(const QString& tip) = 0;
    // The status bar's panels 1 and 2.
    virtual void setStatusPanel(int panel, const QString& text) = 0;
};

// The display "/mm:ss  (n/N)  ''name ''" of the playing entry.
QString PlayingCaption(qint64 lengthSeconds, qint32 entry, int entryCount, const QString& song);

// The main window follows the player by polling it (playerTimer, every 300 ms): the elapsed
// time, the position knob, and on every change of entry the playing track (from the temporary
// playlist), its length learned into the catalog, the display, the saved play state and the
// marks in the track list.
//
// A tick asks for the length once (no retry loop, so it never holds the window). A player that
// has just changed entry may not know the length yet: the entry then stays "waiting for its
// length", and the first later tick that gets one stores it and shows it.
//
// Learning a length never holds the tracking up: it waits at most kLengthBusyWaitMs for another
// program's write (an import running while the user listens). A length that finds the catalog
// busy is kept and stored on a later tick, every third (about a second), the status bar saying so
// meanwhile. A catalog that refuses the write (read-only, disc full) is named once in the status
// bar's second panel, and no length is learned into it any more until another catalog is open;
// the display, the marks and the saved play state follow the player all the same.
class NowPlaying {
public:
    NowPlaying(AppState& state, PlayerPanel& panel, NowPlayingView& view);

    // One tick of the 300 ms timer: elapsed time, knob, entry changes, lengths, display.
    void Tick();

    // The entry count of the temporary playlist as last read.
    int entryCount() const { return entryCount_; }

private:
    // Stores a length the catalog does not have yet, then reloads the list. Nothing when the
    // catalog refused a length before; a failed read is left alone, a refused write reported.
    void learnLength(qint64 length, qint32 entry);
    // Stores the lengths waiting for a busy catalog; reloads the list when one was stored.
    void storeWaitingLengths(qint32 entry);

    AppState& state_;
    PlayerPanel& panel_;
    NowPlayingView& view_;
    qint32 lastShownSecond_ = 0; // "00:00." is shown before the first tick
    int entryCount_ = 0;
    QString playingPath_;
    bool lengthPending_ = false;
    QString refusingCatalog_; // the file of the catalog that refused a length
    // Lengths learned while the catalog was busy, by stored path, for the catalog they are of.
    std::map<QString, qint64> waitingLengths_;
    QString waitingCatalog_;
    int ticksSinceStoreTry_ = 0;
    bool busyShown_ = false;
};

// How long a length's write may wait for another program's write before it is kept for later.
inline constexpr int kLengthBusyWaitMs = 50;

} // namespace tarl
