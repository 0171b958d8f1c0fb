#pragma once

namespace tarl {

struct AppState;
class WindowGeometry;

// Saving and restoring the main window's place in its two layouts, and the view and layout
// values around them. Each read marks its values as loaded (AppState::layoutLoaded).
void SaveMainPlacement(AppState& state, WindowGeometry& window);
void SaveMiniPlacement(AppState& state, WindowGeometry& window);
void LoadMainPlacement(AppState& state, WindowGeometry& window);
void LoadMiniPlacement(AppState& state, WindowGeometry& window);

// sortedByCd from Player/sorted_by_cd; visualMode from Dimensions/visual_mode, with miniPlaylist
// from Dimensions/mini_playlist for the first entry into the compact layout.
void LoadSortedByCd(AppState& state);
void LoadVisualMode(AppState& state);

// What shutdown keeps of the layout: sorted_by_cd, visual_mode, then the placement of the layout
// in use (SaveMainPlacement for visualMode 0, else SaveMiniPlacement). A value start-up did not
// load (it stopped at "Data Base Error", or the user cancelled the catalog choice) is written only
// where the settings hold none of it yet, so the saved layout is never replaced by defaults,
// while a first run still leaves a complete file.
void SaveLayout(AppState& state, WindowGeometry& window);

} // namespace tarl
