#pragma once

#include "state/MainLayoutPlan.h"

#include <vector>

namespace tarl {

// Keeping a window where it can be reached. A settings file written on a larger monitor, or one
// that has been unplugged since, can hold a place beyond every screen; a window there, above
// all a compact one without a title bar, could never be found or moved again.

// How much of a window must lie on one screen for its place to be kept: enough to grab it.
inline constexpr double ReachableTwips = 600;

// The window's rectangle (twips) as it should be placed: unchanged when enough of it lies on one
// of `screens` (their usable areas, twips), else moved onto the nearest screen, its top left
// corner inside it and as much of the window as fits. No screens: unchanged.
TwipsRect KeptOnScreen(const TwipsRect& window, const std::vector<TwipsRect>& screens);

} // namespace tarl
