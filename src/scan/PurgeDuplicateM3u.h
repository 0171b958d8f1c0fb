#pragma once

#include <QString>

namespace tarl {

class ScanTree;
class Ui;

// After a playlist walk: a playlist whose first entry lies in a subfolder of its own folder makes
// that subfolder's folder node redundant, and with a depth (`foldProfundity`) above 1 the nodes
// of the subfolder's parents too, up to that many folders. A depth other than "1" to "4" is
// replaced by "2" (the caller shows it again). Playlists that cannot be read are reported in an
// error box with the title `title`, as FirstEntryFolder reports them.
void PurgeDuplicateM3u(ScanTree& tree, QString& foldProfundity, Ui& ui, const QString& title);

// The same without a display: a playlist that cannot be read counts as one without entries.
void PurgeDuplicateM3u(ScanTree& tree, QString& foldProfundity);

} // namespace tarl
