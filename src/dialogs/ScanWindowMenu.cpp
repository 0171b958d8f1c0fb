#include "dialogs/ScanWindowMenu.h"

#include "dialogs/ScanWindow.h"
#include "platform/Launcher.h"
#include "state/AppState.h"
#include "state/PlayActions.h"
#include "text/PathText.h"

#include <QMenu>

namespace tarl {

ScanWindowMenu::ScanWindowMenu(AppState& state, ScanWindow& window)
    : QObject(&window), state_(state), window_(window) {
    scanNodeMenu = new QMenu(QStringLiteral("Scan Menu"), &window);
    const auto add = [this](QMenu* menu, const QString& caption,
                            void (ScanWindowMenu::*command)()) {
        QAction* action = menu->addAction(caption);
        // Items with no behaviour are shown, greyed.
        if (command)
            connect(action, &QAction::triggered, this, command);
        else
            action->setEnabled(false);
    };
    add(scanNodeMenu, QStringLiteral("Play with Winamp"), &ScanWindowMenu::playNodeClicked);
    add(scanNodeMenu, QStringLiteral("Delete"), &ScanWindowMenu::deleteNodeClicked);
    add(scanNodeMenu, QStringLiteral("Open Folder"), &ScanWindowMenu::openNodeFolderClicked);
    add(scanNodeMenu, QStringLiteral("Properties"), nullptr);
    scanNodeMenu->addSeparator();
    scanNodeFilesMenu = scanNodeMenu->addMenu(QStringLiteral("H.D Modify !"));
    add(scanNodeFilesMenu, QStringLiteral("Edit M3u"), &ScanWindowMenu::editNodePlaylistClicked);
    add(scanNodeFilesMenu, QStringLiteral("Rename"), nullptr);
    show = [](QMenu* menu, const QPoint& at) { menu->popup(at); };
}

void ScanWindowMenu::popup(ScanNode& node, const QPoint& globalPos) {
    nodeKey = node.key();
    show(scanNodeMenu, globalPos);
}

ScanNode* ScanWindowMenu::node() const {
    return window_.tree().find(nodeKey);
}

void ScanWindowMenu::status(const QString& text) {
    if (window_.hooks.setStatusPanel)
        window_.hooks.setStatusPanel(1, text);
}

void ScanWindowMenu::playNodeClicked() {
    if (!node())
        return;
    if (window_.hooks.PlayKey)
        window_.hooks.PlayKey(nodeKey);
    else if (state_.play)
        state_.play->PlayKey(nodeKey);
}

void ScanWindowMenu::deleteNodeClicked() {
    window_.tree().remove(node());
}

void ScanWindowMenu::openNodeFolderClicked() {
    if (!node())
        return;
    const QString folder = FolderOf(nodeKey);
    if (const Result<> shown = state_.services.launcher.openFolder(folder); !shown)
        status(QStringLiteral("The folder %1 could not be shown: %2").arg(folder, shown.error));
}

void ScanWindowMenu::editNodePlaylistClicked() {
    if (!node())
        return;
    if (const Result<> opened = state_.services.launcher.openInTextEditor(nodeKey); !opened)
        status(QStringLiteral("%1 could not be opened in the text editor: %2")
                   .arg(nodeKey, opened.error));
}

} // namespace tarl
