#include "ScanImportFixture.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

using test::ScanImport;

TEST_F(ScanImport, SoundFilesOfTwoFoldersGoToOneVolume) {
    mp3("music/rock/a.mp3", "Alpha");
    mp3("music/pop/b.mp3", "Beta", "Pop Band");
    const QString music = root + "music/";
    pathScan = music;
    label.clear();
    folder(music + "rock/", "Cdmp3", {"a.mp3"});
    folder(music + "pop/", "Cdmp3", {"b.mp3"});

    QStringList statuses;
    QList<std::pair<int, int>> progress;
    int yields = 0;
    const ScanImportResult result = import({
        [&](int maximum, int value) {
            progress << std::pair{maximum, value};
        },
        [&](const QString& text) { statuses << text; },
        [&] { return ++yields > 0; },
    });

    EXPECT_EQ(label, "EOF");
    EXPECT_EQ(rows("SELECT name, m3us, label, isCd, labelcd FROM CD"),
              (QList<QVariantList>{{music, "1", "EOF", "0", ""}}));
    EXPECT_EQ(rows("SELECT path, file FROM M3u ORDER BY id"),
              (QList<QVariantList>{{music, "rock/"}, {music, "pop/"}}));
    EXPECT_EQ(rows("SELECT path, file, title, artist, album FROM Mp3 ORDER BY id"),
              (QList<QVariantList>{{music + "rock/", "a.mp3", "Alpha", "Band", "Album"},
                                   {music + "pop/", "b.mp3", "Beta", "Pop Band", "Album"}}));
    // Every list and track lies on the one volume.
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM M3u WHERE cd_id <> (SELECT id FROM CD)").toInt(), 0);

    EXPECT_EQ(result.nodes, 4);
    EXPECT_EQ(result.volumes, 1);
    EXPECT_EQ(result.lists, 2);
    EXPECT_EQ(result.tracks, 2);
    EXPECT_EQ(result.errorCount, 0) << result.errors.join("; ").toStdString();
    EXPECT_FALSE(result.stopped);
    // Two passes over four nodes, each node reported and followed by a turn of the event loop.
    EXPECT_EQ(yields, 8);
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.first(), (std::pair{4, 0}));
    EXPECT_EQ(progress.last(), (std::pair{4, 4}));
    ASSERT_EQ(statuses.size(), 5);
    EXPECT_EQ(statuses.first(), "Adding files to Data Base... 1 files");
    EXPECT_EQ(statuses.at(3), "Adding files to Data Base... 4 files");
    EXPECT_EQ(statuses.last(), "Added 4 files");
}

TEST_F(ScanImport, CdRootGivesItsOwnVolumeAndTheDotList) {
    const QString cd = root + "cd/";
    mp3("cd/a.mp3", "On Disc");
    drives.addDrive(cd, DriveType::CdRom, "SUMMER HITS");
    pathScan = cd;
    label = "Disc 7";
    folder(cd, "Cdmp3", {"a.mp3"}, label);

    const ScanImportResult result = import();

    EXPECT_EQ(label, "Disc 7");
    EXPECT_EQ(rows("SELECT name, m3us, label, isCd, labelcd FROM CD"),
              (QList<QVariantList>{{cd, "1", "Disc 7", "1", "Summer Hits"}}));
    EXPECT_EQ(rows("SELECT path, file FROM M3u"), (QList<QVariantList>{{cd, "."}}));
    EXPECT_EQ(rows("SELECT path, file, title FROM Mp3"),
              (QList<QVariantList>{{cd, "a.mp3", "On Disc"}}));
    EXPECT_EQ(result.errorCount, 0) << result.errors.join("; ").toStdString();

    // Another disc of the same name in the same drive is a volume of its own.
    label = "Disc 8";
    tree.setText(*tree.roots().front(), "Disc 8   < 1 files >");
    import();
    EXPECT_EQ(rows("SELECT label FROM CD ORDER BY id"),
              (QList<QVariantList>{{"Disc 7"}, {"Disc 8"}}));
}

TEST_F(ScanImport, PlaylistGivesAListWithOneTrackPerEntry) {
    const QString music = root + "music/";
    temp.write("music/party.m3u", "#EXTM3U\r\nrock/a.mp3\r\n#EXTINF:1,B\r\n/elsewhere/b.mp3\r\n");
    pathScan = music;
    label.clear();
    folder(music, "Cdm3u", {"party.m3u"});

    const ScanImportResult result = import();

    EXPECT_EQ(label, "EOF");
    EXPECT_EQ(rows("SELECT name, m3us, label, isCd FROM CD"),
              (QList<QVariantList>{{music, "1", "EOF", "0"}}));
    EXPECT_EQ(rows("SELECT path, file FROM M3u"), (QList<QVariantList>{{music, "party.m3u"}}));
    EXPECT_EQ(rows("SELECT path, file FROM Mp3 ORDER BY id"),
              (QList<QVariantList>{{music + "rock/", "a.mp3"}, {"/elsewhere/", "b.mp3"}}));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Mp3 WHERE m3u_id <> (SELECT id FROM M3u)").toInt(), 0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM M3u WHERE cd_id <> (SELECT id FROM CD)").toInt(), 0);
    EXPECT_EQ(result.lists, 1);
    EXPECT_EQ(result.tracks, 2);
}

