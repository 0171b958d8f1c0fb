#pragma once

#include "browser/LibraryTree.h"
#include "browserui/TrackListView.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QTreeView;
class QWidget;

namespace tarl {

struct AppState;
class LibraryTreeModel;
class TrackListModel;
class TrackListView;

// The window side of the library tree `treeView` and the track list `trackList`: their events, the
// View menu and toolbar states, filling the list from the tree and the play actions.
class LibraryBrowser : public QObject {
    Q_OBJECT
public:
    // The main window's controls this side drives.
    struct Controls {
        QWidget* window = nullptr;
        QTreeView* treeView = nullptr;
        TrackListView* trackList = nullptr;
        QAction* viewPathsButton = nullptr;  // toolbar button 2
        QAction* viewStylesButton = nullptr; // toolbar button 3
        QAction* viewByPathsAction = nullptr;
        QAction* viewByStyleAction = nullptr;
        std::array<QAction*, 4> listModeActions{}; // little icons, list icons, list, report
        std::function<void(int, const QString&)> setStatus; // panel, text
    };

    LibraryBrowser(AppState& state, Controls controls, QObject* parent = nullptr);
    ~LibraryBrowser() override;

    // Rebuild the tree by paths / by style. False when the catalog could not be read.
    bool showTreeByPaths();
    bool showTreeByStyle();
    // Sets up the track list's columns: captions, built-in widths, the saved widths and places.
    void loadmp3list();
    // Writes the columns' widths and places to the settings (at shutdown).
    void saveColumns();
    // Selects the node keyed `path`, shows it and lists its tracks; false when none has it.
    bool selectFolderNode(const QString& path);
    // Lists the tracks of the tree's selected node.
    void FillTrackList();
    // Marks the playing track (lastFolder + lastSong) in the list: its rows red and bold, the
    // last of them selected (and scrolled to when `ensureVisible`); the other rows black when
    // they are in the temporary playlist, green when not. Rows match by their whole path.
    void selectPlayingSong(bool ensureVisible);
    // Fills the list again and takes `row` out of the selection (after a length was learned).
    void reloadTrackList(int row);

    // Events of the tree and the list, as the window receives them.
    void treeMouseDown(Qt::MouseButton button, const QPoint& pos);
    void treeKeyDown(int key);
    void treeDoubleClicked();
    void trackListKeyDown(int key);
    // "Play next" (Ctrl+Enter) and "Add to queue": the selected tracks after the song playing
    // or at the end of the player's list, once their disc is in.
    void queueSelected(bool next);
    void trackListMouseDown(Qt::MouseButton button, const QPoint& pos);

    // The View menu's list modes (1 to 4).
    void setListViewMode(int mode);
    void checkMp3ViewMode(int mode);
    int selectedTrackCount() const;

    LibraryTree& tree() { return tree_; }
    LibraryTreeModel* treeModel() const { return treeModel_.get(); }
    TrackListModel* trackModel() const { return trackModel_.get(); }
    TreeNode* rootNode() const { return rootNode_; }
    TreeNode* clickedNode() const { return clickedNode_; }
    // The key of the node whose tracks the list shows; "" before the first listing. Another node
    // may be clicked or selected since (a context menu, a drag) without the list changing.
    const QString& listedKey() const { return listedKey_; }
    TreeNode* selectedNode() const;
    // The keys of the nodes shown open, and opening the nodes of these keys that the tree holds:
    // a rebuild keeps what the person had opened.
    QStringList expandedKeys() const;
    void expandKeys(const QStringList& keys);
    QTreeView* treeView() const { return c_.treeView; }
    // The context commands and the drag set the clicked node and select a node without listing
    // its tracks.
    void setClickedNode(TreeNode* node) { clickedNode_ = node; }
    void selectWithoutListing(TreeNode* node) { selectNode(node); }

    // Where the track list's context menu opens (the menus come with the context commands).
    std::function<void(const QPoint& globalPos)> showTrackListMenu;
    std::function<void(const QPoint& globalPos)> showTreeMenu;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showTreeState();
    void selectNode(TreeNode* node);
    // Writes the temporary playlist from rows of the list; false when it could not be written.
    bool writeTemporaryPlaylist(const std::vector<int>& rows);
    bool discReady(const QString& key);
    void playTemporaryPlaylist();
    void status(const QString& text);

    AppState& state_;
    Controls c_;
    LibraryTree tree_;
    std::unique_ptr<LibraryTreeModel> treeModel_;
    std::unique_ptr<TrackListModel> trackModel_;
    TreeNode* rootNode_ = nullptr;
    TreeNode* clickedNode_ = nullptr;
    QString listedKey_;
    // A key press is being handed to the tree by the event filter itself.
    bool forwardingKey_ = false;
    // The status bar tells why the last play's list could not be written.
    bool playFailureShown_ = false;
    std::array<double, 12> loadedWidths_{}; // twips, as read from the settings
    QPointer<QTreeView> treeViewAlive_;
    QPointer<TrackListView> listAlive_;
};

} // namespace tarl
