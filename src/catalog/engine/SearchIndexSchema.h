#pragma once

#include "text/Result.h"

#include <QString>
#include <QStringList>
#include <vector>

struct sqlite3;

namespace tarl {

// What the search indexes are made of, for the engine that opens a catalog and checks what it
// holds; the searches and the index's upkeep are the catalog routines' (SearchIndex,
// ServerSearch).

// A catalog file's index: every statement that makes it anew, in order (what is left of an old
// one dropped first, then the tables and triggers, then every stored row noted as stale).
const std::vector<const char*>& SearchIndexBuildStatements();
// Of those, the statements that make its tables and triggers, as the file keeps them: what a
// catalog may hold beside Tarl's own tables.
QStringList SearchIndexSchema();

// fold_accents(text): FoldAccents in statements, on one open connection.
Result<> InstallFoldAccents(sqlite3* db);

// The value of `column` as the server compares it with a text of ASCII alone: ASCII letters
// lowered (the "C" collation, whatever the server's locale), the two other letters that fold
// into ASCII turned into theirs. The catalog's trigram indexes are made on it, so a search's
// candidates come from an index.
QString ServerSearchKey(const QString& column);

// The statements that make those indexes on a server, one a searched column (made with a
// catalog).
QStringList ServerSearchIndexStatements();

} // namespace tarl
