// What other connections, other programs and planted names can do to a catalog file and its
// copies: nothing that loses a write or touches a file that is not the catalog's.
#include "RawSqlite.h"
#include "StylesOf.h"
#include "catalog/engine/CatalogFile.h"
#include "catalog/engine/Connection.h"
#include "catalog/engine/Recordset.h"
#include "catalog/maintenance/CatalogBackup.h"
#include "catalog/maintenance/CatalogCheck.h"
#include "catalog/maintenance/CatalogCopy.h"
#include "catalog/maintenance/CatalogRestore.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "support/TmpfsMount.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tarl {
namespace {

// Whether another process finds a lock of this one on `file`: a child asks the system, since a
// process is never told of its own locks.
bool OthersSeeALock(const QString& file) {
    const QByteArray name = QFile::encodeName(file);
    const pid_t child = ::fork();
    if (child == 0) {
        const int fd = ::open(name.constData(), O_RDONLY);
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        const bool locked = fd >= 0 && ::fcntl(fd, F_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
        ::_exit(locked ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

const auto& Styles = test::StylesOf;

class CatalogFilesSafety : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateCatalog(file));
        ASSERT_TRUE(window.open(file));
    }
    void addStyle(Connection& c, const QString& name) {
        ASSERT_TRUE(c.execute(QStringLiteral("INSERT INTO Nick (nick) VALUES ('%1')").arg(name)));
    }

    test::TempDir temp;
    QString file = temp.file("cat.mdb");
    Connection window;
};

TEST_F(CatalogFilesSafety, TheWindowKeepsItsLockWhileOtherWorkOpensAndClosesTheCatalog) {
    const struct {
        const char* name;
        std::function<bool()> work;
    } cases[] = {
        {"a search's connection",
         [&] {
             Connection search;
             return search.open(file);
         }},
        {"a backup of the file", [&] { return BackupCatalogFile(file, temp.file("b.mdb")).ok; }},
        {"the full check", [&] { return CheckCatalog(file, CheckDepth::Full).ok; }},
        {"a copy", [&] { return CopyCatalog(file, temp.file("copy.mdb"), true, {}).ok; }},
        {"a refused restore", [&] { return !RestoreCatalog(temp.file("b.mdb"), file, "x").ok; }},
    };
    ASSERT_TRUE(OthersSeeALock(file)) << "an open catalog is locked for reading";
    for (const auto& c : cases) {
        ASSERT_TRUE(c.work()) << c.name;
        EXPECT_TRUE(OthersSeeALock(file)) << c.name;
    }
}

TEST_F(CatalogFilesSafety, ARestoreIsRefusedWhileAnotherConnectionHasTheCatalogOpen) {
    addStyle(window, "old");
    const QString copy = temp.file("copy.mdb");
    ASSERT_TRUE(BackupCatalog(window, copy));
    addStyle(window, "new");

    const Result<QString> refused = RestoreCatalog(copy, file, "replaced");
    EXPECT_FALSE(refused);
    EXPECT_TRUE(refused.error.contains("has it open")) << refused.error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(file + ".replaced"));
    addStyle(window, "after");
    window.close();
    EXPECT_EQ(Styles(file), "old,new,after");
    ASSERT_TRUE(RestoreCatalog(copy, file, "replaced"));
    EXPECT_EQ(Styles(file), "old");
}

TEST_F(CatalogFilesSafety, APlantedLinkIsNeverWrittenThrough) {
    const QByteArray thesis(57000, 't');
    const QString victim = temp.write("thesis.odt", thesis);
    const QString copy = temp.file("copy.mdb");
    ASSERT_TRUE(BackupCatalog(window, copy));
    // Every fixed name a copy was once written under, planted as a link to the victim.
    for (const QString& planted : {file + ".bak1.partial", copy + ".partial", file + ".restoring",
                                   file + ".restoring.partial"})
        ASSERT_TRUE(QFile::link(victim, planted)) << planted.toStdString();
    ASSERT_TRUE(RotateBackups(window));
    ASSERT_TRUE(BackupCatalog(window, temp.file("second.mdb")));
    window.close();
    ASSERT_TRUE(RestoreCatalog(copy, file, "replaced"));
    EXPECT_EQ(temp.read("thesis.odt"), thesis);
    EXPECT_FALSE(QFileInfo(file).isSymLink());
}

TEST_F(CatalogFilesSafety, ANamedBackupReplacesOnlyAnEarlierCatalogUnlessForced) {
    const QString notes = temp.write("notes.txt", "my notes\n");
    const Result<> refused = BackupCatalog(window, notes);
    EXPECT_FALSE(refused);
    EXPECT_TRUE(refused.error.contains("is not a Tarl catalog")) << refused.error.toStdString();
    EXPECT_EQ(temp.read("notes.txt"), "my notes\n");
    const QString earlier = temp.file("earlier.mdb");
    ASSERT_TRUE(BackupCatalog(window, earlier));
    EXPECT_TRUE(BackupCatalog(window, earlier)) << "an earlier backup is replaced";
    EXPECT_TRUE(BackupCatalog(window, notes, ExistingFile::Replace));
    EXPECT_EQ(Styles(notes), "");
}

TEST_F(CatalogFilesSafety, RotationsAtOnceAllSucceedAndNothingNewMovesNothing) {
    addStyle(window, "one");
    std::vector<Result<QString>> results(4);
    {
        std::vector<std::thread> rotations;
        for (Result<QString>& result : results)
            rotations.emplace_back([&] { result = RotateBackupsOfFile(file); });
        for (std::thread& rotation : rotations)
            rotation.join();
    }
    for (const Result<QString>& result : results)
        EXPECT_TRUE(result) << result.error.toStdString();
    // Read as another program would: opening a copy as a catalog makes it written ahead.
    const auto stylesIn = [&](int n) {
        return test::RawSqlite(file + ".bak" + QString::number(n)).dump("Nick").count('\n');
    };
    EXPECT_EQ(stylesIn(1), 1);
    // A rotation of an unchanged catalog pushes no older copy out.
    const auto backups = [&] { return QDir(temp.path()).entryList({"*.bak*"}, QDir::Files); };
    const QStringList before = backups();
    ASSERT_TRUE(RotateBackups(window));
    EXPECT_EQ(backups(), before);
    addStyle(window, "two");
    ASSERT_TRUE(RotateBackups(window));
    EXPECT_EQ(stylesIn(1), 2);
    EXPECT_EQ(stylesIn(2), 1);
    EXPECT_EQ(QDir(temp.path()).entryList({"*partial*"}, QDir::Files | QDir::System),
              QStringList());
}

TEST(CatalogOnReadOnlyMedia, AWrittenAheadCatalogOpensForReadingWithANote) {
    test::TempDir temp;
    const QString disc = temp.file("disc");
    ASSERT_TRUE(QDir().mkpath(disc));
    const test::TmpfsMount mount(disc, "4m");
    if (!mount.mounted())
        GTEST_SKIP() << "mounting a tmpfs needs root";
    const QString file = disc + "/cat.mdb";
    ASSERT_TRUE(CreateCatalog(file));
    {
        Connection writer;
        ASSERT_TRUE(writer.open(file));
        ASSERT_TRUE(writer.execute("INSERT INTO Nick (nick) VALUES ('Rock')"));
    }
    ASSERT_EQ(::mount("tmpfs", QFile::encodeName(disc).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY,
                      nullptr),
              0);
    Connection reader;
    ASSERT_TRUE(reader.open(file)) << reader.lastError().toStdString();
    EXPECT_TRUE(reader.isReadOnly());
    EXPECT_TRUE(reader.journalNote().contains("read-only disc"))
        << reader.journalNote().toStdString();
    Recordset rows;
    ASSERT_TRUE(reader.execute("SELECT nick FROM Nick", rows));
    EXPECT_EQ(rows.field(0).toString(), "Rock");
}

} // namespace
} // namespace tarl
