#include "fileops/TrackFiles.h"

#include "platform/LocalFiles.h"
#include "scan/Rescan.h"
#include "support/CatalogFixture.h"
#include "support/FakeDrives.h"
#include "support/TmpfsMount.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <unistd.h>

using namespace tarl;

namespace {

// Files in folders of a temporary folder, tracks of a real catalog made by a real re-scan.
class TrackFiles : public test::CatalogFixture {
protected:
    void SetUp() override {
        CatalogFixture::SetUp();
        drives.addDrive(temp.path(), DriveType::Fixed);
        bounds.volumes = {ResolvedFolder(temp.path())};
    }
    QString folder(const QString& name) {
        QDir().mkpath(temp.file(name));
        return temp.file(name) + "/";
    }
    // Imports `folder` into the catalog as the toolbar's re-scan does.
    void rescan(const QString& folder) {
        const Result<RescanDone> done = Rescan({catalog, files, drives, label}, folder, {}, {});
        ASSERT_TRUE(done) << done.error.toStdString();
    }
    // The selected rows of `folder`'s list, at the list positions given, with their track ids.
    std::vector<TrackFile> rows(const QString& folder, const std::vector<int>& positions) {
        std::vector<TrackFile> selected;
        for (const int row : positions) {
            const QString name = QStringLiteral("%1.mp3").arg(row, 2, 10, QLatin1Char('0'));
            selected.push_back({row, folder, name, trackId(folder, name)});
        }
        return selected;
    }
    qint64 trackId(const QString& folder, const QString& name) {
        return scalar(QStringLiteral("SELECT id FROM Mp3 WHERE path='%1' AND file='%2'")
                          .arg(folder, name))
            .toLongLong();
    }
    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    LocalFiles files;
    test::FakeDrives drives;
    QString label;
    FileBounds bounds; // the whole temporary folder, no list
    FileOpHooks hooks;
    std::vector<FileFailure> shown;
};

TEST_F(TrackFiles, CopiesThreeRowsEachFromItsOwnFolderUnderItsOwnName) {
    const QString a = folder("a"), b = folder("b"), to = folder("to");
    write(a + "01.mp3", "one");
    write(b + "02.mp3", "two");
    write(a + "03.mp3", "three");
    const std::vector<TrackFile> selected = {
        {0, a, "01.mp3", 0}, {1, b, "02.mp3", 0}, {2, a, "03.mp3", 0}};
    QStringList status;
    hooks.status = [&](int panel, const QString& text) { status << QString::number(panel) + text; };

    const CopyDone done = CopySelectedFiles(files, bounds, selected, to, hooks);
    EXPECT_TRUE(done.ok());
    EXPECT_EQ(done.copied, 3);
    for (const auto& [name, bytes] :
         std::map<QString, QByteArray>{{"01.mp3", "one"}, {"02.mp3", "two"}, {"03.mp3", "three"}})
        EXPECT_EQ(read(to + name), bytes) << name.toStdString();
    EXPECT_EQ(read(b + "02.mp3"), "two"); // a copy leaves its source
    EXPECT_EQ(status, QStringList({"1Copying files", "21 of 3", "22 of 3", "23 of 3"}));
}

TEST_F(TrackFiles, CopyingOntoAnExistingFileChangesNeitherAndShowsItsBox) {
    const QString from = folder("from"), to = folder("to");
    write(from + "01.mp3", "new");
    write(from + "02.mp3", "second");
    write(to + "01.mp3", "old");
    hooks.failed = [&](const FileFailure& failure) { shown.push_back(failure); };

    // The failing file first, then one that copies: the result says a file was copied.
    const CopyDone done = CopySelectedFiles(
        files, bounds, {{0, from, "01.mp3", 0}, {1, from, "02.mp3", 0}}, to, hooks);
    EXPECT_TRUE(done.ok());
    EXPECT_EQ(read(from + "01.mp3"), "new");
    EXPECT_EQ(read(to + "01.mp3"), "old");
    // The box says what failed, then the system's reason.
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].text.startsWith("Error Copying File: " + from + "01.mp3\n"))
        << shown[0].text.toStdString();
    EXPECT_GT(shown[0].text.size(), ("Error Copying File: " + from + "01.mp3\n").size());
    EXPECT_EQ(shown[0].title, "Copy Error");
    EXPECT_EQ(done.failures, shown);

    // Only the failing file: nothing copied.
    EXPECT_FALSE(CopySelectedFiles(files, bounds, {{0, from, "01.mp3", 0}}, to, {}).ok());
    EXPECT_FALSE(CopySelectedFiles(files, bounds, {}, to, {}).ok());
}

