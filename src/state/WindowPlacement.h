#pragma once

namespace tarl {

struct AppState;
class WindowGeometry;

// Saving and restoring the main window's place in its two layouts.
void GuardarPosMain(AppState& state, WindowGeometry& window);
void GuardarPosMini(AppState& state, WindowGeometry& window);
void LlegirPosMain(AppState& state, WindowGeometry& window);
void LlegirPosMini(AppState& state, WindowGeometry& window);

} // namespace tarl
