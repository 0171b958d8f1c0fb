#pragma once

#include "search/SearchHits.h"

#include <QString>
#include <optional>

namespace tarl {

// The search window's rules that need no widget: stepping through the history, what opening or
// jumping to a hit does, the popup's "Search more of the same", the Mini Player's seek knob and
// the layout on resize. The window (SearchWindow) only shows their results and forwards its events.
// Lengths and places are in twips.

// --- The history: entries newest first, `selected` -1 when none is selected.

// Where a step through the history leads: the entry then selected, and whether that entry is
// applied and searched again.
struct HistoryStep {
    int selected = -1;
    bool search = false;
};
// "<<": with entries but none selected, the newest is selected first; then, unless the selected
// entry is the oldest, the next older one is selected and searched.
HistoryStep BackStep(int entries, int selected);
// ">>": unless the selected entry is the newest (or none is selected), the next newer one is
// selected and searched.
HistoryStep NextStep(int entries, int selected);

// --- Open hit (double-click or Enter on a row).

// What opening a row does: search the Path field for a text (a list hit), play a key (a track
// hit), or nothing beyond uncovering the player (a track whose file begins with "/").
struct OpenHit {
    enum class Kind { SearchPath, Play, Nothing };
    Kind kind = Kind::Nothing;
    QString text; // the search text or the key played
};
// A list hit searches its path and file; a list on a disc shows no stored path in its "Path"
// column, so "/" and its file. A track hit plays "label:>path" + file on a disc (the key the tree
// gives it), the path + file on a hard disc.
OpenHit OpenHitOf(const SearchRow& row);

// --- Jump to hit.

// The tree key jumped to, and for a track hit its file (selected in the track list).
struct JumpTarget {
    QString folderKey;
    QString trackFile; // empty for a list hit
};
// The row's path ("(CD)" dropped from a disc's) followed by its file; a result that does not end
// in "/" is a track, whose folder is the key.
JumpTarget JumpTargetOf(const SearchRow& row);

// --- "Search more of the same": the popup item of a field searches that field for the value of
// the row's column that shows it ("Comments" the "Comment" column).
int ColumnOfField(SearchField field);

// --- The Mini Player's seek knob `positionKnob`: its left between these.
inline constexpr double MiniKnobMin = 1320;
inline constexpr double MiniKnobMax = 4560;
inline constexpr double MiniKnobTrack = MiniKnobMax - MiniKnobMin; // 3240: the whole track

// While dragging, with the pointer at `x` inside the knob: the knob's new left, or none when the
// wanted place is within 10 twips of where it stands.
std::optional<double> MiniKnobDragged(double knobLeft, double x);
// The milliseconds the knob at `knobLeft` stands for in a track `lengthSeconds` long.
qint64 MiniSeekMs(double knobLeft, qint64 lengthSeconds);
// Where the knob stands after a seek to `ms` (only asked when the length is above 0).
double MiniKnobAfterSeek(qint64 ms, qint64 lengthSeconds);
// Where the knob stands for the playing position: the start when the length is unknown, never
// beyond either end.
double MiniKnobFollowing(qint64 positionSeconds, qint64 lengthSeconds);

// --- The popup's place: 100 twips right of and 2400 twips below the pointer.
inline constexpr double PopupRight = 100;
inline constexpr double PopupBelow = 2400;
// `jumpArrow`'s top after a press at `pointerY` on the list whose top is `listTop`.
double JumpImageTop(double listTop, double pointerY);

// --- Layout on resize, from the window's client size.
struct FindLayout {
    double statusTop = 0;
    std::optional<double> listWidth;  // unchanged when the window is 600 twips wide or less
    std::optional<double> listHeight; // unchanged when the status bar is above the list's top
    double jumpLeft = 0;
};
FindLayout PlanFindLayout(double width, double height, double statusHeight, double listTop);

} // namespace tarl
