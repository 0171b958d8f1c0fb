#include "catalog/engine/Connection.h"
#include "catalog/engine/Recordset.h"

#include "catalog/engine/BoundQuery.h"
#include "catalog/engine/CatalogAddress.h"
#include "catalog/engine/CatalogFileHead.h"
#include "catalog/engine/ForeignSchema.h"
#include "catalog/engine/Schema.h"
#include "catalog/engine/SearchIndexSchema.h"
#include "catalog/engine/ServerCatalog.h"
#include "catalog/engine/ServerSession.h"
#include "catalog/engine/SqliteUri.h"
#include "catalog/engine/StatementFailure.h"
#include "catalog/engine/UnicodeLike.h"
#include "catalog/engine/UnicodeNoCase.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <algorithm>
#include <atomic>
#include <optional>
#include <sqlite3.h>
#include <vector>

namespace tarl {

namespace {

// Long enough to wait out a batch of another program's import (its batches are committed at
// least every quarter of a second), short enough not to look hung.
constexpr int kBusyTimeoutMs = 5000;

std::atomic<int> connectionCount{0};

// The engine's primary result code (the driver reports extended codes).
int PrimaryCode(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xff) : -1;
}

// The kind of a failure: the SQLite driver reports the engine's extended code, the PostgreSQL
// driver the SQLSTATE.
FailureKind KindOf(CatalogEngine engine, const QSqlError& error) {
    if (engine == CatalogEngine::Postgres)
        return ServerFailureKind(error.nativeErrorCode());
    return SqliteFailureKind(PrimaryCode(error));
}

// The write met the file as another program left it, while a read of this connection still
// sees it as it was.
bool IsStaleView(const QSqlError& error) {
    return error.nativeErrorCode().toInt() == SQLITE_BUSY_SNAPSHOT;
}

QString EngineText(const QSqlError& error) {
    const QString text = error.databaseText();
    return text.isEmpty() ? error.text() : text;
}

QString Shorten(const QString& statement) {
    constexpr int kShown = 300;
    if (statement.size() <= kShown)
        return statement;
    return statement.left(kShown) + QStringLiteral("...");
}

// Why opening or preparing the file failed, in words for the user.
QString DescribeOpenError(const QString& path, const QSqlError& error) {
    const QString engine = EngineText(error);
    bool ok = false;
    const int extended = error.nativeErrorCode().toInt(&ok);
    if (const QString full = ok ? DescribeFullDiscOnOpen(extended, path) : QString();
        !full.isEmpty())
        return full;
    switch (PrimaryCode(error)) {
    case SQLITE_BUSY:
        return DescribeBusyCatalog(path);
    case SQLITE_LOCKED:
        return QStringLiteral("The catalog file %1 is locked by another program; close that "
                              "program or try again later.")
            .arg(path);
    case SQLITE_NOTADB:
        return QStringLiteral("The catalog file %1 is not a Tarl catalog (it is not an SQLite "
                              "database).")
            .arg(path);
    case SQLITE_READONLY:
        // Reading a write-ahead catalog needs its "-shm" and "-wal" companions beside it.
        return QStringLiteral("The catalog file %1 is read-only and cannot be read either: "
                              "SQLite cannot make its companion files %1-shm and %1-wal (%2).")
            .arg(path, engine);
    case SQLITE_CORRUPT:
        return QStringLiteral("The catalog file %1 is damaged: %2.").arg(path, engine);
    case SQLITE_CANTOPEN:
        return QStringLiteral("The catalog file %1 cannot be opened: %2.").arg(path, engine);
    default:
        return QStringLiteral("The catalog file %1 cannot be used: %2.").arg(path, engine);
    }
}

// The URI the catalog is opened with; `immutable` for a file on read-only media, which no one
// can change while it is read. TARL_CATALOG_VFS names another of the engine's VFSs for tests:
// "unix-dotfile" has no shared memory, as a file system on a network share.
QString OpenUri(const QString& path, bool immutable) {
    QString uri = immutable ? SqliteUri(path, QStringLiteral("ro")) + QStringLiteral("&immutable=1")
                            : SqliteUri(path, QStringLiteral("rw"));
    const QString vfs = qEnvironmentVariable("TARL_CATALOG_VFS");
    if (!vfs.isEmpty())
        uri += QStringLiteral("&vfs=") + QString::fromLatin1(QUrl::toPercentEncoding(vfs));
    return uri;
}

QString RollbackJournalNote(const QString& path) {
    return QStringLiteral("The catalog file %1 is on a file system where SQLite cannot share "
                          "memory between programs (a network share?): it is kept with a "
                          "rollback journal, so reading it waits while another program writes.")
        .arg(path);
}

} // namespace

