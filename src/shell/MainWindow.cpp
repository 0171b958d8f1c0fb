#include "shell/MainWindow.h"

#include "browser/TrackListModel.h"
#include "browserui/LibraryBrowser.h"
#include "browserui/StyleDrag.h"
#include "browserui/TrackListMenu.h"
#include "browserui/TrackListView.h"
#include "browserui/TrackRowsDrop.h"
#include "dialogs/OptionsDialog.h"
#include "dialogs/ScanWindow.h"
#include "history/HistoryFile.h"
#include "history/HistoryMenu.h"
#include "history/HistoryReplay.h"
#include "mpris/MprisService.h"
#include "platform/PlayerLink.h"
#include "platform/Ui.h"
#include "player/DiscQueue.h"
#include "player/NowPlaying.h"
#include "player/PlayQueue.h"
#include "player/PlayerCommands.h"
#include "player/PlayerControl.h"
#include "player/PlayerPanel.h"
#include "player/Resume.h"
#include "player/TrackCache.h"
#include "searchui/SearchWindow.h"
#include "shell/About.h"
#include "shell/ClosingDown.h"
#include "shell/DesktopControls.h"
#include "shell/FavoritesMenu.h"
#include "shell/LibraryRefresh.h"
#include "shell/Picture.h"
#include "shell/QueueDock.h"
#include "shell/StartUp.h"
#include "shell/TrayIcon.h"
#include "shell/TreeMenus.h"
#include "shell/Twips.h"
#include "state/AppState.h"
#include "state/Convert.h"
#include "state/LastSong.h"
#include "state/MainLayoutPlan.h"
#include "state/Version.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <algorithm>

namespace tarl {

// The panel and the now-playing tick act on the window through these.
class MainWindow::PlayerViews : public PanelView, public NowPlayingView {
public:
    explicit PlayerViews(MainWindow& main) : m_(main) {}

    void moveKnob(int element, double leftTwips) override {
        QLabel* knob = m_.panelButtons_[static_cast<size_t>(element)];
        knob->move(ToPixels(leftTwips), knob->y());
    }
    void setStatusPanel(int panel, const QString& text) override { m_.setStatusPanel(panel, text); }
    void setElapsed(const QString& caption) override { m_.elapsedDisplay_->setText(caption); }
    void setDisplay(const QString& caption) override { m_.nowPlayingDisplay_->setText(caption); }
    void setDisplayTip(const QString& tip) override {
        if (m_.nowPlayingDisplay_->toolTip() != tip)
            m_.nowPlayingDisplay_->setToolTip(tip);
    }
    void reloadTrackList(int row) override { m_.browser_->reloadTrackList(row); }
    void selectPlayingSong(bool ensureVisible) override {
        m_.browser_->selectPlayingSong(ensureVisible);
    }
    void setTrayTip(const QString& tip) override {
        if (m_.hooks_.setTrayTip)
            m_.hooks_.setTrayTip(tip);
    }

private:
    MainWindow& m_;
};

// The start-up and shutdown act on the window through these.
class MainWindow::StartUpViews : public StartUpView {
public:
    explicit StartUpViews(MainWindow& main) : m_(main) {}

    void setTitle(const QString& title) override { m_.setWindowTitle(title); }
    void refreshActions() override { m_.refreshActions(); }
    void setStatusPanel(int panel, const QString& text) override { m_.setStatusPanel(panel, text); }
    bool fillTree(bool byPaths) override {
        return byPaths ? m_.browser_->showTreeByPaths() : m_.browser_->showTreeByStyle();
    }
    void loadMenuIcons() override { m_.loadMenuIcons(); }
    bool loadmp3list() override {
        TrackListView::ToggleHeaderButtons(m_.trackList_->reportView());
        m_.browser_->loadmp3list();
        return true;
    }
    void selectFolderNode(const QString& folder) override { m_.browser_->selectFolderNode(folder); }
    WindowGeometry& geometry() override { return m_; }
    void setVolume(int volume) override { m_.panel_->setVolumeKnob(VolumeKnobLeft(volume)); }
    void applyCompactLayout() override { m_.enterStoredLayout(); }
    void showTrayIcon() override { run(m_.hooks_.showTrayIcon); }
    void removeTrayIcon() override { run(m_.hooks_.removeTrayIcon); }
    void buildHistoryMenu() override { m_.buildHistoryMenu(); }
    void stopTimers() override {
        m_.saveTimer_->stop();
        m_.playerTimer_->stop();
    }
    void saveColumns() override { m_.browser_->saveColumns(); }
    void endProgram() override {
        m_.hide();
        QCoreApplication::exit(0);
    }

private:
    static void run(const std::function<void()>& part) {
        if (part)
            part();
    }
    MainWindow& m_;
};

MainWindow::MainWindow(AppState& state, QWidget* parent) : QMainWindow(parent), state_(state) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowIcon(TarlIcon());
    setAttribute(Qt::WA_QuitOnClose, false); // shutDown ends the program itself

