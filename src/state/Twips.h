#pragma once

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

} // namespace tarl