struct Connection::Impl {
    QString name;
    CatalogEngine engine = CatalogEngine::Sqlite;
    QSqlDatabase db;
    bool added = false; // db is registered with Qt Sql under `name`
    bool open = false;
    bool readOnly = false;
    sqlite3* handle = nullptr;
    QString file;
    QString error;
    bool busy = false; // the last failure was another program's write outlasting the wait
    QString journalNote;
    // The file is read under an exclusive lock: written ahead, without shared memory.
    bool heldAlone = false;
    // A server session is inside a transaction begun by a statement of this connection.
    bool inTransaction = false;
    // The server session, made again when the server ends it.
    ServerSession session;
    // Holders with a statement of this connection still running.
    std::vector<Recordset*> holders;

    bool fail(const QString& why) {
        error = why;
        return false;
    }
    // Runs one statement whose rows are not wanted.
    bool run(const QString& statement, QSqlError* failure);
    // The first value a statement answers; none, with `failure`, when it failed.
    std::optional<QString> answer(const QString& statement, QSqlError* failure);
    bool readTables(const QString& path, QStringList& tables, QSqlError* failure);
    bool readAlone(const QString& path, QStringList& tables);
    bool leaveWriteAhead(const QString& path);
    bool chooseJournal(const QString& path);
    bool prepare(const QString& path);
    bool openFile(const QString& path, bool immutable);
    bool openServer(const QString& text);
    void drop();
};

bool Connection::Impl::run(const QString& statement, QSqlError* failure) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (query.exec(statement))
        return true;
    *failure = query.lastError();
    return false;
}

std::optional<QString> Connection::Impl::answer(const QString& statement, QSqlError* failure) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (query.exec(statement) && query.next())
        return query.value(0).toString();
    *failure = query.lastError();
    return std::nullopt;
}

// The names of the file's tables: its first read. `failure` holds the engine's answer when it
// failed.
bool Connection::Impl::readTables(const QString& path, QStringList& tables, QSqlError* failure) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"))) {
        while (query.next())
            tables << query.value(0).toString();
    }
    if (!query.lastError().isValid())
        return true;
    *failure = query.lastError();
    return fail(DescribeOpenError(path, *failure));
}