TEST_F(TrackFiles, MovingRowsTwoFiveAndNineMovesExactlyThoseAndDeletesTheirTracks) {
    const QString from = folder("from"), to = folder("to");
    for (int row = 0; row < 10; ++row)
        write(from + QStringLiteral("%1.mp3").arg(row, 2, 10, QLatin1Char('0')), "x");
    rescan(from);
    ASSERT_EQ(scalar("SELECT COUNT(*) FROM Mp3").toInt(), 10);

    // Rows 2, 5 and 9 counted from 1 are positions 1, 4 and 8.
    const MoveDone done =
        MoveSelectedFiles(files, catalog, bounds, rows(from, {1, 4, 8}), to, hooks);
    EXPECT_TRUE(done.ok());
    EXPECT_EQ(done.movedRows, std::vector<int>({1, 4, 8}));
    EXPECT_TRUE(done.failures.empty());
    EXPECT_EQ(QDir(to).entryList(QDir::Files), QStringList({"01.mp3", "04.mp3", "08.mp3"}));
    EXPECT_EQ(QDir(from).entryList(QDir::Files).size(), 7);
    EXPECT_EQ(scalar("SELECT group_concat(file, ' ') FROM (SELECT file FROM Mp3 ORDER BY file)")
                  .toString(),
              "00.mp3 02.mp3 03.mp3 05.mp3 06.mp3 07.mp3 09.mp3");
}

TEST_F(TrackFiles, AMoveOntoATakenNameLeavesTheFileItsTrackAndItsRow) {
    const QString from = folder("from"), to = folder("to");
    write(from + "00.mp3", "mine");
    write(to + "00.mp3", "theirs");
    rescan(from);
    hooks.failed = [&](const FileFailure& failure) { shown.push_back(failure); };

    const MoveDone done = MoveSelectedFiles(files, catalog, bounds, rows(from, {0}), to, hooks);
    EXPECT_FALSE(done.ok());
    EXPECT_EQ(read(from + "00.mp3"), "mine");
    EXPECT_EQ(read(to + "00.mp3"), "theirs");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Mp3").toInt(), 1);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].text.startsWith("Error Moving File: " + from + "00.mp3\n"))
        << shown[0].text.toStdString();
    EXPECT_EQ(shown[0].icon, MsgIcon::Exclamation);
}

TEST_F(TrackFiles, AFileThatVanishedIsReportedAndKeptTheOthersAreDeleted) {
    const QString from = folder("from");
    for (const char* name : {"00.mp3", "01.mp3", "02.mp3"})
        write(from + name, "x");
    QFile::remove(from + "01.mp3");

    const DeleteDone done = DeleteSelectedFiles(files, bounds, rows(from, {0, 1, 2}), {}, hooks);
    EXPECT_EQ(done.keptRows, std::vector<int>({1}));
    EXPECT_EQ(done.failures, std::vector<FileFailure>({{1, from + "01.mp3 not was removed ",
                                                        QString(), MsgIcon::Critical}}));
    EXPECT_TRUE(QDir(from).entryList(QDir::Files).isEmpty());
}

TEST_F(TrackFiles, ForgettingAFolderVolumeKeepsItsListsAndTracks) {
    const QString from = folder("from");
    write(from + "00.mp3", "x");
    rescan(from);
    ASSERT_TRUE(ForgetFolderVolume(catalog, folder("elsewhere")));
    ASSERT_EQ(scalar("SELECT COUNT(*) FROM CD").toInt(), 1);
    // The scan made the drive's root the volume.
    ASSERT_TRUE(ForgetFolderVolume(catalog, temp.path() + "/"));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM CD").toInt(), 0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Mp3").toInt(), 1);
}

TEST_F(TrackFiles, AMoveFromAnotherFileSystemCopiesThenDeletesTheSource) {
    const QString stick = folder("stick"), disc = folder("disc");
    const test::TmpfsMount mount(stick, "4m");
    if (!mount.mounted())
        GTEST_SKIP() << "mounting a tmpfs needs root";
    const QByteArray bytes(3 << 20, 'm');
    write(stick + "00.mp3", bytes);
    write(stick + "01.mp3", "taken");
    write(disc + "01.mp3", "theirs");
    rescan(stick);

    int yields = 0;
    hooks.yield = [&] { ++yields; };

    const MoveDone done =
        MoveSelectedFiles(files, catalog, bounds, rows(stick, {0, 1}), disc, hooks);
    EXPECT_EQ(done.movedRows, std::vector<int>({0}));
    EXPECT_GE(yields, 3 + 2); // every megabyte copied, and after each file
    EXPECT_EQ(read(disc + "00.mp3"), bytes);
    EXPECT_FALSE(QFile::exists(stick + "00.mp3"));
    EXPECT_EQ(read(stick + "01.mp3"), "taken");
    EXPECT_EQ(read(disc + "01.mp3"), "theirs");
    EXPECT_EQ(QDir(disc).entryList(QDir::Files | QDir::Hidden).size(), 2); // no copy left over
    EXPECT_EQ(scalar("SELECT group_concat(file) FROM Mp3").toString(), "01.mp3");
}

