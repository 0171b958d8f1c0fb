#include "platform/PathRules.h"

#include "platform/LocalFiles.h"
#include "support/FakeDrives.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "text/PathText.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

test::FakeDrives Machine() {
    test::FakeDrives drives;
    drives.addDrive("/", DriveType::Fixed);
    drives.addDrive("/home/", DriveType::Fixed);
    drives.addDrive("/media/ann/MUSIC_01", DriveType::CdRom, "MUSIC_01");
    return drives;
}

TEST(PlatformPathRules, AbsoluteDriveAndRoot) {
    const test::FakeDrives drives = Machine();
    const struct {
        QString path;
        bool absolute;
        QString drive;
        bool isRoot;
    } cases[] = {
        {"", false, "", false},
        {"music/a.mp3", false, "", false},
        {"./a.mp3", false, "", false},
        {"/", true, "/", true},
        {"/usr/a.mp3", true, "/", false},
        {"/home", true, "/home/", true},
        {"/home/", true, "/home/", true},
        {"/home/ann/", true, "/home/", false},
        {"/media/ann/MUSIC_01/", true, "/media/ann/MUSIC_01/", true},
        {"/media/ann/MUSIC_01/Rock/a.mp3", true, "/media/ann/MUSIC_01/", false},
        {"/media/ann/MUSIC_01/Rock/..", true, "/media/ann/MUSIC_01/", true},
        {"/media/ann/MUSIC_011/", true, "/", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsAbsolutePath(c.path), c.absolute) << c.path.toStdString();
        EXPECT_EQ(DriveOf(c.path, drives), c.drive) << c.path.toStdString();
        EXPECT_EQ(IsDriveRoot(c.path, drives), c.isRoot) << c.path.toStdString();
    }
}

TEST(PlatformPathRules, NoDriveKnownMeansNoRoot) {
    const test::FakeDrives none;
    EXPECT_EQ(DriveOf("/a.mp3", none), "");
    EXPECT_FALSE(IsDriveRoot("/", none));
}

TEST(PlatformPathRules, SplitListPathStoresFolderListsUnderTheirParentAndRootsAsDot) {
    test::FakeDrives drives;
    drives.addDrive("/", DriveType::Fixed);
    drives.addDrive("/media/cd", DriveType::CdRom, "DISC7");
    const struct {
        QString listPath;
        ListPathParts parts;
    } cases[] = {
        {"/music/party.m3u", {"/music/", "party.m3u"}},
        {"/music/rock/", {"/music/", "rock/"}},
        {"/music/", {"/", "music/"}},
        {"/media/cd/", {"/media/cd/", "."}},
        {"/media/cd/rock/", {"/media/cd/", "rock/"}},
        {"/media/cd/party.m3u", {"/media/cd/", "party.m3u"}},
        {"/", {"/", "."}},
        // Only the exact text of a root is one; a doubled "/" is a folder list again.
        {"/media/cd//", {"/media/cd/", "/"}},
        {"/media/cd/.", {"/media/cd/", "."}},
        {"party.m3u", {"", "party.m3u"}},
        {"", {"", "."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.listPath.toStdString());
        EXPECT_EQ(SplitListPath(c.listPath, drives), c.parts);
    }
}

TEST(PlatformPathRules, IsDriveRootTextWantsTheRootLetterForLetter) {
    test::FakeDrives drives;
    drives.addDrive("/media/cd", DriveType::CdRom);
    EXPECT_TRUE(IsDriveRootText("/media/cd/", drives));
    EXPECT_FALSE(IsDriveRootText("/media/cd", drives));
    EXPECT_FALSE(IsDriveRootText("/media/cd//", drives));
    EXPECT_FALSE(IsDriveRootText("/media/cd/rock/", drives));
    EXPECT_FALSE(IsDriveRootText("/", drives)); // not a drive of this machine
    EXPECT_FALSE(IsDriveRootText("", drives));
}

TEST(PlatformPathRules, PathExistsTellsFoldersByTheirSlashFromFiles) {
    test::TempDir dir;
    dir.write("music/party.m3u", "#EXTM3U\n");
    const QString music = dir.file("music");
    LocalFiles files;
    const struct {
        QString path;
        bool exists;
    } cases[] = {
        {music + "/", true},
        {music, false}, // a folder asked for as a file
        {music + "/party.m3u", true},
        {music + "/party.m3u/", false}, // a file asked for as a folder
        {music + "/gone.m3u", false},
        {music + "/gone/", false},
        {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(PathExists(files, c.path), c.exists);
    }
}

} // namespace
} // namespace tarl