    client_ = new QWidget(this);
    setCentralWidget(client_);

    treeView_ = new QTreeView(client_);
    treeView_->setObjectName(QStringLiteral("treeView"));
    treeView_->setHeaderHidden(true);
    trackList_ = new TrackListView(client_);
    splitterBar_ = new QFrame(client_);
    splitterBar_->setObjectName(QStringLiteral("splitterBar"));
    splitterBar_->setFrameShape(QFrame::VLine);
    splitterBar_->setFrameShadow(QFrame::Raised);
    splitterBar_->setCursor(Qt::SplitHCursor);
    splitterBar_->installEventFilter(this);

    buildMenus();
    buildToolbar();
    buildPlayerPanel();
    buildStatusBar();
    buildBrowser();
    buildFileOperations();
    buildTreeMenus();
    buildPlayer();
    buildTrayIcon();
    buildPlaying();
    nameParts();
    startUpViews_ = std::make_unique<StartUpViews>(*this);
    startUp_ = std::make_unique<StartUp>(state_, *startUpViews_, *player_);
    // The built-in size and place, used until the settings give others.
    setWidth(11000);
    setHeight(7500);
    setLeft(1000);
    setTop(1000);

    saveTimer_ = new QTimer(this);
    saveTimer_->setObjectName(QStringLiteral("saveTimer"));
    saveTimer_->setInterval(5000);
    connect(saveTimer_, &QTimer::timeout, this, &MainWindow::saveTimerTick);
    saveTimer_->start();

    auto* refresh = new QShortcut(QKeySequence(Qt::Key_F5), this);
    connect(refresh, &QShortcut::activated, this, &MainWindow::refreshFromCatalog);

    refreshActions();
    resizeMain();
}

MainWindow::~MainWindow() {
    state_.play = nullptr;
}

void MainWindow::buildBrowser() {
    LibraryBrowser::Controls controls;
    controls.window = this;
    controls.treeView = treeView_;
    controls.trackList = trackList_;
    controls.viewPathsButton = toolbarButtons_[1];
    controls.viewStylesButton = toolbarButtons_[2];
    controls.viewByPathsAction = viewByPathsAction_;
    controls.viewByStyleAction = viewByStyleAction_;
    controls.listModeActions = listModeActions_;
    controls.setStatus = [this](int panel, const QString& text) { setStatusPanel(panel, text); };
    browser_ = new LibraryBrowser(state_, controls, this);
}

ScanWindow& MainWindow::scanWindow() {
    if (openedScanWindow_)
        return *openedScanWindow_;
    openedScanWindow_ = new ScanWindow(state_, this);
    openedScanWindow_->hooks.setStatusPanel = [this](int panel, const QString& text) {
        setStatusPanel(panel, text);
    };
    openedScanWindow_->hooks.PlayKey = [this](const QString& key) { player_->PlayKey(key); };
    openedScanWindow_->hooks.importEnded = [this] { refreshFromCatalog(); };
    return *openedScanWindow_;
}

