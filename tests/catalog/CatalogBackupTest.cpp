#include "catalog/maintenance/CatalogBackup.h"
#include "RawSqlite.h"
#include "StylesOf.h"
#include "catalog/engine/CatalogFile.h"
#include "catalog/engine/Connection.h"
#include "catalog/maintenance/CatalogCheck.h"
#include "catalog/maintenance/CatalogRestore.h"
#include "support/DamagedCatalog.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "support/TmpfsMount.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <gtest/gtest.h>
#include <unistd.h>

namespace tarl {
namespace {

const auto& Styles = test::StylesOf;

class CatalogBackupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateCatalog(file));
        ASSERT_TRUE(catalog.open(file));
    }
    void addStyle(const QString& name) {
        ASSERT_TRUE(
            catalog.execute(QStringLiteral("INSERT INTO Nick (nick) VALUES ('%1')").arg(name)));
    }
    QString bak(int n) const { return BackupFileName(file, n); }

    test::TempDir temp;
    QString file = temp.file("tarl.mdb");
    Connection catalog;
};

TEST_F(CatalogBackupTest, EachBackupBeforeAnImportIsNewestFirstAndTheFourthDropsTheOldest) {
    struct Round {
        const char* style;  // added before the backup
        const char* bak[3]; // the styles then in bak1, bak2, bak3 ("" for no file)
    };
    const Round rounds[] = {
        {"one", {"one", "", ""}},
        {"two", {"one,two", "one", ""}},
        {"three", {"one,two,three", "one,two", "one"}},
        {"four", {"one,two,three,four", "one,two,three", "one,two"}},
    };
    for (const Round& round : rounds) {
        SCOPED_TRACE(round.style);
        addStyle(round.style);
        std::vector<int> progress;
        const Result<QString> made = RotateBackups(
            catalog, [&](int copied, int count) { progress.push_back(count - copied); });
        ASSERT_TRUE(made) << made.error.toStdString();
        EXPECT_EQ(made.value, bak(1));
        ASSERT_FALSE(progress.empty());
        EXPECT_EQ(progress.back(), 0); // the last step reports every page copied
        // Journalled in a file of their own: header byte 18 is 1, not the write-ahead 2.
        QFile newest(bak(1));
        ASSERT_TRUE(newest.open(QIODevice::ReadOnly));
        EXPECT_EQ(newest.read(19).at(18), 1);
        for (int n = 1; n <= 3; ++n) {
            const QString expected = QString::fromUtf8(round.bak[n - 1]);
            EXPECT_EQ(QFileInfo::exists(bak(n)) ? Styles(bak(n)) : QString(), expected) << n;
        }
        EXPECT_EQ(NewestBackup(file), bak(1));
    }
    EXPECT_FALSE(QFileInfo::exists(bak(4)));
    // Copies are single files: no log, no part left beside them.
    EXPECT_EQ(QDir(temp.path()).entryList({"*.bak*"}, QDir::Files),
              QStringList({"tarl.mdb.bak1", "tarl.mdb.bak2", "tarl.mdb.bak3"}));
}

TEST_F(CatalogBackupTest, AFailingBackupIsASentenceAndMovesNoOlderCopy) {
    // A catalog whose name leaves no room for the copy's temporary name: the copy cannot be made,
    // as in a folder that cannot be written. Its first copy is put in place by hand.
    catalog.close();
    file = temp.file(QString(230, u'x') + ".mdb");
    ASSERT_TRUE(CreateCatalog(file));
    ASSERT_TRUE(catalog.open(file));
    addStyle("one");
    ASSERT_TRUE(BackupCatalog(catalog, temp.file("one.mdb")));
    ASSERT_TRUE(QFile::rename(temp.file("one.mdb"), bak(1)));
    addStyle("two");
    const Result<QString> made = RotateBackups(catalog);
    EXPECT_FALSE(made);
    EXPECT_TRUE(made.error.startsWith("The backup " + bak(1) + " could not be written: the folder"))
        << made.error.toStdString();
    EXPECT_EQ(Styles(bak(1)), "one");
    EXPECT_FALSE(QFileInfo::exists(bak(2)));

    const Result<> elsewhere = BackupCatalog(catalog, temp.file("missing/copy.mdb"));
    EXPECT_FALSE(elsewhere);
    EXPECT_FALSE(elsewhere.error.isEmpty());
    EXPECT_FALSE(BackupCatalog(catalog, file)) << "a catalog is never copied onto itself";
}

