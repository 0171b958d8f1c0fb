#pragma once

#include "text/Result.h"

#include <QString>

namespace tarl {

struct Catalog;
class Drives;
class Files;
class LibraryTreeEdits;

// The catalog's delete cascades. Arguments are raw values, bound to the statements; ids are
// 64-bit. Each routine runs its own statements and stops at the first statement that fails, with
// the reason (the connection's lastError()) as the result's error; DeleteVolume alone goes on past
// failures once the volume is known. A null `tree` leaves the library tree alone.

// Deletes the style `name` (every style of that name, case aside); its lists stay in the catalog
// with no style. Its node leaves the tree.
Result<> DeleteStyle(Catalog& catalog, const QString& name, LibraryTreeEdits* tree);

// Deletes the list stored at `listPath` (the first found, on whatever volume) and its tracks.
// Its node, when the tree has one keyed `listPath`, leaves the tree.
Result<> DeleteList(Catalog& catalog, const Drives& drives, const QString& listPath,
                    LibraryTreeEdits* tree);

// Deletes one track; id 0 runs no statement.
Result<> DeleteTrack(Catalog& catalog, qint64 trackId);

// Deletes the volume keyed `volumeKey` in the library tree ("/music/" for a hard-disc volume,
// label + ":>" + name for a CD), every list on it and their tracks, removes its node from the
// tree and, for a hard-disc volume, its folder from the disc when the folder is empty and the key
// names it plainly (no "." or ".." part leading elsewhere).
// Once the volume is found, a step that fails is skipped and the others still run; the result is
// then failed and its error names the first failure.
Result<> DeleteVolume(Catalog& catalog, const Drives& drives, Files& files,
                      const QString& volumeKey, LibraryTreeEdits* tree);

// Deletes every volume named `name` and nothing else: their lists and tracks stay, for the
// re-scan that makes the volume again.
Result<> DeleteVolumesKeepingLists(Catalog& catalog, const QString& name);

} // namespace tarl
