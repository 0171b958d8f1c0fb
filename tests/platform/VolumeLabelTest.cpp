#include "platform/VolumeLabel.h"

#include "support/IsoImage.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace tarl {
namespace {

TEST(PlatformVolumeLabel, ReadsTheLabelOfAnIsoImage) {
    if (!test::HaveXorriso())
        GTEST_SKIP() << "xorriso is not installed";
    test::TempDir dir;
    dir.write("content/a.mp3", "data");
    const struct {
        QString label;
        QString file;
    } cases[] = {
        {"MYLABEL", "plain.iso"},
        {"Mixed_Case_07", "file name with blanks.iso"},
    };
    for (const auto& c : cases) {
        QString error;
        ASSERT_TRUE(test::MakeIsoImage(dir.file("content"), c.label, dir.file(c.file), &error))
            << error.toStdString();
        EXPECT_EQ(ReadVolumeLabel(dir.file(c.file)), c.label);
    }
}

TEST(PlatformVolumeLabel, NothingReadableGivesEmpty) {
    test::TempDir dir;
    const struct {
        const char* what;
        QString path;
    } cases[] = {
        {"text file", dir.write("notes.txt", QByteArray(64 * 1024, 'x'))},
        {"empty file", dir.write("empty.iso", {})},
        {"missing file", dir.file("missing.iso")},
        {"folder", dir.path()},
        {"no name", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadVolumeLabel(c.path), "") << c.what;
}

TEST(PlatformVolumeLabel, DecodesUdevLinkNames) {
    const struct {
        QString link;
        QString label;
    } cases[] = {
        {"MUSIC", "MUSIC"},
        {"MY\\x20DISC", "MY DISC"},
        {"a\\x2fb", "a/b"},
        {"back\\x5cslash", "back\\slash"},
        {QString::fromUtf8("Café"), QString::fromUtf8("Café")},
        {"bad\\xZZ", "bad\\xZZ"},
        {"short\\x2", "short\\x2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeUdevName(c.link), c.label) << c.link.toStdString();
}

TEST(PlatformVolumeLabel, FindsTheLinkPointingAtTheDevice) {
    test::TempDir dir;
    const QString stick = dir.write("dev/sdb1", "a device");
    const QString other = dir.write("dev/sdc1", "another device");
    dir.write("by-label/.keep", {});
    ASSERT_TRUE(QFile::link("../dev/sdc1", dir.file("by-label/OTHER")));
    ASSERT_TRUE(QFile::link("../dev/sdb1", dir.file("by-label/MY\\x20STICK")));

    EXPECT_EQ(ReadVolumeLabelFromLinks(stick, dir.file("by-label")), "MY STICK");
    EXPECT_EQ(ReadVolumeLabelFromLinks(other, dir.file("by-label")), "OTHER");
    EXPECT_EQ(ReadVolumeLabelFromLinks(dir.write("dev/sdd1", "x"), dir.file("by-label")), "");
    EXPECT_EQ(ReadVolumeLabelFromLinks(dir.file("dev/missing"), dir.file("by-label")), "");
    EXPECT_EQ(ReadVolumeLabelFromLinks(stick, dir.file("no-such-folder")), "");
}

} // namespace
} // namespace tarl
