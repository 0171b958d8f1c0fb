#pragma once

#include "text/Result.h"

#include <QStringList>

namespace tarl {

// The engine's own check of a catalog file: the quick one (each page readable and well formed)
// after a run that did not end cleanly, the full one (every index against its table as well) on
// demand. The file is opened on its own connection and never changed.
enum class CheckDepth { Quick, Full };

// The problems found, one sentence each, none when the file is a sound catalog: damaged pages, a
// file the engine cannot read as a database, a database without the catalog's four tables. Fails
// with the reason when the file cannot be checked at all (missing, unreadable, kept busy by
// another program).
Result<QStringList> CheckCatalog(const QString& file, CheckDepth depth);

} // namespace tarl