// An entry whose file is a sound file here is stored as the folder's track is: the same tags,
// length and size, whichever is imported first. Other entries stay a path and a name.
TEST_F(ScanImport, PlaylistEntriesOfSoundFilesHereCarryTheFolderTracksTags) {
    const QString music = root + "music/";
    mp3("music/rock/a.mp3", "Alpha");
    temp.write("music/rock/notes.txt", "not a song");
    temp.write("music/party.m3u", "rock/a.mp3\nrock/gone.mp3\nrock/notes.txt\n");
    pathScan = music;
    label.clear();
    folder(music, "Cdm3u", {"party.m3u"});
    import();
    tree.clear();
    folder(music + "rock/", "Cdmp3", {"a.mp3"});
    import();

    const QString columns = "SELECT file, title, artist, album, size, time FROM Mp3 ";
    const QList<QVariantList> track = rows(columns + "WHERE file = 'a.mp3' ORDER BY id");
    ASSERT_EQ(track.size(), 2);
    EXPECT_EQ(track[0], track[1]);
    EXPECT_EQ(track[0].mid(0, 3), (QVariantList{"a.mp3", "Alpha", "Band"}));
    EXPECT_FALSE(track[0][5].isNull());
    EXPECT_EQ(rows("SELECT file FROM Mp3 WHERE title IS NULL AND size IS NULL AND time IS NULL "
                   "ORDER BY id"),
              (QList<QVariantList>{{"gone.mp3"}, {"notes.txt"}}));
}

TEST_F(ScanImport, PlaylistsGoToTheListOfTheirOwnVolume) {
    const QString cd = root + "cd/";
    drives.addDrive(cd, DriveType::CdRom, "SUMMER");
    pathScan = cd;
    // The lists, with their volume's label and name, and their entries.
    const QString query = "SELECT CD.label, CD.name, M3u.file, Mp3.file FROM Mp3 "
                          "JOIN M3u ON M3u.id = Mp3.m3u_id JOIN CD ON CD.id = M3u.cd_id "
                          "ORDER BY CD.label, M3u.file";
    // Two folders of one disc: both folder nodes show the disc's name and one file.
    tree.clear();
    temp.write("cd/a/one.m3u", "x.mp3\n");
    temp.write("cd/b/two.m3u", "y.mp3\n");
    label = "Disc A";
    folder(cd + "a/", "Cdm3u", {"one.m3u"}, label);
    folder(cd + "b/", "Cdm3u", {"two.m3u"}, label);
    import();
    // Then another disc in the same drive, with a playlist of the same name and path.
    tree.clear();
    temp.write("cd/a/one.m3u", "z.mp3\n");
    label = "Disc B";
    folder(cd + "a/", "Cdm3u", {"one.m3u"}, label);
    import();

    EXPECT_EQ(rows(query), (QList<QVariantList>{{"Disc A", cd + "a/", "one.m3u", "x.mp3"},
                                                {"Disc A", cd + "b/", "two.m3u", "y.mp3"},
                                                {"Disc B", cd + "a/", "one.m3u", "z.mp3"}}));
}

TEST_F(ScanImport, SecondRunWritesNothingAndEmptyTreeNothingAtAll) {
    mp3("music/rock/a.mp3", "Alpha");
    mp3("music/rock/b.mp3", "Beta");
    temp.write("music/party.m3u", "rock/a.mp3\nrock/b.mp3\n");
    const QString music = root + "music/";
    folder(music + "rock/", "Cdmp3", {"a.mp3", "b.mp3"});
    folder(music, "Cdm3u", {"party.m3u"});

    import();
    const QList<QVariantList> once = contents();
    const ScanImportResult again = import();
    EXPECT_EQ(contents(), once);
    EXPECT_EQ(again.volumes + again.lists + again.tracks, 0);

    tree.clear();
    QStringList statuses;
    const ScanImportResult empty = import({{}, [&](const QString& s) { statuses << s; }, {}});
    EXPECT_EQ(contents(), once);
    EXPECT_EQ(empty.nodes, 0);
    EXPECT_EQ(statuses, QStringList{"Added 0 files"});
}

TEST_F(ScanImport, AwkwardNamesReadBackExactly) {
    // Quotes, a line break, a doubled quote and a lone surrogate (what an invalid UTF-8 byte
    // in a name can become) must neither break a statement nor change what is stored.
    const QString lone = QString(QChar(0xD800));
    const struct {
        QString folder;
        QString file;
        QString storedFile; // the name as the catalog can hold it
    } cases[] = {
        {"Rock 'n' Roll/", "it's.mp3", "it's.mp3"},
        {"two\nlines/", "a''b.mp3", "a''b.mp3"},
        {"odd/", "x" + lone + ".mp3", "x\uFFFD.mp3"},
    };
    const QString music = root + "music/";
    for (const auto& c : cases) {
        mp3("music/" + c.folder + c.storedFile, "T'itle\n2");
        ScanNode& node =
            tree.addRoot(music + c.folder, music + c.folder, ScanNodeKind::SoundFolder);
        tree.addChild(node, music + c.folder + c.file, c.file, ScanNodeKind::SoundFile);
    }

    import();

    EXPECT_EQ(rows("SELECT name FROM CD"), (QList<QVariantList>{{music}}));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM M3u WHERE file = '" +
                         QString(c.folder).replace("'", "''") + "'")
                      .toInt(),
                  1);
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Mp3 WHERE file = '" +
                         QString(c.storedFile).replace("'", "''") + "'")
                      .toInt(),
                  1);
    }
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Mp3 WHERE title = 'T''itle\n2'").toInt(), 3);
    if (!OnServer()) {
        EXPECT_EQ(scalar("PRAGMA integrity_check").toString(), "ok");
    }
}

} // namespace
} // namespace tarl
