#include "state/WindowPlacement.h"

#include "state/AppState.h"
#include "state/Convert.h"
#include "state/WindowGeometry.h"

#include <initializer_list>

namespace tarl {

namespace {
QString single(double twips) {
    return FormatSingle(static_cast<float>(twips));
}

// Whether a value may be written back: it was loaded, or the settings hold none of its keys, so
// writing it loses nothing.
bool MayWrite(const Settings& settings, bool loaded, std::initializer_list<keys::Key> saved) {
    if (loaded)
        return true;
    for (const keys::Key& key : saved) {
        if (!settings.ReadSetting(key.section, key.name, QString()).isEmpty())
            return false;
    }
    return true;
}
} // namespace

void SaveMainPlacement(AppState& state, WindowGeometry& window) {
    Settings& s = state.settings;
    s.write(keys::MainState, QString::number(window.windowStateValue()));
    // A maximised window leaves its last normal size and place in the file.
    if (window.windowStateValue() == StateMaximised)
        return;
    s.write(keys::Dimensions, QStringLiteral("width"), single(window.width()));
    s.write(keys::Height, single(window.height()));
    s.write(keys::DivisorH, single(window.splitterLeft()));
    s.write(keys::MainTop, single(window.top()));
    s.write(keys::MainLeft, single(window.left()));
}

void SaveMiniPlacement(AppState& state, WindowGeometry& window) {
    Settings& s = state.settings;
    s.write(keys::MiniState, QString::number(window.windowStateValue()));
    if (window.windowStateValue() == StateMaximised)
        return;
    s.write(keys::MiniTop, single(window.top()));
    s.write(keys::MiniLeft, single(window.left()));
    s.write(keys::MiniHeight, single(window.height()));
    s.write(keys::MiniPlaylist, FormatBool(state.miniPlaylist));
}

void LoadMainPlacement(AppState& state, WindowGeometry& window) {
    Settings& s = state.settings;
    window.setResizeSuspended(true);
    if (window.windowStateValue() != StateNormal)
        window.setWindowStateValue(StateNormal);
    if (window.windowStateValue() == StateNormal) {
        // Sizes before the state, so a maximised window keeps its normal size underneath.
        window.setWidth(s.readSingle(keys::Width));
        window.setHeight(s.readSingle(keys::Height));
        window.setTop(s.readSingle(keys::MainTop));
        window.setLeft(s.readSingle(keys::MainLeft));
        window.setSplitterLeft(s.readSingle(keys::DivisorH));
        window.setWindowStateValue(s.readInt16(keys::MainState));
    }
    state.layoutLoaded.mainPlacement = true;
    window.setResizeSuspended(false);
    window.runResize();
}

void LoadMiniPlacement(AppState& state, WindowGeometry& window) {
    Settings& s = state.settings;
    window.setResizeSuspended(true);
    if (window.windowStateValue() == StateMaximised)
        window.setWindowStateValue(StateNormal);
    window.setTop(s.readSingle(keys::MiniTop));
    window.setLeft(s.readSingle(keys::MiniLeft));
    window.setHeight(s.readSingle(keys::MiniHeight));
    state.miniPlaylist = s.readBool(keys::MiniPlaylist);
    window.setWindowStateValue(s.readInt16(keys::MiniState));
    state.layoutLoaded.miniPlacement = true;
    window.setResizeSuspended(false);
    window.runResize();
}

void LoadSortedByCd(AppState& state) {
    state.sortedByCd = state.settings.readBool(keys::SortedByCd);
    state.layoutLoaded.sortedByCd = true;
}

void LoadVisualMode(AppState& state) {
    state.visualMode = state.settings.readInt16(keys::VisualMode);
    // The first entry into the compact layout folds or unfolds as the user left it last time,
    // not as a value nothing has read yet.
    state.miniPlaylist = state.settings.readBool(keys::MiniPlaylist);
    state.layoutLoaded.visualMode = true;
}

void SaveLayout(AppState& state, WindowGeometry& window) {
    Settings& s = state.settings;
    const AppState::LayoutLoaded& loaded = state.layoutLoaded;
    if (MayWrite(s, loaded.sortedByCd, {keys::SortedByCd}))
        s.write(keys::SortedByCd, FormatBool(state.sortedByCd));
    if (MayWrite(s, loaded.visualMode, {keys::VisualMode}))
        s.write(keys::VisualMode, QString::number(state.visualMode));
    if (state.visualMode == 0) {
        if (MayWrite(s, loaded.mainPlacement,
                     {keys::MainState, keys::Width, keys::Height, keys::DivisorH, keys::MainTop,
                      keys::MainLeft}))
            SaveMainPlacement(state, window);
        return;
    }
    if (MayWrite(
            s, loaded.miniPlacement,
            {keys::MiniState, keys::MiniTop, keys::MiniLeft, keys::MiniHeight, keys::MiniPlaylist}))
        SaveMiniPlacement(state, window);
}

} // namespace tarl
