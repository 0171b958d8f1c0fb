#pragma once

#include "browser/TrackRows.h"

#include <QAbstractTableModel>
#include <QColor>
#include <vector>

namespace tarl {

// The rows of the track list trackList: twelve columns with their captions, the track icon on the
// first column, rows in the order they were given (clicking a header does not sort them).
// Selected rows can be dragged out: the files' full paths as text/uri-list, and the tracks'
// catalog ids under TrackIdsMimeType.
class TrackListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The tracks' catalog ids, as decimal numbers, one a line, in list order.
    static constexpr const char* TrackIdsMimeType = "application/x-tarl-tracks";

    explicit TrackListModel(QObject* parent = nullptr);

    // How a row is drawn: the colour of all its cells and whether they are bold.
    struct RowMark {
        QColor colour;
        bool bold = false;
    };

    // Replaces every row; the views are reset and the marks dropped.
    void setRows(std::vector<TrackRow> rows);
    // Removes the rows at these positions (ascending, as they were before any removal).
    void removeRowsAt(const std::vector<int>& rows);
    // One mark a row, in row order (missing rows are drawn plainly).
    void setMarks(std::vector<RowMark> marks);
    const std::vector<RowMark>& marks() const { return marks_; }
    const TrackRow& row(int index) const { return rows_[static_cast<size_t>(index)]; }
    const std::vector<TrackRow>& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    // Rows are dragged to be moved (no key, Shift) or copied (Ctrl) by the drop target.
    Qt::DropActions supportedDragActions() const override;

private:
    // Whether `index` is a cell of this model as it is now.
    bool holds(const QModelIndex& index) const;

    std::vector<TrackRow> rows_;
    std::vector<RowMark> marks_;
};

} // namespace tarl
