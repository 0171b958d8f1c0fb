#include "ScanImportFixture.h"
#include "catalog/engine/Recordset.h"

#include <csignal>
#include <gtest/gtest.h>

namespace tarl {
namespace {

using test::ScanImport;

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
            if (!own.connection.open(dbPath))
                std::_Exit(2);
            int done = 0;
            ImportScanTree(own, drives, tree, label, pathScan,
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
    ASSERT_TRUE(catalog.connection.open(dbPath));

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

TEST_F(ScanImportBatches, ARefusedWriteStopsTheImportAndARerunCompletesIt) {
    fill(4); // 16 nodes: each folder node followed by its three tracks, committed two by two
    const QList<QVariantList> clean = cleanContents();
    // A row naming no style, which the engine refuses only at COMMIT.
    run("CREATE TABLE guard (style INTEGER REFERENCES Nick(id) DEFERRABLE INITIALLY DEFERRED)");
    run("PRAGMA foreign_keys = ON");
    const struct {
        const char* name;
        const char* trigger;
        const char* reason;
        int nodesWritten;
        int tracks;
    } cases[] = {
        // album2's second track (node 11) is refused: nodes 1 to 10 were committed.
        {"insert refused",
         "BEFORE INSERT ON Mp3 WHEN NEW.path LIKE '%album2/' AND NEW.file = 't1.mp3' "
         "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END",
         "refused by the test", 10, 7},
        // The batch of nodes 9 and 10, which made album2's list, is refused at its commit: the
        // tracks after it must not go into that list.
        {"commit refused",
         "AFTER INSERT ON Mp3 WHEN NEW.path LIKE '%album2/' AND NEW.file = 't0.mp3' "
         "BEGIN INSERT INTO guard VALUES (12345); END",
         "FOREIGN KEY", 8, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        run("DELETE FROM Mp3");
        run("DELETE FROM M3u");
        run("DELETE FROM CD");
        run(QString("CREATE TRIGGER refuse ") + c.trigger);
        const ScanImportBatching twoByTwo{2, 1000000};
        QStringList statuses;
        const ScanImportResult result =
            import({{}, [&](const QString& text) { statuses << text; }, {}}, twoByTwo);

        EXPECT_TRUE(result.failure.contains(c.reason)) << result.failure.toStdString();
        EXPECT_FALSE(result.stopped);
        EXPECT_EQ(result.errorCount, 0);
        EXPECT_EQ(result.nodesWritten, c.nodesWritten);
        EXPECT_EQ(result.tracks, c.tracks);
        EXPECT_FALSE(statuses.contains("Added 16 files"));
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Mp3").toInt(), c.tracks);
        // Every track is in the list of its own folder (a list id made in a rolled-back
        // batch is missing, or given again to the next list made).
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Mp3 LEFT JOIN M3u ON M3u.id = Mp3.m3u_id "
                         "WHERE M3u.id IS NULL OR Mp3.path <> M3u.path || M3u.file")
                      .toInt(),
                  0);
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM M3u WHERE cd_id NOT IN (SELECT id FROM CD)").toInt(),
                  0);
        run("BEGIN"); // nothing was left open
        run("COMMIT");

        run("DROP TRIGGER refuse");
        const ScanImportResult rerun = import({}, twoByTwo);
        EXPECT_FALSE(rerun.failed()) << rerun.failure.toStdString();
        EXPECT_EQ(rerun.nodesWritten, 16);
        EXPECT_EQ(contents(), clean);
    }
}

TEST_F(ScanImportBatches, AFullDiscIsNamedAndLeavesWholeBatches) {
    fill(30);
    run("PRAGMA max_page_count = 1"); // the catalog cannot grow past the pages it has
    const ScanImportResult result = import({}, ScanImportBatching{20, 1000000});
    EXPECT_TRUE(result.failure.contains("is full")) << result.failure.toStdString();
    EXPECT_EQ(result.nodesWritten % 20, 0);
    EXPECT_LT(result.nodesWritten, 120);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Mp3").toInt(), result.tracks);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Mp3 LEFT JOIN M3u ON M3u.id = Mp3.m3u_id "
                     "WHERE M3u.id IS NULL OR Mp3.path <> M3u.path || M3u.file")
                  .toInt(),
              0);
}

TEST_F(ScanImportBatches, StopCommitsWhatWasDoneAndARerunCompletesIt) {
    fill(3);
    int done = 0;
    const ScanImportResult stopped =
        import({{}, {}, [&] { return ++done < 5; }}, ScanImportBatching{1000, 1000000});
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(stopped.nodesDone, 5);
    EXPECT_EQ(stopped.nodesWritten, 5);
    EXPECT_EQ(stopped.tracks, 3);
    // The stop commits the open batch: a second connection sees it.
    {
        Catalog other;
        ASSERT_TRUE(other.connection.open(dbPath));
        Recordset set;
        ASSERT_TRUE(other.connection.execute("SELECT COUNT(*) FROM Mp3", set));
        EXPECT_EQ(set.field(0).toInt(), 3);
    }

    import();
    const QList<QVariantList> completed = contents();
    EXPECT_EQ(completed, cleanContents());
}

