#include "catalog/CatalogInsert.h"
#include "catalog/ImportStatements.h"
#include "catalog/ScanNodeValues.h"
#include "catalog/engine/CatalogFile.h"
#include "catalog/engine/Connection.h"
#include "catalog/engine/Recordset.h"
#include "support/FakeDrives.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "tags/TagFields.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

namespace tarl {
namespace {

using test::TempDir;

struct ToolRun {
    int code;
    QStringList lines;
    QString err;
};

ToolRun Tree(const QStringList& arguments) {
    QProcess p;
    p.start(QStringLiteral(TARL_CATALOG_TOOL), QStringList{"tree"} + arguments);
    p.waitForFinished(30000);
    QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return {p.exitCode(), lines, QString::fromUtf8(p.readAllStandardError())};
}

// A catalog filled as a user's scans and styles fill it, in a folder of its own ($T): two
// hard-disc volumes in one folder, a disc, a style with one list and a list whose volume is gone.
class TreeToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        t = dir.path();
        file = dir.file("tarl.mdb");
        const auto made = CreateCatalog(file);
        ASSERT_TRUE(made) << made.error.toStdString();
        ASSERT_TRUE(catalog.connection.open(file)) << catalog.connection.lastError().toStdString();
        drives.addDrive("/", DriveType::Fixed);

        const QString rock = t + "/music/rock/";
        const QString jazz = t + "/music/jazz/";
        const QString cd = QStringLiteral("/media/tarl-tree-test-cd/");
        QDir().mkpath(rock + "live");
        dir.write("music/rock/best.m3u", "#EXTM3U\n");
        QString label;
        ASSERT_TRUE(AddFolderVolume(catalog, rock, label));
        ASSERT_TRUE(AddFolderVolume(catalog, jazz, label));
        ASSERT_TRUE(
            catalog.connection.execute("INSERT INTO CD (name,m3us,label,isCd,labelcd) VALUES ('" +
                                       cd + "',2,'Disc 7','1','Disc7')"));
        {
            // Gone before the connection closes.
            ImportStatements statements(catalog.connection);
            TagFields tags;
            tags.title = "A";
            ASSERT_TRUE(AddPlaylistList({rock + "best.m3u", "best.m3u", rock}, 1, statements));
            ASSERT_TRUE(AddFolderTrack(drives, {rock + "live/a.mp3", "a.mp3", rock + "live/"}, tags,
                                       1, statements));
            ASSERT_TRUE(
                AddPlaylistList({jazz + "odd\tname.m3u", "odd\tname.m3u", jazz}, 2, statements));
            ASSERT_TRUE(AddPlaylistList({cd + "mix.m3u", "mix.m3u", cd}, 3, statements));
        }
        ASSERT_TRUE(AddStyle(catalog, "Rock"));
        ASSERT_TRUE(catalog.connection.execute("UPDATE M3u SET nick=1 WHERE file='best.m3u'"));
        ASSERT_TRUE(catalog.connection.execute("INSERT INTO M3u (path,file,cd_id,mp3s,nick) "
                                               "VALUES ('/gone/','lost.m3u',999,0,1)"));
        catalog.connection.close();
    }

    QStringList withT(QStringList lines) const { return lines.replaceInStrings("$T", t); }

    qint64 lists() {
        Connection c;
        EXPECT_TRUE(c.open(file)) << c.lastError().toStdString();
        Recordset rows;
        EXPECT_TRUE(c.execute("SELECT COUNT(*) FROM M3u", rows));
        return rows.field(0).toLongLong();
    }

    TempDir dir;
    QString t;
    QString file;
    Catalog catalog;
    test::FakeDrives drives;
};

