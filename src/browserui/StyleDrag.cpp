#include "browserui/StyleDrag.h"

#include "browser/LibraryTreeModel.h"
#include "browser/TreeCommands.h"
#include "browser/TreeIcons.h"
#include "browser/TreeImage.h"
#include "browserui/LibraryBrowser.h"
#include "catalog/CatalogUpdate.h"
#include "platform/Ui.h"
#include "state/AppState.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTreeView>

namespace tarl {

const QString StyleDrag::TreeNodeMimeType = QStringLiteral("application/x-tarl-tree-node");

StyleDrag::StyleDrag(AppState& state, LibraryBrowser& browser, QObject* parent)
    : QObject(parent), state_(state), browser_(browser), treeView_(browser.treeView()) {
    treeView_->viewport()->setAcceptDrops(true);
    treeView_->viewport()->installEventFilter(this);
}

void StyleDrag::highlight(TreeNode* node) {
    highlight_ = node;
    browser_.treeModel()->setDropHighlight(node);
}

void StyleDrag::begin(TreeNode* node) {
    dragged_ = node;
    target_ = nullptr;
    if (node)
        browser_.selectWithoutListing(node);
}

void StyleDrag::over(TreeNode* target) {
    if (!dragged_ || target == target_)
        return;
    target_ = target;
    const DragHighlight<TreeNode> h = HighlightFor(dragged_->kind(), target);
    if (!h.keep)
        highlight(h.node);
}

void StyleDrag::drop() {
    TreeNode* dragged = dragged_;
    TreeNode* onto = highlight_;
    end();
    if (!dragged || !onto || onto == dragged->parent)
        return;
    if (dragged->kind() == NodeKind::StyleList) {
        fileList(dragged, onto);
        return;
    }
    if (dragged->kind() == NodeKind::TrackFolder) {
        const ListKeyParts parts = SplitListKey(dragged->key);
        state_.services.ui.message(
            QStringLiteral("moVE MP3 Folder ") + parts.file + QStringLiteral(" from ") +
                parts.path + QStringLiteral(" to ") + onto->key,
            QStringLiteral("Comming soon"), MsgIcon::Information, MsgButtons::Ok);
    }
}

void StyleDrag::end() {
    highlight(nullptr);
    dragged_ = nullptr;
    target_ = nullptr;
    pressed_ = false;
    browser_.setClickedNode(nullptr);
}

void StyleDrag::fileList(TreeNode* list, TreeNode* style) {
    const ListKeyParts parts = SplitListKey(list->key);
    const Result<> filed = FileListUnderStyle(state_.catalog, parts.path, parts.file, style->text);
    if (!filed) {
        // The tree keeps the list where the catalog still has it.
        if (setStatus)
            setStatus(QStringLiteral("The list could not be filed under \"%1\": %2")
                          .arg(style->text, filed.error));
        return;
    }
    LibraryTreeModel* model = browser_.treeModel();
    const bool wasCollapsed = !treeView_->isExpanded(model->indexOf(style));
    const QString text = list->text, key = list->key, tag = list->tag;
    const int image = list->image;
    LibraryTree& tree = browser_.tree();
    tree.remove(list);
    TreeNode* node = tree.addChild(style, text, image);
    tree.setKey(node, key);
    tree.setTag(node, tag);
    // Selecting scrolls to the node, which opens its style: closed again after.
    browser_.selectWithoutListing(node);
    if (wasCollapsed)
        treeView_->collapse(model->indexOf(style));
}

void StyleDrag::startDrag() {
    TreeNode* node = browser_.clickedNode();
    if (!node)
        return;
    begin(node);
    auto* data = new QMimeData;
    data->setData(TreeNodeMimeType, node->key.toUtf8());
    auto* drag = new QDrag(treeView_);
    drag->setMimeData(data);
    drag->setPixmap(
        TreeIcons::icon(TreeImage::Catalog).pixmap(QSize(16, 16), treeView_->devicePixelRatioF()));
    drag->exec(Qt::MoveAction);
    // A drag that ended outside the tree, or was dropped, leaves nothing behind.
    end();
}

bool StyleDrag::eventFilter(QObject* watched, QEvent* event) {
    if (watched != treeView_->viewport())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        pressed_ = mouse->button() == Qt::LeftButton;
        pressedAt_ = mouse->position().toPoint();
        return false;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!pressed_ || !(mouse->buttons() & Qt::LeftButton) || !browser_.clickedNode())
            return false;
        if ((mouse->position().toPoint() - pressedAt_).manhattanLength() <
            QApplication::startDragDistance())
            return false;
        pressed_ = false;
        startDrag();
        return true;
    }
    case QEvent::MouseButtonRelease:
        pressed_ = false;
        return false;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (!drag->mimeData()->hasFormat(TreeNodeMimeType))
            return false;
        over(browser_.treeModel()->nodeAt(treeView_->indexAt(drag->position().toPoint())));
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* dropped = static_cast<QDropEvent*>(event);
        if (!dropped->mimeData()->hasFormat(TreeNodeMimeType))
            return false;
        drop();
        dropped->acceptProposedAction();
        return true;
    }
    default:
        return false;
    }
}

} // namespace tarl
