// A catalog where the engine has no shared memory (a network share) opens with a rollback journal.
#include "RawSqlite.h"
#include "catalog/engine/CatalogFile.h"
#include "catalog/engine/Connection.h"
#include "catalog/engine/Recordset.h"
#include "catalog/engine/Schema.h"
#include "support/NetworkShare.h"
#include "support/TempDir.h"

#include <functional>
#include <gtest/gtest.h>

namespace tarl {
namespace {

QString Value(Connection& connection, const QString& query) {
    Recordset rows;
    EXPECT_TRUE(connection.execute(query, rows)) << connection.lastError().toStdString();
    return rows.field(0).toString();
}

TEST(RollbackJournalTest, ACatalogWithoutSharedMemoryOpensWithARollbackJournalAndANote) {
    const struct {
        const char* name;
        std::function<void(const QString&)> make;
    } cases[] = {
        {"written ahead, as this program makes it",
         [](const QString& path) { ASSERT_TRUE(CreateCatalog(path)); }},
        {"with a rollback journal, as older programs made it",
         [](const QString& path) { test::RawSqlite(path).exec(Schema::TableStatements()); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir temp;
        const QString path = temp.file("tarl.mdb");
        c.make(path);
        {
            const test::NetworkShare share;
            for (int open = 1; open <= 2; ++open) {
                Connection connection;
                ASSERT_TRUE(connection.open(path)) << connection.lastError().toStdString();
                EXPECT_EQ(connection.journalNote(),
                          "The catalog file " + path +
                              " is on a file system where SQLite cannot share memory between "
                              "programs (a network share?): it is kept with a rollback journal, "
                              "so reading it waits while another program writes.");
                EXPECT_EQ(Value(connection, "PRAGMA journal_mode"), "delete");
                EXPECT_TRUE(connection.execute(
                    QStringLiteral("INSERT INTO Nick (nick) VALUES ('%1')").arg(open)))
                    << connection.lastError().toStdString();
            }
        }
        // Opened where shared memory works again, it is written ahead once more.
        Connection connection;
        ASSERT_TRUE(connection.open(path));
        EXPECT_EQ(connection.journalNote(), "");
        EXPECT_EQ(Value(connection, "PRAGMA journal_mode"), "wal");
        EXPECT_EQ(Value(connection, "PRAGMA integrity_check"), "ok");
        EXPECT_EQ(Value(connection, "SELECT group_concat(nick) FROM Nick"), "1,2");
    }
}

} // namespace
} // namespace tarl
