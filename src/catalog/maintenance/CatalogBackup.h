#pragma once

#include "text/Result.h"

#include <QString>
#include <functional>

namespace tarl {

class Connection;

// Copies of a catalog, made page by page through the engine's online backup, so a catalog in use
// is copied as one consistent state while the program goes on reading it.
//
// The copy is written in steps of a bounded number of pages; after each step `progress` gets the
// pages copied and the pages in all, so a window can repaint and show how far it got. It goes to
// a new file beside the destination under a name no one can guess (catalog/NewFile.h), renamed
// over the destination only once it is complete and on the disc: a crash or a full disc never
// leaves a half copy under a backup's name, a planted link is never written through, and several
// programs backing up at once each write a file of their own. A copy keeps its journal in a file of
// its own (it is not written ahead), so it is one self-contained file that can be moved or opened
// for reading anywhere.
//
// Rotation keeps the last three copies beside the catalog: NAME.bak1 is the newest, NAME.bak2 and
// NAME.bak3 the older ones; a new copy moves them down and drops the oldest, and a copy that
// fails moves nothing, and so does a copy with the same bytes as the newest (nothing was written
// since: an import stopped before it wrote pushes no older state out). Every failure (a full disc,
// a folder that cannot be written) is a sentence for the caller to show; it never stops the work
// the copy was made for.
using BackupProgress = std::function<void(int pagesCopied, int pageCount)>;

// How many copies the rotation keeps.
constexpr int kBackupGenerations = 3;

// "CATALOG.bakN".
QString BackupFileName(const QString& catalog, int generation);
// The newest copy of the rotation that is there, "" when there is none.
QString NewestBackup(const QString& catalog);

// What a backup to a named destination does with a file already there: replace it only when it
// holds a catalog (an earlier backup), or replace whatever it is (the user said so).
enum class ExistingFile { KeepUnlessCatalog, Replace };

// Copies the open catalog to `destination`.
Result<> BackupCatalog(Connection& catalog, const QString& destination,
                       ExistingFile existing = ExistingFile::KeepUnlessCatalog,
                       const BackupProgress& progress = {});
// Copies the catalog file `catalog` (not open) to `destination`.
Result<> BackupCatalogFile(const QString& catalog, const QString& destination,
                           ExistingFile existing = ExistingFile::KeepUnlessCatalog,
                           const BackupProgress& progress = {});

// A new copy of the open catalog as NAME.bak1, the older ones moved down; gives NAME.bak1. A
// catalog on a server is not copied (its server keeps the copies): "" then.
Result<QString> RotateBackups(Connection& catalog, const BackupProgress& progress = {});
// The same for a catalog file that is not open.
Result<QString> RotateBackupsOfFile(const QString& catalog, const BackupProgress& progress = {});

} // namespace tarl
