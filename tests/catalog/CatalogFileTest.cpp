#include "catalog/engine/CatalogFile.h"

#include "catalog/engine/Recordset.h"
#include "support/CatalogFixture.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace tarl {
namespace {

using CatalogFileTest = test::CatalogFixture;

TEST_F(CatalogFileTest, TablesHaveTheirColumnsInOrder) {
    const struct {
        QString table;
        QString columns;
    } cases[] = {
        {"CD", "id INTEGER,name TEXT,m3us INTEGER,label TEXT,isCd INTEGER,labelcd TEXT"},
        {"M3u", "id INTEGER,path TEXT,file TEXT,cd_id INTEGER,mp3s INTEGER,nick INTEGER 0"},
        {"Mp3", "id INTEGER,file TEXT,path TEXT,m3u_id INTEGER,title TEXT,artist TEXT,album TEXT,"
                "year TEXT,genre TEXT,comments TEXT,size TEXT,time INTEGER,rating TEXT"},
        {"Nick", "id INTEGER,nick TEXT"},
    };
    for (const auto& c : cases) {
        Recordset rows;
        ASSERT_TRUE(catalog.connection.execute("PRAGMA table_info(" + c.table + ")", rows));
        QStringList columns;
        for (; !rows.eof(); rows.moveNext())
            columns << QStringList{rows.field("name").toString(), rows.field("type").toString(),
                                   rows.field("dflt_value").toString()}
                           .join(" ")
                           .trimmed();
        EXPECT_EQ(columns.join(","), c.columns);
    }
}

TEST_F(CatalogFileTest, RowsTakeTheirDefaultsAndGeneratedIds) {
    run("INSERT INTO m3u (path,file,cd_id,mp3s) VALUES ('/music/','party.m3u','1','0')");
    EXPECT_EQ(scalar("SELECT nick FROM M3u"), QVariant(qlonglong(0)));

    run("INSERT INTO Mp3 (path,file,m3u_id) VALUES ('/music/','a.mp3','1')");
    run("INSERT INTO Mp3 (path,file,m3u_id) VALUES ('/music/','b.mp3','1')");
    Recordset track;
    ASSERT_TRUE(catalog.connection.execute("SELECT * FROM MP3 WHERE file = 'b.mp3'", track));
    ASSERT_EQ(track.fieldCount(), 13);
    EXPECT_EQ(track.field("id"), QVariant(qlonglong(2)));
    for (int position = 4; position <= 12; ++position)
        EXPECT_TRUE(track.field(position).isNull()) << "position " << position;

    // Ids are never given twice, also after the last row was deleted.
    run("DELETE FROM Mp3 WHERE id = 2");
    run("INSERT INTO Mp3 (path,file,m3u_id) VALUES ('/music/','c.mp3','1')");
    EXPECT_EQ(scalar("SELECT id FROM Mp3 WHERE file = 'c.mp3'"), QVariant(qlonglong(3)));
}

TEST_F(CatalogFileTest, QuotedNumbersAreNumbers) {
    run("INSERT INTO CD (name,m3us,label,isCd) VALUES ('/media/ann/DISC/','12','Disc 1','1')");
    run("INSERT INTO m3u (path,file,cd_id,mp3s) VALUES ('/media/ann/DISC/','.','1','0')");
    EXPECT_EQ(scalar("SELECT isCd FROM CD"), QVariant(qlonglong(1)));
    for (const QString query :
         {"SELECT id FROM CD WHERE id = '1'", "SELECT id FROM Cd WHERE (((CD.isCd)='1'))",
          "SELECT isCD FROM CD WHERE IsCd = 1", "SELECT id FROM m3u WHERE (((M3u.cd_id)='1' ))"})
        EXPECT_EQ(scalar(query), QVariant(qlonglong(1))) << query.toStdString();
}

TEST_F(CatalogFileTest, LookupsUseAnIndex) {
    for (const QString lookup : {
             "SELECT id From CD WHERE (((name)='/m/') AND ((label)='EOF'))",
             "SELECT id, name From CD WHERE (((CD.name)='/m/'))",
             "SELECT id,label From Cd WHERE ((label)='Disc' )",
             "SELECT id From nick WHERE (((nick.nick)='Rock'))",
             "SELECT id From m3u WHERE (((file)='a.m3u') AND ((path)='/m/'))",
             "SELECT id From m3u WHERE (((path)='/m/') AND ((file)='.') AND ((cd_id)=1))",
             "SELECT Cd_id,path,file From m3u WHERE ((cd_id)=1 )",
             "UPDATE M3u  SET nick = 0 WHERE (((M3u.nick)=3))",
             "SELECT id FROM Mp3 WHERE (((m3u_id)=1 ) AND ((path)='/m/') AND ((file)='a.mp3'))",
             "DELETE FROM Mp3 WHERE (((M3u_id)=1 ))",
         }) {
        Recordset plan;
        ASSERT_TRUE(catalog.connection.execute("EXPLAIN QUERY PLAN " + lookup, plan));
        EXPECT_TRUE(plan.field("detail").toString().startsWith("SEARCH"))
            << lookup.toStdString() << ": " << plan.field("detail").toString().toStdString();
    }
}

TEST(CatalogFileCreateTest, MakesAClosedFileInWalModeUnderAnyName) {
    // Names that mean something in an SQLite URI or a connection text must still name the file.
    for (const QString name :
         {"a b's.mdb", "odd #1 100%?mode=ro.mdb", "semi;DefaultDir=x.mdb", "ünï ☃.mdb"}) {
        test::TempDir temp;
        ASSERT_TRUE(CreateCatalog(temp.file(name)));
        const QByteArray header = temp.read(name).left(20);
        ASSERT_EQ(header.size(), 20) << name.toStdString();
        // The format's read and write versions are 2 in write-ahead-log mode.
        EXPECT_EQ(header.right(2), QByteArray("\2\2"));
        EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files), QStringList{name});

        Connection connection;
        ASSERT_TRUE(connection.open(temp.file(name)));
        EXPECT_TRUE(connection.execute("INSERT INTO nick (nick) VALUES ('Folk')"));
    }
}

TEST(CatalogFileCreateTest, RefusesWhatIsThere) {
    test::TempDir temp;
    const QString catalogFile = temp.file("old.mdb");
    ASSERT_TRUE(CreateCatalog(catalogFile));
    const QString dangling = temp.file("dangling.mdb");
    ASSERT_TRUE(QFile::link(temp.file("nowhere.mdb"), dangling));
    ASSERT_TRUE(QDir().mkpath(temp.file("folder.mdb")));

    for (const QString& path :
         {catalogFile, temp.write("empty.mdb", {}), temp.write("notes.mdb", "text\n"), dangling,
          temp.file("folder.mdb")}) {
        const QByteArray before = temp.read(QFileInfo(path).fileName());
        const Result<> made = CreateCatalog(path);
        EXPECT_FALSE(made);
        EXPECT_TRUE(made.error.contains("already exists")) << made.error.toStdString();
        EXPECT_EQ(temp.read(QFileInfo(path).fileName()), before);
    }
    EXPECT_FALSE(QFileInfo::exists(temp.file("nowhere.mdb")));

    const Result<> made = CreateCatalog(temp.file("no/such/folder/tarl.mdb"));
    EXPECT_FALSE(made);
    EXPECT_TRUE(made.error.contains("does not exist")) << made.error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(temp.file("no")));
}

} // namespace
} // namespace tarl
