#pragma once

#include "text/Result.h"

#include <QString>

struct sqlite3;

namespace tarl {

// A catalog file opened on the engine alone, without Qt Sql, for the copies and checks that work
// on whole files (backups, restores, integrity checks). Closed when this goes.
//
// openExisting() never creates a file. It opens for writing when it may, so that a write-ahead
// log left beside the file by a crash is taken in, and for reading only when the file or its
// folder cannot be written; what the file holds is never changed either way. openForReading()
// never writes at all. create() makes a new file for a copy to be written into: never an
// existing one, and never through a link.
class EngineFile {
public:
    EngineFile() = default;
    ~EngineFile();
    EngineFile(const EngineFile&) = delete;
    EngineFile& operator=(const EngineFile&) = delete;

    Result<> openExisting(const QString& path);
    Result<> openForReading(const QString& path);
    Result<> create(const QString& path);
    // Takes the engine's exclusive lock on the open file and keeps it until close(), so that no
    // other connection, of this program or another, can read or write it meanwhile. Fails when
    // one has the file open: a written-ahead file is locked for reading by every connection to it
    // for as long as that connection is open (a file with a rollback journal only while one
    // reads or writes it).
    Result<> holdAlone();
    // Closes now; fails when the engine could not finish writing the file.
    Result<> close();
    // Runs one statement whose rows are not wanted; the engine's code and message on failure.
    int run(const char* statement, QString* why);

    sqlite3* handle() const { return db_; }
    const QString& path() const { return path_; }

private:
    Result<> open(const QString& path, const QString& mode, int flags);

    sqlite3* db_ = nullptr;
    QString path_;
};

// The engine's message for the last failure on `db`.
QString EngineMessage(sqlite3* db);

// The companion files SQLite may keep beside a catalog: its write-ahead log, its shared-memory
// index and its rollback journal.
QStringList CompanionFiles(const QString& path);

} // namespace tarl
