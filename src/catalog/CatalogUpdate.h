#pragma once

#include "text/Result.h"

#include <QString>

namespace tarl {

struct Catalog;

// The catalog's updates of a row in place. Arguments are raw values (each routine quotes what it
// splices into its statement). A statement that fails ends the routine: failed, with the reason
// (also the connection's lastError()), and the rows as they were.

// Gives the style called `from` the name `to`. The style keeps its id, so the lists filed under
// it stay filed under it. The caller checks first that `to` is free (FindStyleId): this routine
// writes whatever it is given.
Result<> RenameStyle(Catalog& catalog, const QString& from, const QString& to);

// Files the list stored at `path` + `file` (as table M3u splits it) under the style `style`
// (case aside), in place of the style it had. Failed, with a sentence for the user, when there
// is no such style or no such list: nothing is written then.
Result<> FileListUnderStyle(Catalog& catalog, const QString& path, const QString& file,
                            const QString& style);

} // namespace tarl
