#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace tarl {

// One line of /proc/self/mountinfo or /etc/fstab.
struct MountEntry {
    QString mountPoint; // as written, without a trailing "/" (except "/" itself)
    QString fsType;     // "ext4", "iso9660", "udf,iso9660" (fstab may list several), ...
    QString device;     // "/dev/sr0", "server:/share", "LABEL=MUSIC", "tmpfs", ...

    bool operator==(const MountEntry&) const = default;
};

// Decodes the octal escapes the kernel and fstab use for blanks and backslashes ("\040" is a
// space). A backslash not followed by three octal digits is kept as it is.
QString UnescapeMountField(const QByteArray& field);

// The mounts of /proc/self/mountinfo, in file order: a later entry on the same mount point is
// mounted over the earlier one. Malformed lines are skipped.
QList<MountEntry> ParseMountInfo(const QByteArray& text);

// The file system lines of /etc/fstab; comments, blank lines, swap and malformed lines are skipped.
QList<MountEntry> ParseFstab(const QByteArray& text);

} // namespace tarl
