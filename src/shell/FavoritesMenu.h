#pragma once

#include "history/HistoryReplay.h"

#include <QList>
#include <QObject>

class QAction;
class QMenu;
class QWidget;

namespace tarl {

struct AppState;

// The Favorites menu below "Add to favorites": the favourites newest first (at most
// kFavoritesMenuEntries, "favoriteAction0" on), "(no favorites)" greyed in their place while there
// is none, then "Organise favorites…". The entries are made again from the file each time the menu
// opens, so a favourite added, renamed or removed shows at once.
// - "Add to favorites" asks for the name ("Favorite Name", "Add to Favorites", the
//   FavoriteProposal filled in) and keeps the song playing under it, then shows the name kept;
//   Cancel keeps nothing, and with nothing played yet the box says so instead of asking.
// - A favourite chosen plays again at its song and second (ReplayFavorite over `steps`); a folder
//   the tree no longer has is said in a box and nothing plays.
// - "Organise favorites…" opens FavoritesDialog.
class FavoritesMenu : public QObject {
    Q_OBJECT
public:
    // `placeholder` is the menu's greyed "(no favorites)" entry; `steps` are the window's.
    FavoritesMenu(AppState& state, QMenu* menu, QAction* placeholder, ReplaySteps steps,
                  QWidget* window);

    void rebuild();
    void addClicked();
    // Entry `index` (from 0) of the menu.
    void chosen(int index);
    void organiseClicked();

    QAction* organiseAction() const { return organise_; }

private:
    AppState& state_;
    QMenu* menu_;
    QAction* placeholder_;
    ReplaySteps steps_;
    QWidget* window_;
    QList<QAction*> entries_;
    QAction* organise_ = nullptr;
    QAction* organiseSeparator_ = nullptr;
};

} // namespace tarl
