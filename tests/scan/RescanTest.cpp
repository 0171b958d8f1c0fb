#include "scan/Rescan.h"

#include "platform/LocalFiles.h"
#include "support/CatalogFixture.h"
#include "support/FakeDrives.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace tarl;

namespace {

class RescanFolder : public test::CatalogFixture {
protected:
    qint64 count(const char* table) {
        return scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table).toLongLong();
    }
    Result<RescanDone> rescan(const QString& folder, const RescanOptions& options = {}) {
        return Rescan({catalog, files, drives, label}, folder, options, steps);
    }

    LocalFiles files;
    test::FakeDrives drives;
    QString label;
    RescanSteps steps;
    QStringList calls;
};

TEST_F(RescanFolder, WalksWithTheChoicesAndImportsWhatItFound) {
    drives.addDrive(temp.path(), DriveType::Fixed);
    for (const char* name : {"music/rock/a.mp3", "music/rock/b.wav", "music/rock/c.mp3"})
        temp.write(name, "x");
    const QString music = temp.file("music");
    steps.walked = [&](const RescanWalk& walk) {
        calls << (walk.cdKey ? "walked, a CD key" : "walked");
    };
    steps.importing = [&](bool running) { calls << (running ? "import" : "imported"); };
    steps.status = [&](int panel, const QString& text) {
        if (panel == 1)
            calls << text;
    };

    RescanOptions onlyMp3;
    onlyMp3.formats = SoundFormats::FromKeys("mp3").value;
    const Result<RescanDone> done = rescan(music, onlyMp3);
    ASSERT_TRUE(done) << done.error.toStdString();
    EXPECT_EQ(calls, QStringList({"Scaning Mp3...", "walked", "import", "imported"}));
    EXPECT_EQ(count("Mp3"), 2);
    EXPECT_FALSE(done.value.stopped);
    // A copy of a file before every import; a server keeps its own.
    EXPECT_EQ(QFileInfo::exists(dbPath + ".bak1"), !OnServer());
    EXPECT_EQ(done.value.backupFailure, "");

    // Run again with every kind: only what is missing is added.
    calls.clear();
    ASSERT_TRUE(rescan(music + "/"));
    EXPECT_EQ(count("Mp3"), 3);
}

TEST_F(RescanFolder, ACdKeyIsNotWalkedAndACdNameDeclinedLeavesTheFolderUnwalked) {
    temp.write("cd/song.mp3", "x");
    drives.addDrive(temp.file("cd/"), DriveType::CdRom, "DISC_1");
    steps.walked = [&](const RescanWalk& walk) {
        calls << (walk.cdKey ? "walked, a CD key" : "walked");
    };
    steps.nameCd = [&] {
        calls << "CD name for " + label;
        return false;
    };

    ASSERT_TRUE(rescan("Rock One:>" + temp.file("cd/")));
    ASSERT_TRUE(rescan(temp.file("cd")));
    EXPECT_EQ(calls, QStringList({"walked, a CD key", "CD name for Disc_1", "walked"}));
    EXPECT_EQ(count("Mp3"), 0);
}

TEST_F(RescanFolder, AStopWhileClosingEndsTheWalkAndShowsNothing) {
    drives.addDrive(temp.path(), DriveType::Fixed);
    for (int i = 0; i < 50; ++i)
        temp.write(QString("music/f%1/s.mp3").arg(i), "x");
    steps.turn = [] { return false; };
    steps.walked = [&](const RescanWalk&) { calls << "walked"; };
    const Result<RescanDone> done = rescan(temp.file("music"));
    EXPECT_TRUE(done.value.stopped);
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_EQ(count("Mp3"), 0);
}

} // namespace
