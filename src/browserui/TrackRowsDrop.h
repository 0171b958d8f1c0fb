#pragma once

#include <QObject>
#include <QPersistentModelIndex>
#include <QString>
#include <functional>

class QTreeView;

namespace tarl {

struct AppState;
class LibraryBrowser;
class TrackListView;

// The library tree's side of dragging the track list's selected rows onto a folder node: while
// the rows are over the tree the node under the pointer is highlighted; dropped on a folder,
// their files are moved (no key, or Shift) or copied (Ctrl) into it, and after a success the
// folder's volume row goes and the folder is scanned again, so the catalog matches the disc.
// Only files inside the list's folder and a volume's go (SelectedFilesBounds).
// It watches the tree's viewport for drags of the track list's rows only (its own MIME type) and
// lets every other event through, so the tree's own drags are not its business.
class TrackRowsDrop : public QObject {
    Q_OBJECT
public:
    enum class Operation { Nothing, Move, Copy };
    // The keys and buttons held at the drop decide: the right button, or any keys but none,
    // Shift alone or Ctrl alone, do nothing.
    static Operation OperationFor(Qt::MouseButtons buttons, Qt::KeyboardModifiers keys);

    TrackRowsDrop(AppState& state, LibraryBrowser& browser, QTreeView* treeView,
                  TrackListView* list, std::function<void(int, const QString&)> setStatus,
                  QObject* parent = nullptr);

    // The re-scan of a folder that received files (the toolbar's re-scan of that folder).
    std::function<void(const QString& folder)> rescanFolder;
    // True while a walk or import runs: files dropped then would miss the re-scan, so the drop
    // is refused with a word in the status bar.
    std::function<bool()> scanning;

    // The node highlighted under the dragged rows; invalid when none.
    QModelIndex highlighted() const { return highlighted_; }

    // Moves or copies the selected rows' files into `folder`; true when at least one file went.
    // A success is followed by the catalog step and the re-scan.
    bool DropRows(Operation operation, const QString& folder);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void highlight(const QModelIndex& index);

    AppState& state_;
    LibraryBrowser& browser_;
    QTreeView* treeView_;
    TrackListView* list_;
    std::function<void(int, const QString&)> setStatus_;
    QPersistentModelIndex highlighted_;
    bool running_ = false;
};

} // namespace tarl
