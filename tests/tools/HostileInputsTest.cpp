// Catalogs someone else wrote, through the built tarl-catalog: one row per kind of hostile input,
// what Tarl must not do with it, and the check that it did not.
#include "ToolRun.h"
#include "catalog/CatalogFile.h"
#include "catalog/RawSqlite.h"
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

} // namespace
} // namespace tarl
