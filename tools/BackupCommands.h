#pragma once

#include <QStringList>
#include <QTextStream>

namespace tarl::tool {

// Copies of a catalog and the engine's check, for scripts and for the morning after a crash.
// Each exits 1 with the reason on stderr when it cannot be done, 2 for bad usage; a copy shows a
// progress bar on a terminal.

// tarl-catalog backup CATALOG [DEST [--force]]: copies the catalog to DEST; an existing DEST is
// replaced when it is a catalog (an earlier backup), anything else only with --force. Without
// DEST, as the import does before it writes: the copy becomes CATALOG.bak1 and the older ones
// move to .bak2 and .bak3, the oldest dropped; nothing moves when nothing changed since .bak1.
int RunBackup(const QStringList& arguments, QTextStream& out, QTextStream& err);

// tarl-catalog restore BACKUP CATALOG [--force]: puts the backup back as the catalog once the full
// check finds it sound. An existing CATALOG is replaced only with --force, and is then kept as
// CATALOG.replaced (a number added when that name is taken).
int RunRestore(const QStringList& arguments, QTextStream& out, QTextStream& err);

// tarl-catalog check [--strip-foreign] CATALOG: the engine's full integrity check, the tables'
// columns and what of the schema Tarl did not make; prints "ok" and exits 0, or prints each
// problem on a line and exits 1. --strip-foreign first backs the catalog up (the rotation) and
// removes the triggers, views and tables Tarl did not make, saying each.
int RunCheck(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace tarl::tool
