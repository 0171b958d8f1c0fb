#include "catalog/RawSqlite.h"
#include "catalog/engine/CatalogFile.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

// Catalogs edited by hand or written by other programs, each run through every tarl-catalog
// verb as a process: none crashes or hangs, a failure is exit code 1 with a sentence, and the
// verbs that only read leave the file byte for byte as it was.
namespace tarl {
namespace {

using test::TempDir;

struct Hostile {
    const char* name;
    QStringList statements; // run on a fresh catalog
};

const QString Rows = QStringLiteral(
    "INSERT INTO CD VALUES (1,'/m/',1,'EOF','0',NULL);"
    "INSERT INTO M3u VALUES (1,'/m/','a.m3u',1,1,1);"
    "INSERT INTO Mp3 VALUES (1,'a.mp3','/m/',1,'t','ar','al','2001','g','c','10',61,'5');"
    "INSERT INTO Nick VALUES (1,'Rock')");

const Hostile Cases[] = {
    {"null_in_every_column",
     {"INSERT INTO CD VALUES (NULL,NULL,NULL,NULL,NULL,NULL)",
      "INSERT INTO M3u VALUES (NULL,NULL,NULL,NULL,NULL,NULL)",
      "INSERT INTO Mp3 VALUES (NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL)",
      "INSERT INTO Nick VALUES (NULL,NULL)", "INSERT INTO M3u VALUES (7,'/m/',NULL,NULL,1,NULL)"}},
    {"text_where_a_number_belongs",
     {"INSERT INTO CD VALUES (1,'/m/','many','EOF','yes','x')",
      "INSERT INTO M3u VALUES (1,'/m/','a.m3u','one','x','rock')",
      "INSERT INTO Mp3 VALUES (1,'a.mp3','/m/','first','t','a','b','y','g','c','big','long','r')",
      "INSERT INTO Nick VALUES (1,'Rock')"}},
    {"negative_and_huge_ids",
     {"INSERT INTO CD VALUES (-5,'/m/',1,'EOF','0',NULL)",
      "INSERT INTO CD VALUES (9223372036854775807,'/n/',1,'EOF','0',NULL)",
      "INSERT INTO M3u VALUES (-1,'/m/','a.m3u',-5,1,-7)",
      "INSERT INTO M3u VALUES (9223372036854775807,'/n/','b.m3u',9223372036854775807,1,"
      "-9223372036854775808)",
      "INSERT INTO Mp3 VALUES (-9,'a.mp3','/m/',-1,'t','a','b','y','g','c','1',-61,'5')",
      "INSERT INTO Mp3 VALUES (9223372036854775807,'b.mp3','/n/',9223372036854775807,'t','a','b',"
      "'y','g','c','1',9223372036854775807,'5')",
      "INSERT INTO Nick VALUES (-7,'Minus')"}},
    {"lists_of_missing_volumes", {Rows, "INSERT INTO M3u VALUES (2,'/gone/','b.m3u',42,1,1)"}},
    {"tracks_of_missing_lists",
     {Rows, "INSERT INTO Mp3 VALUES (2,'b.mp3','/m/',42,'t','a','b','y','g','c','1',1,'1')"}},
    {"ten_megabyte_strings",
     {Rows, "UPDATE Mp3 SET title = hex(zeroblob(5000000))",
      "INSERT INTO M3u VALUES (2,'/m/',hex(zeroblob(5000000)) || '.m3u',1,1,1)"}},
    {"invalid_utf8",
     {Rows, "UPDATE CD SET name = CAST(X'2F6DFF80C0AF2F' AS TEXT), label = CAST(X'FE' AS TEXT)",
      "UPDATE M3u SET path = CAST(X'2F6DFF80C0AF2F' AS TEXT), file = CAST(X'C3' AS TEXT)",
      "UPDATE Mp3 SET title = CAST(X'EDA080' AS TEXT), path = CAST(X'2F6DFF80C0AF2F' AS TEXT)",
      "UPDATE Nick SET nick = CAST(X'F4908080' AS TEXT)"}},
    {"styles_with_duplicate_names",
     {Rows, "INSERT INTO Nick VALUES (2,'rock')", "INSERT INTO Nick VALUES (3,'Rock')",
      "INSERT INTO M3u VALUES (2,'/m/','b.m3u',1,1,3)"}},
    {"an_extra_column",
     {Rows, "ALTER TABLE Mp3 ADD COLUMN extra TEXT DEFAULT 'x'", "ALTER TABLE CD ADD COLUMN more",
      "INSERT INTO CD VALUES (2,'/n/',1,'EOF','0',NULL,X'00')"}},
    {"an_extra_index",
     {"CREATE UNIQUE INDEX extra_file ON Mp3 (file)", "CREATE INDEX extra_name ON CD (name DESC)",
      Rows}},
};

struct Verb {
    QStringList arguments; // "$C" stands for the catalog, "$F" for an empty folder
    bool readsOnly;
};

const Verb Verbs[] = {
    {{"tree", "--by", "paths", "$C"}, true},
    {{"list", "$C", "/m/"}, true},
    {{"list", "--by", "styles", "$C", "Rock"}, true}, // a list of a missing volume stays
    {{"list", "$C", "/m/a.m3u"}, true},
    {{"search", "$C", "a."}, false}, // brings the search index up to date
    {{"search", "$C", "t", "--field", "Title"}, false},
    {{"tree", "--by", "styles", "$C"}, false}, // drops lists whose volume is gone
    {{"style", "add", "$C", "Jazz"}, false},
    {{"style", "rename", "$C", "Rock", "Pop"}, false},
    {{"file-list", "$C", "/m/a.m3u", "Rock"}, false},
    {{"style", "delete", "$C", "Rock"}, false},
    {{"delete-volume", "$C", "/m/"}, false},
    {{"import", "--catalog", "$C", "$F"}, false},
};

QByteArray Bytes(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class HostileCatalog : public ::testing::TestWithParam<Hostile> {};

TEST_P(HostileCatalog, EveryVerbEndsWithAnAnswer) {
    TempDir dir;
    const QString file = dir.file("tarl.mdb");
    ASSERT_TRUE(CreateCatalog(file));
    {
        test::RawSqlite raw(file);
        ASSERT_EQ(raw.exec(GetParam().statements), "");
    }
    const QString folder = dir.path() + "/empty";
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const Verb& verb : Verbs) {
        QStringList arguments = verb.arguments;
        arguments.replaceInStrings("$C", file).replaceInStrings("$F", folder);
        const QByteArray before = Bytes(file);
        QProcess p;
        p.start(QStringLiteral(TARL_CATALOG_TOOL), arguments);
        const bool ended = p.waitForFinished(60000);
        const std::string what = arguments.join(' ').toStdString();
        ASSERT_TRUE(ended) << what;
        p.kill();
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << what;
        const QString err = QString::fromUtf8(p.readAllStandardError());
        EXPECT_TRUE(p.exitCode() == 0 || p.exitCode() == 1) << what << ": " << err.toStdString();
        if (p.exitCode() == 1) {
            EXPECT_TRUE(err.startsWith("tarl-catalog ")) << what << ": " << err.toStdString();
        }
        if (verb.readsOnly) {
            EXPECT_TRUE(Bytes(file) == before) << what << " changed the catalog";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileCatalog, ::testing::ValuesIn(Cases),
                         [](const auto& p) { return std::string(p.param.name); });

} // namespace
} // namespace tarl
