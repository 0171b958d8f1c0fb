// Whole catalogs copied between a file and the test server (label pg).
#include "catalog/maintenance/CatalogCopy.h"

#include "RawSqlite.h"
#include "catalog/engine/CatalogFile.h"
#include "catalog/engine/Connection.h"
#include "catalog/engine/Recordset.h"
#include "support/PgServer.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

namespace tarl {
namespace {

const QStringList kTables{"CD", "M3u", "Mp3", "Nick"};

class PgCopy : public test::PgDatabaseTest {
protected:
    // A new catalog file filled by `statements`, as another program would write it.
    QString file(const QString& name, const QStringList& statements) {
        const QString path = temp.file(name);
        EXPECT_TRUE(CreateCatalog(path));
        EXPECT_EQ(test::RawSqlite(path).exec(statements), "");
        return path;
    }

    QVariant onServer(const QString& query) {
        Catalog catalog;
        EXPECT_TRUE(catalog.connection.open(database->uri()));
        Recordset rows;
        EXPECT_TRUE(catalog.connection.execute(query, rows))
            << catalog.connection.lastError().toStdString();
        return rows.field(0);
    }

    test::TempDir temp;
};

TEST_F(PgCopy, TwentyThousandTracksGoToTheServerAndBackUnchanged) {
    const QString from = file(
        "from.mdb",
        {"BEGIN",
         "INSERT INTO CD VALUES (1,'/m/',20,'EOF',0,NULL), (5,'/media/cd/',1,'Disc 7',1,'DISC7')",
         "INSERT INTO Nick VALUES (2,'Rock'), (9,'Jazz ''n'' Blues'), (12,'Gone')",
         "DELETE FROM Nick WHERE id = 12", // its id is never given again
         "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20) "
         "INSERT INTO M3u (path,file,cd_id,mp3s,nick) SELECT '/m/', 'l' || i || '/', 1, 0, "
         "CASE i % 3 WHEN 0 THEN 0 WHEN 1 THEN 2 ELSE 9 END FROM n",
         "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) "
         "INSERT INTO Mp3 (file,path,m3u_id,title,artist,album,year,genre,comments,size,time,"
         "rating) SELECT 'f' || i || '.mp3', '/m/l' || (i % 20 + 1) || '/', i % 20 + 1, "
         "'Tïtle ''' || i || ''' \\ ☃', CASE WHEN i % 7 = 0 THEN NULL ELSE 'Zoë' END, 'A', "
         "'1999', 'Rock', '', (i % 900) || 'K', CASE WHEN i % 5 = 0 THEN NULL ELSE i % 600 END, "
         "NULL FROM n",
         "DELETE FROM Mp3 WHERE id % 97 = 0", // ids with gaps keep their numbers
         "COMMIT"});
    const Result<CopyReport> there = CopyCatalog(from, database->uri(), false);
    ASSERT_TRUE(there) << there.error.toStdString();
    EXPECT_EQ(there.value.rows, 2 + 2 + 20 + 20000 - 20000 / 97);
    EXPECT_EQ(there.value.changes, QStringList());

    const QString back = temp.file("back.mdb");
    const Result<CopyReport> again = CopyCatalog(database->uri(), back, false);
    ASSERT_TRUE(again) << again.error.toStdString();
    test::RawSqlite original(from);
    test::RawSqlite copied(back);
    for (const QString& table : kTables)
        EXPECT_EQ(copied.dump(table), original.dump(table)) << table.toStdString();

    // The server's ids go on after the highest one the file ever gave.
    EXPECT_EQ(onServer("INSERT INTO Nick (nick) VALUES ('New') RETURNING id").toLongLong(), 13);
}

TEST_F(PgCopy, WhatAServerCannotHoldIsChangedAndSaidAndRowsAreReplacedOnlyWhenAsked) {
    const QString hostile = file(
        "hostile.mdb", {"INSERT INTO CD VALUES (1,'/m/','x','EOF',7,NULL)",
                        "INSERT INTO M3u VALUES (1,'/m/','a.m3u','one',0,2.0)",
                        "ALTER TABLE Mp3 ADD COLUMN extra TEXT",
                        "INSERT INTO Mp3 (id,file,path,m3u_id,title,artist,year,time) VALUES "
                        "(1,'a'||char(0)||'b','/m/',1,X'00FF',CAST(X'41C3' AS TEXT),1999,2.5)"});
    const Result<CopyReport> copied = CopyCatalog(hostile, database->uri(), false);
    ASSERT_TRUE(copied) << copied.error.toStdString();
    EXPECT_EQ(copied.value.changes.join('\n').toStdString(),
              QStringList({"Mp3.extra: a column Tarl does not know, not copied",
                           "CD.isCd: numbers other than 0 and 1 taken as 1 (1 values)",
                           "CD.m3us: values that are not whole numbers left empty (1 values)",
                           "M3u.cd_id: values that are not whole numbers left empty (1 values)",
                           "Mp3.artist: texts holding U+FFFD (bytes that were not UTF-8 are "
                           "copied as it) (1 values)",
                           "Mp3.file: texts cut at a NUL character (1 values)",
                           "Mp3.time: values that are not whole numbers left empty (1 values)",
                           "Mp3.title: bytes left empty (1 values)"})
                  .join('\n')
                  .toStdString());
    EXPECT_EQ(
        onServer("SELECT file || '|' || year || '|' || (SELECT nick FROM M3u) FROM Mp3").toString(),
        "a|1999|2");

    const QString other = file("other.mdb", {"INSERT INTO Nick VALUES (1,'Ska')"});
    const Result<CopyReport> refused = CopyCatalog(other, database->uri(), false);
    EXPECT_FALSE(refused);
    EXPECT_TRUE(refused.error.contains("already holds rows")) << refused.error.toStdString();
    EXPECT_EQ(onServer("SELECT COUNT(*) FROM Mp3").toInt(), 1);
    ASSERT_TRUE(CopyCatalog(other, database->uri(), true));
    EXPECT_EQ(
        onServer("SELECT string_agg(nick, ',') || (SELECT COUNT(*) FROM Mp3) FROM Nick").toString(),
        "Ska0");
}

// The test server's database named by another name of its host is still the source itself.
TEST_F(PgCopy, ACatalogIsNotCopiedOntoItselfUnderAnotherHostName) {
    ASSERT_TRUE(CreateCatalog(database->uri()));
    QUrl other(database->uri());
    if (other.host() != "127.0.0.1")
        GTEST_SKIP() << "the test server is not reached at 127.0.0.1";
    other.setHost("localhost");
    const Result<CopyReport> copied = CopyCatalog(database->uri(), other.toString(), true);
    EXPECT_FALSE(copied);
    EXPECT_EQ(copied.error, "The source and the destination are the same catalog.");
}

} // namespace
} // namespace tarl