TEST_F(ScanImportBatches, CountsTheRowsItInsertedInCommittedBatchesOnly) {
    fill(4); // 16 nodes, committed two by two; album2's second track is node 11
    // Another writer's rows, written as the import's tracks go in (the order does not matter).
    const QString other = "INSERT INTO CD (name,m3us,label,isCd) VALUES (NEW.id,0,'EOF','0'); "
                          "INSERT INTO M3u (path,file,cd_id,mp3s) VALUES ('/other/',NEW.id,0,0); "
                          "INSERT INTO Mp3 (path,file,m3u_id) VALUES ('/other/',NEW.id,0);";
    const struct {
        const char* name;
        QString trigger;
        int stopAt; // the yield that stops the import; 0: none does
        qint64 volumes, lists, tracks;
    } cases[] = {
        {"rows added beside", "AFTER INSERT ON Mp3 BEGIN " + other + " END", 0, 1, 4, 12},
        {"rows deleted", "AFTER INSERT ON Mp3 BEGIN DELETE FROM Mp3 WHERE path = '/old/'; END", 0,
         1, 4, 12},
        {"rows skipped",
         "BEFORE INSERT ON Mp3 WHEN NEW.file = 't1.mp3' BEGIN SELECT RAISE(IGNORE); END", 0, 1, 4,
         8},
        {"stopped", "AFTER INSERT ON Mp3 BEGIN " + other + " END", 5, 1, 1, 3},
        {"refused",
         "AFTER INSERT ON Mp3 BEGIN " + other +
             " SELECT RAISE(ABORT, 'no') WHERE NEW.path LIKE "
             "'%album2/' AND NEW.file = 't1.mp3'; END",
         0, 1, 3, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* table : {"Mp3", "M3u", "CD"})
            run(QString("DELETE FROM ") + table);
        run("INSERT INTO Mp3 (path,file,m3u_id) VALUES ('/old/','a.mp3',0), ('/old/','b.mp3',0)");
        run("CREATE TRIGGER writer " + c.trigger);
        int yields = 0;
        const ScanImportResult result =
            import({{}, {}, [&] { return ++yields != c.stopAt; }}, ScanImportBatching{2, 1000000});
        run("DROP TRIGGER writer");
        EXPECT_EQ(result.volumes, c.volumes);
        EXPECT_EQ(result.lists, c.lists);
        EXPECT_EQ(result.tracks, c.tracks);
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Mp3 WHERE path LIKE '%album%'").toInt(), c.tracks);
    }
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
    int yields = 0;
    const ScanImportResult result = import({{}, {}, [&] { return ++yields > 0; }});
    EXPECT_EQ(result.tracks, kEntries);
    EXPECT_EQ(result.errorCount, 0) << result.errors.join("; ").toStdString();
    EXPECT_FALSE(result.stopped);
    // Two nodes, each yielding once a pass, and the playlist at least every 500 entries.
    EXPECT_GE(yields, 4 + kEntries / 500 - 1);
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
        ASSERT_TRUE(other.connection.open(dbPath));
        Recordset set;
        ASSERT_TRUE(other.connection.execute("SELECT COUNT(*) FROM Mp3", set));
        EXPECT_EQ(set.field(0).toLongLong(), stopped.tracks);
    }

    const ScanImportResult rerun = import();
    EXPECT_EQ(rerun.tracks, kEntries - stopped.tracks);
    EXPECT_EQ(distinctTracks(), kEntries);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM M3u").toInt(), 1);
}

TEST_F(ScanImportHugePlaylist, ARefusedEntryStopsTheImportAndUndoesItsBatch) {
    run("CREATE TRIGGER refuse BEFORE INSERT ON Mp3 WHEN NEW.file = 't15000.mp3' "
        "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END");
    // One batch for the whole import: the refusal undoes all of it.
    const ScanImportResult result = import({}, ScanImportBatching{1000, 1000000});
    EXPECT_FALSE(result.stopped);
    EXPECT_TRUE(result.failure.contains("refused by the test")) << result.failure.toStdString();
    EXPECT_EQ(result.errorCount, 0);
    EXPECT_EQ(result.nodesWritten, 0);
    EXPECT_EQ(result.volumes + result.lists + result.tracks, 0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Mp3").toInt(), 0);
    run("BEGIN"); // no transaction or savepoint was left open
    run("COMMIT");
    EXPECT_EQ(scalar("PRAGMA integrity_check").toString(), "ok");
}

} // namespace
} // namespace tarl
