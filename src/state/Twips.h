#pragma once

#include <QtGlobal>
#include <algorithm>
#include <cmath>

namespace tarl {

// The settings and the layout rules measure in twips: 15 to a pixel at 96 DPI. Windows convert
// at their edge, so values read from the settings file round-trip exactly.
inline constexpr double TwipsPerPixel = 15.0;
inline int ToPixels(double twips) {
    return static_cast<int>(std::lround(twips / TwipsPerPixel));
}
inline double ToTwips(int pixels) {
    return pixels * TwipsPerPixel;
}

// Where a position knob sliding between the left positions `min` and `max` stands for
// `positionSeconds` of a track `lengthSeconds` long: at `min` while no length is known, and never
// beyond either end (the player's rounding can report a position past the end).
inline double KnobLeftFor(qint64 positionSeconds, qint64 lengthSeconds, double min, double max) {
    double left = min;
    if (lengthSeconds > 0)
        left += double(positionSeconds) * (max - min) / double(lengthSeconds);
    return std::clamp(left, min, max);
}

} // namespace tarl
