#include "catalog/engine/ServerCatalog.h"

#include "catalog/engine/BoundQuery.h"

#include "catalog/engine/Schema.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QVariant>
#include <atomic>

namespace tarl {

namespace {

bool Says(const QString& message, const char* words) {
    return message.contains(QLatin1String(words), Qt::CaseInsensitive);
}

// Why the server did not let the session in, as a sentence naming the address.
QString DescribeConnectFailure(const ServerAddress& address, const QString& message) {
    const QString& where = address.shown;
    if (Says(message, "does not exist") && Says(message, "database"))
        return QStringLiteral("The catalog %1 does not exist: the server has no such database "
                              "(%2). Create the database, then the catalog in it with "
                              "\"tarl-catalog new %1\".")
            .arg(where, message);
    if (Says(message, "password") || Says(message, "authentication") ||
        Says(message, "pg_hba.conf") || (Says(message, "role") && Says(message, "does not exist")))
        return QStringLiteral("The catalog server of %1 refused the login: %2. A password goes "
                              "in ~/.pgpass or the PGPASSWORD environment, never in Tarl's "
                              "settings.")
            .arg(where, message);
    return QStringLiteral("The catalog server of %1 cannot be reached: %2.").arg(where, message);
}

// A connection of its own for the length of one piece of work, removed from Qt's list after.
class ScopedServerConnection {
public:
    ScopedServerConnection()
        : name_(QStringLiteral("tarl-server-work-%1").arg(++counter_)),
          db_(QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name_)) {}
    ~ScopedServerConnection() {
        db_.close();
        db_ = QSqlDatabase(); // the last handle goes before the name is removed
        QSqlDatabase::removeDatabase(name_);
    }
    ScopedServerConnection(const ScopedServerConnection&) = delete;
    ScopedServerConnection& operator=(const ScopedServerConnection&) = delete;
    QSqlDatabase& db() { return db_; }

private:
    static inline std::atomic<int> counter_{0};
    QString name_;
    QSqlDatabase db_;
};

Result<> Refused(const ServerAddress& address, const QString& why) {
    return Result<>::failed(
        QStringLiteral("The catalog %1 cannot be created: %2.").arg(address.shown, why));
}

} // namespace

Result<> CreateServerCatalog(const ServerAddress& address) {
    ScopedServerConnection connection;
    QSqlDatabase& db = connection.db();
    if (!db.isValid())
        return Refused(address, QStringLiteral("the PostgreSQL driver of Qt Sql (QPSQL) is not "
                                               "installed"));
    if (const Result<> opened = OpenServerDatabase(db, address); !opened)
        return Result<>::failed(opened.error);
    const Result<QStringList> tables = ServerTableNames(db);
    if (!tables)
        return Refused(address, tables.error);
    for (const QString& name : Schema::TableNames()) {
        if (tables.value.contains(name.toLower()))
            return Refused(address, QStringLiteral("the database already has a table %1; a new "
                                                   "catalog needs an empty database")
                                        .arg(name));
    }
    // The server runs table definitions in a transaction too: a failure leaves nothing behind.
    if (!db.transaction())
        return Refused(address, ServerMessage(db.lastError()));
    QSqlQuery query(db);
    for (const QString& statement : Schema::ServerStatements()) {
        if (query.exec(statement))
            continue;
        const QString why = ServerMessage(query.lastError());
        db.rollback();
        return Refused(address, why);
    }
    if (!db.commit())
        return Refused(address, ServerMessage(db.lastError()));
    return {};
}

QString ServerMessage(const QSqlError& error) {
    QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    // The client library writes "FATAL:  " or "ERROR:  " before the words, and lines of advice
    // or of the statement's text after them.
    for (const char* prefix : {"FATAL:", "ERROR:"}) {
        const qsizetype at = text.indexOf(QLatin1String(prefix));
        if (at >= 0)
            text = text.mid(at + qsizetype(qstrlen(prefix)));
    }
    text = text.trimmed();
    text = text.left(text.indexOf(u'\n'))
               .simplified()
               .remove(QRegularExpression(QStringLiteral("[.]$")));
    // A failure the server sent no words for (the session gone before it could answer) still
    // says something.
    if (text.isEmpty())
        text = error.driverText().trimmed();
    return text.isEmpty() ? QStringLiteral("the server gave no reason") : text;
}

