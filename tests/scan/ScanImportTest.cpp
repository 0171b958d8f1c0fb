#include "scan/ScanImport.h"

#include "catalog/ConnectionText.h"
#include "scan/ScanNode.h"
#include "scan/ScanTree.h"
#include "support/CatalogFixture.h"
#include "support/FakeDrives.h"
#include "support/Id3Builder.h"
#include "support/QtPrinters.h"

#include <QVariantList>
#include <csignal>
#include <gtest/gtest.h>

namespace tarl {
namespace {

// A fresh catalog, real MP3 files in the temporary folder (a fixed drive on "/"), and scan trees
// built by hand as the walker builds them.
class ScanImport : public test::CatalogFixture {
protected:
    void SetUp() override {
        CatalogFixture::SetUp();
        drives.addDrive("/", DriveType::Fixed);
        root = temp.path() + "/";
    }

    // An MP3 file with an ID3v2.3 tag holding a title and an artist.
    QString mp3(const QString& relative, const QString& title, const QString& artist = "Band") {
        return temp.write(relative, test::Id3Builder(3)
                                        .text("TIT2", title, test::Id3Enc::Utf16)
                                        .text("TPE1", artist)
                                        .text("TALB", "Album")
                                        .audio(2)
                                        .build());
    }

    // A folder node with one child per file name, as a walk leaves it.
    ScanNode& folder(const QString& key, const QString& tag, const QStringList& names,
                     const QString& text = {}) {
        const bool sound = tag == QLatin1String("Cdmp3");
        ScanNode& node = tree.addRoot(key,
                                      (text.isEmpty() ? key : text) + "   < " +
                                          QString::number(names.size()) + " files >",
                                      tag, 7);
        for (const QString& name : names)
            tree.addChild(node, key + name, name, sound ? "Mp3" : "M3u", sound ? 5 : 1);
        return node;
    }

    ScanImportResult import(const ScanImportHooks& hooks = {},
                            const ScanImportBatching& batching = {}) {
        return AddtrvScanDB(catalog, drives, tree, label, pathScan, hooks, batching);
    }

    QList<QVariantList> rows(const QString& query) {
        QList<QVariantList> result;
        Recordset set;
        EXPECT_TRUE(catalog.connection.execute(query, set))
            << catalog.connection.lastError().toStdString();
        for (; !set.eof(); set.moveNext()) {
            QVariantList row;
            for (int i = 0; i < set.fieldCount(); ++i)
                row << set.field(i).toString();
            result << row;
        }
        return result;
    }

    // Every stored byte and type of the three tables, ids included, to compare imports exactly.
    QList<QVariantList> exactContents() {
        const auto exact = [](const QStringList& columns, const QString& table) {
            QStringList parts;
            for (const QString& column : columns)
                parts << "typeof(" + column + ")"
                      << "hex(" + column + ")";
            return "SELECT " + parts.join(", ") + " FROM " + table + " ORDER BY id";
        };
        return rows(exact({"id", "name", "m3us", "label", "isCd", "labelcd"}, "CD")) +
               rows(exact({"id", "path", "file", "cd_id", "mp3s", "nick"}, "M3u")) +
               rows(exact({"id", "file", "path", "m3u_id", "title", "artist", "album", "year",
                           "genre", "comments", "size", "time", "rating"},
                          "Mp3"));
    }

    // The three tables as text, ids left out, to compare two catalogs' contents.
    QList<QVariantList> contents() {
        return rows("SELECT name, m3us, label, isCd, labelcd FROM CD ORDER BY name") +
               rows("SELECT path, file, mp3s FROM M3u ORDER BY path, file") +
               rows("SELECT path, file, title, artist, album, size FROM Mp3 ORDER BY path, file");
    }

