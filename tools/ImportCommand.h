#pragma once

#include <QStringList>
#include <QTextStream>

namespace tarl::tool {

// tarl-catalog import [--playlists|--sound-files|--all] [--no-subdirs] [--depth N]
//                     [--cd-name NAME] --catalog FILE FOLDER
// Walks FOLDER as the scan window does (sound files unless told), thins a playlist walk with the
// duplicate purge, and adds what was found to the catalog FILE, which must exist. A bar on the
// terminal shows the import's progress; the counts go to `out` at the end.
int RunImport(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace tarl::tool