TEST(CatalogBackupOnAFullDisc, TheCopyStopsWithDiscFullAndLeavesNothingHalfWritten) {
    test::TempDir temp;
    const QString disc = temp.file("disc");
    ASSERT_TRUE(QDir().mkpath(disc));
    const test::TmpfsMount mount(disc, "2m");
    if (!mount.mounted())
        GTEST_SKIP() << "mounting a tmpfs needs root";
    const QString file = disc + "/tarl.mdb";
    ASSERT_TRUE(CreateCatalog(file));
    test::FillCatalog(file, 2000);
    // Room for a tenth of the catalog's copy, no more.
    const qint64 room = QStorageInfo(disc).bytesAvailable() - QFileInfo(file).size() / 10;
    ASSERT_GT(room, 0);
    QFile filler(disc + "/filler");
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    ASSERT_EQ(filler.write(QByteArray(room, 'f')), room);
    filler.close();

    Connection catalog;
    ASSERT_TRUE(catalog.open(file));
    const Result<QString> made = RotateBackups(catalog);
    EXPECT_FALSE(made);
    EXPECT_EQ(made.error, "The backup " + file + ".bak1 could not be written: the disc is full.");
    EXPECT_EQ(QDir(disc).entryList({"*.bak*"}, QDir::Files), QStringList());
    catalog.close();
    const Result<QStringList> problems = CheckCatalog(file, CheckDepth::Full);
    EXPECT_TRUE(problems && problems.value.isEmpty());
}

TEST_F(CatalogBackupTest, TheChecksFindDamageInACopyAndNothingInTheCatalog) {
    test::FillCatalog(file, 3000);
    const QString damaged = temp.file("damaged.mdb");
    ASSERT_TRUE(BackupCatalog(catalog, damaged));
    test::DamageMiddlePages(damaged);
    const QString notSqlite = temp.write("notes.mdb", QByteArray(8192, 'x'));
    const QString otherDatabase = temp.file("other.db");
    ASSERT_EQ(test::RawSqlite(otherDatabase).exec({"CREATE TABLE t (x)"}), "");
    struct Case {
        const char* name;
        QString file;
        CheckDepth depth;
        bool sound;
    };
    const Case cases[] = {
        {"sound, quick", file, CheckDepth::Quick, true},
        {"sound, full", file, CheckDepth::Full, true},
        {"damaged, quick", damaged, CheckDepth::Quick, false},
        {"damaged, full", damaged, CheckDepth::Full, false},
        {"not an SQLite file", notSqlite, CheckDepth::Full, false},
        {"another program's database", otherDatabase, CheckDepth::Full, false},
    };
    for (const Case& c : cases) {
        const Result<QStringList> problems = CheckCatalog(c.file, c.depth);
        ASSERT_TRUE(problems) << c.name << ": " << problems.error.toStdString();
        EXPECT_EQ(problems.value.isEmpty(), c.sound)
            << c.name << ": " << problems.value.join('|').toStdString();
    }
    EXPECT_FALSE(CheckCatalog(temp.file("none.mdb"), CheckDepth::Full));
}

TEST_F(CatalogBackupTest, ARestoreKeepsTheCatalogItReplacesAndRefusesADamagedBackup) {
    addStyle("old");
    const QString copy = temp.file("copy.mdb");
    ASSERT_TRUE(BackupCatalog(catalog, copy));
    addStyle("new");
    catalog.close();

    const Result<QString> restored = RestoreCatalog(copy, file, "replaced");
    ASSERT_TRUE(restored) << restored.error.toStdString();
    EXPECT_EQ(restored.value, file + ".replaced");
    EXPECT_EQ(Styles(file), "old");
    EXPECT_EQ(Styles(file + ".replaced"), "old,new");

    // Again: the first one kept is not overwritten.
    ASSERT_TRUE(RestoreCatalog(copy, file, "replaced"));
    EXPECT_TRUE(QFileInfo::exists(file + ".replaced2"));

    test::FillCatalog(copy, 3000);
    test::DamageMiddlePages(copy);
    const Result<QString> refused = RestoreCatalog(copy, file, "replaced");
    EXPECT_FALSE(refused);
    EXPECT_TRUE(refused.error.contains("is not a sound catalog")) << refused.error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(file + ".replaced3"));
    EXPECT_EQ(Styles(file), "old");
}

} // namespace
} // namespace tarl