Result<> OpenServerDatabase(QSqlDatabase& db, const ServerAddress& address) {
    if (!address.user.isEmpty())
        db.setUserName(address.user);
    if (!address.host.isEmpty())
        db.setHostName(address.host);
    db.setPort(address.port);
    db.setDatabaseName(address.database);
    // Without a timeout of its own, a connection to a host that does not answer waits for minutes.
    // Every literal is quoted by doubling its quotes alone, so a backslash must be a character
    // from the session's first statement on (the driver reads the setting as it connects).
    QStringList options{QStringLiteral("connect_timeout=10"),
                        QStringLiteral("application_name=tarl")};
    QString serverOptions = QStringLiteral("--standard_conforming_strings=on");
    for (const QString& option : address.options.split(u';', Qt::SkipEmptyParts)) {
        if (option.startsWith(QLatin1String("options=")))
            serverOptions += u' ' + option.mid(8);
        else
            options << option;
    }
    options << QStringLiteral("options='%1'").arg(serverOptions);
    db.setConnectOptions(options.join(u';'));
    if (!db.open())
        return Result<>::failed(DescribeConnectFailure(address, ServerMessage(db.lastError())));
    QSqlQuery setup(db);
    // The session's path holds the catalog's schema alone. The server's own catalog, left out of
    // a path, is searched before it (and new tables still go to the catalog's schema), so names
    // the statements leave unqualified (operators, functions) are found there first whatever
    // path the database's owner set for new sessions, and no schema another role made on the
    // default path ("$user") is ever searched.
    const QString pinPath =
        QStringLiteral("SELECT set_config('search_path', coalesce(quote_ident(current_schema()), "
                       "'public'), false)");
    for (const QString& statement :
         {QStringLiteral("SET client_encoding = 'UTF8'"),
          QStringLiteral("SET lock_timeout = %1").arg(kServerLockWaitMs), pinPath}) {
        if (!setup.exec(statement))
            return Result<>::failed(QStringLiteral("The catalog %1 cannot be used: %2.")
                                        .arg(address.shown, ServerMessage(setup.lastError())));
    }
    return {};
}

Result<QStringList> ServerTableNames(QSqlDatabase& db) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    // The server's own catalog lists every table, whatever this role may do with it (the
    // information schema shows only those it has a right on, and a role without grants would
    // see no catalog at all).
    if (!query.exec(QStringLiteral("SELECT c.relname FROM pg_catalog.pg_class c JOIN "
                                   "pg_catalog.pg_namespace n ON n.oid = c.relnamespace WHERE "
                                   "n.nspname = current_schema() AND c.relkind IN ('r', 'p')")))
        return Result<QStringList>::failed(ServerMessage(query.lastError()));
    QStringList names;
    while (query.next())
        names << query.value(0).toString().toLower();
    return names;
}

Result<QStringList> ServerTablesNotReadable(QSqlDatabase& db, const QStringList& tables) {
    QStringList refused;
    for (const QString& table : tables) {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        query.prepare(QStringLiteral("SELECT has_table_privilege(?::regclass, 'SELECT')"));
        query.addBindValue(table.toLower());
        if (!query.exec() || !query.next())
            return Result<QStringList>::failed(ServerMessage(query.lastError()));
        if (!query.value(0).toBool())
            refused << table;
    }
    return refused;
}

Result<bool> ServerAllowsWrites(QSqlDatabase& db) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT has_table_privilege('mp3', 'INSERT') AND "
                                   "current_setting('transaction_read_only') = 'off'")) ||
        !query.next())
        return Result<bool>::failed(ServerMessage(query.lastError()));
    return {query.value(0).toBool()};
}

bool ExecOnServer(QSqlQuery& query, const QString& statement, const QVariantList& values,
                  bool inTransaction) {
    constexpr int kAttempts = 4;
    for (int attempt = 1;; ++attempt) {
        if (RunBound(query, statement, values))
            return true;
        const bool deadlock = query.lastError().nativeErrorCode() == QLatin1String("40P01");
        if (!deadlock || inTransaction || attempt == kAttempts)
            return false;
        // The other side goes on once this one gave way; a short pause lets it finish.
        QThread::msleep(20 * attempt);
    }
}

QString StatementWord(const QString& statement) {
    return statement.trimmed().section(u' ', 0, 0).toUpper();
}

bool InTransactionAfter(const QString& statement, bool before) {
    const QString word = StatementWord(statement);
    if (word == QLatin1String("BEGIN") || word == QLatin1String("START"))
        return true;
    if (word == QLatin1String("COMMIT") || word == QLatin1String("END"))
        return false;
    if (word == QLatin1String("ROLLBACK")) // ROLLBACK TO a savepoint stays inside
        return before && statement.simplified().toUpper().startsWith(QLatin1String("ROLLBACK TO"));
    return before;
}

} // namespace tarl
