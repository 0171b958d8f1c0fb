#pragma once

#include <QString>

namespace tarl {

class Drives;

// The volume label of the medium holding `path` (a drive root or any folder or file on it), as
// every window shows it: cut at its first NUL, in proper case ("MY DISC" gives "My Disc"); ""
// when that medium has none. The label is asked of the drive root, since a medium answers only
// there: a disc's subfolder would otherwise read as no disc at all.
QString VolumeLabelOf(const Drives& drives, const QString& path);

} // namespace tarl
