#include "platform/LocalFiles.h"

#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "support/TmpfsMount.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarl {

void PrintTo(const FileEntry& e, std::ostream* os) {
    *os << '{' << e.name.toStdString() << (e.isDir ? " dir" : "") << (e.isHidden ? " hidden" : "")
        << (e.isSymlink ? " link" : "") << ' ' << e.size << '}';
}

namespace {

const QDateTime kOldTime = QDateTime::fromSecsSinceEpoch(1000000000);

void SetModified(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(kOldTime, QFileDevice::FileModificationTime));
}

// Names of the folder's entries, hidden ones included.
QStringList Names(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

TEST(PlatformLocalFiles, ListsEntriesWithAttributesSortedByName) {
    test::TempDir dir;
    dir.write("music/b.mp3", "12345");
    dir.write("music/A.mp3", "123");
    dir.write("music/.hidden.mp3", "1");
    dir.write("music/Sub/inner.mp3", "1");
    ASSERT_TRUE(QFile::link("b.mp3", dir.file("music/c-link.mp3")));
    ASSERT_TRUE(QFile::link("Sub", dir.file("music/d-folder-link")));
    ASSERT_TRUE(QFile::link("gone.mp3", dir.file("music/e-broken")));

    const FolderListing listing = LocalFiles().list(dir.file("music"));
    ASSERT_TRUE(listing.ok()) << listing.error.toStdString();
    const QList<FileEntry> expected = {
        {".hidden.mp3", false, true, false, 1},  {"A.mp3", false, false, false, 3},
        {"b.mp3", false, false, false, 5},       {"c-link.mp3", false, false, true, 5},
        {"d-folder-link", true, false, true, 0}, {"e-broken", false, false, true, 0},
        {"Sub", true, false, false, 0},
    };
    EXPECT_EQ(listing.entries, expected);
    // Without sizes: the same names and kinds, links told apart as before.
    QList<FileEntry> kinds = expected;
    for (FileEntry& entry : kinds)
        entry.size = 0;
    EXPECT_EQ(LocalFiles().listKindsInSteps(dir.file("music"), {}).entries, kinds);
    // A broken link still takes its name.
    EXPECT_TRUE(LocalFiles().exists(dir.file("music/e-broken")));
    EXPECT_TRUE(LocalFiles().isDir(dir.file("music/d-folder-link")));

    for (const QString& bad : {dir.file("missing"), dir.file("music/A.mp3")}) {
        const FolderListing failed = LocalFiles().list(bad);
        EXPECT_TRUE(failed.entries.isEmpty());
        EXPECT_TRUE(failed.error.contains('"' + bad + '"')) << failed.error.toStdString();
    }
}

// A folder of more names than one step sorts: numbers by value, accented names beside their
// letters, the same whichever order the folder holds them in.
TEST(PlatformLocalFiles, AFolderOfManyNamesListsInReadingOrder) {
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    test::TempDir dir;
    QStringList expected;
    for (int n = 1; n <= 1100; ++n)
        expected << QStringLiteral("Track %1.mp3").arg(n);
    expected.prepend(QStringLiteral("Émilie.mp3"));
    expected.prepend(QStringLiteral("Ælfric.mp3"));
    expected << QStringLiteral("Zeta.mp3");
    for (const QString& name : expected)
        dir.write("many/" + name, "");

    QStringList listed;
    for (const FileEntry& entry : LocalFiles().listInSteps(dir.file("many"), [] {}).entries)
        listed << entry.name;
    EXPECT_EQ(listed, expected);
}

TEST(PlatformLocalFiles, CopyAndMoveKeepContentAndTime) {
    test::TempDir dir;
    const QByteArray content(3 * 1024 * 1024 + 17, 'm'); // several copy buffers
    SetModified(dir.write("a.mp3", content));
    LocalFiles files;
    QString error;
    ASSERT_TRUE(files.copyFile(dir.file("a.mp3"), dir.file("copy.mp3"), &error))
        << error.toStdString();
    EXPECT_EQ(dir.read("copy.mp3"), content);
    EXPECT_EQ(QFileInfo(dir.file("copy.mp3")).lastModified(), kOldTime);
    ASSERT_TRUE(files.moveFile(dir.file("copy.mp3"), dir.file("sub-moved"), &error));
    // Folders move too, on one file system.
    ASSERT_TRUE(files.makeFolder(dir.file("sub"), &error));
    ASSERT_TRUE(files.moveFile(dir.file("sub"), dir.file("sub2"), &error));
    EXPECT_EQ(Names(dir.path()), QStringList({"a.mp3", "sub-moved", "sub2"}));
}

// Every failing copy or move leaves both files as they were, no temporary file behind, and a
// reason naming the files.
TEST(PlatformLocalFiles, CopyAndMoveNeverReplaceOrHalfDo) {
    using Action = std::function<bool(LocalFiles&, const QString&, const QString&, QString*)>;
    const Action copy = [](LocalFiles& f, const QString& a, const QString& b, QString* e) {
        return f.copyFile(a, b, e);
    };
    const Action move = [](LocalFiles& f, const QString& a, const QString& b, QString* e) {
        return f.moveFile(a, b, e);
    };
    const struct {
        const char* what;
        Action action;
        QString from; // relative to the test folder
        QString to;
        int err;
    } cases[] = {
        {"copy onto a file", copy, "src/a.mp3", "dst/taken.mp3", EEXIST},
        {"move onto a file", move, "src/a.mp3", "dst/taken.mp3", EEXIST},
        {"copy onto a folder", copy, "src/a.mp3", "dst", EEXIST},
        {"move onto a folder", move, "src/a.mp3", "dst", EEXIST},
        {"move onto itself", move, "src/a.mp3", "src/a.mp3", EEXIST},
        {"copy onto a broken link", copy, "src/a.mp3", "dst/broken", EEXIST},
        {"copy a missing file", copy, "src/none.mp3", "dst/new.mp3", ENOENT},
        {"move into a missing folder", move, "src/a.mp3", "nowhere/new.mp3", ENOENT},
        {"copy into a missing folder", copy, "src/a.mp3", "nowhere/new.mp3", ENOENT},
        {"copy a folder", copy, "src", "dst/new", EISDIR},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        dir.write("src/a.mp3", "source");
        dir.write("dst/taken.mp3", "taken");
        QFile::link("missing", dir.file("dst/broken"));

        LocalFiles files;
        QString error;
        EXPECT_FALSE(c.action(files, dir.file(c.from), dir.file(c.to), &error)) << c.what;
        EXPECT_TRUE(error.contains(qt_error_string(c.err)))
            << c.what << ": " << error.toStdString();
        EXPECT_TRUE(error.contains(dir.file(c.from)) && error.contains(dir.file(c.to)))
            << c.what << ": " << error.toStdString();
        EXPECT_EQ(dir.read("src/a.mp3"), "source") << c.what;
        EXPECT_EQ(dir.read("dst/taken.mp3"), "taken") << c.what;
        EXPECT_EQ(Names(dir.file("src")), QStringList({"a.mp3"})) << c.what;
        EXPECT_EQ(Names(dir.file("dst")), QStringList({"broken", "taken.mp3"})) << c.what;
    }
}

TEST(PlatformLocalFiles, ACopyThatBreaksOffLeavesNothing) {
    // Reading /proc/self/mem at its start fails: a source that breaks off after the copy began.
    if (!QFileInfo::exists(QStringLiteral("/proc/self/mem")))
        GTEST_SKIP() << "no /proc here";
    test::TempDir dir;
    QString error;
    EXPECT_FALSE(LocalFiles().copyFile("/proc/self/mem", dir.file("mem"), &error));
    EXPECT_TRUE(error.contains(qt_error_string(EIO))) << error.toStdString();
    EXPECT_TRUE(Names(dir.path()).isEmpty());
}

TEST(PlatformLocalFiles, RemovesOnlyWhatItIsAskedFor) {
    test::TempDir dir;
    dir.write("full/a.mp3", "x");
    LocalFiles files;
    const struct {
        const char* what;
        std::function<bool(QString*)> action;
        int err;
    } cases[] = {
        {"a folder as a file", [&](QString* e) { return files.removeFile(dir.file("full"), e); },
         EISDIR},
        {"a full folder", [&](QString* e) { return files.removeFolder(dir.file("full"), e); },
         ENOTEMPTY},
        {"a folder that exists", [&](QString* e) { return files.makeFolder(dir.file("full"), e); },
         EEXIST},
        {"two folder levels", [&](QString* e) { return files.makeFolder(dir.file("x/y"), e); },
         ENOENT},
    };
    for (const auto& c : cases) {
        QString error;
        EXPECT_FALSE(c.action(&error)) << c.what;
        EXPECT_TRUE(error.contains(qt_error_string(c.err)))
            << c.what << ": " << error.toStdString();
    }
    EXPECT_EQ(dir.read("full/a.mp3"), "x");
    EXPECT_EQ(Names(dir.path()), QStringList({"full"}));
}

// Makes a folder's entries undeletable: read-only for a user, immutable for root (who ignores
// permissions). False when this machine cannot do it.
bool LockFolder(const QString& folder, bool lock) {
    if (::geteuid() != 0)
        return ::chmod(QFile::encodeName(folder).constData(), lock ? 0555 : 0755) == 0;
    QProcess chattr;
    chattr.start(QStringLiteral("chattr"), {lock ? "+i" : "-i", folder});
    return chattr.waitForFinished(10000) && chattr.exitStatus() == QProcess::NormalExit &&
           chattr.exitCode() == 0;
}

// Moves to a second file system: RAM-backed /dev/shm when the temporary folder is elsewhere.
class PlatformLocalFilesAcross : public ::testing::Test {
protected:
    void SetUp() override {
        struct stat here {};
        struct stat there {};
        if (!other_.isValid() || ::stat(QFile::encodeName(dir_.path()).constData(), &here) != 0 ||
            ::stat(QFile::encodeName(other_.path()).constData(), &there) != 0 ||
            here.st_dev == there.st_dev)
            GTEST_SKIP() << "no second file system beside the temporary folder";
    }
    QString otherFile(const QString& name) const { return other_.path() + '/' + name; }

    test::TempDir dir_;
    QTemporaryDir other_{QStringLiteral("/dev/shm/tarl-test-XXXXXX")};
};

TEST_F(PlatformLocalFilesAcross, MoveCopiesThenDeletesTheSource) {
    const QByteArray content(2 * 1024 * 1024 + 5, 'q');
    SetModified(dir_.write("a.mp3", content));
    QString error;
    ASSERT_TRUE(LocalFiles().moveFile(dir_.file("a.mp3"), otherFile("b.mp3"), &error))
        << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir_.file("a.mp3")));
    QFile moved(otherFile("b.mp3"));
    ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
    EXPECT_EQ(moved.readAll(), content);
    EXPECT_EQ(QFileInfo(moved).lastModified(), kOldTime);
    EXPECT_EQ(Names(other_.path()), QStringList({"b.mp3"}));
}

