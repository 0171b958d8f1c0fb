#include "catalog/CatalogDelete.h"

#include "FakeLibraryTree.h"
#include "RecordingFiles.h"
#include "RoutineFixture.h"
#include "catalog/engine/Recordset.h"
#include "platform/LocalFiles.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace tarl {
namespace {

class CatalogDeleteTest : public test::RoutineFixture {
protected:
    qint64 volume(const QString& name, const QString& label, bool isCd) {
        return insert(QString("INSERT INTO CD (name,m3us,label,isCd) VALUES ('%1',1,'%2','%3')")
                          .arg(name, label, isCd ? "1" : "0"));
    }
    qint64 list(const QString& path, const QString& file, qint64 volumeId, qint64 style = 0) {
        return insert(QString("INSERT INTO M3u (path,file,cd_id,mp3s,nick) VALUES "
                              "('%1','%2',%3,0,%4)")
                          .arg(path, file)
                          .arg(volumeId)
                          .arg(style));
    }
    qint64 track(const QString& file, qint64 listId) {
        return insert(QString("INSERT INTO Mp3 (path,file,m3u_id) VALUES ('/x/','%1',%2)")
                          .arg(file)
                          .arg(listId));
    }
    // The files of the tracks left, in id order.
    QString tracksLeft() {
        return scalar("SELECT group_concat(file, ' ') FROM (SELECT file FROM Mp3 ORDER BY id) AS t")
            .toString();
    }

    LocalFiles files;
    test::RecordingFiles noFiles; // for volumes whose folder is not on this machine
};

TEST_F(CatalogDeleteTest, DeleteStyleLeavesItsListsWithNoStyle) {
    const qint64 jazz = insert("INSERT INTO Nick (nick) VALUES ('Jazz')");
    const qint64 rock = insert("INSERT INTO Nick (nick) VALUES ('Rock')");
    const qint64 v = volume("/music/", "EOF", false);
    list("/music/", "a.m3u", v, jazz);
    list("/music/", "b.m3u", v, jazz);
    list("/music/", "c.m3u", v, rock);
    test::FakeLibraryTree tree({"Jazz", "Rock", "Unsorted"});

    ASSERT_TRUE(DeleteStyle(catalog, "Jazz", &tree))
        << catalog.connection.lastError().toStdString();
    EXPECT_EQ(scalar("SELECT group_concat(nick) FROM Nick"), "Rock");
    EXPECT_EQ(rows("SELECT file,nick FROM M3u ORDER BY id"),
              (QList<QVariantList>{{"a.m3u", 0}, {"b.m3u", 0}, {"c.m3u", rock}}));
    EXPECT_EQ(tree.removed, QStringList{"Jazz"});

    // A style that is not there changes nothing, with or without a tree.
    ASSERT_TRUE(DeleteStyle(catalog, "Blues", nullptr));
    EXPECT_EQ(count("M3u"), 3);
    EXPECT_EQ(scalar("SELECT nick FROM M3u WHERE file='c.m3u'"), rock);
}

TEST_F(CatalogDeleteTest, DeleteListDeletesTheListAndItsTracksOnly) {
    const qint64 v = volume("/music/", "EOF", false);
    const qint64 rock = list("/music/", "rock/", v);
    const qint64 party = list("/music/", "party.m3u", v);
    track("a.mp3", rock);
    track("b.mp3", party);
    track("c.mp3", rock);
    test::FakeLibraryTree tree({"/music/", "/music/rock/", "/music/party.m3u"});

    ASSERT_TRUE(DeleteList(catalog, drives, "/music/rock/", &tree));
    EXPECT_EQ(scalar("SELECT group_concat(file) FROM M3u"), "party.m3u");
    EXPECT_EQ(tracksLeft(), "b.mp3");
    EXPECT_EQ(tree.removed, QStringList{"/music/rock/"});

    // No node and no row: nothing happens.
    ASSERT_TRUE(DeleteList(catalog, drives, "/music/rock/", &tree));
    EXPECT_EQ(tree.removed, QStringList{"/music/rock/"});
    EXPECT_EQ(count("M3u"), 1);
}

TEST_F(CatalogDeleteTest, DeleteTrackOfIdZeroRunsNoStatement) {
    const qint64 a = track("a.mp3", 1);
    track("b.mp3", 1);
    Recordset rows;
    ASSERT_TRUE(catalog.connection.execute("SELECT file FROM Mp3 ORDER BY id", rows));

    ASSERT_TRUE(DeleteTrack(catalog, 0));
    EXPECT_EQ(rows.field(0), "a.mp3"); // the holder still has its rows
    EXPECT_EQ(count("Mp3"), 2);

    ASSERT_TRUE(DeleteTrack(catalog, a));
    EXPECT_EQ(tracksLeft(), "b.mp3");
}

TEST_F(CatalogDeleteTest, DeleteVolumeRemovesAnEmptyFolderAndKeepsOneWithFiles) {
    const struct {
        QString folder; // the empty or full folder on the disc
        QString name;   // the volume's name, under the temporary folder
        bool withFile;
    } cases[] = {
        {"empty", "empty/", false},
        {"full", "full/", true},
        {"outside", "inner/../outside/", false}, // a name leading out of its own folder
    };
    ASSERT_TRUE(QDir().mkpath(temp.file("inner")));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QString key = temp.file(c.name);
        ASSERT_TRUE(QDir().mkpath(temp.file(c.folder)));
        if (c.withFile)
            temp.write(c.folder + "/keep.mp3", "ID3");
        const qint64 v = volume(key, "EOF", false);
        const qint64 other = volume(key + "other/", "EOF", false);
        const qint64 l = list(key, "rock/", v);
        const qint64 kept = list(key + "other/", "pop/", other);
        track("gone.mp3", l);
        track("kept.mp3", kept);
        test::FakeLibraryTree tree({key, key + "rock/", "/elsewhere/"});

        ASSERT_TRUE(DeleteVolume(catalog, drives, files, key, &tree));
        EXPECT_EQ(QFileInfo::exists(temp.file(c.folder)), c.withFile || key.contains(".."));
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM CD WHERE id=" + QString::number(v)), 0);
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM CD WHERE id=" + QString::number(other)), 1);
        EXPECT_EQ(scalar("SELECT group_concat(id) FROM M3u"), kept);
        EXPECT_EQ(tracksLeft(), "kept.mp3");
        EXPECT_EQ(tree.removed, QStringList{key}); // the list went with the volume's node
        EXPECT_TRUE(tree.hasNode("/elsewhere/"));
        run("DELETE FROM CD");
        run("DELETE FROM M3u");
        run("DELETE FROM Mp3");
    }
}

