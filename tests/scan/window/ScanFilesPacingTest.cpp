#include "dialogs/ScanFilesPacing.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace tarl;

namespace {

// A walk or import reporting at the given times (ms), as the scan window paces it: values every
// 50 ms at most (the newest of each kind, in a fixed order), the event loop every 20 ms at most.
TEST(ScanFilesPacing, ShowsTheNewestValuesAtMostEvery50msAndRunsEventsAtMostEvery20ms) {
    qint64 now = 0;
    int turns = 0;
    QStringList shown;
    ScanFilesPacing pacing([&] { ++turns; }, 50, 20, [&] { return now; });
    const struct Step {
        qint64 at;
        const char* action; // a kind with its value, "turn", "finish" or "discard"
        const char* value;
        const char* shown; // everything shown so far
        int turns;         // event-loop turns so far
    } steps[] = {
        {0, "folder", "a", "a", 0}, // the first value at once
        {0, "turn", "", "a", 1},    // and the first turn
        {10, "folder", "b", "a", 1},
        {20, "panel2", "s", "a", 1},
        {25, "turn", "", "a", 2},
        {30, "folder", "c", "a", 2}, // replaces b, never shown
        {40, "turn", "", "a", 2},
        {50, "turn", "", "a|s|c", 3},
        {60, "turn", "", "a|s|c", 3}, // nothing new to show
        {99, "folder", "d", "a|s|c", 3},
        {100, "progress", "p", "a|s|c|p|d", 3},
        {110, "folder", "e", "a|s|c|p|d", 3},
        {111, "finish", "", "a|s|c|p|d|e", 3}, // the last value always shows
        {120, "panel1", "x", "a|s|c|p|d|e", 3},
        {121, "discard", "", "a|s|c|p|d|e", 3},
        {200, "turn", "", "a|s|c|p|d|e", 4},
    };
    const std::map<std::string, ScanFilesPacing::Kind> kinds{
        {"progress", ScanFilesPacing::Progress},
        {"panel1", ScanFilesPacing::Panel1},
        {"panel2", ScanFilesPacing::Panel2},
        {"folder", ScanFilesPacing::Folder}};
    for (const Step& step : steps) {
        now = step.at;
        const std::string action = step.action;
        const QString value = step.value;
        if (action == "turn")
            pacing.turn();
        else if (action == "finish")
            pacing.finish();
        else if (action == "discard")
            pacing.discard();
        else
            pacing.set(kinds.at(action), [&shown, value] { shown << value; });
        EXPECT_EQ(shown.join('|').toStdString(), step.shown) << step.at << " " << action;
        EXPECT_EQ(turns, step.turns) << step.at << " " << action;
    }
}

} // namespace
