#pragma once

#include "history/Favorites.h"

#include <QDialog>

class QListWidget;
class QPushButton;

namespace tarl {

struct AppState;

// "Organise Favorites": every favourite by name, newest first, with Remove, Rename (the new name
// asked through the Ui service), Move up, Move down and Close. Each button hands the selected
// favourite to FavoritesList, which writes the file at once; a change refused (a file that cannot
// be read or written, an empty name) is said in a box and the list stays as it was.
class FavoritesDialog : public QDialog {
    Q_OBJECT
public:
    explicit FavoritesDialog(AppState& state, QWidget* parent = nullptr);

    void removeClicked();
    void renameClicked();
    void moveClicked(int by);

    QListWidget* favoritesList = nullptr;
    QPushButton* removeButton = nullptr;
    QPushButton* renameButton = nullptr;
    QPushButton* upButton = nullptr;
    QPushButton* downButton = nullptr;
    QPushButton* closeButton = nullptr;

private:
    // The list shown again, `selected` selected; the buttons follow the selection.
    void showFavorites(int selected);
    void showButtons();
    int selected() const;
    // Shows a refusal in a box; true when `done` worked.
    bool worked(const Result<>& done);

    AppState& state_;
    FavoritesList favorites_;
};

} // namespace tarl
