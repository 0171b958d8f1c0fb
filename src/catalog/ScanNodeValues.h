#pragma once

#include <QString>

namespace tarl {

// What the import routines read of a scan-tree node (a found playlist or sound file).
struct ScanNodeValues {
    QString key;       // the full path of the playlist or track
    QString text;      // the file name
    QString parentKey; // the key of its folder node: the folder path ending in "/"
};

} // namespace tarl
