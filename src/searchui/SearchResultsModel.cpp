#include "searchui/SearchResultsModel.h"

#include "searchui/SearchPictures.h"
#include "text/CellText.h"

#include <algorithm>

namespace tarl {

SearchResultsModel::SearchResultsModel(QObject* parent) : QAbstractTableModel(parent) {
    for (int i = 0; i < 4; ++i)
        icons_[static_cast<size_t>(i)] = SearchHitIcon(SearchIcon(i + 1));
}

void SearchResultsModel::setRows(std::vector<SearchRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

const SearchRow* SearchResultsModel::row(int index) const {
    if (index < 0 || index >= rowCount())
        return nullptr;
    return &rows_[static_cast<size_t>(index)];
}

int SearchResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int SearchResultsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : SearchColumnCount;
}

QVariant SearchResultsModel::data(const QModelIndex& index, int role) const {
    const SearchRow* hit = index.isValid() ? row(index.row()) : nullptr;
    if (!hit || index.column() < 0 || index.column() >= SearchColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return CellText(hit->columns[static_cast<size_t>(index.column())]);
    if (role == Qt::DecorationRole && index.column() == SearchFileColumn) {
        const int icon = std::clamp(int(hit->icon), 1, 4);
        return icons_[static_cast<size_t>(icon - 1)];
    }
    return {};
}

QVariant SearchResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    if (section < 0 || section >= SearchColumnCount)
        return {};
    return SearchColumnCaption(section);
}

} // namespace tarl
