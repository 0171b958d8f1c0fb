#pragma once

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QUrl>

#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace tarl::test {

// The PostgreSQL server of the pg tests. `TARL_TEST_PG` holds its URI,
// postgresql://USER@HOST:PORT/DATABASE (scripts/test starts a throw-away cluster and sets it;
// by hand: scripts/pg-cluster). Unset, the pg tests skip. Each test works in a database of its
// own (PgTestDatabase), so tests of several processes share one server.

inline std::optional<QString> TestPgUri() {
    const QString uri = qEnvironmentVariable("TARL_TEST_PG");
    if (uri.isEmpty())
        return std::nullopt;
    return uri;
}

// The database of `uri` on a connection of this name, not yet opened: user, password, host,
// port and database (the path without its "/") read from the URI.
inline QSqlDatabase AddPgConnection(const QString& uri, const QString& connectionName) {
    const QUrl url(uri);
    QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", connectionName);
    db.setUserName(url.userName());
    db.setPassword(url.password());
    db.setHostName(url.host());
    db.setPort(url.port(5432));
    db.setDatabaseName(url.path().mid(1));
    return db;
}

// One open QPSQL connection under a name no other connection of the process has; closed and
// removed from Qt's list of connections on destruction.
class PgConnection {
public:
    explicit PgConnection(const QString& uri)
        : name_(QStringLiteral("tarl-pg-%1").arg(++counter_)), db_(AddPgConnection(uri, name_)) {
        if (!db_.open())
            error_ = db_.lastError().text();
    }
    ~PgConnection() {
        db_.close();
        db_ = QSqlDatabase(); // the last handle must go before the name is removed
        QSqlDatabase::removeDatabase(name_);
    }
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    bool isOpen() const { return db_.isOpen(); }
    // Why the connection did not open; empty when it did.
    const QString& error() const { return error_; }
    QSqlDatabase& db() { return db_; }

private:
    static inline std::atomic<int> counter_{0};
    QString name_;
    QSqlDatabase db_;
    QString error_;
};

// A fresh, empty database tarl_test_<pid>_<n> on the server of `serverUri`, made through its
// `postgres` database and dropped on destruction, even with connections still open to it.
// The process id in the name keeps tests run in parallel by ctest apart.
class PgTestDatabase {
public:
    explicit PgTestDatabase(const QString& serverUri)
        : name_(QStringLiteral("tarl_test_%1_%2")
                    .arg(QCoreApplication::applicationPid())
                    .arg(++counter_)),
          admin_(withDatabase(serverUri, "postgres")) {
        if (!admin_.isOpen()) {
            error_ = admin_.error();
            return;
        }
        QSqlQuery create(admin_.db());
        if (!create.exec(QStringLiteral("CREATE DATABASE %1").arg(name_))) {
            error_ = create.lastError().text();
            return;
        }
        uri_ = withDatabase(serverUri, name_);
    }
    ~PgTestDatabase() {
        if (uri_.isEmpty())
            return;
        QSqlQuery drop(admin_.db());
        drop.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name_));
    }
    PgTestDatabase(const PgTestDatabase&) = delete;
    PgTestDatabase& operator=(const PgTestDatabase&) = delete;

    // The new database's URI; empty when it could not be made (see error()).
    const QString& uri() const { return uri_; }
    const QString& error() const { return error_; }

private:
    static QString withDatabase(const QString& uri, const QString& database) {
        QUrl url(uri);
        url.setPath("/" + database);
        return url.toString();
    }

    static inline std::atomic<int> counter_{0};
    QString name_;
    PgConnection admin_;
    QString uri_;
    QString error_;
};

// A fixture whose every test gets a fresh database on the server of TARL_TEST_PG, and skips
// without one.
class PgDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::optional<QString> server = TestPgUri();
        if (!server)
            GTEST_SKIP() << "TARL_TEST_PG is not set (scripts/pg-cluster starts a server)";
        database = std::make_unique<PgTestDatabase>(*server);
        ASSERT_FALSE(database->uri().isEmpty()) << database->error().toStdString();
    }

    std::unique_ptr<PgTestDatabase> database;
};

} // namespace tarl::test