    test::FakeDrives drives;
    ScanTree tree;
    QString root;
    QString label = "EOF";
    QString pathScan;
};

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
        ScanNode& node = tree.addRoot(music + c.folder, music + c.folder, "Cdmp3", 7);
        tree.addChild(node, music + c.folder + c.file, c.file, "Mp3", 5);
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
    EXPECT_EQ(scalar("PRAGMA integrity_check").toString(), "ok");
}

TEST_F(ScanImport, PreparedImportWritesTheRowsOfTheLiteralOne) {
    // Names, labels, tag values and playlist entries that the literal statements quote, cut or
    // replace: quotes, a doubled quote, a line break, a NUL (the rest is cut), a lone surrogate
    // and a pair. A CD volume (label and volume label), hard-disc volumes, folder lists, playlist
    // lists and their entries: every row the import writes.
    const QString lone = QString(QChar(0xD800));
    const QString pair = QString::fromUtf16(u"\U0001F3B5");
    const QString nul = QString(QChar(u'\0'));
    const QString music = root + "music/";
    const QString cd = root + "cd/";
    const QString discName = "Disc 'O''ne\n" + lone + pair + nul + "cut";
    drives.addDrive(cd, DriveType::CdRom, "VOL'S ''" + pair);
    pathScan = cd;

    // The CD first: the hard-disc folders after it turn the label into "EOF".
    temp.write("cd/on'disc.mp3", test::Id3Builder(3).text("TIT2", "Disc's").audio(2).build());
    ScanNode& disc = tree.addRoot(cd, discName, "Cdmp3", 7);
    tree.addChild(disc, cd + "on'disc.mp3", "on'disc.mp3", "Mp3", 5);
    tree.addChild(disc, cd + "gone" + lone + ".mp3", "gone" + lone + ".mp3", "Mp3", 5);

    const QStringList folders = {"Rock 'n' Roll/",   "a''b/",
                                 "two\nlines/",      "nul" + nul + "cut/",
                                 "odd" + lone + "/", "note" + pair + "/"};
    const QStringList files = {
        "it's.mp3",          "''.mp3",     "x\ny.mp3", "n" + nul + "x.mp3", "l" + lone + ".mp3",
        "p" + pair + ".mp3", "missing.mp3"};
    for (const QString& name : folders) {
        ScanNode& node = tree.addRoot(music + name, music + name, "Cdmp3", 7);
        for (const QString& file : files) {
            // Files that can exist on disc get a tag; the others are imported unread.
            if (!name.contains(nul) && !file.contains(nul) && !(name + file).contains(lone) &&
                file != "missing.mp3")
                temp.write("music/" + name + file,
                           test::Id3Builder(3)
                               .text("TIT2", "T'it''le\n" + pair, test::Id3Enc::Utf16)
                               .text("TPE1", "O'Band")
                               .audio(2)
                               .build());
            tree.addChild(node, music + name + file, file, "Mp3", 5);
        }
    }
    ScanNode& other = tree.addRoot(root + "other/", root + "other/", "Cdmp3", 7);
    tree.addChild(other, root + "other/it's.mp3", "it's.mp3", "Mp3", 5);

    // Two folders of playlists: entries relative, absolute, repeated, with quotes, a NUL, a pair
    // and Windows-1252 bytes (not UTF-8).
    const QByteArray entries = "a'b.mp3\r\nsub/x''y.mp3\r\n/abs/q'.mp3\r\na'b.mp3\r\n" +
                               pair.toUtf8() + ".mp3\r\nn" + QByteArray(1, '\0') + "ul.mp3\r\n";
    temp.write("lists/it's.m3u", entries);
    temp.write("lists/two\nlines.m3u", "#EXTM3U\n..\\up's.mp3\n");
    temp.write("lists/" + pair + ".m3u", "caf\xe9'.mp3\n");
    temp.write("more'lists/x.m3u", entries + "extra.mp3\n");
    folder(root + "lists/", "Cdm3u", {"it's.m3u", "two\nlines.m3u", pair + ".m3u"});
    folder(root + "more'lists/", "Cdm3u", {"x.m3u"});

    const auto importAs = [&](bool prepared) {
        ScanImportBatching batching;
        batching.prepared = prepared;
        label = discName;
        return import({}, batching);
    };
    const ScanImportResult literal = importAs(false);
    const QList<QVariantList> written = exactContents();
    ASSERT_GT(written.size(), 70);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM CD WHERE isCd = '1' AND labelcd <> ''").toInt(), 1);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM M3u WHERE file LIKE '%.m3u'").toInt(), 4);
    // A prepared rerun over the literal rows finds every one of them.
    const ScanImportResult rerun = importAs(true);
    EXPECT_EQ(rerun.volumes + rerun.lists + rerun.tracks, 0);
    EXPECT_EQ(exactContents(), written);

    run("DELETE FROM Mp3");
    run("DELETE FROM M3u");
    run("DELETE FROM CD");
    run("DELETE FROM sqlite_sequence");
    const ScanImportResult prepared = importAs(true);
    // Only the tag reads of files that cannot exist fail, the same ones both ways.
    EXPECT_EQ(prepared.errorCount, literal.errorCount);
    EXPECT_EQ(prepared.errors, literal.errors);
    EXPECT_FALSE(literal.errors.join(' ').contains("statement"));
    EXPECT_EQ(prepared.volumes, literal.volumes);
    EXPECT_EQ(prepared.lists, literal.lists);
    EXPECT_EQ(prepared.tracks, literal.tracks);
    EXPECT_EQ(exactContents(), written);
    // And a literal rerun finds every prepared row.
    const ScanImportResult literalRerun = importAs(false);
    EXPECT_EQ(literalRerun.volumes + literalRerun.lists + literalRerun.tracks, 0);
    EXPECT_EQ(exactContents(), written);
    EXPECT_EQ(scalar("PRAGMA integrity_check").toString(), "ok");
}

