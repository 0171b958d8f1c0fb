#include "browser/TrackListModel.h"
#include "text/CellText.h"

#include <QFont>
#include <QIcon>
#include <QIconEngine>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QUrl>
#include <set>

namespace tarl {

namespace {

// The track icon: a note, drawn at whatever size the view asks for (small and large icons).
// Painting happens only when a view asks, so the model also works without a display.
class NoteIconEngine : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        const qreal side = qMin(rect.width(), rect.height());
        const QRectF box(rect.x() + (rect.width() - side) / 2.0,
                         rect.y() + (rect.height() - side) / 2.0, side, side);
        const QColor ink = mode == QIcon::Disabled ? QColor(150, 150, 150) : QColor(30, 60, 140);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(ink);
        // The head, tilted, at the bottom left; the stem rises from its right edge.
        const QRectF head(box.left() + side * 0.12, box.top() + side * 0.64, side * 0.42,
                          side * 0.30);
        painter->translate(head.center());
        painter->rotate(-20);
        painter->drawEllipse(
            QRectF(-head.width() / 2, -head.height() / 2, head.width(), head.height()));
        painter->resetTransform();
        const qreal stemX = head.right() - side * 0.05;
        const qreal stemW = qMax<qreal>(1.0, side * 0.08);
        painter->drawRect(QRectF(stemX - stemW, box.top() + side * 0.08, stemW,
                                 head.center().y() - box.top() - side * 0.08));
        // The flag.
        QPainterPath flag;
        flag.moveTo(stemX, box.top() + side * 0.08);
        flag.cubicTo(stemX + side * 0.15, box.top() + side * 0.22, stemX + side * 0.38,
                     box.top() + side * 0.26, stemX + side * 0.22, box.top() + side * 0.52);
        flag.cubicTo(stemX + side * 0.26, box.top() + side * 0.36, stemX + side * 0.12,
                     box.top() + side * 0.32, stemX, box.top() + side * 0.30);
        flag.closeSubpath();
        painter->drawPath(flag);
        painter->restore();
    }

    QIconEngine* clone() const override { return new NoteIconEngine; }
    QString key() const override { return QStringLiteral("tarl-note"); }
};

const QIcon& TrackIcon() {
    static const QIcon icon(new NoteIconEngine);
    return icon;
}

} // namespace

TrackListModel::TrackListModel(QObject* parent) : QAbstractTableModel(parent) {}

void TrackListModel::setRows(std::vector<TrackRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    marks_.clear();
    endResetModel();
}

void TrackListModel::removeRowsAt(const std::vector<int>& rows) {
    // From the last to the first, so each position still names its row when its turn comes.
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        const int row = *it;
        if (row < 0 || row >= rowCount())
            continue;
        beginRemoveRows({}, row, row);
        rows_.erase(rows_.begin() + row);
        if (row < std::ssize(marks_))
            marks_.erase(marks_.begin() + row);
        endRemoveRows();
    }
}

void TrackListModel::setMarks(std::vector<RowMark> marks) {
    marks_ = std::move(marks);
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, TrackColumnCount - 1),
                         {Qt::ForegroundRole, Qt::FontRole});
}

bool TrackListModel::holds(const QModelIndex& index) const {
    return index.isValid() && index.model() == this && index.row() < rowCount() &&
           index.column() < TrackColumnCount;
}

int TrackListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return static_cast<int>(rows_.size());
}

int TrackListModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return TrackColumnCount;
}

QVariant TrackListModel::data(const QModelIndex& index, int role) const {
    if (!holds(index))
        return {};
    if (role == Qt::DisplayRole)
        return CellText(row(index.row()).columns[static_cast<size_t>(index.column())]);
    if (role == Qt::DecorationRole && index.column() == ColFile)
        return TrackIcon();
    const size_t r = static_cast<size_t>(index.row());
    if (r < marks_.size()) {
        if (role == Qt::ForegroundRole && marks_[r].colour.isValid())
            return marks_[r].colour;
        if (role == Qt::FontRole && marks_[r].bold) {
            QFont font;
            font.setBold(true);
            return font;
        }
    }
    return {};
}

QVariant TrackListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section < 0 || section >= TrackColumnCount)
        return {};
    return TrackColumnCaption(section);
}

Qt::ItemFlags TrackListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled |
           Qt::ItemNeverHasChildren;
}

QStringList TrackListModel::mimeTypes() const {
    return {QStringLiteral("text/uri-list"), QString::fromLatin1(TrackIdsMimeType)};
}

QMimeData* TrackListModel::mimeData(const QModelIndexList& indexes) const {
    // A selection gives one index per cell; each row goes once, in list order.
    std::set<int> selected;
    for (const QModelIndex& index : indexes) {
        if (holds(index))
            selected.insert(index.row());
    }
    if (selected.empty())
        return nullptr;
    QList<QUrl> urls;
    QByteArray ids;
    for (const int r : selected) {
        urls << QUrl::fromLocalFile(row(r).fullPath());
        ids += row(r).columns[ColId].toUtf8() + '\n';
    }
    auto* mime = new QMimeData;
    mime->setUrls(urls);
    mime->setData(QString::fromLatin1(TrackIdsMimeType), ids);
    return mime;
}

Qt::DropActions TrackListModel::supportedDragActions() const {
    return Qt::MoveAction | Qt::CopyAction;
}

} // namespace tarl
