#pragma once

#include <QString>

namespace tarl {

// Menus read "&" as the mark of the next letter's shortcut ("&File") and drop it, so a caption
// made from data (a folder, a song, a style: "Simon & Garfunkel") would lose its "&". Every
// caption taken from data goes through MenuCaption, which doubles each "&" so the menu shows the
// text exactly as written. The text is cut as a list cell's is (CellText): no menu is wide
// enough for more, and laying out a name of megabytes would hold the window for seconds.
QString MenuCaption(const QString& text);

} // namespace tarl
