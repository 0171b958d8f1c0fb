// The tool on a catalog kept with a rollback journal, as on a network share.
#include "ToolRun.h"
#include "catalog/engine/CatalogFile.h"
#include "support/Id3Builder.h"
#include "support/NetworkShare.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

TEST(NetworkShareTool, EachCommandSaysOnceThatTheCatalogKeepsARollbackJournal) {
    test::TempDir temp;
    const QString catalog = temp.file("tarl.mdb");
    ASSERT_TRUE(CreateCatalog(catalog));
    temp.write("music/album/a.mp3", test::Id3Builder(3).text("TIT2", "Alpha").audio(1).build());
    const struct {
        const char* command;
        QStringList arguments;
        const char* output; // a line the command prints
    } cases[] = {
        {"import", {"--catalog", catalog, temp.file("music")}, "tracks added: 1"},
        {"style", {"add", catalog, "Rock"}, nullptr},
        {"search", {catalog, "Alpha"}, nullptr},
    };
    const test::NetworkShare share;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        const test::ToolRun run = test::RunTool(c.command, c.arguments);
        EXPECT_EQ(run.code, 0) << run.err.toStdString();
        EXPECT_EQ(run.err.count(QString("tarl-catalog %1: The catalog file %2 is on a file system "
                                        "where SQLite cannot share memory")
                                    .arg(c.command, catalog)),
                  1)
            << run.err.toStdString();
        EXPECT_TRUE(!c.output || run.lines.contains(c.output));
    }
}

} // namespace
} // namespace tarl
