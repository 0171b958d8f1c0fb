#pragma once

#include <QString>

namespace tarl {

// Menus read "&" as the mark of the next letter's shortcut ("&File") and drop it, so a caption
// made from data (a folder, a song, a style: "Simon & Garfunkel") would lose its "&". Every
// caption taken from data goes through MenuCaption, which doubles each "&" so the menu shows the
// text exactly as written.
QString MenuCaption(const QString& text);

} // namespace tarl
