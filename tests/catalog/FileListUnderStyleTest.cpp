#include "catalog/CatalogUpdate.h"

#include "RoutineFixture.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

using FileListUnderStyleTest = test::RoutineFixture;

struct Filing {
    const char* name;
    QString path;
    QString file;
    QString style;
    bool ok;
    qint64 nickAfter; // of the list "/music/" + "rock/", filed under style 1 before
};

TEST_F(FileListUnderStyleTest, FilesTheListUnderTheStyleOrSaysWhyNot) {
    const Filing cases[] = {
        {"another style", "/music/", "rock/", "Jazz", true, 2},
        {"another style, its name in another case", "/music/", "rock/", "jAZZ", true, 2},
        {"the style it has", "/music/", "rock/", "Rock", true, 1},
        {"a quote in the names", "/music/", "rock/", "Rock'n", true, 3},
        {"no such style", "/music/", "rock/", "Pop", false, 1},
        {"no such list", "/music/", "pop/", "Jazz", false, 1},
    };
    for (const Filing& c : cases) {
        SCOPED_TRACE(c.name);
        run("DELETE FROM Nick");
        run("DELETE FROM M3u");
        run("INSERT INTO Nick (id,nick) VALUES (1,'Rock'),(2,'Jazz'),(3,'Rock''n')");
        run("INSERT INTO M3u (path,file,cd_id,nick) VALUES ('/music/','rock/',1,1)");
        const Result<> filed = FileListUnderStyle(catalog, c.path, c.file, c.style);
        EXPECT_EQ(filed.ok, c.ok) << filed.error.toStdString();
        EXPECT_EQ(filed.error.isEmpty(), c.ok);
        EXPECT_EQ(scalar("SELECT nick FROM M3u").toLongLong(), c.nickAfter);
    }
}

} // namespace
} // namespace tarl
