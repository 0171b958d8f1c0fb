#include "platform/LinuxDrives.h"
#include "platform/VolumeLabelText.h"

#include "support/IsoImage.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QDir>
#include <QSet>
#include <gtest/gtest.h>

namespace tarl {
namespace {

// A desktop machine of user "ann": a root disc, a home partition, a mounted CD, a USB stick, a
// network share, a RAM disc, a CD drive in fstab without a disc, and a nested mount.
const QByteArray kMountInfo = "20 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
                              "21 20 8:2 / /home rw - ext4 /dev/sda2 rw\n"
                              "22 20 0:5 / /home/ann/music\\040box rw - ext4 /dev/sdc1 rw\n"
                              "23 20 11:0 / /media/ann/MUSIC_01 ro - iso9660 /dev/sr0 ro\n"
                              "24 20 8:17 / /media/ann/STICK rw - vfat /dev/sdb1 rw\n"
                              "25 20 0:40 / /mnt/nas rw - nfs4 nas:/export rw\n"
                              "26 20 0:41 / /mnt/ssh rw - fuse.sshfs ann@host: rw\n"
                              "27 20 0:42 / /dev/shm rw - tmpfs tmpfs rw\n"
                              "28 20 7:0 / /mnt/dvd ro - udf /dev/loop0 ro\n"
                              "29 20 11:1 / /mnt/burner ro - auto /dev/sr1 ro\n"
                              "30 20 0:43 / /run/media/ann/Backup rw - exfat /dev/sdd1 rw\n"
                              // Mounted over /mnt/over: the later mount is the one seen.
                              "31 20 0:44 / /mnt/over rw - ext4 /dev/sde1 rw\n"
                              "32 31 0:45 / /mnt/over rw - cifs //srv/x rw\n";

const QByteArray kFstab = "/dev/sda1 / ext4 defaults 0 1\n"
                          "/dev/cdrom /media/cdrom0 udf,iso9660 user,noauto 0 0\n"
                          "/dev/sdf1 /mnt/spare ext4 noauto 0 0\n";

// Folders that exist on the pretend machine apart from the mounts.
const QSet<QString> kFolders = {"/media/ann/OLD_STICK/"};

LinuxDrives::Sources Machine() {
    LinuxDrives::Sources sources;
    sources.mountInfo = kMountInfo;
    sources.fstab = kFstab;
    sources.userName = "ann";
    sources.byLabelFolder = {};
    sources.folderExists = [](const QString& folder) { return kFolders.contains(folder); };
    return sources;
}

TEST(PlatformLinuxDrives, DriveRootIsTheLongestMountOrMediaPrefix) {
    const LinuxDrives drives(Machine());
    const struct {
        QString path;
        QString root;
    } cases[] = {
        {"", ""},
        {"relative/file.mp3", ""},
        {"/", "/"},
        {"/usr/share/a.mp3", "/"},
        {"/home/", "/home/"},
        {"/home/ann/a.mp3", "/home/"},
        // A mount point with a blank, and a sibling folder sharing its first letters.
        {"/home/ann/music box/a.mp3", "/home/ann/music box/"},
        {"/home/ann/music boxes/a.mp3", "/home/"},
        {"/homework/a.mp3", "/"},
        {"/media/ann/MUSIC_01/Rock/a.mp3", "/media/ann/MUSIC_01/"},
        // Paths are cleaned as text first.
        {"/media/ann/MUSIC_01/Rock/../Pop//b.mp3", "/media/ann/MUSIC_01/"},
        {"/media/ann/MUSIC_01/..", "/"},
        {"//home///ann", "/home/"},
        // Media not in the drive now keep their label folder as root.
        {"/media/ann/MUSIC_07/Jazz/c.mp3", "/media/ann/MUSIC_07/"},
        {"/run/media/ann/OTHER/c.mp3", "/run/media/ann/OTHER/"},
        {"/run/media/ann/Backup/x", "/run/media/ann/Backup/"},
        // Only the current user's media folder, and only one level under it.
        {"/media/bob/MUSIC_07/c.mp3", "/"},
        {"/media/ann", "/"},
        {"/media/ann/", "/"},
        // fstab CD drives without a disc; other fstab lines are not roots until mounted.
        {"/media/cdrom0/Rock/a.mp3", "/media/cdrom0/"},
        {"/mnt/spare/a.mp3", "/"},
        {"/dev/shm/x", "/dev/shm/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(drives.driveRoot(c.path), c.root) << c.path.toStdString();
}

TEST(PlatformLinuxDrives, DriveTypeFollowsFileSystemDeviceAndPlace) {
    const LinuxDrives drives(Machine());
    const struct {
        QString root;
        DriveType type;
    } cases[] = {
        {"/", DriveType::Fixed},
        {"/home/", DriveType::Fixed},
        {"/home/ann/music box/", DriveType::Fixed},
        {"/media/ann/MUSIC_01/", DriveType::CdRom},  // iso9660
        {"/mnt/dvd/", DriveType::CdRom},             // udf on a loop device (an image)
        {"/mnt/burner/", DriveType::CdRom},          // a /dev/sr device
        {"/media/cdrom0/", DriveType::CdRom},        // fstab CD drive, no disc in
        {"/media/ann/STICK/", DriveType::Removable}, // mounted by the desktop
        {"/run/media/ann/Backup/", DriveType::Removable},
        {"/media/ann/OLD_STICK/", DriveType::Removable}, // unmounted, folder left behind
        {"/media/ann/MUSIC_07/", DriveType::NoRootDir},  // medium out, folder gone
        {"/mnt/nas/", DriveType::Remote},
        {"/mnt/over/", DriveType::Remote}, // the top mount counts
        {"/dev/shm/", DriveType::RamDisk},
        {"/mnt/spare/", DriveType::NoRootDir}, // fstab disc not mounted
        {"/home/ann/", DriveType::NoRootDir},  // a folder, not a drive root
        {"", DriveType::NoRootDir},
    };
    for (const auto& c : cases)
        EXPECT_EQ(drives.driveType(c.root), c.type) << c.root.toStdString();
}

TEST(PlatformLinuxDrives, VolumeLabelIsReadFromTheMountedDevice) {
    if (!test::HaveXorriso())
        GTEST_SKIP() << "xorriso is not installed";
    test::TempDir dir;
    dir.write("content/Rock/a.mp3", "not really music");
    const QString image = dir.file("disc.iso");
    QString error;
    ASSERT_TRUE(test::MakeIsoImage(dir.file("content"), "Music_01", image, &error))
        << error.toStdString();

    // The image stands in for the CD device.
    LinuxDrives::Sources sources = Machine();
    sources.mountInfo += "40 20 7:1 / /media/ann/Music_01 ro - iso9660 " +
                         image.toUtf8().replace(" ", "\\040") + " ro\n";
    const LinuxDrives drives(sources);

    EXPECT_EQ(drives.volumeLabel("/media/ann/Music_01/"), "Music_01"); // case kept
    EXPECT_EQ(drives.volumeLabel("/media/ann/Music_01"), "Music_01");
    EXPECT_EQ(drives.driveType("/media/ann/Music_01/"), DriveType::CdRom);
    EXPECT_EQ(drives.volumeLabel("/media/cdrom0/"), "");       // no disc in
    EXPECT_EQ(drives.volumeLabel("/mnt/nas/"), "");            // no local device
    EXPECT_EQ(drives.volumeLabel("/media/ann/MUSIC_07/"), ""); // not mounted
    // As shown: asked of the mount holding a folder of the disc.
    EXPECT_EQ(VolumeLabelOf(drives, "/media/ann/Music_01/Rock/"), "Music_01");
    EXPECT_EQ(VolumeLabelOf(drives, "/media/ann/Music_01/Rock/a.mp3"), "Music_01");
}

TEST(PlatformLinuxDrives, LiveMachineHasARootDrive) {
    const LinuxDrives drives;
    test::TempDir dir;
    EXPECT_EQ(drives.driveRoot("/"), "/");
    EXPECT_EQ(drives.driveType("/"), DriveType::Fixed);
    const QString root = drives.driveRoot(dir.path() + "/a.mp3");
    EXPECT_TRUE((dir.path() + "/").startsWith(root)) << root.toStdString();
    EXPECT_NE(drives.driveType(root), DriveType::NoRootDir);
    EXPECT_EQ(drives.driveType(dir.path() + "/missing/"), DriveType::NoRootDir);
}

} // namespace
} // namespace tarl
