// The program killed with SIGKILL at random moments of its writes: afterwards each file is its old
// or its new version, the catalog passes its integrity check, and the write run again completes
// with no row twice. TARL_KILL_ROUNDS sets the rounds of each loop (10 unless set).
#include "KillVictim.h"
#include "catalog/engine/CatalogFile.h"
#include "history/HistoryFile.h"
#include "platform/IniProfile.h"
#include "state/SettingKeys.h"
#include "support/Id3Builder.h"
#include "support/TempDir.h"

#include <QLocale>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>

namespace tarl::test {
namespace {

class KillTest : public ::testing::Test {
protected:
    // A delay from 0 to `upTo` milliseconds.
    static int delay(qint64 upTo) {
        return static_cast<int>(KillRandom()() % static_cast<unsigned>(upTo + 1));
    }
    // Kills `operation` `KillRounds()` times, `upTo` milliseconds after it began at most,
    // calling `before` ahead of each round and `check` after each kill, and says how many rounds
    // the kill came before the end.
    void killRounds(const QString& operation, qint64 upTo, const std::function<void()>& before,
                    const std::function<void()>& check) {
        std::cout << operation.toStdString() << ": killed up to " << upTo << " ms after it began\n";
        int killed = 0;
        for (int round = 0; round < KillRounds(); ++round) {
            SCOPED_TRACE("round " + std::to_string(round));
            before();
            const VictimRun run = KillVictim(operation, dir.path(), delay(upTo));
            ASSERT_TRUE(run.killed || run.exitCode == 0) << run.errors.toStdString();
            killed += run.killed ? 1 : 0;
            check();
            if (HasFatalFailure())
                return;
        }
        std::cout << operation.toStdString() << ": " << killed << " of " << KillRounds()
                  << " rounds killed before the end\n";
    }
    void expectCompletes(const QString& operation) {
        const VictimRun run = RunVictim(operation, dir.path());
        EXPECT_FALSE(run.killed);
        EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    }
    // Beside `file`, at most the new file of the write the kill interrupted, which the next
    // write removes.
    static void expectAtMostOneLeftover(const QString& folder, const QString& file) {
        QStringList names = FolderNames(folder);
        EXPECT_TRUE(names.removeOne(file));
        EXPECT_LE(names.size(), 1) << names.join(' ').toStdString();
        for (const QString& name : names)
            EXPECT_TRUE(name.startsWith(file + ".partial.")) << name.toStdString();
    }
    QString catalog() const { return dir.file("tarl.mdb"); }
    QString scalar(const QString& query) const { return ScalarSql(catalog(), query).toString(); }
    void expectIntegrity() const { EXPECT_EQ(scalar("PRAGMA integrity_check"), "ok"); }
    // An empty catalog at `file` holding `sql`'s rows, closed (no journal beside it).
    static void makeCatalog(const QString& file, const QString& sql) {
        ASSERT_TRUE(CreateCatalog(file));
        ASSERT_EQ(ExecSql(file, "BEGIN; " + sql + " COMMIT;"), QString());
    }

