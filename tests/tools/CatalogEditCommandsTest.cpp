#include "ToolRun.h"
#include "catalog/engine/CatalogFile.h"
#include "catalog/engine/Connection.h"
#include "catalog/engine/Recordset.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QDir>
#include <gtest/gtest.h>

namespace tarl {
namespace {

// Each case runs on a fresh catalog: a hard-disc volume (a real, empty folder) with the list
// "rock/" filed under "Rock", the style "Jazz", and a disc "Disc1" with one list and one track.
struct Edit {
    const char* name;
    QString command;
    QStringList arguments; // after the catalog file; "@" stands for the hard-disc folder
    int code;
    QString err;        // exactly, "" for none
    QString check;      // a query giving one text after the edit
    QString checkValue; // what it gives
};

class CatalogEditCommands : public ::testing::Test {
protected:
    QString makeCatalog() {
        const QString file = temp.file("tarl.mdb");
        QFile::remove(file);
        EXPECT_TRUE(CreateCatalog(file));
        QDir(folder).removeRecursively();
        EXPECT_TRUE(QDir().mkpath(folder));
        Connection c;
        EXPECT_TRUE(c.open(file));
        for (const QString& sql : {
                 "INSERT INTO CD (id,name,m3us,label,isCd) VALUES (1,'" + folder + "',1,'EOF','0')",
                 QStringLiteral("INSERT INTO CD (id,name,m3us,label,isCd,labelcd) "
                                "VALUES (2,'/media/cd/',1,'Disc1','1','MY DISC')"),
                 QStringLiteral("INSERT INTO Nick (id,nick) VALUES (1,'Rock'),(2,'Jazz')"),
                 "INSERT INTO M3u (id,path,file,cd_id,nick) VALUES (1,'" + folder +
                     "','rock/',1,1)",
                 QStringLiteral("INSERT INTO M3u (id,path,file,cd_id) VALUES (2,'/media/cd/',"
                                "'jazz/',2)"),
                 QStringLiteral("INSERT INTO Mp3 (path,file,m3u_id) VALUES "
                                "('/media/cd/jazz/','j.mp3',2)"),
             })
            EXPECT_TRUE(c.execute(sql)) << sql.toStdString();
        return file;
    }
    QString query(const QString& file, const QString& sql) {
        Connection c;
        Recordset rows;
        if (!c.open(file) || !c.execute(sql, rows))
            return QStringLiteral("(failed)");
        QStringList values;
        for (; !rows.eof(); rows.moveNext())
            values << rows.field(0).toString();
        return values.join(',');
    }

    test::TempDir temp;
    QString folder = temp.file("music/");
};

TEST_F(CatalogEditCommands, EachVerbDoesWhatTheWindowDoesOrExitsWithTheReason) {
    const QString styles = "SELECT nick FROM Nick ORDER BY id";
    const QString rockStyle = "SELECT nick FROM M3u WHERE id=1";
    const QString volumes = "SELECT id FROM CD ORDER BY id";
    const QString lists = "SELECT id FROM M3u ORDER BY id";
    const Edit edits[] = {
        {"add a style", "style", {"add", "Pop"}, 0, "", styles, "Rock,Jazz,Pop"},
        {"add a style already there",
         "style",
         {"add", "rOCK"},
         1,
         "tarl-catalog style: This Style already exist in Data Base \n",
         styles,
         "Rock,Jazz"},
        {"rename a style", "style", {"rename", "rock", "Metal"}, 0, "", styles, "Metal,Jazz"},
        {"rename to its own name in another case",
         "style",
         {"rename", "Rock", "ROCK"},
         0,
         "",
         styles,
         "ROCK,Jazz"},
        {"rename to another style's name",
         "style",
         {"rename", "Rock", "jazz"},
         1,
         "tarl-catalog style: the name \"jazz\" is already used\n",
         styles,
         "Rock,Jazz"},
        {"rename a style not there",
         "style",
         {"rename", "Pop", "Metal"},
         1,
         "tarl-catalog style: there is no style called \"Pop\"\n",
         styles,
         "Rock,Jazz"},
        {"delete a style", "style", {"delete", "ROCK"}, 0, "", rockStyle, "0"},
        {"delete a style not there",
         "style",
         {"delete", "Pop"},
         1,
         "tarl-catalog style: there is no style called \"Pop\"\n",
         styles,
         "Rock,Jazz"},
        {"a style verb not known", "style", {"purge", "Pop"}, 2, "", styles, "Rock,Jazz"},
        {"file a list", "file-list", {"EOF:>@rock/", "Jazz"}, 0, "", rockStyle, "2"},
        {"file a list under no style",
         "file-list",
         {"EOF:>@rock/", "Pop"},
         1,
         "tarl-catalog file-list: There is no style called \"Pop\".\n",
         rockStyle,
         "1"},
        {"file a list not there",
         "file-list",
         {"EOF:>@pop/", "Jazz"},
         1,
         "tarl-catalog file-list: There is no list at @pop/.\n",
         rockStyle,
         "1"},
        {"delete a disc", "delete-volume", {"Disc1"}, 0, "", lists, "1"},
        {"delete a hard-disc volume", "delete-volume", {"@"}, 0, "", volumes, "2"},
        {"delete a volume not there",
         "delete-volume",
         {"Disc9"},
         1,
         "tarl-catalog delete-volume: no volume of the tree by paths has the key \"Disc9\"\n",
         volumes,
         "1,2"},
    };
    for (const Edit& e : edits) {
        SCOPED_TRACE(e.name);
        const QString file = makeCatalog();
        QStringList arguments = e.arguments;
        if (e.command == "style")
            arguments.insert(1, file);
        else
            arguments.prepend(file);
        arguments.replaceInStrings("@", folder);
        const test::ToolRun run = test::RunTool(e.command, arguments);
        EXPECT_EQ(run.code, e.code) << run.err.toStdString();
        if (e.code != 2) {
            EXPECT_EQ(run.err, QString(e.err).replace("@", folder));
        }
        EXPECT_EQ(query(file, e.check), e.checkValue);
    }
}

TEST_F(CatalogEditCommands, AMissingCatalogIsAFailure) {
    const test::ToolRun run =
        test::RunTool("style", {"add", temp.file("none.mdb"), QStringLiteral("Pop")});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.err.startsWith("tarl-catalog style: ")) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(temp.file("none.mdb")));
}

} // namespace
} // namespace tarl
