#include "catalog/ImportTransaction.h"

#include "catalog/engine/Connection.h"

#include "RoutineFixture.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

using ImportTransactionTest = test::RoutineFixture;

TEST_F(ImportTransactionTest, CommitsOrRollsBackOneBatch) {
    ImportTransaction transaction(catalog);
    ASSERT_TRUE(transaction.begin());
    EXPECT_TRUE(transaction.isOpen());
    run("INSERT INTO Nick (nick) VALUES ('Kept')");
    ASSERT_TRUE(transaction.commit());
    EXPECT_FALSE(transaction.isOpen());

    ASSERT_TRUE(transaction.begin());
    run("INSERT INTO Nick (nick) VALUES ('Undone')");
    transaction.rollback();
    EXPECT_FALSE(transaction.isOpen());
    transaction.rollback(); // nothing open: nothing to undo
    EXPECT_EQ(scalar("SELECT group_concat(nick) FROM Nick"), "Kept");

    // A batch cannot open inside another transaction on a file; the reason is the connection's.
    // (A server only warns.)
    if (catalog.connection.engine() == CatalogEngine::Postgres)
        return;
    run("BEGIN");
    EXPECT_FALSE(transaction.begin());
    EXPECT_FALSE(transaction.isOpen());
    EXPECT_FALSE(catalog.connection.lastError().isEmpty());
    run("ROLLBACK");
}

TEST_F(ImportTransactionTest, TheCacheIsLargerDuringAnImportAndGivenBackAfter) {
    run("PRAGMA cache_size = -3000");
    {
        ImportCacheSize cache(catalog);
        EXPECT_EQ(scalar("PRAGMA cache_size").toLongLong(), -65536);
        cache.restore();
        EXPECT_EQ(scalar("PRAGMA cache_size").toLongLong(), -3000);
        run("PRAGMA cache_size = -4000");
    } // given back once only
    EXPECT_EQ(scalar("PRAGMA cache_size").toLongLong(), -4000);
    { ImportCacheSize cache(catalog); }
    EXPECT_EQ(scalar("PRAGMA cache_size").toLongLong(), -4000);
}

} // namespace
} // namespace tarl
