#pragma once

#include <QString>
#include <QStringList>

namespace tarl {

class ScanTree;

// After a playlist walk: a playlist whose first entry lies in a subfolder of its own folder makes
// that subfolder's folder node redundant, and with a depth (`playlistDepth`) above 1 the nodes
// of the subfolder's parents too, up to that many folders. A depth other than "1" to "4" is
// replaced by "2" (the caller shows it again). A playlist that cannot be read counts as one
// without entries. Returns FirstEntryFolder's failure sentence for every such reading, in the
// order met (a playlist looked at again after a removal counts again); the window shows each in
// its own error box, in that order.
QStringList PurgeDuplicateM3u(ScanTree& tree, QString& playlistDepth);

} // namespace tarl
