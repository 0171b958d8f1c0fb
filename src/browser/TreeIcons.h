#pragma once

#include <QIcon>
#include <QImage>

class QPainter;
class QRectF;

namespace tarl {

// The pictures of the library tree's image indices (TreeImage), drawn with QPainter so they stay
// sharp at any size and need no files: the catalog root (a database), a hard-disc playlist under
// a style (present / missing), a folder (a hard-disc volume present), a playlist sheet (also a
// hard-disc volume missing), a disc (present / missing; present is also "Unsorted"), a folder of
// tracks, a style. Missing things are drawn grey with a red cross. Other indices have no picture.
class TreeIcons {
public:
    static bool hasPicture(int index);

    // Draws the picture of `index` into `rect`; nothing for an index without one.
    static void paint(QPainter& painter, const QRectF& rect, int index);

    // The picture as an image `size` pixels square (transparent around it); a null image for an
    // index without one. Needs no GUI application.
    static QImage image(int index, int size = 16);

    // An icon that draws the picture at whatever size the view asks; a null icon for an index
    // without one. Making the icon needs no GUI application; showing it does.
    static QIcon icon(int index);
};

} // namespace tarl
