#include "catalog/ImportTransaction.h"

#include "catalog/Connection.h"

#include "RoutineFixture.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

using ImportTransactionTest = test::RoutineFixture;

TEST_F(ImportTransactionTest, CountsTheRowsOfTheThreeTables) {
    const Lookup<CatalogRowCounts> empty = CountCatalogRows(catalog);
    ASSERT_TRUE(empty.ok);
    EXPECT_EQ(empty.value.volumes + empty.value.lists + empty.value.tracks, 0);

    run("INSERT INTO CD (name,m3us,label,isCd) VALUES ('/music/',1,'EOF','0')");
    run("INSERT INTO M3u (path,file,cd_id,mp3s) VALUES ('/music/','rock/',1,0)");
    run("INSERT INTO Mp3 (path,file,m3u_id) VALUES ('/music/rock/','a.mp3',1)");
    run("INSERT INTO Mp3 (path,file,m3u_id) VALUES ('/music/rock/','b.mp3',1)");
    const Lookup<CatalogRowCounts> counts = CountCatalogRows(catalog);
    ASSERT_TRUE(counts.ok);
    EXPECT_EQ(counts.value.volumes, 1);
    EXPECT_EQ(counts.value.lists, 1);
    EXPECT_EQ(counts.value.tracks, 2);

    run("DROP TABLE Mp3");
    EXPECT_FALSE(CountCatalogRows(catalog).ok);
    EXPECT_FALSE(catalog.connection.lastError().isEmpty());
}

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
