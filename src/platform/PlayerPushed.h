#pragma once

#include <QJsonObject>
#include <QtGlobal>
#include <optional>

namespace tarl {

// The properties mpv pushes to the player link (`observe_property`); the id of each is its
// place in PlayerObservedNames plus one.
enum PlayerObserved : int {
    ObservedDuration = 1,
    ObservedTimePos,
    ObservedEntry,
    ObservedPlayingEntry,
    ObservedEntryCount,
    ObservedIdle,
    ObservedPause,
    ObservedEnd
};
inline constexpr const char* PlayerObservedNames[] = {
    "duration",       "time-pos",    "playlist-pos", "playlist-playing-pos",
    "playlist-count", "idle-active", "pause",
};

// The latest values mpv pushed, kept from its event lines (whatever they hold: a value of the
// wrong type counts as no value, an unknown event or property id is passed over), and the
// answers the link gives from them without asking the player.
struct PlayerPushed {
    std::optional<double> duration;
    std::optional<double> timePos;
    qint64 entry = -1;   // playlist-pos
    qint64 playing = -1; // playlist-playing-pos
    qint64 count = 0;
    bool idle = false;
    bool paused = false;
    // Between the current file's file-loaded event and its end.
    bool fileLoaded = true;
    // How many files mpv has started (start-file events) since the link connected.
    quint64 filesStarted = 0;
    // Set when a file was loaded without a length pushed since it started: mpv pushes a
    // property only when its value changed, so a song as long as the one before gets none, and
    // the link must ask for it again (it observes the length anew).
    bool lengthToAsk = false;
    // Which observed properties have reported once (a bit each).
    unsigned reported = 0;
    // Set by a command that changed the entry: until mpv pushes an entry other than this one, a
    // pushed entry equal to it (read before the change, the entry left) is ignored.
    std::optional<qint64> entryLeft;

    // Takes one event line (an object with an "event" member).
    void apply(const QJsonObject& event);
    // Every observed property has reported once.
    bool allReported() const;
    // The link took entry `newEntry` (set by a command): the entry answers it at once, and a
    // value pushed before the change is not taken back.
    void tookEntry(qint64 newEntry);
    // The current entry's length in whole seconds, and its position in ms; 0 while no file of the
    // current entry is loaded or the player is idle. Never negative, and a length or position
    // beyond any real file's (mpv sends what a broken file claims) answers the largest 32-bit
    // number, as the player's answers always were 32 bits wide.
    qint64 lengthSeconds() const { return time(true); }
    qint64 positionMs() const { return time(false); }

private:
    qint64 time(bool length) const;
};

} // namespace tarl
