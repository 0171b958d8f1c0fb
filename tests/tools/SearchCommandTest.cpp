#include "ToolRun.h"
#include "catalog/engine/CatalogFile.h"
#include "catalog/engine/Connection.h"
#include "support/QtPrinters.h"
#include "support/ReadOnlyFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

using test::ToolRun;

ToolRun Search(const QStringList& arguments) {
    return test::RunTool(QStringLiteral("search"), arguments);
}

// A value a catalog holds reaches the terminal as text: every control character escaped, one
// hit a line.
TEST(SearchCommand, PrintsControlCharactersEscaped) {
    const struct {
        QString title;
        QString printed;
    } cases[] = {
        {"\x1b]52;c;cHduZWQ=\x07", "\\x1B]52;c;cHduZWQ=\\x07"},
        {"\x1b[2J\x1b[H", "\\x1B[2J\\x1B[H"},
        {"a\tb\nc\rd\\e", "a\\tb\\nc\\rd\\\\e"},
        {"\x01\x1f\x7f", "\\x01\\x1F\\x7F"},
        {QString(QChar(0x85)) + QChar(0x9B) + "2J", "\\x85\\x9B2J"},
        {"caf\u00e9\u00a0\u2028", "caf\u00e9\u00a0\u2028"},
    };
    test::TempDir temp;
    const QString file = temp.file("tarl.mdb");
    ASSERT_TRUE(CreateCatalog(file));
    {
        Catalog catalog;
        ASSERT_TRUE(catalog.connection.open(file));
        ASSERT_TRUE(catalog.connection.execute(
            "INSERT INTO M3u (id,path,file,cd_id) VALUES (1,'/m/','a/',1)"));
        int id = 1;
        for (const auto& c : cases)
            ASSERT_TRUE(catalog.connection.execute(
                QString("INSERT INTO Mp3 (id,path,file,m3u_id,title) VALUES (%1,'/m/a/','%1.mp3',"
                        "1,'zq%2')")
                    .arg(id++)
                    .arg(c.title)));
    }
    const ToolRun found = Search({file, "zq", "--field", "Title"});
    ASSERT_EQ(found.code, 0) << found.err.toStdString();
    ASSERT_EQ(found.lines.size(), std::size(cases));
    for (const QString& line : found.lines) {
        const QStringList fields = line.split(u'\t');
        ASSERT_EQ(fields.size(), 13) << line.toStdString();
        const int id = fields.last().toInt();
        ASSERT_GE(id, 1);
        EXPECT_EQ(fields[3], "zq" + cases[id - 1].printed) << id;
    }
}

// The tool prints what the window lists: the icon, then the twelve columns, escaped.
TEST(SearchCommand, PrintsTheWindowsRowsAndItsStatus) {
    test::TempDir temp;
    const QString file = temp.file("tarl.mdb");
    ASSERT_TRUE(CreateCatalog(file));
    {
        Catalog catalog;
        ASSERT_TRUE(catalog.connection.open(file));
        for (const char* statement : {
                 "INSERT INTO CD (id,name,label,isCd) VALUES (1,'/cd/','DISC07','1')",
                 "INSERT INTO M3u (id,path,file,cd_id) VALUES (1,'/cd/','Blue/',1)",
                 "INSERT INTO Mp3 (id,path,file,m3u_id,title) VALUES "
                 "(7,'/cd/Blue/','01 Blue.mp3',1,'Blue\tin\nlines')",
             })
            ASSERT_TRUE(catalog.connection.execute(QString::fromUtf8(statement)));
    }
    const QString readOnly = temp.file("read-only.mdb");
    ASSERT_TRUE(QFile::copy(file, readOnly));

    const ToolRun found = Search({file, "blue", "--field", "Title"});
    EXPECT_EQ(found.code, 0) << found.err.toStdString();
    EXPECT_EQ(found.lines, (QStringList{"4\tBlue/\t(CD)DISC07:>/cd/\t\t\t\t\t\t\t\t\t\t",
                                        "3\t01 Blue.mp3\t(CD)DISC07:>/cd/Blue/\tBlue\\tin\\nlines"
                                        "\t\t\t\t\t\t\t\t\t7"}));
    EXPECT_EQ(found.err, "Found 2 results.\n");

    const ToolRun none = Search({file, "zzz"});
    EXPECT_EQ(none.code, 0);
    EXPECT_TRUE(none.lines.isEmpty());
    EXPECT_EQ(none.err, "No results found\n");

    const ToolRun accents = Search({file, "blue in", "--field", "Title", "--ignore-accents"});
    EXPECT_EQ(accents.code, 0) << accents.err.toStdString();
    EXPECT_EQ(accents.err, "No results found\n") << "a line break is not a space";
    EXPECT_EQ(Search({file, "BLUÉ", "--ignore-accents"}).lines.size(), 2);
    EXPECT_EQ(Search({file, "BLUÉ"}).lines.size(), 0);

    const ToolRun tooShort = Search({file, "b"});
    EXPECT_EQ(tooShort.code, 1);
    EXPECT_EQ(tooShort.err, "tarl-catalog search: I need almost two characters.\n");
    EXPECT_EQ(Search({file, "blue", "--field", "Colour"}).code, 2);

    // A catalog that cannot be written, copied before any search made its index, is searched by
    // scanning: the same rows, the file as it was.
    if (!test::MakeReadOnly(readOnly))
        GTEST_SKIP() << "this user can write any file";
    const QByteArray before = temp.read("read-only.mdb");
    const ToolRun scanned = Search({readOnly, "blue", "--field", "Title"});
    test::SetImmutable(readOnly, false);
    EXPECT_EQ(scanned.lines, found.lines) << scanned.err.toStdString();
    EXPECT_EQ(temp.read("read-only.mdb"), before);
}

} // namespace
} // namespace tarl
