#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>

class QTreeView;

namespace tarl {

struct AppState;
class LibraryBrowser;
struct TreeNode;

// Dragging a node of the library tree onto another: a list dropped on a style is filed under
// that style, in the catalog and in the tree; a folder of tracks dropped anywhere only says the
// move is still to come. The drag carries its own MIME type (TreeNodeMimeType); other drops
// over the tree (rows of the track list) pass through to whoever handles them. Every drop, and
// every drag that ends without one, clears the highlight and the browser's clicked node.
class StyleDrag : public QObject {
    Q_OBJECT
public:
    static const QString TreeNodeMimeType;

    StyleDrag(AppState& state, LibraryBrowser& browser, QObject* parent = nullptr);

    // The steps of a drag, as the tree's events call them.
    void begin(TreeNode* node);
    void over(TreeNode* target);
    void drop();
    // Clears the highlight and the clicked node.
    void end();

    TreeNode* dragged() const { return dragged_; }
    TreeNode* highlighted() const { return highlight_; }

    std::function<void(const QString&)> setStatus;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fileList(TreeNode* list, TreeNode* style);
    void startDrag();
    void highlight(TreeNode* node);

    AppState& state_;
    LibraryBrowser& browser_;
    QTreeView* treeView_;
    TreeNode* dragged_ = nullptr;
    TreeNode* target_ = nullptr;
    TreeNode* highlight_ = nullptr;
    QPoint pressedAt_;
    bool pressed_ = false;
};

} // namespace tarl