class ScanImportBatches : public ScanImport {
protected:
    void fill(int folders) {
        const QString music = root + "music/";
        for (int f = 0; f < folders; ++f) {
            const QString name = "album" + QString::number(f) + "/";
            QStringList files;
            for (int t = 0; t < 3; ++t) {
                files << "t" + QString::number(t) + ".mp3";
                mp3("music/" + name + files.last(), "Track " + QString::number(t));
            }
            folder(music + name, "Cdmp3", files);
        }
    }

    // The contents a clean import of the same tree gives, in a catalog of its own.
    QList<QVariantList> cleanContents() {
        run("DELETE FROM Mp3");
        run("DELETE FROM M3u");
        run("DELETE FROM CD");
        import();
        return contents();
    }
};

TEST_F(ScanImportBatches, KilledImportKeepsWholeBatchesAndARerunCompletesIt) {
    fill(4); // 16 nodes: each folder node followed by its three tracks
    const ScanImportBatching everyThree{3, 1000000};
    catalog.connection.close();
    // The child opens the catalog on its own and is killed in the middle of its third batch.
    EXPECT_EXIT(
        {
            Catalog own;
            if (!own.connection.open(BuildConnectionText(dbPath)))
                std::_Exit(2);
            int done = 0;
            AddtrvScanDB(own, drives, tree, label, pathScan,
                         {{},
                          {},
                          [&] {
                              if (++done == 8)
                                  std::raise(SIGKILL);
                              return true;
                          }},
                         everyThree);
            std::_Exit(0);
        },
        ::testing::KilledBySignal(SIGKILL), "");
    ASSERT_TRUE(catalog.connection.open(BuildConnectionText(dbPath)));

    EXPECT_EQ(scalar("PRAGMA integrity_check").toString(), "ok");
    // Nodes 1 to 6 were committed: folder 0 with its three tracks, folder 1 with one.
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM CD").toInt(), 1);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM M3u").toInt(), 2);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Mp3").toInt(), 4);

    const ScanImportResult rerun = import({}, everyThree);
    EXPECT_EQ(rerun.tracks, 8);
    const QList<QVariantList> completed = contents();
    EXPECT_EQ(completed, cleanContents());
}

TEST_F(ScanImportBatches, StopCommitsWhatWasDoneAndARerunCompletesIt) {
    fill(3);
    int done = 0;
    const ScanImportResult stopped =
        import({{}, {}, [&] { return ++done < 5; }}, ScanImportBatching{1000, 1000000});
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(stopped.nodesDone, 5);
    EXPECT_EQ(stopped.tracks, 3);
    // The stop commits the open batch: a second connection sees it.
    {
        Catalog other;
        ASSERT_TRUE(other.connection.open(BuildConnectionText(dbPath)));
        Recordset set;
        ASSERT_TRUE(other.connection.execute("SELECT COUNT(*) FROM Mp3", set));
        EXPECT_EQ(set.field(0).toInt(), 3);
    }

    import();
    const QList<QVariantList> completed = contents();
    EXPECT_EQ(completed, cleanContents());
}

