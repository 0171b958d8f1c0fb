#pragma once

#include <QString>

namespace tarl {

// The LABEL of the file system on a device or in an image file (an ISO image reads like a CD),
// read with libblkid; "" when there is none or the device cannot be opened.
QString ReadVolumeLabel(const QString& deviceOrImageFile);

// The label udev published for `device` as a link in `byLabelFolder` (normally
// /dev/disk/by-label), for devices the user may not open; "" when no link points at it.
QString ReadVolumeLabelFromLinks(const QString& device, const QString& byLabelFolder);

// Decodes udev's "\xHH" escapes in a link name ("MY\x20DISC" is "MY DISC").
QString DecodeUdevName(const QString& linkName);

} // namespace tarl
