#pragma once

#include <QWidget>
#include <vector>

class QAbstractItemModel;
class QAbstractItemView;
class QItemSelectionModel;
class QListView;
class QStackedLayout;
class QTreeView;

namespace tarl {

// The track list trackList: one list shown in one of four modes, as the View menu chooses:
// 1 small icons, 2 large icons, 3 list, 4 report (columns). The modes share one model and
// one selection, so switching keeps what is selected.
class TrackListView : public QWidget {
    Q_OBJECT
public:
    explicit TrackListView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model);
    QAbstractItemModel* model() const;
    QItemSelectionModel* selectionModel() const;

    void setMode(int mode);
    int mode() const { return mode_; }

    // The view showing now, and the two views behind the modes.
    QAbstractItemView* currentView() const;
    QTreeView* reportView() const { return report_; }
    QListView* iconView() const { return icons_; }

    // Selected rows in list order.
    std::vector<int> selectedRows() const;
    // The row of the current item, -1 when none.
    int currentRow() const;
    void selectRows(const std::vector<int>& rows, int current);

    // Flips the pressable look of the report view's column headers.
    static void ToggleHeaderButtons(QTreeView* listView);

private:
    QStackedLayout* stack_;
    QListView* icons_;
    QTreeView* report_;
    int mode_ = 4;
};

} // namespace tarl
