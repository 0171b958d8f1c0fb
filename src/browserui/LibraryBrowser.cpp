#include "browserui/LibraryBrowser.h"

#include "browser/ColumnLayout.h"
#include "browser/DiscCheck.h"
#include "browser/LibraryTreeModel.h"
#include "browser/TrackListModel.h"
#include "browser/TrackRows.h"
#include "browser/TreeBuild.h"
#include "browserui/TrackListView.h"
#include "platform/Drives.h"
#include "platform/PlayerLink.h"
#include "scan/TemporaryPlaylist.h"
#include "state/AppState.h"
#include "state/LastSong.h"
#include "state/PlayActions.h"
#include "state/Twips.h"

#include <QAction>
#include <QCoreApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QSet>
#include <QTreeView>

namespace tarl {

namespace {
bool isEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == 13;
}
} // namespace

LibraryBrowser::LibraryBrowser(AppState& state, Controls controls, QObject* parent)
    : QObject(parent), state_(state), c_(std::move(controls)) {
    treeModel_ = std::make_unique<LibraryTreeModel>(tree_);
    trackModel_ = std::make_unique<TrackListModel>();
    treeViewAlive_ = c_.treeView;
    listAlive_ = c_.trackList;
    c_.treeView->setModel(treeModel_.get());
    c_.treeView->setHeaderHidden(true);
    c_.treeView->setSelectionMode(QAbstractItemView::SingleSelection);
    c_.treeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    c_.treeView->setExpandsOnDoubleClick(false); // a double click plays
    c_.trackList->setModel(trackModel_.get());
    c_.treeView->installEventFilter(this);
    c_.treeView->viewport()->installEventFilter(this);
    for (QWidget* w : {static_cast<QWidget*>(c_.trackList->reportView()),
                       static_cast<QWidget*>(c_.trackList->iconView())}) {
        w->installEventFilter(this);
        static_cast<QAbstractItemView*>(w)->viewport()->installEventFilter(this);
    }
    checkMp3ViewMode(c_.trackList->mode());
}

LibraryBrowser::~LibraryBrowser() {
    // Views that outlive this side must not keep its models.
    if (treeViewAlive_)
        treeViewAlive_->setModel(nullptr);
    if (listAlive_)
        listAlive_->setModel(nullptr);
}

void LibraryBrowser::status(const QString& text) {
    if (c_.setStatus)
        c_.setStatus(1, text);
}

TreeNode* LibraryBrowser::selectedNode() const {
    return treeModel_->nodeAt(c_.treeView->currentIndex());
}

// ---------------------------------------------------------------------------------------------
// The tree

QStringList LibraryBrowser::expandedKeys() const {
    QStringList keys;
    const auto walk = [&](const auto& self,
                          const std::vector<std::unique_ptr<TreeNode>>& nodes) -> void {
        for (const auto& node : nodes) {
            if (node->key.isEmpty() || !c_.treeView->isExpanded(treeModel_->indexOf(node.get())))
                continue;
            keys << node->key;
            self(self, node->children);
        }
    };
    walk(walk, tree_.topLevel());
    return keys;
}

void LibraryBrowser::expandKeys(const QStringList& keys) {
    for (const QString& key : keys) {
        if (TreeNode* node = tree_.FindNodeByKey(key))
            c_.treeView->setExpanded(treeModel_->indexOf(node), true);
    }
}

void LibraryBrowser::showTreeState() {
    const bool byPaths = state_.sortedByCd;
    c_.viewPathsButton->setChecked(byPaths);
    c_.viewStylesButton->setChecked(!byPaths);
    c_.viewByPathsAction->setChecked(byPaths);
    c_.viewByStyleAction->setChecked(!byPaths);
}

bool LibraryBrowser::showTreeByPaths() {
    state_.sortedByCd = true;
    showTreeState();
    clickedNode_ = nullptr;
    rootNode_ = BuildTreeByPaths(tree_, TreeSources{state_.catalog, state_.services.drives,
                                                    state_.services.files, &state_.pathMap});
    for (const auto& top : tree_.topLevel())
        c_.treeView->setExpanded(treeModel_->indexOf(top.get()), top->expanded);
    return true;
}

