#include "state/ScreenPlacement.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarl {

namespace {

double Overlap(double from, double length, double screenFrom, double screenLength) {
    return std::min(from + length, screenFrom + screenLength) - std::max(from, screenFrom);
}

bool Reachable(const TwipsRect& window, const TwipsRect& screen) {
    // A window narrower or lower than the grip counts as reachable when all of that side shows.
    const double across = std::min(ReachableTwips, window.width);
    const double down = std::min(ReachableTwips, window.height);
    return Overlap(window.left, window.width, screen.left, screen.width) >= across &&
           Overlap(window.top, window.height, screen.top, screen.height) >= down;
}

// The gap between the window and the screen, 0 where they meet.
double Distance(const TwipsRect& window, const TwipsRect& screen) {
    const double dx = std::max(0.0, -Overlap(window.left, window.width, screen.left, screen.width));
    const double dy = std::max(0.0, -Overlap(window.top, window.height, screen.top, screen.height));
    return std::hypot(dx, dy);
}

double Inside(double from, double length, double screenFrom, double screenLength) {
    return std::max(screenFrom, std::min(from, screenFrom + screenLength - length));
}

} // namespace

TwipsRect KeptOnScreen(const TwipsRect& window, const std::vector<TwipsRect>& screens) {
    if (screens.empty())
        return window;
    if (std::any_of(screens.begin(), screens.end(),
                    [&](const TwipsRect& s) { return Reachable(window, s); }))
        return window;
    const TwipsRect* nearest = &screens.front();
    double best = std::numeric_limits<double>::max();
    for (const TwipsRect& s : screens) {
        const double d = Distance(window, s);
        if (d < best) {
            best = d;
            nearest = &s;
        }
    }
    TwipsRect placed = window;
    placed.left = Inside(window.left, window.width, nearest->left, nearest->width);
    placed.top = Inside(window.top, window.height, nearest->top, nearest->height);
    return placed;
}

} // namespace tarl
