#pragma once

#include <QString>
#include <QVariantList>
#include <functional>

struct sqlite3;

namespace tarl {

// The rows a statement read, held for the catalog's routines (Recordset.h).
class Recordset;

// The two engines a catalog lives in.
enum class CatalogEngine {
    Sqlite,   // a catalog file
    Postgres, // a database on a PostgreSQL server, shared by several machines
};

// The catalog connection, opened on a catalog file or a server address (CatalogAddress.h).
// Opening never creates a catalog: a missing file, a file that is not SQLite, a server that
// cannot be reached or refuses the login, and a file or database without the tables CD, M3u, Mp3
// and Nick all fail with a reason in lastError().
// A file is written ahead where the engine can; where it has no shared memory (a network share)
// it is opened with a rollback journal instead, and journalNote() says so.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // 0 closed, 1 open.
    int state() const;
    // Opens the catalog file or the database at the server address `address` (a server's
    // password comes from ~/.pgpass or PGPASSWORD, never from the address).
    bool open(const QString& address);
    void close();

    // Runs a statement; the rows replace what `into` held. False with lastError() on failure
    // (`into` is then empty).
    bool execute(const QString& statement, Recordset& into);
    // Runs a statement whose rows are not wanted.
    bool execute(const QString& statement);
    // The same with `values` bound to the statement's "?" placeholders in order: every value
    // that comes from a row, a file or the user goes this way, never into the statement's text.
    bool execute(const QString& statement, const QVariantList& values, Recordset& into);
    bool execute(const QString& statement, const QVariantList& values);

    // Every holder still reading reads its remaining rows into memory and ends its statement.
    // Such a read keeps the connection on the file as it was: once another program has written,
    // a write of this connection fails at once (SQLite's busy snapshot) until the read ends.
    // False when no holder was reading.
    bool releaseHeldReads();

    QString lastError() const;
    // Whether the last failed statement failed because another program's write held the catalog
    // for the whole wait (or a conflict with one outlasted it): worth trying again later.
    bool lastFailureWasBusy() const;
    // How long each statement waits for another program's write before failing as busy: `ms`,
    // or the usual wait (5 s) when `ms` is negative. False when it could not be set.
    bool setBusyWait(int ms);
    // Listens for notices on `channel` of a server catalog, on this session and on every one
    // made again after the server ended one (ServerSession). False for a file or a refusal.
    bool subscribe(const QString& channel);
    // Called with a sentence for the status bar each time the server ended the session and a
    // new one was made.
    void setReconnectNotice(std::function<void(const QString&)> notice);
    // Sets lastError() for a failure found outside execute() (a statement run on handle()).
    void setLastError(const QString& why);
    // The catalog file currently open, or the server address as sentences show it; "" when
    // closed.
    QString fileName() const;
    // The engine of the open catalog (SQLite when closed).
    CatalogEngine engine() const;
    // Why the open catalog is kept with a rollback journal rather than written ahead, as a
    // sentence for the status bar; "" when it is written ahead (or read-only).
    QString journalNote() const;
    // True when the file could only be opened for reading.
    bool isReadOnly() const;
    // The SQLite engine's handle, for custom functions and reads of many rows; null when closed
    // or open on a server.
    sqlite3* handle() const;
    // The Qt Sql connection name (unique per Connection object).
    QString qtConnectionName() const;

private:
    friend class Recordset;
    // A holder no longer runs a statement of this connection.
    void release(Recordset& holder);

    struct Impl;
    Impl* d;
};

// Statements of this scope wait at most `ms` for another program's write; the usual wait again
// after it.
class BriefBusyWait {
public:
    BriefBusyWait(Connection& connection, int ms) : connection_(connection) {
        connection_.setBusyWait(ms);
    }
    ~BriefBusyWait() { connection_.setBusyWait(-1); }
    BriefBusyWait(const BriefBusyWait&) = delete;
    BriefBusyWait& operator=(const BriefBusyWait&) = delete;

private:
    Connection& connection_;
};

// The catalog of a running program. Each routine of the catalog runs its statements into result
// holders of its own, so no rows outlive the routine that read them.
struct Catalog {
    Connection connection;
};

} // namespace tarl
