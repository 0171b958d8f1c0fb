#pragma once

#include "text/Result.h"

#include <QString>

namespace tarl {

// Makes a new, empty catalog at `file`: the tables CD, M3u, Mp3 and Nick with their columns in
// their order, generated ids, M3u.nick defaulting to 0, and an index for every look-up.
// Refuses an existing file. On failure nothing is left behind and the result's error says why.
// `file` may be a server address instead (CatalogAddress.h): the same catalog is then made in
// that database, which must exist and hold none of the four tables.
Result<> CreateCatalog(const QString& file);

} // namespace tarl