// A written-ahead file where the engine has no shared memory can only be read by a connection
// that holds it alone (the engine then keeps the log's index in its own memory). False, with the
// first reason kept, when the file stays unreadable.
bool Connection::Impl::readAlone(const QString& path, QStringList& tables) {
    const QString unreadable = error;
    QSqlError failure;
    tables.clear();
    if (!MarkedWriteAhead(handle) ||
        !run(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"), &failure) ||
        !readTables(path, tables, &failure))
        return fail(unreadable);
    error.clear();
    heldAlone = true;
    return true;
}

// Turns a file read alone into a rollback-journal file, then lets other programs in again (the
// exclusive lock goes with the next read).
bool Connection::Impl::leaveWriteAhead(const QString& path) {
    QSqlError failure;
    if (answer(QStringLiteral("PRAGMA journal_mode = DELETE"), &failure) !=
            QStringLiteral("delete") ||
        !run(QStringLiteral("PRAGMA locking_mode = NORMAL"), &failure))
        return fail(DescribeOpenError(path, failure));
    heldAlone = false;
    journalNote = RollbackJournalNote(path);
    return true;
}

// Writes ahead when the engine can (readers then never wait for a writer), else keeps a rollback
// journal with a note: on a network share SQLite has no shared memory, refuses the write-ahead
// log or answers the mode it keeps. A lock is the one failure that stops the open.
bool Connection::Impl::chooseJournal(const QString& path) {
    if (heldAlone)
        return leaveWriteAhead(path);
    QSqlError failure;
    const std::optional<QString> mode =
        answer(QStringLiteral("PRAGMA journal_mode = WAL"), &failure);
    if (mode == QStringLiteral("wal"))
        return true;
    if (!mode && PrimaryCode(failure) == SQLITE_BUSY)
        return fail(DescribeOpenError(path, failure));
    if (answer(QStringLiteral("PRAGMA journal_mode = DELETE"), &failure) !=
        QStringLiteral("delete"))
        return fail(DescribeOpenError(path, failure));
    journalNote = RollbackJournalNote(path);
    return true;
}

// Checks the tables, then sets the connection up. The file is changed only after the check.
bool Connection::Impl::prepare(const QString& path) {
    QSqlError failure;
    QStringList tables;
    // Without shared memory the engine cannot open a write-ahead file's log.
    if (!readTables(path, tables, &failure) &&
        (PrimaryCode(failure) != SQLITE_CANTOPEN || !readAlone(path, tables)))
        return false;
    for (const QString& wanted : Schema::TableNames()) {
        if (!tables.contains(wanted, Qt::CaseInsensitive))
            return fail(QStringLiteral("The catalog file %1 is not a Tarl catalog: it has no table "
                                       "%2.")
                            .arg(path, wanted));
    }
    const Result<QStringList> foreign = ForeignSchemaObjects(handle);
    if (!foreign)
        return fail(
            QStringLiteral("The catalog file %1 cannot be used: %2.").arg(path, foreign.error));
    if (!foreign.value.isEmpty())
        return fail(DescribeForeignSchema(path, foreign.value));

    readOnly = sqlite3_db_readonly(handle, "main") == 1;
    if (!run(QStringLiteral("PRAGMA busy_timeout = %1").arg(kBusyTimeoutMs), &failure) ||
        !run(QStringLiteral("PRAGMA synchronous = FULL"), &failure))
        return fail(DescribeOpenError(path, failure));
    // A read-only file keeps its journal mode: switching it would be a write.
    if (!readOnly && !chooseJournal(path))
        return false;

    Result<> installed = UnicodeLike::Install(handle);
    if (installed)
        installed = UnicodeNoCase::Install(handle);
    if (installed)
        installed = InstallFoldAccents(handle);
    if (!installed)
        return fail(
            QStringLiteral("The catalog file %1 cannot be used: %2.").arg(path, installed.error));

    if (readOnly)
        return true;
    // Catalogs made before an index existed get it now; the look-ups stay fast on large ones.
    for (const QString& statement : Schema::IndexStatements()) {
        if (!run(statement, &failure)) {
            if (PrimaryCode(failure) == SQLITE_BUSY || PrimaryCode(failure) == SQLITE_LOCKED)
                return fail(DescribeOpenError(path, failure));
            return fail(QStringLiteral("The catalog file %1 cannot be used: adding a look-up "
                                       "index failed: %2.")
                            .arg(path, EngineText(failure)));
        }
    }
    return true;
}

// Opens the file at `path` through Qt Sql and sets it up; dropped again, with the reason, when
// that fails.
bool Connection::Impl::openFile(const QString& path, bool immutable) {
    const auto failed = [this](const QString& why) {
        drop();
        return fail(why);
    };
    db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    added = true;
    if (!db.isValid())
        return failed(QStringLiteral("The SQLite driver of Qt Sql (QSQLITE) is not installed."));
    // mode=rw: a file removed since the check above is reported, never created empty.
    db.setDatabaseName(OpenUri(path, immutable));
    db.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!db.open())
        return failed(DescribeOpenError(path, db.lastError()));
    const QVariant driverHandle = db.driver()->handle();
    if (driverHandle.isValid() && qstrcmp(driverHandle.typeName(), "sqlite3*") == 0)
        handle = *static_cast<sqlite3* const*>(driverHandle.constData());
    if (!handle)
        return failed(QStringLiteral("The SQLite driver of Qt Sql gave no engine handle."));
    if (const Result<> guarded = GuardCatalogConnection(handle); !guarded)
        return failed(
            QStringLiteral("The catalog file %1 cannot be used: %2.").arg(path, guarded.error));
    if (const QString why = CheckHeader(path, handle); !why.isEmpty())
        return failed(why);
    if (!prepare(path)) {
        const QString reason = error;
        return failed(reason);
    }
    return true;
}

