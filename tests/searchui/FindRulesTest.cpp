#include "searchui/FindRules.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

SearchRow Hit(const QString& file, const QString& path, const QString& id = {}) {
    SearchRow row;
    row.columns[SearchFileColumn] = file;
    row.columns[SearchPathColumn] = path;
    row.columns[SearchTrackIdColumn] = id;
    return row;
}

TEST(FindRules, BackAndNextStepThroughTheHistory) {
    const struct {
        const char* name;
        bool back;
        int entries, selected;
        HistoryStep step;
    } cases[] = {
        {"back from the newest", true, 3, 0, {1, true}},
        {"back with none selected starts at the newest", true, 3, -1, {1, true}},
        {"back with one entry only selects it", true, 1, -1, {0, false}},
        {"back on the oldest", true, 3, 2, {2, false}},
        {"back with no history", true, 0, -1, {-1, false}},
        {"next from the middle", false, 3, 1, {0, true}},
        {"next on the newest", false, 3, 0, {0, false}},
        {"next with none selected", false, 3, -1, {-1, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const HistoryStep step =
            c.back ? BackStep(c.entries, c.selected) : NextStep(c.entries, c.selected);
        EXPECT_EQ(step.selected, c.step.selected);
        EXPECT_EQ(step.search, c.step.search);
    }
}

TEST(FindRules, OpeningAndJumpingFollowTheHitsPath) {
    using K = OpenHit::Kind;
    const struct {
        const char* name;
        SearchRow row;
        K open;
        QString openText, jumpKey, jumpFile;
    } cases[] = {
        {"a list on a hard disc", Hit("Jazz/", "/music/"), K::SearchPath, "/music/Jazz/",
         "/music/Jazz/", ""},
        {"a playlist on a hard disc", Hit("mix.m3u", "/music/"), K::SearchPath, "/music/mix.m3u",
         "/music/", "mix.m3u"},
        {"a list on a disc", Hit("Rock/", "(CD)DISC07:>/media/cd/"), K::SearchPath, "/Rock/",
         "DISC07:>/media/cd/Rock/", ""},
        {"a track on a hard disc", Hit("a.mp3", "/music/Jazz/", "7"), K::Play, "/music/Jazz/a.mp3",
         "/music/Jazz/", "a.mp3"},
        {"a track on a disc: the key the tree gives it", Hit("a.mp3", "(CD)DISC07:>/cd/Rock/", "8"),
         K::Play, "DISC07:>/cd/Rock/a.mp3", "DISC07:>/cd/Rock/", "a.mp3"},
        {"a track whose file begins with a separator", Hit("/a.mp3", "/music/", "9"), K::Nothing,
         "", "/music//", "/a.mp3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const OpenHit open = OpenHitOf(c.row);
        EXPECT_EQ(open.kind, c.open);
        EXPECT_EQ(open.text, c.openText);
        const JumpTarget jump = JumpTargetOf(c.row);
        EXPECT_EQ(jump.folderKey, c.jumpKey);
        EXPECT_EQ(jump.trackFile, c.jumpFile);
    }
}

TEST(FindRules, MoreOfTheSameTakesTheColumnOfItsField) {
    EXPECT_EQ(ColumnOfField(SearchField::Comments), SearchCommentColumn);
    EXPECT_EQ(ColumnOfField(SearchField::Year), SearchYearColumn);
    EXPECT_EQ(ColumnOfField(SearchField::Path), SearchPathColumn);
}

TEST(FindRules, TheSeekKnobStaysOnItsTrack) {
    const struct {
        const char* name;
        double left, x;
        std::optional<double> moved;
    } drags[] = {
        {"to the wanted place", 2000, 750, 2500},
        {"not for 10 twips or less", 2000, 260, std::nullopt},
        {"just over 10 twips", 2000, 261, 2011},
        {"never past the end", 4400, 900, MiniKnobMax},
        {"never before the start", 1400, 0, MiniKnobMin},
    };
    for (const auto& d : drags) {
        SCOPED_TRACE(d.name);
        EXPECT_EQ(MiniKnobDragged(d.left, d.x), d.moved);
    }
    // Half the travel of a 100-second track is 50 seconds, and the knob comes back to it.
    EXPECT_EQ(MiniSeekMs(2940, 100), 50000);
    EXPECT_DOUBLE_EQ(MiniKnobAfterSeek(50000, 100), 2940);
    EXPECT_EQ(MiniSeekMs(MiniKnobMax, 0), 0);
    EXPECT_DOUBLE_EQ(MiniKnobFollowing(25, 100), MiniKnobMin + 810);
    EXPECT_DOUBLE_EQ(MiniKnobFollowing(300, 100), MiniKnobMax);
    EXPECT_DOUBLE_EQ(MiniKnobFollowing(30, 0), MiniKnobMin);
}

TEST(FindRules, TheLayoutFollowsTheWindowsSize) {
    const FindLayout wide = PlanFindLayout(9000, 7000, 300, 2400);
    EXPECT_EQ(wide.statusTop, 6700);
    EXPECT_EQ(wide.listWidth, 8400);
    EXPECT_EQ(wide.listHeight, 4300);
    EXPECT_EQ(wide.jumpLeft, 8400);
    const FindLayout small = PlanFindLayout(500, 2000, 300, 2400);
    EXPECT_EQ(small.listWidth, std::nullopt);
    EXPECT_EQ(small.listHeight, std::nullopt);
    EXPECT_EQ(JumpImageTop(2400, 300), 2500);
}

} // namespace
} // namespace tarl
