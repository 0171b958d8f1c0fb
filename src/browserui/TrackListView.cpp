#include "browserui/TrackListView.h"

#include <QHeaderView>
#include <QListView>
#include <QStackedLayout>
#include <QTreeView>
#include <algorithm>

namespace tarl {

TrackListView::TrackListView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("trackList"));
    icons_ = new QListView(this);
    icons_->setObjectName(QStringLiteral("trackListIcons"));
    report_ = new QTreeView(this);
    report_->setObjectName(QStringLiteral("trackListReport"));
    report_->setRootIsDecorated(false);
    report_->setItemsExpandable(false);
    report_->setAllColumnsShowFocus(true);
    report_->setUniformRowHeights(true); // fast for long lists
    report_->setSortingEnabled(false);   // clicking a header does nothing
    report_->header()->setSectionsClickable(true);
    report_->header()->setSectionsMovable(true);
    report_->header()->setStretchLastSection(false);
    for (QAbstractItemView* v :
         {static_cast<QAbstractItemView*>(icons_), static_cast<QAbstractItemView*>(report_)}) {
        v->setSelectionMode(QAbstractItemView::ExtendedSelection);
        v->setSelectionBehavior(QAbstractItemView::SelectRows);
        v->setEditTriggers(QAbstractItemView::NoEditTriggers);
        v->setDragEnabled(true);
        v->setDragDropMode(QAbstractItemView::DragOnly);
    }
    stack_ = new QStackedLayout(this);
    stack_->setContentsMargins(0, 0, 0, 0);
    stack_->addWidget(icons_);
    stack_->addWidget(report_);
    stack_->setCurrentWidget(report_);
}

void TrackListView::setModel(QAbstractItemModel* model) {
    report_->setModel(model);
    // One selection for both views.
    icons_->setModel(model);
    QItemSelectionModel* old = icons_->selectionModel();
    icons_->setSelectionModel(report_->selectionModel());
    if (old && old != report_->selectionModel())
        old->deleteLater();
}

QAbstractItemModel* TrackListView::model() const {
    return report_->model();
}
QItemSelectionModel* TrackListView::selectionModel() const {
    return report_->selectionModel();
}

void TrackListView::setMode(int mode) {
    switch (mode) {
    case 1: // small icons, side by side
        icons_->setViewMode(QListView::ListMode);
        icons_->setFlow(QListView::LeftToRight);
        icons_->setWrapping(true);
        icons_->setIconSize(QSize(16, 16));
        icons_->setGridSize(QSize());
        break;
    case 2: // large icons, labels below
        icons_->setViewMode(QListView::IconMode);
        icons_->setIconSize(QSize(32, 32));
        icons_->setGridSize(QSize(120, 64));
        icons_->setMovement(QListView::Static);
        icons_->setWordWrap(true);
        break;
    case 3: // list, column after column
        icons_->setViewMode(QListView::ListMode);
        icons_->setFlow(QListView::TopToBottom);
        icons_->setWrapping(true);
        icons_->setIconSize(QSize(16, 16));
        icons_->setGridSize(QSize());
        break;
    case 4:
        break;
    default:
        return;
    }
    icons_->setResizeMode(QListView::Adjust);
    mode_ = mode;
    QWidget* next = mode == 4 ? static_cast<QWidget*>(report_) : icons_;
    const bool hadFocus = currentView()->hasFocus();
    stack_->setCurrentWidget(next);
    if (hadFocus)
        next->setFocus();
}

QAbstractItemView* TrackListView::currentView() const {
    return mode_ == 4 ? static_cast<QAbstractItemView*>(report_) : icons_;
}

std::vector<int> TrackListView::selectedRows() const {
    std::vector<int> rows;
    if (!selectionModel())
        return rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int TrackListView::currentRow() const {
    if (!selectionModel())
        return -1;
    const QModelIndex current = selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void TrackListView::selectRows(const std::vector<int>& rows, int current) {
    QItemSelectionModel* selection = selectionModel();
    QAbstractItemModel* m = model();
    if (!selection || !m)
        return;
    selection->clearSelection();
    for (int row : rows)
        selection->select(m->index(row, 0),
                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    if (current >= 0)
        selection->setCurrentIndex(m->index(current, 0), QItemSelectionModel::NoUpdate);
}

void TrackListView::ToggleHeaderButtons(QTreeView* listView) {
    QHeaderView* header = listView->header();
    header->setSectionsClickable(!header->sectionsClickable());
}

} // namespace tarl