    TempDir dir;
    TempDir templates;
};

TEST_F(KillTest, SettingsAreTheOldOrTheNewFile) {
    QByteArray before =
        "; written by hand\r\n[Dimensions]\r\nWidth=11000\r\n[Player]\r\nVolume=0\r\n";
    for (int i = 0; i < 200; ++i)
        before += "[Section" + QByteArray::number(i) + "]\r\nKey=Caf\xE9 value\r\n";
    dir.write("tarl.ini", before);
    const QList<QByteArray> versions = {before,
                                        IniProfile::withValue(before, "Player", "Volume", "1"),
                                        IniProfile::withValue(before, "Player", "Volume", "2")};

    killRounds(
        "settings", 30, [] {},
        [&] {
            EXPECT_TRUE(versions.contains(dir.read("tarl.ini")));
            expectAtMostOneLeftover(dir.path(), "tarl.ini");
        });
    expectCompletes("settings");
    EXPECT_EQ(dir.read("tarl.ini"), versions[1]);
    // A value already there costs no write, so the next one that changes removes the leftover.
    ASSERT_TRUE(IniProfile().write(dir.file("tarl.ini"), "Player", "Volume", "3"));
    EXPECT_EQ(FolderNames(dir.path()), QStringList{"tarl.ini"});
}

TEST_F(KillTest, TheHistoryIsTheOldOrTheNewFile) {
    const auto play = [&](const QString& ini, const HistoryRecord& r) {
        IniProfile profile;
        const QString file = dir.file(ini);
        ASSERT_TRUE(profile.write(file, keys::Player, keys::Mp3Folder.name, r.folder));
        ASSERT_TRUE(profile.write(file, keys::Player, keys::Mp3Index.name, r.index));
        ASSERT_TRUE(profile.write(file, keys::Player, keys::Mp3Song.name, r.song));
        ASSERT_TRUE(profile.write(file, keys::Player, keys::Mp3Position.name, r.position));
    };
    // The victim's clock stands still (tests/support/FakeClock).
    const QDateTime now(QDate(2026, 1, 2), QTime(3, 4, 5));
    const QString date = QLocale::system().toString(now.date(), QLocale::ShortFormat);
    const QString time = QLocale::system().toString(now.time(), QLocale::ShortFormat);
    const HistoryRecord a{date, time, "/music/A/", "1", "a.mp3", "61"};
    const HistoryRecord b{date, time, "/music/Ba|nd/", "7", "b.mp3", "5"};
    play("a.ini", a);
    play("b.ini", b);
    const QByteArray lineA = HistoryLine(a).toUtf8() + "\r\n";
    const QByteArray lineB = HistoryLine(b).toUtf8() + "\r\n";
    QByteArray older; // older folders, so a write has some length
    for (int i = 0; i < 300; ++i)
        older +=
            HistoryLine({date, time, "/music/old" + QString::number(i) + "/", "0", "x.mp3", "1"})
                .toUtf8() +
            "\r\n";
    dir.write("history/TARLhistory.tlh", lineB + lineA + older);
    const QList<QByteArray> versions = {lineA + lineB + older, lineB + lineA + older};

    killRounds(
        "history", 30, [] {},
        [&] {
            EXPECT_TRUE(versions.contains(dir.read("history/TARLhistory.tlh")));
            expectAtMostOneLeftover(dir.file("history"), "TARLhistory.tlh");
        });
    expectCompletes("history");
    EXPECT_EQ(FolderNames(dir.file("history")), QStringList{"TARLhistory.tlh"});
    EXPECT_EQ(dir.read("history/TARLhistory.tlh"), versions[0]);
}

TEST_F(KillTest, AStyleDragKeepsEveryListOnceUnderOneStyle) {
    QString rows = "INSERT INTO Nick (id, nick) VALUES (1, 'Rock'), (2, 'Pop'); "
                   "INSERT INTO CD (id, name) VALUES (1, '/music/');";
    for (int list = 1; list <= 300; ++list)
        rows += QString(" INSERT INTO M3u (path, file, cd_id, nick) VALUES ('/music/%1/', "
                        "'l''%1.m3u', 1, 0);")
                    .arg(list);
    makeCatalog(catalog(), rows);

    killRounds(
        "style", 300, [] {},
        [&] {
            expectIntegrity();
            EXPECT_EQ(scalar("SELECT COUNT(*) FROM M3u"), "300");
            EXPECT_EQ(scalar("SELECT COUNT(*) FROM M3u WHERE nick NOT IN (0, 1, 2)"), "0");
        });
    expectCompletes("style");
    expectIntegrity();
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM M3u WHERE nick = 1"), "300");
    EXPECT_EQ(scalar("SELECT COUNT(DISTINCT path || file) FROM M3u"), "300");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Nick"), "2");
}

// Rows stored twice, and rows naming a list or a volume that is not there.
const char* const kDuplicatesAndOrphans =
    "SELECT (SELECT COUNT(*) FROM (SELECT 1 FROM CD GROUP BY name HAVING COUNT(*) > 1)) "
    "+ (SELECT COUNT(*) FROM (SELECT 1 FROM M3u GROUP BY path, file HAVING COUNT(*) > 1)) "
    "+ (SELECT COUNT(*) FROM (SELECT 1 FROM Mp3 GROUP BY m3u_id, path, file "
    "HAVING COUNT(*) > 1)) "
    "+ (SELECT COUNT(*) FROM Mp3 WHERE m3u_id NOT IN (SELECT id FROM M3u)) "
    "+ (SELECT COUNT(*) FROM M3u WHERE cd_id NOT IN (SELECT id FROM CD))";
const char* const kRowCounts = "SELECT (SELECT COUNT(*) FROM CD) || ' ' || (SELECT COUNT(*) FROM "
                               "M3u) || ' ' || (SELECT COUNT(*) FROM Mp3)";

TEST_F(KillTest, AnImportFromTheScanWindowKeepsWholeBatches) {
    // Enough tracks for several batches (a thousand nodes each).
    for (int album = 0; album < 40; ++album) {
        for (int track = 0; track < 50; ++track)
            dir.write(QString("music/album%1/t%2.mp3").arg(album).arg(track),
                      Id3Builder(3)
                          .text("TIT2", "Track " + QString::number(track), Id3Enc::Utf16)
                          .text("TPE1", "Band " + QString::number(album))
                          .audio(2)
                          .build());
    }
    const QString empty = templates.file("empty.mdb");
    makeCatalog(empty, "");
    ASSERT_TRUE(ReplaceCatalog(empty, catalog()));
    const VictimRun clean = RunVictim("import", dir.path());
    ASSERT_EQ(clean.exitCode, 0) << clean.errors.toStdString();
    const QString counts = scalar(kRowCounts);
    EXPECT_EQ(counts, "1 40 2000");

    killRounds(
        "import", clean.goToEnd, [&] { ASSERT_TRUE(ReplaceCatalog(empty, catalog())); },
        [&] {
            expectIntegrity();
            EXPECT_EQ(scalar(kDuplicatesAndOrphans), "0");
            expectCompletes("import");
            EXPECT_EQ(scalar(kRowCounts), counts);
            EXPECT_EQ(scalar(kDuplicatesAndOrphans), "0");
        });
}

TEST_F(KillTest, ASearchIndexBuildGoesOnWhereItStopped) {
    QString rows = "INSERT INTO CD (id, name) VALUES (1, '/music/');";
    for (int list = 1; list <= 100; ++list)
        rows += QString(" INSERT INTO M3u (id, path, file, cd_id) VALUES (%1, '/music/%1/', "
                        "'Ørsted %1.m3u', 1);")
                    .arg(list);
    for (int track = 1; track <= 10000; ++track)
        rows += QString(" INSERT INTO Mp3 (m3u_id, file, path, album, title, artist, genre) VALUES "
                        "(%1, 'Track %2.mp3', '/music/%1/', 'Album %1', 'Straße Nº %2', "
                        "'Band %1', 'Rock');")
                    .arg(1 + track % 100)
                    .arg(track);
    const QString before = templates.file("before.mdb");
    makeCatalog(before, rows);
    ASSERT_TRUE(ReplaceCatalog(before, catalog()));
    const VictimRun clean = RunVictim("index", dir.path());
    ASSERT_EQ(clean.exitCode, 0) << clean.errors.toStdString();
    const char* const current =
        "SELECT (SELECT COUNT(*) FROM SearchTrackText) || ' ' || (SELECT COUNT(*) FROM "
        "SearchListText) || ' ' || (SELECT COUNT(*) FROM SearchStale)";
    EXPECT_EQ(scalar(current), "10000 100 0");

    killRounds(
        "index", clean.goToEnd, [&] { ASSERT_TRUE(ReplaceCatalog(before, catalog())); },
        [&] {
            expectIntegrity();
            expectCompletes("index");
            expectIntegrity();
            EXPECT_EQ(scalar(current), "10000 100 0");
            EXPECT_EQ(scalar(kRowCounts), "1 100 10000");
        });
}

} // namespace
} // namespace tarl::test
