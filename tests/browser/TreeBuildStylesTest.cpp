#include "TreeBuildFixture.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

class TreeBuildStylesTest : public test::TreeBuildFixture {
protected:
    void SetUp() override {
        TreeBuildFixture::SetUp();
        hd = t + "/music/";
        cd = t + "/cd/";
        drives.addDrive(cd, DriveType::CdRom, "MIX");
        hdId = hardDisc(hd, 3);
        cdId = disc(cd, 2, "Party Disc", "Mix");
    }

    QString hd, cd;
    qint64 hdId = 0, cdId = 0;
};

TEST_F(TreeBuildStylesTest, AnEmptyCatalogShowsUnsortedCollapsedThenTheExpandedRoot) {
    run("DELETE FROM CD");
    EXPECT_EQ(styleTree(), (QStringList{
                               "Unsorted | Unsorted | Unsorted | 6",
                               "tarl.mdb | tarl.mdb |  | 1",
                           }));
    ASSERT_EQ(tree.topLevel().size(), 2u);
    EXPECT_FALSE(tree.topLevel()[0]->expanded);
    EXPECT_TRUE(tree.topLevel()[1]->expanded);
}

TEST_F(TreeBuildStylesTest,
       ListsShowUnderTheirStyleOrUnsortedWithTheirVolumeAndWhetherTheyAreThere) {
    make(hd + "here.m3u");
    make(hd + "rock/");
    make(cd + "in.m3u");
    make(cd + "live/");
    const qint64 rock = style("Rock");
    const qint64 jazz = style("Jazz");
    // Inserted out of order: each style shows its lists in the catalog's order.
    list(cd, "out.m3u", cdId, jazz);
    list(hd, "rock/", hdId);
    list(hd, "here.m3u", hdId, rock);
    list(hd, "old.m3u", hdId);
    list(hd, "gone.m3u", hdId, rock);
    list(cd, "live/", cdId);
    list(cd, "in.m3u", cdId, rock);
    list(cd, "x.m3u", cdId);

    EXPECT_EQ(styleTree(),
              (QStringList{
                  "Unsorted | Unsorted | Unsorted | 6",
                  "  rock/ ($T/music/) | EOF:>$T/music/rock/ | M3uNick | 4",
                  "  old.m3u ($T/music/) | EOF:>$T/music/old.m3u | M3uNick | 5",
                  "  live/ (CD:Party Disc) | Party Disc:>$T/cd/live/ | M3uNick | 6",
                  "  x.m3u (CD:Party Disc) | Party Disc:>$T/cd/x.m3u | M3uNick | 7",
                  "tarl.mdb | tarl.mdb |  | 1",
                  "  Rock | Rock | Nick | 10",
                  "    here.m3u ($T/music/) | EOF:>$T/music/here.m3u | M3uNick | 2",
                  "    gone.m3u ($T/music/) | EOF:>$T/music/gone.m3u | M3uNick | 3",
                  "    in.m3u (CD:Party Disc) | Party Disc:>$T/cd/in.m3u | M3uNick | 6",
                  "  Jazz | Jazz | Nick | 10",
                  "    out.m3u (CD:Party Disc) | Party Disc:>$T/cd/out.m3u | M3uNick | 7",
              }));
}

TEST_F(TreeBuildStylesTest, ListsOfADeletedVolumeAreDeletedByTheStyledPassOnly) {
    const qint64 jazz = style("Jazz");
    const qint64 gone = list(t + "/gone/", "a.m3u", 999, jazz);
    list(hd, "b.m3u", hdId, jazz);
    list(t + "/gone/", "c.m3u", 999);       // unsorted, same missing volume
    list(t + "/other/", "d.m3u", 998);      // unsorted, another missing volume
    list(t + "/gone/", "e.m3u", 999, jazz); // deleted with the first one
    insert(QString("INSERT INTO Mp3 (path,file,m3u_id) VALUES ('/x/','t.mp3',%1)").arg(gone));

    EXPECT_EQ(styleTree(), (QStringList{
                               "Unsorted | Unsorted | Unsorted | 6",
                               "tarl.mdb | tarl.mdb |  | 1",
                               "  Jazz | Jazz | Nick | 10",
                               "    b.m3u ($T/music/) | EOF:>$T/music/b.m3u | M3uNick | 3",
                           }));
    // The unsorted list of a missing volume is passed over, not deleted; tracks stay.
    EXPECT_EQ(scalar("SELECT group_concat(file, ' ') FROM (SELECT file FROM M3u ORDER BY id) AS t"),
              "b.m3u d.m3u");
    EXPECT_EQ(count("Mp3"), 1);

    // Built again, the catalog is as the first build left it.
    styleTree();
    EXPECT_EQ(count("M3u"), 2);
}