TEST_F(TrackFiles, AMoveThatDoesNotFitLeavesTheSourceAndNoPartialCopy) {
    const QString disc = folder("disc"), stick = folder("stick");
    const test::TmpfsMount mount(stick, "4m");
    if (!mount.mounted())
        GTEST_SKIP() << "mounting a tmpfs needs root";
    write(disc + "00.mp3", QByteArray(6 << 20, 'b')); // larger than the 4 MB tmpfs
    rescan(disc);

    const MoveDone done = MoveSelectedFiles(files, catalog, bounds, rows(disc, {0}), stick, hooks);
    EXPECT_FALSE(done.ok());
    EXPECT_EQ(done.failures.size(), 1U);
    EXPECT_EQ(QFileInfo(disc + "00.mp3").size(), 6 << 20);
    EXPECT_TRUE(QDir(stick).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Mp3").toInt(), 1);
}

// The files a file operation may touch: the volume "music/" holds the list's folder "album/"
// and "other/"; "victim/" is outside every volume and "album/link/" leads to it.
class TrackFilesBounds : public TrackFiles {
protected:
    void SetUp() override {
        TrackFiles::SetUp();
        album = folder("music/album");
        other = folder("music/other");
        victim = folder("victim");
        ASSERT_TRUE(QFile::link(victim, album + "link"));
        bounds = {{ResolvedFolder(temp.file("music/"))}, ResolvedFolder(album)};
    }
    QString album, other, victim;
};

TEST_F(TrackFilesBounds, AFileOutsideTheListsFolderOrEveryVolumeIsDeletedOnlyWhenNamed) {
    const struct {
        const char* name;
        QString folder;
        QString file;
        QString lies; // where the file really is
        bool inside;
    } cases[] = {
        {"in the list's folder", album, "01.mp3", album + "01.mp3", true},
        {"a playlist entry climbing out", album, "../../victim/thesis.odt", victim + "thesis.odt",
         false},
        {"a row naming a folder outside every volume", victim, "notes.txt", victim + "notes.txt",
         false},
        {"in the volume, outside the list's folder", other, "02.mp3", other + "02.mp3", false},
        {"under a linked folder leading out", album + "link/", "linked.txt", victim + "linked.txt",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write(c.lies, "keep me");
        const std::vector<TrackFile> selected = {{0, c.folder, c.file, 0}};
        std::vector<FileFailure> failed;
        hooks.failed = [&](const FileFailure& failure) { failed.push_back(failure); };

        // Asked without its name: only a file inside goes.
        const DeleteDone unnamed = DeleteSelectedFiles(files, bounds, selected, {}, hooks);
        EXPECT_EQ(QFile::exists(c.lies), !c.inside);
        EXPECT_EQ(unnamed.keptRows.empty(), c.inside);
        EXPECT_EQ(failed.size(), c.inside ? 0U : 1U);
        if (c.inside)
            continue;
        // Named in the question, where it really is, first: it goes.
        const DeleteQuestion asked = AskDeleteFiles(bounds, selected);
        EXPECT_EQ(asked.text, "Do you want to remove selected files from the hard disc?\n\n1 file, "
                              "1 of them outside the list's folder:\n" +
                                  ResolvedFilePath(c.lies));
        EXPECT_TRUE(DeleteSelectedFiles(files, bounds, selected, asked, hooks).keptRows.empty());
        EXPECT_FALSE(QFile::exists(c.lies));
    }
    EXPECT_TRUE(QFileInfo(album + "link").isSymLink()); // a link's folder is followed, not removed
}

TEST_F(TrackFilesBounds, TheQuestionNamesTenFilesOutsideFirstAndTheEleventhOutsideStays) {
    std::vector<TrackFile> selected;
    for (int i = 0; i < 3; ++i) {
        const QString name = QStringLiteral("in%1.mp3").arg(i);
        write(album + name, "x");
        selected.push_back({i, album, name, 0});
    }
    QStringList outside;
    for (int i = 0; i < 11; ++i) {
        const QString name = QStringLiteral("out%1.txt").arg(i, 2, 10, QLatin1Char('0'));
        write(victim + name, "private");
        selected.push_back({3 + i, victim, name, 0});
        outside << ResolvedFilePath(victim + name);
    }

    const DeleteQuestion asked = AskDeleteFiles(bounds, selected);
    EXPECT_EQ(asked.text, "Do you want to remove selected files from the hard disc?\n\n14 files, "
                          "11 of them outside the list's folder:\n" +
                              outside.mid(0, 10).join('\n') + "\nand 4 more");
    const DeleteDone done = DeleteSelectedFiles(files, bounds, selected, asked, hooks);
    EXPECT_EQ(done.keptRows, std::vector<int>({13}));
    EXPECT_EQ(QDir(victim).entryList(QDir::Files), QStringList({"out10.txt"}));
    EXPECT_TRUE(QDir(album).entryList(QDir::Files).isEmpty());
    ASSERT_EQ(done.failures.size(), 1U);
    EXPECT_EQ(done.failures[0].text,
              "These files lie outside the list's folder and were not named in the question, so "
              "they stay on the disc (1 file):\n" +
                  outside[10]);
}

TEST_F(TrackFilesBounds, CopyAndMoveRefuseNamesLeadingOutAndFilesOutside) {
    const QString inner = folder("music/dest/inner");
    const struct {
        const char* name;
        QString folder;
        QString file;
        QString why;
    } cases[] = {
        {"a name climbing out of the destination", album + "sub/", "../01.mp3", "holds a \"/\""},
        {"the name \"..\"", album, "..", "the one above it"},
        {"a file outside every volume", victim, "notes.txt", "outside the list's folder"},
        {"a file outside the list's folder", other, "02.mp3", "outside the list's folder"},
    };
    write(album + "01.mp3", "album");
    write(victim + "notes.txt", "private");
    write(other + "02.mp3", "other");
    for (const bool moving : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (moving ? " (move)" : " (copy)"));
            const std::vector<TrackFile> selected = {{0, c.folder, c.file, 0}};
            const std::vector<FileFailure> failures =
                moving ? MoveSelectedFiles(files, catalog, bounds, selected, inner, hooks).failures
                       : CopySelectedFiles(files, bounds, selected, inner, hooks).failures;
            ASSERT_EQ(failures.size(), 1U);
            EXPECT_TRUE(failures[0].text.contains(c.why)) << failures[0].text.toStdString();
            EXPECT_TRUE(QDir(inner).isEmpty());
            EXPECT_EQ(QDir(temp.file("music/dest")).entryList(QDir::Files), QStringList());
        }
    }
    EXPECT_EQ(read(album + "01.mp3"), "album");
    EXPECT_EQ(read(victim + "notes.txt"), "private");
    EXPECT_EQ(read(other + "02.mp3"), "other");
}

