#include "browser/TreeBuild.h"
#include "platform/LocalFiles.h"
#include "support/FakeDrives.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QDir>
#include <gtest/gtest.h>

namespace tarl {
namespace {

TEST(TreeBuildHelpers, LastFolderNameGivesTheLastFolderAndCutsOneCharacter) {
    const struct {
        QString path;
        QString name;
        QString left; // what the caller's variable holds afterwards
    } cases[] = {
        {"/music/rock/", "rock", "/music/rock"},
        {"/music/", "music", "/music"},
        {"/", "", ""},
        {"", "", ""},
        // Not a folder path: its last character goes all the same.
        {"/music/party.m3u", "party.m3", "/music/party.m3"},
        {"/música/été 2001/", "été 2001", "/música/été 2001"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        QString path = c.path;
        EXPECT_EQ(LastFolderName(path), c.name);
        EXPECT_EQ(path, c.left);
    }
}

TEST(TreeBuildHelpers, VolumeLabelOfIsTheDrivesLabelInProperCase) {
    const struct {
        QString label;
        QString proper;
    } cases[] = {
        {"MY DISC", "My Disc"},
        {"mp3 COLLECTION 01", "Mp3 Collection 01"},
        {"2PAC LIVE", "2pac Live"},
        {"ROCK_AND-ROLL", "Rock_and-roll"},
        {"ÉTÉ  ÖSTERREICH", "Été  Österreich"},
        {"ONE\tTWO\nTHREE", "One\tTwo\nThree"},
        {QString("DISC") + QChar(0) + "JUNK", "Disc"},
        // A letter outside the basic plane is one character: U+10428 becomes U+10400.
        {QString::fromUtf8("\xF0\x90\x90\xA8X"), QString::fromUtf8("\xF0\x90\x90\x80x")},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label.toStdString());
        test::FakeDrives drives;
        drives.addDrive("/media/cd", DriveType::CdRom, c.label);
        EXPECT_EQ(VolumeLabelOf(drives, "/media/cd/"), c.proper);
    }
    // No medium there: no label; a folder below the root: the label of the disc holding it.
    test::FakeDrives drives;
    drives.addDrive("/media/cd", DriveType::CdRom, "DISC");
    EXPECT_EQ(VolumeLabelOf(drives, "/media/dvd/"), "");
    EXPECT_EQ(VolumeLabelOf(drives, "/media/cd/music/"), "Disc");
}

TEST(TreeBuildHelpers, PathExistsTellsFoldersByTheirSlashFromFiles) {
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