void MainWindow::buildPlayer() {
    playerViews_ = std::make_unique<PlayerViews>(*this);
    player_ = std::make_unique<PlayerControl>(state_);
    panel_ = std::make_unique<PlayerPanel>(state_, *playerViews_);
    nowPlaying_ = std::make_unique<NowPlaying>(state_, *panel_, *playerViews_);
    state_.play = player_.get();
    player_->buildHistoryMenu = [this] { buildHistoryMenu(); };
    player_->reportError = [this](const QString& text) { setStatusPanel(2, text); };
    player_->warn = [this](const QString& text) {
        state_.services.ui.message(text, QString(VersionLabel), MsgIcon::Exclamation,
                                   MsgButtons::Ok);
    };

    for (QLabel* element : panelButtons_)
        element->installEventFilter(this);
    connect(showPlayingButton_, &QPushButton::clicked, this, &MainWindow::showPlayingClicked);
    for (int i = 0; i < 10; ++i)
        connect(historyActions_[i], &QAction::triggered, this, [this, i] { historyChosen(i + 1); });
    connect(clearHistoryAction_, &QAction::triggered, this, &MainWindow::clearHistoryClicked);
    connect(addFavoriteAction_, &QAction::triggered, this, &MainWindow::addFavoriteClicked);
    favorites_ =
        new FavoritesMenu(state_, favoritesMenu_, firstFavoriteAction_, replaySteps(), this);

    playerTimer_ = new QTimer(this);
    playerTimer_->setObjectName(QStringLiteral("playerTimer"));
    playerTimer_->setInterval(300);
    connect(playerTimer_, &QTimer::timeout, this, &MainWindow::playerTimerTick);
    playerTimer_->start();
}

void MainWindow::nameParts() {
    const std::pair<QObject*, const char*> named[] = {
        {browser_, "browser"},
        {trackListMenu_, "trackListMenu"},
        {trackRowsDrop_, "trackRowsDrop"},
        {treeMenus_, "treeMenus"},
        {styleDrag_, "styleDrag"},
        {trayIcon_, "trayIcon"},
        {fileMenu_, "fileMenu"},
        {viewMenu_, "viewMenu"},
        {propertiesMenu_, "propertiesMenu"},
        {historyMenu_, "historyMenu"},
        {favoritesMenu_, "favoritesMenu"},
        {helpMenu_, "helpMenu"},
        {scanAction_, "scanAction"},
        {optionsAction_, "optionsAction"},
        {exitAction_, "exitAction"},
        {viewByPathsAction_, "viewByPathsAction"},
        {viewByStyleAction_, "viewByStyleAction"},
        {historyTopAction_, "historyTopAction"},
        {clearHistoryAction_, "clearHistoryAction"},
        {addFavoriteAction_, "addFavoriteAction"},
        {firstFavoriteAction_, "firstFavoriteAction"},
        {favorites_, "favorites"},
        {aboutAction_, "aboutAction"},
    };
    for (const auto& [part, name] : named)
        if (part)
            part->setObjectName(QLatin1String(name));
    const auto numbered = [](const auto& parts, const char* name) {
        for (size_t i = 0; i < parts.size(); ++i)
            if (parts[i])
                parts[i]->setObjectName(QLatin1String(name) + QString::number(i));
    };
    numbered(toolbarButtons_, "toolbarButton");
    numbered(listModeActions_, "listModeAction");
    numbered(historyActions_, "historyAction");
    numbered(panelButtons_, "panelButton");
}

bool MainWindow::workRunning() const {
    return (openedScanWindow_ && openedScanWindow_->busy()) || rescanning_;
}

void MainWindow::stopWorkForClose() {
    if (openedScanWindow_)
        openedScanWindow_->stopForClose();
    stopRescanForClose();
}

bool MainWindow::isScanWindow(const QWidget* widget) const {
    return widget != nullptr && widget == openedScanWindow_;
}

void MainWindow::playerTimerTick() {
    nowPlaying_->Tick();
    commands_->followPlayer();
    const qint32 playing = state_.playerPid != 0 ? state_.lastIndex : -1;
    if (discQueue_)
        discQueue_->follow(playing);
    queueDock_->follow(playing);
    desktopControls_->update();
    mpris_->refresh();
}