TEST_F(PlatformLocalFilesAcross, ABigFileLetsTheCallerRunBetweenItsMegabytes) {
    dir_.write("a.mp3", QByteArray(3 * 1024 * 1024, 's'));
    int steps = 0;
    QString error;
    ASSERT_TRUE(LocalFiles().moveFileInSteps(
        dir_.file("a.mp3"), otherFile("a.mp3"), [&] { ++steps; }, &error))
        << error.toStdString();
    EXPECT_GE(steps, 3);
}

TEST_F(PlatformLocalFilesAcross, FailedMovesChangeNothing) {
    dir_.write("a.mp3", "source");
    dir_.write("album/b.mp3", "x");
    dir_.write("locked/c.mp3", "locked");
    QFile taken(otherFile("a.mp3"));
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.write("taken");
    taken.close();
    const bool locked = LockFolder(dir_.file("locked"), true);

    LocalFiles files;
    QString error;
    EXPECT_FALSE(files.moveFile(dir_.file("a.mp3"), otherFile("a.mp3"), &error));
    EXPECT_TRUE(error.contains(qt_error_string(EEXIST))) << error.toStdString();
    // Folders are not copied over.
    EXPECT_FALSE(files.moveFile(dir_.file("album"), otherFile("album"), &error));
    EXPECT_TRUE(error.contains(qt_error_string(EXDEV))) << error.toStdString();
    // A source that cannot be deleted must not end up in two places.
    if (locked) {
        EXPECT_FALSE(files.moveFile(dir_.file("locked/c.mp3"), otherFile("c.mp3"), &error));
    }
    LockFolder(dir_.file("locked"), false);

    EXPECT_EQ(dir_.read("a.mp3"), "source");
    EXPECT_EQ(dir_.read("album/b.mp3"), "x");
    EXPECT_EQ(dir_.read("locked/c.mp3"), "locked");
    ASSERT_TRUE(taken.open(QIODevice::ReadOnly));
    EXPECT_EQ(taken.readAll(), "taken");
    EXPECT_EQ(Names(other_.path()), QStringList({"a.mp3"}));
    if (!locked)
        GTEST_SKIP() << "cannot lock a folder here; an undeletable source was not tried";
}

