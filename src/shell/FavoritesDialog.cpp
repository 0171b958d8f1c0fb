#include "shell/FavoritesDialog.h"

#include "platform/Ui.h"
#include "state/AppState.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarl {
namespace {

const QString Title = QStringLiteral("Organise Favorites");

QPushButton* Button(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

} // namespace

FavoritesDialog::FavoritesDialog(AppState& state, QWidget* parent)
    : QDialog(parent), state_(state), favorites_(state.programFolder) {
    setObjectName(QStringLiteral("FavoritesDialog"));
    setWindowTitle(Title);
    favoritesList = new QListWidget(this);
    favoritesList->setObjectName(QStringLiteral("favoritesList"));
    removeButton = Button(QStringLiteral("&Remove"), "removeButton", this);
    renameButton = Button(QStringLiteral("Re&name…"), "renameButton", this);
    upButton = Button(QStringLiteral("Move &up"), "upButton", this);
    downButton = Button(QStringLiteral("Move &down"), "downButton", this);
    closeButton = Button(QStringLiteral("&Close"), "closeButton", this);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {removeButton, renameButton, upButton, downButton})
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(favoritesList, 1);
    layout->addLayout(buttons);

    connect(removeButton, &QPushButton::clicked, this, &FavoritesDialog::removeClicked);
    connect(renameButton, &QPushButton::clicked, this, &FavoritesDialog::renameClicked);
    connect(upButton, &QPushButton::clicked, this, [this] { moveClicked(-1); });
    connect(downButton, &QPushButton::clicked, this, [this] { moveClicked(1); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(favoritesList, &QListWidget::currentRowChanged, this, &FavoritesDialog::showButtons);

    worked(favorites_.load());
    showFavorites(0);
}

int FavoritesDialog::selected() const {
    return favoritesList->currentRow();
}

void FavoritesDialog::showFavorites(int selected) {
    favoritesList->clear();
    for (const Favorite& favorite : favorites_.items())
        favoritesList->addItem(favorite.name);
    if (favoritesList->count() > 0)
        favoritesList->setCurrentRow(qBound(0, selected, favoritesList->count() - 1));
    showButtons();
}

void FavoritesDialog::showButtons() {
    const int row = selected();
    const int count = favoritesList->count();
    removeButton->setEnabled(row >= 0);
    renameButton->setEnabled(row >= 0);
    upButton->setEnabled(row > 0);
    downButton->setEnabled(row >= 0 && row + 1 < count);
}

bool FavoritesDialog::worked(const Result<>& done) {
    if (!done)
        state_.services.ui.message(done.error, Title, MsgIcon::Exclamation, MsgButtons::Ok);
    return done.ok;
}

void FavoritesDialog::removeClicked() {
    const int row = selected();
    if (row >= 0 && worked(favorites_.remove(row)))
        showFavorites(row);
}

void FavoritesDialog::renameClicked() {
    const int row = selected();
    if (row < 0)
        return;
    const std::optional<QString> name =
        state_.services.ui.input(QStringLiteral("Favorite Name"), QStringLiteral("Rename Favorite"),
                                 favorites_.items()[row].name);
    if (name && worked(favorites_.rename(row, *name)))
        showFavorites(row);
}

void FavoritesDialog::moveClicked(int by) {
    const int row = selected();
    if (row >= 0 && worked(favorites_.move(row, by)))
        showFavorites(row + by);
}

} // namespace tarl
