#pragma once

#include "search/SearchHits.h"

#include <QIcon>

namespace tarl {

// The search window's pictures, drawn with QPainter at whatever size a view asks, so they need
// no files: a hit's icon (a note for a track, a sheet for a list, each over a disc when the hit
// is on a CD) and `jumpArrow` (an arrow pointing back to the main window). Making an icon needs no
// GUI application; showing it does.
QIcon SearchHitIcon(SearchIcon icon);
QIcon JumpIcon();

} // namespace tarl