// 2,000 files moved into a folder where a random third of their names are taken already.
class TrackFilesStress : public TrackFiles {};

TEST_F(TrackFilesStress, TwoThousandFilesMovedOntoRandomTakenNames) {
    constexpr int count = 2000;
    const QString from = folder("from"), to = folder("to");
    std::mt19937 random(13);
    std::vector<bool> taken(count);
    std::vector<TrackFile> selected;
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("%1.mp3").arg(i, 4, 10, QLatin1Char('0'));
        write(from + name, "source " + QByteArray::number(i));
        taken[i] = random() % 3 == 0;
        if (taken[i])
            write(to + name, "taken " + QByteArray::number(i));
        selected.push_back({i, from, name, 0});
    }
    rescan(from);
    for (TrackFile& file : selected)
        file.trackId = trackId(from, file.name);
    int yields = 0;
    hooks.yield = [&] { ++yields; };

    const MoveDone done = MoveSelectedFiles(files, catalog, bounds, selected, to, hooks);
    EXPECT_EQ(yields, count);
    EXPECT_EQ(std::ssize(done.movedRows) + std::ssize(done.failures), count);
    ASSERT_TRUE(ForgetFolderVolume(catalog, to));
    rescan(to);

    QStringList onDisc;
    for (int i = 0; i < count; ++i) {
        const QString name = selected[static_cast<size_t>(i)].name;
        const QByteArray source = "source " + QByteArray::number(i);
        if (taken[i]) {
            EXPECT_EQ(read(from + name), source) << i;
            EXPECT_EQ(read(to + name), "taken " + QByteArray::number(i)) << i;
            onDisc << from + name << to + name;
        } else {
            EXPECT_FALSE(QFile::exists(from + name)) << i;
            EXPECT_EQ(read(to + name), source) << i;
            onDisc << to + name;
        }
    }
    const QString listed =
        scalar("SELECT group_concat(place, '|') FROM (SELECT path || file AS place FROM Mp3 "
               "ORDER BY place)")
            .toString();
    onDisc.sort();
    EXPECT_EQ(listed, onDisc.join('|'));
}

} // namespace
