#include "catalog/engine/Connection.h"

#include "RawSqlite.h"
#include "catalog/engine/CatalogFile.h"
#include "catalog/engine/Recordset.h"
#include "catalog/engine/Schema.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <functional>
#include <gtest/gtest.h>

namespace tarl {
namespace {

// Every file of the folder with its bytes, to see that a failed open changed nothing.
QMap<QString, QByteArray> Snapshot(const test::TempDir& temp) {
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        files[name] = temp.read(name);
    return files;
}

QString Value(Connection& connection, const QString& query) {
    Recordset rows;
    EXPECT_TRUE(connection.execute(query, rows)) << connection.lastError().toStdString();
    return rows.field(0).toString();
}

// An older catalog: the tables, no indexes, a rollback journal.
void MakeOlderCatalog(const QString& path, const QStringList& tables = Schema::TableStatements()) {
    ASSERT_EQ(test::RawSqlite(path).exec(tables + QStringList{"INSERT INTO Nick (nick) VALUES "
                                                              "('Rock')"}),
              "");
}

TEST(ConnectionTest, OpenFailsWithAReasonAndLeavesTheFileAlone) {
    const QStringList withoutNick = Schema::TableStatements().mid(0, 3);
    const struct {
        QString file;
        std::function<void(const test::TempDir&, const QString&)> make;
        QString reason;
    } cases[] = {
        {"cat.mdb", [](auto&, auto&) {}, "does not exist."},
        {"no/such/cat.mdb", [](auto&, auto&) {}, "does not exist."},
        {"cat.mdb", [](auto& temp, auto&) { temp.write("cat.mdb", "Dbq=text\r\n"); },
         "is not a Tarl catalog (it is not an SQLite database)."},
        {"cat.mdb", [](auto& temp, auto&) { temp.write("cat.mdb", {}); },
         "is not a Tarl catalog (it is empty)."},
        {"cat.mdb", [](auto& temp, auto&) { QDir().mkpath(temp.file("cat.mdb")); }, "is a folder"},
        {"cat.mdb",
         [](auto& temp, auto&) {
             temp.write("cat.mdb", QByteArray("SQLite format 3\0", 16) + QByteArray(4000, '\xff'));
         },
         "cat.mdb"},
        {"cat.mdb",
         [](auto&, auto& path) { test::RawSqlite(path).exec({"PRAGMA user_version=3"}); },
         "is not a Tarl catalog: it has no table CD."},
        {"cat.mdb", [&](auto&, auto& path) { test::RawSqlite(path).exec(withoutNick); },
         "has no table Nick."},
        {"cat.mdb",
         [&](auto&, auto& path) {
             test::RawSqlite(path).exec(withoutNick + QStringList{"CREATE VIEW Nick AS SELECT 1"});
         },
         "has no table Nick."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason.toStdString());
        test::TempDir temp;
        const QString path = temp.file(c.file);
        c.make(temp, path);
        const auto before = Snapshot(temp);

        Connection connection;
        EXPECT_FALSE(connection.open(path));
        EXPECT_EQ(connection.state(), 0);
        EXPECT_EQ(connection.handle(), nullptr);
        EXPECT_TRUE(connection.lastError().contains(path)) << connection.lastError().toStdString();
        EXPECT_TRUE(connection.lastError().contains(c.reason));
        EXPECT_EQ(Snapshot(temp), before);
        EXPECT_FALSE(connection.execute("SELECT 1"));
    }
}

TEST(ConnectionTest, OpensAnOlderCatalogAndAddsWhatIsMissing) {
    const QStringList otherCases = QStringList(Schema::TableStatements())
                                       .replaceInStrings("TABLE CD ", "TABLE cd ")
                                       .replaceInStrings("TABLE M3u ", "TABLE M3U ")
                                       .replaceInStrings("TABLE Nick ", "TABLE NICK ");
    for (const QStringList& tables : {Schema::TableStatements(), otherCases}) {
        test::TempDir temp;
        const QString path = temp.file("old.mdb");
        MakeOlderCatalog(path, tables);

        Connection connection;
        ASSERT_TRUE(connection.open(path)) << connection.lastError().toStdString();
        EXPECT_EQ(connection.state(), 1);
        EXPECT_FALSE(connection.isReadOnly());
        EXPECT_EQ(connection.fileName(), path);
        EXPECT_EQ(Value(connection, "SELECT nick FROM Nick"), "Rock");
        EXPECT_EQ(Value(connection, "PRAGMA journal_mode"), "wal");
        EXPECT_EQ(Value(connection, "PRAGMA synchronous"), "2");
        EXPECT_EQ(Value(connection, "PRAGMA busy_timeout"), "5000");
        EXPECT_EQ(Value(connection, "SELECT count(*) FROM sqlite_master WHERE type = 'index'"),
                  QString::number(Schema::IndexStatements().size()));
        EXPECT_FALSE(connection.open(path));
        connection.close();
        EXPECT_EQ(connection.state(), 0);
        EXPECT_EQ(connection.handle(), nullptr);
        ASSERT_TRUE(connection.open(path));
    }
}

TEST(ConnectionTest, ALockedCatalogFailsUntilTheLockIsGone) {
    const struct {
        bool wal;
        QStringList lock;
    } cases[] = {
        {false, {"BEGIN EXCLUSIVE"}},
        {true,
         {"PRAGMA locking_mode = EXCLUSIVE", "BEGIN", "INSERT INTO Nick (nick) VALUES ('x')"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.wal ? "write-ahead log" : "rollback journal");
        test::TempDir temp;
        const QString path = temp.file("tarl.mdb");
        if (c.wal)
            ASSERT_TRUE(CreateCatalog(path));
        else
            MakeOlderCatalog(path);
        Connection connection;
        {
            test::RawSqlite locker(path);
            ASSERT_EQ(locker.exec(c.lock), "");
            EXPECT_FALSE(connection.open(path));
            EXPECT_TRUE(
                connection.lastError().contains(" is busy: another program is writing to it"))
                << connection.lastError().toStdString();
        }
        EXPECT_TRUE(connection.open(path)) << connection.lastError().toStdString();
    }
}

// Makes the file read-only; false when this user may write it all the same (root).
bool MakeReadOnly(const QString& path) {
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    return !QFile(path).open(QIODevice::ReadWrite);
}

TEST(ConnectionTest, AReadOnlyCatalogOpensForReading) {
    for (const bool wal : {true, false}) {
        SCOPED_TRACE(wal ? "write-ahead log" : "rollback journal");
        test::TempDir temp;
        const QString path = temp.file("tarl.mdb");
        if (wal)
            ASSERT_TRUE(
                CreateCatalog(path) &&
                test::RawSqlite(path).exec({"INSERT INTO Nick (nick) VALUES ('Rock')"}).isEmpty());
        else
            MakeOlderCatalog(path);
        if (!MakeReadOnly(path))
            GTEST_SKIP() << "this user may write read-only files";
        const QByteArray before = temp.read("tarl.mdb");

        Connection connection;
        ASSERT_TRUE(connection.open(path)) << connection.lastError().toStdString();
        EXPECT_TRUE(connection.isReadOnly());
        EXPECT_EQ(Value(connection, "SELECT nick FROM Nick WHERE nick LIKE 'ROCK'"), "Rock");
        EXPECT_FALSE(connection.execute("INSERT INTO Nick (nick) VALUES ('Jazz')"));
        EXPECT_TRUE(connection.lastError().contains(path + " is read-only"))
            << connection.lastError().toStdString();
        connection.close();
        EXPECT_EQ(temp.read("tarl.mdb"), before);
    }
}

TEST(ConnectionTest, AReadOnlyCatalogThatCannotBeReadFailsWithTheReason) {
    // A write-ahead catalog needs its "-shm" companion; in a read-only folder without one,
    // SQLite cannot read it at all.
    test::TempDir temp;
    const QString folder = temp.file("ro");
    const QString path = folder + "/tarl.mdb";
    ASSERT_TRUE(QDir().mkpath(folder) && CreateCatalog(path));
    const auto readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
    QFile::setPermissions(folder, readOnly);
    const bool enforced = MakeReadOnly(path) && !QFile(folder + "/x").open(QIODevice::WriteOnly);
    Connection connection;
    const bool opened = enforced && connection.open(path);
    QFile::setPermissions(folder, readOnly | QFile::WriteOwner); // for the clean-up
    if (!enforced)
        GTEST_SKIP() << "this user may write read-only folders";
    EXPECT_FALSE(opened);
    EXPECT_TRUE(connection.lastError().contains(path + " is read-only"))
        << connection.lastError().toStdString();
}

} // namespace
} // namespace tarl
