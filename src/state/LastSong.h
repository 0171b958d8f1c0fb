#pragma once

namespace tarl {

struct AppState;

// Loads lastFolder, lastIndex, lastSong and lastPosition from the settings file.
void LoadLastSong(AppState& state);

// Refreshes lastPosition from the player and saves the four last-song values. Every step runs
// whatever happened to the one before. Does nothing before LoadLastSong has loaded them.
void SaveLastSong(AppState& state);

} // namespace tarl
