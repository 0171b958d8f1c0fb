#pragma once

#include "text/Result.h"

#include <QString>

namespace tarl {

struct Catalog;
class Drives;
class PathMap;

// Files the playlist at `playlistPath` (this machine's path) in the catalog as a list, as a scan
// of its folder files it, so the library tree shows it and it plays like any other list:
// - on the hard-disc volume named after its folder when the catalog has one, else on a new
//   hard-disc volume of that folder;
// - the list's entries are those of the file as it is now, read by the playlist rules, with the
//   tags and length of each sound file found; a list filed before loses its old entries first.
// Paths go to the catalog in their stored form (`pathMap`). Everything runs in one transaction:
// a statement the catalog refuses leaves the catalog as it was, and the result is failed with the
// reason; so does a playlist file that cannot be read whole.
Result<> FilePlaylist(Catalog& catalog, const Drives& drives, const PathMap& pathMap,
                      const QString& playlistPath);

} // namespace tarl