// The database at `text` on a PostgreSQL server: the same four tables, nothing changed on open
// (the look-up indexes and functions are made with the catalog).
bool Connection::Impl::openServer(const QString& text) {
    const Result<ServerAddress> address = ParseServerAddress(text);
    if (!address)
        return fail(address.error);
    db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    added = true;
    engine = CatalogEngine::Postgres;
    if (!db.isValid())
        return fail(QStringLiteral("The PostgreSQL driver of Qt Sql (QPSQL) is not installed; "
                                   "on Debian it is the package libqt6sql6-psql."));
    if (const Result<> opened = OpenServerDatabase(db, address.value); !opened)
        return fail(opened.error);
    const Result<QStringList> tables = ServerTableNames(db);
    if (!tables)
        return fail(QStringLiteral("The catalog %1 cannot be used: %2.")
                        .arg(address.value.shown, tables.error));
    for (const QString& wanted : Schema::TableNames()) {
        if (!tables.value.contains(wanted.toLower()))
            return fail(QStringLiteral("The catalog %1 is not a Tarl catalog: it has no table %2.")
                            .arg(address.value.shown, wanted));
    }
    const Result<QStringList> unreadable = ServerTablesNotReadable(db, Schema::TableNames());
    if (!unreadable)
        return fail(QStringLiteral("The catalog %1 cannot be used: %2.")
                        .arg(address.value.shown, unreadable.error));
    if (!unreadable.value.isEmpty())
        return fail(QStringLiteral("The catalog %1 cannot be used: permission denied on table %2; "
                                   "the database's owner grants this role the use of the "
                                   "catalog's tables (see \"A catalog shared by several machines\" "
                                   "in the README).")
                        .arg(address.value.shown, unreadable.value.join(QStringLiteral(", "))));
    const Result<bool> writable = ServerAllowsWrites(db);
    if (!writable)
        return fail(QStringLiteral("The catalog %1 cannot be used: %2.")
                        .arg(address.value.shown, writable.error));
    readOnly = !writable.value;
    file = address.value.shown;
    session.start(address.value);
    return true;
}

void Connection::Impl::drop() {
    open = false;
    engine = CatalogEngine::Sqlite;
    inTransaction = false;
    readOnly = false;
    handle = nullptr;
    file.clear();
    journalNote.clear();
    heldAlone = false;
    if (!added)
        return;
    db.close();
    // Qt Sql removes a connection cleanly only when no handle to it is left.
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
    added = false;
}

Connection::Connection() : d(new Impl) {
    d->name = QStringLiteral("tarl-catalog-%1").arg(++connectionCount);
}

Connection::~Connection() {
    close();
    delete d;
}

int Connection::state() const {
    return d->open ? 1 : 0;
}

bool Connection::open(const QString& address) {
    d->error.clear();
    if (d->open)
        return d->fail(QStringLiteral("The catalog is already open; close it first."));
    const QString& path = address;
    if (path.isEmpty())
        return d->fail(QStringLiteral("No catalog file is named."));
    if (IsServerAddress(path)) {
        if (!d->openServer(path)) {
            const QString reason = d->error;
            d->drop();
            return d->fail(reason);
        }
        d->open = true;
        return true;
    }
    const QString why = CheckFile(path);
    if (!why.isEmpty())
        return d->fail(why);
    if (!d->openFile(path, false)) {
        // A written-ahead file on read-only media has no log or shared memory beside it, and
        // none can be made: nothing can change it there, so it is read as it stands.
        const QString reason = d->error;
        if (!OnReadOnlyMedia(path) || !d->openFile(path, true))
            return d->fail(reason);
        d->journalNote = ReadOnlyMediaNote(path);
    }
    d->open = true;
    d->file = path;
    return true;
}

void Connection::close() {
    // Every statement must be finalised before the engine's connection can close.
    for (Recordset* holder : d->holders) {
        holder->owner_ = nullptr;
        holder->eof_ = true;
        holder->query_.reset();
        holder->names_.clear();
    }
    d->holders.clear();
    d->drop();
}

bool Connection::execute(const QString& statement, Recordset& into) {
    return execute(statement, {}, into);
}

