#include "history/Favorites.h"

#include "platform/Ui.h"
#include "state/AppState.h"
#include "state/Version.h"
#include "text/PathText.h"

namespace tarl {

QString FavoriteProposal(const AppState& state) {
    QString folderPart;
    if (!state.lastFolder.isEmpty())
        folderPart = LastPathPart(state.lastFolder) + u'/';
    return folderPart + QStringLiteral(" (") + QString::number(state.lastIndex) +
           QStringLiteral(") ") + state.lastSong;
}

void mnufavAdd_Click(AppState& state) {
    Ui& ui = state.services.ui;
    const std::optional<QString> name =
        ui.input(QStringLiteral("Favorite Name"), QStringLiteral("Add to Favorites"),
                 FavoriteProposal(state));
    ui.message(name.value_or(QString()), QString(VersionLabel), MsgIcon::None, MsgButtons::Ok);
}

} // namespace tarl
