#include "searchui/ResultsView.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace tarl {

ResultsView::ResultsView(QWidget* parent) : QTreeView(parent) {
    setObjectName(QStringLiteral("results"));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true); // a hundred thousand rows are laid out without measuring each
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::NoContextMenu); // the right button is the window's own
}

void ResultsView::mousePressEvent(QMouseEvent* event) {
    QTreeView::mousePressEvent(event);
    if (onMouseDown)
        onMouseDown(event->button(), viewport()->mapTo(this, event->position().toPoint()));
}

void ResultsView::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && onEnter) {
        onEnter();
        return;
    }
    QTreeView::keyPressEvent(event);
}

} // namespace tarl
