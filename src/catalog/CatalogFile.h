#pragma once

#include <QString>

namespace tarl {

// Makes a new, empty catalog at `file`: the tables CD, M3u, Mp3 and Nick with their columns in
// their order, generated ids, M3u.nick defaulting to 0, and an index for every look-up.
// Refuses an existing file. On failure nothing is left behind and *error says why.
bool CreateCatalog(const QString& file, QString* error = nullptr);

} // namespace tarl
