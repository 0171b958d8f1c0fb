// Catalogs someone else wrote, through the built tarl-catalog: one row per kind of hostile input,
// what Tarl must not do with it, and the check that it did not.
#include "ToolRun.h"
#include "catalog/RawSqlite.h"
#include "catalog/engine/CatalogFile.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

using test::RunTool;

// The rows of a table, read as another program would.
int Count(const QString& catalog, const QString& table) {
    return static_cast<int>(test::RawSqlite(catalog).dump(table).count('\n'));
}

TEST(HostileInputs, ACatalogFromSomeoneElseRunsNoneOfItsOwnStatements) {
    const struct {
        const char* input;
        const char* statement; // what the sender put in the catalog
        const char* mustNot;   // what Tarl must not do with it
    } rows[] = {
        {"a volume id shaped as a statement",
         "UPDATE M3u SET nick = 1, cd_id = '-1 OR \"path\" <> ''path''' WHERE id = 1",
         "delete every list when the style view is built"},
        {"a trigger deleting each new track",
         "CREATE TRIGGER evil AFTER INSERT ON Mp3 BEGIN DELETE FROM Mp3; END",
         "run the trigger on an import"},
        {"a trigger under the search index's name, pointing tracks elsewhere",
         "CREATE TRIGGER SearchTrackInserted AFTER INSERT ON Mp3 BEGIN UPDATE Mp3 SET path = "
         "'/victim/' WHERE id = new.id; END",
         "run the trigger on an import"},
        {"a view", "CREATE VIEW Mp3Seen AS SELECT * FROM Mp3", "use the catalog as it is"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.input);
        test::TempDir temp;
        const QString catalog = temp.file("c.mdb");
        ASSERT_TRUE(CreateCatalog(catalog));
        for (const char* folder : {"rock", "jazz"})
            temp.write(QStringLiteral("music/%1/a.mp3").arg(folder), QByteArray(2048, '\0'));
        ASSERT_EQ(RunTool("import", {"--catalog", catalog, temp.file("music")}).code, 0);
        ASSERT_EQ(RunTool("style", {"add", catalog, "Rock"}).code, 0);
        ASSERT_EQ(test::RawSqlite(catalog).exec({row.statement}), "");
        const int lists = Count(catalog, "M3u");
        const int tracks = Count(catalog, "Mp3");

        const bool schema = QByteArray(row.statement).startsWith("CREATE");
        if (!schema) {
            EXPECT_EQ(RunTool("tree", {"--by", "styles", catalog}).code, 0) << row.mustNot;
            EXPECT_EQ(Count(catalog, "M3u"), lists - 1) << row.mustNot;
            continue;
        }
        temp.write("music/pop/b.mp3", QByteArray(2048, '\0'));
        const test::ToolRun refused = RunTool("import", {"--catalog", catalog, temp.file("music")});
        EXPECT_EQ(refused.code, 1) << row.mustNot;
        EXPECT_TRUE(refused.err.contains("holds what Tarl did not put there"))
            << refused.err.toStdString();
        EXPECT_EQ(Count(catalog, "Mp3"), tracks) << row.mustNot;
        EXPECT_EQ(RunTool("check", {catalog}).code, 1);
        const test::ToolRun stripped = RunTool("check", {"--strip-foreign", catalog});
        EXPECT_EQ(stripped.code, 0) << stripped.err.toStdString();
        EXPECT_TRUE(stripped.lines.value(0).startsWith("Removed "))
            << stripped.lines.join('|').toStdString();
        EXPECT_EQ(RunTool("import", {"--catalog", catalog, temp.file("music")}).code, 0);
        EXPECT_EQ(Count(catalog, "Mp3"), tracks + 1);
    }
}

// Every table as another program reads it.
QString Dump(const QString& catalog) {
    test::RawSqlite raw(catalog);
    return raw.dump("CD") + raw.dump("M3u") + raw.dump("Mp3") + raw.dump("Nick");
}

const QStringList Bystanders = {
    "INSERT INTO CD VALUES (1,'/m/',1,'EOF','0',NULL)",
    "INSERT INTO M3u VALUES (1,'/m/','a.m3u',1,1,1)",
    "INSERT INTO Mp3 VALUES (1,'a.mp3','/m/',1,'t','ar','al','2001','g','c','10',61,'5')",
    "INSERT INTO Nick VALUES (1,'Rock')"};

TEST(HostileInputs, ValuesShapedAsStatementsNameOnlyTheirOwnRows) {
    // Each value is a volume's folder, a list, a track's file and title, and a style; the verbs
    // that look it up run on it, and once its rows are deleted the catalog holds the bystanders
    // alone, as they went in.
    for (const QString value : {"x' OR '1'='1", "'); DROP TABLE Mp3; --", "-1 OR 1=1"}) {
        SCOPED_TRACE(value.toStdString());
        test::TempDir temp;
        const QString catalog = temp.file("c.mdb");
        const QString untouched = temp.file("bystanders.mdb");
        ASSERT_TRUE(CreateCatalog(catalog) && CreateCatalog(untouched));
        ASSERT_EQ(test::RawSqlite(untouched).exec(Bystanders), "");
        QString v = value;
        v.replace("'", "''");
        ASSERT_EQ(test::RawSqlite(catalog).exec(
                      Bystanders +
                      QStringList{"INSERT INTO CD VALUES (2,'/" + v + "/',1,'EOF','0',NULL)",
                                  "INSERT INTO M3u VALUES (2,'/" + v + "/','" + v + ".m3u',2,1,2)",
                                  "INSERT INTO Mp3 VALUES (2,'" + v + ".mp3','/" + v + "/',2,'" +
                                      v + "','a','b','y','g','c','1',1,'1')",
                                  "INSERT INTO Nick VALUES (2,'" + v + "')"}),
                  "");
        const QString folder = "/" + value + "/";
        const QString list = folder + value + ".m3u";
        const struct {
            QStringList arguments;
            bool answersItsOwnRows; // shows none of the bystanders
        } verbs[] = {
            {{"tree", "--by", "paths", catalog}, false},
            {{"tree", "--by", "styles", catalog}, false},
            {{"list", catalog, list}, true},
            {{"list", "--by", "styles", catalog, value}, true},
            {{"search", catalog, value}, true},
            {{"search", catalog, value, "--field", "Title"}, true},
            {{"file-list", catalog, list, value}, true},
            {{"style", "rename", catalog, value, value + " 2"}, true},
            {{"style", "delete", catalog, value + " 2"}, true},
            {{"delete-volume", catalog, folder}, true},
        };
        for (const auto& verb : verbs) {
            const std::string what = verb.arguments.join(' ').toStdString();
            const test::ToolRun run = RunTool(verb.arguments.first(), verb.arguments.mid(1));
            EXPECT_EQ(run.code, 0) << what << ": " << run.err.toStdString();
            if (verb.answersItsOwnRows) {
                EXPECT_FALSE(run.lines.join('|').contains("/m/")) << what;
            }
        }
        EXPECT_EQ(Dump(catalog), Dump(untouched));
    }
}

} // namespace
} // namespace tarl
