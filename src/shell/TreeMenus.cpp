#include "shell/TreeMenus.h"

#include "browser/LibraryTreeModel.h"
#include "browser/TreeCommands.h"
#include "browser/TreeImage.h"
#include "browserui/LibraryBrowser.h"
#include "catalog/CatalogDelete.h"
#include "catalog/CatalogFind.h"
#include "catalog/CatalogInsert.h"
#include "dialogs/RenameDialog.h"
#include "platform/Files.h"
#include "platform/Launcher.h"
#include "platform/Ui.h"
#include "state/AppState.h"
#include "state/PlayActions.h"
#include "state/Twips.h"
#include "state/Version.h"

#include <QMenu>
#include <QTreeView>

namespace tarl {

namespace {
const QString kFolderTitle = QStringLiteral("Add Folder to Hard Disc");
} // namespace

TreeMenus::TreeMenus(AppState& state, LibraryBrowser& browser, QWidget* window)
    : QObject(window), state_(state), browser_(browser), window_(window) {
    catalogMenu = new QMenu(QStringLiteral("Style Nothing"), window);
    add(catalogMenu, QStringLiteral("Add Style"), &TreeMenus::addStyleClicked);
    add(catalogMenu, QStringLiteral("Purge Unused Styles"), nullptr);
    add(catalogMenu, QStringLiteral("Sort by CD"), nullptr);
    catalogMenu->addSeparator();
    add(catalogMenu, QStringLiteral("Un-Expand all Styles"), &TreeMenus::collapseStylesClicked);
    add(catalogMenu, QStringLiteral("Tree Options"), &TreeMenus::treeOptionsClicked);

    styleMenu = new QMenu(QStringLiteral("Edit Style"), window);
    add(styleMenu, QStringLiteral("Rename Style"), &TreeMenus::renameStyleClicked);
    add(styleMenu, QStringLiteral("Style Properties"), nullptr);
    add(styleMenu, QStringLiteral("Delete Style"), &TreeMenus::deleteStyleClicked);

    listMenu = new QMenu(QStringLiteral("M3u Style"), window);
    add(listMenu, QStringLiteral("Play with Winamp"), &TreeMenus::playListClicked);
    add(listMenu, QStringLiteral("Open Folder"), &TreeMenus::openFolderClicked);
    add(listMenu, QStringLiteral("Delete"), &TreeMenus::deleteListClicked);
    add(listMenu, QStringLiteral("Create Folder"), &TreeMenus::createFolderClicked);
    add(listMenu, QStringLiteral("Re-Scan this folder"), &TreeMenus::rescanFolderClicked);
    listMenu->addSeparator();
    listFilesMenu = listMenu->addMenu(QStringLiteral("HD modify"));
    add(listFilesMenu, QStringLiteral("Edit M3u"), &TreeMenus::editPlaylistClicked);
    add(listFilesMenu, QStringLiteral("Rename Folder/M3u"), nullptr);
    add(listFilesMenu, QStringLiteral("Delete M3u !"), nullptr);
    add(listFilesMenu, QStringLiteral("Delete Folder/M3u and asociate Mp3 !"), nullptr);
    add(listMenu, QStringLiteral("Properties"), &TreeMenus::listPropertiesClicked);

    hooks.popup = [](QMenu* menu, const QPoint& at) { menu->popup(at); };
    hooks.runRename = [](RenameDialog& dialog) { dialog.exec(); };
}

TreeMenus::~TreeMenus() = default;

QAction* TreeMenus::add(QMenu* menu, const QString& caption, void (TreeMenus::*command)()) {
    QAction* action = menu->addAction(caption);
    // Items with no behaviour are shown, greyed.
    if (!command) {
        action->setEnabled(false);
        return action;
    }
    connect(action, &QAction::triggered, this, command);
    return action;
}

void TreeMenus::status(const QString& text) {
    if (hooks.setStatus)
        hooks.setStatus(text);
}

void TreeMenus::reloadTree() {
    if (state_.sortedByCd)
        browser_.showTreeByPaths();
    else
        browser_.showTreeByStyle();
}

TreeNode* TreeMenus::node() const {
    return browser_.clickedNode();
}

void TreeMenus::showTreeMenu(Qt::MouseButton button, const QPoint& globalPos) {
    if (button != Qt::RightButton)
        return;
    TreeNode* clicked = node();
    const TreeMenu menu = ChooseTreeMenu(
        clicked != nullptr, clicked ? clicked->kind() : NodeKind::None, state_.sortedByCd);
    // Selected without filling the track list again: the menu acts on the node.
    if (clicked)
        browser_.selectWithoutListing(clicked);
    QMenu* shown = nullptr;
    switch (menu) {
    case TreeMenu::None:
        return;
    case TreeMenu::StyleNothing:
        shown = catalogMenu;
        break;
    case TreeMenu::EditStyle:
        shown = styleMenu;
        break;
    case TreeMenu::M3uStyle:
        shown = listMenu;
        break;
    }
    hooks.popup(shown, globalPos + QPoint(ToPixels(400), ToPixels(600)));
}

// ---------------------------------------------------------------------------------------------
// "Style Nothing"

void TreeMenus::addStyleClicked() {
    TreeNode* root = browser_.rootNode();
    if (!root)
        return;
    LibraryTree& tree = browser_.tree();
    // A name no node and no style has, so the catalog never holds two of it (case aside).
    QString failedLookUp;
    const QString name = NextNewStyleName([&](const QString& key) {
        if (tree.NodeExists(key))
            return true;
        const Lookup<qint64> style = FindStyleId(state_.catalog, key);
        if (!style.ok)
            failedLookUp = style.error;
        return style.value != 0;
    });
    if (!failedLookUp.isEmpty()) {
        status(QStringLiteral("The styles could not be read from the catalog: ") + failedLookUp);
        return;
    }
    const Result<StyleAdded> added = AddStyle(state_.catalog, name);
    if (!added) {
        reloadTree();
        status(QStringLiteral("The style could not be added: ") + added.error);
        return;
    }
    TreeNode* style = tree.addChild(root, name, TreeImage::Style);
    tree.setKind(style, NodeKind::Style);
    tree.setKey(style, name);
    status(QStringLiteral("Style \"%1\" added.").arg(name));
}

void TreeMenus::collapseStylesClicked() {
    QTreeView* view = browser_.treeView();
    LibraryTreeModel* model = browser_.treeModel();
    std::vector<TreeNode*> pending;
    for (const auto& top : browser_.tree().topLevel())
        pending.push_back(top.get());
    while (!pending.empty()) {
        TreeNode* current = pending.back();
        pending.pop_back();
        const NodeKind kind = current->kind();
        if (kind == NodeKind::Style || kind == NodeKind::Unsorted)
            view->collapse(model->indexOf(current));
        for (const auto& child : current->children)
            pending.push_back(child.get());
    }
}

void TreeMenus::treeOptionsClicked() {
    if (hooks.showOptions)
        hooks.showOptions();
}

// ---------------------------------------------------------------------------------------------
// "Edit Style"

void TreeMenus::renameStyleClicked() {
    TreeNode* style = node();
    if (!style)
        return;
    RenameDialog dialog(state_, window_);
    dialog.renameMode = RenameDialog::RenameStyle;
    dialog.prompt = QStringLiteral("Write new style name");
    dialog.currentLabel = style->text;
    LibraryTree& tree = browser_.tree();
    dialog.clickedNode = {style->tag, style->key, [&tree, style](const QString& name) {
                              tree.setText(style, name);
                              tree.setKey(style, name);
                          }};
    hooks.runRename(dialog);
}

void TreeMenus::deleteStyleClicked() {
    const TreeNode* selected = browser_.selectedNode();
    if (!selected)
        return;
    const QString name = selected->text;
    const Result<> deleted = DeleteStyle(state_.catalog, name, &browser_.tree());
    if (deleted)
        return;
    reloadTree();
    status(QStringLiteral("The style \"%1\" could not be deleted: %2").arg(name, deleted.error));
}

// ---------------------------------------------------------------------------------------------
// "M3u Style"

void TreeMenus::playListClicked() {
    if (node() && state_.play)
        state_.play->PlayKey(node()->key);
}

void TreeMenus::openFolderClicked() {
    if (!node())
        return;
    const QString folder = FolderOfKey(node()->key);
    if (const Result<> shown = state_.services.launcher.openFolder(state_.pathMap.toLocal(folder));
        !shown)
        status(QStringLiteral("The folder %1 could not be shown: %2").arg(folder, shown.error));
}

void TreeMenus::editPlaylistClicked() {
    if (!node())
        return;
    const QString file = KeyPath(node()->key);
    if (const Result<> opened =
            state_.services.launcher.openInTextEditor(state_.pathMap.toLocal(file));
        !opened)
        status(QStringLiteral("%1 could not be opened in the text editor: %2")
                   .arg(file, opened.error));
}

void TreeMenus::deleteListClicked() {
    if (!node())
        return;
    const QString key = node()->key;
    Result<> deleted;
    switch (DeleteFor(node()->kind())) {
    case NodeDelete::Nothing:
        return;
    case NodeDelete::Volume:
        deleted = DeleteVolume(state_.catalog, state_.services.drives, state_.services.files, key,
                               &browser_.tree());
        break;
    case NodeDelete::List:
        deleted = DeleteList(state_.catalog, state_.services.drives, key, &browser_.tree());
        break;
    }
    if (deleted)
        return;
    reloadTree();
    status(QStringLiteral("%1 could not be deleted from the catalog: %2").arg(key, deleted.error));
}

void TreeMenus::createFolderClicked() {
    TreeNode* parent = node();
    if (!parent)
        return;
    Ui& ui = state_.services.ui;
    const std::optional<QString> answer =
        ui.input(QStringLiteral("Folder name:"), kFolderTitle, QStringLiteral("Folder1"));
    if (!answer)
        return;
    const QString path = parent->key + *answer + QStringLiteral("/");
    // The box says what failed; the status bar keeps the reason.
    const auto fail = [&](const QString& why) {
        status(why);
        ui.message(QStringLiteral("Error making folder ") + *answer + QStringLiteral("/"),
                   kFolderTitle, MsgIcon::Critical, MsgButtons::Ok);
    };
    if (const Result<> named = CheckNewFolderName(*answer); !named) {
        fail(named.error);
        return;
    }
    QString why;
    if (!state_.services.files.makeFolder(state_.pathMap.toLocal(path), &why)) {
        fail(why);
        return;
    }
    const Result<> added = AddFolderVolume(state_.catalog, path, state_.currentLabel);
    if (!added) {
        fail(added.error);
        return;
    }
    LibraryTree& tree = browser_.tree();
    if (tree.NodeExists(path))
        return;
    TreeNode* folder = tree.addChild(parent, *answer + QStringLiteral("/"), TreeImage::Folder);
    tree.setKey(folder, path);
    tree.setKind(folder, NodeKind::Volume);
}

void TreeMenus::rescanFolderClicked() {
    if (hooks.rescanFolder)
        hooks.rescanFolder();
}

void TreeMenus::listPropertiesClicked() {
    if (hooks.showProperties)
        hooks.showProperties();
}

} // namespace tarl
