#include "shell/MainWindow.h"

#include "browserui/LibraryBrowser.h"
#include "browserui/StyleDrag.h"
#include "dialogs/OptionsDialog.h"
#include "dialogs/PropertiesDialog.h"
#include "shell/TreeMenus.h"

// The library tree's right-click menus and its drag of a list onto a style, wired to the window's
// other commands.
namespace tarl {

void MainWindow::buildTreeMenus() {
    treeMenus_ = new TreeMenus(state_, *browser_, this);
    browser_->showTreeMenu = [this](const QPoint& globalPos) {
        treeMenus_->showTreeMenu(Qt::RightButton, globalPos);
    };
    TreeMenus::Hooks& hooks = treeMenus_->hooks;
    hooks.setStatus = [this](const QString& text) { setStatusPanel(1, text); };
    hooks.rescanFolder = [this] { rescanSelected(); };
    hooks.showOptions = [this] {
        // Not modal: the tree stays usable while the options are open.
        auto* options = new OptionsDialog(state_, this);
        options->setAttribute(Qt::WA_DeleteOnClose);
        connect(options, &QDialog::finished, this, [this, options] {
            if (options->catalogChanged())
                startUp();
        });
        options->show();
    };
    hooks.showProperties = [this] {
        const TreeNode* node = browser_->clickedNode();
        PropertiesDialog properties(state_, node ? node->tag : QString(),
                                    node ? node->key : QString(), this);
        properties.exec();
    };
    styleDrag_ = new StyleDrag(state_, *browser_, this);
    styleDrag_->setStatus = hooks.setStatus;
}

} // namespace tarl
