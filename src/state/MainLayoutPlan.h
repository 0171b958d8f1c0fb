#pragma once

#include <optional>

namespace tarl {

// The main window's full layout as arithmetic in twips, with no widget: where the library tree,
// the track list, the splitter between them, the toolbar, the player panel and the status bar
// go for a given window size and splitter place. The window converts the rectangles to pixels.

struct TwipsRect {
    double left = 0, top = 0, width = 0, height = 0;
    bool operator==(const TwipsRect&) const = default;
};

// The layout's fixed measures.
inline constexpr double MainTreeTop = 630;
inline constexpr double MainToolbarHeight = 630;
inline constexpr double MainSplitterWidth = 60;

// What the layout depends on. The current sizes are kept where the window is too small to
// compute new ones (a window under 1570 twips high keeps its tree height, for example).
struct MainLayoutInput {
    double clientWidth = 0, clientHeight = 0;
    double splitterLeft = 5000;
    bool statusBarVisible = true;
    double statusBarHeight = 0;
    double currentTreeHeight = 0;
    double currentListWidth = 0;
    double currentPanelWidth = 0;
};

struct MainLayoutRects {
    TwipsRect tree, list, splitter, toolbar, panel;
    std::optional<TwipsRect> statusBar; // only when it is shown and the window is high enough
};

MainLayoutRects PlanMainLayout(const MainLayoutInput& in);

// Where a splitter dragged `dragTwips` from its grip lands: some of both sides stays visible.
double DraggedSplitterLeft(double splitterLeft, double dragTwips, double clientWidth);

// The compact layout: the player panel alone (folded), or with the track list unfolded below
// it, in a window whose height follows the list and whose width follows the display
// `nowPlayingDisplay`.

// Folded, the window ends this far below the display's top: on entering the compact layout,
// and when the list is folded again (the two figures differ by design and are kept apart).
inline constexpr double CompactEntryBelowDisplay = 650;
inline constexpr double CompactFoldBelowDisplay = 670;
// Unfolded, each track row adds this much, up to this many rows.
inline constexpr double CompactRowHeight = 260;
inline constexpr int CompactMaxRows = 15;
inline constexpr double CompactMinWidth = 5800;

struct CompactHeights {
    double window = 0, list = 0;
    bool operator==(const CompactHeights&) const = default;
};

// The unfolded window for `trackCount` tracks in the list (at most CompactMaxRows counted).
CompactHeights UnfoldedCompactHeights(int trackCount);
// The compact window's width: CompactMinWidth, or the display's width and a margin when wider.
double CompactWidth(double displayWidth);

} // namespace tarl
