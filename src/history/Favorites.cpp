#include "history/Favorites.h"

#include "state/AppState.h"
#include "text/PathText.h"

namespace tarl {

QString FavoriteProposal(const AppState& state) {
    QString folderPart;
    if (!state.lastFolder.isEmpty())
        folderPart = LastPathPart(state.lastFolder) + u'/';
    return folderPart + QStringLiteral(" (") + QString::number(state.lastIndex) +
           QStringLiteral(") ") + state.lastSong;
}

} // namespace tarl
