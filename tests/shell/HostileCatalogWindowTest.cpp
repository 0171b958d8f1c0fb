#include "MainFixture.h"
#include "support/WindowParts.h"

#include "browser/TrackListModel.h"
#include "browserui/LibraryBrowser.h"
#include "browserui/TrackListView.h"
#include "catalog/RawSqlite.h"

#include <QFile>
#include <gtest/gtest.h>

// The main window on a catalog another program wrote badly: it opens, shows both trees, lists
// and paints the tracks of every node, and writes nothing the user did not ask for.
namespace tarl {
namespace {

using HostileCatalogWindow = test::MainFixture;

QString DumpAll(const QString& file) {
    test::RawSqlite raw(file);
    return raw.dump("CD") + raw.dump("M3u") + raw.dump("Mp3") + raw.dump("Nick");
}

// Selects each node, lists its tracks and reads every cell as the list paints it.
int ListEveryNode(MainWindow& w, const std::vector<std::unique_ptr<TreeNode>>& nodes) {
    int listed = 0;
    for (const auto& node : nodes) {
        test::Part<LibraryBrowser>(w, "browser")->selectWithoutListing(node.get());
        test::Part<LibraryBrowser>(w, "browser")->FillTrackList();
        const QAbstractItemModel& model = *test::Part<LibraryBrowser>(w, "browser")->trackModel();
        for (int row = 0; row < model.rowCount(); ++row)
            for (int column = 0; column < model.columnCount(); ++column)
                (void)model.data(model.index(row, column)).toString();
        (void)test::Part<TrackListView>(w, "trackList")->grab();
        listed += 1 + ListEveryNode(w, node->children);
    }
    return listed;
}

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
                "INSERT INTO Mp3 VALUES (3,CAST(X'62FF2E6D7033' AS TEXT),'/m/',1,"
                "hex(zeroblob(5000000)),'a',NULL,-1,1e300,X'00FF',NULL,-7,NULL)",
                "INSERT INTO Nick VALUES (1,'Rock')",
                "INSERT INTO Nick VALUES (2,'rock')",
                "INSERT INTO Nick VALUES (3,NULL)",
                "ALTER TABLE Mp3 ADD COLUMN extra TEXT",
                "CREATE INDEX extra_name ON CD (name DESC)",
            }),
            "");
    }
    // The style view drops the lists of volumes that are gone, as it always has; nothing else
    // may change.
    const QString expected = file + ".expected";
    ASSERT_TRUE(QFile::copy(file, expected));
    ASSERT_EQ(test::RawSqlite(expected).exec({"DELETE FROM M3u WHERE cd_id = 42"}), "");
    const QString before = DumpAll(expected);
    writeIni("[Database]\nPath=" + file.toUtf8() + "\n");
    MainWindow& w = start();
    w.startUp();
    w.show();
    ASSERT_EQ(state->catalog.connection.state(), 1);
    EXPECT_TRUE(test::Part<LibraryBrowser>(w, "browser")->tree().NodeExists("/m/"));
    EXPECT_TRUE(test::Part<LibraryBrowser>(w, "browser")->showTreeByStyle());
    EXPECT_TRUE(test::Part<LibraryBrowser>(w, "browser")->tree().NodeExists("Unsorted"));
    EXPECT_TRUE(test::Part<LibraryBrowser>(w, "browser")->tree().NodeExists("Rock"));
    EXPECT_GT(ListEveryNode(w, test::Part<LibraryBrowser>(w, "browser")->tree().topLevel()), 3);
    ASSERT_TRUE(test::Part<LibraryBrowser>(w, "browser")->showTreeByPaths());
    EXPECT_GT(ListEveryNode(w, test::Part<LibraryBrowser>(w, "browser")->tree().topLevel()), 3);
    EXPECT_EQ(DumpAll(file), before);
}

} // namespace
} // namespace tarl
