#include "platform/PathRules.h"

#include "support/FakeDrives.h"
#include "support/QtPrinters.h"

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

TEST(PlatformPathRules, SlashesAtTheEnd) {
    const struct {
        QString path;
        QString with;
        QString without;
    } cases[] = {
        {"", "", ""},
        {"/", "/", "/"},
        {"//", "/", "/"},
        {"/a", "/a/", "/a"},
        {"/a/", "/a/", "/a"},
        {"/a//", "/a/", "/a"},
        {"/a b/c d", "/a b/c d/", "/a b/c d"},
        {"rel", "rel/", "rel"},
        {"rel/", "rel/", "rel"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithTrailingSlash(c.path), c.with) << c.path.toStdString();
        EXPECT_EQ(WithoutTrailingSlash(c.path), c.without) << c.path.toStdString();
    }
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

} // namespace
} // namespace tarl
