#pragma once

#include "shell/RunMarker.h"
#include "text/Result.h"

#include <QString>

namespace tarl {

struct AppState;
class PlayerControl;
class WindowGeometry;

// The main window as its start-up and shutdown see it: what they set on it and the parts they
// fill. The window implements it; tests give a recording double.
class StartUpView {
public:
    virtual ~StartUpView() = default;

    virtual void setTitle(const QString& title) = 0;
    // Commands whose part is not there are shown disabled.
    virtual void refreshActions() = 0;
    virtual void setStatusPanel(int panel, const QString& text) = 0;
    // Builds the library tree by paths or by style; false when the catalog could not be read.
    virtual bool fillTree(bool byPaths) = 0;
    // Icons only on the toolbar.
    virtual void loadMenuIcons() = 0;
    // The track list's columns from the settings; false when the window has no list yet.
    virtual bool loadmp3list() = 0;
    virtual void selectFolderNode(const QString& folder) = 0;
    virtual WindowGeometry& geometry() = 0;
    // The volume knob at the place of `volume` (0..255).
    virtual void setVolume(int volume) = 0;
    // The parts that may be missing (the compact layout, the tray icon) do nothing then.
    virtual void applyCompactLayout() = 0;
    virtual void showTrayIcon() = 0;
    virtual void removeTrayIcon() = 0;
    virtual void buildHistoryMenu() = 0;
    // Shutdown: the window's timers stop; the list's columns are written to the settings; last,
    // the window goes and the program's event loop ends.
    virtual void stopTimers() = 0;
    virtual void saveColumns() = 0;
    virtual void endProgram() = 0;
};

// The start-up and the shutdown of the program, over AppState and the window's view.
//
// Start-up: the program folder and the settings file, then the catalog. With no catalog set it
// asks for one ("Database not selected!"; Cancel ends the program) with the catalog chooser, as
// Setup's Apply would store it, and asks again until one is set. Then it opens the catalog
// (a catalog that cannot be opened or whose tree cannot be read shows "Data Base Error" and
// stops there, the window up, its reason in status panel 1), fills the tree and the list, reads
// the last song and resumes it in the player (`resumeLastSong`). It runs again after Setup
// changed the catalog: an open catalog stays open.
//
// Start-up notes in the program folder that the program runs (RunMarker). When the previous run
// did not end cleanly, the catalog is checked before it is first opened (CatalogRecovery).
//
// Shutdown (`shutDown`, the window's shutDown) runs once: it closes the catalog, saves the
// layout, the columns and the last song, closes the player and ends the program; last, the note
// that the program runs goes.
class StartUp {
public:
    StartUp(AppState& state, StartUpView& view, PlayerControl& player);

    void start();
    // The last song resumed in the player, the window placed, the stored layout entered.
    void resumeLastSong();
    void shutDown();
    bool unloaded() const { return unloaded_; }
    // Settings that could not be read go to status panel 2; settings that cannot be written get
    // one box a run.
    void reportSettingsProblems();

private:
    // The steps that run once a catalog is set; fails with the reason when they stop.
    Result<> openAndFill();
    // After a run that did not end cleanly, the catalog's check before it is first opened.
    void checkCatalogAfterUncleanEnd();

    AppState& state_;
    StartUpView& view_;
    PlayerControl& player_;
    bool unloaded_ = false;
    bool columnsLoaded_ = false; // the track list's columns were set up from the settings
    bool settingsErrorShown_ = false;
    RunMarker running_;
    bool previousRunUnclean_ = false; // and its catalog not checked yet
};

} // namespace tarl
