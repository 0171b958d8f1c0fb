// The settings file, the history and a catalog on a file system that fills up: a 1 MB tmpfs the
// test mounts (as root; skipped otherwise). Every write that cannot be made says the disc is full
// and fails; what was stored before stays whole.
#include "KillVictim.h"
#include "catalog/engine/CatalogFile.h"
#include "dialogs/ScanWindow.h"
#include "history/HistoryFile.h"
#include "platform/IniProfile.h"
#include "scan/ScanImport.h"
#include "scan/ScanNode.h"
#include "scan/ScanTree.h"
#include "state/AppState.h"
#include "support/Id3Builder.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "support/TestServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <iostream>
#include <sys/mount.h>
#include <unistd.h>

namespace tarl::test {
namespace {

class FullDisc : public ::testing::Test {
protected:
    void SetUp() override {
        if (geteuid() != 0) {
            GTEST_SKIP() << "mounting a tmpfs needs root";
        }
        disc = temp.file("disc");
        ASSERT_TRUE(QDir().mkpath(disc));
        if (mount("tmpfs", disc.toLocal8Bit().constData(), "tmpfs", 0, "size=1m") != 0) {
            GTEST_SKIP() << "cannot mount a tmpfs here";
        }
        mounted = true;
    }
    void TearDown() override {
        if (mounted) {
            EXPECT_EQ(umount2(disc.toLocal8Bit().constData(), MNT_DETACH), 0);
        }
    }
    QString onDisc(const QString& name) const { return disc + u'/' + name; }
    // Fills the disc but `spare` bytes with a file of its own.
    void fill(qint64 spare = 0) {
        QFile filler(onDisc("filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }
        while (filler.write("x", 1) == 1) {
        }
        filler.close();
        ASSERT_TRUE(filler.resize(qMax<qint64>(0, filler.size() - spare)));
    }
    void makeRoom() { ASSERT_TRUE(QFile::remove(onDisc("filler"))); }
    static QByteArray read(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
    }

    TempDir temp;
    QString disc;
    bool mounted = false;
};

// "The disc is full: ...", "The disc holding ... is full".
MATCHER(SaysTheDiscIsFull, "says the disc is full") {
    return arg.contains(QLatin1String("disc"), Qt::CaseInsensitive) &&
           arg.contains(QLatin1String("is full"));
}

TEST_F(FullDisc, ASettingsWriteFailsSayingSoAndKeepsTheFile) {
    IniProfile profile;
    const QString file = onDisc("tarl.ini");
    ASSERT_TRUE(profile.write(file, "Player", "Volume", "50"));
    ASSERT_TRUE(profile.write(file, "Player", "Mp3folder", "/music/"));
    const QByteArray before = read(file);
    fill();

    QString error;
    EXPECT_FALSE(profile.write(file, "Player", "Mp3folder", QString(2000, u'x'), &error));
    EXPECT_THAT(error, SaysTheDiscIsFull()) << error.toStdString();
    EXPECT_EQ(read(file), before);
    EXPECT_EQ(profile.read(file, "Player", "Volume"), "50");
    EXPECT_EQ(FolderNames(disc), (QStringList{"filler", "tarl.ini"}));
}

TEST_F(FullDisc, AHistoryRecordFailsSayingSoAndKeepsTheHistory) {
    TestServices services;
    AppState state{services.services()};
    state.programFolder = disc + u'/';
    state.settings.setPath(onDisc("tarl.ini"));
    for (int i = 0; i < 20; ++i) {
        state.settings.write(keys::Mp3Folder, "/music/" + QString::number(i) + "/");
        ASSERT_TRUE(RecordHistory(state));
    }
    const QString history = HistoryFilePath(state.programFolder);
    const QByteArray before = read(history);
    state.settings.write(keys::Mp3Folder, "/music/new/" + QString(2000, u'x') + "/");
    fill();

    const Result<> recorded = RecordHistory(state);
    EXPECT_FALSE(recorded.ok);
    EXPECT_THAT(recorded.error, SaysTheDiscIsFull()) << recorded.error.toStdString();
    EXPECT_EQ(read(history), before);
    EXPECT_EQ(ReadHistory(history).size(), 20);
    EXPECT_EQ(FolderNames(disc + "/history"), QStringList{"TARLhistory.tlh"});
}

class FullDiscImport : public FullDisc {
protected:
    void SetUp() override {
        FullDisc::SetUp();
        if (IsSkipped())
            return;
        drives.addDrive("/", DriveType::Fixed);
        catalogFile = onDisc("tarl.mdb");
        ASSERT_TRUE(CreateCatalog(catalogFile));
    }
    // `albums` folders of `tracks` tagged tracks each, off the small disc, in a scan tree.
    void music(const QString& name, int albums, int tracks) {
        for (int album = 0; album < albums; ++album) {
            const QString folder = temp.file(name + "/album" + QString::number(album) + "/");
            ScanNode& node = tree.addRoot(folder, folder, ScanNodeKind::SoundFolder);
            for (int track = 0; track < tracks; ++track) {
                const QString file = "t" + QString::number(track) + ".mp3";
                temp.write(name + "/album" + QString::number(album) + "/" + file,
                           Id3Builder(3)
                               .text("TIT2", "A title long enough to take room " +
                                                 QString::number(track) + QString(60, u'x'))
                               .text("TPE1", "Band " + QString::number(album))
                               .audio(2)
                               .build());
                tree.addChild(node, folder + file, file, ScanNodeKind::SoundFile);
            }
        }
    }
    ScanImportResult import(const ScanImportBatching& batching = {}) {
        Catalog catalog;
        if (!catalog.connection.open(catalogFile))
            return {};
        QString label = "EOF";
        return ImportScanTree(catalog, drives, tree, label, {}, {}, batching);
    }
    QString scalar(const QString& query) const { return ScalarSql(catalogFile, query).toString(); }

    FakeDrives drives;
    ScanTree tree;
    QString catalogFile;
};

TEST_F(FullDiscImport, StopsAtTheBatchThatDoesNotFitAndKeepsEveryRowBefore) {
    music("before", 3, 20);
    ASSERT_FALSE(import().failed());
    const QString stored = "SELECT group_concat(path || file || title, '|') FROM (SELECT * FROM "
                           "Mp3 WHERE id <= 60 ORDER BY id)";
    const QString before = scalar(stored);
    ASSERT_EQ(scalar("SELECT COUNT(*) FROM Mp3"), "60");

    tree.clear();
    music("after", 10, 30);
    fill(200 * 1024);
    const ScanImportBatching batches{31, 1000000}; // an album and its tracks
    const ScanImportResult full = import(batches);
    ASSERT_TRUE(full.failed());
    EXPECT_THAT(full.failure, SaysTheDiscIsFull()) << full.failure.toStdString();
    EXPECT_GT(full.nodesWritten, 0);
    EXPECT_LT(full.nodesWritten, full.nodes);
    EXPECT_EQ(full.nodesWritten % 31, 0) << "a batch was written in part";

    EXPECT_EQ(scalar("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(scalar(stored), before);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Mp3").toInt(), 60 + full.nodesWritten / 31 * 30);

    makeRoom();
    const ScanImportResult rerun = import(batches);
    EXPECT_FALSE(rerun.failed()) << rerun.failure.toStdString();
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Mp3"), "360");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM (SELECT 1 FROM Mp3 GROUP BY path, file "
                     "HAVING COUNT(*) > 1)"),
              "0");
}

// A written-ahead catalog needs room for its shared-memory companion even to be read.
TEST_F(FullDiscImport, ACatalogThatCannotBeOpenedForTheFullDiscSaysSo) {
    fill();
    Catalog catalog;
    if (catalog.connection.open(catalogFile))
        GTEST_SKIP() << "the companion file found room";
    EXPECT_THAT(catalog.connection.lastError(), SaysTheDiscIsFull())
        << catalog.connection.lastError().toStdString();
    makeRoom();
    EXPECT_TRUE(catalog.connection.open(catalogFile));
}

// The scan window's box says why the import stopped.
TEST_F(FullDiscImport, TheScanWindowSaysTheDiscIsFull) {
    for (int track = 0; track < 30; ++track)
        temp.write("music/t" + QString::number(track) + ".mp3", Id3Builder(3).audio(2).build());
    TestServices services;
    services.drives.addDrive(temp.path() + u'/', DriveType::Fixed);
    AppState state{services.services()};
    ASSERT_TRUE(state.catalog.connection.open(catalogFile));
    ScanWindow window{state};
    window.pathScan->setText(temp.file("music/"));
    window.collectOptions[1]->setChecked(true); // sound files
    window.scanClicked();
    fill();

    window.addToCatalogClicked();
    ASSERT_EQ(services.ui.transcript.size(), 1u);
    EXPECT_EQ(services.ui.transcript[0].icon, MsgIcon::Critical);
    EXPECT_THAT(services.ui.transcript[0].text, SaysTheDiscIsFull())
        << services.ui.transcript[0].text.toStdString();
}

} // namespace
} // namespace tarl::test
