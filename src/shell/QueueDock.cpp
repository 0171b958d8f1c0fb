#include "shell/QueueDock.h"

#include "player/PlayQueue.h"
#include "state/AppState.h"

#include <QAbstractItemModel>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace tarl {

QueueDock::QueueDock(PlayQueue& queue, QWidget* parent)
    : QDockWidget(QStringLiteral("Queue"), parent), queue_(queue) {
    setObjectName(QStringLiteral("queueDock"));
    auto* body = new QWidget(this);
    list_ = new QListWidget(body);
    list_->setObjectName(QStringLiteral("queueList"));
    list_->setDragDropMode(QAbstractItemView::InternalMove);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    removeButton_ = new QPushButton(QStringLiteral("Remove"), body);
    upButton_ = new QPushButton(QStringLiteral("Move up"), body);
    downButton_ = new QPushButton(QStringLiteral("Move down"), body);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {removeButton_, upButton_, downButton_})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(list_);
    layout->addLayout(buttons);
    setWidget(body);

    connect(removeButton_, &QPushButton::clicked, this, &QueueDock::removeSelected);
    connect(upButton_, &QPushButton::clicked, this, [this] { moveSelected(-1); });
    connect(downButton_, &QPushButton::clicked, this, [this] { moveSelected(1); });
    const auto key = [this](QKeySequence sequence, auto action) {
        auto* shortcut = new QShortcut(sequence, list_);
        shortcut->setContext(Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    key(QKeySequence::Delete, [this] { removeSelected(); });
    key(QKeySequence(Qt::ALT | Qt::Key_Up), [this] { moveSelected(-1); });
    key(QKeySequence(Qt::ALT | Qt::Key_Down), [this] { moveSelected(1); });
    // A drag has already moved the row in the view; the queue is asked to do the same, and the
    // view is shown again from the queue whatever it answered.
    connect(list_->model(), &QAbstractItemModel::rowsMoved, this,
            [this](const QModelIndex&, int from, int, const QModelIndex&, int before) {
                if (!filling_)
                    moved(from, before > from ? before - 1 : before);
            });
}

int QueueDock::selectedRow() const {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->row(selected.first());
}

void QueueDock::follow(qint32 playing) {
    if (!isVisible())
        return;
    const QFileInfo file(queue_.state().tmpPlaylistPath);
    if (playing == shownPlaying_ && file.lastModified() == shownTime_ && file.size() == shownSize_)
        return;
    shownPlaying_ = playing;
    reload();
}

void QueueDock::reload() {
    const QFileInfo file(queue_.state().tmpPlaylistPath);
    shownTime_ = file.lastModified();
    shownSize_ = file.exists() ? file.size() : -1;
    show(queue_.tracks());
}

void QueueDock::show(const QStringList& tracks) {
    const int selected = selectedRow();
    // Filling the view is no move of the user's.
    filling_ = true;
    list_->clear();
    for (qsizetype i = 0; i < tracks.size(); ++i) {
        auto* item = new QListWidgetItem(
            QStringLiteral("%1. %2").arg(i + 1).arg(QFileInfo(tracks[i]).fileName()), list_);
        item->setToolTip(tracks[i]);
        if (i == shownPlaying_) {
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
        } else if (shownPlaying_ >= 0 && i < shownPlaying_) {
            item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
        }
    }
    if (selected >= 0 && selected < list_->count())
        list_->setCurrentRow(selected);
    filling_ = false;
}

void QueueDock::removeSelected() {
    const int row = selectedRow();
    if (row < 0)
        return;
    if (const Result<> removed = queue_.remove(row); !removed)
        emit failed(removed.error);
    reload();
}

void QueueDock::moveSelected(int by) {
    const int row = selectedRow();
    if (row < 0 || row + by < 0 || row + by >= list_->count())
        return;
    moved(row, row + by);
    list_->setCurrentRow(row + by);
}

void QueueDock::moved(int from, int to) {
    if (const Result<> done = queue_.move(from, to); !done)
        emit failed(done.error);
    reload();
}

} // namespace tarl
