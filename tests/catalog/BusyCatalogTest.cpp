// Every way a write of this program meets another program's lock ends in the same sentence.
#include "RawSqlite.h"
#include "catalog/ImportStatements.h"
#include "catalog/ImportTransaction.h"
#include "catalog/SearchIndex.h"
#include "catalog/engine/CatalogFile.h"
#include "catalog/engine/Connection.h"
#include "catalog/engine/Recordset.h"
#include "support/TempDir.h"

#include <functional>
#include <gtest/gtest.h>

namespace tarl {
namespace {

TEST(BusyCatalogTest, EveryWriteThatMeetsALockSaysTheCatalogIsBusy) {
    const struct {
        const char* name;
        // What the other program holds; a shared lock keeps only a rollback journal's commit out.
        QStringList lock;
        bool rollbackJournal;
        // The write; "" when it went through, else this program's sentence.
        std::function<QString(Catalog&)> write;
    } cases[] = {
        {"a statement",
         {"BEGIN IMMEDIATE"},
         false,
         [](Catalog& c) {
             return c.connection.execute("INSERT INTO Nick (nick) VALUES ('Rock')")
                        ? QString()
                        : c.connection.lastError();
         }},
        {"an import's batch",
         {"BEGIN IMMEDIATE"},
         false,
         [](Catalog& c) {
             ImportTransaction batch(c);
             return batch.begin() ? QString() : c.connection.lastError();
         }},
        {"an import's prepared insert",
         {"BEGIN IMMEDIATE"},
         false,
         [](Catalog& c) {
             ImportStatements statements(c.connection);
             const Result<> added = statements.insertVolume("/music/", 1, "EOF", nullptr);
             return added ? QString() : added.error;
         }},
        {"the search index",
         {"BEGIN IMMEDIATE"},
         false,
         [](Catalog& c) {
             const Result<> refreshed = RefreshSearchIndex(c);
             return refreshed ? QString() : refreshed.error;
         }},
        {"a commit",
         {"BEGIN", "SELECT COUNT(*) FROM Nick"},
         true,
         [](Catalog& c) {
             ImportTransaction batch(c);
             if (!batch.begin() || !c.connection.execute("INSERT INTO Nick (nick) VALUES ('Rock')"))
                 return QStringLiteral("refused before the commit: ") + c.connection.lastError();
             const QString why = batch.commit() ? QString() : c.connection.lastError();
             batch.rollback();
             return why;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir temp;
        const QString path = temp.file("tarl.mdb");
        ASSERT_TRUE(CreateCatalog(path));
        Catalog catalog;
        ASSERT_TRUE(catalog.connection.open(path));
        // The wait is the engine's; a short one keeps the test quick.
        ASSERT_TRUE(catalog.connection.execute("PRAGMA busy_timeout = 50"));
        if (c.rollbackJournal) {
            ASSERT_TRUE(catalog.connection.execute("PRAGMA journal_mode = DELETE"));
        }
        {
            test::RawSqlite other(path);
            ASSERT_EQ(other.exec(c.lock), "");
            EXPECT_EQ(c.write(catalog), "The catalog file " + path +
                                            " is busy: another program is writing to it; try "
                                            "again when it has finished.");
        }
        EXPECT_EQ(c.write(catalog), "");
    }
}

TEST(BusyCatalogTest, AHolderStillReadingGivesWayToAWriteAfterAnotherProgramWrote) {
    const struct {
        const char* name;
        std::function<QString(Catalog&)> write;
    } cases[] = {
        {"a statement",
         [](Catalog& c) {
             return c.connection.execute("INSERT INTO Nick (nick) VALUES ('Pop')")
                        ? QString()
                        : c.connection.lastError();
         }},
        {"an import's batch",
         [](Catalog& c) {
             ImportTransaction batch(c);
             return batch.begin() && batch.commit() ? QString() : c.connection.lastError();
         }},
        {"the search index",
         [](Catalog& c) {
             const Result<> refreshed = RefreshSearchIndex(c);
             return refreshed ? QString() : refreshed.error;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir temp;
        const QString path = temp.file("tarl.mdb");
        ASSERT_TRUE(CreateCatalog(path));
        test::RawSqlite other(path);
        ASSERT_EQ(other.exec({"INSERT INTO Nick (nick) VALUES ('Blues'), ('Folk'), ('Jazz')"}), "");
        Catalog catalog;
        ASSERT_TRUE(catalog.connection.open(path));
        Recordset rows;
        ASSERT_TRUE(catalog.connection.execute("SELECT nick FROM Nick ORDER BY nick", rows));
        ASSERT_EQ(other.exec({"INSERT INTO Nick (nick) VALUES ('Rock')"}), "");

        EXPECT_EQ(c.write(catalog), "");
        // The holder reads on as before, from memory.
        QStringList read;
        for (; !rows.eof(); rows.moveNext())
            read << rows.field(0).toString();
        EXPECT_EQ(read, QStringList({"Blues", "Folk", "Jazz"}));
    }
}

} // namespace
} // namespace tarl
