#pragma once

#include "browser/TrackRows.h"

#include <QStringList>
#include <array>

namespace tarl {

class Settings;

// Widths and order of the track list's twelve columns, as the settings file keeps them:
// Dimensions/mp3F<n> the width in twips and Dimensions/mp3FO<n> the display position of
// column n, for n from 1 to 11 (the twelfth column, the track id, is not saved).
struct ColumnLayout {
    // Width of each column in twips; 0 for the view's default width.
    std::array<double, TrackColumnCount> widthTwips{};
    // Display position of each column, 0 at the left: always a permutation of 0..11.
    std::array<int, TrackColumnCount> position{};
    // The values that were there but could not be used, as "Dimensions/mp3F3=abc".
    QStringList ignored;
};

// Built-in widths (columns 1 to 10; the last two take the view's default) in column order.
ColumnLayout BuiltInColumnLayout();

// The layout the settings file asks for. An empty value leaves that column's built-in width or
// position; so does a value that cannot be used (not a number, a negative width, a position
// outside 1..12 or one another column already takes), which is also listed in `ignored`.
// Every other column is still restored.
ColumnLayout ReadColumnLayout(const Settings& settings);

// Writes mp3F1..mp3F11, then mp3FO1..mp3FO11. Callers go on whatever happens: a failed write is
// kept by `settings` (writeError()).
void WriteColumnLayout(Settings& settings, const ColumnLayout& layout);

} // namespace tarl
