#pragma once

#include "catalog/Recordset.h"

#include <QString>

struct sqlite3;

namespace tarl {

// The catalog connection: one SQLite file, opened from a connection text.
// Opening never creates a file: a missing file, a file that is not SQLite, and an SQLite file
// without the tables CD, M3u, Mp3 and Nick all fail with a reason in lastError().
// The catalog is written ahead where the engine can; where it has no shared memory (a network
// share) it is opened with a rollback journal instead, and journalNote() says so.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // 0 closed, 1 open.
    int state() const;
    // Opens the file named by the text's "Dbq=" value. User and password are not used by the
    // engine; they are kept for the shape of the call.
    bool open(const QString& connectionText, const QString& user = {},
              const QString& password = {});
    void close();

    // Runs a statement; the rows replace what `into` held. False with lastError() on failure
    // (`into` is then empty).
    bool execute(const QString& statement, Recordset& into);
    // Runs a statement whose rows are not wanted.
    bool execute(const QString& statement);

    // Every holder still reading reads its remaining rows into memory and ends its statement.
    // Such a read keeps the connection on the file as it was: once another program has written,
    // a write of this connection fails at once (SQLite's busy snapshot) until the read ends.
    // False when no holder was reading.
    bool releaseHeldReads();

    QString lastError() const;
    // Sets lastError() for a failure found outside execute() (a statement run on handle()).
    void setLastError(const QString& why);
    // The catalog file currently open, "" when closed.
    QString fileName() const;
    // Why the open catalog is kept with a rollback journal rather than written ahead, as a
    // sentence for the status bar; "" when it is written ahead (or read-only).
    QString journalNote() const;
    // True when the file could only be opened for reading.
    bool isReadOnly() const;
    // The engine's handle, for custom functions; null when closed.
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

// The shared catalog of a running program: the connection and its three result holders.
struct Catalog {
    Connection connection;
    Recordset general; // most statements
    Recordset second;  // walks nested inside a walk of the general holder
    Recordset third;   // a few look-ups made while both others are being read
};

} // namespace tarl
