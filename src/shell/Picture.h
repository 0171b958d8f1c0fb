#pragma once

#include <QPixmap>

namespace tarl {
// Tarl's picture: a disc with a note, drawn at the given size. Used for the window icon and the
// About window.
QPixmap TarlPicture(int size);
} // namespace tarl
