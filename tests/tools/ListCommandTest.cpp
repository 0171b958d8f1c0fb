#include "ToolRun.h"
#include "catalog/CatalogFind.h"
#include "catalog/CatalogInsert.h"
#include "catalog/ImportStatements.h"
#include "catalog/ScanNodeValues.h"
#include "catalog/TrackLength.h"
#include "catalog/engine/CatalogFile.h"
#include "catalog/engine/Connection.h"
#include "catalog/engine/Recordset.h"
#include "platform/LinuxDrives.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "tags/TagFields.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace tarl {
namespace {

using test::ToolRun;

ToolRun List(const QStringList& arguments) {
    return test::RunTool(QStringLiteral("list"), arguments);
}

// A catalog filled by the import's routines on this machine's drives, as the tool sees them: the
// hard-disc volume <temp>/music/ with the folder rock/ and a track lying in music/ itself, and
// the style "Jazz" holding rock/.
class ListCommand : public ::testing::Test {
protected:
    void SetUp() override {
        file = temp.file("tarl.mdb");
        music = temp.path() + "/music/";
        const auto made = CreateCatalog(file);
        ASSERT_TRUE(made) << made.error.toStdString();
        ASSERT_TRUE(catalog.connection.open(file));
        QString label;
        ASSERT_TRUE(AddFolderVolume(catalog, music, label));
        const qint64 volume = FindVolumeId(catalog, drives, music, "").value;
        add(music + "rock/", "a.mp3", Tags("Alpha", 4523456), volume);
        // Tabs and backslashes in a tag are written escaped, so each row stays one line.
        add(music + "rock/", "b.mp3", Tags("Tab\there \\ back", 850), volume);
        add(music, "x.mp3", Tags("Ex", 123456), volume);
        ASSERT_TRUE(StoreTrackLength(catalog, music + "rock/a.mp3", 187));
        ASSERT_TRUE(StoreTrackLength(catalog, music + "rock/b.mp3", 40000));
        ASSERT_TRUE(AddStyle(catalog, "Jazz"));
        ASSERT_TRUE(catalog.connection.execute(
            "UPDATE M3u SET nick=(SELECT id FROM Nick) WHERE file='rock/'"));
        Recordset set;
        ASSERT_TRUE(catalog.connection.execute("SELECT file, id FROM Mp3", set));
        for (; !set.eof(); set.moveNext())
            ids[set.field(0).toString()] = set.field(1).toString();
        // The tool opens the file on its own.
        catalog.connection.close();
    }

    static TagFields Tags(const QString& title, qint64 length) {
        TagFields tags;
        tags.title = title;
        tags.artist = "Artist";
        tags.album = "Album";
        tags.year = "1999";
        tags.genre = "Rock";
        tags.comments = "Live";
        tags.fileLength = length;
        return tags;
    }

    void add(const QString& folder, const QString& name, const TagFields& tags, qint64 volume) {
        ImportStatements statements(catalog.connection);
        ASSERT_TRUE(AddFolderTrack(drives, {folder + name, name, folder}, tags, volume, statements))
            << catalog.connection.lastError().toStdString();
    }

    test::TempDir temp;
    QString file;
    QString music;
    LinuxDrives drives;
    Catalog catalog;
    QMap<QString, QString> ids; // by file name
};

TEST_F(ListCommand, PrintsTheRowsTheWindowShowsForEachKindOfNode) {
    const QString a = "a.mp3\t" + music +
                      "rock/\tAlpha\tArtist\tAlbum\t1999\tRock\tLive\t4.52M\t"
                      "03:07\t\t" +
                      ids["a.mp3"];
    const QString b = "b.mp3\t" + music +
                      "rock/\tTab\\there \\\\ back\tArtist\tAlbum\t1999\t"
                      "Rock\tLive\t850b\t666:40\t\t" +
                      ids["b.mp3"];
    const QString x =
        "x.mp3\t" + music + "\tEx\tArtist\tAlbum\t1999\tRock\tLive\t123K\t\t\t" + ids["x.mp3"];
    const struct {
        QStringList arguments;
        QStringList lines;
    } cases[] = {
        {{file, music + "rock/"}, {a, b}}, // a folder of tracks, "Mp3Cd"
        {{file, music + "."}, {x}},        // the tracks lying in the volume's folder
        {{file, music}, {x}},              // the volume node itself, "Cd"
        {{file, "tarl.mdb"}, {}},          // the root
        {{"--by", "paths", file, music + "rock/"}, {a, b}},
        {{"--by", "styles", file, "EOF:>" + music + "rock/"}, {a, b}},
        {{"--by", "styles", file, "Jazz"}, {}}, // a style
        {{"--by", "styles", file, "Unsorted"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const ToolRun run = List(c.arguments);
        EXPECT_EQ(run.code, 0) << run.err.toStdString();
        EXPECT_EQ(run.lines, c.lines);
        EXPECT_EQ(run.err, "");
    }
}

TEST_F(ListCommand, UnknownKeysMissingCatalogsAndBadUsageFail) {
    const struct {
        QStringList arguments;
        int code;
        QString reason; // part of the text on stderr
    } cases[] = {
        {{file, music + "jazz/"}, 1, "\"" + music + "jazz/\""},
        {{file, ""}, 1, "key"},
        // Keys of the style view are not in the tree by paths.
        {{file, "EOF:>" + music + "rock/"}, 1, "paths"},
        {{"--by", "styles", file, music + "rock/"}, 1, "styles"},
        {{temp.file("none.mdb"), music}, 1, "none.mdb"},
        {{}, 2, "Usage"},
        {{file}, 2, "Usage"},
        {{file, music, "extra"}, 2, "Usage"},
        {{"--by", "trees", file, music}, 2, "Usage"},
        {{"--by"}, 2, "Usage"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const ToolRun run = List(c.arguments);
        EXPECT_EQ(run.code, c.code);
        EXPECT_TRUE(run.lines.isEmpty());
        EXPECT_TRUE(run.err.contains(c.reason)) << run.err.toStdString();
    }
    // Opening never makes a catalog.
    EXPECT_FALSE(QFileInfo::exists(temp.file("none.mdb")));
}

} // namespace
} // namespace tarl
