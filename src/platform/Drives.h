#pragma once

#include <QString>

namespace tarl {

// The numbering of the Windows drive types, which callers compare against (5 is a CD-ROM drive).
enum class DriveType {
    Unknown = 0,
    NoRootDir = 1,
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5,
    RamDisk = 6,
};

// Drives as the organiser sees them. A "drive root" is the folder a medium is mounted on, always
// ending in "/": "/" itself, "/home/", "/media/ann/MUSIC_01/", ...
class Drives {
public:
    virtual ~Drives() = default;

    // The drive root holding `path` (an absolute path; "." and ".." are resolved as text).
    // "" for a relative or empty path.
    virtual QString driveRoot(const QString& path) const = 0;

    // The kind of drive mounted (or expected, for a CD drive without a disc) on `root`.
    // NoRootDir when `root` is not a drive root or does not exist.
    virtual DriveType driveType(const QString& root) const = 0;

    // The volume label exactly as stored on the medium (no case change); "" when nothing is
    // mounted on `root` or the label cannot be read.
    virtual QString volumeLabel(const QString& root) const = 0;
};

} // namespace tarl
