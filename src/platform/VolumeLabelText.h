#pragma once

#include <QString>

namespace tarl {

class Drives;

// The volume label of the drive whose root is given, as every window shows it: cut at its first
// NUL, in proper case ("MY DISC" gives "My Disc"); "" when the root has none.
QString VolumeLabelOf(const Drives& drives, const QString& root);

} // namespace tarl