void MainWindow::showPlayingClicked() {
    browser_->selectFolderNode(state_.lastFolder);
    browser_->selectPlayingSong(true);
}

void MainWindow::buildHistoryMenu() {
    clearHistoryAction_->setEnabled(false);
    historyTopAction_->setEnabled(false);
    for (QAction* entry : historyActions_)
        entry->setVisible(false);
    const HistoryMenu menu = HistoryMenuState(state_.programFolder);
    for (int i = 0; i < menu.captions.size() && i < int(historyActions_.size()); ++i) {
        historyActions_[static_cast<size_t>(i)]->setText(menu.captions[i]);
        historyActions_[static_cast<size_t>(i)]->setVisible(true);
    }
    clearHistoryAction_->setEnabled(menu.exists);
}

ReplaySteps MainWindow::replaySteps() {
    ReplaySteps steps;
    steps.selectFolderNode = [this](const QString& folder) {
        return browser_->selectFolderNode(folder);
    };
    steps.playList = [this] {
        browser_->FillTrackList();
        browser_->treeDoubleClicked();
    };
    steps.resume = [this](qint32 entry, qint64 seconds) {
        ResumeTemporaryPlaylist(state_, true, {entry, seconds});
    };
    return steps;
}

void MainWindow::historyChosen(int index) {
    const Result<> replayed = ReplayHistoryEntry(state_, index, replaySteps());
    if (!replayed)
        state_.services.ui.message(replayed.error, QStringLiteral("Not Found"),
                                   MsgIcon::Exclamation, MsgButtons::Ok);
}

void MainWindow::clearHistoryClicked() {
    const Result<> cleared = ClearHistory(state_.programFolder);
    if (!cleared)
        setStatusPanel(2, QStringLiteral("The history could not be cleared: ") + cleared.error);
    buildHistoryMenu();
}

void MainWindow::addFavoriteClicked() {
    favorites_->addClicked();
}

bool MainWindow::panelButtonMouse(int index, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return false;
        panel_->buttonPressed(index);
        return true;
    case QEvent::MouseMove:
        panel_->buttonDragged(index,
                              ToTwips(static_cast<QMouseEvent*>(event)->position().toPoint().x()));
        return true;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return false;
        panel_->buttonReleased(index);
        return true;
    default:
        return false;
    }
}

void MainWindow::showSearchWindow() {
    if (searchWindow_) {
        searchWindow_->show();
        searchWindow_->raise();
        searchWindow_->activateWindow();
        return;
    }
    SearchWindow::Hooks hooks;
    hooks.mainTimersOn = [this] { return saveTimer_->isActive(); };
    hooks.stopMainTimers = [this] {
        saveTimer_->stop();
        playerTimer_->stop();
    };
    // Not after shutdown: the program is ending and its timers stay off.
    hooks.startMainTimers = [this] {
        if (unloaded())
            return;
        saveTimer_->start();
        playerTimer_->start();
    };
    // The main window comes back to the front; the player is left alone: restarting it at the
    // song saved before would cut off the hit just played from the search.
    hooks.resumeLastSong = [this] {
        if (isMinimized())
            showNormal();
        raise();
        activateWindow();
    };
    hooks.selectFolderNode = [this](const QString& key) { return browser_->selectFolderNode(key); };
    hooks.playlistFiled = [this] { refreshFromCatalog(); };
    hooks.selectTracks = [this](const QString& file) {
        // The main window catches up with the player first: its next tick would otherwise find
        // the entry played from the search new and select that row over the hit.
        nowPlaying_->Tick();
        std::vector<int> rows;
        const std::vector<TrackRow>& tracks = browser_->trackModel()->rows();
        for (size_t i = 0; i < tracks.size(); ++i)
            if (tracks[i].columns[ColFile] == file)
                rows.push_back(int(i));
        trackList_->selectRows(rows, rows.empty() ? -1 : rows.front());
        trackList_->currentView()->setFocus();
    };
    searchWindow_ = new SearchWindow(state_, std::move(hooks), this);
    // Beside this window: on its right, or on its left when the screen ends there.
    const QRect main = frameGeometry();
    int left = main.right() + 1;
    if (const QScreen* screen = this->screen();
        screen && left + searchWindow_->width() > screen->availableGeometry().right())
        left = std::max(screen->availableGeometry().left(), main.left() - searchWindow_->width());
    searchWindow_->move(left, main.top());
    searchWindow_->show();
}