TEST_F(TreeToolTest, PrintsTheTreeByPathsDepthFirst) {
    const QStringList expected = withT({
        "tarl.mdb\ttarl.mdb\tDb\t1",
        "  $T/music/ (0 lists)\t$T/music/\tCd\t4",
        "    rock (0 lists)\t$T/music/rock/\tCd\t4",
        "      best.m3u\t$T/music/rock/best.m3u\tM3uCd\t5",
        "      live/\t$T/music/rock/live/\tMp3Cd\t8",
        "    jazz (0 lists)\t$T/music/jazz/\tCd\t5",
        "      odd\\tname.m3u\t$T/music/jazz/odd\\tname.m3u\tM3uCd\t5",
        "  Disc 7 (2 lists)\tDisc 7\tCd\t7",
        "    mix.m3u\tDisc 7:>/media/tarl-tree-test-cd/mix.m3u\tM3uCd\t5",
    });
    for (const QStringList& arguments : {QStringList{file}, QStringList{"--by", "paths", file}}) {
        const ToolRun run = Tree(arguments);
        EXPECT_EQ(run.code, 0) << run.err.toStdString();
        EXPECT_EQ(run.lines, expected);
    }
    EXPECT_EQ(lists(), 5); // the path view changes nothing
}

TEST_F(TreeToolTest, PrintsTheTreeByStylesAndCleansUpAsTheWindowDoes) {
    const ToolRun run = Tree({"--by", "styles", file});
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(
        run.lines,
        withT({
            "Unsorted\tUnsorted\tUnsorted\t6",
            "  live/ ($T/music/rock/)\tEOF:>$T/music/rock/live/\tM3uNick\t4",
            "  odd\\tname.m3u ($T/music/jazz/)\tEOF:>$T/music/jazz/odd\\tname.m3u\tM3uNick\t5",
            "  mix.m3u (CD:Disc 7)\tDisc 7:>/media/tarl-tree-test-cd/mix.m3u\tM3uNick\t7",
            "tarl.mdb\ttarl.mdb\t\t1",
            "  Rock\tRock\tNick\t10",
            "    best.m3u ($T/music/rock/)\tEOF:>$T/music/rock/best.m3u\tM3uNick\t2",
        }));
    // The list of the volume that is gone left the catalog.
    EXPECT_EQ(lists(), 4);
}

TEST_F(TreeToolTest, AFailingBuildPrintsTheNodesSoFarAndTheReason) {
    // Another program holds the write lock past the tool's wait: the delete of the lists of a
    // missing volume fails.
    Connection other;
    ASSERT_TRUE(other.open(file));
    ASSERT_TRUE(other.execute("BEGIN IMMEDIATE"));
    const ToolRun run = Tree({"--by", "styles", file});
    ASSERT_TRUE(other.execute("ROLLBACK"));
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.err.contains("is busy")) << run.err.toStdString();
    EXPECT_EQ(run.lines,
              withT({
                  "Unsorted\tUnsorted\tUnsorted\t6",
                  "tarl.mdb\ttarl.mdb\t\t1",
                  "  Rock\tRock\tNick\t10",
                  "    best.m3u ($T/music/rock/)\tEOF:>$T/music/rock/best.m3u\tM3uNick\t2",
              }));
}

TEST(TreeTool, AMissingCatalogIsAnErrorAndNeverMade) {
    TempDir dir;
    const QString missing = dir.file("none.mdb");
    const ToolRun run = Tree({missing});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.lines.isEmpty());
    EXPECT_TRUE(run.err.contains(missing)) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(missing));
}

TEST(TreeTool, BadUsageExitsWithTwo) {
    for (const QStringList& arguments :
         {QStringList{}, QStringList{"a.mdb", "b.mdb"}, QStringList{"--by", "shelves", "a.mdb"},
          QStringList{"--by"}, QStringList{"--by", "paths"}}) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const ToolRun run = Tree(arguments);
        EXPECT_EQ(run.code, 2);
        EXPECT_TRUE(run.err.startsWith("Usage: tarl-catalog tree")) << run.err.toStdString();
    }
}

} // namespace
} // namespace tarl
