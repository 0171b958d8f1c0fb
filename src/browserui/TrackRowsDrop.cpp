#include "browserui/TrackRowsDrop.h"

#include "browser/LibraryTreeModel.h"
#include "browser/TrackListModel.h"
#include "browserui/LibraryBrowser.h"
#include "browserui/SelectedTracks.h"
#include "browserui/TrackListView.h"
#include "platform/Files.h"
#include "platform/Ui.h"
#include "state/AppState.h"
#include "state/Version.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QSet>
#include <QTimer>
#include <QTreeView>
#include <utility>

namespace tarl {

namespace {

bool CarriesRows(const QMimeData* mime) {
    return mime && mime->hasFormat(QString::fromLatin1(TrackListModel::TrackIdsMimeType));
}

} // namespace

TrackRowsDrop::Operation TrackRowsDrop::OperationFor(Qt::MouseButtons buttons,
                                                     Qt::KeyboardModifiers keys) {
    if (buttons & Qt::RightButton)
        return Operation::Nothing;
    const Qt::KeyboardModifiers held =
        keys & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (held == Qt::NoModifier || held == Qt::ShiftModifier)
        return Operation::Move;
    if (held == Qt::ControlModifier)
        return Operation::Copy;
    return Operation::Nothing;
}

TrackRowsDrop::TrackRowsDrop(AppState& state, LibraryBrowser& browser, QTreeView* treeView,
                             TrackListView* list,
                             std::function<void(int, const QString&)> setStatus, QObject* parent)
    : QObject(parent), state_(state), browser_(browser), treeView_(treeView), list_(list),
      setStatus_(std::move(setStatus)) {
    treeView_->setAcceptDrops(true);
    treeView_->viewport()->setAcceptDrops(true);
    treeView_->viewport()->installEventFilter(this);
}

// The tree's own drop highlight, as a list dragged onto a style shows it.
void TrackRowsDrop::highlight(const QModelIndex& index) {
    highlighted_ = index;
    browser_.treeModel()->setDropHighlight(browser_.treeModel()->nodeAt(index));
}

bool TrackRowsDrop::eventFilter(QObject* watched, QEvent* event) {
    if (watched != treeView_->viewport())
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!CarriesRows(drag->mimeData()))
            return false;
        highlight(treeView_->indexAt(drag->position().toPoint()));
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::DragLeave:
        highlight({}); // whoever's drag it was, no node stays highlighted
        return false;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!CarriesRows(drop->mimeData()))
            return false;
        highlight({});
        // Copy as far as the list knows: the rows it must lose are this side's to remove.
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        const Operation operation = OperationFor(drop->buttons(), drop->modifiers());
        const TreeNode* node =
            browser_.treeModel()->nodeAt(treeView_->indexAt(drop->position().toPoint()));
        if (operation == Operation::Nothing || !node)
            return true;
        // After the drag has ended: the boxes and the re-scan must not run inside it.
        QTimer::singleShot(0, this,
                           [this, operation, folder = node->key] { DropRows(operation, folder); });
        return true;
    }
    default:
        return false;
    }
}

namespace {

// "Move 4 files from /music/rock/ to /music/pop/?"; several folders are counted.
QString MoveQuestion(const std::vector<TrackFile>& selected, const QString& destination) {
    QSet<QString> folders;
    for (const TrackFile& file : selected)
        folders.insert(file.folder);
    const QString count = selected.size() == 1 ? QStringLiteral("1 file")
                                               : QStringLiteral("%1 files").arg(selected.size());
    const QString from =
        folders.size() == 1 ? *folders.cbegin() : QStringLiteral("%1 folders").arg(folders.size());
    return QStringLiteral("Move %1 from %2 to %3?").arg(count, from, destination);
}

} // namespace

bool TrackRowsDrop::DropRows(Operation operation, const QString& folder) {
    // Only a folder on the disc takes files (a playlist or CD node does not).
    // The node's folder is a catalog path; the files go to this machine's path of it.
    const QString destination = state_.pathMap.toLocal(folder);
    if (running_ || operation == Operation::Nothing || !folder.endsWith('/') ||
        !state_.services.files.isDir(destination))
        return false;
    const std::vector<TrackFile> selected =
        SelectedTrackFiles(*browser_.trackModel(), list_->selectedRows(), state_.pathMap);
    if (selected.empty())
        return false;
    if (scanning && scanning()) {
        if (setStatus_)
            setStatus_(1, QStringLiteral("A scan is running: drop the tracks again when it ends"));
        return false;
    }
    Ui& ui = state_.services.ui;
    const Result<FileBounds> bounds = SelectedFilesBounds(state_, browser_, selected);
    if (!bounds) {
        ui.message(QStringLiteral("The folders of the data base could not be read: ") +
                       bounds.error,
                   QString(VersionLabel), MsgIcon::Critical, MsgButtons::Ok);
        return false;
    }
    // A move takes the files off their folder, maybe off their disc: asked once, with what goes
    // where, as a file manager asks.
    if (operation == Operation::Move &&
        ui.message(MoveQuestion(selected, destination), QStringLiteral("Move files in Hard Disc"),
                   MsgIcon::Question, MsgButtons::OkCancel) != MsgAnswer::Ok)
        return false;
    running_ = true;
    const FileOpHooks hooks = WindowFileOpHooks(ui, setStatus_);
    bool ok = false;
    if (operation == Operation::Copy) {
        ok = CopySelectedFiles(state_.services.files, bounds.value, selected, destination, hooks)
                 .ok();
    } else {
        const MoveDone done = MoveSelectedFiles(state_.services.files, state_.catalog, bounds.value,
                                                selected, destination, hooks);
        browser_.trackModel()->removeRowsAt(done.movedRows);
        ok = done.ok();
    }
    running_ = false;
    if (!ok)
        return false;
    if (const Result<> forgot = ForgetFolderVolume(state_.catalog, folder); !forgot)
        ui.message(QStringLiteral("The data base could not be updated for ") + folder + ": " +
                       forgot.error,
                   QString(VersionLabel), MsgIcon::Critical, MsgButtons::Ok);
    if (rescanFolder)
        rescanFolder(folder);
    // The tree shows its selection again after the drop.
    treeView_->setFocus();
    treeView_->scrollTo(treeView_->currentIndex());
    return true;
}

} // namespace tarl
