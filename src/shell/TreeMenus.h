#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace tarl {

struct AppState;
class RenameDialog;
class LibraryBrowser;
struct TreeNode;

// The library tree's right-click menus and the commands behind them. Every command acts on the
// browser's clicked node (the node under the pointer at the last mouse-down). The menus are only
// ever opened as popups. A catalog statement that fails is told in the status bar, and the tree
// is then built again from the catalog, so it never shows what the catalog does not hold.
class TreeMenus : public QObject {
    Q_OBJECT
public:
    TreeMenus(AppState& state, LibraryBrowser& browser, QWidget* window);
    ~TreeMenus() override;

    // Opens the menu for the clicked node and the view, 400 twips right of and 600 twips below
    // `globalPos` (the pointer). Buttons other than the right one do nothing.
    void showTreeMenu(Qt::MouseButton button, const QPoint& globalPos);

    // "Style Nothing"
    void addStyleClicked();
    void collapseStylesClicked();
    void treeOptionsClicked();
    // "Edit Style"
    void renameStyleClicked();
    void deleteStyleClicked();
    // "M3u Style"
    void playListClicked();
    void openFolderClicked();
    void deleteListClicked();
    void createFolderClicked();
    void rescanFolderClicked();
    void editPlaylistClicked();
    void listPropertiesClicked();

    QMenu* catalogMenu = nullptr;
    QMenu* styleMenu = nullptr;
    QMenu* listMenu = nullptr;
    QMenu* listFilesMenu = nullptr;

    // What the window does for the commands that belong to other windows; tests replace them.
    struct Hooks {
        std::function<void(QMenu* menu, const QPoint& globalPos)> popup;
        std::function<void(RenameDialog& dialog)> runRename;
        std::function<void()> showOptions;    // not modal
        std::function<void()> showProperties; // modal, on the clicked node
        std::function<void()> rescanFolder;   // the selected node's folder
        std::function<void(const QString&)> setStatus;
    } hooks;

private:
    QAction* add(QMenu* menu, const QString& caption, void (TreeMenus::*command)());
    void status(const QString& text);
    // Builds the tree of the present view again from the catalog.
    void reloadTree();
    TreeNode* node() const;

    AppState& state_;
    LibraryBrowser& browser_;
    QWidget* window_;
};

} // namespace tarl
