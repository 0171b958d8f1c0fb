#include "dialogs/ScanFilesMenu.h"

#include "dialogs/ScanFiles.h"
#include "platform/Launcher.h"
#include "state/AppState.h"
#include "state/PlayActions.h"
#include "text/PathText.h"

#include <QMenu>

namespace tarl {

ScanFilesMenu::ScanFilesMenu(AppState& state, ScanFiles& window)
    : QObject(&window), state_(state), window_(window) {
    scanNodeMenu = new QMenu(QStringLiteral("Scan Menu"), &window);
    const auto add = [this](QMenu* menu, const QString& caption, void (ScanFilesMenu::*command)()) {
        QAction* action = menu->addAction(caption);
        // Items with no behaviour are shown, greyed.
        if (command)
            connect(action, &QAction::triggered, this, command);
        else
            action->setEnabled(false);
    };
    add(scanNodeMenu, QStringLiteral("Play with Winamp"), &ScanFilesMenu::playNodeClicked);
    add(scanNodeMenu, QStringLiteral("Delete"), &ScanFilesMenu::deleteNodeClicked);
    add(scanNodeMenu, QStringLiteral("Open Folder"), &ScanFilesMenu::openNodeFolderClicked);
    add(scanNodeMenu, QStringLiteral("Properties"), nullptr);
    scanNodeMenu->addSeparator();
    scanNodeFilesMenu = scanNodeMenu->addMenu(QStringLiteral("H.D Modify !"));
    add(scanNodeFilesMenu, QStringLiteral("Edit M3u"), &ScanFilesMenu::editNodePlaylistClicked);
    add(scanNodeFilesMenu, QStringLiteral("Rename"), nullptr);
    show = [](QMenu* menu, const QPoint& at) { menu->popup(at); };
}

void ScanFilesMenu::popup(ScanNode& node, const QPoint& globalPos) {
    nodeKey = node.key();
    show(scanNodeMenu, globalPos);
}

ScanNode* ScanFilesMenu::node() const {
    return window_.tree().find(nodeKey);
}

void ScanFilesMenu::status(const QString& text) {
    if (window_.hooks.setStatusPanel)
        window_.hooks.setStatusPanel(1, text);
}

void ScanFilesMenu::playNodeClicked() {
    if (!node())
        return;
    if (window_.hooks.PlayKey)
        window_.hooks.PlayKey(nodeKey);
    else if (state_.play)
        state_.play->PlayKey(nodeKey);
}

void ScanFilesMenu::deleteNodeClicked() {
    window_.tree().remove(node());
}

void ScanFilesMenu::openNodeFolderClicked() {
    if (!node())
        return;
    const QString folder = FolderOf(nodeKey);
    if (const Result<> shown = state_.services.launcher.openFolder(folder); !shown)
        status(QStringLiteral("The folder %1 could not be shown: %2").arg(folder, shown.error));
}

void ScanFilesMenu::editNodePlaylistClicked() {
    if (!node())
        return;
    if (const Result<> opened = state_.services.launcher.openInTextEditor(nodeKey); !opened)
        status(QStringLiteral("%1 could not be opened in the text editor: %2")
                   .arg(nodeKey, opened.error));
}

} // namespace tarl
