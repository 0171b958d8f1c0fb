#pragma once

#include <QString>

namespace tarl {

struct AppState;

// The name "Add to favorites" proposes for the song playing: the last component of its folder
// followed by "/" (nothing at all while no folder is known), " (", the playlist entry index,
// ") " and the song's file name.
QString FavoriteProposal(const AppState& state);

} // namespace tarl
