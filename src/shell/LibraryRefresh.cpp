#include "shell/LibraryRefresh.h"

#include "browserui/LibraryBrowser.h"

namespace tarl {

void RebuildLibraryTree(LibraryBrowser& browser, bool byPaths) {
    const TreeNode* selected = browser.selectedNode();
    const QString key = selected ? selected->key : QString();
    const QStringList expanded = browser.expandedKeys();
    if (byPaths)
        browser.showTreeByPaths();
    else
        browser.showTreeByStyle();
    browser.expandKeys(expanded);
    if (!key.isEmpty())
        browser.selectFolderNode(key);
}

} // namespace tarl
