#include "platform/MountTable.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace tarl {

void PrintTo(const MountEntry& entry, std::ostream* os) {
    *os << '{' << entry.mountPoint.toStdString() << ", " << entry.fsType.toStdString() << ", "
        << entry.device.toStdString() << '}';
}

namespace {

TEST(PlatformMountTable, UnescapesOctalCodes) {
    const struct {
        const char* field;
        QString expected;
    } cases[] = {
        {"/media/ann/MY\\040DISC", "/media/ann/MY DISC"},
        {"/mnt/tab\\011here", "/mnt/tab\there"},
        {"/mnt/back\\134slash", "/mnt/back\\slash"},
        {"/mnt/two\\040\\040spaces", "/mnt/two  spaces"},
        // Not an escape: kept as written.
        {"/mnt/odd\\04", "/mnt/odd\\04"},
        {"/mnt/odd\\089", "/mnt/odd\\089"},
        {"/mnt/end\\", "/mnt/end\\"},
        // Escaped UTF-8 bytes make one character.
        {"/mnt/caf\\303\\251", QString::fromUtf8("/mnt/café")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UnescapeMountField(c.field), c.expected) << c.field;
}

TEST(PlatformMountTable, ParsesMountInfoFields) {
    const QByteArray text =
        "27 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
        // Optional fields before the separator.
        "40 27 11:0 / /media/ann/MY\\040DISC ro,nosuid shared:12 master:3 - iso9660 /dev/sr0 ro\n"
        "41 27 0:50 / /mnt/share rw - cifs //server/music rw,vers=3.0\n"
        // A bind mount: the root field is not the mount point.
        "42 27 254:0 /srv/data /mnt/data rw - ext4 /dev/vda rw\n"
        "garbage line\n"
        "43 27 0:1 / relative rw - tmpfs tmpfs rw\n"
        "\n";
    const QList<MountEntry> expected = {
        {"/", "ext4", "/dev/vda"},
        {"/media/ann/MY DISC", "iso9660", "/dev/sr0"},
        {"/mnt/share", "cifs", "//server/music"},
        {"/mnt/data", "ext4", "/dev/vda"},
    };
    EXPECT_EQ(ParseMountInfo(text), expected);
}

TEST(PlatformMountTable, MountInfoSourceMayBeMissing) {
    const QList<MountEntry> expected = {{"/x", "fuse", ""}};
    EXPECT_EQ(ParseMountInfo("50 27 0:9 / /x rw - fuse"), expected);
}

TEST(PlatformMountTable, ParsesFstabLines) {
    const QByteArray text = "# /etc/fstab: static file system information.\n"
                            "UUID=1234-abcd  /  ext4  errors=remount-ro 0 1\n"
                            "/dev/sr0\t/media/cdrom0\tudf,iso9660\tuser,noauto\t0\t0\n"
                            "/dev/sda2 none swap sw 0 0\n"
                            "/swapfile swap swap defaults 0 0\n"
                            "LABEL=My\\040Music /mnt/My\\040Music/ vfat defaults 0 0\n"
                            "   # indented comment\n"
                            "incomplete line\n";
    const QList<MountEntry> expected = {
        {"/", "ext4", "UUID=1234-abcd"},
        {"/media/cdrom0", "udf,iso9660", "/dev/sr0"},
        {"/mnt/My Music", "vfat", "LABEL=My Music"},
    };
    EXPECT_EQ(ParseFstab(text), expected);
}

} // namespace
} // namespace tarl
