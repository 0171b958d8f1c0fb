#pragma once

#include "catalog/engine/Lookup.h"

#include <QString>

namespace tarl {

struct Catalog;

// A track's length in whole seconds, as the catalog learns it while the track plays. A track is
// addressed by its full path, split at its last "/" into folder and file name; the same file may
// stand in several lists, and all its rows are read and written together.

// The stored length of the track at `fullPath`; 0 when no row matches or none is stored yet.
Lookup<qint64> StoredTrackLength(Catalog& catalog, const QString& fullPath);

// Stores `seconds` as the length of every row of the track at `fullPath`; failed, with the
// reason, when the catalog refused.
Result<> StoreTrackLength(Catalog& catalog, const QString& fullPath, qint64 seconds);

} // namespace tarl
