#pragma once

namespace tarl {

struct AppState;

// Loads lastFolder, lastIndex, lastSong and lastPosition from the settings file.
void llegir_play(AppState& state);

// Refreshes lastPosition from the player and saves the four last-song values. Every step runs
// whatever happened to the one before. Does nothing before llegir_play has loaded them.
void Salvar_play(AppState& state);

} // namespace tarl
