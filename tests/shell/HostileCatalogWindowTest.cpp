#include "MainFixture.h"

#include "browserui/LibraryBrowser.h"
#include "catalog/RawSqlite.h"

#include <gtest/gtest.h>

// The main window on a catalog another program wrote badly: it opens and shows both trees.
namespace tarl {
namespace {

using HostileCatalogWindow = test::MainFixture;

TEST_F(HostileCatalogWindow, OpensAndShowsBothTrees) {
    const QString file = newCatalog();
    {
        test::RawSqlite raw(file);
        ASSERT_EQ(
            raw.exec({
                "INSERT INTO CD VALUES (1,'/m/',1,'EOF','0',NULL)",
                "INSERT INTO CD VALUES (NULL,NULL,NULL,NULL,NULL,NULL)",
                "INSERT INTO CD VALUES (-5,CAST(X'2F6DFF80C0AF2F' AS TEXT),'x','EOF','yes',NULL)",
                "INSERT INTO M3u VALUES (1,'/m/','a.m3u',1,1,1)",
                "INSERT INTO M3u VALUES (9223372036854775807,'/m/',hex(zeroblob(500000)),'one',"
                "'x',-9223372036854775808)",
                "INSERT INTO M3u VALUES (3,'/gone/','b.m3u',42,1,2)",
                "INSERT INTO Mp3 VALUES "
                "(1,'a.mp3','/m/',1,'t','a','b','y','g','c','big','long','r')",
                "INSERT INTO Mp3 VALUES (2,NULL,NULL,77,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,"
                "NULL)",
                "INSERT INTO Nick VALUES (1,'Rock')",
                "INSERT INTO Nick VALUES (2,'rock')",
                "INSERT INTO Nick VALUES (3,NULL)",
                "ALTER TABLE Mp3 ADD COLUMN extra TEXT",
                "CREATE INDEX extra_name ON CD (name DESC)",
            }),
            "");
    }
    writeIni("[Database]\nPath=" + file.toUtf8() + "\n");
    Main& w = start();
    w.Form_Load();
    w.show();
    ASSERT_EQ(state->catalog.connection.state(), 1);
    EXPECT_TRUE(w.browser->tree().NodeExists("/m/"));
    EXPECT_TRUE(w.browser->tree_style_load());
    EXPECT_TRUE(w.browser->tree().NodeExists("Unsorted"));
    EXPECT_TRUE(w.browser->tree().NodeExists("Rock"));
}

} // namespace
} // namespace tarl
