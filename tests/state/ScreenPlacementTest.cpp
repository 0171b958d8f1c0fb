#include "state/ScreenPlacement.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

// Two screens side by side: 19200 x 10800 twips (1280 x 720 pixels) each.
TEST(ScreenPlacement, AWindowOffEveryScreenComesBackOntoTheNearest) {
    const std::vector<TwipsRect> screens{{0, 0, 19200, 10800}, {19200, 0, 19200, 10800}};
    const struct {
        const char* name;
        TwipsRect window, placed;
    } cases[] = {
        {"on the first screen: kept", {300, 450, 9000, 6000}, {300, 450, 9000, 6000}},
        {"across both screens: kept", {15000, 450, 9000, 6000}, {15000, 450, 9000, 6000}},
        {"mostly off, a grip still on: kept",
         {18600, 10200, 9000, 6000},
         {18600, 10200, 9000, 6000}},
        {"right of the second screen", {60000, 450, 5800, 680}, {32600, 450, 5800, 680}},
        {"left of the first screen", {-9000, 3000, 5800, 2230}, {0, 3000, 5800, 2230}},
        {"below both, nearer the second", {25000, 20000, 5800, 2230}, {25000, 8570, 5800, 2230}},
        {"above the first screen", {300, -5500, 9000, 6000}, {300, 0, 9000, 6000}},
        {"larger than the screen: its top left corner shows",
         {-50000, -50000, 30000, 20000},
         {0, 0, 30000, 20000}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeptOnScreen(c.window, screens), c.placed) << c.name;
}

TEST(ScreenPlacement, NoScreensLeavesThePlace) {
    const TwipsRect window{90000, 90000, 5800, 680};
    EXPECT_EQ(KeptOnScreen(window, {}), window);
}

} // namespace
} // namespace tarl
