#pragma once

#include "state/Twips.h"

#include <QWidget>

namespace tarl {

// Sets a control's geometry given in twips.
inline void PlaceInTwips(QWidget* w, double left, double top, double width, double height) {
    w->setGeometry(ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height));
}

// The main window's full layout: the tree and the list below the toolbar and the player panel,
// the splitter between them.
inline constexpr double MainTreeTop = 630;
inline constexpr double MainToolbarHeight = 630;
inline constexpr double MainSplitterWidth = 60;

} // namespace tarl