TEST_F(CatalogDeleteTest, DeleteVolumeWalksEveryListAndDeletesEach) {
    const qint64 v = volume("/music/", "EOF", false);
    const qint64 other = volume("/other/", "EOF", false);
    for (const QString name : {"a/", "b/", "c/", "d.m3u"})
        track("t-" + name.left(1), list("/music/", name, v));
    track("t-other", list("/other/", "a/", other));

    ASSERT_TRUE(DeleteVolume(catalog, drives, noFiles, "/music/", nullptr));
    EXPECT_EQ(noFiles.removedFolders, QStringList{"/music/"});
    EXPECT_EQ(count("M3u"), 1);
    EXPECT_EQ(tracksLeft(), "t-other");

    // A node that only groups volumes names no row: the delete says so, and nothing goes.
    const Result<> grouping = DeleteVolume(catalog, drives, noFiles, "/", nullptr);
    EXPECT_TRUE(grouping.error.contains("is no volume of the catalog"))
        << grouping.error.toStdString();
    EXPECT_EQ(count("CD"), 1);
    EXPECT_EQ(noFiles.removedFolders, QStringList{"/music/"});
}

TEST_F(CatalogDeleteTest, DeleteVolumeOfACdKeepsTheListsOfAnotherDiscOnTheSameDrive) {
    const qint64 disc7 = volume("/media/cd/", "Disc 7", true);
    const qint64 disc8 = volume("/media/cd/", "Disc 8", true);
    // Both discs hold the same folders; disc 7's rows come first.
    track("seven-root", list("/media/cd/", ".", disc7));
    track("seven-rock", list("/media/cd/", "rock/", disc7));
    track("eight-root", list("/media/cd/", ".", disc8));
    track("eight-rock", list("/media/cd/", "rock/", disc8));
    const QString key = "Disc 8:>/media/cd/";
    test::FakeLibraryTree tree({key, key + "rock/", "Disc 7:>/media/cd/"});

    ASSERT_TRUE(DeleteVolume(catalog, drives, noFiles, key, &tree));
    EXPECT_TRUE(noFiles.removedFolders.isEmpty()); // a CD key names no folder
    EXPECT_EQ(scalar("SELECT group_concat(label) FROM CD"), "Disc 7");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM M3u WHERE cd_id=" + QString::number(disc7)), 2);
    EXPECT_EQ(count("M3u"), 2);
    EXPECT_EQ(tracksLeft(), "seven-root seven-rock");
    EXPECT_EQ(tree.removed, QStringList{key});
    EXPECT_TRUE(tree.hasNode("Disc 7:>/media/cd/"));
}

TEST_F(CatalogDeleteTest, DeleteVolumeGoesOnPastAFailingStep) {
    const qint64 v = volume("/music/", "EOF", false);
    track("a", list("/music/", "a/", v));
    run("CREATE TRIGGER keep BEFORE DELETE ON CD BEGIN SELECT RAISE(ABORT, 'kept by the test'); "
        "END");
    const Result<> partly = DeleteVolume(catalog, drives, noFiles, "/music/", nullptr);
    EXPECT_FALSE(partly);
    EXPECT_TRUE(partly.error.contains("kept by the test")) << partly.error.toStdString();
    EXPECT_EQ(count("CD"), 1);
    EXPECT_EQ(count("M3u"), 0); // the later steps still ran
    EXPECT_EQ(count("Mp3"), 0);

    // Before the volume is known a failure ends it, the tree untouched.
    run("DROP TABLE CD");
    test::FakeLibraryTree tree({"/music/"});
    const Result<> unknown = DeleteVolume(catalog, drives, noFiles, "/music/", &tree);
    EXPECT_FALSE(unknown);
    EXPECT_TRUE(tree.removed.isEmpty());
    EXPECT_FALSE(unknown.error.isEmpty());
}

TEST_F(CatalogDeleteTest, DelCDinDbWithoutM3usLeavesListsAndTracks) {
    const qint64 v = volume("/music/", "EOF", false);
    volume("/music/", "EOF", false);
    volume("/other/", "EOF", false);
    track("a", list("/music/", "a/", v));
    ASSERT_TRUE(DeleteVolumesKeepingLists(catalog, "/music/"));
    EXPECT_EQ(scalar("SELECT group_concat(name) FROM CD"), "/other/");
    EXPECT_EQ(count("M3u"), 1);
    EXPECT_EQ(count("Mp3"), 1);
}

} // namespace
} // namespace tarl
