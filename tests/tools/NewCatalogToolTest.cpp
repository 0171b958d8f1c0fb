#include "catalog/engine/Connection.h"
#include "catalog/engine/Recordset.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

using namespace tarl;
using tarl::test::TempDir;

namespace {

struct ToolRun {
    int code;
    QString out;
    QString err;
};

ToolRun tool(const QStringList& arguments) {
    QProcess p;
    p.start(QStringLiteral(TARL_CATALOG_TOOL), arguments);
    p.waitForFinished(30000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QString columnsOf(Connection& c, const QString& table) {
    Recordset rows;
    EXPECT_TRUE(c.execute("PRAGMA table_info(" + table + ")", rows));
    QStringList names;
    for (; !rows.eof(); rows.moveNext())
        names << rows.field("name").toString();
    return names.join(',');
}

TEST(CatalogTool, NewMakesACatalogTheWindowOpensWithItsColumnsInOrder) {
    TempDir dir;
    const QString file = dir.file("my music/tarl.mdb");
    QDir().mkpath(dir.file("my music"));
    const ToolRun made = tool({"new", file});
    ASSERT_EQ(made.code, 0) << made.err.toStdString();

    Connection c;
    ASSERT_TRUE(c.open(file)) << c.lastError().toStdString();
    EXPECT_EQ(columnsOf(c, "CD"), "id,name,m3us,label,isCd,labelcd");
    EXPECT_EQ(columnsOf(c, "M3u"), "id,path,file,cd_id,mp3s,nick");
    EXPECT_EQ(columnsOf(c, "Mp3"), "id,file,path,m3u_id,title,artist,album,year,genre,comments,"
                                   "size,time,rating");
    EXPECT_EQ(columnsOf(c, "Nick"), "id,nick");
}

TEST(CatalogTool, RefusesAnExistingFileAndBadUsage) {
    TempDir dir;
    const QString file = dir.write("old.mdb", "keep me");
    const ToolRun again = tool({"new", file});
    EXPECT_EQ(again.code, 1);
    EXPECT_FALSE(again.err.isEmpty());
    EXPECT_EQ(dir.read("old.mdb"), "keep me");
    EXPECT_EQ(tool({}).code, 2);
    EXPECT_EQ(tool({"frobnicate"}).code, 2);
    EXPECT_EQ(tool({"new"}).code, 2);
    EXPECT_FALSE(QFileInfo::exists(dir.file("missing/x.mdb")));
    EXPECT_EQ(tool({"new", dir.file("missing/x.mdb")}).code, 1);
}

} // namespace
