#pragma once

#include "text/Result.h"

#include <QString>

namespace tarl {

// Where a catalog is. `[Database] Path=` holds either a catalog file on this machine or the
// address of a database on a PostgreSQL server, a URI
//
//     postgresql://USER@HOST:PORT/DATABASE[?KEY=VALUE&...]
//
// ("postgres://" too). A password is never part of it: the server's client library reads it
// from the user's ~/.pgpass or the PGPASSWORD environment, so the settings file holds none. The
// keys after "?" are the client library's connection keywords (sslmode, connect_timeout, ...).

// Whether `text` is a server address rather than a file name.
bool IsServerAddress(const QString& text);

struct ServerAddress {
    QString user; // "" for the client library's default (the login name)
    QString host; // "" for the local socket
    int port = 5432;
    QString database;
    // Connection keywords for the client library, "key=value" pairs separated by ";".
    QString options;
    // The address as a sentence shows it.
    QString shown;
};

// The parts of a server address; failed, with a sentence, for one that cannot be used: no
// database, a password in it, a port or keyword that is not one.
Result<ServerAddress> ParseServerAddress(const QString& text);

// Why a copy, restore or check of whole files cannot be made of the catalog at `address`: its
// server keeps it, and the server's own tools copy and check it.
QString ServerCatalogIsNotAFile(const QString& address);

} // namespace tarl
