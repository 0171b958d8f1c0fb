#pragma once

#include "text/Result.h"

#include <QString>
#include <QStringList>

struct sqlite3;

namespace tarl {

// What a catalog file holds besides this program's own schema.
//
// A catalog file may come from someone else (received, restored, shared), and its schema can
// carry code the engine runs on its own: a trigger that deletes or rewrites rows as they are
// written, a view, a table of a module this program does not know. Such a file is not used as
// it is. This program's own objects are the four tables (by name: older catalogs spell their
// columns differently), the search index's tables and triggers (by name and the exact statement
// that made them), the engine's own tables, and any index (an index runs no code of its own; a
// function in its expression is refused by the engine unless it is harmless). Everything else is
// foreign.

// The foreign objects of the file open on `db`, each as "trigger NAME", "view NAME" or "table
// NAME"; empty when there is none.
Result<QStringList> ForeignSchemaObjects(sqlite3* db);

// The sentence that refuses a catalog holding `objects`.
QString DescribeForeignSchema(const QString& path, const QStringList& objects);

// Drops the foreign objects of the file open on `db`, in one transaction; gives what it dropped.
Result<QStringList> DropForeignSchemaObjects(sqlite3* db);

// Sets the engine's guards on a connection to a catalog file: the defensive mode (no writes to
// the schema or the engine's own tables by statements) and an untrusted schema (functions and
// virtual tables in the schema only where the engine knows them to be harmless).
Result<> GuardCatalogConnection(sqlite3* db);

} // namespace tarl
