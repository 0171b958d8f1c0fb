#include "history/Favorites.h"

#include "catalog/PathParts.h"
#include "state/AppState.h"

namespace tarl {

QString FavoriteProposal(const AppState& state) {
    QString folderPart;
    if (!state.lastFolder.isEmpty()) {
        QString folder = state.lastFolder;
        folderPart = LastPathPart(folder) + u'/';
    }
    return folderPart + QStringLiteral(" (") + QString::number(state.lastIndex) +
           QStringLiteral(") ") + state.lastSong;
}

} // namespace tarl