TEST_F(TreeBuildStylesTest, AKeyTakenAlreadyLeavesTheLaterNodeWithoutKey) {
    const qint64 rock = style("Rock");
    const qint64 unsorted = style("Unsorted");
    list(hd, "a.m3u", hdId, rock);
    list(hd, "a.m3u", hdId, rock);
    list(hd, "b.m3u", hdId, unsorted);

    EXPECT_EQ(styleTree(), (QStringList{
                               "Unsorted | Unsorted | Unsorted | 6",
                               "tarl.mdb | tarl.mdb |  | 1",
                               "  Rock | Rock | Nick | 10",
                               "    a.m3u ($T/music/) | EOF:>$T/music/a.m3u | M3uNick | 3",
                               "    a.m3u ($T/music/) |  | M3uNick | 3",
                               "  Unsorted |  | Nick | 10",
                               "    b.m3u ($T/music/) | EOF:>$T/music/b.m3u | M3uNick | 3",
                           }));
    EXPECT_EQ(tree.FindNodeByKey("Unsorted"), tree.topLevel()[0].get());
}

TEST_F(TreeBuildStylesTest, AFailingStatementEndsTheBuildKeepingTheNodesSoFar) {
    const qint64 a = style("A");
    const qint64 b = style("B");
    const qint64 c = style("C");
    list(hd, "a.m3u", hdId, a);
    list(t + "/gone/", "b.m3u", 999, b);
    list(hd, "c.m3u", hdId, c);
    list(hd, "u.m3u", hdId);
    // The catalog refuses the clean-up of the missing volume's lists.
    run("CREATE TRIGGER keep BEFORE DELETE ON M3u BEGIN SELECT RAISE(ABORT, 'kept'); END");

    EXPECT_EQ(styleTree(false), (QStringList{
                                    "Unsorted | Unsorted | Unsorted | 6",
                                    "tarl.mdb | tarl.mdb |  | 1",
                                    "  A | A | Nick | 10",
                                    "    a.m3u ($T/music/) | EOF:>$T/music/a.m3u | M3uNick | 3",
                                    "  B | B | Nick | 10",
                                }));
    EXPECT_TRUE(lastError.contains("kept")) << lastError.toStdString();
    EXPECT_EQ(count("M3u"), 4);
}

TEST_F(TreeBuildStylesTest, AVolumeIdOfAnyShapeMatchesOnlyItsOwnRows) {
    // An id is bound as it is stored: one shaped as a statement finds no volume, and only its
    // own list goes with the volume that is missing; one that is empty finds none and stays.
    const qint64 rock = style("Rock");
    list(hd, "a.m3u", hdId, rock);
    run(QString("INSERT INTO M3u (path,file,cd_id,mp3s,nick) VALUES ('/x/','n.m3u',NULL,0,%1)")
            .arg(rock));
    // (A server's column takes whole numbers alone.)
    if (catalog.connection.engine() == CatalogEngine::Sqlite)
        run(QString("INSERT INTO M3u (path,file,cd_id,mp3s,nick) VALUES ('/x/','s.m3u',"
                    "'-1 OR \"path\" <> ''path''',0,%1)")
                .arg(rock));

    EXPECT_EQ(styleTree(), (QStringList{
                               "Unsorted | Unsorted | Unsorted | 6",
                               "tarl.mdb | tarl.mdb |  | 1",
                               "  Rock | Rock | Nick | 10",
                               "    a.m3u ($T/music/) | EOF:>$T/music/a.m3u | M3uNick | 3",
                           }));
    EXPECT_EQ(count("M3u"), 2);
}

TEST_F(TreeBuildStylesTest, AStyleTableThatCannotBeReadLeavesUnsortedAndTheRoot) {
    run("DROP TABLE Nick");
    EXPECT_EQ(styleTree(false), (QStringList{
                                    "Unsorted | Unsorted | Unsorted | 6",
                                    "tarl.mdb | tarl.mdb |  | 1",
                                }));
    EXPECT_FALSE(lastError.isEmpty());
}

} // namespace
} // namespace tarl
