#pragma once

#include "search/SearchHits.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <array>
#include <vector>

namespace tarl {

// The rows of the search window's list `results`: the twelve result columns with their captions,
// each row's icon on its first column, rows in the order the search gave them. The rows are held
// as the search returned them, so a search with a hundred thousand hits shows at once: the view
// asks only for the rows it draws.
class SearchResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SearchResultsModel(QObject* parent = nullptr);

    // Replaces every row; the views are reset.
    void setRows(std::vector<SearchRow> rows);
    void clear() { setRows({}); }
    const std::vector<SearchRow>& rows() const { return rows_; }
    // The row at `index`, none when there is no such row.
    const SearchRow* row(int index) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<SearchRow> rows_;
    std::array<QIcon, 4> icons_;
};

} // namespace tarl