bool LibraryBrowser::showTreeByStyle() {
    state_.sortedByCd = false;
    showTreeState();
    clickedNode_ = nullptr;
    const Result<> built =
        BuildTreeByStyle(tree_, TreeSources{state_.catalog, state_.services.drives,
                                            state_.services.files, &state_.pathMap});
    rootNode_ = tree_.FindNodeByKey(QStringLiteral("tarl.mdb"));
    for (const auto& top : tree_.topLevel())
        c_.treeView->setExpanded(treeModel_->indexOf(top.get()), top->expanded);
    if (!built)
        status(QStringLiteral("The styles could not be read from the catalog: ") + built.error);
    return built.ok;
}

void LibraryBrowser::selectNode(TreeNode* node) {
    const QModelIndex index = treeModel_->indexOf(node);
    c_.treeView->setCurrentIndex(index);
    c_.treeView->scrollTo(index);
}

bool LibraryBrowser::selectFolderNode(const QString& path) {
    TreeNode* node = tree_.FindNodeByKey(path);
    if (!node)
        return false;
    selectNode(node);
    FillTrackList();
    return true;
}

void LibraryBrowser::FillTrackList() {
    TreeNode* node = selectedNode();
    clickedNode_ = node;
    if (!node)
        return;
    Result<std::vector<TrackRow>> rows =
        TrackRowsForNode(state_.catalog, state_.services.drives, node->key, node->kind());
    if (!rows) {
        // The list keeps what it showed.
        status(QStringLiteral("The tracks could not be read from the catalog: ") + rows.error);
        return;
    }
    trackModel_->setRows(std::move(rows.value));
    listedKey_ = node->key;
}

