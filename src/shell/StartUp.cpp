#include "shell/StartUp.h"

#include "dialogs/CatalogChooser.h"
#include "platform/PlayerLink.h"
#include "platform/ProgramFolder.h"
#include "platform/Ui.h"
#include "player/PlayerControl.h"
#include "player/Resume.h"
#include "shell/CatalogRecovery.h"
#include "state/AppState.h"
#include "state/LastSong.h"
#include "state/Version.h"
#include "state/WindowGeometry.h"
#include "state/WindowPlacement.h"

#include <QCoreApplication>

namespace tarl {

namespace {

// What the status bar says of the catalog just opened: that it cannot be changed, or how it is
// kept when that is worth knowing.
QString OpenedCatalogNote(const Connection& connection) {
    if (connection.isReadOnly())
        return QStringLiteral("The catalog is read-only: changes cannot be saved.");
    return connection.journalNote();
}

} // namespace

StartUp::StartUp(AppState& state, StartUpView& view, PlayerControl& player)
    : state_(state), view_(view), player_(player) {}

void StartUp::start() {
    view_.refreshActions();
    Settings& settings = state_.settings;
    Ui& ui = state_.services.ui;

    view_.setTitle(QString(VersionLabel));
    state_.programFolder = ProgramFolder(QCoreApplication::applicationDirPath());
    if (running_.begin(state_.programFolder))
        previousRunUnclean_ = true;
    settings.setPath(state_.programFolder + QStringLiteral("tarl.ini"));
    state_.tmpPlaylistPath = state_.programFolder + QStringLiteral("m3uTmp.m3u");
    state_.dbPath = settings.read(keys::DatabasePath);
    state_.pathMap = PathMap::Parse(settings.read(keys::PathMap));

    while (state_.dbPath.isEmpty()) {
        const MsgAnswer answer = ui.message(
            QStringLiteral("Ok for select the Dbase or Cancel for exit"),
            QStringLiteral("Database not selected!"), MsgIcon::None, MsgButtons::OkCancel);
        if (answer == MsgAnswer::Cancel) {
            shutDown();
            return;
        }
        // As Setup's Apply stores a catalog chosen on its "Data Base" page.
        const QString chosen = ChooseCatalogFile(ui);
        if (!chosen.isEmpty())
            settings.write(keys::DatabasePath, chosen);
        if (AskReloadCatalog(ui))
            state_.catalog.connection.close();
        state_.dbPath = settings.read(keys::DatabasePath);
    }
    checkCatalogAfterUncleanEnd();
    const Result<> started = openAndFill();
    if (!started) {
        ui.message(QStringLiteral("Missing Data Base or Wrong format\t\rRestart the Tarl"),
                   QStringLiteral("Data Base Error"), MsgIcon::Critical, MsgButtons::Ok);
        // The box's words are fixed; the reason stays readable in the status bar.
        view_.setStatusPanel(1, started.error);
    }
    reportSettingsProblems();
}

void StartUp::checkCatalogAfterUncleanEnd() {
    if (!previousRunUnclean_ || state_.catalog.connection.state() != 0)
        return;
    previousRunUnclean_ = false;
    CatalogRecovery recovery{state_.services.ui, [this](int panel, const QString& text) {
                                 view_.setStatusPanel(panel, text);
                             }};
    recovery.checkAfterUncleanEnd(state_.dbPath);
}

Result<> StartUp::openAndFill() {
    Connection& connection = state_.catalog.connection;
    if (connection.state() == 0 && !connection.open(state_.dbPath))
        return Result<>::failed(connection.lastError());
    view_.setStatusPanel(1, OpenedCatalogNote(connection));
    LoadSortedByCd(state_);
    if (!view_.fillTree(state_.sortedByCd))
        return Result<>::failed(
            QStringLiteral("The library tree could not be read from the catalog."));
    view_.loadMenuIcons();
    if (view_.loadmp3list())
        columnsLoaded_ = true;
    state_.lastListIndex = -1;
    LoadLastSong(state_);
    resumeLastSong();
    view_.showTrayIcon();
    view_.buildHistoryMenu();
    return {};
}

void StartUp::resumeLastSong() {
    Settings& settings = state_.settings;
    WindowGeometry& window = view_.geometry();

    LoadMainPlacement(state_, window);
    window.setWindowStateValue(settings.readInt16(keys::MainState));
    if (window.windowStateValue() == StateNormal && window.top() < 0)
        window.setTop(0);
    state_.playerPath = PlayerProgramPath(settings);
    view_.selectFolderNode(state_.lastFolder);

    const bool launched = player_.StartPlayer(state_.playerPath, state_.tmpPlaylistPath);
    if (!launched)
        player_.FindPlayer();
    ResumeTemporaryPlaylist(state_, launched, {state_.lastIndex, state_.lastPosition});

    state_.playerVolume = settings.readInt16(keys::Volume);
    view_.setVolume(state_.playerVolume);
    state_.services.player.setVolume(state_.playerPid, state_.playerVolume);

    LoadVisualMode(state_);
    if (state_.visualMode > 0)
        view_.applyCompactLayout();
}

void StartUp::shutDown() {
    if (unloaded_)
        return;
    unloaded_ = true;
    view_.stopTimers();

    state_.catalog.connection.close();
    // Only what start-up applied: a failed start-up keeps the saved layout.
    SaveLayout(state_, view_.geometry());
    // Columns that were never set up (a start-up that stopped early) are not written, so the
    // saved widths and places stay.
    if (columnsLoaded_)
        view_.saveColumns();
    view_.removeTrayIcon();
    // The player may have been started or closed since the last tick.
    player_.FindPlayer();
    SaveLastSong(state_);
    state_.services.player.askToClose(state_.playerPid);
    // A player started a moment ago has no socket yet and would play on after the window.
    state_.services.player.endStartedPlayer();
    reportSettingsProblems();
    running_.end();
    view_.endProgram();
}

void StartUp::reportSettingsProblems() {
    Settings& settings = state_.settings;
    if (!settings.ignoredKeys().isEmpty()) {
        view_.setStatusPanel(2, QStringLiteral("Unreadable settings ignored, defaults used: ") +
                                    settings.ignoredKeys().join(QStringLiteral(", ")));
        settings.clearIgnoredKeys();
    }
    if (settings.writeError().isEmpty() || settingsErrorShown_)
        return;
    settingsErrorShown_ = true; // once a run: the timer would repeat it every 5 seconds
    state_.services.ui.message(QStringLiteral("Tarl cannot save its settings.\n") +
                                   settings.writeError(),
                               QString(VersionLabel), MsgIcon::Exclamation, MsgButtons::Ok);
}

} // namespace tarl
