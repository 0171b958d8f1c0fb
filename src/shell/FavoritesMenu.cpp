#include "shell/FavoritesMenu.h"

#include "history/Favorites.h"
#include "platform/Ui.h"
#include "shell/FavoritesDialog.h"
#include "state/AppState.h"
#include "state/Version.h"

#include <QAction>
#include <QMenu>

namespace tarl {
namespace {

const QString AddTitle = QStringLiteral("Add to Favorites");

} // namespace

FavoritesMenu::FavoritesMenu(AppState& state, QMenu* menu, QAction* placeholder, ReplaySteps steps,
                             QWidget* window)
    : QObject(window), state_(state), menu_(menu), placeholder_(placeholder),
      steps_(std::move(steps)), window_(window) {
    placeholder_->setText(QStringLiteral("(no favorites)"));
    placeholder_->setEnabled(false);
    organiseSeparator_ = menu_->addSeparator();
    organise_ = menu_->addAction(QStringLiteral("Organise favorites…"));
    organise_->setObjectName(QStringLiteral("organiseFavoritesAction"));
    connect(organise_, &QAction::triggered, this, &FavoritesMenu::organiseClicked);
    connect(menu_, &QMenu::aboutToShow, this, &FavoritesMenu::rebuild);
}

void FavoritesMenu::rebuild() {
    qDeleteAll(entries_);
    entries_.clear();
    // An unreadable file shows as none: adding to it is refused with the reason.
    const QStringList captions = FavoriteCaptions(ReadFavorites(state_.programFolder).value);
    for (qsizetype i = 0; i < captions.size(); ++i) {
        auto* entry = new QAction(captions[i], menu_);
        entry->setObjectName(QStringLiteral("favoriteAction%1").arg(i));
        connect(entry, &QAction::triggered, this, [this, i] { chosen(int(i)); });
        menu_->insertAction(organiseSeparator_, entry);
        entries_.append(entry);
    }
    placeholder_->setVisible(captions.isEmpty());
}

void FavoritesMenu::addClicked() {
    Ui& ui = state_.services.ui;
    if (const Result<> playing = SongToKeep(state_); !playing) {
        ui.message(playing.error, AddTitle, MsgIcon::Information, MsgButtons::Ok);
        return;
    }
    const std::optional<QString> name =
        ui.input(QStringLiteral("Favorite Name"), AddTitle, FavoriteProposal(state_));
    if (!name)
        return;
    const Result<Favorite> favorite = FavoriteOfPlayState(state_, *name);
    Result<> kept = favorite ? Result<>() : Result<>::failed(favorite.error);
    FavoritesList favorites(state_.programFolder);
    if (kept)
        kept = favorites.load();
    if (kept)
        kept = favorites.add(favorite.value);
    if (!kept) {
        ui.message(kept.error, AddTitle, MsgIcon::Exclamation, MsgButtons::Ok);
        return;
    }
    rebuild();
    ui.message(favorite.value.name, QString(VersionLabel), MsgIcon::None, MsgButtons::Ok);
}

void FavoritesMenu::chosen(int index) {
    const QList<Favorite> favorites = ReadFavorites(state_.programFolder).value;
    if (index < 0 || index >= favorites.size())
        return;
    const Result<> replayed = ReplayFavorite(state_, favorites[index], steps_);
    if (!replayed)
        state_.services.ui.message(replayed.error, QStringLiteral("Not Found"),
                                   MsgIcon::Exclamation, MsgButtons::Ok);
}

void FavoritesMenu::organiseClicked() {
    FavoritesDialog dialog(state_, window_);
    dialog.exec();
    rebuild();
}

} // namespace tarl