bool Connection::execute(const QString& statement, const QVariantList& values, Recordset& into) {
    into.clear();
    d->error.clear();
    d->busy = false;
    if (!d->open)
        return d->fail(QStringLiteral("The catalog is not open."));
    auto query = std::make_unique<QSqlQuery>(d->db);
    // The server's driver reads a forward-only result row by row from the connection, and loses
    // it when another statement runs: its holders take every row at once instead.
    query->setForwardOnly(d->engine == CatalogEngine::Sqlite);
    const bool onServer = d->engine == CatalogEngine::Postgres;
    if (onServer && !d->session.beforeStatement(d->db, statement, d->inTransaction, &d->error))
        return false;
    const bool inTransaction = d->inTransaction;
    bool ran = onServer ? ExecOnServer(*query, statement, values, inTransaction)
                        : RunBound(*query, statement, values);
    if (!ran && !onServer && IsStaleView(query->lastError()) && releaseHeldReads())
        ran = RunBound(*query, statement, values);
    // The server ended the session under the statement (the driver closed it).
    if (!ran && onServer && !d->db.isOpen()) {
        d->inTransaction = false;
        if (!d->session.afterLoss(d->db, statement, inTransaction,
                                  ServerMessage(query->lastError()), &d->error))
            return false;
        query = std::make_unique<QSqlQuery>(d->db);
        ran = ExecOnServer(*query, statement, values, false);
    }
    if (onServer)
        d->inTransaction = InTransactionAfter(statement, d->inTransaction);
    if (!ran) {
        const QSqlError failure = query->lastError();
        const QString words =
            d->engine == CatalogEngine::Postgres ? ServerMessage(failure) : EngineText(failure);
        const FailureKind kind = KindOf(d->engine, failure);
        d->busy = kind == FailureKind::Busy;
        return d->fail(DescribeStatementFailure(kind, d->file, words, statement));
    }
    if (!query->isSelect())
        return true;
    const QSqlRecord record = query->record();
    for (int i = 0; i < record.count(); ++i)
        into.names_ << record.fieldName(i);
    if (!query->next()) {
        if (query->lastError().isValid())
            return d->fail(QStringLiteral("The catalog could not read rows: %1 (statement: %2).")
                               .arg(EngineText(query->lastError()), Shorten(statement)));
        return true;
    }
    into.query_ = std::move(query);
    into.eof_ = false;
    into.owner_ = this;
    d->holders.push_back(&into);
    return true;
}

bool Connection::releaseHeldReads() {
    if (d->holders.empty())
        return false;
    const std::vector<Recordset*> reading = std::move(d->holders);
    d->holders.clear();
    for (Recordset* holder : reading)
        holder->detach();
    return true;
}

bool Connection::lastFailureWasBusy() const {
    return !d->error.isEmpty() && d->busy;
}

bool Connection::setBusyWait(int ms) {
    if (!d->open)
        return false;
    if (d->engine == CatalogEngine::Postgres) {
        d->session.keepLockWait(ms < 0 ? kServerLockWaitMs : ms);
        QSqlQuery set(d->db);
        return set.exec(
            QStringLiteral("SET lock_timeout = %1").arg(ms < 0 ? kServerLockWaitMs : ms));
    }
    return sqlite3_busy_timeout(d->handle, ms < 0 ? kBusyTimeoutMs : ms) == SQLITE_OK;
}

bool Connection::subscribe(const QString& channel) {
    return d->open && d->engine == CatalogEngine::Postgres && d->session.subscribe(d->db, channel);
}

void Connection::setReconnectNotice(std::function<void(const QString&)> notice) {
    d->session.setReconnectNotice(std::move(notice));
}

void Connection::setLastError(const QString& why) {
    d->error = why;
}

bool Connection::execute(const QString& statement) {
    Recordset rows;
    return execute(statement, rows);
}

bool Connection::execute(const QString& statement, const QVariantList& values) {
    Recordset rows;
    return execute(statement, values, rows);
}

void Connection::release(Recordset& holder) {
    if (holder.query_ && holder.query_->lastError().isValid())
        d->error = QStringLiteral("The catalog could not read the next row: %1.")
                       .arg(EngineText(holder.query_->lastError()));
    d->holders.erase(std::remove(d->holders.begin(), d->holders.end(), &holder), d->holders.end());
}

QString Connection::lastError() const {
    return d->error;
}

QString Connection::journalNote() const {
    return d->journalNote;
}

QString Connection::fileName() const {
    return d->file;
}

CatalogEngine Connection::engine() const {
    return d->engine;
}

bool Connection::isReadOnly() const {
    return d->open && d->readOnly;
}

sqlite3* Connection::handle() const {
    return d->handle;
}

QString Connection::qtConnectionName() const {
    return d->name;
}

} // namespace tarl