void LibraryBrowser::reloadTrackList(int row) {
    FillTrackList();
    if (QItemSelectionModel* selection = c_.trackList->selectionModel())
        selection->select(trackModel_->index(row, 0),
                          QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
}

void LibraryBrowser::selectPlayingSong(bool ensureVisible) {
    // The playlist is read once; the tracks it holds are looked up in a set. Tracks are told
    // apart by their whole path: two albums may both hold "03.mp3".
    const QStringList entries = ReadTemporaryPlaylist(state_.tmpPlaylistPath);
    const QSet<QString> inPlaylist(entries.cbegin(), entries.cend());
    const QString playingPath = state_.lastFolder + state_.lastSong;
    static const QColor Red(255, 0, 0), Green(0, 128, 0), Black(0, 0, 0);
    std::vector<TrackListModel::RowMark> marks;
    marks.reserve(static_cast<size_t>(trackModel_->rowCount()));
    int playing = -1;
    for (int r = 0; r < trackModel_->rowCount(); ++r) {
        const QString path = trackModel_->row(r).fullPath();
        if (!state_.lastSong.isEmpty() && path == playingPath) {
            marks.push_back({Red, true});
            playing = r;
        } else {
            // The playlist lists this machine's paths; the rows hold the stored ones.
            marks.push_back(
                {inPlaylist.contains(state_.pathMap.toLocal(path)) ? Black : Green, false});
        }
    }
    trackModel_->setMarks(std::move(marks));
    if (playing < 0)
        return;
    c_.trackList->selectRows({playing}, playing);
    if (ensureVisible)
        c_.trackList->currentView()->scrollTo(trackModel_->index(playing, 0));
}

void LibraryBrowser::treeMouseDown(Qt::MouseButton button, const QPoint& pos) {
    clickedNode_ = treeModel_->nodeAt(c_.treeView->indexAt(pos));
    if (button == Qt::RightButton && showTreeMenu)
        showTreeMenu(c_.treeView->viewport()->mapToGlobal(pos));
    if (clickedNode_ && button == Qt::LeftButton) {
        selectNode(clickedNode_);
        FillTrackList();
    }
}

void LibraryBrowser::treeKeyDown(int key) {
    FillTrackList();
    if (isEnter(key))
        treeDoubleClicked();
}

bool LibraryBrowser::discReady(const QString& key) {
    return ConfirmDiscOfKey(state_.catalog, state_.services.drives, state_.services.ui, key) ==
           MsgAnswer::Ok;
}

void LibraryBrowser::queueSelected(bool next) {
    const std::vector<int> rows = c_.trackList->selectedRows();
    if (rows.empty() || !state_.play)
        return;
    // The disc of the list is asked for once, as a play of it would.
    if (const TreeNode* node = selectedNode(); node && !discReady(node->key))
        return;
    QStringList paths;
    for (int row : rows)
        paths << trackModel_->row(row).fullPath();
    state_.play->QueueKeys(paths, next);
}

bool LibraryBrowser::writeTemporaryPlaylist(const std::vector<int>& rows) {
    QStringList paths;
    for (int row : rows)
        paths << state_.pathMap.toLocal(trackModel_->row(row).fullPath());
    const Result<WrittenPlaylist> written = WriteTracksForThePlayer(state_.tmpPlaylistPath, paths);
    if (!written) {
        status(written.error);
        playFailureShown_ = true;
        return false;
    }
    // What was left out is said; the rest plays. A failure told before is no longer true.
    if (!written.value.leftOut.isEmpty() || playFailureShown_)
        status(written.value.leftOut);
    playFailureShown_ = false;
    return true;
}

void LibraryBrowser::playTemporaryPlaylist() {
    if (state_.play)
        state_.play->PlayFile(state_.tmpPlaylistPath);
}

void LibraryBrowser::treeDoubleClicked() {
    if (!clickedNode_)
        return;
    clickedNode_ = selectedNode();
    if (!clickedNode_)
        return;
    if (!discReady(clickedNode_->key))
        return;
    if (!PlaysTracks(clickedNode_->kind()))
        return;
    std::vector<int> all(trackModel_->rowCount());
    for (int i = 0; i < int(all.size()); ++i)
        all[i] = i;
    // A failed write left the previous list in place: playing it would play other tracks.
    if (!writeTemporaryPlaylist(all))
        return;
    if (!all.empty())
        playTemporaryPlaylist();
}

// ---------------------------------------------------------------------------------------------
// The list

int LibraryBrowser::selectedTrackCount() const {
    return static_cast<int>(c_.trackList->selectedRows().size());
}

void LibraryBrowser::trackListKeyDown(int key) {
    if (!isEnter(key))
        return;
    clickedNode_ = selectedNode();
    const int current = c_.trackList->currentRow();
    const QString track = current >= 0 ? trackModel_->row(current).fullPath() : QString();
    const int line = track.isEmpty() ? 0
                                     : TemporaryPlaylistLineOf(state_.tmpPlaylistPath,
                                                               state_.pathMap.toLocal(track));

    // One song already in the player's list: jump to it, starting the player when none runs.
    if (selectedTrackCount() < 2 && line > 0) {
        const bool launched = state_.playerPid == 0;
        if (launched)
            playTemporaryPlaylist();
        if (state_.play)
            state_.play->ResumeAt(line - 1, launched);
        return;
    }
    SaveLastSong(state_);
    if (state_.play)
        state_.play->RecordHistory();
    if (clickedNode_ && !discReady(clickedNode_->key))
        return;
    const std::vector<int> rows = c_.trackList->selectedRows();
    if (rows.empty() || !writeTemporaryPlaylist(rows))
        return;
    SaveLastSong(state_);
    if (state_.play)
        state_.play->RecordHistory();
    playTemporaryPlaylist();
}

void LibraryBrowser::trackListMouseDown(Qt::MouseButton button, const QPoint& pos) {
    if (button != Qt::RightButton || !showTrackListMenu)
        return;
    QAbstractItemView* view = c_.trackList->currentView();
    if (!view->indexAt(pos).isValid())
        return;
    // The menu opens 100 twips right of the pointer and 700 twips below its row position.
    const QPoint inWindow = c_.trackList->mapTo(c_.window, QPoint(0, 0));
    const QPoint at(inWindow.x() + pos.x() + ToPixels(100), pos.y() + ToPixels(700));
    showTrackListMenu(c_.window->mapToGlobal(at));
}

void LibraryBrowser::checkMp3ViewMode(int mode) {
    for (int i = 0; i < 4; ++i)
        c_.listModeActions[i]->setChecked(i + 1 == mode);
}

void LibraryBrowser::setListViewMode(int mode) {
    if (mode < 1 || mode > 4)
        return;
    c_.trackList->setMode(mode);
    checkMp3ViewMode(mode);
    if (mode == 4)
        TrackListView::ToggleHeaderButtons(c_.trackList->reportView());
}

void LibraryBrowser::loadmp3list() {
    QHeaderView* header = c_.trackList->reportView()->header();
    const ColumnLayout layout = ReadColumnLayout(state_.settings);
    for (int column = 0; column < TrackColumnCount && column < header->count(); ++column) {
        if (layout.widthTwips[column] > 0)
            header->resizeSection(column, ToPixels(layout.widthTwips[column]));
        loadedWidths_[column] = layout.widthTwips[column];
    }
    // Place the columns from the left, so the order is exactly the saved one.
    for (int place = 0; place < TrackColumnCount && place < header->count(); ++place) {
        for (int column = 0; column < TrackColumnCount; ++column) {
            if (layout.position[column] == place)
                header->moveSection(header->visualIndex(column), place);
        }
    }
    if (!layout.ignored.isEmpty())
        status(QStringLiteral("Unreadable column settings ignored: ") +
               layout.ignored.join(QStringLiteral(", ")));
}

void LibraryBrowser::saveColumns() {
    QHeaderView* header = c_.trackList->reportView()->header();
    ColumnLayout layout = BuiltInColumnLayout();
    for (int column = 0; column < TrackColumnCount && column < header->count(); ++column) {
        // A column the user did not resize keeps its twips exactly (2000 twips are 133.3 pixels).
        const int size = header->sectionSize(column);
        const double loaded = loadedWidths_[column];
        layout.widthTwips[column] =
            loaded > 0 && ToPixels(loaded) == size ? loaded : size * TwipsPerPixel;
        layout.position[column] = header->visualIndex(column);
    }
    WriteColumnLayout(state_.settings, layout);
}

// ---------------------------------------------------------------------------------------------
// Events

bool LibraryBrowser::eventFilter(QObject* watched, QEvent* event) {
    const bool onTree = watched == c_.treeView || watched == c_.treeView->viewport();
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (onTree && isEnter(key)) {
            treeKeyDown(key);
            return true;
        }
        if (onTree && !forwardingKey_) {
            // The tree moves to the node the key leads to first; the list then shows that node.
            forwardingKey_ = true;
            QCoreApplication::sendEvent(watched, event);
            forwardingKey_ = false;
            if (selectedNode() != clickedNode_)
                FillTrackList();
            return true;
        }
        if (onTree)
            return false;
        if (isEnter(key) &&
            static_cast<QKeyEvent*>(event)->modifiers().testFlag(Qt::ControlModifier)) {
            queueSelected(true);
            return true;
        }
        if (isEnter(key)) {
            trackListKeyDown(key);
            return true;
        }
        return false;
    }
    if (type == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint pos = mouse->position().toPoint();
        if (watched == c_.treeView->viewport())
            treeMouseDown(mouse->button(), pos);
        else if (watched != c_.treeView)
            trackListMouseDown(mouse->button(), pos);
        return false;
    }
    if (type == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == c_.treeView->viewport()) {
            treeDoubleClicked();
            return true;
        }
        if (watched != c_.treeView) {
            trackListKeyDown(Qt::Key_Return);
            return true;
        }
    }
    return false;
}

} // namespace tarl
