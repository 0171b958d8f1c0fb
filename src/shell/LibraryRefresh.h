#pragma once

namespace tarl {

class LibraryBrowser;

// After an import the main window shows the catalog again: the library tree is built anew in
// the view it shows (by paths or by style), and the node that was selected is selected again
// when its key is still in the tree, with its tracks listed again (a rebuild loses the
// selection). When the key is gone nothing is selected.
void RebuildLibraryTree(LibraryBrowser& browser, bool byPaths);

} // namespace tarl