// A track that is a link, moved to another file system (a tmpfs, mounted as root): the file
// arriving holds its target's data, and only the link goes.
TEST(PlatformLocalFiles, ALinkMovedToAnotherDiscArrivesAsItsTargetsDataAndOnlyTheLinkGoes) {
    test::TempDir dir;
    const QByteArray content(2 * 1024 * 1024 + 5, 'l');
    const QString real = dir.write("music/real.mp3", content);
    ASSERT_TRUE(QDir().mkpath(dir.file("stick")));
    const test::TmpfsMount stick(dir.file("stick"), "8m");
    if (!stick.mounted())
        GTEST_SKIP() << "mounting a tmpfs needs root";
    const struct {
        const char* name;
        QString target;
    } cases[] = {{"relative", "real.mp3"}, {"absolute", real}};
    for (const auto& c : cases) {
        const QString link = dir.file(QStringLiteral("music/%1.mp3").arg(c.name));
        const QString moved = dir.file(QStringLiteral("stick/%1.mp3").arg(c.name));
        ASSERT_TRUE(QFile::link(c.target, link)) << c.name;
        QString error;
        ASSERT_TRUE(LocalFiles().moveFile(link, moved, &error)) << c.name << error.toStdString();
        EXPECT_FALSE(QFileInfo(link).isSymLink() || QFileInfo::exists(link)) << c.name;
        EXPECT_FALSE(QFileInfo(moved).isSymLink()) << c.name;
        EXPECT_EQ(dir.read(QStringLiteral("stick/%1.mp3").arg(c.name)), content) << c.name;
        EXPECT_EQ(dir.read("music/real.mp3"), content) << c.name;
    }
}

} // namespace
} // namespace tarl
