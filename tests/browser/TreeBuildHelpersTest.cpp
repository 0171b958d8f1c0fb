#include "browser/TreeBuild.h"
#include "support/FakeDrives.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

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

} // namespace
} // namespace tarl