void MainWindow::showScanWindow() {
    scanWindow().exec();
}

void MainWindow::refreshActions() {
    toolbarButtons_[0]->setEnabled(false); // "Ini" has no action of its own
}

void MainWindow::setStatusPanel(int panel, const QString& text) {
    if (panel >= 1 && panel <= 2)
        panels_[panel - 1]->setText(text);
}

QString MainWindow::statusPanel(int panel) const {
    if (panel < 1 || panel > 2)
        return {};
    return panels_[panel - 1]->text();
}

// ---------------------------------------------------------------------------------------------
// Start-up and shutdown

void MainWindow::startUp() {
    startUp_->start();
    if (!unloaded())
        keepOnScreen();
    commands_->loadOrder();
    if (!unloaded())
        startMediaKeys();
    // Songs of discs left waiting in the queue by the last run are asked for again.
    if (!unloaded() && QFile::exists(state_.tmpPlaylistPath + QStringLiteral(".discs")))
        discQueue();
    changedElsewhere_ = false;
    catalogWatch_.start(state_.catalog.connection, [this] { catalogChangedElsewhere(); });
    // Changes made elsewhere while the session was gone were not announced: F5 shows them.
    state_.catalog.connection.setReconnectNotice([this](const QString& sentence) {
        changedElsewhere_ = true;
        setStatusPanel(1, sentence + QStringLiteral(" Press F5 to show what changed meanwhile."));
    });
}

namespace {
const QString ChangedElsewhereNote =
    QStringLiteral("The catalog was changed on another machine: press F5 to show the changes.");
} // namespace

void MainWindow::catalogChangedElsewhere() {
    // One note for many changes: an import elsewhere writes a batch every quarter second.
    if (changedElsewhere_)
        return;
    changedElsewhere_ = true;
    setStatusPanel(1, ChangedElsewhereNote);
}

void MainWindow::refreshFromCatalog() {
    if (state_.catalog.connection.state() == 0)
        return;
    // The tree shows every change from here on; the next one made elsewhere is said again. Only
    // the note goes: a sentence put there since (an import's) stays.
    if (changedElsewhere_ && statusPanel(1) == ChangedElsewhereNote)
        setStatusPanel(1, QString());
    changedElsewhere_ = false;
    RebuildLibraryTree(*browser_, state_.sortedByCd);
    // The list was filled again: while a player plays, its marks come back with it.
    if (state_.playerPid != 0)
        browser_->selectPlayingSong(false);
}

void MainWindow::resumeLastSong() {
    startUp_->resumeLastSong();
}

void MainWindow::shutDown() {
    startUp_->shutDown();
}

bool MainWindow::unloaded() const {
    return startUp_->unloaded();
}

void MainWindow::reportSettingsProblems() {
    startUp_->reportSettingsProblems();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A walk or import running (the scan window's or the re-scan's) stops first: the catalog
    // must not close under it. The close then goes on as for a termination signal.
    if ((openedScanWindow_ && openedScanWindow_->busy()) || rescanning_) {
        event->ignore();
        if (!closingDown_)
            closingDown_ = new ClosingDown(*this, this);
        closingDown_->start();
        return;
    }
    shutDown();
    event->accept();
}

void MainWindow::loadMenuIcons() {
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void MainWindow::saveTimerTick() {
    SaveLastSong(state_);
    // Only a window that shows the compact layout takes its width: the full window keeps its own.
    if (windowStateValue() == StateNormal && compactShown_)
        setWidth(CompactWidth(ToTwips(nowPlayingDisplay_->width())));
    reportSettingsProblems();
}

void MainWindow::optionsClicked() {
    OptionsDialog options(state_, this);
    options.exec();
    if (options.catalogChanged())
        startUp();
}

void MainWindow::aboutClicked() {
    About about(this);
    about.exec();
}

} // namespace tarl
