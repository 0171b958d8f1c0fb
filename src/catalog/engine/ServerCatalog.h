#pragma once

#include "catalog/engine/CatalogAddress.h"
#include "text/Result.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

class QSqlDatabase;
class QSqlError;
class QSqlQuery;

namespace tarl {

// The PostgreSQL side of the catalog connection: the open of a database on a server and the
// words for what the server answered.

// The client-side limits a server connection runs with: a write waits this long for another
// program's lock (the file catalog's busy timeout), then fails as busy.
inline constexpr int kServerLockWaitMs = 5000;

// Opens `db`, a QPSQL connection not yet open, on the database at `address`, and sets the
// session up. Failed, with a sentence: the server cannot be reached, it refused the login, the
// database does not exist. Tables are not looked at here.
Result<> OpenServerDatabase(QSqlDatabase& db, const ServerAddress& address);

// The names of the tables the database holds where the session looks for them (its schema
// search path), lower case; failed with the server's words.
Result<QStringList> ServerTableNames(QSqlDatabase& db);

// The `tables` this session's role may not read (it was given no grant on them).
Result<QStringList> ServerTablesNotReadable(QSqlDatabase& db, const QStringList& tables);

// Whether the session may write the catalog's tables: false for a role without the right to
// insert tracks, or a server that only reads (a standby).
Result<bool> ServerAllowsWrites(QSqlDatabase& db);

// Makes the catalog's tables and indexes in the database at `address`, all or nothing. Refuses a
// database that already holds one of the four tables. The database itself, and the role that
// owns it, are made beforehand by the server's administrator.
Result<> CreateServerCatalog(const ServerAddress& address);

// Runs `statement` on a server. A statement run on its own (outside a transaction) that the
// server broke off to end a deadlock with another machine's writes is run again, at most three
// times; inside a transaction the failure is the transaction's to handle.
bool ExecOnServer(QSqlQuery& query, const QString& statement, const QVariantList& values,
                  bool inTransaction);

// The first word of a statement, in capitals ("BEGIN", "ROLLBACK", "SELECT").
QString StatementWord(const QString& statement);

// Whether the session is inside a transaction after `statement` ran, from whether it was before.
bool InTransactionAfter(const QString& statement, bool before);

// The key of the lock an import batch takes on a server for its length: batches of imports on
// several machines then write one after the other, as they do on a file, so two imports of one
// folder never both add what neither has found.
inline constexpr qint64 kImportBatchLock = 0x7461726c2d696d70; // "tarl-imp"

// The server's words for a failure, without the driver's decorations.
QString ServerMessage(const QSqlError& error);

} // namespace tarl