// A playlist of `entries` distinct entries in its own folder node.
class ScanImportHugePlaylist : public ScanImport {
protected:
    void SetUp() override {
        ScanImport::SetUp();
        QByteArray text = "#EXTM3U\n";
        for (int i = 0; i < kEntries; ++i)
            text += "album" + QByteArray::number(i / 100) + "/t" + QByteArray::number(i) + ".mp3\n";
        temp.write("lists/big.m3u", text);
        folder(root + "lists/", "Cdm3u", {"big.m3u"});
    }

    qint64 distinctTracks() {
        return scalar("SELECT COUNT(*) FROM (SELECT DISTINCT m3u_id, path, file FROM Mp3)")
            .toLongLong();
    }

    static constexpr int kEntries = 20000;
};

TEST_F(ScanImportHugePlaylist, YieldsWhileTheEntriesOfOnePlaylistAreAdded) {
    for (const bool prepared : {true, false}) {
        SCOPED_TRACE(prepared ? "prepared" : "literal");
        run("DELETE FROM Mp3");
        run("DELETE FROM M3u");
        run("DELETE FROM CD");
        ScanImportBatching batching;
        batching.prepared = prepared;
        int yields = 0;
        const ScanImportResult result = import({{}, {}, [&] { return ++yields > 0; }}, batching);
        EXPECT_EQ(result.tracks, kEntries);
        EXPECT_EQ(result.errorCount, 0) << result.errors.join("; ").toStdString();
        EXPECT_FALSE(result.stopped);
        // Two nodes, each yielding once a pass, and the playlist at least every 500 entries.
        EXPECT_GE(yields, 4 + kEntries / 500 - 1);
    }
}

TEST_F(ScanImportHugePlaylist, StopInsideThePlaylistKeepsItsEntriesAndARerunCompletesIt) {
    int yields = 0;
    // The first pass's two nodes and the second pass's folder node yield three times; the sixth
    // yield, which stops, is inside the playlist, whose node is not done.
    const ScanImportResult stopped = import({{}, {}, [&] { return ++yields < 6; }});
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(yields, 6);
    EXPECT_EQ(stopped.nodesDone, 3);
    EXPECT_GT(stopped.tracks, 0);
    EXPECT_LT(stopped.tracks, kEntries);
    // Nothing was left open: another connection sees the entries added before the stop.
    {
        Catalog other;
        ASSERT_TRUE(other.connection.open(BuildConnectionText(dbPath)));
        Recordset set;
        ASSERT_TRUE(other.connection.execute("SELECT COUNT(*) FROM Mp3", set));
        EXPECT_EQ(set.field(0).toLongLong(), stopped.tracks);
    }

    const ScanImportResult rerun = import();
    EXPECT_EQ(rerun.tracks, kEntries - stopped.tracks);
    EXPECT_EQ(distinctTracks(), kEntries);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM M3u").toInt(), 1);
}

TEST_F(ScanImportHugePlaylist, FailureInsideThePlaylistKeepsTheEntriesBeforeIt) {
    run("CREATE TRIGGER refuse BEFORE INSERT ON Mp3 WHEN NEW.file = 't15000.mp3' "
        "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END");
    int yields = 0;
    const ScanImportResult result = import({{}, {}, [&] { return ++yields > 0; }});
    EXPECT_FALSE(result.stopped);
    EXPECT_EQ(result.errorCount, 1);
    ASSERT_FALSE(result.errors.isEmpty());
    EXPECT_TRUE(result.errors.first().contains("refused by the test"))
        << result.errors.first().toStdString();
    EXPECT_EQ(result.tracks, 15000);
    EXPECT_GE(yields, 4 + 15000 / 500 - 1);
    run("BEGIN"); // no transaction or savepoint was left open
    run("COMMIT");
    EXPECT_EQ(scalar("PRAGMA integrity_check").toString(), "ok");
}

} // namespace
} // namespace tarl
