#pragma once

namespace tarl {

class LibraryBrowser;

// After an import, a drop or a re-scan the main window shows the catalog again: the library tree
// is built anew in the view it shows (by paths or by style), the nodes that were open are opened
// again and the node that was selected is selected again when their keys are still in the tree,
// with its tracks listed again (a rebuild loses both). A key that is gone is passed over.
void RebuildLibraryTree(LibraryBrowser& browser, bool byPaths);

} // namespace tarl
