#include "state/MainLayoutPlan.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

// Client 11000 x 7000 twips, splitter at 5000, a status bar of 300 twips unless a case says
// otherwise; "kept" sizes are what the controls measure today.
TEST(MainLayoutPlan, TheControlsAroundTheSplitter) {
    const struct {
        const char* name;
        MainLayoutInput in;
        TwipsRect tree, list, panel;
        bool statusBar;
    } cases[] = {
        {"a usual window",
         {11000, 7000, 5000, true, 300, 111, 222, 333},
         {0, 630, 5000, 6070},
         {5060, 630, 5800, 6070},
         {5040, 0, 6000, 630},
         true},
        {"no status bar: the tree ends 1200 twips above the bottom",
         {11000, 7000, 5000, false, 300, 111, 222, 333},
         {0, 630, 5000, 5800},
         {5060, 630, 5800, 5800},
         {5040, 0, 6000, 630},
         false},
        {"too low to compute: the tree keeps its height, no status bar placed",
         {11000, 1500, 5000, true, 300, 111, 222, 333},
         {0, 630, 5000, 111},
         {5060, 630, 5800, 111},
         {5040, 0, 6000, 630},
         false},
        {"too narrow for the list: it keeps its width",
         {5100, 7000, 5000, true, 300, 111, 222, 333},
         {0, 630, 5000, 6070},
         {5060, 630, 222, 6070},
         {5040, 0, 100, 630},
         true},
        {"splitter beyond the window: the panel keeps its width",
         {4000, 7000, 5000, true, 300, 111, 222, 333},
         {0, 630, 5000, 6070},
         {5060, 630, 222, 6070},
         {5040, 0, 333, 630},
         true},
        {"splitter left of the window: no tree width",
         {11000, 7000, -100, true, 300, 111, 222, 333},
         {0, 630, 0, 6070},
         {-40, 630, 10900, 6070},
         {-60, 0, 11100, 630},
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MainLayoutRects r = PlanMainLayout(c.in);
        EXPECT_EQ(r.tree, c.tree);
        EXPECT_EQ(r.list, c.list);
        EXPECT_EQ(r.panel, c.panel);
        EXPECT_EQ(r.splitter, (TwipsRect{c.in.splitterLeft, 630, 60, c.tree.height}));
        EXPECT_EQ(r.toolbar, (TwipsRect{0, 0, c.tree.width + 40, 630}));
        ASSERT_EQ(r.statusBar.has_value(), c.statusBar);
        if (c.statusBar) {
            EXPECT_EQ(*r.statusBar, (TwipsRect{0, c.in.clientHeight - 300, c.in.clientWidth, 300}));
        }
    }
}

TEST(MainLayoutPlan, ADraggedSplitterLeavesSomeOfBothSides) {
    const struct {
        double from, drag, width, to;
    } cases[] = {
        {5000, 630, 11000, 5600},   // follows the grip's middle
        {5000, -9000, 11000, 300},  // not under 300 twips
        {5000, 9000, 11000, 10400}, // 600 twips of the list stay
        {5000, 0, 700, 300},        // a tiny window: 300 wins
    };
    for (const auto& c : cases)
        EXPECT_EQ(DraggedSplitterLeft(c.from, c.drag, c.width), c.to) << c.from << " " << c.drag;
}

TEST(MainLayoutPlan, TheUnfoldedCompactWindowFollowsTheListUpToFifteenRows) {
    const struct {
        const char* name;
        int tracks;
        CompactHeights heights;
    } cases[] = {
        {"40 tracks count as 15", 40, {6130, 4980}},
        {"3 tracks", 3, {3010, 1860}},
        {"an empty list", 0, {2230, 1080}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UnfoldedCompactHeights(c.tracks), c.heights) << c.name;
}

TEST(MainLayoutPlan, TheCompactWindowIsWideEnoughForTheDisplay) {
    const struct {
        double display, window;
    } cases[] = {
        {6000, 6800}, // a wide display widens the window
        {5000, 5800}, // exactly the narrowest window
        {4500, 5800}, // never narrower than 5800
    };
    for (const auto& c : cases)
        EXPECT_EQ(CompactWidth(c.display), c.window) << c.display;
}

} // namespace
} // namespace tarl
