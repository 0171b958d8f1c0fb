#pragma once

#include "state/MainLayoutPlan.h"
#include "state/Twips.h"

#include <QWidget>

namespace tarl {

// Sets a control's geometry given in twips.
inline void PlaceInTwips(QWidget* w, double left, double top, double width, double height) {
    w->setGeometry(ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height));
}
inline void PlaceInTwips(QWidget* w, const TwipsRect& r) {
    PlaceInTwips(w, r.left, r.top, r.width, r.height);
}

} // namespace tarl
