#pragma once

#include <QString>

namespace tarl {

// What kind of failure an engine reported, as far as the user can act on it.
enum class FailureKind {
    ReadOnly, // the catalog may not be changed
    Busy,     // another program's write held it for the whole wait, or a conflict outlasted it
    Locked,   // another program holds a lock that is not waited for
    Full,     // no room left where the catalog is kept
    Other,
};

// The kind of an SQLite failure, from the engine's primary result code.
FailureKind SqliteFailureKind(int primaryCode);
// The kind of a PostgreSQL failure, from its five-character SQLSTATE.
FailureKind ServerFailureKind(const QString& sqlState);

// How a sentence names the catalog at `place`: "catalog file PATH" for a file, "catalog ADDRESS"
// for a database on a server.
QString CatalogPlace(const QString& place);

// Why the catalog at `place` (a file, or a server's address as shown) did not run `statement`,
// as a sentence for the user; `engineText` is the engine's own message. A read-only catalog, a
// lock held by another program and a full disc are named as such; anything else quotes the
// engine. The statement is quoted, cut to its first 300 characters, except after a lock: the
// user can do nothing with it then.
QString DescribeStatementFailure(FailureKind kind, const QString& place, const QString& engineText,
                                 const QString& statement);
// The same from SQLite's primary result code `code`.
QString DescribeStatementFailure(int code, const QString& place, const QString& engineText,
                                 const QString& statement);

// Why the catalog file `file` could not be opened, when the engine's extended result code
// `extendedCode` says its disc is full: a write-ahead catalog is read through its "-shm"
// companion, which needs room on the disc even for reading. "" for any other code.
QString DescribeFullDiscOnOpen(int extendedCode, const QString& file);

// The catalog at `place` stayed locked by another program's write for the whole busy timeout.
QString DescribeBusyCatalog(const QString& place);

} // namespace tarl
