#pragma once

#include <QStringList>
#include <QTextStream>

namespace tarl::tool {

// tarl-catalog import [--playlists|--sound-files|--all] [--no-subdirs] [--depth N]
//                     [--cd-name NAME] --catalog FILE FOLDER
// Walks FOLDER as the scan window does (sound files unless told), thins a playlist walk with the
// duplicate purge, and adds what was found to the catalog FILE, which must exist and be writable.
// A bar on the terminal shows the import's progress; the counts go to `out` at the end. A write
// the catalog refuses stops the import (the rows of whole batches stay) and the command exits 1
// with the reason on `err`; tags or playlists that cannot be read are counted, and it exits 0.
int RunImport(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace tarl::tool
