#pragma once

#include "catalog/maintenance/CatalogBackup.h"
#include "text/Result.h"

#include <QString>

namespace tarl {

// Putting a backup back in place of a catalog, and keeping a catalog aside, so that nothing is
// ever lost on the way: every step is a copy or a rename, and a file replaced is renamed, not
// deleted.

// Renames `file` with its companion files (write-ahead log, shared-memory index, journal) to the
// first free name of "FILE.SUFFIX", "FILE.SUFFIX2", ...; gives the new name. The companions go
// first: a log left under the old name would be played into whatever file takes that name next.
Result<QString> SetCatalogAside(const QString& file, const QString& suffix);

// Restores the backup `backup` as the catalog `catalog`. The backup is checked first (the full
// check) and refused when it is not a sound catalog, and refused while another program (or another
// connection of this one) has the catalog open: it would go on writing into the file kept aside.
// The catalog is held alone until the copy has its name (EngineFile::holdAlone). The copy is
// written beside the catalog and renamed to its name only when complete. A catalog already there is
// kept first under "CATALOG.KEEPSUFFIX" (see SetCatalogAside); gives that name, "" when there was
// none.
Result<QString> RestoreCatalog(const QString& backup, const QString& catalog,
                               const QString& keepSuffix, const BackupProgress& progress = {});

} // namespace tarl
